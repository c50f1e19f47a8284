// Completing a word while it is typed.
#pragma once

#include <string>

#include "storage/dictionary.h"

// The word of the first entry that begins with the typed text (its leading
// blanks passed over, folded by the dictionary's rule), loading the letter
// file of its first byte; empty when there is none or the text is blank.
std::string CompletionCandidate(Dictionary& dictionary, const char* typed);
