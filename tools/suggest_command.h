// dictionary-tool suggest [--dict FOLDER] [--json] [--limit N] WORD... | -:
// the spelling suggestions for each word the dictionary does not hold
// (lookup/suggest.h), best first.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int SuggestCommand(const std::vector<std::string>& args, ToolContext& io);
