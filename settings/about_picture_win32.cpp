#include "settings/about_picture_win32.h"

#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"

// The renderings in the resources, largest first, by their scale in
// percent of the picture at 96 DPI (100 x 142).
static const struct {
    int percent, id;
} kRenderings[] = {{200, IDB_ABOUT_200}, {150, IDB_ABOUT_150}, {125, IDB_ABOUT_125}, {100, IDB_ABOUT}};
constexpr int kWidth96 = 100, kHeight96 = 142;

void ShowAboutPicture(HWND page) {
    HWND frame = GetDlgItem(page, IDC_ABOUTPICTURE);
    RECT room;
    if (!frame || !GetClientRect(frame, &room)) return;
    int percent = MulDivRounded(static_cast<int>(WindowDpi(page)), 100, kDefaultDpi);
    for (const auto& rendering : kRenderings) {
        int width = MulDivRounded(kWidth96, rendering.percent, 100), height = MulDivRounded(kHeight96, rendering.percent, 100);
        bool last = rendering.id == IDB_ABOUT;
        if (!last && (rendering.percent > percent || width > room.right || height > room.bottom)) continue;
        HANDLE picture = LoadImageA(WindowState.instance, MAKEINTRESOURCEA(rendering.id), IMAGE_BITMAP, 0, 0, 0);
        if (!picture) return;
        // The one the template loaded is the control's no more: released here.
        HANDLE replaced = reinterpret_cast<HANDLE>(
            SendMessageA(frame, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
        if (replaced && replaced != picture) DeleteObject(replaced);
        return;
    }
}

void ReleaseAboutPicture(HWND page) {
    HWND frame = GetDlgItem(page, IDC_ABOUTPICTURE);
    HANDLE picture = frame ? reinterpret_cast<HANDLE>(SendMessageA(frame, STM_SETIMAGE, IMAGE_BITMAP, 0)) : nullptr;
    if (picture) DeleteObject(picture);
}
