#include "tools/tool_commands.h"

#include <cstdio>
#include <filesystem>
#include <istream>
#include <new>
#include <ostream>

#include "dictionary_version.h"
#include "lookup/description.h"
#include "lookup/lookup.h"
#include "lookup/word_forms.h"
#include "maintenance/codepage.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "settings/settings.h"
#include "storage/catalog.h"
#include "storage/dictionary.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_state.h"
#include "storage/letter_buffer.h"
#include "storage/letter_cache.h"
#include "storage/letter_file.h"
#include "tools/json.h"
#include "ui/edit_state.h"
#include "ui/program_headless.h"
#include "ui/suggestions.h"

#ifdef _WIN32
const char* const kToolLineEnd = "\r\n";
static const char kPathSeparator = '\\';
#else
const char* const kToolLineEnd = "\n";
static const char kPathSeparator = '/';
#endif
const char* const kDefaultToolDictionary = "English_Bulgarian";

static const char kProgram[] = "dictionary-tool";

// ---- Messages and conversions.

// An argument as it can be shown in a message: bytes that are not UTF-8,
// and control characters, appear as \xNN.
static std::string Printable(const std::string& text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        size_t length = DecodeUtf8(text, at, &c);
        if (length == 0 || c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[at]));
            out += escaped;
            ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}

static std::ostream& Complain(std::ostream& err) { return err << kProgram << ": "; }

bool ToolArgumentToCp1251(const std::string& argument, std::string& out, std::ostream& err) {
    std::string problem = Cp1251Problem(argument, out);
    if (problem.empty()) return true;
    Complain(err) << "'" << Printable(argument) << "' cannot be used: " << problem << kToolLineEnd;
    return false;
}

// Dictionary bytes as terminal text, CR LF as the platform's line end.
static std::string PlainText(const std::string& bytes) {
    std::string utf8 = Cp1251ToUtf8(bytes);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            out += kToolLineEnd;
            ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

static std::string JsonText(const std::string& bytes) { return JsonString(Cp1251ToUtf8(bytes)); }

std::string JsonWords(const std::vector<std::string>& words) {
    std::string list = "[";
    for (size_t i = 0; i < words.size(); ++i) list += (i ? ", " : "") + JsonText(words[i]);
    return list + "]";
}

// ---- Options and state.

std::string ToolOptions::Value(const char* name, const std::string& fallback) const {
    auto found = given.find(name);
    return found == given.end() ? fallback : found->second;
}

bool ParseToolOptions(const std::vector<std::string>& args, const std::vector<ToolOption>& known,
                      ToolOptions& out, std::ostream& err) {
    out = ToolOptions{};
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            out.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const ToolOption* option = nullptr;
        for (const ToolOption& candidate : known)
            if (arg == candidate.name) option = &candidate;
        if (!option) {
            Complain(err) << "unknown option '" << Printable(arg) << "'" << kToolLineEnd;
            return false;
        }
        std::string value;
        if (option->takesValue) {
            if (i + 1 >= args.size()) {
                Complain(err) << "option '" << arg << "' needs a value" << kToolLineEnd;
                return false;
            }
            value = args[++i];
        }
        out.given[arg] = value;
    }
    return true;
}

static bool NoOperands(const char* command, const ToolOptions& options, std::ostream& err) {
    if (options.operands.empty()) return true;
    Complain(err) << command << " takes no words ('" << Printable(options.operands[0]) << "')"
                  << kToolLineEnd;
    return false;
}

void ResetToolState() {
    StartHeadlessProgram();
    Headless().hidden = true;
    Settings.autoComplete = 0;
}

bool ToolDictionaryFolder(const std::string& given, std::string& folder, std::ostream& err) {
    if (given.empty()) {
        Complain(err) << "the dictionary folder name is empty" << kToolLineEnd;
        return false;
    }
    if (!ToolArgumentToCp1251(given, folder, err)) return false;
    // Every command names a dictionary the same way: a folder of the program
    // folder, by its name alone, never a path that leads elsewhere.
    if (!IsPlainFolderName(folder.c_str())) {
        Complain(err) << "'" << Printable(given)
                      << "' is not the name of a folder in the program folder (give the name alone, without a path)"
                      << kToolLineEnd;
        return false;
    }
    return true;
}

int OpenToolDictionary(const std::string& given, std::ostream& err) {
    std::string folder;
    if (!ToolDictionaryFolder(given, folder, err)) return kExitUsage;
    if (OpenDictionary(folder.c_str()) != kResultOk) {
        Complain(err) << "cannot open dictionary '" << given << "': its header " << given << kPathSeparator
                      << kHeaderFileName << " is missing or cannot be read" << kToolLineEnd;
        return kExitCannotOpen;
    }
    return kExitOk;
}

// ---- The commands.

int ListCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--json", false}}, options, io.err)) return kExitUsage;
    if (!NoOperands("list", options, io.err)) return kExitUsage;
    ResetToolState();
    ListDictionaries();
    bool json = options.Has("--json");
    if (json) io.out << "[";
    for (int i = 0; i < DictionaryCatalog.Count; ++i) {
        const CatalogEntry& slot = DictionaryCatalog.Slots[i];
        if (json) {
            io.out << (i ? "," : "") << kToolLineEnd << "  {\"index\": " << i
                   << ", \"folder\": " << JsonText(slot.Folder) << ", \"name\": " << JsonText(slot.DisplayName)
                   << "}";
        } else {
            io.out << i << '\t' << Cp1251ToUtf8(slot.Folder) << '\t' << Cp1251ToUtf8(slot.DisplayName)
                   << kToolLineEnd;
        }
    }
    if (json) io.out << (DictionaryCatalog.Count ? kToolLineEnd : "") << "]" << kToolLineEnd;
    io.out.flush();
    for (const UnnamableFolder& folder : UnlistedDictionaries()) {
        // The name as UTF-8, each character the code page lacks in its place.
        std::string name, first;
        size_t next = 0;
        for (unsigned char byte : folder.name)
            AppendUtf8(name, byte == kUnheldByte && next < folder.unheld.size() ? folder.unheld[next++]
                                                                                 : Cp1251ToUnicode(byte));
        AppendUtf8(first, folder.unheld[0]);
        Complain(io.err) << "the dictionary in the folder '" << name << "' is not listed: "
                         << CodePointName(folder.unheld[0]) << " (" << first << ") has no place in code page 1251"
                         << kToolLineEnd;
    }
    return kExitOk;
}

// One word a line; a line may end in CR LF.
static void ReadQueries(std::istream& in, std::vector<LookupQuery>& queries) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        queries.push_back({line, true, "", ""});
    }
}

bool GatherQueries(const char* command, const ToolOptions& options, ToolStreams& io,
                   std::vector<LookupQuery>& queries) {
    if (options.operands.empty()) {
        Complain(io.err) << command << " needs words, or - to read them from standard input" << kToolLineEnd;
        return false;
    }
    for (const std::string& operand : options.operands) {
        if (operand == "-") ReadQueries(io.in, queries);
        else queries.push_back({operand, false, "", ""});
    }
    // A word typed as an argument is refused before the first look-up, so a
    // typing mistake costs no output. A line of standard input that cannot
    // be a word is only a word not found: a list taken from real text goes on.
    for (LookupQuery& query : queries) {
        if (!query.fromInput) {
            if (!ToolArgumentToCp1251(query.text, query.word, io.err)) return false;
        } else {
            query.problem = Cp1251Problem(query.text, query.word);
        }
    }
    return true;
}

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
    } else if (match.result == kResultLetterCannotOpen) {
        err << "not found (letter file " << LetterFileName(match.letter)
            << (match.unreadable ? " cannot be read)" : " cannot be opened)");
    } else if (match.result == kResultNoDictionary) {
        err << "no dictionary open";
    } else {
        err << "not found";
    }
    ReportSuggestions(suggestions, err);
    err << kToolLineEnd;
}

std::string UnreadableTableText(const UnreadableTable& table) {
    return "the word-form table " + Cp1251ToUtf8(PlatformShownPath(table.path)) + " cannot be read" +
           (table.why.empty() ? "" : ": " + table.why);
}

void WarnUnreadLetters(const std::vector<unsigned char>& letters, std::ostream& err) {
    for (unsigned char letter : letters)
        Complain(err) << "letter file " << LetterFileName(letter)
                      << " cannot be read: its words are missing from the suggestions" << kToolLineEnd;
}

struct LookedUp {
    WordMatch match;
    std::string word;          // as the window's word edit holds it after the look-up
    std::string description;   // as the description edit shows it
    bool blank = false;        // nothing to look up
};

static bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// One word looked up as the Find command does it, base forms included: the
// word edit holds at most 999 bytes, which lose their trailing blanks; a
// blank word is nothing to look up.
static LookedUp LookUp(const std::string& typed, PluralRetry plural, BaseForms forms) {
    LookedUp answer;
    std::string word = typed.substr(0, kWordTextSize - 1);
    if (IsBlank(word)) {
        answer.blank = true;
        answer.match.result = kResultOk;
        answer.word = typed;
        return answer;
    }
    word.erase(word.find_last_not_of(' ') + 1);
    answer.match = FindWord(word.c_str(), OpenCaseRule(), plural, forms);
    // A word whose base forms could not be read is not known to be missing.
    if (answer.match.result == kResultNotFound && !answer.match.unreadableForms.path.empty())
        answer.match.result = kResultLetterCannotOpen;
    if (answer.match.withoutFinalS) word.pop_back();
    answer.word = answer.match.baseForm.empty() ? word : answer.match.baseForm;
    if (answer.match.result == kResultOk) {
        const LetterView held = HeldLetter();
        answer.description = FormatDescription(held, held.DescriptionOf(answer.match.entry));
    }
    return answer;
}

// What a word list may keep of the letters it has read.
static const size_t kListLetterCacheBytes = 256u << 20;

int LookupCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    if (!ParseToolOptions(args,
                          {{"--dict", true}, {"--no-plural", false}, {"--no-forms", false}, {"--json", false},
                           {"--suggest", false}},
                          options, io.err))
        return kExitUsage;
    std::vector<LookupQuery> queries;
    if (!GatherQueries("lookup", options, io, queries)) return kExitUsage;

    ResetToolState();
    int status = OpenToolDictionary(options.Value("--dict", kDefaultToolDictionary), io.err);
    if (status != kExitOk) return status;
    PluralRetry plural = options.Has("--no-plural") ? PluralRetry::Off : PluralRetry::On;
    BaseForms forms = options.Has("--no-forms") ? BaseForms::Off : BaseForms::On;
    bool json = options.Has("--json");
    const bool suggest = options.Has("--suggest");
    bool warned = false;
    bool anyShown = false;
    // A list that jumps between letters reads each letter file once.
    LetterCacheScope keepLetters(queries.size() > 1 ? kListLetterCacheBytes : 0);
    if (json) io.out << "[";
    for (size_t i = 0; i < queries.size(); ++i) {
        const LookupQuery& query = queries[i];
        LookedUp answer = query.problem.empty() ? LookUp(query.word, plural, forms) : LookedUp{};
        std::vector<std::string> suggestions;
        if (answer.match.result != kResultOk) {
            status = answer.match.result;
            if (suggest && query.problem.empty()) {
                OpenSuggestions found = SuggestionsForMiss(query.word.c_str(), plural, forms, kLookupSuggestions);
                if (!warned) WarnUnreadLetters(found.unreadable, io.err);
                warned = warned || !found.unreadable.empty();
                suggestions = std::move(found.words);
            }
            ReportMiss(query, answer.match, suggestions, io.err);
        }
        if (json) {
            io.out << (i ? "," : "") << kToolLineEnd << "  {\"query\": " << JsonString(query.text)
                   << ", \"word\": " << JsonText(answer.word);
            // Only a word found through its base form says so.
            if (!answer.match.baseForm.empty()) io.out << ", \"base_form_of\": " << JsonString(query.text);
            io.out << ", \"result\": " << answer.match.result << ", \"description\": " << JsonText(answer.description);
            if (suggest && answer.match.result != kResultOk) io.out << ", \"suggestions\": " << JsonWords(suggestions);
            io.out << "}";
        } else if (answer.match.result == kResultOk && !answer.blank) {
            // An empty line between the descriptions of successive words.
            if (anyShown) io.out << kToolLineEnd;
            io.out << PlainText(answer.description) << kToolLineEnd;
            anyShown = true;
        }
    }
    if (json) io.out << (queries.empty() ? "" : kToolLineEnd) << "]" << kToolLineEnd;
    io.out.flush();
    // After the answer: the next process halves the letters this one walked.
    KeepWalkedLetterIndexes();
    KeepWalkedWordFormsIndexes();
    return status;
}

int StatsCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--dict", true}, {"--json", false}}, options, io.err)) return kExitUsage;
    if (!NoOperands("stats", options, io.err)) return kExitUsage;
    ResetToolState();
    int status = OpenToolDictionary(options.Value("--dict", kDefaultToolDictionary), io.err);
    if (status != kExitOk) return status;
    Statistics stats = DictionaryStatistics();
    if (stats.unreadable) {
        Complain(io.err) << "stats: " << options.Value("--dict", kDefaultToolDictionary) << kPathSeparator
                         << LetterFileName(stats.unreadable) << " cannot be read"
                         << (stats.why.empty() ? "" : " (" + stats.why + ")")
                         << ", so its entries cannot be counted" << kToolLineEnd;
        return kExitCannotOpen;
    }
    if (options.Has("--json"))
        io.out << "{\"entries\": " << stats.entries << ", \"size\": " << stats.size << "}" << kToolLineEnd;
    else
        io.out << "entries: " << stats.entries << kToolLineEnd << "size: " << stats.size << kToolLineEnd;
    io.out.flush();
    return kExitOk;
}

// ---- The command line.

static void WriteUsage(std::ostream& out, const std::vector<ToolCommand>& commands) {
    const char* nl = kToolLineEnd;
    out << "usage: " << kProgram << " [--root DIR] COMMAND [OPTIONS]" << nl << nl << "commands:" << nl;
    for (const ToolCommand& command : commands)
        if (command.synopsis) out << "  " << command.name << " " << command.synopsis << nl << "      " << command.summary << nl;
    out << nl
        << "options:" << nl
        << "  --root DIR     the program folder that holds the dictionaries (default: the current folder)" << nl
        << "  --dict FOLDER  the dictionary to use (default: " << kDefaultToolDictionary << ")" << nl
        << "  --json         JSON output instead of plain text" << nl
        << "  --             ends the options (before a word that begins with -)" << nl
        << "  --help         this text" << nl
        << "  --version      the release of the tool" << nl
        << nl
        << "Words, names and descriptions are UTF-8; the dictionaries hold code page 1251." << nl
        << "Exit status: 0 done, every word found; 3 or 6 the word last not found" << nl
        << "(3: its letter file, or a word-form table it needs, cannot be opened or read;" << nl
        << "suggest: 6 a word without suggestions; forms: 6 a word without base forms);" << nl
        << "1 the dictionary or folder cannot be opened; 2 a command line that cannot be used." << nl;
}

std::filesystem::path& ToolStartFolder() {
    static std::filesystem::path folder;
    return folder;
}

std::string ToolUserPath(const std::string& path) {
    std::filesystem::path given = std::filesystem::u8path(path);
    if (given.is_absolute() || ToolStartFolder().empty()) return path;
    return (ToolStartFolder() / given).u8string();
}

static bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

int RunTool(const std::vector<std::string>& args, const std::vector<ToolCommand>& commands,
            ToolStreams& io) {
    if (args.empty()) {
        WriteUsage(io.err, commands);
        return kExitUsage;
    }
    std::string root;
    size_t at = 0;
    for (; at < args.size() && args[at].size() > 1 && args[at][0] == '-'; ++at) {
        if (IsHelp(args[at])) {
            WriteUsage(io.out, commands);
            return kExitOk;
        }
        if (args[at] == "--version") {
            io.out << kProgram << " " << DICTIONARY_VERSION << kToolLineEnd;
            return kExitOk;
        }
        if (args[at] != "--root") {
            Complain(io.err) << "unknown option '" << Printable(args[at]) << "' (try --help)" << kToolLineEnd;
            return kExitUsage;
        }
        if (++at == args.size()) {
            Complain(io.err) << "option '--root' needs a value" << kToolLineEnd;
            return kExitUsage;
        }
        root = args[at];
    }
    if (at == args.size()) {
        Complain(io.err) << "no command given (try --help)" << kToolLineEnd;
        return kExitUsage;
    }
    const ToolCommand* command = nullptr;
    for (const ToolCommand& candidate : commands)
        if (args[at] == candidate.name) command = &candidate;
    if (!command) {
        Complain(io.err) << "unknown command '" << Printable(args[at]) << "' (try --help)" << kToolLineEnd;
        return kExitUsage;
    }
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(at) + 1, args.end());
    for (const std::string& arg : rest) {
        if (arg == "--") break;
        if (IsHelp(arg)) {
            WriteUsage(io.out, commands);
            return kExitOk;
        }
    }
    std::filesystem::path started = std::filesystem::current_path();
    if (!root.empty()) {
        // Paths of the dictionaries are relative to the program folder.
        std::error_code failed;
        try {
            std::filesystem::current_path(std::filesystem::u8path(root), failed);
        } catch (const std::exception&) {
            failed = std::make_error_code(std::errc::invalid_argument);
        }
        if (failed) {
            Complain(io.err) << "cannot enter the program folder '" << Printable(root) << "'" << kToolLineEnd;
            return kExitCannotOpen;
        }
    }
    // Without --root the start folder is the current one: names stay as
    // given, relative ones too.
    if (!root.empty()) ToolStartFolder() = started;
    int status;
    try {
        status = command->run(rest, io);
    } catch (const std::bad_alloc&) {
        // Files are only ever replaced whole, so stopping here loses nothing.
        Complain(io.err) << command->name << ": not enough memory to go on" << kToolLineEnd;
        status = kExitCannotOpen;
    }
    // Commands run on their own (the tests) take paths as they are.
    ToolStartFolder().clear();
    return status;
}

#ifndef _WIN32
// Elsewhere the arguments already are what the terminal typed, and the
// streams pass bytes unchanged.
std::vector<std::string> ToolCommandLine(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void PrepareToolStreams() {}
#endif
