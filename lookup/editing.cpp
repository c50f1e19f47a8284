#include "lookup/editing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lookup/browse.h"
#include "lookup/lookup.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "storage/text_compare.h"
#include "ui/edit_state.h"

// Read limits of the edits, terminating NUL included.
static const int kWordLimit = kWordTextSize - 1;
static const int kDescriptionLimit = kDescriptionTextSize - 1;

static bool IsBlank(const char* text) {
    while (*text == ' ') ++text;
    return *text == '\0';
}

// Drops whatever the buffer holds and reads the letter again, so memory
// shows what is on disk after a write that did not happen.
static int ReloadLetter(unsigned char letter) {
    LoadLetter(0);
    return LoadLetter(letter);
}

static void ReportFile(const char* what, unsigned char letter) {
    std::string text = std::string("Could not ") + what + " the dictionary file '" +
                       LetterPath(CurrentDictionary.Folder, letter) + "'. The change is not saved.";
    ShowMessageBox(text.c_str(), "Error", kMsgIconError);
}

// Writes the loaded letter; on failure tells the user and reloads the file,
// which SaveLetter left as it was. False when nothing was written.
static bool SaveOrReport() {
    if (SaveLetter() == kResultOk) return true;
    unsigned char letter = LetterBuffer.Letter;
    ReportFile("save", letter);
    ReloadLetter(letter);
    return false;
}

// Sets the word edit without letting auto-completion rewrite it.
static void SetWordEditExactly(const char* text) {
    int32_t autocomplete = Settings.autocomplete;
    Settings.autocomplete = 0;
    SetWordEditText(text);
    Settings.autocomplete = autocomplete;
}

// Offset at which a new entry with `word` keeps the letter sorted: in front
// of the first entry whose word sorts after it, else at the appended NUL.
static int32_t InsertionPoint(const char* word) {
    int32_t end = LetterBuffer.Length - 1;
    for (int32_t p = 0; p < end;) {
        if (CompareNoCase(reinterpret_cast<const char*>(LetterBuffer.Data + p), word) > 0) return p;
        p = StringEnd(StringEnd(p) + 1) + 1;
    }
    return end;
}

// The removal behind DeleteEntry. False only when the letter file could not
// be written (the entry is then still there, on disk and in memory).
static bool RemoveEntry(int ask) {
    if (ask && ShowMessageBox("Are you sure you want to delete this word?", "Confirmation",
                              kMsgYesNo | kMsgIconQuestion) != kAnswerYes)
        return true;
    char word[kWordTextSize];
    GetWordEditText(word, kWordLimit);
    if (word[0] == '\0') return true;
    if (LoadLetter(FoldChar(static_cast<unsigned char>(word[0]))) == kResultNoDictionary) return true;
    if (!LetterBuffer.Data || LetterBuffer.Data[0] == 0) return true;

    std::string key = FoldedCopy(word);
    int32_t length = LetterBuffer.Length;
    int32_t found = -1, next = 0;
    for (int32_t p = 0; p < length;) {
        int32_t description = StringEnd(p) + 1;
        if (description >= length) return true;
        // A last description without its own NUL ends at the appended one.
        next = std::min(StringEnd(description) + 1, length - 1);
        if (FoldedWordEquals(p, key)) {
            found = p;
            break;
        }
        p = next;
    }
    if (found < 0) return true;

    std::memmove(LetterBuffer.Data + found, LetterBuffer.Data + next,
                 static_cast<size_t>(length - next));
    LetterBuffer.Length -= next - found;
    if (!SaveOrReport()) return false;

    // Show a neighbour; both read the word edit, which still holds the
    // deleted word.
    if (found < LetterBuffer.Length - 10)
        NextWord();
    else
        PreviousWord();
    return true;
}

void DeleteEntry(int ask) { RemoveEntry(ask); }

// Puts the user's text back after a failed write, so nothing typed is lost
// and Add stays available for another try.
static void RestoreEdits(const char* word, const char* description) {
    SetWordEditExactly(word);
    SetDescriptionEditText(description);
    std::strcpy(DescriptionText, description);
    SetModified(1);
    UpdateToolbarState();
}

int AddEntry(int ask) {
    char word[kWordTextSize];
    char description[kDescriptionTextSize];
    GetWordEditText(word, kWordLimit);
    GetDescriptionEditText(description, kDescriptionLimit);

    // The look-up tests the word as read, not a selected part of it.
    SetWordEditSelection(0, 0);
    if (!IsBlank(word) && LookupWord(0, 0) == kResultOk) {
        if (ask && ShowMessageBox("This word is already in dictionary! Replace it?", "Confirmation",
                                  kMsgYesNo | kMsgIconQuestion) != kAnswerYes)
            return 1;
        if (!RemoveEntry(0)) {
            RestoreEdits(word, description);
            return 0;
        }
    }
    if (word[0] == '\0') {
        ShowMessageBox("No word!", "Error", kMsgIconError);
        return 0;
    }
    if (description[0] == '\0') {
        ShowMessageBox("No description!", "Error", kMsgIconError);
        return 0;
    }

    unsigned char letter = FoldChar(static_cast<unsigned char>(word[0]));
    if (LoadLetter(letter) == kResultNoDictionary) return 0;
    // A letter that reads as empty while its file exists was not readable
    // (held open elsewhere, or once missing and made since): read it again
    // rather than replace its entries with this one.
    if (!LetterBuffer.Data && PlatformNameExists(LetterPath(CurrentDictionary.Folder, letter).c_str()) &&
        ReloadLetter(letter) != kResultOk) {
        ReportFile("read", letter);
        return 0;
    }

    size_t wordLength = std::strlen(word);
    size_t descriptionLength = std::strlen(description);
    int32_t size = static_cast<int32_t>(wordLength + descriptionLength + 2);
    int32_t length = LetterBuffer.Data ? LetterBuffer.Length : 1;
    // A damaged file whose last description lacks its NUL gets one, so the
    // new entry does not run into it.
    int32_t missingNul = LetterBuffer.Data && length > 1 && LetterBuffer.Data[length - 2] != 0 ? 1 : 0;
    void* grown = nullptr;
    if (length <= INT32_MAX - size - missingNul)
        grown = std::realloc(LetterBuffer.Data, static_cast<size_t>(length + missingNul + size));
    if (!grown) {
        ShowMessageBox("Not enough memory!", "Error", kMsgIconError);
        return 0;
    }
    unsigned char* data = static_cast<unsigned char*>(grown);
    if (!LetterBuffer.Data) data[0] = 0;
    if (missingNul) data[length++] = 0;
    LetterBuffer.Data = data;
    LetterBuffer.Length = length;

    int32_t at = InsertionPoint(word);
    std::memmove(data + at + size, data + at, static_cast<size_t>(length - at));
    std::memcpy(data + at, word, wordLength + 1);
    std::memcpy(data + at + wordLength + 1, description, descriptionLength + 1);
    LetterBuffer.Length = length + size;
    if (!SaveOrReport()) {
        RestoreEdits(word, description);
        return 0;
    }

    SetWordEditText(word);
    LookupWord(1, 0);
    return 1;
}

void AddWordCommand() {
    int lines = GetDescriptionEditLineCount();
    if (!AddEntry(1)) return;

    if (CurrentDictionary.Dual && lines == 1) {
        // What the last look-up left in the edits: the stored entry, its
        // description formatted.
        char word[kDescriptionTextSize];
        char description[kDescriptionTextSize];
        GetWordEditText(word, kDescriptionLimit);
        GetDescriptionEditText(description, kDescriptionLimit);
        // The reverse entry's word is the whole description: it must be a
        // single line and fit the word edit's read.
        bool oneLine = std::strpbrk(description, "\r\n") == nullptr;
        if (oneLine && description[0] != '\0' && std::strlen(description) < static_cast<size_t>(kWordLimit)) {
            int32_t autocomplete = Settings.autocomplete;
            Settings.autocomplete = 0;
            SetWordEditText(description);
            SetDescriptionEditText(word);
            AddEntry(0);
            SetWordEditText(word);
            SetDescriptionEditText(description);
            Settings.autocomplete = autocomplete;
            SetModified(0);
        }
    }
    FocusWordEdit();
}
