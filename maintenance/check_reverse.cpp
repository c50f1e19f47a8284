// Which entries of a dual dictionary need a reverse entry. Adding a word
// stores the reverse entry, translation to word, only when the translation
// shows as one line: a single entry of the word whose description holds no
// line break and no semicolon that the window turns into one. Words whose
// translation would not fit one line of the window are left alone.
#include "maintenance/check_reverse.h"

#include <cstring>

#include "lookup/description.h"
#include "maintenance/import_layout.h"

// Longer translations may wrap in the window, and then have no reverse entry.
static const size_t kLongestReverseWord = 64;

static std::string TrimBlanks(const std::string& text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return std::string();
    return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

std::string ReverseWordNeeded(const std::string& word, const std::string& description, bool continued) {
    if (continued || word.empty() || word.back() == '}') return std::string();
    if (description.size() > kLongestReverseWord || std::strpbrk(description.c_str(), "\r\n")) return std::string();
    for (size_t i = description.find(';'); i != std::string::npos; i = description.find(';', i + 1))
        if (SemicolonBreaksLine(description.c_str() + i)) return std::string();
    return TrimBlanks(description);
}

bool ReverseEntryPresent(const std::string& reverseWord, const std::function<bool(const std::string&)>& holds) {
    if (holds(reverseWord)) return true;
    // A dual import stores one reverse entry for each single translation;
    // its own lists of headwords may hold commas of their own ("Washington,
    // D.C."), so one of them found will do. A translation in which there is
    // no single one (only remarks) needs nothing more.
    std::vector<std::string> translations = SingleTranslations(reverseWord);
    for (const std::string& translation : translations)
        if (holds(translation)) return true;
    return translations.empty();
}
