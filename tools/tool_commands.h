// The commands of dictionary-tool. Each takes its arguments (the words after
// the command name, UTF-8), the standard streams and the program folder,
// and returns the exit status, so tests can run them directly on string
// streams. Every command is a thin caller of the rules below (lookup/,
// maintenance/): it turns their outcomes into output and an exit status.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

enum : int { kExitOk = 0, kExitCannotOpen = 1, kExitUsage = 2 };

// What a command runs with.
struct ToolContext {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // The program folder that holds the dictionaries (--root), as files are
    // opened; empty: the current folder.
    std::string programFolder;
};

struct ToolCommand {
    const char* name;
    int (*run)(const std::vector<std::string>& args, ToolContext& io);
    const char* synopsis;   // what follows the name on the usage line; none: a command the
                            // usage does not list (the installer's)
    const char* summary;
};
