// dictionary-tool add and delete: the window's Add and Delete buttons on the
// headless platform, for scripts and for tests that need another process.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

// Nothing was changed: the word is there and --replace was not given, or the
// change was refused (the message says why). The word to delete is not
// there: 6, as a look-up that does not find it.
enum : int { kExitNotChanged = 4, kExitNotFound = 6 };

int AddCommand(const std::vector<std::string>& args, ToolStreams& io);
int DeleteCommand(const std::vector<std::string>& args, ToolStreams& io);
