#include "tests/crash/crash_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "storage/dictionary_format.h"

extern char** environ;

std::string ToolPath() {
    const char* path = std::getenv("DICTIONARY_TOOL");
    return path ? path : "";
}

pid_t StartTool(const std::string& folder, const std::vector<std::string>& args, const char* output) {
    std::vector<std::string> all = {ToolPath(), "--root", folder};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const char* to = output ? output : "/dev/null";
    posix_spawn_file_actions_addopen(&actions, 1, to, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t process = -1;
    if (posix_spawn(&process, argv[0], &actions, nullptr, argv.data(), environ) != 0) process = -1;
    posix_spawn_file_actions_destroy(&actions);
    return process;
}

int WaitTool(pid_t process) {
    int status = 0;
    if (process <= 0 || waitpid(process, &status, 0) != process) return -1000;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

int RunTool(const std::string& folder, const std::vector<std::string>& args) {
    return WaitTool(StartTool(folder, args));
}

void ToolFolderTest::SetUp() {
    ProgramFolderTest::SetUp();
    if (ToolPath().empty()) GTEST_SKIP() << "DICTIONARY_TOOL names no tool";
}

// posix_spawn sets no limits: the child sets them itself between fork and
// exec, with everything it needs made before the fork.
static pid_t StartLimited(const std::string& folder, const std::vector<std::string>& args, const std::string& output,
                          const ToolLimits& limits) {
    std::vector<std::string> all = {ToolPath(), "--root", folder};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child != 0) return child;
    int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) _exit(127);
    rlimit limit{limits.addressSpace, limits.addressSpace};
    if (limits.addressSpace && setrlimit(RLIMIT_AS, &limit) != 0) _exit(127);
    if (limits.fileSize) {
        // A write past the limit then fails as on a full disk, instead of
        // ending the process.
        signal(SIGXFSZ, SIG_IGN);
        limit = {limits.fileSize, limits.fileSize};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
}

ToolRun RunToolCapturing(const std::string& folder, const std::vector<std::string>& args, const ToolLimits& limits) {
    // Outside the program folder, so that the tool never sees it.
    static std::atomic<unsigned> count{0};
    std::string output = (std::filesystem::temp_directory_path() /
                          ("dictionary-tool-output-" + std::to_string(getpid()) + "-" + std::to_string(++count)))
                             .string();
    bool limited = limits.addressSpace || limits.fileSize;
    int status = WaitTool(limited ? StartLimited(folder, args, output, limits) : StartTool(folder, args, output.c_str()));
    std::ifstream in(output, std::ios::binary);
    std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::filesystem::remove(output);
    return {status, said};
}

bool BuiltWithAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

std::string CheckProblems(const std::string& folder, const std::string& dictionary) {
    ToolRun run = RunToolCapturing(folder, {"check", "--dict", dictionary});
    return run.status == 0 ? "" : run.output.empty() ? "exit status " + std::to_string(run.status) : run.output;
}

std::map<std::string, std::string> DictionaryFiles(const std::string& folder, std::vector<std::string>* temporary) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (IsWriterTempFileName(name.c_str())) {
            if (temporary) temporary->push_back(name);
            continue;
        }
        if (name == kWriterLockName || !entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[name] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

std::vector<std::string> WordsOf(const std::string& letterFile) {
    std::vector<std::string> words;
    for (size_t at = 0; at < letterFile.size();) {
        size_t word = letterFile.find('\0', at);
        if (word == std::string::npos) break;
        words.push_back(letterFile.substr(at, word - at));
        size_t description = letterFile.find('\0', word + 1);
        if (description == std::string::npos) break;
        at = description + 1;
    }
    return words;
}
