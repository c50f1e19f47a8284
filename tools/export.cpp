#include "tools/export.h"

#include <ostream>

#include "platform/platform.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "tools/codepage.h"
#include "tools/import_build.h"
#include "tools/import_layout.h"

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

int ExportCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--dict", true}, {"--to", true}}, options, io.err)) return kExitUsage;
    if (!options.operands.empty()) {
        io.err << "dictionary-tool: export takes no words" << kToolLineEnd;
        return kExitUsage;
    }
    ResetToolState();
    int status = OpenToolDictionary(options.Value("--dict", kDefaultToolDictionary), io.err);
    if (status != kExitOk) return status;
    unsigned long long entries = 0;
    std::string text = ExportDictionaryText(CurrentDictionary.Folder, entries);
    ResetToolState();
    if (!options.Has("--to")) {
        io.out << text;
        io.out.flush();
        return kExitOk;
    }
    std::string file = ToolUserPath(options.Value("--to", ""));
    if (!PlatformWriteFileAtomic(file.c_str(), text.data(), text.size())) {
        io.err << "dictionary-tool: export: cannot write " << file << kToolLineEnd;
        return kExitCannotOpen;
    }
    io.out << "exported " << entries << " entries to " << file << kToolLineEnd;
    io.out.flush();
    return kExitOk;
}
