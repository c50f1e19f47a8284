// Runs one dictionary-tool command on string streams, as the shell would.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tools/tool_commands.h"

struct ToolResult {
    int status;
    std::string out, err;
};

inline ToolResult Tool(int (*command)(const std::vector<std::string>&, ToolStreams&),
                       const std::vector<std::string>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    ToolStreams io{in, out, err};
    int status = command(args, io);
    return {status, out.str(), err.str()};
}
