// The look-up as the user sees it: the word edit's text is looked up in the
// window's dictionary (lookup/lookup.h) and its description shown.
#pragma once

#include <cstdint>

#include "lookup/lookup.h"

// What a word that is not found does to the description edit.
enum class MissedDescription { Keep, Clear };

// The options the window looks words up with: `plural`, and the base forms
// while the settings ask for them.
LookupOptions WindowLookupOptions(PluralRetry plural);

// Looks up the word in the word edit: narrows the edit to its selection
// (unless completion wrote it), writes the word as the look-up finds it
// (lookup/lookup.h: without trailing blanks, less a final S, or its base
// form) back, selected, clears Modified, and on a hit shows its description
// and adds it to the history. A blank word is nothing to look up: Ok, and
// nothing changes. EditState.UnreadLetter tells a letter that could not be
// read.
LookupResult LookupWord(MissedDescription onMiss, PluralRetry plural);
// Shows a word as the user would: into the word edit, then looked up.
void ShowWord(const char* word);
// The description of a match into its edit.
void ShowDescription(const WordMatch& match);
