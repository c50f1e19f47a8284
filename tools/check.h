// dictionary-tool check [--dict FOLDER] [--fix]: what in a dictionary's files
// breaks the look-up, each problem with its file and byte offset, and the
// repair that keeps every readable entry.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

int CheckCommand(const std::vector<std::string>& args, ToolStreams& io);

struct CheckReport {
    std::vector<std::string> problems;   // one line each, "FILE offset N: ..."
    bool headerMissing = false;
    bool headerNeedsRepair = false;      // short, or a name without terminator
    bool lettersNeedRepair = false;
    int32_t caseSensitive = 0;           // from the header (0 when it does not say)
};

// Checks the dictionary in `folder` (code page name, relative to the
// program folder). Sets CurrentDictionary's folder and case rule.
CheckReport CheckDictionary(const std::string& folder);
// Rewrites what CheckDictionary found broken; what could not be kept, and
// what was changed, goes to `notes`. False when a file cannot be written or
// there is no header to go by.
bool RepairDictionary(const std::string& folder, const CheckReport& report, std::vector<std::string>& notes);
