#include "tests/e2e/e2e_support.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

constexpr LONG_PTR kInstanceMark = 0x6660333;
constexpr int kQuitCommand = 40021;

std::string JoinPath(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size()) << path;
}

// Wide, so that names of any characters go too.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void RemoveTree(const std::string& folder) { RemoveTree(Wide(folder)); }

// The program as built: CTest passes its path, which may be a Unix one;
// otherwise the one beside the driver.
std::string ProgramUnderTest() {
    const char* path = std::getenv("DICTIONARY_EXE");
    if (!path || !*path) {
        char driver[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, driver, sizeof driver);
        std::string beside = driver;
        size_t slash = beside.find_last_of('\\');
        return slash == std::string::npos ? "" : beside.substr(0, slash + 1) + "Dictionary.exe";
    }
    std::string windowsPath = path;
    if (windowsPath[0] == '/') windowsPath = "Z:" + windowsPath;
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    return windowsPath;
}

// How the program orders and files words: ASCII letters without case,
// every other byte by its unsigned value.
int LowerAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

int CompareNoCase(const std::string& a, const std::string& b) {
    for (size_t i = 0;; ++i) {
        int ca = i < a.size() ? LowerAscii(static_cast<unsigned char>(a[i])) : 0;
        int cb = i < b.size() ? LowerAscii(static_cast<unsigned char>(b[i])) : 0;
        if (ca != cb || ca == 0) return ca - cb;
    }
}

unsigned char Fold(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || c >= 0xE0) return static_cast<unsigned char>(c - 0x20);
    return c;
}

// The program's settings key, saved before the first test and put back
// after the last, so a run in a prefix someone uses keeps their settings.
class SettingsKeyBackup : public ::testing::Environment {
public:
    void SetUp() override {
        HKEY key;
        existed_ = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (!existed_) return;
        char name[256];
        BYTE data[1024];
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = sizeof name, type = 0, dataLength = sizeof data;
            if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
                break;
            values_.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataLength)});
        }
        RegCloseKey(key);
    }
    void TearDown() override {
        DeleteSettingsKey();
        if (!existed_) return;
        HKEY key;
        char keyClass[] = "Dictionary";
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, keyClass, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        for (const Value& value : values_)
            RegSetValueExA(key, value.name.c_str(), 0, value.type,
                           reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
        RegCloseKey(key);
    }

private:
    struct Value {
        std::string name;
        DWORD type;
        std::string data;
    };
    bool existed_ = false;
    std::vector<Value> values_;
};

::testing::Environment* const kSettingsKeyBackup = ::testing::AddGlobalTestEnvironment(new SettingsKeyBackup);

BOOL CALLBACK CollectMarked(HWND window, LPARAM lParam) {
    if (GetWindowLongPtrA(window, GWLP_USERDATA) == kInstanceMark)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

// Every program started here belongs to one job that ends them all when the
// driver ends, even when CTest kills it after a time-out.
HANDLE ProgramsJob() {
    static HANDLE job = [] {
        HANDLE created = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created) SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return created;
    }();
    return job;
}

void CloseProcessHandles(RunningProgram* program) {
    if (program->process.hProcess) CloseHandle(program->process.hProcess);
    if (program->process.hThread) CloseHandle(program->process.hThread);
    program->process = PROCESS_INFORMATION{};
}

}  // namespace

const char kSettingsKeyPath[] = "software\\Tamrin\\Dictionary";

const SettingValueShape kSettingValues[20] = {
    {"pos", REG_BINARY, 8},         {"size", REG_BINARY, 8},       {"rectalldict", REG_BINARY, 16},
    {"rectsim", REG_BINARY, 16},    {"startdict", REG_BINARY, 64}, {"startinbul", REG_DWORD, 4},
    {"simonnotfound", REG_DWORD, 4}, {"clipcopy", REG_DWORD, 4},   {"traymin", REG_DWORD, 4},
    {"startmin", REG_DWORD, 4},     {"monitor", REG_DWORD, 4},     {"dblpopup", REG_DWORD, 4},
    {"tooltips", REG_DWORD, 4},     {"flat", REG_DWORD, 4},        {"multinst", REG_DWORD, 4},
    {"minonclose", REG_DWORD, 4},   {"ontop", REG_DWORD, 4},       {"autocomplete", REG_DWORD, 4},
    {"hotkey", REG_DWORD, 4},       {"minonfocus", REG_DWORD, 4},
};

void DeleteSettingsKey() {
    LONG result = RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) << "cannot delete the settings key";
}

void WriteSettings(const StoredSettings& settings) {
    // Made afresh with its class, as the program makes it.
    DeleteSettingsKey();
    HKEY key;
    char keyClass[] = "Dictionary";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, keyClass, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    auto binary = [&](const char* name, const void* data, DWORD length) {
        RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), length);
    };
    auto dword = [&](const char* name, DWORD value) {
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    };
    const int32_t noRect[4] = {-1, -1, -1, -1};
    char startdict[64] = {};
    std::strncpy(startdict, settings.startdict.c_str(), sizeof startdict - 1);
    binary("pos", settings.pos, 8);
    binary("size", settings.size, 8);
    binary("rectalldict", noRect, 16);
    binary("rectsim", noRect, 16);
    binary("startdict", startdict, 64);
    dword("startinbul", settings.startinbul);
    dword("simonnotfound", settings.simonnotfound);
    dword("clipcopy", settings.clipcopy);
    dword("traymin", settings.traymin);
    dword("startmin", settings.startmin);
    dword("monitor", settings.monitor);
    dword("dblpopup", settings.dblpopup);
    dword("tooltips", settings.tooltips);
    dword("flat", settings.flat);
    dword("multinst", settings.multinst);
    dword("minonclose", settings.minonclose);
    dword("ontop", settings.ontop);
    dword("autocomplete", settings.autocomplete);
    dword("hotkey", settings.hotkey);
    dword("minonfocus", settings.minonfocus);
    if (settings.baseforms) dword("baseforms", *settings.baseforms);
    RegCloseKey(key);
}

bool ReadSettingValue(const char* name, DWORD* type, std::string* bytes) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD length = 0;
    bool found = RegQueryValueExA(key, name, nullptr, type, nullptr, &length) == ERROR_SUCCESS;
    if (found) {
        bytes->assign(length, '\0');
        found = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(&(*bytes)[0]), &length) ==
                ERROR_SUCCESS;
        bytes->resize(length);
    }
    RegCloseKey(key);
    return found;
}

void WriteDictionary(const std::string& root, const std::string& folder, const std::string& name,
                     std::vector<std::pair<std::string, std::string>> entries) {
    std::string path = JoinPath(root, folder);
    ASSERT_TRUE(CreateDirectoryW(Wide(path).c_str(), nullptr)) << path;

    LOGFONTA font = {};
    static_assert(sizeof font == 60, "a stored font is 60 bytes");
    font.lfHeight = 16;
    font.lfCharSet = RUSSIAN_CHARSET;
    std::strcpy(font.lfFaceName, "Times New Roman");
    std::string header(64, '\0');
    header.replace(0, std::min<size_t>(name.size(), 63), name, 0, 63);
    const int32_t dual = 0, caseSensitive = 0;
    header.append(reinterpret_cast<const char*>(&dual), 4);
    header.append(reinterpret_cast<const char*>(&caseSensitive), 4);
    header.append(reinterpret_cast<const char*>(&font), sizeof font);
    header.append(reinterpret_cast<const char*>(&font), sizeof font);
    ASSERT_EQ(header.size(), 192u);
    WriteFileBytes(JoinPath(path, "00.dat"), header);

    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return CompareNoCase(a.first, b.first) < 0; });
    std::map<unsigned char, std::string> letters;
    for (const auto& entry : entries) {
        std::string& bytes = letters[Fold(static_cast<unsigned char>(entry.first[0]))];
        bytes += entry.first;
        bytes += '\0';
        bytes += entry.second;
        bytes += '\0';
    }
    for (const auto& letter : letters) {
        char fileName[16];
        std::snprintf(fileName, sizeof fileName, "%02x.dat", letter.first);
        WriteFileBytes(JoinPath(path, fileName), letter.second);
    }
}

std::vector<std::string> CatalogueFolders(const std::string& root) {
    std::vector<std::string> folders;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(JoinPath(root, "*.*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return folders;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || found.cFileName[0] == L'.') continue;
        std::string name = Cp1251(found.cFileName);
        std::string header = JoinPath(JoinPath(root, name), "00.dat");
        if (GetFileAttributesW(Wide(header).c_str()) != INVALID_FILE_ATTRIBUTES) folders.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return folders;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeout) return false;
        Sleep(10);
    }
}

std::vector<HWND> MarkedWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectMarked, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> MarkedWindowsOf(DWORD processId) {
    std::vector<HWND> windows;
    for (HWND window : MarkedWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) windows.push_back(window);
    }
    return windows;
}

void StartProgram(const std::string& folder, RunningProgram* program) {
    std::string exe = JoinPath(folder, "Dictionary.exe");
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                               folder.c_str(), &startup, &program->process))
        << "cannot start " << exe << " (error " << GetLastError() << ")";
    if (HANDLE job = ProgramsJob()) AssignProcessToJobObject(job, program->process.hProcess);
    ResumeThread(program->process.hThread);
}

void WaitForMainWindow(RunningProgram* program) {
    DWORD processId = program->process.dwProcessId;
    bool found = WaitUntil(
        [&] {
            std::vector<HWND> windows = MarkedWindowsOf(processId);
            if (!windows.empty()) program->window = windows[0];
            return program->window != nullptr || HasEnded(*program);
        },
        kStartTimeout);
    ASSERT_TRUE(found) << "the main window did not appear within " << kStartTimeout << " ms";
    ASSERT_TRUE(program->window) << "the program ended without a main window";
    // Idle means the start sequence is over and the message loop waits.
    ASSERT_EQ(WaitForInputIdle(program->process.hProcess, kStartTimeout), 0u) << "the program did not become idle";
    DWORD_PTR ignored;
    ASSERT_TRUE(SendMessageTimeoutA(program->window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStepTimeout, &ignored))
        << "the program does not answer";
}

bool HasEnded(const RunningProgram& program) {
    return !program.process.hProcess || WaitForSingleObject(program.process.hProcess, 0) == WAIT_OBJECT_0;
}

bool WaitForExit(RunningProgram* program, DWORD timeout) {
    if (!program->process.hProcess) return true;
    return WaitForSingleObject(program->process.hProcess, timeout) == WAIT_OBJECT_0;
}

void EndProgram(RunningProgram* program) {
    if (!program->process.hProcess) return;
    if (!HasEnded(*program)) {
        std::vector<HWND> windows = MarkedWindowsOf(program->process.dwProcessId);
        for (HWND window : windows) PostMessageA(window, WM_COMMAND, kQuitCommand, 0);
        if (windows.empty() || !WaitForExit(program, kStepTimeout)) {
            ADD_FAILURE() << "the program did not quit; terminating it";
            TerminateProcess(program->process.hProcess, 99);
            WaitForSingleObject(program->process.hProcess, kStepTimeout);
        }
    }
    CloseProcessHandles(program);
    program->window = nullptr;
}

void Settle(const RunningProgram& program) {
    // Posted messages are handled in order: once a marker posted after them
    // has arrived, they have been handled. A second round covers what the
    // program posted to itself meanwhile (Enter posts Find). The marker is
    // the description edit's text limit, which nothing else touches (the
    // word edit's is the longest word).
    static WPARAM marker = 40000;
    HWND description = Control(program, kDescriptionEdit);
    for (int round = 0; round < 2; ++round) {
        WPARAM limit = ++marker;
        ASSERT_TRUE(PostMessageA(description, EM_SETLIMITTEXT, limit, 0));
        ASSERT_TRUE(WaitUntil([&] { return static_cast<WPARAM>(Send(description, EM_GETLIMITTEXT)) == limit; }))
            << "the program did not handle its messages";
    }
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kStepTimeout, &result))
        ADD_FAILURE() << "message " << message << " got no answer";
    return static_cast<LRESULT>(result);
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(1251, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(1251, 0, text.data(), size, &wide[0], static_cast<int>(wide.size()));
    return wide;
}

std::string Cp1251(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(1251, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    BOOL missing = FALSE;
    WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), size, &bytes[0], static_cast<int>(bytes.size()),
                        "\x98", &missing);
    return bytes;
}

std::wstring WideTextOf(HWND window) {
    wchar_t text[10000] = L"";
    DWORD_PTR length = 0;
    // A window that went meanwhile (a box closing) has no text.
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 10000, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kStepTimeout, &length) &&
        IsWindow(window))
        ADD_FAILURE() << "WM_GETTEXT got no answer";
    return text;
}

std::string TextOf(HWND window) { return Cp1251(WideTextOf(window)); }

void SetText(HWND window, const std::string& text) { SetWideText(window, Wide(text)); }

void SetWideText(HWND window, const std::wstring& text) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kStepTimeout, &result))
        ADD_FAILURE() << "WM_SETTEXT got no answer";
}

HWND Control(const RunningProgram& program, int id) {
    HWND control = GetDlgItem(program.window, id);
    EXPECT_TRUE(control) << "no control " << id;
    return control;
}

std::string ControlText(const RunningProgram& program, int id) { return TextOf(Control(program, id)); }

bool ToolbarButtonEnabled(const RunningProgram& program, int command) {
    return Send(Control(program, kToolbar), TB_ISBUTTONENABLED, static_cast<WPARAM>(command)) != 0;
}

static LPARAM KeyData(WPARAM key, bool up) {
    LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16);
    if (up) data |= (1L << 30) | (1UL << 31);
    return data;
}

void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, KeyData(key, false));
    PostMessageA(window, WM_KEYUP, key, KeyData(key, true));
}

void PostEnter(HWND window) {
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, KeyData(VK_RETURN, false));
    PostMessageA(window, WM_CHAR, '\r', KeyData(VK_RETURN, false));
    PostMessageA(window, WM_KEYUP, VK_RETURN, KeyData(VK_RETURN, true));
}

void PostChars(HWND window, const std::string& text) { PostWideChars(window, Wide(text)); }

void PostWideChars(HWND window, const std::wstring& text) {
    for (wchar_t unit : text) PostMessageW(window, WM_CHAR, unit, 1);
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

void ProgramTest::SetUp() {
    char display[256] = "";
    ASSERT_TRUE(GetEnvironmentVariableA("DISPLAY", display, sizeof display))
        << "no X display: run the tests through scripts/test.sh, or start Xvfb and set DISPLAY";
    std::string exe = ProgramUnderTest();
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES)
        << "no program under test at " << exe << " (DICTIONARY_EXE names it)";

    // A clipboard left by someone else would be looked up at start.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }

    char temp[MAX_PATH];
    ASSERT_TRUE(GetTempPathA(sizeof temp, temp));
    static int counter = 0;
    folder_ = std::string(temp) + "dictionary-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++counter);
    RemoveTree(folder_);
    ASSERT_TRUE(CreateDirectoryW(Wide(folder_).c_str(), nullptr)) << folder_;
    ASSERT_TRUE(CopyFileA(exe.c_str(), JoinPath(folder_, "Dictionary.exe").c_str(), FALSE))
        << "cannot copy " << exe;
}

void ProgramTest::TearDown() {
    for (RunningProgram& program : programs_) EndProgram(&program);
    if (!folder_.empty()) RemoveTree(folder_);
}

RunningProgram& ProgramTest::Start() {
    programs_.emplace_back();
    RunningProgram& program = programs_.back();
    StartProgram(folder_, &program);
    if (!HasFatalFailure()) WaitForMainWindow(&program);
    return program;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(missing)";
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

RemoteBlock::RemoteBlock(const RunningProgram& program, size_t size)
    : process_(program.process.hProcess),
      address_(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
    EXPECT_NE(address_, nullptr) << "no memory in the program (error " << GetLastError() << ")";
}

RemoteBlock::~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBlock::Write(const void* data, size_t size) {
    SIZE_T done = 0;
    return address_ && WriteProcessMemory(process_, address_, data, size, &done) && done == size;
}

bool RemoteBlock::Read(void* data, size_t size) const {
    SIZE_T done = 0;
    return address_ && ReadProcessMemory(process_, address_, data, size, &done) && done == size;
}

RECT ToolbarButtonRect(const RunningProgram& program, int position) {
    RECT rect = {};
    RemoteBlock block(program, sizeof rect);
    EXPECT_TRUE(Send(Control(program, kToolbar), TB_GETITEMRECT, static_cast<WPARAM>(position), block.Address()))
        << "no toolbar button at " << position;
    EXPECT_TRUE(block.Read(&rect, sizeof rect));
    return rect;
}

namespace {

struct DialogSearch {
    HWND main;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    char className[16] = "";
    if (window != search->main && IsWindowVisible(window) && GetClassNameA(window, className, sizeof className) &&
        std::strcmp(className, "#32770") == 0)
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> ProgramDialogs(const RunningProgram& program) {
    DialogSearch search{program.window, {}};
    EnumThreadWindows(program.process.dwThreadId, CollectDialogs, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProgramDialog(const RunningProgram& program, const char* caption, DWORD timeout) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : ProgramDialogs(program))
                if (TextOf(window) == caption) dialog = window;
            return dialog != nullptr;
        },
        timeout);
    return dialog;
}

std::string MessageBoxText(HWND box) { return TextOf(GetDlgItem(box, 0xFFFF)); }

void PressButton(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool TrayIconPresent(HWND mainWindow) {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = mainWindow;
    icon.uID = 2024;
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

void CopyBytes(const std::string& bytes) { CopyWide(Wide(bytes)); }

void CopyWide(const std::wstring& text) {
    const size_t size = text.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    ASSERT_NE(block, nullptr);
    std::memcpy(GlobalLock(block), text.data(), size);
    GlobalUnlock(block);
    ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) << "the clipboard stays busy";
    EmptyClipboard();
    bool set = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!set) GlobalFree(block);
    ASSERT_TRUE(set) << "the clipboard took no text";
}

void CopyText(const RunningProgram& program, const std::string& bytes) {
    // The gap is what the program measures: there is no condition to wait for.
    Sleep(80);
    CopyBytes(bytes);
    Settle(program);
}

void CopyTwice(const RunningProgram& program, const std::string& bytes) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        Sleep(80);
        DWORD start = GetTickCount();
        CopyBytes(bytes);
        Settle(program);
        Sleep(80);
        CopyBytes(bytes);
        Settle(program);
        // Both seen within this span: the program measured less.
        if (GetTickCount() - start < 250) return;
    }
    ADD_FAILURE() << "the machine is too busy to copy twice within 250 ms";
}

namespace {

std::string ScreenPixels(HWND window) {
    RECT rect = WindowRect(window);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return std::string();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::string pixels;
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        pixels.assign(static_cast<const char*>(bits), static_cast<size_t>(width) * height * 4);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

std::string StablePixels(HWND window) {
    const DWORD kStill = 100;
    std::string shown = ScreenPixels(window);
    DWORD since = GetTickCount();
    bool held = WaitUntil([&] {
        std::string now = ScreenPixels(window);
        if (now != shown) {
            shown = now;
            since = GetTickCount();
        }
        return GetTickCount() - since >= kStill;
    });
    EXPECT_TRUE(held) << "the window's picture keeps changing";
    return shown;
}

std::string RepaintedPixels(const RunningProgram& program, HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Settle(program);
    return StablePixels(window);
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

bool PressHotkeyUntil(std::initializer_list<WORD> keys, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        PressKeys(keys);
        if (WaitUntil(done, kStepTimeout / 3)) return true;
    }
    return false;
}
