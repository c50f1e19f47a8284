// dictionary-tool import FORMAT SOURCE... --to FOLDER [--name NAME] [--dual]
// [--case-sensitive]: a dictionary made from, or extended by, open formats.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int ImportCommand(const std::vector<std::string>& args, ToolContext& io);
