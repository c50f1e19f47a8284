#include "maintenance/export.h"

#include <vector>

#include "maintenance/codepage.h"
#include "maintenance/import_layout.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"

bool ExportDictionaryText(const char* folder, std::string& text, unsigned long long& entries, std::string& error) {
    text.clear();
    entries = 0;
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::vector<unsigned char> raw;
        const std::string path = LetterPath(folder, static_cast<unsigned char>(letter));
        const FileReadOutcome read = PlatformReadWholeFile(path.c_str(), raw);
        if (read == FileReadOutcome::Absent) continue;
        if (read == FileReadOutcome::Unreadable) {
            error = Cp1251ToUtf8(folder) + "/" + LetterFileName(static_cast<unsigned char>(letter)) +
                    " cannot be read" + PlatformLastFileErrorNote();
            text.clear();
            return false;
        }
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
    return true;
}
