#include "ui/clipboard_word.h"

#include "platform/cp1251.h"

static bool IsWordLetter(unsigned char c, CaseRule rule) {
    unsigned char folded = FoldChar(c, rule);
    return (folded >= 0x41 && folded <= 0x5A) || (folded >= 0xC0 && folded <= 0xDF);
}

ClipboardWord TakeClipboardWord(const char* text, size_t size, CaseRule rule) {
    ClipboardWord taken{};
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    // The end of the block ends the text as a NUL would.
    auto at = [&](size_t i) -> unsigned char { return i < size ? bytes[i] : 0; };
    size_t start = 0;
    while (at(start) == ' ') ++start;
    int n = 0;
    for (unsigned char c; n < kClipboardWordLimit && (c = at(start + n)) != 0 && c != '\r' && c != '\n' &&
                          IsWordLetter(c, rule);
         ++n)
        taken.word[n] = static_cast<char>(c);
    taken.word[n] = '\0';
    taken.stop = at(start + n);
    // A word running on into a character the code page cannot hold is only
    // part of a word: none is taken.
    if (taken.stop == kUnheldByte) taken.word[0] = '\0';
    taken.after = taken.stop ? at(start + n + 1) : 0;
    return taken;
}

bool ClipboardWordStoodAlone(const ClipboardWord& taken) {
    return taken.stop == 0 || (taken.stop == ' ' && taken.after == 0);
}
