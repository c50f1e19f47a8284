#include <cstring>
#include <filesystem>
#include <string>

#include "platform/headless.h"
#include "res/resource.h"
#include "storage/catalog.h"
#include "storage/dictionary.h"
#include "storage/dictionary_format.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

namespace fs = std::filesystem;

using CatalogueTest = ProgramFolderTest;

TEST_F(CatalogueTest, ListsOnlyVisibleFoldersWithAHeader) {
    MakeDictionary("English_Bulgarian", "English-Bulgarian");
    fs::create_directory("Notes");
    MakeDictionary(".hidden");
    WriteDiskFile("readme", "not a dictionary");
    DictionaryCatalog = ListDictionaries("");
    ASSERT_EQ(DictionaryCatalog.Count, 1);
    EXPECT_STREQ(DictionaryCatalog.Slots[0].Folder, "English_Bulgarian");
    EXPECT_STREQ(DictionaryCatalog.Slots[0].DisplayName, "English-Bulgarian");
}

TEST_F(CatalogueTest, TakesAtMostAHundredAndSkipsNamesTooLongForASlot) {
    for (int i = 0; i < 105; ++i) MakeDictionary("D" + std::to_string(i));
    DictionaryCatalog = ListDictionaries("");
    EXPECT_EQ(DictionaryCatalog.Count, kCatalogSlots);

    ResetProgramState();
    // Emptied, not removed: Windows cannot remove the current directory.
    for (const auto& item : fs::directory_iterator(root_)) fs::remove_all(item.path());
    MakeDictionary(std::string(200, 'x').substr(0, 191 + 1 - 1));  // 191 bytes fits
    DictionaryCatalog = ListDictionaries("");
    EXPECT_EQ(DictionaryCatalog.Count, 1);
}

TEST_F(CatalogueTest, HeaderNameFillingItsWholeFieldStaysTerminated) {
    fs::create_directory("Full");
    WriteDiskFile("Full/00.dat", std::string(64, 'N') + std::string(128, '\0'));
    DictionaryCatalog = ListDictionaries("");
    ASSERT_EQ(DictionaryCatalog.Count, 1);
    EXPECT_EQ(std::string(DictionaryCatalog.Slots[0].DisplayName), std::string(64, 'N'));
}

using OpenTest = ProgramFolderTest;

TEST_F(OpenTest, ReadsTheHeaderSetsTheTitleAndDropsTheOldLetter) {
    MakeDictionary("Fruit", "Fruits and more", 1, 1);
    MakeLetter("Fruit", 'a', Entries({{"apple", "yabalka"}}));
    EXPECT_NE(SelectDictionary("Fruit"), OpenOutcome::NoHeader);
    EXPECT_EQ(CurrentDictionary.displayName, "Fruits and more");
    EXPECT_EQ(CurrentDictionary.dual, 1);
    EXPECT_EQ(CurrentDictionary.caseSensitive, 1);
    EXPECT_EQ(Headless().title, "Dictionary - [Fruits and more]");
    EXPECT_EQ(std::memcmp(&CurrentDictionary.wordFont, &DefaultFont, sizeof DefaultFont), 0);
}

// Storage only opens; what the window shows of it (title, fonts, the typed
// word looked up again) comes with selecting the dictionary.
TEST_F(OpenTest, OpeningInStorageShowsNothingSelectingShowsEverything) {
    for (const char* folder : {"Fruit", "Veg"}) {
        MakeDictionary(folder, std::string(folder) + "s");
        MakeLetter(folder, 'A', Entries({{"apple", folder}}));
    }
    Type("apple");
    ASSERT_EQ(OpenDictionary(CurrentDictionary, "Fruit"), OpenOutcome::Opened);
    EXPECT_EQ(Headless().title, "");
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(Headless().fontChanges, 0);
    ASSERT_NE(SelectDictionary("Veg"), OpenOutcome::NoHeader);
    EXPECT_EQ(Headless().title, "Dictionary - [Vegs]");
    EXPECT_EQ(Description(), "Veg");
    EXPECT_EQ(Headless().fontChanges, 1);
    EXPECT_EQ(std::memcmp(&Headless().wordFont, &DefaultFont, sizeof DefaultFont), 0);
}

TEST_F(OpenTest, AlreadyOpenInAnotherCaseChangesNothing) {
    MakeDictionary("Fruit");
    ASSERT_NE(SelectDictionary("Fruit"), OpenOutcome::NoHeader);
    Headless().title = "untouched";
    EXPECT_NE(SelectDictionary("FRUIT"), OpenOutcome::NoHeader);
    EXPECT_EQ(Headless().title, "untouched");
}

TEST_F(OpenTest, MissingHeaderLeavesTheOpenDictionaryAlone) {
    MakeDictionary("Fruit");
    MakeLetter("Fruit", 'A', Entries({{"apple", "yabalka"}}));
    fs::create_directory("Notes");
    ASSERT_NE(SelectDictionary("Fruit"), OpenOutcome::NoHeader);
    Type("apple");
    ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(SelectDictionary("Notes"), OpenOutcome::NoHeader);
    EXPECT_EQ(CurrentDictionary.folder, "Fruit");
    EXPECT_EQ(CurrentDictionary.held.letter, 'A');
    EXPECT_EQ(Headless().title, "Dictionary - [Fruit]");
}

TEST_F(OpenTest, ShortHeaderKeepsDefaultFontsAndLooksTheWordUpAgain) {
    MakeDictionary("Full", "Full", 0, 0);
    MakeLetter("Full", 'C', Entries({{"cat", "felis"}}));
    fs::create_directory("Short");
    std::string header(72, '\0');
    std::memcpy(&header[0], "Short", 5);
    header[64] = 1;
    WriteDiskFile("Short/00.dat", header);
    MakeLetter("Short", 'C', Entries({{"cat", "kotka"}}));

    ASSERT_NE(SelectDictionary("Full"), OpenOutcome::NoHeader);
    Type("cat");
    ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    ASSERT_NE(SelectDictionary("Short"), OpenOutcome::NoHeader);
    EXPECT_EQ(Description(), "kotka");  // the word in the edit is looked up again
    EXPECT_EQ(CurrentDictionary.displayName, "Short");
    EXPECT_EQ(CurrentDictionary.dual, 1);
    EXPECT_EQ(std::memcmp(&CurrentDictionary.descriptionFont, &DefaultFont, sizeof DefaultFont), 0);
}

TEST_F(OpenTest, NextAndPreviousWrapAroundTheCatalogue) {
    for (const char* name : {"A1", "B2", "C3"}) MakeDictionary(name);
    DictionaryCatalog = ListDictionaries("");
    ASSERT_EQ(DictionaryCatalog.Count, 3);
    std::string last = DictionaryCatalog.Slots[2].Folder, first = DictionaryCatalog.Slots[0].Folder;
    SelectDictionary(last.c_str());
    NextDictionary();
    EXPECT_EQ(std::string(CurrentDictionary.folder), first);
    PreviousDictionary();
    EXPECT_EQ(std::string(CurrentDictionary.folder), last);
}

TEST_F(OpenTest, NextDoesNothingWithOneDictionaryOrAnUnlistedOne) {
    MakeDictionary("Only");
    DictionaryCatalog = ListDictionaries("");
    SelectDictionary("Only");
    NextDictionary();
    EXPECT_EQ(CurrentDictionary.folder, "Only");
    MakeDictionary("Other");
    MakeDictionary("Later");
    DictionaryCatalog = ListDictionaries("");
    MakeDictionary("Unlisted");
    SelectDictionary("Unlisted");
    NextDictionary();
    PreviousDictionary();
    EXPECT_EQ(CurrentDictionary.folder, "Unlisted");
}

TEST_F(OpenTest, MenuChecksTheOpenDictionaryAndOpensTheChoice) {
    MakeDictionary("One");
    MakeDictionary("Two");
    DictionaryCatalog = ListDictionaries("");
    SelectDictionary(DictionaryCatalog.Slots[0].Folder);
    Headless().menuAnswers.push_back(2);
    DictionaryMenu();
    ASSERT_EQ(Headless().menus.size(), 1u);
    const ShownMenu& menu = Headless().menus[0];
    EXPECT_EQ(menu.buttonCommand, IDM_OPEN);
    ASSERT_EQ(menu.items.size(), 2u);
    EXPECT_TRUE(menu.items[0].checked);
    EXPECT_FALSE(menu.items[1].checked);
    EXPECT_EQ(menu.items[1].id, 2);
    EXPECT_EQ(CurrentDictionary.folder, DictionaryCatalog.Slots[1].Folder);
    DictionaryMenu();  // dismissed
    EXPECT_EQ(CurrentDictionary.folder, DictionaryCatalog.Slots[1].Folder);
}

using CreateTest = ProgramFolderTest;

TEST_F(CreateTest, WritesA192ByteHeaderAndOpensTheFirstDictionary) {
    NewDictionary("Fruit", 1, 0);
    std::string header = ReadDiskFile("Fruit/00.dat");
    ASSERT_EQ(header.size(), 192u);
    EXPECT_STREQ(header.c_str(), "Fruit");
    EXPECT_EQ(header[64], 1);
    EXPECT_EQ(header[68], 0);
    EXPECT_EQ(std::memcmp(header.data() + 72, &DefaultFont, 60), 0);
    EXPECT_EQ(std::memcmp(header.data() + 132, &DefaultFont, 60), 0);
    ASSERT_EQ(Headless().messages.size(), 1u);
    EXPECT_EQ(Headless().messages[0].text, "Dictionary 'Fruit' successfuly created");
    EXPECT_EQ(Headless().messages[0].caption, "Dictionary");
    EXPECT_EQ(Headless().messages[0].style, kMsgIconInformation);
    EXPECT_EQ(CurrentDictionary.folder, "Fruit");
}

TEST_F(CreateTest, RefusesAnExistingDictionaryAndCompletesAFolderWithoutHeader) {
    MakeDictionary("Fruit", "Old name");
    NewDictionary("Fruit", 0, 0);
    EXPECT_EQ(Headless().messages.back().text, "Dictionary already exists in folder 'Fruit'");
    EXPECT_EQ(Headless().messages.back().style, kMsgIconError);
    EXPECT_STREQ(ReadDiskFile("Fruit/00.dat").c_str(), "Old name");

    fs::create_directory("Veg");
    NewDictionary("Veg", 0, 1);
    EXPECT_EQ(Headless().messages.back().text, "Dictionary 'Veg' successfuly created");
    EXPECT_EQ(ReadDiskFile("Veg/00.dat")[68], 1);
}

TEST_F(CreateTest, LongNamesAreCutTo63Bytes) {
    std::string name(70, 'n');
    NewDictionary(name.c_str(), 0, 0);
    std::string header = ReadDiskFile(name + "/00.dat");
    EXPECT_EQ(std::string(header.c_str()), std::string(63, 'n'));
}

TEST_F(CreateTest, RefusesNamesThatLeaveTheProgramFolder) {
    fs::create_directory("inside");
    for (const char* bad : {"../escape", "inside/x", "inside\\x", "..", ".", "a:b", "CON", "nul.txt",
                            "what?", "tab\there", ""}) {
        NewDictionary(bad, 0, 0);
        EXPECT_EQ(Headless().messages.back().text, std::string("Error creating folder '") + bad + "'") << bad;
    }
    EXPECT_FALSE(fs::exists("../escape"));
    EXPECT_TRUE(fs::is_empty("inside"));
}

TEST_F(CreateTest, DoesNotSwitchAwayFromALoadedLetter) {
    MakeDictionary("Zoo");
    MakeLetter("Zoo", 'C', Entries({{"cat", "felis"}}));
    DictionaryCatalog = ListDictionaries("");
    SelectDictionary("Zoo");
    Type("cat");
    LookupWord(MissedDescription::Clear, PluralRetry::On);
    NewDictionary("Aaa", 0, 0);
    EXPECT_EQ(CurrentDictionary.folder, "Zoo");
}

using HeaderWriteTest = ProgramFolderTest;

TEST_F(HeaderWriteTest, RenamesInMemoryTheCatalogueAndOnDisk) {
    MakeDictionary("Fruit", "Fruit");
    std::string extra = ReadDiskFile("Fruit/00.dat") + "tail";
    WriteDiskFile("Fruit/00.dat", extra);
    DictionaryCatalog = ListDictionaries("");
    SelectDictionary("Fruit");
    ApplyDictionaryInfo({"Fresh fruit", true, true});
    EXPECT_EQ(CurrentDictionary.displayName, "Fresh fruit");
    EXPECT_STREQ(DictionaryCatalog.Slots[0].DisplayName, "Fresh fruit");
    EXPECT_EQ(Headless().title, "Dictionary - [Fresh fruit]");
    std::string header = ReadDiskFile("Fruit/00.dat");
    EXPECT_STREQ(header.c_str(), "Fresh fruit");
    EXPECT_EQ(header[64], 1);
    EXPECT_EQ(header[68], 1);
    EXPECT_EQ(header.substr(192), "tail");

    Headless().title = "kept";
    CurrentDictionary.wordFont.height = 30;
    WriteDictionaryHeader(CurrentDictionary, nullptr);  // a font change keeps name and title
    EXPECT_EQ(Headless().title, "kept");
    int32_t height;
    std::memcpy(&height, ReadDiskFile("Fruit/00.dat").data() + 72, 4);
    EXPECT_EQ(height, 30);
}
