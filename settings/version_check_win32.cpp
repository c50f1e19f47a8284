// The new-version check over WinINet, which is loaded only when a check runs
// so the program starts where the library is missing.
#include <windows.h>
#include <shellapi.h>
#include <wininet.h>

#include <cstring>

#include "res/resource.h"
#include "settings/version_check.h"
#include "settings/version_check_win32.h"
#include "ui/windows_win32.h"

static decltype(&InternetOpenA) OpenInternet = nullptr;
static decltype(&InternetOpenUrlA) OpenAddress = nullptr;
static decltype(&InternetReadFile) ReadInternetFile = nullptr;
static decltype(&InternetCloseHandle) CloseInternetHandle = nullptr;
static decltype(&InternetSetOptionA) SetInternetOption = nullptr;

// The user-interface thread waits for the request; without a network it
// must give up instead of freezing the program.
static const DWORD kRequestTimeout = 10000;

static const char kMissingLibrary[] =
    "Internet Explorer 4.0 required to perform this check. Do you want to open Dictionary's web site in your "
    "browser?";
static const char kCannotConnect[] =
    "Cannot connect to Internet! Do you want to open Dictionary's web site in your browser?";
static const char kNewVersion[] = "New version is available. Do you want do visit Dictionary's web site?";
static const char kLatestVersion[] = "You have the latest version";

// GetProcAddress gives a generic function pointer; going through void(*)()
// tells the compiler the cast to the real signature is meant.
template <typename Function>
static void FindEntryPoint(HMODULE library, const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// Once found, the entry points and the library stay for the rest of the run.
static bool LoadInternetLibrary() {
    if (OpenInternet) return OpenAddress && ReadInternetFile && CloseInternetHandle;
    HMODULE library = LoadLibraryA("wininet.dll");
    if (!library) return false;
    FindEntryPoint(library, "InternetOpenA", OpenInternet);
    FindEntryPoint(library, "InternetOpenUrlA", OpenAddress);
    FindEntryPoint(library, "InternetReadFile", ReadInternetFile);
    FindEntryPoint(library, "InternetCloseHandle", CloseInternetHandle);
    FindEntryPoint(library, "InternetSetOptionA", SetInternetOption);
    return OpenInternet && OpenAddress && ReadInternetFile && CloseInternetHandle;
}

// Offers the project page after a question or a failure; only Yes opens it.
static void AskOpenWebSite(const char* text, UINT icon) {
    if (MessageBoxA(MainWindow, text, "Dictionary", icon | MB_YESNO) != IDYES) return;
    ShellExecuteA(nullptr, nullptr, PROJECT_PAGE_ADDRESS, nullptr, nullptr, SW_SHOWNORMAL);
}

static void SetTimeouts(HINTERNET internet) {
    if (!SetInternetOption) return;
    DWORD timeout = kRequestTimeout;
    const DWORD options[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT};
    for (DWORD option : options) SetInternetOption(internet, option, &timeout, sizeof timeout);
}

void CheckForNewVersion() {
    if (!LoadInternetLibrary()) {
        AskOpenWebSite(kMissingLibrary, MB_ICONERROR);
        return;
    }
    HINTERNET internet = OpenInternet("Dictionary", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!internet) {
        AskOpenWebSite(kCannotConnect, MB_ICONERROR);
        return;
    }
    SetTimeouts(internet);
    HINTERNET address = OpenAddress(internet, UPDATE_INFO_ADDRESS, nullptr, 0, 0, 0);
    if (!address) {
        AskOpenWebSite(kCannotConnect, MB_ICONERROR);
        CloseInternetHandle(internet);
        return;
    }
    // A failed or empty read leaves nothing to find: the user has the latest.
    char text[kUpdateInfoReadLimit] = {};
    DWORD read = 0;
    if (!ReadInternetFile(address, text, sizeof text, &read) || read > sizeof text) read = 0;
    CloseInternetHandle(address);
    CloseInternetHandle(internet);

    char own[200] = {};
    LoadStringA(ProgramInstance, IDS_VERSION, own, sizeof own);
    if (CompareUpdateInfo(text, read, own) == kNewerVersionAvailable)
        AskOpenWebSite(kNewVersion, MB_ICONQUESTION);
    else
        MessageBoxA(MainWindow, kLatestVersion, "Dictionary", MB_ICONINFORMATION | MB_OK);
}
