// What the main window keeps about its two edits, the one way the program
// writes the word edit, the change handler and the toolbar rules that
// follow them. Portable: reaches the window only through platform/.
#pragma once

constexpr int kWordTextSize = 1000;
constexpr int kDescriptionTextSize = 10000;

// LastKey's marks for keys that type no character: after them the change
// handler does not complete the word.
constexpr unsigned char kBackspaceKeyMark = 8;
constexpr unsigned char kDeleteKeyMark = 9;

struct EditStateRecord {
    char WordText[kWordTextSize];            // mirror of the word edit
    char DescriptionText[kDescriptionTextSize];  // mirror of the description edit
    int Modified;          // the edits hold something not looked up or stored
    // The word edit's text came from completion: the look-up does not narrow
    // it to the selection.
    int AutoCompleted;
    int CompletionInProgress;
    unsigned char LastKey;  // the last character typed into an edit, or a key mark
    // SetWordEditText is writing: the change handler refreshes the mirror
    // but never completes what the program wrote.
    int ProgramWrites;
};
extern EditStateRecord EditState;

// Back to the start-up state.
void ResetEditState();
// The one way the program writes the word edit. The change handler runs
// before this returns, as for the edit control's EN_CHANGE.
void SetWordEditText(const char* text);
// The change notification of either edit (EN_CHANGE), by control id.
void OnEditChange(int controlId);
// Delete pressed in the word edit: what it changes is not completed.
void OnWordEditDeleteKey();
void SetModified(int value);
void UpdateToolbarState();
