// A copied word that is not found gets its best spelling suggestion in the
// description edit (lookup/suggest.h).
#pragma once

// For a copied word that is not found: when it has a suggestion, the
// description edit shows "not found; did you mean WORD?" (true), and the
// edits count as unchanged, so that Add never stores that text.
bool ShowDidYouMean(const char* typed);
