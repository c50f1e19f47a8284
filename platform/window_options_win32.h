// The main window's options as effects on it: the notification-area icon,
// the toolbar's flat style, staying above other windows and the hot key
// that brings the window up. The start and the options sheet both apply
// them.
#pragma once

// Puts the icon in the notification area (once) or removes it.
void ShowTrayIcon(bool shown);
void SetToolbarFlat(bool flat);
void SetMainWindowTopmost(bool topmost);
// Registers the hot key (RegisterHotKey modifiers and virtual key), in place
// of the one registered before.
void RegisterShowHotKey(unsigned modifiers, unsigned key);
void UnregisterShowHotKey();
