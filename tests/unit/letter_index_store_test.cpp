// Kept indexes: a later reading of a letter takes back the index an earlier
// one built, only for the very file it was built from, and only whole.
// Windows keeps none (FileStamp::settled): the program there holds its
// letters and their indexes for as long as it runs.
#ifndef _WIN32
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/letter_buffer.h"
#include "storage/letter_cache.h"
#include "storage/letter_file.h"
#include "storage/letter_index_store.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "ui/dictionary_commands.h"

namespace {

std::string WordAt(int i) {
    char word[16];
    std::snprintf(word, sizeof word, "a%05d", i);
    return word;
}

// A letter file large enough to have its index kept: 3,000 entries, in the
// letter files' order unless `sorted` is false.
std::string LargeLetter(bool sorted) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 3000; ++i) entries.push_back({WordAt(i), "the description of entry " + WordAt(i)});
    if (!sorted) std::swap(entries[10], entries[2000]);
    return Entries(entries);
}

class KeptIndexTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        const char* previous = std::getenv("DICTIONARY_INDEX_CACHE");
        hadPrevious_ = previous != nullptr;
        if (previous) previousCache_ = previous;
        cache_ = root_ + "/cache";
        setenv("DICTIONARY_INDEX_CACHE", cache_.c_str(), 1);
        MakeDictionary("D");
        ASSERT_EQ(SelectDictionary("D"), kResultOk);
    }
    void TearDown() override {
        if (hadPrevious_) setenv("DICTIONARY_INDEX_CACHE", previousCache_.c_str(), 1);
        else unsetenv("DICTIONARY_INDEX_CACHE");
        ProgramFolderTest::TearDown();
    }
    // Reads the letter from its file, as a process that starts now would.
    static void ReadAfresh(unsigned char letter) {
        ForgetKeptLetters();
        ForgetLetter(0);
        ASSERT_EQ(LoadLetter(letter), kResultOk);
    }
    bool Kept(unsigned char letter) const {
        return std::filesystem::exists(KeptIndexPath(LetterPath("D", letter).c_str()));
    }
    static int32_t Find(const std::string& word) {
        return FindFoldedWord(HeldLetter(), FoldString(word.c_str(), CaseRule::Folded), CaseRule::Folded);
    }
    // What the plain walk answers in the held bytes.
    static int32_t Walked(const std::string& word) {
        const LetterView held = HeldLetter();
        return WalkToFoldedWord(held.data, held.length, FoldString(word.c_str(), CaseRule::Folded), CaseRule::Folded);
    }
    std::string cache_;
    std::string previousCache_;
    bool hadPrevious_ = false;
};

TEST_F(KeptIndexTest, AFileJustWrittenKeepsNoIndex) {
    MakeLetter("D", 'A', LargeLetter(true));
    ReadAfresh('A');
    // Changed within the last seconds: a change in the same tick of a
    // coarse clock could leave its stamp as it is.
    EXPECT_FALSE(LetterBuffer.Stamp.settled);
    EXPECT_TRUE(LetterBuffer.Index.origin.path.empty());
    EXPECT_GE(Find(WordAt(2999)), 0);
    EXPECT_GE(Find(WordAt(1)), 0);   // the second search builds the index
    EXPECT_TRUE(LetterBuffer.Index.built);
    KeepWalkedLetterIndexes();
    EXPECT_FALSE(Kept('A'));
    EXPECT_FALSE(std::filesystem::exists(cache_));
}

TEST_F(KeptIndexTest, AKeptIndexServesOnlyTheFileItWasBuiltFromAndOnlyWhole) {
    MakeLetter("D", 'A', LargeLetter(true));
    MakeLetter("D", 'B', LargeLetter(false));
    MakeLetter("D", 'C', Entries({{"cat", "a small one"}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(kSettledSeconds * 1000 + 1100));

    // One look-up walks the letter; the index is built and kept after it.
    ReadAfresh('A');
    ASSERT_TRUE(LetterBuffer.Stamp.settled);
    EXPECT_EQ(Find(WordAt(1500)), Walked(WordAt(1500)));
    EXPECT_FALSE(LetterBuffer.Index.built);
    KeepWalkedLetterIndexes();
    ASSERT_TRUE(Kept('A'));
    const std::vector<int32_t> built(LetterBuffer.Index.entries.begin(), LetterBuffer.Index.entries.end());
    ASSERT_EQ(built.size(), 3000u);

    // The next reading searches by halving from its first look-up, with the
    // walk's answers.
    ReadAfresh('A');
    ASSERT_TRUE(LetterBuffer.Index.built);
    EXPECT_TRUE(LetterBuffer.Index.sorted);
    EXPECT_TRUE(LetterBuffer.Index.wholeFile);
    EXPECT_EQ(std::vector<int32_t>(LetterBuffer.Index.entries.begin(), LetterBuffer.Index.entries.end()), built);
    for (const std::string& word : {WordAt(0), WordAt(1234), WordAt(2999), std::string("a"), std::string("a012345"),
                                    std::string("A01234"), std::string("b")})
        EXPECT_EQ(Find(word), Walked(word)) << word;
    EXPECT_EQ(Find("A01234"), built[1234]);

    // An unsorted letter is walked by every process: nothing is kept. Nor
    // for a letter too small to be worth it.
    ReadAfresh('B');
    Find(WordAt(7));
    Find(WordAt(8));
    EXPECT_TRUE(LetterBuffer.Index.built);
    EXPECT_FALSE(LetterBuffer.Index.sorted);
    KeepWalkedLetterIndexes();
    EXPECT_FALSE(Kept('B'));
    ReadAfresh('C');
    EXPECT_TRUE(LetterBuffer.Index.origin.path.empty());

    // Another stamp (the file written in place, or replaced) finds no index.
    const std::string letterPath = LetterPath("D", 'A');
    FileStamp stamp;
    ASSERT_TRUE(PlatformFileStamp(letterPath.c_str(), stamp));
    ASSERT_TRUE(stamp.settled);
    const int32_t length = static_cast<int32_t>(stamp.size + 1);
    LetterIndex index;
    EXPECT_TRUE(TakeBackLetterIndex(letterPath.c_str(), stamp, length, index));
    std::vector<FileStamp> others(4, stamp);
    others[0].changed += 1;
    others[1].written += 1;
    others[2].identity += 1;
    others[3].device += 1;
    for (const FileStamp& other : others) {
        LetterIndex refused;
        EXPECT_FALSE(TakeBackLetterIndex(letterPath.c_str(), other, length, refused));
        EXPECT_FALSE(refused.built);
        EXPECT_EQ(refused.origin.path, letterPath);   // it will be built and kept anew
    }

    // A kept file cut short or with one byte changed is refused, and the
    // letter is walked with the same answers.
    const std::string keptPath = KeptIndexPath(letterPath.c_str());
    const std::string whole = ReadDiskFile(keptPath);
    std::string flipped = whole;
    flipped[whole.size() / 2] ^= 0x10;
    for (const std::string& damaged : {flipped, whole.substr(0, whole.size() - 4), whole.substr(0, 40), std::string()}) {
        WriteDiskFile(keptPath, damaged);
        ReadAfresh('A');
        EXPECT_FALSE(LetterBuffer.Index.built);
        EXPECT_EQ(Find(WordAt(2999)), built[2999]);
        EXPECT_EQ(Find("a03000"), -1);
    }

    // Offsets outside the letter or out of order are refused, even under a
    // right sum.
    for (const std::vector<int32_t>& wrong : {std::vector<int32_t>{0, 40, length}, std::vector<int32_t>{0, 80, 40}}) {
        LetterIndex crafted;
        crafted.built = true;
        crafted.sorted = true;
        for (int32_t offset : wrong) crafted.entries.push_back(offset);
        crafted.origin = IndexOrigin{letterPath, stamp};
        KeepBuiltIndex(nullptr, length, crafted);
        ASSERT_NE(ReadDiskFile(keptPath), whole);
        LetterIndex refused;
        EXPECT_FALSE(TakeBackLetterIndex(letterPath.c_str(), stamp, length, refused));
    }

    // Turned off, nothing is kept or read.
    setenv("DICTIONARY_INDEX_CACHE", "off", 1);
    EXPECT_EQ(KeptIndexPath(letterPath.c_str()), "");
    LetterIndex off;
    EXPECT_FALSE(TakeBackLetterIndex(letterPath.c_str(), stamp, length, off));
    EXPECT_TRUE(off.origin.path.empty());
}

// The tool keeps what its one look-up walked, after the answer; its next
// run answers the same from the kept index.
TEST_F(KeptIndexTest, TheToolKeepsTheIndexOfTheLetterItWalked) {
    MakeLetter("D", 'A', LargeLetter(true));
    std::this_thread::sleep_for(std::chrono::milliseconds(kSettledSeconds * 1000 + 1100));
    const ToolResult miss = Tool(LookupCommand, {"--dict", "D", "a12345"});
    EXPECT_EQ(miss.status, kResultNotFound);
    EXPECT_TRUE(Kept('A'));
    const ToolResult first = Tool(LookupCommand, {"--dict", "D", WordAt(2222)});
    EXPECT_TRUE(LetterBuffer.Index.built);   // taken back, not walked
    EXPECT_EQ(first.status, kResultOk);
    EXPECT_EQ(first.out, "the description of entry " + WordAt(2222) + kToolLineEnd);
    EXPECT_EQ(Tool(LookupCommand, {"--dict", "D", "a12345"}).status, kResultNotFound);

    // Another program writes the letter in place, at the same size: its
    // first word now sorts last. The kept index would miss it; the walk finds it.
    {
        std::FILE* file = std::fopen("D/41.dat", "r+b");
        ASSERT_NE(file, nullptr);
        std::fputs("a99999", file);
        std::fclose(file);
    }
    const ToolResult moved = Tool(LookupCommand, {"--dict", "D", "a99999"});
    EXPECT_EQ(moved.status, kResultOk);
    EXPECT_EQ(moved.out, "the description of entry " + WordAt(0) + kToolLineEnd);
}

// The folder would otherwise grow with every letter path ever read and every
// write a kill cut short. Keeping an index tidies it: stale temporary files
// go, indexes unused for months go, and the least recently used ones go
// while the indexes take more than the bound; a look-up that takes an index
// back counts as its use; nothing else in the folder is touched.
TEST_F(KeptIndexTest, KeepingAnIndexTidiesTheFolderLeastRecentlyUsedFirst) {
    namespace fs = std::filesystem;
    using std::chrono::hours;
    fs::create_directories(cache_);
    const auto now = fs::file_time_type::clock::now();
    auto make = [&](const std::string& name, uintmax_t size, hours unused) {
        const std::string path = cache_ + "/" + name;
        WriteDiskFile(path, "");
        fs::resize_file(path, size);   // sparse: no room taken
        fs::last_write_time(path, now - unused);
        return path;
    };
    auto indexName = [](int i) {
        char name[32];
        std::snprintf(name, sizeof name, "%016x.idx", 0x1000 + i);
        return std::string(name);
    };
    const int kOld = 80;   // 80 MiB of indexes: index i last used 100 + i hours ago
    for (int i = 0; i < kOld; ++i) make(indexName(i), 1u << 20, hours(100 + i));
    const std::string forgotten = make("00000000000000aa.idx", 1000, hours(24 * 100));
    const std::string killedWrite = make("0000000000000bbb.idx.tmp4242.1", 500, hours(1));
    const std::string writing = make("0000000000000ccc.idx.tmp4242.2", 500, hours(0));
    const std::string notOurs = make("notes.txt", 10, hours(24 * 365));

    MakeLetter("D", 'A', LargeLetter(true));
    std::this_thread::sleep_for(std::chrono::milliseconds(kSettledSeconds * 1000 + 1100));
    EXPECT_EQ(Tool(LookupCommand, {"--dict", "D", "a12345"}).status, kResultNotFound);
    ASSERT_TRUE(Kept('A'));

    uintmax_t indexes = 0;
    for (const auto& item : fs::directory_iterator(cache_))
        if (item.path().extension() == ".idx") indexes += item.file_size();
    EXPECT_LE(indexes, kKeptIndexFolderBytes);
    EXPECT_TRUE(fs::exists(cache_ + "/" + indexName(0))) << "the most recently used stays";
    EXPECT_FALSE(fs::exists(cache_ + "/" + indexName(kOld - 1))) << "the least recently used goes first";
    EXPECT_FALSE(fs::exists(forgotten));
    EXPECT_FALSE(fs::exists(killedWrite));
    EXPECT_TRUE(fs::exists(writing));
    EXPECT_TRUE(fs::exists(notOurs));

    // Taking an index back marks it used.
    const std::string kept = KeptIndexPath(LetterPath("D", 'A').c_str());
    fs::last_write_time(kept, now - hours(48));
    ReadAfresh('A');
    EXPECT_TRUE(LetterBuffer.Index.built);
    EXPECT_GT(fs::last_write_time(kept), now - hours(1));
}

}  // namespace

#endif  // _WIN32
