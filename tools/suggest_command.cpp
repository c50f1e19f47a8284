#include "tools/suggest_command.h"

#include <ostream>

#include "lookup/suggest.h"
#include "maintenance/codepage.h"
#include "storage/lookup_result.h"
#include "tools/json.h"
#include "tools/tool_support.h"

// The --limit value: a whole number from 1 to kMostSuggestions.
static bool ParseLimit(const std::string& text, size_t& limit) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    limit = static_cast<size_t>(std::stoi(text));
    return limit >= 1 && limit <= kMostSuggestions;
}

int SuggestCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--dict", true}, {"--json", false}, {"--limit", true}}, options, io.err))
        return kExitUsage;
    size_t limit = kMostSuggestions;
    if (options.Has("--limit") && !ParseLimit(options.Value("--limit", ""), limit)) {
        Complain(io.err) << "--limit takes a number from 1 to " << kMostSuggestions << kToolLineEnd;
        return kExitUsage;
    }
    std::vector<LookupQuery> queries;
    Dictionary dictionary;
    int status = PrepareQueries("suggest", options, io, queries, dictionary);
    if (status != kExitOk) return status;
    const bool json = options.Has("--json");
    bool warned = false;
    if (json) io.out << "[";
    for (size_t i = 0; i < queries.size(); ++i) {
        const LookupQuery& query = queries[i];
        MissSuggestions found;
        if (query.problem.empty()) found = SuggestionsForMiss(dictionary, query.word.c_str(), LookupOptions{}, limit);
        if (!warned) WarnUnreadLetters(found.unreadable, io.err);
        warned = warned || !found.unreadable.empty();
        // A word the dictionary holds (even through a base form) asks for none.
        if (found.wordFound) {
            io.err << query.text << ": found, no suggestions" << kToolLineEnd;
        } else if (found.words.empty()) {
            status = ResultNumber(LookupResult::NotFound);
            io.err << query.text << ": no suggestions";
            if (!query.problem.empty()) io.err << " (" << query.problem << ")";
            io.err << kToolLineEnd;
        }
        if (json) {
            io.out << (i ? "," : "") << kToolLineEnd << "  {\"query\": " << JsonString(query.text)
                   << ", \"suggestions\": " << JsonWords(found.words) << "}";
            continue;
        }
        // The lists of successive words are apart by an empty line.
        if (i > 0) io.out << kToolLineEnd;
        for (const std::string& word : found.words) io.out << Cp1251ToUtf8(word) << kToolLineEnd;
    }
    if (json) io.out << (queries.empty() ? "" : kToolLineEnd) << "]" << kToolLineEnd;
    io.out.flush();
    return status;
}
