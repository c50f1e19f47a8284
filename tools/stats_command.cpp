#include "tools/stats_command.h"

#include <ostream>

#include "storage/dictionary_format.h"
#include "storage/letter_file.h"
#include "tools/tool_support.h"

int StatsCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--dict", true}, {"--json", false}}, options, io.err)) return kExitUsage;
    if (!NoOperands("stats", options, io.err)) return kExitUsage;
    const std::string given = options.Value("--dict", kDefaultToolDictionary);
    Dictionary dictionary;
    int status = OpenToolDictionary(given, io, dictionary);
    if (status != kExitOk) return status;
    const Statistics stats = DictionaryStatistics(dictionary);
    if (stats.unreadable) {
        Complain(io.err) << "stats: " << ToolShownFile(given, LetterFileName(stats.unreadable)) << " cannot be read"
                         << (stats.why.empty() ? "" : " (" + stats.why + ")") << ", so its entries cannot be counted"
                         << kToolLineEnd;
        return kExitCannotOpen;
    }
    if (options.Has("--json"))
        io.out << "{\"entries\": " << stats.entries << ", \"size\": " << stats.size << "}" << kToolLineEnd;
    else
        io.out << "entries: " << stats.entries << kToolLineEnd << "size: " << stats.size << kToolLineEnd;
    io.out.flush();
    return kExitOk;
}
