// The key handling of the word edit and the description edit: Enter finds,
// the arrows browse, the page keys walk the history.
#pragma once

#include <windows.h>

// Gives both edits of the main window the program's key handling.
void SubclassEdits();
