// The platform without a window: edits, title, toolbar, message boxes,
// menus, list dialogs and fonts held in memory, for the command-line tool
// and the unit tests.
#include "platform/headless.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/cp1251.h"
#include "res/resource.h"

static HeadlessState g_state;

HeadlessState& Headless() { return g_state; }
void ResetHeadless() { g_state = HeadlessState(); }

void HeadlessCreateMainWindow(HeadlessWindowProcedure procedure) { g_state.procedure = procedure; }

bool HeadlessToolbarEnabled(int command) {
    for (const auto& button : g_state.toolbar)
        if (button.first == command) return button.second;
    return true;
}

static void Deliver(HeadlessEvent event, int controlId) {
    if (g_state.procedure) g_state.procedure(event, controlId);
}

static int CopyOut(const std::string& text, char* buffer, int limit) {
    if (limit <= 0) return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(limit - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

// The edit takes the text and raises its change notification. `unheld`:
// the first character typed there that the code page cannot hold (text in
// the code page holds none).
static void ChangeWordEdit(const std::string& text, int caret, char32_t unheld = 0) {
    g_state.wordEdit = text;
    g_state.wordEditUnheld = unheld;
    g_state.selectionStart = g_state.selectionEnd = caret;
    ++g_state.wordEditChanges;
    Deliver(HeadlessEvent::EditChanged, IDC_WORD);
}

void ReplaceWordEditText(const char* text) { ChangeWordEdit(text, 0); }

void HeadlessTypeWord(const char* text) { ChangeWordEdit(text, static_cast<int>(std::strlen(text))); }

void HeadlessTypeWordUtf16(const std::u16string& text) {
    std::string bytes;
    char32_t unheld = Utf16ToCp1251(text.data(), text.size(), bytes);
    ChangeWordEdit(bytes, static_cast<int>(bytes.size()), unheld);
}

char32_t WordEditUnheldCharacter() { return g_state.wordEditUnheld; }

char32_t DescriptionEditUnheldCharacter() { return g_state.descriptionEditUnheld; }

void HeadlessPressDeleteInWordEdit() {
    Deliver(HeadlessEvent::DeleteKeyPressed, IDC_WORD);
    std::string text = g_state.wordEdit;
    int start = g_state.selectionStart, end = g_state.selectionEnd;
    if (start == end) {
        if (end >= static_cast<int>(text.size())) return;  // nothing after the caret: no change
        ++end;
    }
    text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
    bool stillUnheld = text.find(static_cast<char>(kUnheldByte)) != std::string::npos;
    ChangeWordEdit(text, start, stillUnheld ? g_state.wordEditUnheld : 0);
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

void SetDescriptionEditText(const char* text) {
    g_state.descriptionEdit = text;
    g_state.descriptionEditUnheld = 0;
}

int GetDescriptionEditText(char* buffer, int limit) { return CopyOut(g_state.descriptionEdit, buffer, limit); }

int GetDescriptionEditLineCount() { return g_state.descriptionLineCount; }

static void ChangeDescriptionEdit(const std::string& text, char32_t unheld) {
    g_state.descriptionEdit = text;
    g_state.descriptionEditUnheld = unheld;
    Deliver(HeadlessEvent::EditChanged, IDC_DESCRIPTION);
}

void HeadlessTypeDescription(const char* text) { ChangeDescriptionEdit(text, 0); }

void HeadlessTypeDescriptionUtf16(const std::u16string& text) {
    std::string bytes;
    char32_t unheld = Utf16ToCp1251(text.data(), text.size(), bytes);
    ChangeDescriptionEdit(bytes, unheld);
}

int ShowMessageBox(const char* text, const char* caption, unsigned style, const std::u32string& named) {
    g_state.messages.push_back({text, caption, style, named});
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

int MainWindowDpi() { return 96; }

void SetToolbarButtonEnabled(int command, bool enabled) {
    for (auto& button : g_state.toolbar)
        if (button.first == command) {
            button.second = enabled;
            return;
        }
    g_state.toolbar.push_back({command, enabled});
}

void SetFindButtonEnabled(bool enabled) { g_state.findButtonEnabled = enabled; }

int TrackToolbarMenu(int buttonCommand, const std::vector<MenuItemSpec>& items) {
    g_state.menus.push_back({buttonCommand, items});
    if (g_state.whileMenuIsUp) {
        std::function<void()> meanwhile;
        meanwhile.swap(g_state.whileMenuIsUp);
        meanwhile();
    }
    if (g_state.menuAnswers.empty()) return 0;
    int chosen = g_state.menuAnswers.front();
    g_state.menuAnswers.pop_front();
    return chosen;
}

// The list dialogs order the lines they sort as the sorted list control
// does and play the scripted pick: a selection (previewed), then
// Translate. The list control's order is its own (ASCII letters without
// regard to case), not one of the dictionaries' comparisons.
static std::vector<std::string> InListOrder(const std::vector<std::string>& lines) {
    std::vector<std::string> sorted = lines;
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : static_cast<unsigned char>(c); };
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [&](char x, char y) { return lower(x) < lower(y); });
    });
    return sorted;
}

// Records the lines shown and takes the scripted choice: a position, or -1.
static std::vector<std::string>& ShowListDialog(const std::vector<std::string>& shown, int* choice) {
    g_state.listDialogs.push_back(shown);
    *choice = -1;
    if (!g_state.listChoices.empty()) {
        *choice = g_state.listChoices.front();
        g_state.listChoices.pop_front();
    }
    if (*choice >= static_cast<int>(shown.size())) *choice = -1;
    return g_state.listDialogs.back();
}

int RunSimilarWordsDialog(const SimilarWordsLines& lines, void (*onSelect)(const char*), std::string* chosen,
                          WindowRect*) {
    const ShownListLines shown = LayOutSimilarWords(lines.suggestions, InListOrder(lines.similar));
    int choice;
    ShowListDialog(shown.text, &choice);
    if (shown.text.empty()) return 0;
    const int first = SelectableLine(shown, 0, 0);
    if (!lines.suggestions.empty()) onSelect(shown.text[static_cast<size_t>(first)].c_str());
    if (choice < 0) return 0;
    choice = SelectableLine(shown, first, choice);
    onSelect(shown.text[static_cast<size_t>(choice)].c_str());
    *chosen = shown.text[static_cast<size_t>(choice)];
    return 1;
}

void RunAllDictionariesDialog(const std::vector<std::string>& lines, void (*onSelect)(const char*), WindowRect*) {
    int choice;
    std::vector<std::string> shown = ShowListDialog(InListOrder(lines), &choice);
    // The dialog applies its first line as it opens.
    if (!shown.empty()) onSelect(shown[0].c_str());
    if (choice > 0) onSelect(shown[choice].c_str());
}

void ApplyDictionaryFonts(const FontRecord& wordFont, const FontRecord& descriptionFont) {
    g_state.wordFont = wordFont;
    g_state.descriptionFont = descriptionFont;
    ++g_state.fontChanges;
}
