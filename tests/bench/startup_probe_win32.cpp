// Times the start of Dictionary.exe to a window that answers a look-up:
// from CreateProcess to the main window shown, and to the description of a
// word set in the word edit and looked up with the Find command. The first
// start warms the caches and is not counted.
//
//   startup_probe PROGRAM_FOLDER DICTIONARY WORD [RUNS]
//
// PROGRAM_FOLDER holds Dictionary.exe and the dictionary folder; the
// settings key is written so that the program starts shown, on DICTIONARY,
// with nothing else to do (no clipboard, tray or completion).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr LONG_PTR kInstanceMark = 0x6660333;
constexpr int kWordEdit = 1000;
constexpr int kDescriptionEdit = 1001;
constexpr int kFindCommand = 40015;
constexpr int kQuitCommand = 40021;
constexpr DWORD kTimeout = 20000;
const char kSettingsKey[] = "software\\Tamrin\\Dictionary";

struct Window {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMarked(HWND window, LPARAM lParam) {
    Window* wanted = reinterpret_cast<Window*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == wanted->processId && GetWindowLongPtrA(window, GWLP_USERDATA) == kInstanceMark &&
        IsWindowVisible(window)) {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool WriteSettings(const std::string& dictionary) {
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    char startdict[64] = {};
    std::strncpy(startdict, dictionary.c_str(), sizeof startdict - 1);
    RegSetValueExA(key, "startdict", 0, REG_BINARY, reinterpret_cast<const BYTE*>(startdict), sizeof startdict);
    const char* const kOff[] = {"simonnotfound", "clipcopy", "traymin", "startmin", "monitor", "dblpopup",
                                "minonclose", "ontop", "autocomplete", "hotkey", "minonfocus"};
    const DWORD off = 0, on = 1;
    for (const char* name : kOff) RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), 4);
    RegSetValueExA(key, "multinst", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), 4);
    RegCloseKey(key);
    return true;
}

struct Timing {
    double shown;      // ms from CreateProcess to the visible main window
    double answered;   // ms to the description of the word
};

// One start; false, with a message, when a step did not happen in time.
bool TimeOneStart(const std::string& folder, const std::string& word, Timing& out) {
    std::string exe = folder + "\\Dictionary.exe";
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double start = Now();
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        std::fprintf(stderr, "startup_probe: cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return false;
    }
    Window window = {process.dwProcessId, nullptr};
    bool ok = false;
    while (Now() - start < kTimeout) {
        EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&window));
        if (window.found || WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    if (window.found) {
        out.shown = Now() - start;
        HWND wordEdit = GetDlgItem(window.found, kWordEdit);
        HWND description = GetDlgItem(window.found, kDescriptionEdit);
        DWORD_PTR ignored;
        // Both are handled once the program's message loop runs.
        SendMessageTimeoutA(wordEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word.c_str()), SMTO_NORMAL, kTimeout,
                            &ignored);
        SendMessageTimeoutA(window.found, WM_COMMAND, kFindCommand, 0, SMTO_NORMAL, kTimeout, &ignored);
        while (!ok && Now() - start < kTimeout) {
            ok = SendMessageA(description, WM_GETTEXTLENGTH, 0, 0) > 0;
            if (!ok) Sleep(1);
        }
        out.answered = Now() - start;
        PostMessageA(window.found, WM_COMMAND, kQuitCommand, 0);
    }
    if (!window.found) std::fprintf(stderr, "startup_probe: no main window within %lu ms\n", kTimeout);
    else if (!ok) std::fprintf(stderr, "startup_probe: no description for '%s'\n", word.c_str());
    if (WaitForSingleObject(process.hProcess, kTimeout) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Report(const char* what, const std::vector<double>& values) {
    std::printf("%-40s median %7.1f ms   min %7.1f   max %7.1f   (%zu runs)\n", what, Median(values),
                *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()),
                values.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_probe PROGRAM_FOLDER DICTIONARY WORD [RUNS]\n");
        return 2;
    }
    std::string folder = argv[1], dictionary = argv[2], word = argv[3];
    int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 10;
    if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;
    std::replace(folder.begin(), folder.end(), '/', '\\');
    if (!WriteSettings(dictionary)) {
        std::fprintf(stderr, "startup_probe: cannot write the settings key\n");
        return 1;
    }
    std::vector<double> shown, answered;
    for (int run = 0; run <= runs; ++run) {
        Timing timing{};
        if (!TimeOneStart(folder, word, timing)) return 1;
        if (run == 0) continue;
        shown.push_back(timing.shown);
        answered.push_back(timing.answered);
    }
    std::printf("Dictionary.exe on %s, looking up '%s':\n", dictionary.c_str(), word.c_str());
    Report("start to main window shown", shown);
    Report("start to the word's description shown", answered);
    return 0;
}
