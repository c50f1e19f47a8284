#include "tools/import_command.h"

#include <chrono>
#include <cstdio>
#include <ostream>

#include "maintenance/codepage.h"
#include "maintenance/import_target.h"
#include "tools/tool_support.h"

static std::ostream& ImportComplaint(std::ostream& err) { return Complain(err) << "import: "; }

int ImportCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--to", true}, {"--name", true}, {"--dual", false}, {"--case-sensitive", false}},
                          options, io.err))
        return kExitUsage;
    if (options.operands.size() < 2) {
        ImportComplaint(io.err) << "needs a format (dictd, stardict or tsv) and at least one source file"
                                << kToolLineEnd;
        return kExitUsage;
    }
    ImportJob job;
    job.programFolder = io.programFolder;
    const std::string& formatName = options.operands[0];
    if (formatName == "dictd") job.sources.format = SourceFormat::Dictd;
    else if (formatName == "stardict") job.sources.format = SourceFormat::Stardict;
    else if (formatName == "tsv") job.sources.format = SourceFormat::Tsv;
    else {
        ImportComplaint(io.err) << "unknown format '" << formatName << "' (dictd, stardict or tsv)" << kToolLineEnd;
        return kExitUsage;
    }
    if (!options.Has("--to")) {
        ImportComplaint(io.err) << "needs --to FOLDER, the dictionary to make or add to" << kToolLineEnd;
        return kExitUsage;
    }
    if (!ToolDictionaryFolder(options.Value("--to", ""), job.folder, io.err)) return kExitUsage;
    if (job.folder[0] == '.') {
        // The program lists no folder whose name begins with a dot.
        ImportComplaint(io.err) << "'" << options.Value("--to", "")
                         << "' begins with '.', and the program never lists such a folder" << kToolLineEnd;
        return kExitUsage;
    }
    if (!ToolArgumentToCp1251(options.Value("--name", options.Value("--to", "")), job.name, io.err))
        return kExitUsage;
    job.nameGiven = options.Has("--name");
    job.dual = options.Has("--dual") ? 1 : 0;
    job.caseSensitive = options.Has("--case-sensitive") ? 1 : 0;
    job.sources.dual = job.dual != 0;
    for (size_t i = 1; i < options.operands.size(); ++i) job.sources.paths.push_back(options.operands[i]);

    auto started = std::chrono::steady_clock::now();
    ImportOutcome outcome;
    bool imported = RunImport(job, outcome);
    if (!imported) ImportComplaint(io.err) << outcome.error << kToolLineEnd;
    for (const std::string& note : outcome.notes) io.out << note << kToolLineEnd;
    if (!imported) {
        io.out.flush();
        return kExitCannotOpen;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const ImportCounts& counts = outcome.counts;
    const char* nl = kToolLineEnd;
    io.out << "read: " << counts.read << " entries" << nl
           << "stored: " << counts.stored << " entries";
    if (job.dual) io.out << " and " << counts.reverseStored << " reverse entries";
    io.out << " in " << outcome.lettersWritten << " letter files of " << Cp1251ToUtf8(job.folder) << nl
           << "skipped: " << counts.duplicate << " duplicate, " << counts.emptyWord << " empty word, "
           << counts.emptyDescription << " empty description, " << counts.tooLong << " word longer than "
           << kLongestWord << " bytes, " << counts.descriptionTooLong << " description longer than "
           << kLongestDescription << " bytes" << nl
           << "characters: " << counts.text.marksRemoved << " accents removed, " << counts.text.replaced
           << " replaced, " << counts.text.dropped << " dropped" << nl;
    char time[32];
    std::snprintf(time, sizeof time, "%.2f", seconds);
    io.out << "time: " << time << " s" << nl;
    io.out.flush();
    return kExitOk;
}
