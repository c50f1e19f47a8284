// The state the main window keeps about its two edits, and the rules that
// keep the toolbar in step with it. Portable: reaches the window only
// through platform/.
#pragma once

enum : int { kWordEditId = 1000, kDescriptionEditId = 1001 };
constexpr int kWordTextSize = 1000;
constexpr int kDescriptionTextSize = 10000;

extern char WordText[kWordTextSize];
extern char DescriptionText[kDescriptionTextSize];
extern int Modified;
extern int AutoCompleted;
extern int CompletionInProgress;
extern unsigned char LastKey;

// The change notification of either edit (EN_CHANGE).
void OnEditChange(int controlId);
void SetModified(int value);
void UpdateToolbarState();
// The Find command (Enter in the word edit, the Find button).
void FindCommand();
// Back to the start-up state (tests, and the tool between runs).
void ResetEditState();
