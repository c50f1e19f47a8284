#include "tools/install_commands.h"

#include <ostream>

#include "maintenance/installation.h"
#include "storage/dictionary.h"
#include "tools/running_programs.h"

// How long the programs of the folder get to end.
constexpr int kProgramsEndWaitMilliseconds = 20000;

// Names are printed as the system gave them, in its code page, which is
// what the installer reads the output in.
static int Report(const InstallationOutcome& outcome, ToolStreams& io) {
    for (const std::string& line : outcome.lines) io.out << line << kToolLineEnd;
    io.out.flush();
    return outcome.done ? kExitOk : kExitCannotOpen;
}

static bool NoProgramsRunning(ToolStreams& io) {
    std::vector<std::string> running = EndProgramsRunningHere(kProgramsEndWaitMilliseconds);
    for (const std::string& program : running)
        io.out << program << ": still running; close it and try again" << kToolLineEnd;
    io.out.flush();
    return running.empty();
}

int InstallFilesCommand(const std::vector<std::string>& args, ToolStreams& io) {
    if (args.size() != 1 || !IsPlainFolderName(args[0].c_str())) {
        io.err << "dictionary-tool: install-files takes the folder of the program folder that holds the release"
               << kToolLineEnd;
        return kExitUsage;
    }
    if (!NoProgramsRunning(io)) return kExitProgramsRunning;
    ResetToolState();
    return Report(InstallRelease(args[0]), io);
}

int UninstallFilesCommand(const std::vector<std::string>& args, ToolStreams& io) {
    if (!args.empty()) {
        io.err << "dictionary-tool: uninstall-files takes nothing" << kToolLineEnd;
        return kExitUsage;
    }
    if (!NoProgramsRunning(io)) return kExitProgramsRunning;
    ResetToolState();
    return Report(RemoveInstalledFiles(), io);
}
