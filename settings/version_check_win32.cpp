// The new-version check over WinINet, which is loaded only when a check runs
// so the program starts where the library is missing.
#include <windows.h>
#include <shellapi.h>
#include <wininet.h>

#include <cstdlib>
#include <string>

#include "platform/wide_text_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "settings/version_check.h"
#include "settings/version_check_win32.h"

namespace {

enum Outcome : WPARAM { kLibraryMissing, kCannotConnect, kNewerVersion, kLatestVersion };

// What a worker needs; it owns the record and frees it.
struct CheckJob {
    HWND resultWindow;
    std::string address;
    std::string ownVersion;
};

// A check that cannot reach the server gives up after this long.
const DWORD kRequestTimeout = 10000;

// Tests point the check at a server of their own; users never need to.
const char kTestAddressVariable[] = "DICTIONARY_TEST_UPDATE_ADDRESS";

const char kMissingLibraryText[] =
    "Internet Explorer 4.0 required to perform this check. Do you want to open Dictionary's web site in your "
    "browser?";
const char kCannotConnectText[] = "Cannot connect to Internet! Do you want to open Dictionary's web site in your browser?";
const char kNewVersionText[] = "New version is available. Do you want do visit Dictionary's web site?";
const char kLatestVersionText[] = "You have the latest version";
const char kCheckButton[] = "Check for new version";
const char kCheckingButton[] = "Checking...";

// GetProcAddress gives a generic function pointer; going through void(*)()
// tells the compiler the cast to the real signature is meant.
template <typename Function>
void FindEntryPoint(HMODULE library, const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// The entry points of WinINet a check uses, found when the check runs; the
// library is let go when it ends (checks are few and far between).
struct InternetLibrary {
    HMODULE module = nullptr;
    decltype(&InternetOpenA) OpenInternet = nullptr;
    decltype(&InternetOpenUrlA) OpenAddress = nullptr;
    decltype(&InternetReadFile) ReadInternetFile = nullptr;
    decltype(&InternetCloseHandle) CloseInternetHandle = nullptr;
    decltype(&InternetSetOptionA) SetInternetOption = nullptr;
    decltype(&HttpQueryInfoA) QueryHttpInfo = nullptr;

    InternetLibrary() : module(LoadLibraryA("wininet.dll")) {
        if (!module) return;
        FindEntryPoint(module, "InternetOpenA", OpenInternet);
        FindEntryPoint(module, "InternetOpenUrlA", OpenAddress);
        FindEntryPoint(module, "InternetReadFile", ReadInternetFile);
        FindEntryPoint(module, "InternetCloseHandle", CloseInternetHandle);
        FindEntryPoint(module, "InternetSetOptionA", SetInternetOption);
        FindEntryPoint(module, "HttpQueryInfoA", QueryHttpInfo);
    }
    ~InternetLibrary() {
        if (module) FreeLibrary(module);
    }
    InternetLibrary(const InternetLibrary&) = delete;
    InternetLibrary& operator=(const InternetLibrary&) = delete;
    bool Loaded() const { return OpenInternet && OpenAddress && ReadInternetFile && CloseInternetHandle; }
};

std::string UpdateInfoAddress() {
    const char* address = std::getenv(kTestAddressVariable);
    return address && *address ? address : UPDATE_INFO_ADDRESS;
}

void SetTimeouts(const InternetLibrary& net, HINTERNET internet) {
    if (!net.SetInternetOption) return;
    DWORD timeout = kRequestTimeout;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        net.SetInternetOption(internet, option, &timeout, sizeof timeout);
}

// An error page from the server is no answer to the question.
bool AnsweredOk(const InternetLibrary& net, HINTERNET address) {
    if (!net.QueryHttpInfo) return true;
    DWORD status = 0, size = sizeof status;
    if (!net.QueryHttpInfo(address, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return true;
    return status == HTTP_STATUS_OK;
}

// The start of the file, as much of it as the server sends up to the limit;
// false when the transfer fails.
bool ReadStart(const InternetLibrary& net, HINTERNET address, std::string* text) {
    char buffer[kUpdateInfoReadLimit];
    DWORD total = 0;
    while (total < sizeof buffer) {
        DWORD read = 0;
        if (!net.ReadInternetFile(address, buffer + total, sizeof buffer - total, &read)) return false;
        if (read == 0) break;
        total += read;
    }
    text->assign(buffer, total);
    return true;
}

// Over https with the certificate checked, through the system's proxy
// settings, and never from the cache: a stale copy would hide a release.
Outcome Fetch(const CheckJob& job) {
    const InternetLibrary net;
    if (!net.Loaded()) return kLibraryMissing;
    HINTERNET internet = net.OpenInternet("Dictionary", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!internet) return kCannotConnect;
    SetTimeouts(net, internet);
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    HINTERNET address = net.OpenAddress(internet, job.address.c_str(), nullptr, 0, flags, 0);
    std::string text;
    bool fetched = address && AnsweredOk(net, address) && ReadStart(net, address, &text);
    if (address) net.CloseInternetHandle(address);
    net.CloseInternetHandle(internet);
    if (!fetched) return kCannotConnect;
    return CompareUpdateInfo(text.data(), text.size(), job.ownVersion.c_str()) == VersionCheckOutcome::NewerAvailable
               ? kNewerVersion
               : kLatestVersion;
}

DWORD WINAPI RunCheck(void* parameter) {
    CheckJob* job = static_cast<CheckJob*>(parameter);
    Outcome outcome = Fetch(*job);
    PostMessageA(job->resultWindow, WM_VERSION_CHECKED, outcome, 0);
    delete job;
    return 0;
}

void ShowChecking(bool checking) {
    if (!WindowState.versionCheckPage) return;
    HWND button = GetDlgItem(WindowState.versionCheckPage, IDC_CHECKVERSION);
    SetWindowTextW(button, WideText(checking ? kCheckingButton : kCheckButton).c_str());
    EnableWindow(button, checking ? FALSE : TRUE);
}

// Offers the project page after a question or a failure; only Yes opens it.
// The box belongs to the page, so the sheet waits for the answer.
void AskOpenWebSite(HWND owner, const char* text, UINT icon) {
    if (ShowMessage(owner, text, "Dictionary", icon | MB_YESNO) != IDYES) return;
    ShellExecuteA(nullptr, nullptr, PROJECT_PAGE_ADDRESS, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void AttachVersionCheckPage(HWND aboutPage) {
    WindowState.versionCheckPage = aboutPage;
    if (WindowState.versionCheckRunning) ShowChecking(true);
}

void CheckForNewVersion() {
    if (WindowState.versionCheckRunning) return;
    char own[200] = {};
    LoadStringA(WindowState.instance, IDS_VERSION, own, sizeof own);
    CheckJob* job = new CheckJob{WindowState.mainWindow, UpdateInfoAddress(), own};
    HANDLE worker = CreateThread(nullptr, 0, RunCheck, job, 0, nullptr);
    if (!worker) {
        delete job;
        OnVersionChecked(kCannotConnect);
        return;
    }
    CloseHandle(worker);
    WindowState.versionCheckRunning = true;
    ShowChecking(true);
}

void OnVersionChecked(WPARAM outcome) {
    WindowState.versionCheckRunning = false;
    if (!WindowState.versionCheckPage) return;
    ShowChecking(false);
    switch (outcome) {
    case kLibraryMissing: AskOpenWebSite(WindowState.versionCheckPage, kMissingLibraryText, MB_ICONERROR); break;
    case kNewerVersion: AskOpenWebSite(WindowState.versionCheckPage, kNewVersionText, MB_ICONQUESTION); break;
    case kLatestVersion:
        ShowMessage(WindowState.versionCheckPage, kLatestVersionText, "Dictionary", MB_ICONINFORMATION | MB_OK);
        break;
    default: AskOpenWebSite(WindowState.versionCheckPage, kCannotConnectText, MB_ICONERROR); break;
    }
}
