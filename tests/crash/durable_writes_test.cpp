// A change the tool reports as made survives a power cut: every rename that
// puts a file or folder in place is followed by a sync of the folder it went
// into (until then the disk may still hold the old name). Watched through a
// probe preloaded into a copy of the tool linked with the dynamic loader
// (sync_probe.cpp), which logs renames and syncs in the order they happen.
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"

namespace {

// The renames in `log` after which no sync of their folder came.
std::vector<std::string> RenamesNeverSynced(const std::string& log) {
    std::vector<std::pair<std::string, std::string>> lines;
    std::istringstream in(log);
    std::string what, path;
    while (in >> what && std::getline(in >> std::ws, path)) lines.emplace_back(what, path);
    std::vector<std::string> unsynced;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].first != "rename") continue;
        bool synced = false;
        for (size_t j = i + 1; j < lines.size() && !synced; ++j)
            synced = lines[j].first == "fsync" && lines[j].second == lines[i].second;
        if (!synced) unsynced.push_back(lines[i].second);
    }
    return unsynced;
}

}  // namespace

class DurableWritesTest : public ToolFolderTest {
protected:
    void SetUp() override {
        ToolFolderTest::SetUp();
        if (IsSkipped()) return;
        if (BuiltWithAddressSanitizer()) GTEST_SKIP() << "the sanitizer's runtime must be the first library loaded";
        const std::filesystem::path beside = std::filesystem::path(ToolPath()).parent_path();
        probe_ = (beside / "libdictionary_sync_probe.so").string();
        probed_ = (beside / "dictionary-tool-probed").string();
        ASSERT_TRUE(std::filesystem::exists(probe_) && std::filesystem::exists(probed_)) << "built with the crash tests";
    }
    // Runs the tool with the probe; what it logged.
    std::string RunWatched(const std::vector<std::string>& args) {
        const std::string log = root_ + "/sync.log";
        std::filesystem::remove(log);
        const std::string tool = ToolPath();
        setenv("DICTIONARY_TOOL", probed_.c_str(), 1);
        setenv("LD_PRELOAD", probe_.c_str(), 1);
        setenv("DICTIONARY_SYNC_LOG", log.c_str(), 1);
        ToolRun run = RunToolCapturing(".", args);
        unsetenv("LD_PRELOAD");
        unsetenv("DICTIONARY_SYNC_LOG");
        setenv("DICTIONARY_TOOL", tool.c_str(), 1);
        EXPECT_EQ(run.status, 0) << run.output;
        return ReadDiskFile(log);
    }
    std::string probe_, probed_;
};

TEST_F(DurableWritesTest, EveryRenameIsFollowedByASyncOfItsFolder) {
    MakeDictionary("Zoo");
    MakeLetter("Zoo", 'C', Entries({{"cat", "kotka"}}));
    WriteDiskFile("words.tsv", "ant\tmravka\nbee\tpchela\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"import", "tsv", "words.tsv", "--to", "Zoo"},
                                                 {"import", "tsv", "words.tsv", "--to", "Fresh"},
                                                 {"add", "--dict", "Zoo", "cow", "krava"}}) {
        SCOPED_TRACE(args[0] + " " + args.back());
        const std::string log = RunWatched(args);
        EXPECT_NE(log.find("rename "), std::string::npos) << "the probe saw no rename";
        EXPECT_EQ(RenamesNeverSynced(log), std::vector<std::string>{}) << log;
    }
}
