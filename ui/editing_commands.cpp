#include "ui/editing_commands.h"

#include <cstdio>
#include <string>

#include "lookup/entry_edits.h"
#include "platform/cp1251.h"
#include "platform/window.h"
#include "storage/dictionary_format.h"
#include "ui/browse_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

// The edits are read beyond what may be stored, so that longer text is
// refused rather than cut (an edit may hold more than it lets the user type).
static const int kWordReadSize = static_cast<int>(kLongestWord) + 2;
static const int kDescriptionReadSize = static_cast<int>(kLongestDescription) + 2;
static const int kTypedWordSize = 256;
// A deletion this close to the end of the letter shows the word before it.
static const int32_t kNearTheEnd = 10;

static void ShowRefusal(const Refused& refused) {
    const std::string text = RefusalMessage(CurrentDictionary, refused);
    if (!text.empty()) ShowMessageBox(text.c_str(), "Error", kMsgIconError);
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

// Shows a word as stored, looked up, as the end of an addition shows it.
static void ShowStored(const std::string& word) {
    SetWordEditText(word.c_str());
    LookupWord(MissedDescription::Clear, PluralRetry::Off);
}

static bool AskToReplace() {
    return ShowMessageBox("This word is already in dictionary! Replace it?", "Confirmation",
                          kMsgYesNo | kMsgIconQuestion) == kAnswerYes;
}

// False when the code page holds the edit's text (`unheld` 0); else true,
// after an error box naming the character.
static bool RefusedUnheld(const char* what, char32_t unheld) {
    if (!unheld) return false;
    const std::string text = std::string("The ") + what + " cannot be added: " + UnheldCharacterReason(unheld) + ".";
    ShowMessageBox(text.c_str(), "Error", kMsgIconError, std::u32string(1, unheld));
    return true;
}

// Whether a refusal came from the files rather than from the text: the
// edits then get back what the user typed.
static bool RefusedByTheFiles(Refusal why) {
    switch (why) {
    case Refusal::CannotRead:
    case Refusal::CannotWrite:
    case Refusal::NoMemory:
    case Refusal::Busy:
    case Refusal::AddedMeanwhile:
    case Refusal::RemovedMeanwhile: return true;
    default: return false;
    }
}

// StoreEditsEntry, and with a reverse entry the one of a dual dictionary.
static bool StoreEntry(Confirmation confirm, ReverseEntry reverse) {
    char typed[kWordReadSize];
    char description[kDescriptionReadSize];
    GetWordEditText(typed, sizeof typed);
    GetDescriptionEditText(description, sizeof description);
    const std::string word = TrimmedWord(typed);
    const Refusal textRefusal = EntryTextRefusal(CurrentDictionary, typed, description);
    if (textRefusal != Refusal::None) {
        ShowRefusal(Refused{textRefusal, word});
        return false;
    }
    // What the code page cannot hold is never stored in its place.
    if (RefusedUnheld("word", WordEditUnheldCharacter()) ||
        RefusedUnheld("description", DescriptionEditUnheldCharacter()))
        return false;
    const EntryChange change = AddEntry(CurrentDictionary, typed, description, reverse, [&] {
        // The edits show the entry the word has while the question is asked.
        SetWordEditText(word.c_str());
        LookupWord(MissedDescription::Keep, PluralRetry::Off);
        return confirm == Confirmation::DontAsk || AskToReplace();
    });
    switch (change.outcome) {
    case EntryOutcome::Refused:
        ShowRefusal(change.refused);
        if (RefusedByTheFiles(change.refused.why)) RestoreEdits(word.c_str(), description);
        return false;
    case EntryOutcome::KeptOld:
        // The reverse entry of the entry kept, as its edit shows it.
        if (change.reverseWord.empty()) return true;
        if (change.refused.why != Refusal::None) ShowRefusal(change.refused);
        else ShowStored(change.reverseWord);
        SetWordEditText(word.c_str());
        SetDescriptionEditText(change.entryShown.c_str());
        SetModified(0);
        return true;
    default:
        break;
    }
    ShowStored(word);
    if (!change.reverseWord.empty()) {
        // The reverse entry is shown too (and enters the history); the
        // edits are then left showing the entry as it was stored.
        ShowStored(change.reverseWord);
        SetWordEditText(word.c_str());
        SetDescriptionEditText(change.entryShown.c_str());
        SetModified(0);
    }
    return true;
}

bool StoreEditsEntry(Confirmation confirm) { return StoreEntry(confirm, ReverseEntry::None); }

void AddWordCommand() {
    // Counted before anything changes the edit: the lines as displayed.
    const int lines = GetDescriptionEditLineCount();
    const bool withReverse = CurrentDictionary.dual && lines == 1;
    if (!StoreEntry(Confirmation::Ask, withReverse ? ReverseEntry::WithIt : ReverseEntry::None)) return;
    FocusWordEdit();
}

void DeleteWordCommand(Confirmation confirm) {
    if (confirm == Confirmation::Ask &&
        ShowMessageBox("Are you sure you want to delete this word?", "Confirmation", kMsgYesNo | kMsgIconQuestion) !=
            kAnswerYes)
        return;
    char typed[kTypedWordSize];
    GetWordEditText(typed, sizeof typed);
    // A word the code page cannot hold is in no entry.
    if (WordEditUnheldCharacter()) return;
    const EntryChange change = DeleteEntry(CurrentDictionary, typed);
    if (change.outcome == EntryOutcome::Refused) ShowRefusal(change.refused);
    if (change.outcome != EntryOutcome::Deleted) return;
    // Show a neighbour; both read the word edit, which must hold the
    // deleted word as it was found.
    if (change.word != typed) SetWordEditText(change.word.c_str());
    if (change.offset < CurrentDictionary.held.View().length - kNearTheEnd)
        NextWord();
    else
        PreviousWord();
}
