#pragma once

// The ordering comparison of letter files, browsing, insertion, deletion, the
// history and catalogue names: ASCII letters compare as lower case, every
// other byte by its unsigned value (strcasecmp in the POSIX locale), so the
// result never depends on the user's locale. Returns -1, 0 or +1.
int CompareNoCase(const char* a, const char* b);
bool EqualNoCase(const char* a, const char* b);
