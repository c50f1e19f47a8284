#include <filesystem>
#include <string>

#include "lookup/description.h"
#include "lookup/history.h"
#include "platform/headless.h"
#include "storage/letter_file.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

class LookupTest : public ProgramFolderTest {
protected:
    void OpenAnimals(int caseSensitive = 0) {
        MakeDictionary("Animals", "Animals", 0, caseSensitive);
        MakeLetter("Animals", caseSensitive ? 'c' : 'C', Entries({{"cat", "felis"}, {"dog?", "x"}}));
        MakeLetter("Animals", 'C', Entries({{"CAT", "big cat"}, {"cat", "felis"}}));
        ASSERT_NE(SelectDictionary("Animals"), OpenOutcome::NoHeader);
    }
};

TEST_F(LookupTest, TrimsTrailingBlanksKeepsLeadingOnesAndSelectsTheWord) {
    OpenAnimals();
    Type("  cat   ");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), "  cat");
    EXPECT_EQ(Headless().selectionStart, 0);
    EXPECT_EQ(Headless().selectionEnd, 5);
    EXPECT_EQ(Description(), "big cat");  // CAT comes first in the file and folds equal
    EXPECT_EQ(EditState.Modified, 0);
}

TEST_F(LookupTest, PluralRetryDropsTheFinalSOnlyWhenAllowed) {
    OpenAnimals();
    Type("cats");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), "cat");
    Type("cats");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::NotFound);
    EXPECT_EQ(WordEdit(), "cats");
    EXPECT_EQ(Description(), "");
    Type("S");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::LetterCannotOpen);
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::NotFound);
    EXPECT_EQ(WordEdit(), "S");
}

TEST_F(LookupTest, CaseSensitiveDictionaryMatchesOnlyAsStored) {
    OpenAnimals(1);
    Type("CATS");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), "CAT");
    EXPECT_EQ(Description(), "big cat");
    Type("cats");  // a lower-case s starts no retry here
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::NotFound);
    Type("cat");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Description(), "felis");
}

TEST_F(LookupTest, EmptyWordLeavesEverythingAlone) {
    OpenAnimals();
    Headless().descriptionEdit = "kept";
    Type("   ");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Description(), "kept");
    EXPECT_EQ(WordEdit(), "   ");
}

TEST_F(LookupTest, NoDictionaryOpenClearsTheDescription) {
    Headless().descriptionEdit = "old";
    Type("cat ");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::NoDictionary);
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(WordEdit(), "cat");
}

TEST_F(LookupTest, NarrowsToTheSelectedPartOfTheText) {
    MakeDictionary("Sport");
    MakeLetter("Sport", 'B', Entries({{"ball", "topka"}}));
    ASSERT_NE(SelectDictionary("Sport"), OpenOutcome::NoHeader);
    Type("football");
    SetWordEditSelection(4, 8);
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), "ball");
    EXPECT_EQ(Description(), "topka");
}

TEST_F(LookupTest, CyrillicFoldsAcrossCaseButYoStaysApart) {
    MakeDictionary("Bg");
    // "котка" in code page 1251, stored in upper case under letter К (0xCA).
    MakeLetter("Bg", 0xCA, Entries({{"\xCA\xCE\xD2\xCA\xC0", "cat"}}));
    MakeLetter("Bg", 0xB8, Entries({{"\xB8\xEB\xEA\xE0", "fir"}}));
    ASSERT_NE(SelectDictionary("Bg"), OpenOutcome::NoHeader);
    Type("\xEA\xEE\xF2\xEA\xE0");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Description(), "cat");
    Type("\xA8\xEB\xEA\xE0");  // Ё is not folded onto ё
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::LetterCannotOpen);
    Type("\xB8\xEB\xEA\xE0");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
}

TEST_F(LookupTest, EntriesAfterAnEmptyDescriptionAreNotReached) {
    MakeDictionary("D");
    MakeLetter("D", 'C', std::string("cat\0\0dog\0canis\0", 15));
    MakeLetter("D", 'D', std::string("cow\0\0dog\0canis\0", 15));
    ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
    Type("cat");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Description(), "");
    Type("cow");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::NotFound);
}

TEST_F(LookupTest, ComparesLongWordsInFull) {
    MakeDictionary("Long");
    std::string a(150, 'a'), b = std::string(120, 'a') + "b";
    MakeLetter("Long", 'A', Entries({{a + "x", "first"}, {a + "y", "second"}, {b, "third"}}));
    ASSERT_NE(SelectDictionary("Long"), OpenOutcome::NoHeader);
    Type(a + "y");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Description(), "second");
}

TEST_F(LookupTest, DamagedLetterFilesGiveTheReadableEntries) {
    MakeDictionary("Bad");
    // No final NUL, and a word cut off inside the last entry.
    MakeLetter("Bad", 'C', std::string("cat\0felis\0cow\0bo", 16));
    MakeLetter("Bad", 'D', std::string("dog", 3));
    ASSERT_NE(SelectDictionary("Bad"), OpenOutcome::NoHeader);
    Type("cow");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Description(), "bo");
    Type("dog");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Description(), "");
    Type("dogs");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
}

TEST_F(LookupTest, AnUnreadableLetterFileAnswersAsOneThatCannotBeOpened) {
    MakeDictionary("D");
    ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
    std::filesystem::create_directory("D/43.dat");
    Type("cat");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::LetterCannotOpen);
    Type("cow");
    // Tried again, not "not found".
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::LetterCannotOpen);
}

// The core answers with the entry and touches neither edit: the command
// above it writes them.
TEST_F(LookupTest, TheCoreFindsAWordWithoutAWindow) {
    OpenAnimals();
    Headless().wordEdit = "untouched";
    Headless().descriptionEdit = "untouched";
    WordMatch match = FindWord(CurrentDictionary, "  cats", {PluralRetry::On, BaseForms::On});
    ASSERT_EQ(match.result, LookupResult::Ok);
    EXPECT_TRUE(match.withoutFinalS);
    EXPECT_EQ(match.letter, 'C');
    EXPECT_STREQ(CurrentDictionary.held.View().StringAt(match.entry), "CAT");
    EXPECT_EQ(DescriptionOf(match), "big cat");
    EXPECT_EQ(FindWord(CurrentDictionary, "cats", {PluralRetry::Off, BaseForms::On}).result, LookupResult::NotFound);
    EXPECT_EQ(FindWord(CurrentDictionary, "   ", {PluralRetry::On, BaseForms::On}).result, LookupResult::NotFound);
    EXPECT_EQ(FindWord(CurrentDictionary, "zebra", {PluralRetry::On, BaseForms::On}).result,
              LookupResult::LetterCannotOpen);
    EXPECT_EQ(Headless().wordEdit, "untouched");
    EXPECT_EQ(Headless().descriptionEdit, "untouched");
    EXPECT_EQ(WordHistory.Count, 0);
}

// A match keeps its letter's bytes alive: its dictionary may hold another
// letter, keep none aside, even be closed, and the match still reads its
// entry. Two dictionaries are open at once, each with its own letter.
TEST_F(LookupTest, AMatchOutlivesItsDictionarysLetterAndDictionariesStayApart) {
    OpenAnimals();
    MakeDictionary("Birds");
    MakeLetter("Birds", 'C', Entries({{"crow", "corvus"}}));
    CurrentDictionary.kept.SetBudget(0);
    const LookupOptions alone{PluralRetry::Off, BaseForms::Off};
    const WordMatch cat = FindWord(CurrentDictionary, "cat", alone);
    ASSERT_EQ(cat.result, LookupResult::Ok);

    Dictionary birds;
    ASSERT_EQ(OpenDictionary(birds, "Birds"), OpenOutcome::Opened);
    EXPECT_EQ(DescriptionOf(FindWord(birds, "crow", alone)), "corvus");
    EXPECT_EQ(FindWord(birds, "cat", alone).result, LookupResult::NotFound);
    EXPECT_EQ(FindWord(CurrentDictionary, "crow", alone).result, LookupResult::NotFound);

    LoadLetter(CurrentDictionary, 'D');
    CurrentDictionary = Dictionary();
    EXPECT_EQ(DescriptionOf(cat), "big cat");
}

// The whole word is selected after a look-up however long it is, so a
// second Find looks up the same word instead of its first 256 bytes.
TEST_F(LookupTest, ALongWordFoundTwiceStaysWhole) {
    MakeDictionary("Long");
    const std::string word = "l" + std::string(299, 'o');
    MakeLetter("Long", 'L', Entries({{word, "long"}}));
    ASSERT_NE(SelectDictionary("Long"), OpenOutcome::NoHeader);
    Type(word);
    ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Headless().selectionEnd, 300);
    ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(WordEdit(), word);
}
