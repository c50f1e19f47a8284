// dictionary-tool export [--dict FOLDER] [--to FILE]: the whole dictionary
// as tab-separated UTF-8 text (maintenance/export.h).
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int ExportCommand(const std::vector<std::string>& args, ToolContext& io);
