#include "tools/check_command.h"

#include <ostream>

#include "maintenance/check.h"
#include "maintenance/codepage.h"

// Problems remain (or could not be looked for).
constexpr int kExitProblemsRemain = 1;

int CheckCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--dict", true}, {"--fix", false}}, options, io.err)) return kExitUsage;
    if (!options.operands.empty()) {
        io.err << "dictionary-tool: check takes no words" << kToolLineEnd;
        return kExitUsage;
    }
    std::string folder;
    if (!ToolDictionaryFolder(options.Value("--dict", kDefaultToolDictionary), folder, io.err)) return kExitUsage;
    ResetToolState();
    CheckRun run = RunCheck(folder, options.Has("--fix"));
    if (run.busy) {
        io.err << "dictionary-tool: check: " << Cp1251ToUtf8(folder)
               << " is being changed by another program; try again when it is done" << kToolLineEnd;
        return kExitProblemsRemain;
    }
    const bool absent = run.found.folderMissing && (!run.repaired || run.after.folderMissing);
    if (absent && run.found.problems.empty()) {
        io.err << "dictionary-tool: check: there is no dictionary folder " << Cp1251ToUtf8(folder) << kToolLineEnd;
        return kExitProblemsRemain;
    }
    for (const std::string& problem : run.found.problems) io.out << problem << kToolLineEnd;
    for (const std::string& note : run.found.notes) io.out << "note: " << note << kToolLineEnd;
    if (run.repaired) {
        for (const std::string& note : run.fixNotes) io.out << "fix: " << note << kToolLineEnd;
        for (const std::string& problem : run.after.problems) io.out << "still: " << problem << kToolLineEnd;
    }
    bool clean = run.Clean();
    io.out << Cp1251ToUtf8(folder) << ": "
           << (run.found.problems.empty() ? "clean"
               : clean                    ? "repaired, now clean"
                                          : std::to_string(run.found.problems.size()) + " problems")
           << (absent ? " (there is no dictionary " + Cp1251ToUtf8(folder) + ")" : "") << kToolLineEnd;
    io.out.flush();
    return clean ? kExitOk : kExitProblemsRemain;
}
