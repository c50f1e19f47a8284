// dictionary-tool export --dict FOLDER [--to FILE]: the whole dictionary as
// tab-separated UTF-8 text, the form the tsv import reads back.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int ExportCommand(const std::vector<std::string>& args, ToolStreams& io);

// The tsv text of the open dictionary's letter files, in letter order and
// each in file order; `entries` receives their number.
std::string ExportDictionaryText(const char* folder, unsigned long long& entries);
