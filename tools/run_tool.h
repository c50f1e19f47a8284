// The command line of dictionary-tool: the global options (--root, --help,
// --version), the usage, and the command of the table it names.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

// Runs a command line (without the program name): the global options, the
// usage, the program folder, then the command of the table it names.
int RunTool(const std::vector<std::string>& args, const std::vector<ToolCommand>& commands, ToolContext& io);

// The process's arguments as UTF-8, without the program name, and the
// standard streams set up to carry UTF-8 bytes unchanged. Windows takes
// them from the wide command line (args_win32.cpp).
std::vector<std::string> ToolCommandLine(int argc, char** argv);
void PrepareToolStreams();
