// The program entry: the program folder, the main window and the message
// loop.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "ui/main_window_dpi_win32.h"
#include "ui/main_window_win32.h"
#include "ui/program_state.h"
#include "ui/tray_clipboard_win32.h"

// Other programs find the program folder under this key of the machine.
static const char kRegistryKey[] = "software\\Tamrin\\Dictionary";

// Makes the program folder the current directory, so every dictionary path
// is relative to it, and records it for other programs.
static void EnterProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    if (char* slash = std::strrchr(path, '\\')) *slash = '\0';
    SetCurrentDirectoryA(path);

    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, const_cast<char*>("Dictionary"), 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                       static_cast<DWORD>(std::strlen(path) + 1));
        RegCloseKey(key);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WindowState.instance = instance;
    // The notification area shows icons at the system's small-icon size.
    int traySide = GetSystemMetrics(SM_CXSMICON);
    WindowState.trayIcon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON, traySide, traySide, LR_DEFAULTCOLOR));
    ResetProgramState();
    EnterProgramFolder();
    InitCommonControls();
    ListenForTaskbarCreated();

    CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    HWND window = WindowState.mainWindow;
    // A copy that handed over to a running one has quit already.
    if (IsWindow(window)) {
        // A shared icon of the module: the system owns it.
        SetClassLongPtrA(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN))));
        // The caption and the task bar take the window's icons at its DPI;
        // without them they show the system's default.
        SetMainWindowIcons();
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(window, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
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
