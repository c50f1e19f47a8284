// dictionary-tool add and delete: the rules of the window's Add and Delete
// buttons (lookup/entry_edits.h), for scripts and for tests that need
// another process. Their outcomes become messages and exit statuses.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

// Nothing was changed: the word is there and --replace was not given, or the
// change was refused (the message says why). The word to delete is not
// there: 6, as a look-up that does not find it.
enum : int { kExitNotChanged = 4, kExitNotFound = 6 };

int AddCommand(const std::vector<std::string>& args, ToolContext& io);
int DeleteCommand(const std::vector<std::string>& args, ToolContext& io);
