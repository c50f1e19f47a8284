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

// Versions compare as text without regard to ASCII case, so 1.5 and 1.45a
// count as newer than 1.45 while 1.100 does not. A file without a marker
// means there is nothing newer.
VersionCheckOutcome CompareUpdateInfo(const char* text, std::size_t length, const char* ownVersion);
