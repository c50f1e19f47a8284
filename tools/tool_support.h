// What the commands of dictionary-tool share: messages, conversions between
// the terminal's UTF-8 and the dictionaries' code page, options, the words
// to look up, and the dictionary a command names.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "lookup/word_forms.h"
#include "storage/dictionary.h"
#include "tools/tool_commands.h"

// Line end of plain output: the platform's own.
extern const char* const kToolLineEnd;
extern const char* const kDefaultToolDictionary;
extern const char* const kToolName;

// "dictionary-tool: " before a message.
std::ostream& Complain(std::ostream& err);
// An argument as it can be shown in a message: bytes that are not UTF-8,
// and control characters, appear as \xNN.
std::string Printable(const std::string& text);

// The dictionaries' code page form of a UTF-8 argument. False, with a
// message naming the argument, when it is not UTF-8, holds a character the
// code page lacks, or holds a NUL.
bool ToolArgumentToCp1251(const std::string& argument, std::string& out, std::ostream& err);
// Dictionary bytes as terminal text, CR LF as the platform's line end.
std::string PlainText(const std::string& bytes);
// Dictionary bytes as a JSON string, and words as a JSON list of strings.
std::string JsonText(const std::string& bytes);
std::string JsonWords(const std::vector<std::string>& words);

struct ToolOption {
    const char* name;
    bool takesValue;
};
struct ToolOptions {
    std::map<std::string, std::string> given;   // option -> value ("" for flags)
    std::vector<std::string> operands;
    bool Has(const char* name) const { return given.count(name) != 0; }
    std::string Value(const char* name, const std::string& fallback) const;
};
// Splits the arguments into known options and operands ("--" ends the
// options; "-" alone is an operand). False, with a message, for an unknown
// option or a missing value.
bool ParseToolOptions(const std::vector<std::string>& args, const std::vector<ToolOption>& known,
                      ToolOptions& out, std::ostream& err);
// False, with a message, when the command was given words.
bool NoOperands(const char* command, const ToolOptions& options, std::ostream& err);

// A word to look up, as an argument or a line of standard input gave it.
struct LookupQuery {
    std::string text;       // as given, UTF-8 when usable
    bool fromInput;         // a line of standard input rather than an argument
    std::string word;       // the code page form
    std::string problem;    // why it cannot be looked up ("" when it can)
};
// The words of the operands, "-" taking the lines of standard input. False,
// with a message, when there are none or an argument cannot be a word; a
// line that cannot be one keeps its `problem`.
bool GatherQueries(const char* command, const ToolOptions& options, ToolContext& io,
                   std::vector<LookupQuery>& queries);
// The words (GatherQueries), then the dictionary of --dict opened: kExitOk,
// or the exit status after a message.
int PrepareQueries(const char* command, const ToolOptions& options, ToolContext& io,
                   std::vector<LookupQuery>& queries, Dictionary& dictionary);
// A word-form table that could not be read, for a message: its path as
// the system writes paths (UTF-8) and the system's reason.
std::string UnreadableTableText(const UnreadableTable& table);
// Says, once each, which letter files could not be searched for suggestions.
void WarnUnreadLetters(const std::vector<unsigned char>& letters, std::ostream& err);

// The code page name of the dictionary folder a command names (UTF-8):
// false, with a message, unless it is one folder of the program folder.
bool ToolDictionaryFolder(const std::string& given, std::string& folder, std::ostream& err);
// Opens the dictionary the command names (UTF-8) in the program folder.
// kExitOk, or an exit status with a message on `err`.
int OpenToolDictionary(const std::string& given, ToolContext& io, Dictionary& dictionary);

// A file of a dictionary folder named by the command (UTF-8) as messages
// name it: with the platform's path separator.
std::string ToolShownFile(const std::string& folder, const std::string& file);
