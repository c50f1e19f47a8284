// The main window's size rule for its toolbar.
#pragma once

// Widens the window when it is too narrow for the whole toolbar; called
// once the toolbar exists.
void KeepToolbarInReach();
