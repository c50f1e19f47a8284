#include "maintenance/letter_files.h"

#include <vector>

#include "platform/files.h"
#include "storage/dictionary_format.h"

void ReadLetterFiles(const std::string& folder, LetterFiles& files) {
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::vector<unsigned char> raw;
        FileReadOutcome read = PlatformReadWholeFile(LetterPath(folder, static_cast<unsigned char>(letter)).c_str(), raw);
        if (read == FileReadOutcome::Absent) continue;
        if (read == FileReadOutcome::Unreadable) {
            files.unreadable = static_cast<unsigned char>(letter);
            return;
        }
        files.bytes[letter].assign(raw.begin(), raw.end());
        files.versions[letter] = VersionOfBytes(raw.data(), raw.size());
    }
}
