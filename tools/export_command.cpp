#include "tools/export_command.h"

#include <ostream>

#include "maintenance/codepage.h"
#include "maintenance/export.h"
#include "platform/files.h"
#include "tools/tool_support.h"

int ExportCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--dict", true}, {"--to", true}}, options, io.err)) return kExitUsage;
    if (!options.operands.empty()) {
        io.err << "dictionary-tool: export takes no words" << kToolLineEnd;
        return kExitUsage;
    }
    Dictionary dictionary;
    int status = OpenToolDictionary(options.Value("--dict", kDefaultToolDictionary), io, dictionary);
    if (status != kExitOk) return status;
    unsigned long long entries = 0;
    std::string text, error;
    const bool whole = ExportDictionaryText(dictionary.Path().c_str(), text, entries, error);
    if (!whole) {
        // Nothing at all, rather than a copy that lacks a letter.
        io.err << "dictionary-tool: export: " << error << "; nothing was exported" << kToolLineEnd;
        return kExitCannotOpen;
    }
    if (!options.Has("--to")) {
        io.out << text;
        io.out.flush();
        return kExitOk;
    }
    std::string file = options.Value("--to", ""), path, problem;
    if (!PathOfTypedName(file, path, problem)) {
        io.err << "dictionary-tool: export: cannot write " << file << ": " << problem << kToolLineEnd;
        return kExitCannotOpen;
    }
    if (!PlatformWriteFileAtomic(path.c_str(), text.data(), text.size())) {
        io.err << "dictionary-tool: export: cannot write " << file << kToolLineEnd;
        return kExitCannotOpen;
    }
    io.out << "exported " << entries << " entries to " << file << kToolLineEnd;
    io.out.flush();
    return kExitOk;
}
