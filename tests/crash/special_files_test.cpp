// The real tool among files that are not what their names say, and on a
// disk it cannot write: a clear message at once, never a wait for good.
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"

namespace {

struct TimedRun {
    bool ended;            // false: it was still running after the wait, and was killed
    int status;
    std::string output;
};

// Runs the tool for at most `seconds`.
TimedRun RunFor(double seconds, const std::vector<std::string>& args) {
    const std::string output = std::filesystem::temp_directory_path() /
                               ("dictionary-tool-timed-" + std::to_string(getpid()));
    pid_t child = StartTool(".", args, output.c_str());
    TimedRun run{false, -1000, ""};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (child > 0 && std::chrono::steady_clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child) {
            run.ended = true;
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!run.ended && child > 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    std::ifstream in(output, std::ios::binary);
    run.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::filesystem::remove(output);
    return run;
}

bool Says(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

class SpecialFilesTest : public ToolFolderTest {};

// Opening a FIFO waits for a writer that never comes: a look-up, a check,
// an export and an import of such a "letter file" would hang for good.
TEST_F(SpecialFilesTest, AFifoNamedLikeALetterFileIsRefusedAtOnce) {
    MakeDictionary("Zoo");
    MakeLetter("Zoo", 'C', Entries({{"cat", "kotka"}}));
    ASSERT_EQ(mkfifo("Zoo/41.dat", 0644), 0);
    ASSERT_EQ(mkfifo("words.tsv", 0644), 0);

    TimedRun run = RunFor(10, {"lookup", "--dict", "Zoo", "ant"});
    EXPECT_TRUE(run.ended) << "lookup waited on the FIFO";
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_EQ(RunFor(10, {"lookup", "--dict", "Zoo", "cat"}).output, "kotka\n");

    run = RunFor(10, {"check", "--dict", "Zoo"});
    EXPECT_TRUE(run.ended) << "check waited on the FIFO";
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.output, "Zoo/41.dat offset 0: the file cannot be read (it is a FIFO, not a regular file)"))
        << run.output;

    run = RunFor(10, {"export", "--dict", "Zoo"});
    EXPECT_TRUE(run.ended) << "export waited on the FIFO";
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.output, "Zoo/41.dat cannot be read (it is a FIFO, not a regular file)")) << run.output;

    run = RunFor(10, {"import", "tsv", "words.tsv", "--to", "Fresh"});
    EXPECT_TRUE(run.ended) << "import waited on the FIFO";
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.output, "words.tsv: cannot be opened (it is a FIFO, not a regular file)")) << run.output;
    EXPECT_FALSE(std::filesystem::exists("Fresh"));
}

// A disk mounted read-only: the import says so in the system's words, and
// nothing changes. Needs a mount of the test's own (skipped where the
// system does not allow one).
TEST_F(SpecialFilesTest, AnImportOntoAReadOnlyDiskSaysSo) {
    if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no mounts of this test's own here";
    std::filesystem::create_directory("disk");
    if (mount("tmpfs", "disk", "tmpfs", 0, "size=4m") != 0) GTEST_SKIP() << "no tmpfs here";
    MakeDictionary("disk/Zoo");
    const std::string cats = Entries({{"cat", "kotka"}});
    MakeLetter("disk/Zoo", 'C', cats);
    WriteDiskFile("disk/Zoo/writer.lock", "");
    WriteDiskFile("words.tsv", "ant\tmravka\n");
    ASSERT_EQ(mount(nullptr, "disk", nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);

    ToolRun run = RunToolCapturing("disk", {"import", "tsv", "words.tsv", "--to", "Zoo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.output, "Zoo cannot be written (Read-only file system). Nothing was written.")) << run.output;
    run = RunToolCapturing("disk", {"import", "tsv", "words.tsv", "--to", "Fresh"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Says(run.output, "cannot create a folder for the new dictionary beside Fresh (Read-only file system)"))
        << run.output;
    EXPECT_EQ(ReadDiskFile("disk/Zoo/43.dat"), cats);
    EXPECT_FALSE(std::filesystem::exists("disk/Fresh"));
    umount2("disk", MNT_DETACH);
}
