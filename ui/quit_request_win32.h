// A request from another program to quit (QUIT_REQUEST_MESSAGE): the
// installer and the uninstaller send it before they replace or remove the
// programs. Closing the window is no such request: with "Minimize when
// closed" it only hides.
#pragma once

#include <windows.h>

// True for the registered quit request; the window then quits as the tray
// menu's Close does.
bool IsQuitRequest(UINT message);
