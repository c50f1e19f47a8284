// The native dictionary-tool run as a child process in the current folder,
// as a shell runs it: to the end, or killed on purpose.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ToolProcessResult {
    int status = -1;    // exit status; -1 when a signal ended it
    int signal = 0;     // the signal that ended it, 0 when it exited
    std::string out, err;
};

struct ToolProcessLimits {
    unsigned long long addressSpace = 0;   // bytes of address space; 0: no limit
    unsigned long long fileSize = 0;       // the largest file it may write, as on a full disk; 0: no limit
};

// Runs the tool with `args` and `input` on its standard input, and waits;
// several threads may each run one at once.
ToolProcessResult RunToolProcess(const std::vector<std::string>& args, const std::string& input = "",
                                 const ToolProcessLimits& limits = {});

// Starts the tool with its output thrown away; the caller waits or kills.
pid_t StartToolProcess(const std::vector<std::string>& args);
// Waits for a started tool: its exit status, or -1 when a signal ended it.
int WaitToolProcess(pid_t child);

// True when this build runs under AddressSanitizer, which reserves far more
// address space than a memory limit lets a child have.
bool BuiltWithAddressSanitizer();

// A number from the environment, or `fallback` when it is unset or unusable.
double EnvironmentNumber(const char* name, double fallback);
