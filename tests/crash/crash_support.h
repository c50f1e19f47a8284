// Running dictionary-tool as another process over a program folder, and
// reading a dictionary folder's files as they are on disk.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "tests/unit/test_support.h"

// The tool the build made (DICTIONARY_TOOL); empty when it is not given.
std::string ToolPath();
// A program folder of its own, `root_`, as the current directory
// (ProgramFolderTest), for the tests that run tool processes there; skipped
// without a tool.
class ToolFolderTest : public ProgramFolderTest {
protected:
    void SetUp() override;
};

// Starts the tool with `args` in `folder`; its output goes to the file
// `output`, or is thrown away.
pid_t StartTool(const std::string& folder, const std::vector<std::string>& args, const char* output = nullptr);
// Waits for it: the exit status, or -signal when a signal ended it.
int WaitTool(pid_t process);
int RunTool(const std::string& folder, const std::vector<std::string>& args);
// Limits of a tool process, as a small machine or a full disk sets them.
struct ToolLimits {
    unsigned long long addressSpace = 0;   // bytes; 0: none
    unsigned long long fileSize = 0;       // the largest file it may write; 0: none
};
struct ToolRun {
    int status;            // as WaitTool gives it
    std::string output;    // both its streams
};
// Runs the tool with `args` in `folder` to its end, under the limits;
// several threads may each run one at once.
ToolRun RunToolCapturing(const std::string& folder, const std::vector<std::string>& args,
                         const ToolLimits& limits = {});
// True in a build with AddressSanitizer, which needs far more address space
// than a memory limit leaves.
bool BuiltWithAddressSanitizer();
// Runs `check` on the dictionary: "" when it is clean, else what it says.
std::string CheckProblems(const std::string& folder, const std::string& dictionary);

// The files of a dictionary folder by name; `temporary` receives the names
// of writers' temporary files (left out of the result).
std::map<std::string, std::string> DictionaryFiles(const std::string& folder,
                                                    std::vector<std::string>* temporary = nullptr);
// The words of a letter file, in file order.
std::vector<std::string> WordsOf(const std::string& letterFile);
