#include "platform/dpi_win32.h"

#include "platform/dpi_scale.h"
#include "platform/window.h"
#include "platform/window_state_win32.h"

namespace {

// The address of a user32 function the system may lack; null when it does.
template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
// The values of DIALOG_DPI_CHANGE_BEHAVIORS and
// DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS (Windows 10 1703 on).
constexpr int kDialogDisableAll = 0x0001;
constexpr int kDialogControlDisableFontUpdate = 0x0001;
constexpr int kDialogControlDisableRelayout = 0x0002;
using SetDialogDpiChangeBehaviorCall = BOOL(WINAPI*)(HWND, int, int);
using SetDialogControlDpiChangeBehaviorCall = BOOL(WINAPI*)(HWND, int, int);

}  // namespace

UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowCall>("GetDpiForWindow");
    UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? dpi : ScreenDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, dpi) : GetSystemMetrics(index);
}

void AdjustWindowRectForDpi(RECT* client, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto forDpi = User32Function<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(client, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(client, style, FALSE, exStyle);
}

void KeepDialogManagerFromRescaling(HWND dialog) {
    static const auto forDialog = User32Function<SetDialogDpiChangeBehaviorCall>("SetDialogDpiChangeBehavior");
    static const auto forControl =
        User32Function<SetDialogControlDpiChangeBehaviorCall>("SetDialogControlDpiChangeBehavior");
    if (forDialog) forDialog(dialog, kDialogDisableAll, kDialogDisableAll);
    if (!forControl) return;
    const int both = kDialogControlDisableFontUpdate | kDialogControlDisableRelayout;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        forControl(child, both, both);
}

int MainWindowDpi() { return static_cast<int>(WindowState.dpi); }
