#include "ui/toolbar_pictures_win32.h"

#include <cstdint>

#include "platform/dpi_scale.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"

namespace {

// The strips of the resources, smallest first.
const struct {
    int side, id;
} kStrips[] = {{16, IDB_TOOLBAR}, {20, IDB_TOOLBAR_20}, {24, IDB_TOOLBAR_24}, {32, IDB_TOOLBAR_32}, {48, IDB_TOOLBAR_48}};
constexpr int kPictures = 16;

// The largest strip not larger than the 16-pixel pictures scaled to `dpi`:
// a picture is never shown larger than drawn, so it stays sharp.
int StripFor(UINT dpi, int* side) {
    int wanted = ScaleToDpi(16, static_cast<int>(dpi));
    int chosen = 0;
    for (int i = 0; i < static_cast<int>(sizeof kStrips / sizeof kStrips[0]); ++i)
        if (kStrips[i].side <= wanted) chosen = i;
    *side = kStrips[chosen].side;
    return kStrips[chosen].id;
}

// Pixels of a 32-bit strip (blue, green, red, alpha, not premultiplied) as
// a disabled button shows them: grey, and half as opaque.
void Grey(uint8_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i, pixels += 4) {
        int luminance = (pixels[0] * 29 + pixels[1] * 150 + pixels[2] * 77) >> 8;
        uint8_t light = static_cast<uint8_t>(96 + luminance * 5 / 8);
        pixels[0] = pixels[1] = pixels[2] = light;
        pixels[3] = static_cast<uint8_t>(pixels[3] / 2);
    }
}

HIMAGELIST ListOf(HBITMAP strip, int side) {
    HIMAGELIST list = ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, kPictures, 0);
    if (list) ImageList_Add(list, strip, nullptr);
    return list;
}

}  // namespace

int LoadToolbarPictures(HWND toolbar, UINT dpi) {
    int side = 16;
    int id = StripFor(dpi, &side);
    // A DIB section keeps the alpha the image list draws by.
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(WindowState.instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HIMAGELIST pictures = ListOf(strip, side);
    DIBSECTION bits = {};
    if (strip && GetObjectA(strip, sizeof bits, &bits) == sizeof bits && bits.dsBm.bmBitsPixel == 32) {
        GdiFlush();
        Grey(static_cast<uint8_t*>(bits.dsBm.bmBits),
             static_cast<size_t>(bits.dsBm.bmWidth) * static_cast<size_t>(bits.dsBm.bmHeight));
    }
    HIMAGELIST greyed = ListOf(strip, side);
    if (strip) DeleteObject(strip);

    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures));
    SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(greyed));
    ReleaseToolbarPictures();
    WindowState.toolbarPictures = pictures;
    WindowState.toolbarGreyedPictures = greyed;
    return side;
}

void ReleaseToolbarPictures() {
    if (WindowState.toolbarPictures) ImageList_Destroy(WindowState.toolbarPictures);
    if (WindowState.toolbarGreyedPictures) ImageList_Destroy(WindowState.toolbarGreyedPictures);
    WindowState.toolbarPictures = WindowState.toolbarGreyedPictures = nullptr;
}
