// The write lock of a dictionary folder, the writers' temporary files and
// the three outcomes of reading a file.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_lock.h"
#include "tests/unit/test_support.h"

namespace fs = std::filesystem;

class WriterFilesTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeDictionary("D");
    }
    static std::vector<std::string> Names(const char* folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(WriterFilesTest, OneWriterAtATimeAndTheLockOutlivesNoHolder) {
    {
        DictionaryWriteLock first("D");
        ASSERT_TRUE(first.Held());
        DictionaryWriteLock second("D", 50);
        EXPECT_FALSE(second.Held());
        EXPECT_TRUE(second.Busy());
        DictionaryWriteLock other("E", 50);  // no such folder: no lock, and not for being busy
        EXPECT_FALSE(other.Held());
        EXPECT_FALSE(other.Busy());
    }
    DictionaryWriteLock again("D", 50);
    EXPECT_TRUE(again.Held());
    EXPECT_TRUE(fs::exists("D/writer.lock"));
}

#ifndef _WIN32
// A writer that is killed while holding the lock does not keep it.
TEST_F(WriterFilesTest, TheLockDiesWithItsProcess) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        DictionaryWriteLock lock("D");
        char held = lock.Held() ? 'y' : 'n';
        if (write(ready[1], &held, 1) != 1) _exit(1);
        for (;;) pause();
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    EXPECT_TRUE(DictionaryWriteLock("D", 50).Busy());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(DictionaryWriteLock("D", 50).Held());
    close(ready[0]);
    close(ready[1]);
}
#endif

TEST_F(WriterFilesTest, TemporaryNamesAreKnownAndOnlyTheyAreRemoved) {
    for (const char* name : {"41.dat.tmp", "41.dat.tmp12345", "41.dat.tmp12345.3", "00.dat.tmp7.1", "FF.DAT.tmpx"})
        EXPECT_TRUE(IsWriterTempFileName(name)) << name;
    for (const char* name : {"41.dat", "writer.lock", "41.tmp", "notes.tmp", "x41.dat.tmp", "4g.dat.tmp1", ".tmp"})
        EXPECT_FALSE(IsWriterTempFileName(name)) << name;

    MakeLetter("D", 'A', Entries({{"ant", "mravka"}}));
    for (const char* name : {"41.dat.tmp", "41.dat.tmp999.1", "00.dat.tmp12", "notes.tmp", "41.tmp"})
        WriteDiskFile(std::string("D/") + name, "left over");
    fs::create_directory("D/42.dat.tmp1.1");  // not a file a writer makes: left alone
    RemoveStaleWriterFiles("D");
    EXPECT_EQ(Names("D"), (std::vector<std::string>{"00.dat", "41.dat", "41.tmp", "42.dat.tmp1.1", "notes.tmp"}));
    EXPECT_EQ(ReadDiskFile("D/41.dat"), Entries({{"ant", "mravka"}}));
}

// Temporary names are unique per write: what an earlier writer left under
// the name of the old scheme (fixed, or the process id alone) is no obstacle.
TEST_F(WriterFilesTest, LeftoversOfOtherWritersDoNotBlockAWrite) {
    fs::create_directory("D/43.dat.tmp");
    fs::create_directory("D/43.dat.tmp" + std::to_string(getpid()));
    EXPECT_TRUE(PlatformWriteFileAtomic("D\\43.dat", "cat\0felis\0", 10));
    EXPECT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cat", "felis"}}));
}

TEST_F(WriterFilesTest, AReadOnlyFileIsNeverReplaced) {
    const std::string old = Entries({{"cat", "felis"}});
    MakeLetter("D", 'C', old);
    fs::permissions("D/43.dat", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(PlatformWriteFileAtomic("D\\43.dat", "cow\0bos\0", 8));
    fs::permissions("D/43.dat", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadDiskFile("D/43.dat"), old);
    EXPECT_EQ(Names("D"), (std::vector<std::string>{"00.dat", "43.dat"}));
}

TEST_F(WriterFilesTest, AFileIsReadWholeOrReportedAsAbsentOrUnreadable) {
    std::vector<unsigned char> out(3, 'x');
    EXPECT_EQ(PlatformReadWholeFile("D\\41.dat", out), FileReadOutcome::Absent);
    EXPECT_EQ(PlatformReadWholeFile("Missing\\41.dat", out), FileReadOutcome::Absent);
    EXPECT_TRUE(out.empty());

    MakeLetter("D", 'B', "");
    EXPECT_EQ(PlatformReadWholeFile("D\\42.dat", out), FileReadOutcome::Read);
    EXPECT_TRUE(out.empty());

    fs::create_directory("D/43.dat");  // there, but no file to read
    EXPECT_EQ(PlatformReadWholeFile("D\\43.dat", out), FileReadOutcome::Unreadable);

    // Too large to hold (sparse: nothing is written to the disk).
    { std::ofstream create("D/44.dat"); }
    fs::resize_file("D/44.dat", 0x80000000ull);
    out.assign(3, 'x');
    EXPECT_EQ(PlatformReadWholeFile("D\\44.dat", out), FileReadOutcome::Unreadable);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(PlatformReadFile("D\\44.dat", out));
}
