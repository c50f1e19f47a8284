// The notification-area icon across restarts of the shell.
#pragma once

#include <windows.h>

// The message the shell broadcasts when it has made a new task bar (after
// Explorer restarts); 0 until ListenForTaskbarCreated.
extern UINT TaskbarCreatedMessage;
void ListenForTaskbarCreated();
// A new task bar holds none of the old icons: puts the program's back.
void OnTaskbarCreated();
