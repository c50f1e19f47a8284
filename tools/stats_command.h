// dictionary-tool stats [--dict FOLDER] [--json]: the number of entries and
// the size of a dictionary, as its Info dialog counts them.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int StatsCommand(const std::vector<std::string>& args, ToolContext& io);
