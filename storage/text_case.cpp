#include "storage/text_case.h"

std::string FoldString(const char* text, CaseRule rule) {
    std::string copy(text);
    for (char& c : copy) c = static_cast<char>(FoldChar(static_cast<unsigned char>(c), rule));
    return copy;
}

int CompareNoCase(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        unsigned char cx = AsciiLower(*x), cy = AsciiLower(*y);
        if (cx != cy) return cx < cy ? -1 : 1;
        if (cx == 0) return 0;
    }
}

bool EqualNoCase(const char* a, const char* b) { return CompareNoCase(a, b) == 0; }

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(static_cast<unsigned char>(text[i])) != AsciiLower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}
