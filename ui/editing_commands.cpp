#include "ui/editing_commands.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "lookup/entry_edits.h"
#include "platform/files.h"
#include "platform/cp1251.h"
#include "platform/window.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "storage/letter_file.h"
#include "ui/browse_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"

// The edits are read one byte beyond what may be stored, so that longer
// text is refused rather than cut (an edit may hold more than it lets the
// user type).
static const int kWordReadSize = static_cast<int>(kLongestWord) + 2;
static const int kDescriptionReadSize = static_cast<int>(kLongestDescription) + 2;
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

// The letter file as the user's system writes paths, with the reason the
// system gave when there is one.
static std::string FileAndReason(unsigned char letter, WriteFailure why) {
    std::string text = "'" + PlatformShownPath(LetterPath(CurrentDictionary.Folder, letter)) + "'";
    const char* reason = WriteFailureText(why);
    if (*reason) text += std::string(": ") + reason;
    return text;
}

// Tells the user why a change of the letter files did not happen.
static void ReportUnchanged(const LetterChangeResult& result, const std::string& word) {
    switch (result.outcome) {
    case LetterChangeOutcome::CannotRead:
        ShowError("Could not read the dictionary file " + FileAndReason(result.letter, WriteFailure::None) +
                  ". Nothing was changed.");
        break;
    case LetterChangeOutcome::CannotWrite:
        ShowError("Could not save the dictionary file " + FileAndReason(result.letter, result.why) +
                  ". Nothing was changed.");
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
    std::snprintf(EditState.DescriptionText, sizeof EditState.DescriptionText, "%s", description);
    SetModified(1);
    UpdateToolbarState();
}

static unsigned char LetterOf(const std::string& word) {
    return FoldChar(static_cast<unsigned char>(word[0]), OpenCaseRule());
}

// Shows a word as stored, looked up, as the end of an addition shows it.
static void ShowStored(const std::string& word) {
    SetWordEditText(word.c_str());
    LookupWord(MissedDescription::Clear, PluralRetry::Off);
}

// A message when the word or the description is more than an entry holds.
static bool RefusedAsTooLong(const std::string& word, const char* description) {
    if (word.size() > kLongestWord) {
        ShowError("The word is longer than " + std::to_string(kLongestWord) +
                  " characters, the most a word may have. Nothing was changed.");
        return true;
    }
    if (std::strlen(description) > kLongestDescription) {
        ShowError("The description is longer than " + std::to_string(kLongestDescription) +
                  " characters, the most a description may have. Nothing was changed.");
        return true;
    }
    return false;
}

// The reverse entry of the entry of `word` that the edits show, after the
// user chose to keep it: a change of that entry's letter alone.
static void StoreReverseOfShown(const std::string& word) {
    char shown[kDescriptionReadSize];
    GetDescriptionEditText(shown, sizeof shown);
    const std::string reverse = ReverseWordOf(shown);
    if (reverse.empty()) return;
    LetterChangeResult result = PutEntry(reverse, word);
    if (result.outcome != LetterChangeOutcome::Done) ReportUnchanged(result, reverse);
    else ShowStored(reverse);
    SetWordEditText(word.c_str());
    SetDescriptionEditText(shown);
    SetModified(0);
}

// AddEntry, and with `withReverse` the reverse entry of a dual dictionary
// in the same change: both entries are stored or neither.
static int StoreEntry(Confirmation confirm, bool withReverse) {
    char typed[kWordReadSize];
    char description[kDescriptionReadSize];
    GetWordEditText(typed, sizeof typed);
    GetDescriptionEditText(description, sizeof description);
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
    if (RefusedAsTooLong(word, description)) return 0;
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
                       kMsgYesNo | kMsgIconQuestion) != kAnswerYes) {
        // The entry stays; a dual dictionary still gets its reverse entry.
        if (withReverse) StoreReverseOfShown(word);
        return 1;
    }

    unsigned char letter = LetterOf(word);
    ReverseEntry reverse;
    LetterChangeResult result = ChangeEntryAndReverse(
        letter, {exists ? EntryEditKind::Replace : EntryEditKind::Add, word, description}, withReverse, reverse);
    if (result.outcome != LetterChangeOutcome::Done) {
        ReportUnchanged(result, word);
        RestoreEdits(word.c_str(), description);
        return 0;
    }
    ShowStored(word);
    if (!reverse.word.empty()) {
        // The reverse entry is shown too (and enters the history); the
        // edits are then left showing the entry as it was stored.
        ShowStored(reverse.word);
        SetWordEditText(word.c_str());
        SetDescriptionEditText(reverse.entryShown.c_str());
        SetModified(0);
    }
    return 1;
}

int AddEntry(Confirmation confirm) { return StoreEntry(confirm, false); }

void AddWordCommand() {
    // Counted before anything changes the edit: the lines as displayed.
    int lines = GetDescriptionEditLineCount();
    if (!StoreEntry(Confirmation::Ask, CurrentDictionary.Dual && lines == 1)) return;
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
        ReportUnchanged(result, word);
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
