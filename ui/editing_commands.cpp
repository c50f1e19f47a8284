#include "ui/editing_commands.h"

#include <cstring>
#include <string>

#include "lookup/entry_edits.h"
#include "platform/cp1251.h"
#include "platform/window.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "storage/letter_file.h"
#include "ui/browse_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"

// Read limits of the edits, terminating NUL included.
static const int kWordLimit = kWordTextSize - 1;
static const int kDescriptionLimit = kDescriptionTextSize - 1;
static const int kTypedWordSize = 256;
// A deletion this close to the end of the letter shows the word before it.
static const int32_t kNearTheEnd = 10;

// The word of an entry, without the blanks around it: the look-up finds a
// word by its text between them, so an entry stored with them could be
// neither found nor deleted.
static std::string TrimmedWord(const char* text) {
    std::string word(text);
    word.erase(0, word.find_first_not_of(' '));
    word.erase(word.find_last_not_of(' ') + 1);
    return word;
}

static void ShowError(const std::string& text) { ShowMessageBox(text.c_str(), "Error", kMsgIconError); }

// Tells the user why a change of the letter file did not happen.
static void ReportUnchanged(const LetterChangeResult& result, unsigned char letter, const std::string& word) {
    const std::string file = LetterPath(CurrentDictionary.Folder, letter);
    switch (result.outcome) {
    case LetterChangeOutcome::CannotRead:
        ShowError("Could not read the dictionary file '" + file + "'. Nothing was changed.");
        break;
    case LetterChangeOutcome::CannotWrite:
        ShowError("Could not save the dictionary file '" + file + "'. The change is not saved.");
        break;
    case LetterChangeOutcome::NoMemory: ShowError("Not enough memory!"); break;
    case LetterChangeOutcome::Busy:
        ShowError("Another program is changing this dictionary. Nothing was changed; please try again.");
        break;
    case LetterChangeOutcome::AlreadyThere:
        ShowError("Another program has just added '" + word + "' to this dictionary. Nothing was changed.");
        break;
    case LetterChangeOutcome::NotThere:
        ShowError("Another program has just removed '" + word + "' from this dictionary. Nothing was changed.");
        break;
    case LetterChangeOutcome::Done: break;
    }
}

// Puts the user's text back after a change that did not happen, so nothing
// typed is lost and Add stays available for another try.
static void RestoreEdits(const char* word, const char* description) {
    SetWordEditText(word);
    SetDescriptionEditText(description);
    std::strcpy(EditState.DescriptionText, description);
    SetModified(1);
    UpdateToolbarState();
}

static unsigned char LetterOf(const std::string& word) {
    return FoldChar(static_cast<unsigned char>(word[0]), OpenCaseRule());
}

int AddEntry(Confirmation confirm) {
    char typed[kWordTextSize];
    char description[kDescriptionTextSize];
    GetWordEditText(typed, kWordLimit);
    GetDescriptionEditText(description, kDescriptionLimit);
    const std::string word = TrimmedWord(typed);

    if (word.empty()) {
        ShowMessageBox("No word!", "Error", kMsgIconError);
        return 0;
    }
    // Checked before the question below: a replacement without a
    // description would be asked for and then refused.
    if (description[0] == '\0') {
        ShowMessageBox("No description!", "Error", kMsgIconError);
        return 0;
    }
    if (!IsDictionaryOpen()) return 0;
    // What the code page cannot hold is never stored in its place.
    if (char32_t unheld = WordEditUnheldCharacter()) {
        ShowMessageBox(("The word cannot be added: " + UnheldCharacterReason(unheld) + ".").c_str(), "Error",
                       kMsgIconError, std::u32string(1, unheld));
        return 0;
    }
    if (char32_t unheld = DescriptionEditUnheldCharacter()) {
        ShowMessageBox(("The description cannot be added: " + UnheldCharacterReason(unheld) + ".").c_str(), "Error",
                       kMsgIconError, std::u32string(1, unheld));
        return 0;
    }

    // The look-up tests the word as it will be stored, whole.
    SetWordEditText(word.c_str());
    bool exists = LookupWord(MissedDescription::Keep, PluralRetry::Off) == kResultOk;
    if (exists && confirm == Confirmation::Ask &&
        ShowMessageBox("This word is already in dictionary! Replace it?", "Confirmation",
                       kMsgYesNo | kMsgIconQuestion) != kAnswerYes)
        return 1;

    unsigned char letter = LetterOf(word);
    LetterChangeResult result =
        ChangeEntry(letter, {exists ? EntryEditKind::Replace : EntryEditKind::Add, word, description});
    if (result.outcome != LetterChangeOutcome::Done) {
        ReportUnchanged(result, letter, word);
        RestoreEdits(word.c_str(), description);
        return 0;
    }
    SetWordEditText(word.c_str());
    LookupWord(MissedDescription::Clear, PluralRetry::Off);
    return 1;
}

void AddWordCommand() {
    int lines = GetDescriptionEditLineCount();
    if (!AddEntry(Confirmation::Ask)) return;

    // The reverse entry is a second file's change, made after the forward
    // entry is stored: an interruption between the two leaves a forward
    // entry without its reverse, which still looks up as stored.
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
            SetWordEditText(description);
            SetDescriptionEditText(word);
            AddEntry(Confirmation::DontAsk);
            SetWordEditText(word);
            SetDescriptionEditText(description);
            SetModified(0);
        }
    }
    FocusWordEdit();
}

void DeleteEntry(Confirmation confirm) {
    if (confirm == Confirmation::Ask &&
        ShowMessageBox("Are you sure you want to delete this word?", "Confirmation", kMsgYesNo | kMsgIconQuestion) !=
            kAnswerYes)
        return;
    char typed[kTypedWordSize];
    GetWordEditText(typed, sizeof typed);
    const std::string word = TrimmedWord(typed);
    // A word the code page cannot hold is in no entry.
    if (word.empty() || WordEditUnheldCharacter()) return;
    unsigned char letter = LetterOf(word);
    // The change reads the file afresh; the letter is loaded first so that
    // a change made elsewhere since is told apart from a word never there.
    if (LoadLetter(letter) == kResultNoDictionary) return;

    LetterChangeResult result = ChangeEntry(letter, {EntryEditKind::Delete, word, ""});
    // A word that is not there changes nothing, unless someone else just removed it.
    if (result.outcome == LetterChangeOutcome::NotThere && !result.changedElsewhere) return;
    if (result.outcome != LetterChangeOutcome::Done) {
        ReportUnchanged(result, letter, word);
        return;
    }
    // Show a neighbour; both read the word edit, which must hold the
    // deleted word as it was found.
    if (word != typed) SetWordEditText(word.c_str());
    if (result.offset < LetterBuffer.Length - kNearTheEnd)
        NextWord();
    else
        PreviousWord();
}
