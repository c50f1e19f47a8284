#include "settings/version_check.h"

#include <cstring>

#include "storage/text_case.h"

bool PublishedVersion(const char* text, std::size_t length, char* out, std::size_t outSize) {
    // Lower-cased, terminated copy of what was read: the marker may come in
    // any case, and a server can send bytes without a terminator.
    char buffer[kUpdateInfoReadLimit + 1] = {};
    if (length > kUpdateInfoReadLimit) length = kUpdateInfoReadLimit;
    for (std::size_t i = 0; i < length; ++i) {
        buffer[i] = static_cast<char>(AsciiLower(static_cast<unsigned char>(text[i])));
    }
    static const char kMarker[] = "dictionary=";
    const char* found = std::strstr(buffer, kMarker);
    if (!found || outSize == 0) return false;
    const char* version = found + sizeof kMarker - 1;
    std::size_t n = std::strcspn(version, "\r\n ");
    if (n >= outSize) n = outSize - 1;
    std::memcpy(out, version, n);
    out[n] = '\0';
    return true;
}

VersionCheckOutcome CompareUpdateInfo(const char* text, std::size_t length, const char* ownVersion) {
    char version[kUpdateInfoReadLimit + 1];
    if (!PublishedVersion(text, length, version, sizeof version)) return kHaveLatestVersion;
    return CompareNoCase(version, ownVersion) > 0 ? kNewerVersionAvailable : kHaveLatestVersion;
}
