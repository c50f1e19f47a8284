// Similar words of a word that is not found, and the search in every
// dictionary.
#pragma once

// Non-zero when the user took a word from the list.
int ShowSimilarWords();
void SearchAllDictionaries();
