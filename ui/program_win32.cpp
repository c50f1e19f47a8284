// The program entry: the program folder, the main window and the message
// loop.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "ui/main_window_dpi_win32.h"
#include "ui/main_window_win32.h"
#include "ui/program_state.h"
#include "ui/tray_clipboard_win32.h"

// Other programs find the program folder under this key of the machine.
static const wchar_t kRegistryKey[] = L"software\\Tamrin\\Dictionary";

// Makes the program folder the current directory, so every dictionary path
// is relative to it, and records it for other programs. Wide: the folder's
// name may hold any character.
static void EnterProgramFolder() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (wchar_t* slash = std::wcsrchr(path, L'\\')) *slash = L'\0';
    SetCurrentDirectoryW(path);

    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRegistryKey, 0, const_cast<wchar_t*>(L"Dictionary"), 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, L"path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                       static_cast<DWORD>((std::wcslen(path) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WindowState.instance = instance;
    // The notification area shows icons at the system's small-icon size.
    int traySide = GetSystemMetrics(SM_CXSMICON);
    WindowState.trayIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_TRAY), IMAGE_ICON, traySide, traySide, LR_DEFAULTCOLOR));
    ResetProgramState();
    EnterProgramFolder();
    InitCommonControls();
    ListenForTaskbarCreated();

    // A wide window and a wide message loop: typed characters arrive as
    // UTF-16 whatever the system's code page.
    CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainWindowProc, 0);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    HWND window = WindowState.mainWindow;
    // A copy that handed over to a running one has quit already.
    if (IsWindow(window)) {
        // A shared icon of the module: the system owns it.
        SetClassLongPtrW(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN))));
        // The caption and the task bar take the window's icons at its DPI;
        // without them they show the system's default.
        SetMainWindowIcons();
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(window, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    DestroyIcon(WindowState.trayIcon);
    ReleaseMainWindowPictures();
    if (HWND other = WindowState.otherInstance) {
        ShowWindow(other, SW_SHOW);
        SetForegroundWindow(other);
        SetFocus(other);
    }
    return 0;
}
