#include "ui/edit_state.h"

#include <string>

#include "lookup/completion.h"
#include "platform/window.h"
#include "res/resource.h"
#include "ui/program_state.h"

void SetWordEditText(const char* text) {
    ++EditState.ProgramWrites;
    ReplaceWordEditText(text);
    --EditState.ProgramWrites;
}

void SetModified(int value) {
    if (value == EditState.Modified) return;
    EditState.Modified = value;
    UpdateToolbarState();
}

void UpdateToolbarState() {
    bool open = CurrentDictionary.IsOpen();
    bool word = EditState.WordText[0] != '\0';
    bool description = EditState.DescriptionText[0] != '\0';
    bool find = word && open;
    bool history = WordHistory.Count != 0;
    SetToolbarButtonEnabled(IDM_ALLDICT, find);
    SetToolbarButtonEnabled(IDM_SIM, find);
    SetToolbarButtonEnabled(IDM_ADD, EditState.Modified && description && word && open);
    SetToolbarButtonEnabled(IDM_DEL, !EditState.Modified && word && open);
    SetToolbarButtonEnabled(IDM_INFO, open);
    SetToolbarButtonEnabled(IDM_OPEN, DictionaryCatalog.Count > 0);
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
    EditState.CompletionInProgress = 1;
    const std::string word = CompletionCandidate(CurrentDictionary, EditState.WordText);
    EditState.AutoCompleted = word.empty() ? 0 : 1;
    if (!word.empty()) {
        char typed[256];
        int typedLength = GetWordEditText(typed, sizeof typed);
        SetWordEditText(word.c_str());
        SetWordEditSelection(typedLength, static_cast<int>(word.size()));
    }
    EditState.CompletionInProgress = 0;
}

void OnEditChange(int controlId) {
    bool hidden = IsMainWindowHidden();
    if (!EditState.CompletionInProgress) EditState.AutoCompleted = 0;
    if (controlId == IDC_DESCRIPTION) {
        GetDescriptionEditText(EditState.DescriptionText, sizeof EditState.DescriptionText);
        SetModified(1);
        UpdateToolbarState();
        return;
    }
    GetWordEditText(EditState.WordText, sizeof EditState.WordText);
    // Completion follows the user's typing only, never a text the program
    // wrote, and never text the code page cannot hold, which no entry begins.
    bool complete = !hidden && Settings.autoComplete && !EditState.CompletionInProgress &&
                    EditState.ProgramWrites == 0 && EditState.LastKey != kBackspaceKeyMark &&
                    EditState.LastKey != kDeleteKeyMark && !WordEditUnheldCharacter();
    if (complete) CompleteTypedWord();
    SetModified(1);
    UpdateToolbarState();
}

void OnWordEditDeleteKey() { EditState.LastKey = kDeleteKeyMark; }
