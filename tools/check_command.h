// dictionary-tool check [--dict FOLDER] [--fix]: every problem of a
// dictionary's files, each with its file and byte offset, and with --fix
// their repair (maintenance/check.h).
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int CheckCommand(const std::vector<std::string>& args, ToolContext& io);
