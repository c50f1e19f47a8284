// Completing a word while it is typed.
#pragma once

#include "storage/text_case.h"

// The word of the first entry that begins with the typed text (its leading
// blanks passed over, folded by `rule`), loading the letter file of its
// first byte; null when there is none or the text is blank. Points into the
// held letter: copy it before the letter changes.
const char* CompletionCandidate(const char* typed, CaseRule rule);
