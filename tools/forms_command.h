// dictionary-tool forms [--dict FOLDER] [--json] WORD... | -: the base forms
// that the word-form tables give for each word, in preference order, with
// the case rule of the dictionary named (the one a look-up would use).
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int FormsCommand(const std::vector<std::string>& args, ToolContext& io);
