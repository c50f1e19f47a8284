// The window system's description of a font, as the dictionary header
// stores it: the raw 60 bytes of a Win32 LOGFONTA.
#pragma once

#include <cstdint>

struct FontRecord {
    int32_t height, width, escapement, orientation, weight;
    uint8_t italic, underline, strikeOut, charSet;
    uint8_t outPrecision, clipPrecision, quality, pitchAndFamily;
    char faceName[32];
};
static_assert(sizeof(FontRecord) == 60, "a font record is 60 bytes");
