// The DPI a window is drawn at, and the system's per-DPI calls where it has
// them: each is looked up at run time, so the program still starts on
// Windows 7 and under Wine, which lack some of them.
#pragma once

#include <windows.h>

// The window's DPI (GetDpiForWindow, Windows 10 1607 on), else the
// screen's, which is every window's on a system without per-monitor DPI.
UINT WindowDpi(HWND window);
// The screen's LOGPIXELSY: the DPI the font chooser measures points by.
UINT ScreenDpi();
// A system metric at `dpi` (GetSystemMetricsForDpi), else at the system's.
int SystemMetricForDpi(int index, UINT dpi);
// The outer rectangle around `client` for a window of these styles at `dpi`.
void AdjustWindowRectForDpi(RECT* client, DWORD style, DWORD exStyle, UINT dpi);
// Keeps the dialog manager from scaling a dialog and its controls again
// when the window moves to a monitor of another DPI: the window lays itself
// out on WM_DPICHANGED. Nothing to do where the system lacks the calls.
void KeepDialogManagerFromRescaling(HWND dialog);
