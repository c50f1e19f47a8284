#include "settings/version_check.h"

#include <cctype>
#include <cstring>
#include <string>

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

namespace {

// One part of a version, up to its dot or the end: the digits it starts
// with, without leading zeros (so 0 and a missing part are alike), and the
// text after them.
struct VersionPart {
    std::string number;
    std::string rest;
};

VersionPart NextPart(const char*& at) {
    VersionPart part;
    while (*at == '0') ++at;
    while (std::isdigit(static_cast<unsigned char>(*at))) part.number += *at++;
    while (*at && *at != '.') part.rest += *at++;
    if (*at == '.') ++at;
    return part;
}

// Digit strings without leading zeros: the longer is the larger, and
// numbers of any length compare.
int CompareNumbers(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

}  // namespace

int CompareVersions(const char* a, const char* b) {
    while (*a || *b) {
        VersionPart left = NextPart(a), right = NextPart(b);
        if (int order = CompareNumbers(left.number, right.number)) return order;
        if (int order = CompareNoCase(left.rest.c_str(), right.rest.c_str())) return order;
    }
    return 0;
}

VersionCheckOutcome CompareUpdateInfo(const char* text, std::size_t length, const char* ownVersion) {
    char version[kUpdateInfoReadLimit + 1];
    if (!PublishedVersion(text, length, version, sizeof version)) return kHaveLatestVersion;
    return CompareVersions(version, ownVersion) > 0 ? kNewerVersionAvailable : kHaveLatestVersion;
}
