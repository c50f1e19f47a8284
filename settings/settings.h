// The program's options and remembered geometry, persisted as twenty values
// under HKEY_CURRENT_USER\software\Tamrin\Dictionary.
#pragma once

#include <cstdint>

struct PointValue { int32_t x, y; };
struct SizeValue { int32_t cx, cy; };
struct RectValue { int32_t left, top, right, bottom; };

struct SettingsRecord {
    PointValue pos{0, 0};
    SizeValue size{0, 0};
    RectValue rectalldict{-1, -1, -1, -1};
    RectValue rectsim{-1, -1, -1, -1};
    char startdict[64] = "English_Bulgarian";
    int32_t startinbul = 0;
    int32_t simonnotfound = 1;
    int32_t clipcopy = 1;
    int32_t traymin = 1;
    int32_t startmin = 1;
    int32_t monitor = 1;
    int32_t dblpopup = 1;
    int32_t tooltips = 1;
    int32_t flat = 1;
    int32_t multinst = 0;
    int32_t minonclose = 0;
    int32_t ontop = 1;
    int32_t autocomplete = 1;
    uint32_t hotkey = 0;
    int32_t minonfocus = 0;
};

extern SettingsRecord Settings;

// Reads every stored value over the defaults. False when the key cannot be
// opened (first run): nothing was read.
bool LoadSettings();
// Captures the window placement and writes all twenty values.
void SaveSettings();
