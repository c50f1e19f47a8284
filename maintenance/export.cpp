#include "maintenance/export.h"

#include <vector>

#include "maintenance/codepage.h"
#include "maintenance/import_layout.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"

std::string ExportDictionaryText(const char* folder, unsigned long long& entries) {
    std::string text;
    entries = 0;
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::vector<unsigned char> raw;
        if (!PlatformReadFile(LetterPath(folder, static_cast<unsigned char>(letter)).c_str(), raw)) continue;
        // Every pair of strings, empty ones included: the whole file, not
        // only what the look-up reaches.
        for (const RawEntry& entry : SplitLetterFile(std::string(raw.begin(), raw.end()))) {
            text += Cp1251ToUtf8(EscapeTsv(entry.word));
            text += '\t';
            text += Cp1251ToUtf8(EscapeTsv(entry.description));
            text += '\n';
            ++entries;
        }
    }
    return text;
}
