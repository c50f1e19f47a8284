#include "tools/run_tool.h"

#include <new>
#include <ostream>

#include "dictionary_version.h"
#include "maintenance/codepage.h"
#include "platform/files.h"
#include "tools/tool_support.h"

static void WriteUsage(std::ostream& out, const std::vector<ToolCommand>& commands) {
    const char* nl = kToolLineEnd;
    out << "usage: " << kToolName << " [--root DIR] COMMAND [OPTIONS]" << nl << nl << "commands:" << nl;
    for (const ToolCommand& command : commands)
        if (command.synopsis)
            out << "  " << command.name << " " << command.synopsis << nl << "      " << command.summary << nl;
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

static bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

int RunTool(const std::vector<std::string>& args, const std::vector<ToolCommand>& commands, ToolContext& io) {
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
            io.out << kToolName << " " << DICTIONARY_VERSION << kToolLineEnd;
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
    if (!root.empty()) {
        // The dictionaries are in the program folder: every command opens
        // its files there, and files named on the command line stay where
        // the tool was started (the tool never changes its current folder).
        std::string problem;
        if (!PathOfTypedName(root, io.programFolder, problem) || !PlatformIsFolder(io.programFolder.c_str())) {
            Complain(io.err) << "cannot enter the program folder '" << Printable(root) << "'" << kToolLineEnd;
            return kExitCannotOpen;
        }
    }
    int status;
    try {
        status = command->run(rest, io);
    } catch (const std::bad_alloc&) {
        // Files are only ever replaced whole, so stopping here loses nothing.
        Complain(io.err) << command->name << ": not enough memory to go on" << kToolLineEnd;
        status = kExitCannotOpen;
    }
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
