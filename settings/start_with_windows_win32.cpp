#include "settings/start_with_windows_win32.h"

#include <algorithm>
#include <string>

#include "platform/wide_text_win32.h"

// Wide throughout: the program's path may hold any character.
static const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const wchar_t kRunValue[] = L"Dictionary";

static const char kCannotStart[] =
    "Dictionary cannot be set to start with Windows: the setting could not be written to the registry.";
static const char kCannotStop[] =
    "Dictionary still starts with Windows: the setting could not be removed from the registry.";
static const char kMachineStillStarts[] =
    "Dictionary still starts with Windows for every user of this computer: an earlier version set that up, "
    "and only an administrator can remove it.";

// The program file's full path; empty when it does not fit.
static std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(path, length);
}

// The value's text; false when it is missing or not text.
static bool ReadRunValue(HKEY root, std::wstring* data) {
    HKEY key;
    if (RegOpenKeyExW(root, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    bool found = RegQueryValueExW(key, kRunValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
                 (type == REG_SZ || type == REG_EXPAND_SZ);
    if (found) {
        std::wstring units(size / sizeof(wchar_t) + 1, L'\0');
        found = RegQueryValueExW(key, kRunValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&units[0]), &size) ==
                ERROR_SUCCESS;
        units.resize(std::min(units.size(), static_cast<size_t>(size / sizeof(wchar_t))));
        *data = units.c_str();  // up to the terminator
    }
    RegCloseKey(key);
    return found;
}

// The command names this program, quoted as written now or bare as
// earlier versions wrote it.
static bool NamesThisProgram(const std::wstring& command) {
    std::wstring path = ProgramPath();
    if (path.empty()) return false;
    return lstrcmpiW(command.c_str(), path.c_str()) == 0 ||
           lstrcmpiW(command.c_str(), (L"\"" + path + L"\"").c_str()) == 0;
}

static bool MachineValueIsOurs() {
    std::wstring command;
    return ReadRunValue(HKEY_LOCAL_MACHINE, &command) && NamesThisProgram(command);
}

static bool WriteUserValue(const std::wstring& command) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool written = RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                  static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

static bool DeleteValue(HKEY root) {
    HKEY key;
    if (RegOpenKeyExW(root, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    LONG result = RegDeleteValueW(key, kRunValue);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool StartsWithWindows() {
    std::wstring command;
    return ReadRunValue(HKEY_CURRENT_USER, &command) || MachineValueIsOurs();
}

static void Tell(HWND owner, const char* text) { ShowMessage(owner, text, "Error", MB_ICONERROR | MB_OK); }

void SetStartWithWindows(HWND owner, bool on) {
    std::wstring current;
    bool userValue = ReadRunValue(HKEY_CURRENT_USER, &current);
    if (on) {
        std::wstring path = ProgramPath();
        // Quoted, or a folder with spaces would start another program.
        std::wstring command = L"\"" + path + L"\"";
        bool inPlace = userValue && current == command;
        if (path.empty() || (!inPlace && !WriteUserValue(command))) {
            Tell(owner, kCannotStart);
            return;
        }
        // The user's value replaces the machine-wide one, which would start
        // a second copy; where that cannot go, the program still starts once.
        if (MachineValueIsOurs()) DeleteValue(HKEY_LOCAL_MACHINE);
        return;
    }
    if (userValue && !DeleteValue(HKEY_CURRENT_USER)) Tell(owner, kCannotStop);
    if (MachineValueIsOurs() && !DeleteValue(HKEY_LOCAL_MACHINE)) Tell(owner, kMachineStillStarts);
}
