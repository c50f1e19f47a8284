#include "tests/processes/tool_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A temporary file outside the program folder, so that the tool never sees it.
std::string TempName(const char* what) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/dictionary-tool-" + what + "-" +
           std::to_string(::getpid());
}

// In the child: standard streams onto the given files, then the tool.
[[noreturn]] void ExecTool(const std::vector<std::string>& args, const char* in, const char* out, const char* err,
                           const ToolProcessLimits& limits) {
    int files[3] = {open(in, O_RDONLY), open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644),
                    open(err, O_WRONLY | O_CREAT | O_TRUNC, 0644)};
    for (int i = 0; i < 3; ++i) {
        if (files[i] < 0 || dup2(files[i], i) < 0) _exit(127);
        close(files[i]);
    }
    if (limits.addressSpace) {
        rlimit limit{limits.addressSpace, limits.addressSpace};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(127);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(DICTIONARY_TOOL_PATH));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(DICTIONARY_TOOL_PATH, argv.data());
    _exit(127);
}

}  // namespace

int WaitToolProcess(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ToolProcessResult RunToolProcess(const std::vector<std::string>& args, const std::string& input,
                                 const ToolProcessLimits& limits) {
    std::string in = TempName("in"), out = TempName("out"), err = TempName("err");
    {
        std::ofstream file(in, std::ios::binary);
        file << input;
    }
    ToolProcessResult result;
    pid_t child = fork();
    if (child == 0) ExecTool(args, in.c_str(), out.c_str(), err.c_str(), limits);
    if (child > 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    }
    result.out = Slurp(out);
    result.err = Slurp(err);
    for (const std::string& path : {in, out, err}) std::remove(path.c_str());
    return result;
}

pid_t StartToolProcess(const std::vector<std::string>& args) {
    pid_t child = fork();
    if (child == 0) ExecTool(args, "/dev/null", "/dev/null", "/dev/null", {});
    return child;
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

double EnvironmentNumber(const char* name, double fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    double value = std::strtod(text, &end);
    return *end == '\0' && value >= 0 ? value : fallback;
}
