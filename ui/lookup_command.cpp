#include "ui/lookup_command.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "lookup/description.h"
#include "lookup/history.h"
#include "platform/cp1251.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "storage/letter_file.h"
#include "ui/edit_state.h"

// Narrows the word edit to its selection (a double-clicked word inside a
// longer text is what the user means).
static void NarrowToSelection() {
    int start = 0, end = 0;
    GetWordEditSelection(&start, &end);
    if (start == end) return;
    char text[kWordTextSize];
    int length = GetWordEditText(text, sizeof text);
    if (start > end) std::swap(start, end);
    if (end > length) end = length;
    if (start > end) start = end;
    text[end] = '\0';
    SetWordEditText(text + start);
}

static bool IsBlank(const char* text) {
    while (*text == ' ') ++text;
    return *text == '\0';
}

static void WriteWholeWord() {
    SetWordEditText(EditState.WordText);
    SetWordEditSelection(0, kEndOfText);
}

static unsigned char UnreadLetter = 0;

unsigned char LetterLookupCouldNotRead() { return UnreadLetter; }

int LookupWord(MissedDescription onMiss, PluralRetry plural) {
    UnreadLetter = 0;
    char* word = EditState.WordText;
    // Typed or pasted text that code page 1251 cannot hold is in no entry:
    // it misses as any word not there does, with its letter held for the
    // similar words and browsing, and the edit keeps it as the user wrote it.
    if (WordEditUnheldCharacter()) {
        unsigned char first = static_cast<unsigned char>(word[0]);
        if (first != kUnheldByte) LoadLetter(FoldChar(first, OpenCaseRule()));
        if (onMiss == MissedDescription::Clear) SetDescriptionEditText("");
        return kResultNotFound;
    }
    if (!EditState.AutoCompleted) NarrowToSelection();
    if (IsBlank(word)) return kResultOk;
    size_t length = std::strlen(word);
    while (length > 0 && word[length - 1] == ' ') word[--length] = '\0';
    WriteWholeWord();
    SetModified(0);

    BaseForms forms = Settings.findBaseForms ? BaseForms::On : BaseForms::Off;
    WordMatch match = FindWord(word, OpenCaseRule(), plural, forms);
    if (match.unreadable) UnreadLetter = match.letter;
    if (match.withoutFinalS || !match.baseForm.empty()) {
        // The edit shows the word that was found; that is the look-up's own
        // change, not the user's.
        if (match.withoutFinalS) word[std::strlen(word) - 1] = '\0';
        else std::snprintf(word, kWordTextSize, "%s", match.baseForm.c_str());
        WriteWholeWord();
        SetModified(0);
    }
    if (match.result != kResultOk) {
        if (onMiss == MissedDescription::Clear) SetDescriptionEditText("");
        return match.result;
    }
    ShowDescription(HeldLetter().DescriptionOf(match.entry));
    EditState.AutoCompleted = 0;
    if (AddToHistory(WordHistory, word) && WordHistory.Count == 1) UpdateToolbarState();
    return kResultOk;
}

void ShowWord(const char* word) {
    std::string copy(word);  // the edit's change handler may move the source
    SetWordEditText(copy.c_str());
    LookupWord(MissedDescription::Clear, PluralRetry::Off);
}

void ShowDescription(int32_t offset) { SetDescriptionEditText(FormatDescription(HeldLetter(), offset).c_str()); }
