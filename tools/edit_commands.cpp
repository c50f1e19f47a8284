#include "tools/edit_commands.h"

#include <ostream>

#include "lookup/entry_edits.h"
#include "lookup/lookup.h"
#include "maintenance/codepage.h"
#include "tools/tool_support.h"

// A description typed in the window holds CR LF line breaks.
static std::string WindowLineBreaks(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

// Says why nothing was changed; true when there was a message.
static bool ReportRefusal(const Dictionary& dictionary, const Refused& refused, std::ostream& err) {
    const std::string message = RefusalMessage(dictionary, refused);
    if (message.empty()) return false;
    Complain(err) << Cp1251ToUtf8(message) << kToolLineEnd;
    return true;
}

// Parses the options, converts the operands and opens the dictionary;
// kExitOk or the exit status.
static int Prepare(const std::vector<std::string>& args, const std::vector<ToolOption>& known, size_t operands,
                   const char* usage, ToolOptions& options, std::vector<std::string>& words, ToolContext& io,
                   Dictionary& dictionary) {
    if (!ParseToolOptions(args, known, options, io.err)) return kExitUsage;
    if (options.operands.size() != operands) {
        Complain(io.err) << "usage: " << kToolName << " " << usage << kToolLineEnd;
        return kExitUsage;
    }
    words.resize(operands);
    for (size_t i = 0; i < operands; ++i)
        if (!ToolArgumentToCp1251(options.operands[i], words[i], io.err)) return kExitUsage;
    return OpenToolDictionary(options.Value("--dict", kDefaultToolDictionary), io, dictionary);
}

int AddCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    std::vector<std::string> words;
    Dictionary dictionary;
    int status = Prepare(args, {{"--dict", true}, {"--replace", false}}, 2,
                         "add [--dict FOLDER] [--replace] WORD DESCRIPTION", options, words, io, dictionary);
    if (status != kExitOk) return status;
    const std::string description = WindowLineBreaks(words[1]);
    // A dual dictionary stores the reverse entry of a description of one line.
    const bool oneLine = description.find('\n') == std::string::npos;
    const ReverseEntry reverse = dictionary.dual && oneLine ? ReverseEntry::WithIt : ReverseEntry::None;
    const bool replace = options.Has("--replace");
    const EntryChange change = AddEntry(dictionary, words[0], description, reverse, [replace] { return replace; });
    if (ReportRefusal(dictionary, change.refused, io.err)) return kExitNotChanged;
    if (change.outcome == EntryOutcome::Refused) return kExitNotChanged;
    if (change.outcome == EntryOutcome::KeptOld) {
        Complain(io.err) << "'" << options.operands[0] << "' is already in the dictionary; --replace replaces it"
                         << kToolLineEnd;
        return kExitNotChanged;
    }
    return kExitOk;
}

int DeleteCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    std::vector<std::string> words;
    Dictionary dictionary;
    int status = Prepare(args, {{"--dict", true}}, 1, "delete [--dict FOLDER] WORD", options, words, io, dictionary);
    if (status != kExitOk) return status;
    // As in the window: the word is found first, then deleted.
    const TypedLookup found = LookUpTyped(dictionary, words[0], {PluralRetry::Off, BaseForms::Off});
    if (found.match.unreadable) {
        ReportRefusal(dictionary, Refused{Refusal::CannotRead, found.word, found.match.letter}, io.err);
        return kExitNotChanged;
    }
    if (found.match.result != LookupResult::Ok) {
        io.err << options.operands[0] << ": not found" << kToolLineEnd;
        return kExitNotFound;
    }
    const EntryChange change = DeleteEntry(dictionary, found.word);
    if (ReportRefusal(dictionary, change.refused, io.err)) return kExitNotChanged;
    return kExitOk;
}
