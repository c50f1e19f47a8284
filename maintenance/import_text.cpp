#include "maintenance/import_text.h"

#include "maintenance/codepage.h"

static bool IsCombiningMark(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0483 && c <= 0x0489) ||
           (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

// A base letter and a following breve or diaeresis that the code page holds
// as one letter (й, ё, ї, ў written decomposed); 0 when there is none.
static char32_t Compose(char32_t base, char32_t mark) {
    if (mark == 0x0306) {
        switch (base) {
        case 0x0438: return 0x0439;   // и -> й
        case 0x0418: return 0x0419;
        case 0x0443: return 0x045E;   // у -> ў
        case 0x0423: return 0x040E;
        }
    } else if (mark == 0x0308) {
        switch (base) {
        case 0x0435: return 0x0451;   // е -> ё
        case 0x0415: return 0x0401;
        case 0x0456: return 0x0457;   // і -> ї
        case 0x0406: return 0x0407;
        }
    }
    return 0;
}

// Base letters of U+00C0-U+024F and U+1E00-U+1EFF; '.' where there is none.
static const char kLatinBase[] =
    "AAAAAA.CEEEEIIIIDNOOOOO.OUUUUY..aaaaaa.ceeeeiiiidnooooo.ouuuuy.y"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi..JjKkkLlLlLlL"
    "lLlNnNnNn...OoOoOo..RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz."
    "b......................I..l.....Oo.............Uu....Zz........."
    ".............AaIiOoUuUuUuUuUu.AaAa..GgGgKkOoOo..j...Gg..NnAa...."
    "AaAaEeEeIiIiOoOoRrRrUuUuSsTt..Hh......AaEeOoOoOoOoYy.......Cc..."
    "................";
static const char kLatinExtendedAdditional[] =
    "AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMm"
    "MmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSsSsSsTtTtTtTtUuUuUuUuUuVvVv"
    "WwWwWwWwWwXxXxYyZzZzZzhtwy......AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEe"
    "EeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy......";

// The plain equivalent of a character the code page lacks; empty when
// there is none that is obvious.
static std::string PlainEquivalent(char32_t c) {
    if (c >= 0x00C0 && c <= 0x024F && kLatinBase[c - 0x00C0] != '.') return std::string(1, kLatinBase[c - 0x00C0]);
    if (c >= 0x1E00 && c <= 0x1EFF && kLatinExtendedAdditional[c - 0x1E00] != '.')
        return std::string(1, kLatinExtendedAdditional[c - 0x1E00]);
    switch (c) {
    case 0x00C6: return "AE";
    case 0x00E6: return "ae";
    case 0x0152: return "OE";
    case 0x0153: return "oe";
    case 0x00DF: return "ss";
    case 0x00DE: return "Th";
    case 0x00FE: return "th";
    case 0x2000: case 0x2001: case 0x2002: case 0x2003: case 0x2004: case 0x2005:
    case 0x2006: case 0x2007: case 0x2008: case 0x2009: case 0x200A: case 0x202F:
    case 0x205F: case 0x3000:
        return " ";
    case 0x201B: case 0x2032: case 0x02BC: return "'";
    case 0x201F: case 0x2033: return "\"";
    case 0x2010: case 0x2011: case 0x2012: case 0x2015: case 0x2212: return "-";
    case 0x00D7: return "x";
    case 0x0400: return "\xC5";   // Ѐ -> Е
    case 0x0450: return "\xE5";   // ѐ -> е
    case 0x040D: return "\xC8";   // Ѝ -> И
    case 0x045D: return "\xE8";   // ѝ -> и
    }
    return std::string();
}

std::string ImportText(const std::string& utf8, TextCounts& counts) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        char32_t c;
        size_t length = DecodeUtf8(utf8, at, &c);
        if (length == 0) {
            ++counts.dropped;
            ++at;
            continue;
        }
        at += length;
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        char32_t mark;
        size_t markLength = at < utf8.size() ? DecodeUtf8(utf8, at, &mark) : 0;
        if (markLength) {
            if (char32_t composed = Compose(c, mark)) {
                c = composed;
                at += markLength;
            }
        }
        if (IsCombiningMark(c)) {
            ++counts.marksRemoved;
            continue;
        }
        const std::string plain = PlainEquivalent(c);
        if (!plain.empty()) {
            out += plain;
            ++counts.replaced;
            continue;
        }
        int byte = UnicodeToCp1251(c);
        if (byte < 0) {
            ++counts.dropped;
            continue;
        }
        out += static_cast<char>(byte);
    }
    return out;
}

size_t FindInvalidUtf8(const std::string& text, size_t from, size_t to) {
    if (to > text.size()) to = text.size();
    for (size_t at = from; at < to;) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        char32_t c;
        size_t length = DecodeUtf8(text, at, &c);
        if (length == 0 || at + length > to) return at;
        at += length;
    }
    return std::string::npos;
}
