#include "tools/lookup_command.h"

#include <ostream>

#include "lookup/lookup.h"
#include "lookup/suggest.h"
#include "maintenance/codepage.h"
#include "storage/dictionary_format.h"
#include "tools/json.h"
#include "tools/tool_support.h"

// What a word list may keep of the letters it has read.
static const size_t kListLetterCacheBytes = 256u << 20;

// The suggestions after "not found", as a reader would say them.
static void ReportSuggestions(const std::vector<std::string>& suggestions, std::ostream& err) {
    if (suggestions.empty()) return;
    err << "; did you mean ";
    for (size_t i = 0; i < suggestions.size(); ++i) err << (i ? ", " : "") << Cp1251ToUtf8(suggestions[i]);
    err << "?";
}

static void ReportMiss(const LookupQuery& query, const WordMatch& match, const std::vector<std::string>& suggestions,
                       std::ostream& err) {
    err << Printable(query.text) << ": ";
    if (!query.problem.empty()) {
        err << "not found (" << query.problem << ")";
    } else if (!match.unreadableForms.path.empty()) {
        err << "not found; " << UnreadableTableText(match.unreadableForms);
    } else if (match.result == LookupResult::LetterCannotOpen) {
        err << "not found (letter file " << LetterFileName(match.letter)
            << (match.unreadable ? " cannot be read)" : " cannot be opened)");
    } else if (match.result == LookupResult::NoDictionary) {
        err << "no dictionary open";
    } else {
        err << "not found";
    }
    ReportSuggestions(suggestions, err);
    err << kToolLineEnd;
}

int LookupCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    if (!ParseToolOptions(args,
                          {{"--dict", true}, {"--no-plural", false}, {"--no-forms", false}, {"--json", false},
                           {"--suggest", false}},
                          options, io.err))
        return kExitUsage;
    std::vector<LookupQuery> queries;
    Dictionary dictionary;
    int status = PrepareQueries("lookup", options, io, queries, dictionary);
    if (status != kExitOk) return status;
    const LookupOptions lookup{options.Has("--no-plural") ? PluralRetry::Off : PluralRetry::On,
                               options.Has("--no-forms") ? BaseForms::Off : BaseForms::On};
    const bool json = options.Has("--json");
    const bool suggest = options.Has("--suggest");
    bool warned = false;
    bool anyShown = false;
    // A list that jumps between letters reads each letter file once.
    LetterCacheScope keepLetters(dictionary.kept, queries.size() > 1 ? kListLetterCacheBytes : 0);
    if (json) io.out << "[";
    for (size_t i = 0; i < queries.size(); ++i) {
        const LookupQuery& query = queries[i];
        TypedLookup answer;
        if (query.problem.empty()) answer = LookUpTyped(dictionary, query.word, lookup);
        // A word whose base forms could not be read is not known to be missing.
        if (answer.match.result == LookupResult::NotFound && !answer.match.unreadableForms.path.empty())
            answer.match.result = LookupResult::LetterCannotOpen;
        const WordMatch& match = answer.match;
        std::vector<std::string> suggestions;
        if (match.result != LookupResult::Ok) {
            status = ResultNumber(match.result);
            if (suggest && query.problem.empty()) {
                MissSuggestions found = SuggestionsForMiss(dictionary, query.word.c_str(), lookup, kLookupSuggestions);
                if (!warned) WarnUnreadLetters(found.unreadable, io.err);
                warned = warned || !found.unreadable.empty();
                suggestions = std::move(found.words);
            }
            ReportMiss(query, match, suggestions, io.err);
        }
        const std::string description = DescriptionOf(match);
        if (json) {
            io.out << (i ? "," : "") << kToolLineEnd << "  {\"query\": " << JsonString(query.text)
                   << ", \"word\": " << JsonText(answer.word);
            // Only a word found through its base form says so.
            if (!match.baseForm.empty()) io.out << ", \"base_form_of\": " << JsonString(query.text);
            io.out << ", \"result\": " << ResultNumber(match.result) << ", \"description\": " << JsonText(description);
            if (suggest && match.result != LookupResult::Ok) io.out << ", \"suggestions\": " << JsonWords(suggestions);
            io.out << "}";
        } else if (match.result == LookupResult::Ok && !answer.blank) {
            // An empty line between the descriptions of successive words.
            if (anyShown) io.out << kToolLineEnd;
            io.out << PlainText(description) << kToolLineEnd;
            anyShown = true;
        }
    }
    if (json) io.out << (queries.empty() ? "" : kToolLineEnd) << "]" << kToolLineEnd;
    io.out.flush();
    // After the answer: the next process halves the letters this one walked.
    KeepWalkedIndexes(dictionary);
    return status;
}
