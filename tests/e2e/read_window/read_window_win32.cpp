// Reads the running Dictionary window back, as a user would read it, so
// that scripts/run.sh can prove what its screenshot shows: the word edit
// and the description edit of the first visible main window, in UTF-8, the
// word on the first line and the description after it (LF line breaks).
//
//   read_window [WAIT_MS]
//
// Waits up to WAIT_MS (default 10000) for a window whose description is
// not empty. Exit status: 0 read, 1 no such window in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr LONG_PTR kInstanceMark = 0x6660333;
constexpr int kWordEdit = 1000;
constexpr int kDescriptionEdit = 1001;

BOOL CALLBACK FindMarked(HWND window, LPARAM lParam) {
    if (GetWindowLongPtrW(window, GWLP_USERDATA) == kInstanceMark && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(lParam) = window;
        return FALSE;
    }
    return TRUE;
}

// An edit's text through WM_GETTEXT, which works across processes; wide, so
// that the reader's own code page plays no part.
std::wstring EditText(HWND edit) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    text.resize(copied);
    return text;
}

// UTF-8 with LF line breaks, as the command-line tool prints.
std::string Utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    std::string lines;
    for (char c : out)
        if (c != '\r') lines += c;
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD wait = argc > 1 ? static_cast<DWORD>(std::atol(argv[1])) : 10000;
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    std::wstring word, description;
    do {
        window = nullptr;
        EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&window));
        if (window) {
            word = EditText(GetDlgItem(window, kWordEdit));
            description = EditText(GetDlgItem(window, kDescriptionEdit));
            if (!description.empty()) break;
        }
        Sleep(50);
    } while (GetTickCount() - start < wait);
    if (!window) {
        std::fprintf(stderr, "read_window: no Dictionary window within %lu ms\n", wait);
        return 1;
    }
    std::fputs((Utf8(word) + "\n" + Utf8(description) + "\n").c_str(), stdout);
    return 0;
}
