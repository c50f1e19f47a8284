// Where a window goes when its stored rectangle would leave it out of
// sight: portable, so the rule is tested without a screen.
#pragma once

struct ScreenRect {
    int left, top, right, bottom;
};

// The stored window rectangle, moved onto `workArea` when no part of it
// lies there (a monitor removed since it was stored); otherwise unchanged.
// Moved, it keeps its size and comes to rest at the nearest edges of the
// work area, its top-left corner inside it even when it is larger.
ScreenRect PlaceOnWorkArea(const ScreenRect& window, const ScreenRect& workArea);
