// Pixels at 96 DPI and at a window's DPI, with the rounding Windows' MulDiv
// uses, so a length converts the same way here as in the system's own
// scaling. Dictionary headers and the stored window size keep 96-DPI values.
#pragma once

#include <cstdint>

#include "platform/font_record.h"

constexpr int kDefaultDpi = 96;

// value * numerator / denominator, rounded half away from zero, as MulDiv.
inline int MulDivRounded(int value, int numerator, int denominator) {
    if (denominator == 0) return -1;
    int64_t product = static_cast<int64_t>(value) * numerator;
    if (denominator < 0) {
        product = -product;
        denominator = -denominator;
    }
    int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// A length at 96 DPI, at `dpi`.
inline int ScaleToDpi(int pixels96, int dpi) { return MulDivRounded(pixels96, dpi, kDefaultDpi); }
// A length at `dpi`, at 96 DPI.
inline int ScaleFromDpi(int pixels, int dpi) { return MulDivRounded(pixels, kDefaultDpi, dpi); }

// The header's font (heights at 96 DPI) as a font at `dpi`.
inline FontRecord FontRecordAtDpi(FontRecord record, int dpi) {
    record.height = ScaleToDpi(record.height, dpi);
    record.width = ScaleToDpi(record.width, dpi);
    return record;
}

// The height to store for a font chosen where the screen has `screenDpi`:
// the height a user at 96 DPI gets for the same size in points (the font
// chooser gives the size in tenths of a point), so the header reads the
// same to every program and every screen.
inline int StoredFontHeight(int chosenHeight, int pointTenths, int screenDpi) {
    if (pointTenths > 0) return -MulDivRounded(pointTenths, kDefaultDpi, 720);
    return ScaleFromDpi(chosenHeight, screenDpi);
}
