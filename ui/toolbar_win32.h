// The main window's toolbar: its buttons and tooltips, and the width it
// asks of the window.
#pragma once

#include <windows.h>

// Makes the toolbar across the top of the main window (WindowState.toolbar).
void CreateToolbar();
// Gives the toolbar its pictures, buttons and place at the window's DPI.
void SizeToolbarForDpi();
// A tooltip's text for the toolbar's TTN_NEEDTEXT notification.
void FillToolbarTooltip(NMHDR* header);
// The least width of the main window: where the toolbar's last button ends.
int MinimumWindowWidth();
// Widens the window when it is too narrow for the whole toolbar; called
// once the toolbar exists.
void KeepToolbarInReach();
