// The commands the installer and the uninstaller run (the usage does not
// list them), in the program folder (--root):
//   install-files STAGING   puts the release unpacked in STAGING in place
//   uninstall-files         removes what the installer put there
// Both first ask the copies of the program running from the folder to quit
// and wait for every program of the folder to end.
#pragma once

#include <string>
#include <vector>

#include "tools/tool_commands.h"

// A program of the folder still runs: nothing was changed. (1: something
// could not be done; the lines say what.)
enum : int { kExitProgramsRunning = 5 };

int InstallFilesCommand(const std::vector<std::string>& args, ToolStreams& io);
int UninstallFilesCommand(const std::vector<std::string>& args, ToolStreams& io);
