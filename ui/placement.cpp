#include "ui/placement.h"

static bool Overlap(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The start of a span of `length` moved as little as possible into
// [low, high); a span longer than the range starts at `low`.
static int Clamp(int start, int length, int low, int high) {
    if (start + length > high) start = high - length;
    if (start < low) start = low;
    return start;
}

ScreenRect PlaceOnWorkArea(const ScreenRect& window, const ScreenRect& workArea) {
    if (Overlap(window, workArea)) return window;
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int left = Clamp(window.left, width, workArea.left, workArea.right);
    int top = Clamp(window.top, height, workArea.top, workArea.bottom);
    return {left, top, left + width, top + height};
}
