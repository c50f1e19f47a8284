#include "tools/letter_files.h"

#include <vector>

#include "platform/platform.h"
#include "storage/letter_file.h"

void ReadLetterFiles(const std::string& folder, LetterFiles& files) {
    for (int letter = 1; letter <= 0xFF; ++letter) {
        std::vector<unsigned char> raw;
        FileReadOutcome read = PlatformReadWholeFile(LetterPath(folder.c_str(), static_cast<unsigned char>(letter)).c_str(), raw);
        if (read == FileReadOutcome::Absent) continue;
        if (read == FileReadOutcome::Unreadable) {
            files.unreadable = static_cast<unsigned char>(letter);
            return;
        }
        files.bytes[letter].assign(raw.begin(), raw.end());
        files.versions[letter] = VersionOfBytes(raw.data(), raw.size());
    }
}
