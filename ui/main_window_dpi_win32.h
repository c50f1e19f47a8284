// The main window at its DPI: the template's layout scaled from 96 DPI, the
// least size, the icons, and the move to a monitor of another DPI, after
// which the fonts, the toolbar and the layout are made again.
#pragma once

#include <windows.h>

// At WM_INITDIALOG, first: takes the window's DPI, learns the template's
// layout at 96 DPI from the controls the dialog manager made, and lays the
// window out at its DPI (at 96 DPI nothing moves).
void PrepareMainWindowLayout(HWND window);
// Places the controls and the toolbar for a client area (the resize rule).
void LayOutMainWindow(int clientWidth, int clientHeight);
// The least size the window may be given, at its DPI.
POINT MinimumMainWindowSize();
// The caption's and the task switcher's icons at the window's DPI.
void SetMainWindowIcons();
// WM_DPICHANGED: the new DPI and the rectangle the system suggests.
void OnMainWindowDpiChanged(UINT dpi, const RECT& suggested);
// Releases the icons, fonts and pictures once the window is gone.
void ReleaseMainWindowPictures();
