#include "tests/processes/tool_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
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

// A temporary file outside the program folder, so that the tool never sees
// it; unique to each run, whichever thread starts it.
std::string TempName(const char* what) {
    static std::atomic<unsigned> count{0};
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/dictionary-tool-" + what + "-" + std::to_string(::getpid()) +
           "-" + std::to_string(++count);
}

// Starts the tool with its standard streams on the given files. Everything
// the child needs is made before the fork: it only calls what is safe there.
pid_t Spawn(const std::vector<std::string>& args, const std::string& in, const std::string& out,
            const std::string& err, const ToolProcessLimits& limits) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(DICTIONARY_TOOL_PATH));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child != 0) return child;
    int files[3] = {open(in.c_str(), O_RDONLY), open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                    open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)};
    for (int i = 0; i < 3; ++i) {
        if (files[i] < 0 || dup2(files[i], i) < 0) _exit(127);
        close(files[i]);
    }
    if (limits.addressSpace) {
        rlimit limit{limits.addressSpace, limits.addressSpace};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(127);
    }
    if (limits.fileSize) {
        // A write past the limit then fails as on a full disk, instead of
        // ending the process.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{limits.fileSize, limits.fileSize};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
    }
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
    pid_t child = Spawn(args, in, out, err, limits);
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
    return Spawn(args, "/dev/null", "/dev/null", "/dev/null", {});
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
