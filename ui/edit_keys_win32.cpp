#include "ui/edit_keys_win32.h"

#include "platform/cp1251.h"
#include "platform/window_state_win32.h"
#include "res/resource.h"
#include "storage/dictionary_format.h"
#include "ui/browse_commands.h"
#include "ui/edit_state.h"
#include "ui/program_state.h"

// One per subclassed edit, kept for the life of the process.
struct EditSubclassRecord {
    WNDPROC previous;
    char reserved[16];
};

static bool ControlHeld() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

// Returns true when the key was handled and must not reach the edit.
static bool WordEditKeyDown(WPARAM key) {
    switch (key) {
    case VK_RETURN: return true;
    case VK_UP: PreviousWord(); return true;
    case VK_DOWN:
        if (ControlHeld()) NextWordsMenu();
        else NextWord();
        return true;
    case VK_PRIOR:
        if (WordHistory.Count) HistoryBack();
        return false;
    case VK_NEXT:
        if (WordHistory.Count) {
            if (ControlHeld()) HistoryMenu();
            else HistoryForward();
        }
        return false;
    case VK_DELETE: OnWordEditDeleteKey(); return false;
    default: return false;
    }
}

static bool WordEditKeyUp(WPARAM key) {
    switch (key) {
    case VK_RETURN:
        // Posted, so the look-up runs after the key handling; a held Enter
        // still finds once.
        PostMessageW(WindowState.mainWindow, WM_COMMAND, IDM_FIND, 0);
        return true;
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: return true;
    case VK_DELETE: OnWordEditDeleteKey(); return false;
    default: return false;
    }
}

// The character typed, as the code page's byte; kUnheldByte when it has none.
static unsigned char TypedByte(WPARAM unit) {
    int byte = ByteOfUnicode(static_cast<char32_t>(unit & 0xFFFF));
    return byte < 0 ? kUnheldByte : static_cast<unsigned char>(byte);
}

// The edits are wide windows: their messages, and the procedure they had,
// are the wide ones.
static LRESULT CALLBACK EditKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = reinterpret_cast<EditSubclassRecord*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    bool isWordEdit = window == GetDlgItem(WindowState.mainWindow, IDC_WORD);
    switch (message) {
    case WM_INPUTLANGCHANGEREQUEST:
        if (!WindowState.keyboardLayoutPending) return DefWindowProcW(window, message, wParam, lParam);
        break;
    case WM_KEYDOWN:
        if (isWordEdit && WordEditKeyDown(wParam)) return 0;
        break;
    case WM_KEYUP:
        if (isWordEdit && WordEditKeyUp(wParam)) return 0;
        break;
    case WM_CHAR:
        if (isWordEdit && wParam == '\r') return 0;
        EditState.LastKey = TypedByte(wParam);
        break;
    default: break;
    }
    return CallWindowProcW(record->previous, window, message, wParam, lParam);
}

static void SubclassEdit(HWND edit) {
    auto* record = static_cast<EditSubclassRecord*>(LocalAlloc(LPTR, sizeof(EditSubclassRecord)));
    if (!record) return;  // the edit keeps its plain behaviour
    record->previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
    SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditKeyProc));
}

void SubclassEdits() {
    SubclassEdit(GetDlgItem(WindowState.mainWindow, IDC_WORD));
    SubclassEdit(GetDlgItem(WindowState.mainWindow, IDC_DESCRIPTION));
    // No longer word can be stored: the edit takes no more than that.
    SendDlgItemMessageA(WindowState.mainWindow, IDC_WORD, EM_LIMITTEXT, kLongestWord, 0);
}
