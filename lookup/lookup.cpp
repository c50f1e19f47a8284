#include "lookup/lookup.h"

#include <cstring>
#include <string>

#include "lookup/history.h"
#include "platform/platform.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"

// EM_SETSEL 0, 256 in the original selects the whole word; any end past the
// text does the same.
static const int kSelectAll = 256;

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

static size_t FirstNonSpace(const char* text) {
    size_t i = 0;
    while (text[i] == ' ') ++i;
    return i;
}

// Offset of the first entry whose folded word equals the key, or -1.
static int32_t FindEntry(const std::string& key) {
    if (!LetterBuffer.Data) return -1;
    for (int32_t p = 0; ByteAt(p) != 0; p = EntryWalkStep(p))
        if (FoldedWordEquals(p, key)) return p;
    return -1;
}

int LookupWord(int clearOnFailure, int pluralRetry) {
    if (!AutoCompleted) NarrowToSelection();
    if (pluralRetry == -1) pluralRetry = PluralRetryDefault;

    size_t first = FirstNonSpace(WordText);
    if (WordText[first] == '\0') return kResultOk;
    size_t length = std::strlen(WordText);
    while (length > 0 && WordText[length - 1] == ' ') WordText[--length] = '\0';

    SetWordEditText(WordText);
    SetWordEditSelection(0, kSelectAll);
    SetModified(0);

    // The change handler may have completed the word, which drops its
    // leading blanks: look for the word's start again.
    first = FirstNonSpace(WordText);
    if (WordText[first] == '\0') {
        if (clearOnFailure) SetDescriptionEditText("");
        return kResultNotFound;
    }
    int result = LoadLetter(FoldChar(static_cast<unsigned char>(WordText[first])));
    if (result != kResultOk) {
        if (clearOnFailure) SetDescriptionEditText("");
        // A letter file that is there but cannot be read answers as one
        // that cannot be opened.
        return result == kResultLetterCannotRead ? kResultLetterCannotOpen : result;
    }

    std::string key = FoldedCopy(WordText + first);
    int32_t hit = FindEntry(key);
    if (hit < 0 && pluralRetry && !key.empty() && key.back() == 'S') {
        key.pop_back();
        hit = FindEntry(key);
        if (hit >= 0) {
            WordText[std::strlen(WordText) - 1] = '\0';
            SetWordEditText(WordText);
            SetWordEditSelection(0, kSelectAll);
        }
    }
    if (hit < 0) {
        if (clearOnFailure) SetDescriptionEditText("");
        return kResultNotFound;
    }
    ShowDescription(DescriptionOf(hit));
    AutoCompleted = 0;
    AddToHistory();
    return kResultOk;
}
