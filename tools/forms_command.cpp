#include "tools/forms_command.h"

#include <istream>
#include <ostream>

#include "lookup/word_forms.h"
#include "maintenance/codepage.h"
#include "storage/lookup_result.h"
#include "tools/json.h"
#include "tools/tool_support.h"

int FormsCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--dict", true}, {"--json", false}}, options, io.err)) return kExitUsage;
    if (options.operands.empty()) {
        Complain(io.err) << "forms needs words, or - to read them from standard input" << kToolLineEnd;
        return kExitUsage;
    }
    std::vector<std::string> queries;
    for (const std::string& operand : options.operands) {
        if (operand != "-") {
            queries.push_back(operand);
            continue;
        }
        for (std::string line; std::getline(io.in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            queries.push_back(line);
        }
    }
    std::vector<std::string> words(queries.size());
    for (size_t i = 0; i < queries.size(); ++i)
        if (!ToolArgumentToCp1251(queries[i], words[i], io.err)) return kExitUsage;

    Dictionary dictionary;
    int status = OpenToolDictionary(options.Value("--dict", kDefaultToolDictionary), io, dictionary);
    if (status != kExitOk) return status;
    bool json = options.Has("--json");
    if (json) io.out << "[";
    for (size_t i = 0; i < words.size(); ++i) {
        UnreadableTable unreadable;
        std::vector<std::string> bases = BaseFormsOf(dictionary, words[i].c_str(), &unreadable);
        if (!unreadable.path.empty()) {
            // What the other tables gave is shown; with nothing from them,
            // the word is not known to have no base forms.
            if (bases.empty()) status = ResultNumber(LookupResult::LetterCannotOpen);
            io.err << queries[i] << ": " << UnreadableTableText(unreadable) << kToolLineEnd;
        } else if (bases.empty()) {
            status = ResultNumber(LookupResult::NotFound);
            io.err << queries[i] << ": no base forms" << kToolLineEnd;
        }
        if (json) {
            io.out << (i ? "," : "") << kToolLineEnd << "  {\"query\": " << JsonString(queries[i]) << ", \"bases\": [";
            for (size_t b = 0; b < bases.size(); ++b)
                io.out << (b ? ", " : "") << JsonString(Cp1251ToUtf8(bases[b]));
            io.out << "]}";
        } else if (!bases.empty()) {
            io.out << queries[i] << ":";
            for (size_t b = 0; b < bases.size(); ++b) io.out << (b ? ", " : " ") << Cp1251ToUtf8(bases[b]);
            io.out << kToolLineEnd;
        }
    }
    if (json) io.out << (words.empty() ? "" : kToolLineEnd) << "]" << kToolLineEnd;
    io.out.flush();
    return status;
}
