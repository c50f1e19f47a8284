// Two writers over one dictionary at once, each a process of the real tool:
// an import beside another import, and the editor's add beside an import.
// Each writer either makes its whole change or says that it could not, and
// nothing that any of them reported done is lost. Bounded by
// DICTIONARY_CONCURRENCY_ROUNDS (default 6).
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <thread>

#include "maintenance/export.h"
#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"
#include "tools/export_command.h"

namespace {

// The words of a dictionary, as its files hold them.
std::set<std::string> Words(const std::string& folder) {
    unsigned long long count = 0;
    std::set<std::string> words;
    std::string text, error;
    EXPECT_TRUE(ExportDictionaryText(folder.c_str(), text, count, error)) << error;
    for (size_t at = 0; at < text.size();) {
        size_t tab = text.find('\t', at), end = text.find('\n', at);
        words.insert(text.substr(at, tab - at));
        at = end + 1;
    }
    return words;
}

// A tsv source of `count` words beginning with `prefix`, over many letters.
std::set<std::string> WriteSource(const std::string& file, const std::string& prefix, int count) {
    std::set<std::string> words;
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string word = std::string(1, static_cast<char>('a' + i % 26)) + prefix + std::to_string(i);
        words.insert(word);
        text += word + "\tmeaning " + std::to_string(i) + "\n";
    }
    WriteDiskFile(file, text);
    return words;
}

bool Holds(const std::set<std::string>& all, const std::set<std::string>& part) {
    for (const std::string& word : part)
        if (!all.count(word)) return false;
    return true;
}

// A writer that did not make its change must say why: the other one held
// the dictionary for longer than it waits.
bool ReportedBusy(const ToolRun& run) {
    return run.output.find("is being changed by another program") != std::string::npos;
}

}  // namespace

class ConcurrentWritersTest : public ToolFolderTest {
protected:
    void SetUp() override {
        ToolFolderTest::SetUp();
        rounds_ = static_cast<int>(EnvironmentBound("DICTIONARY_CONCURRENCY_ROUNDS", 6));
        first_ = WriteSource("first.tsv", "one", 15000);
        second_ = WriteSource("second.tsv", "two", 15000);
    }
    void MakeZoo() {
        std::filesystem::remove_all("Zoo");
        MakeDictionary("Zoo");
        MakeLetter("Zoo", 'C', Entries({{"cat", "felis"}, {"cow", "bos"}}));
        kept_ = {"cat", "cow"};
    }
    // Both imports into `folder` at once.
    void ImportBoth(const std::string& folder, int& bothDone) {
        ToolRun first, second;
        std::thread other([&] { first = RunToolCapturing(".", {"import", "tsv", "first.tsv", "--to", folder}); });
        second = RunToolCapturing(".", {"import", "tsv", "second.tsv", "--to", folder});
        other.join();
        std::set<std::string> words = Words(folder);
        for (const ToolRun* run : {&first, &second}) {
            const std::set<std::string>& source = run == &first ? first_ : second_;
            if (run->status == 0) EXPECT_TRUE(Holds(words, source)) << run->output;
            else EXPECT_TRUE(ReportedBusy(*run)) << run->output;
        }
        EXPECT_TRUE(Holds(words, kept_));
        if (first.status == 0 && second.status == 0) ++bothDone;
    }
    int rounds_ = 0;
    std::set<std::string> first_, second_, kept_;
};

TEST_F(ConcurrentWritersTest, TwoImportsIntoOneDictionaryLoseNothing) {
    int bothDone = 0;
    for (int round = 0; round < rounds_ && !HasFailure(); ++round) {
        MakeZoo();
        ImportBoth("Zoo", bothDone);
    }
    std::cout << "import beside import: both done in " << bothDone << " of " << rounds_ << " rounds" << std::endl;
}

TEST_F(ConcurrentWritersTest, TwoImportsMakingOneNewDictionaryLoseNothing) {
    int bothDone = 0;
    for (int round = 0; round < rounds_ && !HasFailure(); ++round) {
        std::filesystem::remove_all("Fresh");
        kept_.clear();
        ImportBoth("Fresh", bothDone);
        EXPECT_EQ(RunToolCapturing(".", {"check", "--dict", "Fresh"}).status, 0);
    }
    std::cout << "new dictionary, import beside import: both done in " << bothDone << " of " << rounds_ << " rounds"
              << std::endl;
}

TEST_F(ConcurrentWritersTest, TheEditorsAddsBesideAnImportAreKept) {
    int added = 0, refused = 0;
    for (int round = 0; round < rounds_ && !HasFailure(); ++round) {
        MakeZoo();
        ToolRun import;
        std::thread importer([&] { import = RunToolCapturing(".", {"import", "tsv", "first.tsv", "--to", "Zoo"}); });
        std::set<std::string> edits;
        for (int i = 0; i < 10; ++i) {
            std::string word = std::string(1, static_cast<char>('a' + (i * 7 + round) % 26)) + "edit" +
                               std::to_string(round) + "x" + std::to_string(i);
            ToolRun add = RunToolCapturing(".", {"add", "--dict", "Zoo", word, "an edit"});
            if (add.status == 0) {
                edits.insert(word);
                ++added;
            } else {
                EXPECT_NE(add.output, "") << word;   // a refused add says so
                ++refused;
            }
        }
        importer.join();
        std::set<std::string> words = Words("Zoo");
        EXPECT_TRUE(Holds(words, edits));
        EXPECT_TRUE(Holds(words, kept_));
        if (import.status == 0) EXPECT_TRUE(Holds(words, first_)) << import.output;
        else EXPECT_TRUE(ReportedBusy(import)) << import.output;
    }
    std::cout << "add beside import: " << added << " adds kept, " << refused << " refused and reported" << std::endl;
    EXPECT_GT(added, 0);
}
