// The look-up as the user sees it: the word edit's text is found in the
// open dictionary and its description shown.
#pragma once

#include <cstdint>

#include "lookup/lookup.h"

// What a word that is not found does to the description edit.
enum class MissedDescription { Keep, Clear };

// Looks up the word in the word edit: narrows the edit to its selection
// (unless completion wrote it), trims its trailing blanks, writes and
// selects it, clears Modified, finds it (lookup/lookup.h; with the plural
// retry also through its base forms while the option asks for them) and on
// a hit shows its description and adds it to the history. A hit without the
// final S or through a base form writes that word into the edit, selected,
// and the history records it. A blank word is nothing to look up:
// kResultOk, and nothing changes.
int LookupWord(MissedDescription onMiss, PluralRetry plural);
// The letter whose file the last look-up found there but could not read
// (its word's, or a base form's); 0 when it read what it needed.
unsigned char LetterLookupCouldNotRead();
// Shows a word as the user would: into the word edit, then looked up.
void ShowWord(const char* word);
// The description of the held letter's entry at `offset` into its edit.
void ShowDescription(int32_t offset);
