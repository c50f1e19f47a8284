// The commands of dictionary-tool. Each takes its arguments (the words after
// the command name, UTF-8) and the standard streams, and returns the exit
// status, so tests can run them directly on string streams.
#pragma once

#include <filesystem>

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "lookup/word_forms.h"

enum : int { kExitOk = 0, kExitCannotOpen = 1, kExitUsage = 2 };

struct ToolStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

struct ToolCommand {
    const char* name;
    int (*run)(const std::vector<std::string>& args, ToolStreams& io);
    const char* synopsis;   // what follows the name on the usage line; none: a command the
                            // usage does not list (the installer's)
    const char* summary;
};

// Runs a command line (without the program name): the global options, the
// usage, the program folder, then the command of the table it names.
int RunTool(const std::vector<std::string>& args, const std::vector<ToolCommand>& commands,
            ToolStreams& io);

int ListCommand(const std::vector<std::string>& args, ToolStreams& io);
int LookupCommand(const std::vector<std::string>& args, ToolStreams& io);
int StatsCommand(const std::vector<std::string>& args, ToolStreams& io);

// ---- Helpers for the commands.

// Line end of plain output: the platform's own.
extern const char* const kToolLineEnd;
extern const char* const kDefaultToolDictionary;

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
bool GatherQueries(const char* command, const ToolOptions& options, ToolStreams& io,
                   std::vector<LookupQuery>& queries);
// How many suggestions `lookup --suggest` adds to a word not found.
constexpr size_t kLookupSuggestions = 5;
// Words of the dictionary as a JSON list of strings.
std::string JsonWords(const std::vector<std::string>& words);
// Says, once each, which letter files could not be searched for suggestions.
void WarnUnreadLetters(const std::vector<unsigned char>& letters, std::ostream& err);

// The dictionaries' code page form of a UTF-8 argument. False, with a
// message naming the argument, when it is not UTF-8, holds a character the
// code page lacks, or holds a NUL.
bool ToolArgumentToCp1251(const std::string& argument, std::string& out, std::ostream& err);

// Every process-wide record at its start-up value on a hidden headless
// window, with auto-completion off so that a word typed in is kept as given.
void ResetToolState();

// The code page name of the dictionary folder a command names (UTF-8):
// false, with a message, unless it is one folder of the program folder.
bool ToolDictionaryFolder(const std::string& given, std::string& folder, std::ostream& err);
// Opens the dictionary the command names (UTF-8). kExitOk, or an exit
// status with a message on `err`.
int OpenToolDictionary(const std::string& given, std::ostream& err);

// A word-form table that could not be read, for a message: its path as
// the system writes paths (UTF-8) and the system's reason.
std::string UnreadableTableText(const UnreadableTable& table);

// The process's arguments as UTF-8, without the program name, and the
// standard streams set up to carry UTF-8 bytes unchanged. Windows takes
// them from the wide command line (args_win32.cpp).
std::vector<std::string> ToolCommandLine(int argc, char** argv);
void PrepareToolStreams();

// The folder the tool was started in, before --root moved it; files named on
// the command line (import sources, export targets) are relative to it.
// Empty when --root was not given.
std::filesystem::path& ToolStartFolder();
// A file named on the command line, from where the tool was started; UTF-8
// in and out (PathOfTypedName, maintenance/codepage.h, gives it to the files).
std::string ToolUserPath(const std::string& path);
