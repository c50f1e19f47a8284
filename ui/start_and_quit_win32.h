// The start sequence of the main window, the single-instance rule and the
// one way out.
#pragma once

// Settings, the single-instance rule, placement, visibility, toolbar, tray
// icon, catalogue and start dictionary. Non-zero when this copy handed over
// to a running one and has quit.
int InitializeMainWindow();
// Saves the settings and leaves nothing behind in the clipboard chain, the
// hot keys or the notification area; then the window goes and the message
// loop ends.
void Quit();
