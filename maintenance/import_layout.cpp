#include "maintenance/import_layout.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "maintenance/codepage.h"
#include "storage/text_case.h"

static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

static std::string Trim(const std::string& text) {
    size_t start = 0, end = text.size();
    while (start < end && IsSpace(text[start])) ++start;
    while (end > start && IsSpace(text[end - 1])) --end;
    return text.substr(start, end - start);
}

// Control bytes become blanks, runs of blanks one blank, none at the ends.
static std::string CollapseBlanks(const std::string& text) {
    std::string out;
    for (char c : text) {
        bool blank = static_cast<unsigned char>(c) < 0x20 || c == ' ';
        if (blank) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

static std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string PlainWord(const std::string& word, TextCounts& counts) {
    std::string out;
    for (char c : word) {
        const char* plain = nullptr;
        switch (static_cast<unsigned char>(c)) {
        case 0x82: case 0x8B: case 0x91: case 0x92: case 0x9B: plain = "'"; break;
        case 0x84: case 0x93: case 0x94: plain = "\""; break;
        case 0x96: case 0x97: plain = "-"; break;
        case 0x85: plain = "..."; break;
        case 0xA0: plain = " "; break;
        }
        if (plain) {
            out += plain;
            ++counts.replaced;
        } else {
            out += c;
        }
    }
    return out;
}

// Semicolons separate the lines of a stored description; inside a piece of
// text they would break it, so they become commas.
static std::string NoSemicolons(std::string text) {
    std::replace(text.begin(), text.end(), ';', ',');
    return text;
}

// Splits at the commas that are not inside brackets.
static std::vector<std::string> SplitItems(const std::string& text) {
    std::vector<std::string> items;
    std::string current;
    int depth = 0;
    for (char c : text) {
        if (c == '(' || c == '[') ++depth;
        if ((c == ')' || c == ']') && depth > 0) --depth;
        if (c == ',' && depth == 0) {
            items.push_back(Trim(current));
            current.clear();
        } else {
            current += c;
        }
    }
    items.push_back(Trim(current));
    return items;
}

// A translation as a word of its own: the bracketed remarks removed. Empty
// when nothing usable is left.
static std::string ReverseWord(const std::string& item, TextCounts& counts) {
    std::string bare;
    int depth = 0;
    for (char c : item) {
        if (c == '(' || c == '[') ++depth;
        else if ((c == ')' || c == ']') && depth > 0) --depth;
        else if (depth == 0) bare += c;
    }
    if (depth != 0 || bare.find_first_of("()[]") != std::string::npos) return std::string();
    bare = CollapseBlanks(PlainWord(bare, counts));
    // Phrases longer than this are explanations rather than translations.
    if (bare.size() > 64) return std::string();
    return bare;
}

static bool StartsNumbered(const std::string& line, std::string& rest);

static void AddTranslations(const std::vector<std::string>& items, std::vector<std::string>& out,
                            TextCounts& counts) {
    for (const std::string& item : items) {
        std::string word = ReverseWord(item, counts);
        if (!word.empty() && std::find(out.begin(), out.end(), word) == out.end()) out.push_back(word);
    }
}

std::vector<std::string> SingleTranslations(const std::string& line) {
    TextCounts ignored;
    std::vector<std::string> translations;
    std::string rest, text = Trim(line);
    AddTranslations(SplitItems(StartsNumbered(text, rest) ? rest : text), translations, ignored);
    return translations;
}

// ---- The headword line of FreeDict-like definitions:
//      headword /pronunciation/ //another// /[phonetic]/ <part of speech>

struct HeadLine {
    std::string headword;
    std::vector<std::string> pronunciations;   // as shown: /x/ or [x]
    std::string partOfSpeech;
};

static HeadLine ParseHeadLine(const std::string& line) {
    HeadLine head;
    std::string rest = Trim(line);
    if (!rest.empty() && rest.back() == '>') {
        size_t open = rest.rfind(" <");
        if (open != std::string::npos) {
            head.partOfSpeech = rest.substr(open + 2, rest.size() - open - 3);
            rest = Trim(rest.substr(0, open));
        }
    }
    size_t slash = rest.find(" /");
    head.headword = Trim(rest.substr(0, slash));
    if (slash == std::string::npos) return head;
    std::string area = rest.substr(slash + 1);
    for (size_t at = area.find('/'); at != std::string::npos; at = area.find('/', at)) {
        std::string shown;
        size_t close;
        if (area.compare(at, 2, "//") == 0) {
            close = area.find("//", at + 2);
            if (close == std::string::npos) break;
            shown = "/" + area.substr(at + 2, close - at - 2) + "/";
            close += 2;
        } else if (area.compare(at, 2, "/[") == 0) {
            close = area.find("]/", at + 2);
            if (close == std::string::npos) break;
            shown = "[" + area.substr(at + 2, close - at - 2) + "]";
            close += 2;
        } else {
            close = area.find('/', at + 1);
            if (close == std::string::npos) break;
            shown = area.substr(at, close - at + 1);
            close += 1;
        }
        head.pronunciations.push_back(shown);
        at = close;
    }
    return head;
}

// Letters and digits only, ASCII in lower case, so that "adams apple" in a
// dictd index matches the headword line "Adam's apple".
static std::string MatchForm(const std::string& text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        size_t length = DecodeUtf8(text, at, &c);
        if (length == 0) length = 1, c = 0xFFFD;
        if (c < 0x80) {
            if (std::isalnum(static_cast<int>(c))) out += static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
        } else if (!(c >= 0x2000 && c <= 0x206F)) {
            out.append(text, at, length);
        }
        at += length;
    }
    return out;
}

static std::string PartOfSpeechLabel(const std::string& tag) {
    static const char* const kLabels[][2] = {
        {"n", "noun"}, {"v", "verb"}, {"adj", "adjective"}, {"adv", "adverb"},
        {"pn", "proper noun"}, {"phraseologicalUnit", "phrase"}, {"prep", "preposition"},
        {"pron", "pronoun"}, {"conj", "conjunction"}, {"interj", "interjection"}, {"num", "numeral"},
    };
    for (const auto& label : kLabels)
        if (tag == label[0]) return label[1];
    return tag;
}

// A pronunciation is kept only where the code page can show every character.
static std::vector<std::string> ShowablePronunciations(const std::vector<std::string>& all) {
    std::vector<std::string> kept;
    for (const std::string& pronunciation : all) {
        std::string bytes;
        if (pronunciation.size() > 2 && Utf8ToCp1251(pronunciation, bytes) &&
            std::find(kept.begin(), kept.end(), bytes) == kept.end())
            kept.push_back(bytes);
    }
    return kept;
}

struct Sense {
    std::string translations;   // UTF-8 while parsing, code page after
    std::string gloss;
};

static bool StartsNumbered(const std::string& line, std::string& rest) {
    size_t digits = 0;
    while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits]))) ++digits;
    if (digits == 0 || digits >= line.size() || line[digits] != '.') return false;
    if (digits + 1 < line.size() && line[digits + 1] != ' ') return false;
    rest = Trim(line.substr(digits + 1));
    return true;
}

// A sense number stuck to the end of the translations ("малко 2.") is
// left over from a sense the source lost.
static std::string DropTrailingNumber(std::string text) {
    size_t end = text.size();
    if (end < 3 || text[end - 1] != '.') return text;
    size_t digits = end - 1;
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(text[digits - 1]))) --digits;
    if (digits == end - 1 || digits == 0 || text[digits - 1] != ' ') return text;
    return Trim(text.substr(0, digits - 1));
}

static std::string WithoutWikiBrackets(std::string text) {
    for (const char* mark : {"[[", "]]"})
        for (size_t at; (at = text.find(mark)) != std::string::npos;) text.erase(at, 2);
    return text;
}

// `reverseCounts` null: no translations are gathered.
static void LayOutSenses(const HeadLine& head, const std::vector<std::string>& body,
                         const std::string& extraPronunciation, LaidOutEntry& entry, TextCounts& counts,
                         TextCounts* reverseCounts) {
    std::vector<Sense> senses;
    for (const std::string& raw : body) {
        std::string line = Trim(raw);
        if (line.empty()) continue;
        std::string rest;
        if (StartsNumbered(line, rest)) senses.push_back({rest, ""});
        else if (senses.empty()) senses.push_back({line, ""});
        else senses.back().gloss += (senses.back().gloss.empty() ? "" : ", ") + line;
    }
    std::vector<Sense> kept;
    for (Sense& sense : senses) {
        std::string translations = ImportText(WithoutWikiBrackets(DropTrailingNumber(sense.translations)), counts);
        std::vector<std::string> items, unique;
        for (const std::string& item : SplitItems(NoSemicolons(translations)))
            if (!item.empty() && std::find(unique.begin(), unique.end(), item) == unique.end())
                unique.push_back(item);
        std::string gloss = Trim(NoSemicolons(ImportText(sense.gloss, counts)));
        if (unique.empty()) {
            // A sense without translations: its gloss belongs to the one before.
            if (!kept.empty() && !gloss.empty())
                kept.back().gloss += (kept.back().gloss.empty() ? "" : ", ") + gloss;
            continue;
        }
        std::string joined;
        for (const std::string& item : unique) joined += (joined.empty() ? "" : ", ") + item;
        if (reverseCounts) AddTranslations(unique, entry.translations, *reverseCounts);
        kept.push_back({joined, gloss});
    }

    std::vector<std::string> all = head.pronunciations;
    if (!extraPronunciation.empty()) all.push_back("/" + extraPronunciation + "/");
    std::string first = NoSemicolons(ImportText(PartOfSpeechLabel(head.partOfSpeech), counts));
    for (const std::string& shown : ShowablePronunciations(all))
        first += (first.empty() ? "" : " ") + NoSemicolons(shown);
    if (kept.empty()) return;   // nothing to translate: an empty description
    std::string description = first;
    for (size_t i = 0; i < kept.size(); ++i) {
        std::string line = kept[i].translations;
        if (!kept[i].gloss.empty()) line += " (" + kept[i].gloss + ")";
        if (kept.size() > 1) line = std::to_string(i + 1) + ". " + line;
        description += (description.empty() ? "" : ";") + line;
    }
    entry.description = description;
}

// Free text: its lines, one line of the description each.
static void LayOutLines(const std::vector<std::string>& lines, LaidOutEntry& entry, TextCounts& counts,
                        TextCounts* reverseCounts) {
    std::string description;
    for (const std::string& raw : lines) {
        std::string line = Trim(NoSemicolons(ImportText(raw, counts)));
        if (line.empty()) continue;
        description += (description.empty() ? "" : ";") + line;
        if (reverseCounts) {
            std::string rest;
            AddTranslations(SplitItems(StartsNumbered(line, rest) ? rest : line), entry.translations,
                            *reverseCounts);
        }
    }
    entry.description = description;
}

static std::string CleanWord(const std::string& utf8, TextCounts& counts) {
    return CollapseBlanks(PlainWord(ImportText(utf8, counts), counts));
}

LaidOutEntry LayOutRecord(const SourceRecord& record, SourceFormat format, TextCounts& counts,
                          bool withTranslations) {
    LaidOutEntry entry;
    TextCounts* reverseCounts = withTranslations ? &counts : nullptr;
    if (format == SourceFormat::Tsv) {
        entry.word = Trim(UnescapeTsv(ImportText(record.word, counts)));
        for (char& c : entry.word)
            if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        entry.description = UnescapeTsv(ImportText(record.text, counts));
        if (!withTranslations) return entry;
        // Each line of the description, as the main window shows it.
        std::string lines = entry.description;
        std::replace(lines.begin(), lines.end(), ';', '\n');
        for (const std::string& line : SplitLines(lines)) {
            std::string rest, text = Trim(line);
            AddTranslations(SplitItems(StartsNumbered(text, rest) ? rest : text), entry.translations, counts);
        }
        return entry;
    }

    std::vector<std::string> lines = SplitLines(record.text);
    for (std::string& line : lines)
        if (!line.empty() && line.back() == '\r') line.pop_back();
    while (!lines.empty() && Trim(lines.front()).empty()) lines.erase(lines.begin());
    HeadLine head = lines.empty() ? HeadLine{} : ParseHeadLine(lines.front());
    bool headMatches = !lines.empty() && !head.headword.empty() && MatchForm(head.headword) == MatchForm(record.word);
    entry.word = CleanWord(headMatches ? head.headword : record.word, counts);
    if (headMatches && (!head.partOfSpeech.empty() || !head.pronunciations.empty())) {
        LayOutSenses(head, std::vector<std::string>(lines.begin() + 1, lines.end()), record.pronunciation,
                     entry, counts, reverseCounts);
    } else {
        if (headMatches && lines.size() > 1) lines.erase(lines.begin());
        LayOutLines(lines, entry, counts, reverseCounts);
    }
    return entry;
}

std::string EscapeTsv(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x98) {
            // 0x98 has no character in the code page, so UTF-8 cannot carry it.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string UnescapeTsv(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        char next = text[i + 1];
        if (next == 'n') out += "\r\n", ++i;
        else if (next == 'r') out += '\r', ++i;
        else if (next == 't') out += '\t', ++i;
        else if (next == '\\') out += '\\', ++i;
        else if (next == 'x' && i + 3 < text.size() && HexDigit(text[i + 2]) >= 0 && HexDigit(text[i + 3]) >= 0) {
            int byte = HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]);
            if (byte != 0) out += static_cast<char>(byte);   // a NUL would end the string
            i += 3;
        } else {
            out += c;   // any other backslash is text
        }
    }
    return out;
}
