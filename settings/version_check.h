// Reading the update-information text published on the project site and
// deciding whether it names a newer release than this one.
#pragma once

#include <cstddef>

// Only the start of the published file is read; a marker past it is not seen.
constexpr std::size_t kUpdateInfoReadLimit = 500;

enum VersionCheckOutcome { kHaveLatestVersion, kNewerVersionAvailable };

// Copies the version that follows the first "dictionary=" (any letter case)
// up to the first CR, LF or blank into out. False when there is no marker.
bool PublishedVersion(const char* text, std::size_t length, char* out, std::size_t outSize);

// Compares two versions part by part, the parts cut at dots: the digits a
// part starts with as a number, then what follows them as text without
// regard to ASCII case; a missing part counts as 0. So 1.100 is newer than
// 1.45, 1.45a than 1.45, and 1.45.0 is 1.45. Less than, equal to or greater
// than zero as `a` is older than, the same as or newer than `b`.
int CompareVersions(const char* a, const char* b);
// Newer when the published version compares above ours; a file without a
// marker means there is nothing newer.
VersionCheckOutcome CompareUpdateInfo(const char* text, std::size_t length, const char* ownVersion);
