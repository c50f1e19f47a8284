#include "ui/main_layout.h"

#include "platform/dpi_scale.h"

// The template's font at 96 DPI: dialog base units 6 x 13 (8-point Tahoma,
// as 8-point MS Sans Serif before it).
constexpr int kBaseX96 = 6;
constexpr int kBaseY96 = 13;

// The dialog manager converts a control's x, y, width and height each on
// its own, so the conversion back does too.
ScreenRect DialogUnitsOf(const ScreenRect& pixels, int baseX, int baseY) {
    int left = MulDivRounded(pixels.left, 4, baseX);
    int top = MulDivRounded(pixels.top, 8, baseY);
    return {left, top, left + MulDivRounded(pixels.right - pixels.left, 4, baseX),
            top + MulDivRounded(pixels.bottom - pixels.top, 8, baseY)};
}

ScreenRect PixelsAt96(const ScreenRect& units) {
    int left = MulDivRounded(units.left, kBaseX96, 4);
    int top = MulDivRounded(units.top, kBaseY96, 8);
    return {left, top, left + MulDivRounded(units.right - units.left, kBaseX96, 4),
            top + MulDivRounded(units.bottom - units.top, kBaseY96, 8)};
}

static ScreenRect Scale(const ScreenRect& r, int dpi) {
    return {ScaleToDpi(r.left, dpi), ScaleToDpi(r.top, dpi), ScaleToDpi(r.right, dpi), ScaleToDpi(r.bottom, dpi)};
}

MainLayout ScaleMainLayout(const MainLayout& at96, int dpi) {
    return {Scale(at96.separator, dpi), Scale(at96.word, dpi), Scale(at96.find, dpi), Scale(at96.description, dpi),
            ScaleToDpi(at96.clientWidth, dpi), ScaleToDpi(at96.clientHeight, dpi)};
}

MainLayout StretchMainLayout(const MainLayout& layout, int clientWidth, int clientHeight) {
    int dx = clientWidth - layout.clientWidth;
    int dy = clientHeight - layout.clientHeight;
    MainLayout stretched = layout;
    stretched.separator.right = layout.separator.left + clientWidth;
    stretched.word.right += dx;
    stretched.find.left += dx;
    stretched.find.right += dx;
    stretched.description.right += dx;
    stretched.description.bottom += dy;
    stretched.clientWidth = clientWidth;
    stretched.clientHeight = clientHeight;
    return stretched;
}
