// The Find command: Enter in the word edit, the Find button.
#pragma once

// Looks the typed word up; a word not found clears the description, or
// lists similar words when the settings say so.
void FindCommand();
