// The tool's arguments and streams on Windows: argv arrives in the ANSI code
// page, so the arguments are taken from the wide command line as UTF-8; the
// streams are binary so UTF-8 and line ends pass unchanged, and a console
// is switched to UTF-8 while the tool runs.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "tools/run_tool.h"
#include "tools/tool_commands.h"

static std::string Utf8(const wchar_t* wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], size, nullptr, nullptr);
    text.resize(static_cast<size_t>(size) - 1);
    return text;
}

std::vector<std::string> ToolCommandLine(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return args;
}

static UINT g_consoleOutputCodePage = 0;
static UINT g_consoleInputCodePage = 0;

static bool IsConsole(DWORD handle) {
    DWORD mode;
    return GetConsoleMode(GetStdHandle(handle), &mode) != 0;
}

// The console keeps its code page after we exit: give the old one back,
// once everything written has reached it.
static void RestoreConsoleCodePages() {
    std::fflush(stdout);
    std::fflush(stderr);
    if (g_consoleOutputCodePage) SetConsoleOutputCP(g_consoleOutputCodePage);
    if (g_consoleInputCodePage) SetConsoleCP(g_consoleInputCodePage);
}

void PrepareToolStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console reads our bytes in its own code page (OEM by default), and
    // decodes each write on its own: buffer, so no character is split.
    if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE)) {
        g_consoleOutputCodePage = GetConsoleOutputCP();
        SetConsoleOutputCP(CP_UTF8);
        setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
        setvbuf(stderr, nullptr, _IOFBF, 1 << 12);
    }
    if (IsConsole(STD_INPUT_HANDLE)) {
        g_consoleInputCodePage = GetConsoleCP();
        SetConsoleCP(CP_UTF8);
    }
    if (g_consoleOutputCodePage || g_consoleInputCodePage) std::atexit(RestoreConsoleCodePages);
}
