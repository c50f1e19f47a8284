// Running dictionary-tool as another process over a program folder, and
// reading a dictionary folder's files as they are on disk.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

// The tool the build made (DICTIONARY_TOOL); empty when it is not given.
std::string ToolPath();
// A test of tool processes in a program folder of its own, `root_`; skipped
// without a tool.
class ToolProcessTest : public ::testing::Test {
protected:
    explicit ToolProcessTest(const char* name);
    void SetUp() override;
    void TearDown() override;
    std::string root_;

private:
    std::string name_;
};

// Starts the tool with `args` in `folder`; its output goes to the file
// `output`, or is thrown away.
pid_t StartTool(const std::string& folder, const std::vector<std::string>& args, const char* output = nullptr);
// Waits for it: the exit status, or -signal when a signal ended it.
int WaitTool(pid_t process);
int RunTool(const std::string& folder, const std::vector<std::string>& args);
// Runs `check` on the dictionary: "" when it is clean, else what it says.
std::string CheckProblems(const std::string& folder, const std::string& dictionary);

// The files of a dictionary folder by name; `temporary` receives the names
// of writers' temporary files (left out of the result).
std::map<std::string, std::string> DictionaryFiles(const std::string& folder,
                                                    std::vector<std::string>* temporary = nullptr);
// The words of a letter file, in file order.
std::vector<std::string> WordsOf(const std::string& letterFile);
