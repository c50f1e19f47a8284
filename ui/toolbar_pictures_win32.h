// The toolbar's pictures at the window's DPI: full colour with alpha, from
// the strip rendered nearest below the size the DPI asks for.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Loads the pictures for `dpi` into WindowState.toolbarPictures and
// WindowState.toolbarGreyedPictures (the disabled buttons' pictures),
// releasing the lists they replace once the toolbar no longer draws with
// them. Returns the pictures' side in pixels.
int LoadToolbarPictures(HWND toolbar, UINT dpi);
// Releases the pictures when the toolbar is gone.
void ReleaseToolbarPictures();
