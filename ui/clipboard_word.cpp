#include "ui/clipboard_word.h"

#include "storage/letter_file.h"

static bool IsWordLetter(unsigned char c) {
    unsigned char folded = FoldChar(c);
    return (folded >= 0x41 && folded <= 0x5A) || (folded >= 0xC0 && folded <= 0xDF);
}

ClipboardWord TakeClipboardWord(const char* text) {
    ClipboardWord taken{};
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p == ' ') ++p;
    int n = 0;
    while (n < kClipboardWordLimit && p[n] != 0 && p[n] != '\r' && p[n] != '\n' && IsWordLetter(p[n])) {
        taken.word[n] = static_cast<char>(p[n]);
        ++n;
    }
    taken.word[n] = '\0';
    taken.stop = p[n];
    taken.after = p[n] ? p[n + 1] : 0;
    return taken;
}

bool ClipboardWordStoodAlone(const ClipboardWord& taken) {
    return taken.stop == 0 || (taken.stop == ' ' && taken.after == 0);
}
