// The two modal list dialogs on their templates: similar words and the
// search in all dictionaries.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/list_dialogs.h"
#include "platform/wide_text_win32.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"

namespace {

struct ListDialogRun {
    const std::vector<std::string>* lines;
    void (*onSelect)(const char*);
    WindowRect* rect;
    std::string chosen;
    // The Similar Words dialog's lines as the program ordered them, with
    // its headings; null for the list that sorts itself.
    const ShownListLines* shown = nullptr;
    int selected = -1;
};

// Where the dialog was last: its size is the template's at the dialog's own
// DPI, so a size stored at another DPI would cut off its controls.
void PlaceDialog(HWND dialog, const WindowRect& rect) {
    if (rect.left == -1) return;
    SetWindowPos(dialog, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StoreRect(HWND dialog, WindowRect* rect) {
    RECT r;
    if (!GetWindowRect(dialog, &r)) return;
    *rect = {r.left, r.top, r.right, r.bottom};
}

// The selected line whole, however long; false with nothing selected.
bool SelectedLine(HWND dialog, std::string* line) {
    LRESULT index = SendDlgItemMessageW(dialog, IDC_LIST, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return false;
    LRESULT length = SendDlgItemMessageW(dialog, IDC_LIST, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return false;
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    LRESULT got = SendDlgItemMessageW(dialog, IDC_LIST, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    if (got == LB_ERR) return false;
    *line = Cp1251Text(text.data(), static_cast<size_t>(got));
    return true;
}

void FillList(HWND dialog, ListDialogRun& run) {
    for (const std::string& line : *run.lines)
        SendDlgItemMessageW(dialog, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(line).c_str()));
    run.selected = run.shown ? SelectableLine(*run.shown, 0, 0) : 0;
    SendDlgItemMessageW(dialog, IDC_LIST, LB_SETCURSEL, static_cast<WPARAM>(run.selected), 0);
    SendDlgItemMessageW(dialog, IDC_LIST, WM_SETFONT, reinterpret_cast<WPARAM>(WindowState.wordFont), TRUE);
    SetForegroundWindow(dialog);
}

// A heading the mouse or a key selected gives way to the next word in the
// direction the selection moved.
void SkipHeadings(HWND dialog, ListDialogRun& run) {
    const int to = static_cast<int>(SendDlgItemMessageW(dialog, IDC_LIST, LB_GETCURSEL, 0, 0));
    const int line = SelectableLine(*run.shown, run.selected, to);
    if (line != to) SendDlgItemMessageW(dialog, IDC_LIST, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    run.selected = line;
}

// Common to both dialogs; `allDictionaries` picks the differences.
INT_PTR ListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool allDictionaries) {
    auto* run = reinterpret_cast<ListDialogRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        run = reinterpret_cast<ListDialogRun*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        PlaceDialog(dialog, *run->rect);
        if (allDictionaries) {
            WindowState.allDictionariesDialog = dialog;
        } else if (run->lines->empty()) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        FillList(dialog, *run);
        // The first suggestion is applied as the dialog opens.
        if (run->shown && run->shown->heading[0]) run->onSelect(run->shown->text[run->selected].c_str());
        // The first line in the list's own order is applied at once.
        if (allDictionaries)
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_LIST)));
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            if (!allDictionaries && !SelectedLine(dialog, &run->chosen)) return TRUE;
            StoreRect(dialog, run->rect);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            StoreRect(dialog, run->rect);
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_LIST:
            if (HIWORD(wParam) == LBN_DBLCLK) {
                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            } else if (HIWORD(wParam) == LBN_SELCHANGE) {
                if (run->shown) SkipHeadings(dialog, *run);
                std::string line;
                if (SelectedLine(dialog, &line)) run->onSelect(line.c_str());
            }
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK SimilarWordsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return ListDialogProc(dialog, message, wParam, lParam, false);
}

INT_PTR CALLBACK AllDictionariesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return ListDialogProc(dialog, message, wParam, lParam, true);
}

}  // namespace

int RunSimilarWordsDialog(const SimilarWordsLines& lines, void (*onSelect)(const char*), std::string* chosen,
                          WindowRect* place) {
    // The words beginning alike in the order the sorted list control gave
    // them; the list itself keeps the order it is given.
    std::vector<std::string> similar = lines.similar;
    std::stable_sort(similar.begin(), similar.end(), [](const std::string& a, const std::string& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, WideText(a).c_str(), -1, WideText(b).c_str(),
                              -1) == CSTR_LESS_THAN;
    });
    const ShownListLines shown = LayOutSimilarWords(lines.suggestions, similar);
    ListDialogRun run{&shown.text, onSelect, place, std::string()};
    run.shown = &shown;
    INT_PTR result = DialogBoxParamW(WindowState.instance, MAKEINTRESOURCEW(IDD_SIMILAR), WindowState.mainWindow,
                                     SimilarWordsDialogProc, reinterpret_cast<LPARAM>(&run));
    if (result != IDOK) return 0;
    *chosen = run.chosen;
    return 1;
}

void RunAllDictionariesDialog(const std::vector<std::string>& lines, void (*onSelect)(const char*),
                              WindowRect* place) {
    ListDialogRun run{&lines, onSelect, place, std::string()};
    DialogBoxParamW(WindowState.instance, MAKEINTRESOURCEW(IDD_ALLDICT), WindowState.mainWindow,
                    AllDictionariesDialogProc, reinterpret_cast<LPARAM>(&run));
    WindowState.allDictionariesDialog = nullptr;
}
