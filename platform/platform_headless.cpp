// The platform without a window: edits, title, toolbar, message boxes and
// menus held in memory, for the command-line tool and the unit tests.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/headless.h"
#include "ui/edit_state.h"

static HeadlessState g_state;

HeadlessState& Headless() { return g_state; }
void ResetHeadless() { g_state = HeadlessState(); }

bool HeadlessToolbarEnabled(int command) {
    for (const auto& button : g_state.toolbar)
        if (button.first == command) return button.second;
    return true;
}

static int CopyOut(const std::string& text, char* buffer, int limit) {
    if (limit <= 0) return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(limit - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

void SetWordEditText(const char* text) {
    g_state.wordEdit = text;
    g_state.selectionStart = g_state.selectionEnd = 0;
    ++g_state.wordEditChanges;
    OnEditChange(kWordEditId);
}

int GetWordEditText(char* buffer, int limit) { return CopyOut(g_state.wordEdit, buffer, limit); }

void GetWordEditSelection(int* start, int* end) {
    *start = g_state.selectionStart;
    *end = g_state.selectionEnd;
}

void SetWordEditSelection(int start, int end) {
    int length = static_cast<int>(g_state.wordEdit.size());
    auto clamp = [length](int v) { return v < 0 || v > length ? length : v; };
    g_state.selectionStart = std::min(clamp(start), clamp(end));
    g_state.selectionEnd = std::max(clamp(start), clamp(end));
}

void FocusWordEdit() { g_state.wordEditFocused = true; }

void SetDescriptionEditText(const char* text) { g_state.descriptionEdit = text; }

int GetDescriptionEditText(char* buffer, int limit) {
    return CopyOut(g_state.descriptionEdit, buffer, limit);
}

int GetDescriptionEditLineCount() { return g_state.descriptionLineCount; }

void HeadlessTypeDescription(const char* text) {
    g_state.descriptionEdit = text;
    OnEditChange(kDescriptionEditId);
}

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
    g_state.messages.push_back({text, caption, style});
    if (!g_state.messageAnswers.empty()) {
        int answer = g_state.messageAnswers.front();
        g_state.messageAnswers.pop_front();
        return answer;
    }
    return (style & kMsgYesNo) ? kAnswerNo : kAnswerOk;
}

void SetMainWindowTitle(const char* title) { g_state.title = title; }
bool IsMainWindowHidden() { return g_state.hidden; }

bool GetMainWindowNormalRect(int* left, int* top, int* right, int* bottom) {
    if (!g_state.windowNormal) return false;
    *left = g_state.windowLeft;
    *top = g_state.windowTop;
    *right = g_state.windowRight;
    *bottom = g_state.windowBottom;
    return true;
}

void SetToolbarButtonEnabled(int command, bool enabled) {
    for (auto& button : g_state.toolbar)
        if (button.first == command) {
            button.second = enabled;
            return;
        }
    g_state.toolbar.push_back({command, enabled});
}

void SetFindButtonEnabled(bool enabled) { g_state.findButtonEnabled = enabled; }

int TrackToolbarMenu(int buttonPosition, const std::vector<MenuItemSpec>& items) {
    g_state.menus.push_back({buttonPosition, items});
    if (g_state.menuAnswers.empty()) return 0;
    int chosen = g_state.menuAnswers.front();
    g_state.menuAnswers.pop_front();
    return chosen;
}
