#include "tools/tool_support.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "maintenance/codepage.h"
#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "tools/json.h"

#ifdef _WIN32
const char* const kToolLineEnd = "\r\n";
static const char kPathSeparator = '\\';
#else
const char* const kToolLineEnd = "\n";
static const char kPathSeparator = '/';
#endif
const char* const kDefaultToolDictionary = "English_Bulgarian";
const char* const kToolName = "dictionary-tool";

// ---- Messages and conversions.

std::string Printable(const std::string& text) {
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

std::ostream& Complain(std::ostream& err) { return err << kToolName << ": "; }

bool ToolArgumentToCp1251(const std::string& argument, std::string& out, std::ostream& err) {
    std::string problem = Cp1251Problem(argument, out);
    if (problem.empty()) return true;
    Complain(err) << "'" << Printable(argument) << "' cannot be used: " << problem << kToolLineEnd;
    return false;
}

std::string PlainText(const std::string& bytes) {
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

std::string JsonText(const std::string& bytes) { return JsonString(Cp1251ToUtf8(bytes)); }

std::string JsonWords(const std::vector<std::string>& words) {
    std::string list = "[";
    for (size_t i = 0; i < words.size(); ++i) list += (i ? ", " : "") + JsonText(words[i]);
    return list + "]";
}

// ---- Options.

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

bool NoOperands(const char* command, const ToolOptions& options, std::ostream& err) {
    if (options.operands.empty()) return true;
    Complain(err) << command << " takes no words ('" << Printable(options.operands[0]) << "')" << kToolLineEnd;
    return false;
}

// ---- Words to look up.

// One word a line; a line may end in CR LF.
static void ReadQueries(std::istream& in, std::vector<LookupQuery>& queries) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        queries.push_back({line, true, "", ""});
    }
}

bool GatherQueries(const char* command, const ToolOptions& options, ToolContext& io,
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

int PrepareQueries(const char* command, const ToolOptions& options, ToolContext& io,
                   std::vector<LookupQuery>& queries, Dictionary& dictionary) {
    if (!GatherQueries(command, options, io, queries)) return kExitUsage;
    return OpenToolDictionary(options.Value("--dict", kDefaultToolDictionary), io, dictionary);
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

// ---- The dictionary a command names.

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

int OpenToolDictionary(const std::string& given, ToolContext& io, Dictionary& dictionary) {
    std::string folder;
    if (!ToolDictionaryFolder(given, folder, io.err)) return kExitUsage;
    dictionary = Dictionary(io.programFolder);
    if (OpenDictionary(dictionary, folder.c_str()) != OpenOutcome::Opened) {
        Complain(io.err) << "cannot open dictionary '" << given << "': its header "
                         << ToolShownFile(given, kHeaderFileName) << " is missing or cannot be read" << kToolLineEnd;
        return kExitCannotOpen;
    }
    return kExitOk;
}

std::string ToolShownFile(const std::string& folder, const std::string& file) {
    return folder + kPathSeparator + file;
}

