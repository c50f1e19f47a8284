// Finds the processes whose program file lies in the folder, asks the
// marked main windows among them to quit, and polls until they are gone:
// a copy still starting gets its request once its window is there.
#include <windows.h>
#include <tlhelp32.h>

#include <set>

#include "res/resource.h"
#include "tools/running_programs.h"

namespace {

// Pause between two looks at the running processes.
constexpr DWORD kPollMilliseconds = 100;

// The long form of a path, in lower case, so that two spellings of one
// folder compare equal.
std::wstring Comparable(const std::wstring& path) {
    std::wstring text = path;
    DWORD length = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (length > 0) {
        std::wstring longer(length, L'\0');
        length = GetLongPathNameW(path.c_str(), &longer[0], length);
        if (length > 0 && length < longer.size()) text = longer.substr(0, length);
    }
    if (!text.empty()) CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::wstring ThisFolder() {
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    folder.resize(GetCurrentDirectoryW(length, &folder[0]));
    folder = Comparable(folder);
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::string Narrow(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size) - 1);
    return out;
}

struct RunningProgram {
    DWORD processId;
    std::wstring path;
};

// The processes whose program file is in `folder`, other than this one and
// the installer that started it (which may lie in the folder too).
std::vector<RunningProgram> ProgramsRunningFrom(const std::wstring& folder) {
    std::vector<RunningProgram> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD installer = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (entry.th32ProcessID == GetCurrentProcessId()) installer = entry.th32ParentProcessID;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId() || entry.th32ProcessID == installer) continue;
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        wchar_t path[MAX_PATH * 4];
        DWORD length = sizeof path / sizeof path[0];
        if (QueryFullProcessImageNameW(process, 0, path, &length)) {
            std::wstring image = Comparable(std::wstring(path, length));
            if (image.size() > folder.size() && image.compare(0, folder.size(), folder) == 0 &&
                image.find(L'\\', folder.size()) == std::wstring::npos)
                found.push_back({entry.th32ProcessID, std::wstring(path, length)});
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
}

struct QuitRequests {
    const std::vector<RunningProgram>* programs;
    std::set<HWND>* asked;
    UINT message;
};

// Posts the request to each main window (marked, as the single-instance
// rule finds it) of the programs, once.
BOOL CALLBACK AskToQuit(HWND window, LPARAM parameter) {
    QuitRequests& requests = *reinterpret_cast<QuitRequests*>(parameter);
    if (GetWindowLongPtrW(window, GWLP_USERDATA) != INSTANCE_MARK || requests.asked->count(window)) return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    for (const RunningProgram& program : *requests.programs) {
        if (program.processId != processId) continue;
        if (PostMessageW(window, requests.message, 0, 0)) requests.asked->insert(window);
        break;
    }
    return TRUE;
}

}  // namespace

std::vector<std::string> EndProgramsRunningHere(int waitMilliseconds) {
    const std::wstring folder = ThisFolder();
    const UINT quitRequest = RegisterWindowMessageA(QUIT_REQUEST_MESSAGE);
    const DWORD start = GetTickCount();
    std::set<HWND> asked;
    for (;;) {
        std::vector<RunningProgram> running = ProgramsRunningFrom(folder);
        if (running.empty()) return {};
        if (GetTickCount() - start >= static_cast<DWORD>(waitMilliseconds)) {
            std::vector<std::string> paths;
            for (const RunningProgram& program : running) paths.push_back(Narrow(program.path));
            return paths;
        }
        QuitRequests requests{&running, &asked, quitRequest};
        EnumWindows(AskToQuit, reinterpret_cast<LPARAM>(&requests));
        Sleep(kPollMilliseconds);
    }
}
