// Two dictionary-tool processes change the same letter file at the same
// time. Each change is made to the file as the other left it, so nothing a
// writer reported as done is lost. DICTIONARY_TWO_WRITERS_CHANGES sets the
// changes each writer makes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"

namespace {

// What one writer did: the words it added and still holds, and the ones it
// deleted again, each confirmed by the tool's exit status.
struct WriterLog {
    std::vector<std::string> kept, deleted;
    int refused = 0;
};

// Adds its words in turn and deletes every third one again.
void Write(const std::string& program, char writer, int changes, WriterLog* log) {
    for (int i = 0; i < changes; ++i) {
        std::string word = std::string("c") + writer + std::to_string(i);
        int status = RunTool(program, {"add", "--dict", "D", word, "by " + std::string(1, writer)});
        if (status != 0) {
            ++log->refused;
            continue;
        }
        if (i % 3 == 2 && RunTool(program, {"delete", "--dict", "D", word}) == 0)
            log->deleted.push_back(word);
        else
            log->kept.push_back(word);
    }
}

class TwoWritersTest : public ToolFolderTest, public ::testing::WithParamInterface<size_t> {};

}  // namespace

TEST_P(TwoWritersTest, WritersAtOnceLoseNothingTheyReportedDone) {
    // A letter file of a few hundred bytes, or of a megabyte.
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t i = 0; i < GetParam(); ++i) entries.push_back({"ca" + std::to_string(100000 + i), "felis catus"});
    MakeDictionary("D");
    MakeLetter("D", 'C', Entries(entries));

    int changes = static_cast<int>(EnvironmentBound("DICTIONARY_TWO_WRITERS_CHANGES", 30));
    WriterLog a, b;
    std::thread first(Write, root_, 'a', changes, &a);
    std::thread second(Write, root_, 'b', changes, &b);
    first.join();
    second.join();

    std::vector<std::string> words = WordsOf(ReadDiskFile(root_ + "/D/43.dat"));
    auto holds = [&](const std::string& word) { return std::find(words.begin(), words.end(), word) != words.end(); };
    int lost = 0, resurrected = 0;
    for (const WriterLog* log : {&a, &b}) {
        for (const std::string& word : log->kept) lost += !holds(word);
        for (const std::string& word : log->deleted) resurrected += holds(word);
    }
    for (const auto& entry : entries) lost += !holds(entry.first);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(resurrected, 0);
    EXPECT_TRUE(std::is_sorted(words.begin(), words.end()));
    EXPECT_EQ(words.size(), entries.size() + a.kept.size() + b.kept.size());
    std::printf("%d changes by each writer over %zu entries: %zu kept, %zu deleted, %d refused as busy, %d lost\n",
                changes, entries.size(), a.kept.size() + b.kept.size(), a.deleted.size() + b.deleted.size(),
                a.refused + b.refused, lost);
}

INSTANTIATE_TEST_SUITE_P(SmallAndLarge, TwoWritersTest, ::testing::Values(size_t{20}, size_t{40000}));

namespace {

// Another program that rewrites the letter file in place now and then while
// the tool runs, as a copy over it does: cuts it short, then writes the rest
// back. Whoever maps the file finds the pages past the cut gone meanwhile.
struct InPlaceWriter {
    std::mutex turn;   // held by the test while it reads or puts back the file
    std::atomic<bool> toolRunning{false};
    std::atomic<bool> stop{false};
    std::atomic<unsigned> rounds{0};

    void Run(const std::string& path) {
        std::mt19937 random(7);
        std::vector<char> bytes;
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
            std::lock_guard<std::mutex> hold(turn);
            if (!toolRunning) continue;
            int fd = open(path.c_str(), O_RDWR);
            if (fd < 0) continue;
            struct stat info;
            if (fstat(fd, &info) == 0 && info.st_size > 4096) {
                bytes.resize(static_cast<size_t>(info.st_size));
                if (pread(fd, bytes.data(), bytes.size(), 0) == info.st_size && ftruncate(fd, 4096) == 0) {
                    std::this_thread::sleep_for(std::chrono::microseconds(random() % 500));
                    (void)!pwrite(fd, bytes.data() + 4096, bytes.size() - 4096, 4096);
                    ++rounds;
                }
            }
            close(fd);
        }
    }
};

class InPlaceRewriteTest : public ToolFolderTest {};

}  // namespace

// Edits while another program cuts the letter file short in place and
// writes it back: an edit is made of the file as read under the lock, so it
// never writes zeros where the cut pages were. (An edit whose own read falls
// in the cut sees the shorter file, which is that program's doing; the
// letter is then put back whole for the next round.)
TEST_F(InPlaceRewriteTest, AnEditWhileTheFileIsRewrittenInPlaceWritesNoZeros) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t i = 0; i < 40000; ++i) entries.push_back({"ca" + std::to_string(100000 + i), "felis catus"});
    MakeDictionary("D");
    MakeLetter("D", 'C', Entries(entries));
    const std::string path = root_ + "/D/43.dat";

    int changes = static_cast<int>(EnvironmentBound("DICTIONARY_TWO_WRITERS_CHANGES", 30)) * 2;
    InPlaceWriter other;
    std::thread rewriting(&InPlaceWriter::Run, &other, path);
    int zeros = 0, done = 0, refused = 0, readCut = 0;
    for (int i = 0; i < changes && zeros == 0; ++i) {
        std::string word = "cb" + std::to_string(1000 + i);
        other.toolRunning = true;
        int status = RunTool(root_, {"add", "--dict", "D", word, "added"});
        std::lock_guard<std::mutex> hold(other.turn);
        other.toolRunning = false;
        std::string file = ReadDiskFile(path);
        if (file.find(std::string(2, '\0')) != std::string::npos || file.empty() || file[0] == '\0') ++zeros;
        if (status != 0) {
            ++refused;
            continue;
        }
        ++done;
        entries.push_back({word, "added"});
        if (WordsOf(file).size() < entries.size()) {
            // Read while cut short: put back whole, as it would be.
            ++readCut;
            MakeLetter("D", 'C', Entries(entries));
        }
    }
    other.stop = true;
    rewriting.join();
    EXPECT_EQ(zeros, 0) << "a letter file was written with zeros where the cut pages were";
    std::printf("%d edits while the letter was rewritten in place %u times: %d done (%d of them read it cut short), "
                "%d refused, %d written with zeros\n",
                changes, other.rounds.load(), done, readCut, refused, zeros);
    RecordProperty("written_with_zeros", zeros);
}