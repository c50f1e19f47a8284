#include "ui/lookup_command.h"

#include <string>

#include "lookup/history.h"
#include "lookup/typed_word.h"
#include "platform/cp1251.h"
#include "platform/window.h"
#include "storage/letter_file.h"
#include "ui/edit_state.h"
#include "ui/program_state.h"

LookupOptions WindowLookupOptions(PluralRetry plural) {
    return {plural, Settings.findBaseForms ? BaseForms::On : BaseForms::Off};
}

// Narrows the word edit to its selection (a double-clicked word inside a
// longer text is what the user means).
static void NarrowToSelection() {
    int start = 0, end = 0;
    GetWordEditSelection(&start, &end);
    if (start == end) return;
    char text[kWordTextSize];
    GetWordEditText(text, sizeof text);
    SetWordEditText(NarrowedToSelection(text, start, end).c_str());
}

static void WriteWholeWord(const std::string& word) {
    SetWordEditText(word.c_str());
    SetWordEditSelection(0, kEndOfText);
}

// The word edit's text as the look-up takes it: narrowed to its selection
// unless completion wrote it.
static std::string TypedWord() {
    if (!EditState.AutoCompleted) NarrowToSelection();
    return EditState.WordText;
}

// Looks the typed text up in the window's dictionary and shows the answer.
static LookupResult ShowLookUp(const std::string& typed, MissedDescription onMiss, PluralRetry plural) {
    const TypedLookup found = LookUpTyped(CurrentDictionary, typed, WindowLookupOptions(plural));
    if (found.blank) return LookupResult::Ok;
    // The edit shows the word as the look-up found it; that is the look-up's
    // own change, not the user's.
    WriteWholeWord(found.word);
    SetModified(0);
    const WordMatch& match = found.match;
    if (match.unreadable) EditState.UnreadLetter = match.letter;
    if (match.result != LookupResult::Ok) {
        if (onMiss == MissedDescription::Clear) SetDescriptionEditText("");
        return match.result;
    }
    ShowDescription(match);
    EditState.AutoCompleted = 0;
    if (AddToHistory(WordHistory, found.word.c_str()) && WordHistory.Count == 1) UpdateToolbarState();
    return LookupResult::Ok;
}

LookupResult LookupWord(MissedDescription onMiss, PluralRetry plural) {
    EditState.UnreadLetter = 0;
    // Typed or pasted text that code page 1251 cannot hold is in no entry:
    // it misses as any word not there does, with its letter held for the
    // similar words and browsing, and the edit keeps it as the user wrote it.
    if (WordEditUnheldCharacter()) {
        const unsigned char first = static_cast<unsigned char>(EditState.WordText[0]);
        if (first != kUnheldByte) LoadLetter(CurrentDictionary, FoldChar(first, CurrentDictionary.Rule()));
        if (onMiss == MissedDescription::Clear) SetDescriptionEditText("");
        return LookupResult::NotFound;
    }
    return ShowLookUp(TypedWord(), onMiss, plural);
}

void ShowWord(const char* word) {
    std::string copy(word);  // the edit's change handler may move the source
    SetWordEditText(copy.c_str());
    LookupWord(MissedDescription::Clear, PluralRetry::Off);
}

void ShowDescription(const WordMatch& match) { SetDescriptionEditText(DescriptionOf(match).c_str()); }
