// dictionary-tool lookup [--dict FOLDER] [--no-plural] [--no-forms]
// [--suggest] [--json] WORD... | -: each word looked up as the window's
// Find looks it up (lookup/lookup.h), its description printed; the exit
// status is the result of the last word not found (3, 5 or 6).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/tool_commands.h"

// How many suggestions `lookup --suggest` adds to a word not found.
constexpr size_t kLookupSuggestions = 5;

int LookupCommand(const std::vector<std::string>& args, ToolContext& io);
