#include "settings/start_with_windows_win32.h"

#include <string>

static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char kRunValue[] = "Dictionary";

static const char kCannotStart[] =
    "Dictionary cannot be set to start with Windows: the setting could not be written to the registry.";
static const char kCannotStop[] =
    "Dictionary still starts with Windows: the setting could not be removed from the registry.";
static const char kMachineStillStarts[] =
    "Dictionary still starts with Windows for every user of this computer: an earlier version set that up, "
    "and only an administrator can remove it.";

// The program file's full path; empty when it does not fit.
static std::string ProgramPath() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    return std::string(path, length);
}

// The value's text; false when it is missing or not text.
static bool ReadRunValue(HKEY root, std::string* data) {
    HKEY key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    bool found = RegQueryValueExA(key, kRunValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
                 (type == REG_SZ || type == REG_EXPAND_SZ);
    if (found) {
        std::string bytes(size, '\0');
        found = RegQueryValueExA(key, kRunValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&bytes[0]), &size) ==
                ERROR_SUCCESS;
        bytes.resize(size < bytes.size() ? size : bytes.size());
        *data = bytes.c_str();  // up to the terminator
    }
    RegCloseKey(key);
    return found;
}

// The command names this program, quoted as written now or bare as
// earlier versions wrote it.
static bool NamesThisProgram(const std::string& command) {
    std::string path = ProgramPath();
    if (path.empty()) return false;
    return lstrcmpiA(command.c_str(), path.c_str()) == 0 || lstrcmpiA(command.c_str(), ("\"" + path + "\"").c_str()) == 0;
}

static bool MachineValueIsOurs() {
    std::string command;
    return ReadRunValue(HKEY_LOCAL_MACHINE, &command) && NamesThisProgram(command);
}

static bool WriteUserValue(const std::string& command) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool written = RegSetValueExA(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                  static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

static bool DeleteValue(HKEY root) {
    HKEY key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    LONG result = RegDeleteValueA(key, kRunValue);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool StartsWithWindows() {
    std::string command;
    return ReadRunValue(HKEY_CURRENT_USER, &command) || MachineValueIsOurs();
}

static void Tell(HWND owner, const char* text) { MessageBoxA(owner, text, "Error", MB_ICONERROR | MB_OK); }

void SetStartWithWindows(HWND owner, bool on) {
    std::string current;
    bool userValue = ReadRunValue(HKEY_CURRENT_USER, &current);
    if (on) {
        std::string path = ProgramPath();
        // Quoted, or a folder with spaces would start another program.
        std::string command = "\"" + path + "\"";
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
