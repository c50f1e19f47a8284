#include "ui/edit_state.h"

#include <cstring>
#include <string>

#include "lookup/browse.h"
#include "lookup/history.h"
#include "lookup/lookup.h"
#include "lookup/similar.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "storage/dictionary.h"

char WordText[kWordTextSize];
char DescriptionText[kDescriptionTextSize];
int Modified = 0;
int AutoCompleted = 0;
int CompletionInProgress = 0;
unsigned char LastKey = 0;

void ResetEditState() {
    WordText[0] = '\0';
    DescriptionText[0] = '\0';
    Modified = 0;
    AutoCompleted = 0;
    CompletionInProgress = 0;
    LastKey = 0;
}

void SetModified(int value) {
    if (value == Modified) return;
    Modified = value;
    UpdateToolbarState();
}

void UpdateToolbarState() {
    bool open = CurrentDictionary.Folder[0] != '\0';
    bool word = WordText[0] != '\0';
    bool description = DescriptionText[0] != '\0';
    bool find = word && open;
    bool history = WordHistory.Count != 0;
    SetToolbarButtonEnabled(IDM_ALLDICT, find);
    SetToolbarButtonEnabled(IDM_SIM, find);
    SetToolbarButtonEnabled(IDM_ADD, Modified && description && word && open);
    SetToolbarButtonEnabled(IDM_DEL, !Modified && word && open);
    SetToolbarButtonEnabled(IDM_INFO, open);
    SetToolbarButtonEnabled(IDM_OPEN, CatalogCount > 0);
    SetFindButtonEnabled(find);
    SetToolbarButtonEnabled(IDM_PREVWORD, find);
    SetToolbarButtonEnabled(IDM_NEXTWORD, find);
    SetToolbarButtonEnabled(IDM_NEXT20, find);
    SetToolbarButtonEnabled(IDM_HISTMENU, history);
    SetToolbarButtonEnabled(IDM_HISTBACK, history);
    SetToolbarButtonEnabled(IDM_HISTFORWARD, history);
}

// Completes the typed word from the dictionary; the nested change
// notification of the replacement only refreshes WordText.
static void CompleteTypedWord() {
    CompletionInProgress = 1;
    if (const char* candidate = CompletionCandidate()) {
        char typed[256];
        int typedLength = GetWordEditText(typed, sizeof typed);
        std::string word(candidate);  // the pointer may not outlive the write
        SetWordEditText(word.c_str());
        SetWordEditSelection(typedLength, static_cast<int>(word.size()));
    } else {
        AutoCompleted = 0;
    }
    CompletionInProgress = 0;
}

void OnEditChange(int controlId) {
    bool hidden = IsMainWindowHidden();
    if (!CompletionInProgress) AutoCompleted = 0;
    if (controlId == kDescriptionEditId) {
        GetDescriptionEditText(DescriptionText, sizeof DescriptionText);
        SetModified(1);
        UpdateToolbarState();
        return;
    }
    GetWordEditText(WordText, sizeof WordText);
    // Completion follows the user's typing only, never a text the program wrote.
    bool complete = !hidden && Settings.autocomplete && !CompletionInProgress && !IsProgramWordEditChange() &&
                    LastKey != 8 && LastKey != 9;
    if (complete) CompleteTypedWord();
    SetModified(1);
    UpdateToolbarState();
}

void FindCommand() {
    int result = LookupWord(1, -1);
    if (result == kResultOk) {
        SetModified(0);
    } else if (Settings.simonnotfound) {
        SetModified(ShowSimilarWords() ? 0 : 1);
    } else {
        SetDescriptionEditText("");
        SetModified(1);
    }
}
