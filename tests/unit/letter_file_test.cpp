#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "storage/file_bytes.h"
#include "storage/letter_cache.h"
#include "storage/letter_file.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"
#include "ui/program_state.h"

class LetterFileTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeDictionary("D");
        ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
    }
};

TEST_F(LetterFileTest, FoldingChoosesTheLetterFile) {
    const CaseRule folded = CurrentDictionary.Rule();
    EXPECT_EQ(FoldChar('a', folded), 'A');
    EXPECT_EQ(FoldChar('A', folded), 'A');
    EXPECT_EQ(FoldChar(0xFF, folded), 0xDF);  // я
    EXPECT_EQ(FoldChar(0xE0, folded), 0xC0);  // а
    EXPECT_EQ(FoldChar(0xB8, folded), 0xB8);  // ё stays
    EXPECT_EQ(FoldChar(0xA8, folded), 0xA8);
    EXPECT_EQ(FoldChar('1', folded), '1');
    CurrentDictionary.caseSensitive = 1;
    EXPECT_EQ(FoldChar('a', CurrentDictionary.Rule()), 'a');
    EXPECT_EQ(LetterPath("D", 0xC0), "D\\c0.dat");
}

TEST_F(LetterFileTest, LoadsWithAnAppendedNulAndSavesTheSameBytes) {
    std::string twelve = Entries({{"ca", "felis"}, {"a", ""}});
    ASSERT_EQ(twelve.size(), 12u);
    MakeLetter("D", 'A', twelve);
    ASSERT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::Ok);
    EXPECT_EQ(CurrentDictionary.held.View().length, 13);
    EXPECT_EQ(CurrentDictionary.held.View().data[12], 0);
    ASSERT_TRUE(SaveLetter(CurrentDictionary));
    EXPECT_EQ(ReadDiskFile("D/41.dat"), twelve);
}

TEST_F(LetterFileTest, EmptyMissingAndRepeatedLoads) {
    MakeLetter("D", 'E', "");
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'E'), LookupResult::Ok);
    EXPECT_EQ(CurrentDictionary.held.View().data, nullptr);
    EXPECT_EQ(CurrentDictionary.held.View().length, 0);
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'M'), LookupResult::LetterCannotOpen);
    EXPECT_EQ(CurrentDictionary.held.letter, 'M');
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'M'), LookupResult::Ok);  // not tried again

    MakeLetter("D", 'A', Entries({{"a", "b"}}));
    ASSERT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::Ok);
    // Replaced, as every writer of letter files does it.
    ASSERT_TRUE(PlatformWriteFileAtomic("D\\41.dat", "changed on disk", 15));
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::Ok);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(CurrentDictionary.held.View().data)), "a");
    EXPECT_EQ(LoadLetter(CurrentDictionary, 0), LookupResult::Ok);
    EXPECT_EQ(CurrentDictionary.held.View().data, nullptr);
    EXPECT_EQ(CurrentDictionary.held.letter, 0);

    ResetProgramState();
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::NoDictionary);
}

// Another program may cut a letter file short in place while the letter is
// held (mapped where the system allows): the held letter then reads as that
// file cut short, and nothing faults.
TEST_F(LetterFileTest, AHeldLetterOutlivesItsFileCutShortInPlace) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 2000; ++i) entries.push_back({"a" + std::to_string(100000 + i), "description"});
    const std::string file = Entries(entries);
    MakeLetter("D", 'A', file);
    ASSERT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::Ok);
    const std::string last = FoldString(entries.back().first.c_str(), CaseRule::Folded);
    const int32_t lastAt = FindFoldedWord(CurrentDictionary.held.View(), last, CaseRule::Folded);
    ASSERT_GT(lastAt, 0);

    std::filesystem::resize_file("D/41.dat", 100);
    const LetterView held = CurrentDictionary.held.View();
    LetterIndex fresh;
    const LetterView again{held.data, held.length, &fresh};   // searched anew, walk and index
    // A mapped letter reads as the file now is; one read into memory (on
    // Windows) stays the whole letter it was.
    const int32_t expected = CurrentDictionary.held.bytes->file.Mapped() ? -1 : lastAt;
    EXPECT_EQ(FindFoldedWord(again, last, CaseRule::Folded), expected);
    EXPECT_EQ(FindFoldedWord(again, FoldString("a100000", CaseRule::Folded), CaseRule::Folded), 0);
    EXPECT_EQ(FindFoldedWord(held, last, CaseRule::Folded), expected);
}

// The word-form tables are held this way: mapped or read, always with the
// NUL after the bytes, kept whole when moved.
TEST_F(LetterFileTest, FileBytesHoldAFileWithANulAfterIt) {
    FileStamp stamp;
    FileBytes bytes;
    const std::string page(4096, 'x');   // fills its page: the NUL needs one more
    WriteDiskFile("page.dat", page);
    ASSERT_EQ(bytes.Load("page.dat", stamp), FileReadOutcome::Read);
    EXPECT_EQ(stamp.size, 4096u);
    ASSERT_EQ(bytes.Length(), 4097);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.Data())), page);

    FileBytes moved(std::move(bytes));
    EXPECT_EQ(bytes.Data(), nullptr);
    EXPECT_EQ(moved.Length(), 4097);
    EXPECT_EQ(moved.Data()[4096], 0);

    WriteDiskFile("empty.dat", "");
    EXPECT_EQ(moved.Load("empty.dat", stamp), FileReadOutcome::Read);
    EXPECT_EQ(moved.Data(), nullptr);
    EXPECT_EQ(moved.Length(), 0);
    EXPECT_EQ(moved.Load("absent.dat", stamp), FileReadOutcome::Absent);
}

TEST_F(LetterFileTest, FailedSaveKeepsTheOldFile) {
    std::string old = Entries({{"ant", "mravka"}});
    MakeLetter("D", 'A', old);
    ASSERT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::Ok);
    std::vector<unsigned char> edited(old.begin(), old.end());
    edited[0] = 'e';
    HoldLetterBytes(CurrentDictionary, 'A', edited.data(), edited.size());
    ASSERT_FALSE(CurrentDictionary.held.unread);
    std::string saved = CurrentDictionary.folder;
    CurrentDictionary.folder = "missing-folder";
    EXPECT_FALSE(SaveLetter(CurrentDictionary));
    CurrentDictionary.folder = saved;
    EXPECT_EQ(ReadDiskFile("D/41.dat"), old);
    ASSERT_TRUE(SaveLetter(CurrentDictionary));
    EXPECT_EQ(ReadDiskFile("D/41.dat")[0], 'e');
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator("D")) files += entry.is_regular_file();
    EXPECT_EQ(files, 2);  // 00.dat and 41.dat, no temporary left behind
}

TEST_F(LetterFileTest, WalkStopsAtEmptyStringsAndNeverLeavesTheBuffer) {
    MakeLetter("D", 'C', Entries({{"cat", "felis"}, {"dog", "canis"}}));
    LoadLetter(CurrentDictionary, 'C');
    LetterView held = CurrentDictionary.held.View();
    LetterEntryWalker walker = held.Walk(EntryWalk::Strict);
    LetterEntry entry;
    ASSERT_TRUE(walker.Next(entry));
    EXPECT_STREQ(held.StringAt(static_cast<int32_t>(entry.offset)), "cat");
    ASSERT_TRUE(walker.Next(entry));
    EXPECT_STREQ(held.StringAt(static_cast<int32_t>(entry.offset)), "dog");
    EXPECT_EQ(entry.descriptionEnd, held.FileSize() - 1);  // the last description's NUL
    EXPECT_FALSE(walker.Next(entry));

    MakeLetter("D", 'F', std::string("fox\0vulpes", 10));  // no final NUL
    LoadLetter(CurrentDictionary, 'F');
    held = CurrentDictionary.held.View();
    walker = held.Walk(EntryWalk::Strict);
    ASSERT_TRUE(walker.Next(entry));
    EXPECT_EQ(entry.descriptionEnd, held.FileSize());  // ends with the bytes
    EXPECT_FALSE(walker.Next(entry));
    EXPECT_EQ(held.ByteAt(held.length), 0);
    EXPECT_EQ(held.StringEnd(7), held.length - 1);  // the appended NUL ends it
}

TEST_F(LetterFileTest, StatisticsCountEntriesUpToTheFirstEmptyString) {
    MakeLetter("D", 'A', Entries({{"a1", "x"}, {"a2", "x"}, {"a3", "x"}, {"a4", "x"}, {"a5", "xx"}}));
    MakeLetter("D", 'C', std::string("cat\0\0dog\0canis\0", 15));
    MakeLetter("D", 0x20, Entries({{" space", "not visited"}}));
    Statistics stats = DictionaryStatistics(CurrentDictionary);
    EXPECT_EQ(stats.entries, 5u);  // the C file counts 1 string, halved to 0
    EXPECT_EQ(stats.size, 26u + 1 + 15 + 1);
    EXPECT_EQ(CurrentDictionary.held.letter, 0xFE);
}

// A letter file that is there but cannot be read is neither empty nor
// missing: nothing is loaded, and every try reads it again.
TEST_F(LetterFileTest, AnUnreadableFileIsNotTakenForAnEmptyOne) {
    std::filesystem::create_directory("D/43.dat");
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'C'), LookupResult::LetterCannotRead);
    EXPECT_EQ(CurrentDictionary.held.View().data, nullptr);
    EXPECT_EQ(CurrentDictionary.held.letter, 'C');
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'C'), LookupResult::LetterCannotRead);
    std::filesystem::remove("D/43.dat");
    MakeLetter("D", 'C', Entries({{"cat", "felis"}}));
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'C'), LookupResult::Ok);
    EXPECT_EQ(CurrentDictionary.held.View().length, 11);
}

// A word list keeps the letters it read; a kept letter whose file another
// writer replaced, even by one of the same size, is read again.
TEST_F(LetterFileTest, AKeptLetterIsReadAgainOnceItsFileChanged) {
    LetterCacheScope keep(CurrentDictionary.kept, 1 << 20);
    MakeLetter("D", 'A', Entries({{"ant", "mravka"}}));
    MakeLetter("D", 'B', Entries({{"bee", "pchela"}}));
    ASSERT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::Ok);
    ASSERT_EQ(LoadLetter(CurrentDictionary, 'B'), LookupResult::Ok);
    ASSERT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::Ok);   // from the cache
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(CurrentDictionary.held.View().data)), "ant");

    ASSERT_EQ(LoadLetter(CurrentDictionary, 'B'), LookupResult::Ok);
    const std::string replaced = Entries({{"asp", "usoyka"}});
    ASSERT_TRUE(PlatformWriteFileAtomic("D\\41.dat", replaced.data(), replaced.size()));
    ASSERT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::Ok);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(CurrentDictionary.held.View().data)), "asp");

    ASSERT_EQ(LoadLetter(CurrentDictionary, 'B'), LookupResult::Ok);
    std::remove("D/41.dat");
    EXPECT_EQ(LoadLetter(CurrentDictionary, 'A'), LookupResult::LetterCannotOpen);
    EXPECT_EQ(CurrentDictionary.held.View().data, nullptr);
}
