// Two dictionary-tool processes change the same letter file at the same
// time. Each change is made to the file as the other left it, so nothing a
// writer reported as done is lost. DICTIONARY_TWO_WRITERS_CHANGES sets the
// changes each writer makes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
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
