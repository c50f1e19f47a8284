#include <gtest/gtest.h>

#include "ui/placement.h"

namespace {

const ScreenRect kWork = {0, 0, 1280, 984};  // a task bar of 40 pixels below

bool Same(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(PlacementTest, AWindowPartlyOnTheWorkAreaStaysWhereItWasStored) {
    for (ScreenRect window : {ScreenRect{60, 45, 560, 365}, ScreenRect{-300, 100, 200, 400},
                              ScreenRect{1200, 900, 1700, 1200}}) {
        EXPECT_TRUE(Same(PlaceOnWorkArea(window, kWork), window)) << window.left << "," << window.top;
    }
}

TEST(PlacementTest, AWindowOffEveryWorkAreaComesToTheNearestEdgesWithItsSize) {
    // Beyond the right and lower edges (a second monitor removed).
    ScreenRect moved = PlaceOnWorkArea({2000, 1500, 2500, 1820}, kWork);
    EXPECT_TRUE(Same(moved, {780, 664, 1280, 984}));
    // Left of the screen, at a height that fits: only the left edge moves.
    moved = PlaceOnWorkArea({-900, 200, -400, 520}, kWork);
    EXPECT_TRUE(Same(moved, {0, 200, 500, 520}));
    // Under the task bar, which lies outside the work area.
    moved = PlaceOnWorkArea({100, 990, 600, 1020}, kWork);
    EXPECT_TRUE(Same(moved, {100, 954, 600, 984}));
}

TEST(PlacementTest, AWindowLargerThanTheWorkAreaKeepsItsCaptionInside) {
    ScreenRect moved = PlaceOnWorkArea({-5000, -5000, -3000, -3500}, {100, 50, 900, 650});
    EXPECT_TRUE(Same(moved, {100, 50, 2100, 1550}));
}

}  // namespace
