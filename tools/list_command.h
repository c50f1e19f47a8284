// dictionary-tool list [--json]: the dictionaries of the program folder, as
// the window's catalogue lists them: index, folder, name.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int ListCommand(const std::vector<std::string>& args, ToolContext& io);
