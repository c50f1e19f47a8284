#include <gtest/gtest.h>

#include "platform/dpi_scale.h"
#include "ui/main_layout.h"

namespace {

// The main window's controls as the template places them, in dialog units.
const ScreenRect kTemplate[] = {{5, 24, 235, 38}, {240, 24, 290, 38}, {5, 43, 290, 130}, {0, 17, 295, 18}};

// What the dialog manager makes of a rectangle with these base units.
ScreenRect DialogManagerPixels(const ScreenRect& units, int baseX, int baseY) {
    int left = MulDivRounded(units.left, baseX, 4), top = MulDivRounded(units.top, baseY, 8);
    return {left, top, left + MulDivRounded(units.right - units.left, baseX, 4),
            top + MulDivRounded(units.bottom - units.top, baseY, 8)};
}

bool Same(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Whatever base units the template's font had at the DPI the window was
// made at, the layout at 96 DPI comes out the same.
TEST(MainLayoutTest, TheLayoutAt96DpiIsTheSameWhateverDpiTheWindowWasMadeAt) {
    const struct { int x, y; } bases[] = {{6, 13}, {7, 16}, {9, 19}, {12, 25}, {8, 16}, {15, 32}};
    for (const ScreenRect& units : kTemplate)
        for (const auto& base : bases) {
            ScreenRect back = DialogUnitsOf(DialogManagerPixels(units, base.x, base.y), base.x, base.y);
            EXPECT_TRUE(Same(back, units)) << units.left << "," << units.top << " with " << base.x << "x" << base.y;
            EXPECT_TRUE(Same(PixelsAt96(back), DialogManagerPixels(units, 6, 13)));
        }
}

// Scaled edge by edge, controls side by side or one above the other keep
// apart at every DPI, and stay inside the client area.
TEST(MainLayoutTest, ScaledControlsNeverMeetOrLeaveTheWindow) {
    MainLayout at96 = {{0, 29, 443, 31}, {8, 39, 353, 62}, {360, 39, 435, 62}, {8, 70, 436, 211}, 443, 218};
    for (int dpi = 96; dpi <= 480; dpi += 8) {
        MainLayout at = ScaleMainLayout(at96, dpi);
        EXPECT_LT(at.word.right, at.find.left) << dpi;
        EXPECT_LT(at.separator.bottom, at.word.top) << dpi;
        EXPECT_LT(at.word.bottom, at.description.top) << dpi;
        EXPECT_EQ(at.word.left, at.description.left) << dpi;
        EXPECT_LE(at.find.right, at.clientWidth) << dpi;
        EXPECT_LE(at.description.bottom, at.clientHeight) << dpi;
        // Stretched, the margins to the right and below stay as scaled.
        MainLayout wide = StretchMainLayout(at, at.clientWidth + 101, at.clientHeight + 57);
        EXPECT_EQ(wide.clientWidth - wide.find.right, at.clientWidth - at.find.right) << dpi;
        EXPECT_EQ(wide.clientHeight - wide.description.bottom, at.clientHeight - at.description.bottom) << dpi;
        EXPECT_EQ(wide.separator.right, wide.clientWidth) << dpi;
    }
}

}  // namespace
