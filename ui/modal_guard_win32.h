// While a modal window of the program is up (the options sheet, a
// dictionary dialog, a word list, the font chooser, a message box), the
// tray icon, the hot key, the clipboard and another instance must not start
// a second command under it.
#pragma once

// True while a modal window is up; it is then brought to the front, so the
// user sees what is waiting for an answer.
bool BringModalWindowToFront();
