// Where the main window's controls go at any DPI and any window size:
// portable, so the rules are tested without a screen.
#pragma once

#include "ui/placement.h"

// The controls of the main window and the client size they are laid out
// for, in client pixels.
struct MainLayout {
    ScreenRect separator, word, find, description;
    int clientWidth, clientHeight;
};

// A control's dialog units as the dialog manager placed it with these base
// units (x over 4 and y over 8 dialog units make one base unit each way),
// and those dialog units in pixels at 96 DPI, where the template's font
// has the base units 6 x 13.
ScreenRect DialogUnitsOf(const ScreenRect& pixels, int baseX, int baseY);
ScreenRect PixelsAt96(const ScreenRect& dialogUnits);

// The layout at `dpi` from the layout at 96 DPI. Each edge is scaled on its
// own, so controls that meet or keep a gap at 96 DPI do so at every DPI.
MainLayout ScaleMainLayout(const MainLayout& at96, int dpi);

// The layout stretched to a client area: the line spans it, the edits keep
// their right margins, Find keeps its distance from the right edge, and
// only the description grows in height.
MainLayout StretchMainLayout(const MainLayout& layout, int clientWidth, int clientHeight);
