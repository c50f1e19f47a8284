// dictionary-tool: the dictionary's storage and look-up from the command
// line, on the headless platform.
#include <iostream>
#include <vector>

#include "tools/tool_commands.h"

// One entry per command: name, function, synopsis, summary.
static const std::vector<ToolCommand> kCommands = {
    {"list", ListCommand, "[--json]", "the dictionaries of the program folder: index, folder, name"},
    {"lookup", LookupCommand, "[--dict FOLDER] [--no-plural] [--json] WORD... | -",
     "looks the words up in turn ('-': one word a line from standard input)"},
    {"stats", StatsCommand, "[--dict FOLDER] [--json]", "the number of entries and the size of a dictionary"},
};

int main(int argc, char** argv) {
    PrepareToolStreams();
    ToolStreams io{std::cin, std::cout, std::cerr};
    return RunTool(ToolCommandLine(argc, argv), kCommands, io);
}
