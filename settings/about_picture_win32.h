// The About page's picture at the page's DPI.
#pragma once

#include <windows.h>

// Shows the largest rendering of the picture that the page's DPI asks for
// and its frame holds whole.
void ShowAboutPicture(HWND page);
// Releases the picture ShowAboutPicture gave the frame; at WM_DESTROY.
void ReleaseAboutPicture(HWND page);
