#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/files.h"
#include "platform/headless.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "storage/dictionary_format.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/editing_commands.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

class EditingTest : public ProgramFolderTest {
protected:
    void Open(int dual = 0, int caseSensitive = 0) {
        MakeDictionary("D", "D", dual, caseSensitive);
        ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
    }
    // The user types a pair into the two edits.
    void Enter(const std::string& word, const std::string& description) {
        Type(word);
        HeadlessTypeDescription(description.c_str());
    }
    void Find(const std::string& word) {
        Type(word);
        ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::Ok);
    }
    static std::string Letter(unsigned char letter) {
        char path[16];
        std::snprintf(path, sizeof path, "D/%02x.dat", letter);
        return ReadDiskFile(path);
    }
    static bool Exists(unsigned char letter) {
        char path[16];
        std::snprintf(path, sizeof path, "D/%02x.dat", letter);
        return std::filesystem::exists(path);
    }
    static std::string LastMessage() {
        const auto& shown = Headless().messages;
        return shown.empty() ? "" : shown.back().text;
    }
};

TEST_F(EditingTest, ReplacingAsksFirstAndNoChangesNothing) {
    Open();
    const std::string before = Entries({{"cab", "x"}, {"cat", "felis"}, {"cow", "bos"}});
    MakeLetter("D", 'C', before);

    Enter("cat", "felis catus");
    Headless().messageAnswers = {kAnswerNo};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    ASSERT_EQ(Headless().messages.size(), 1u);
    EXPECT_EQ(Headless().messages[0].text, "This word is already in dictionary! Replace it?");
    EXPECT_EQ(Headless().messages[0].caption, "Confirmation");
    EXPECT_EQ(Headless().messages[0].style, kMsgYesNo | kMsgIconQuestion);
    EXPECT_EQ(Letter('C'), before);
    EXPECT_EQ(Description(), "felis");  // the stored entry, as the check found it

    Enter("cat", "felis catus");
    Headless().messageAnswers = {kAnswerYes};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter('C'), Entries({{"cab", "x"}, {"cat", "felis catus"}, {"cow", "bos"}}));
    EXPECT_EQ(WordEdit(), "cat");
    EXPECT_EQ(Description(), "felis catus");
    EXPECT_EQ(EditState.Modified, 0);
    EXPECT_TRUE(HeadlessToolbarEnabled(IDM_DEL));
    EXPECT_FALSE(HeadlessToolbarEnabled(IDM_ADD));

    // The check is for the whole word, not a selected part that exists.
    Enter("cabin", "hut");
    SetWordEditSelection(0, 3);
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Headless().messages.size(), 2u);
    EXPECT_EQ(Letter('C'), Entries({{"cab", "x"}, {"cabin", "hut"}, {"cat", "felis catus"}, {"cow", "bos"}}));
}

TEST_F(EditingTest, InsertsInSortedOrderAfterEqualWordsAndCreatesTheFile) {
    Open(0, 1);
    MakeLetter("D", 'C', Entries({{"Cat", "big"}}));
    MakeLetter("D", 'c', Entries({{"cab", "1"}, {"cow", "2"}}));
    Enter("cat", "small");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_TRUE(Headless().messages.empty());
    EXPECT_EQ(Letter('c'), Entries({{"cab", "1"}, {"cat", "small"}, {"cow", "2"}}));
    Enter("Cat", "wild");  // found: replaced, not added
    Headless().messageAnswers = {kAnswerYes};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter('C'), Entries({{"Cat", "wild"}}));
    Enter("CAT", "loud");  // equal under the ordering, unknown to the look-up
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    Enter("CAB", "first");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter('C'), Entries({{"CAB", "first"}, {"Cat", "wild"}, {"CAT", "loud"}}));
    Enter("czar", "last");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter('c'), Entries({{"cab", "1"}, {"cat", "small"}, {"cow", "2"}, {"czar", "last"}}));
    EXPECT_EQ(Description(), "last");

    Enter("dog", "canis");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter('d'), Entries({{"dog", "canis"}}));  // a new letter file
}

TEST_F(EditingTest, RefusesAMissingWordOrDescription) {
    Open();
    Enter("", "felis");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    EXPECT_EQ(LastMessage(), "No word!");
    EXPECT_EQ(Headless().messages.back().caption, "Error");
    EXPECT_EQ(Headless().messages.back().style, kMsgIconError);
    Enter("cat", "");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    EXPECT_EQ(LastMessage(), "No description!");
    EXPECT_FALSE(Exists('C'));
}

// A word of 255 bytes and a description of 9,998 are stored whole; longer
// ones are refused with the limit named, never cut.
TEST_F(EditingTest, LongestWordAndDescriptionAreStoredWholeAndLongerOnesRefused) {
    Open();
    const std::string word = "w" + std::string(254, 'x');
    const std::string description(9998, 'd');
    Enter(word, description);
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter('W'), Entries({{word, description}}));
    Enter(word, "other");
    Headless().messageAnswers = {kAnswerYes};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);  // found in full and replaced, not added twice
    EXPECT_EQ(Letter('W'), Entries({{word, "other"}}));

    Enter(word + "y", "other");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    EXPECT_EQ(LastMessage(),
              "The word is longer than 255 characters, the most a word may have. Nothing was changed.");
    Enter("w" + std::string(5000, 'y'), "other");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    Enter("wren", description + "d");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    EXPECT_EQ(LastMessage(), "The description is longer than 9998 characters, the most a description may have. "
                             "Nothing was changed.");
    EXPECT_EQ(Letter('W'), Entries({{word, "other"}}));
    EXPECT_EQ(Description(), description + "d");  // kept for the user to shorten
}

TEST_F(EditingTest, DualDictionaryStoresTheReverseOfAOneLineDescription) {
    Open(1);
    MakeLetter("D", 'K', Entries({{"kotkata", "the cat"}}));
    Settings.autoComplete = 1;  // must not turn kotka into kotkata
    Enter("cat", "kotka");
    AddWordCommand();
    EXPECT_EQ(Letter('C'), Entries({{"cat", "kotka"}}));
    EXPECT_EQ(Letter('K'), Entries({{"kotka", "cat"}, {"kotkata", "the cat"}}));
    EXPECT_EQ(WordEdit(), "cat");
    EXPECT_EQ(Description(), "kotka");
    EXPECT_EQ(EditState.Modified, 0);
    EXPECT_EQ(Settings.autoComplete, 1);
    EXPECT_TRUE(Headless().wordEditFocused);
    EXPECT_TRUE(Headless().messages.empty());

    Settings.autoComplete = 0;
    Enter("dog", "kuche; pes");  // shown on two lines
    AddWordCommand();
    EXPECT_EQ(Letter('D'), Entries({{"dog", "kuche; pes"}}));

    Enter("hen", "kokoshka");
    Headless().descriptionLineCount = 2;  // wrapped in the edit
    AddWordCommand();
    EXPECT_TRUE(Exists('H'));
    EXPECT_EQ(Letter('K'), Entries({{"kotka", "cat"}, {"kotkata", "the cat"}}));
}

// The entry and its reverse are one change of two letter files: when the
// reverse entry's file cannot be read or written, neither is stored. A
// description that could not be a word (longer than a word may be, or
// blank) gets no reverse entry and no message.
TEST_F(EditingTest, ADualAdditionStoresBothEntriesOrNeither) {
    Open(1);
    std::filesystem::create_directory("D/4b.dat");  // there, cannot be read
    Enter("cat", "kotka");
    AddWordCommand();
    EXPECT_EQ(LastMessage(),
              "Could not read the dictionary file '" + PlatformShownPath("D\\4b.dat") + "'. Nothing was changed.");
    EXPECT_FALSE(Exists('C'));
    EXPECT_EQ(WordEdit(), "cat");
    EXPECT_EQ(Description(), "kotka");

    std::filesystem::remove("D/4b.dat");
    MakeLetter("D", 'K', Entries({{"kuche", "dog"}}));
    std::filesystem::permissions("D/4b.dat", std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                                 std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    AddWordCommand();
    EXPECT_EQ(LastMessage(), "Could not save the dictionary file '" + PlatformShownPath("D\\4b.dat") +
                                 "': the file is read-only. Nothing was changed.");
    EXPECT_FALSE(Exists('C'));
    std::filesystem::permissions("D/4b.dat", std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    AddWordCommand();
    EXPECT_EQ(Letter('C'), Entries({{"cat", "kotka"}}));
    EXPECT_EQ(Letter('K'), Entries({{"kotka", "cat"}, {"kuche", "dog"}}));

    const size_t shown = Headless().messages.size();
    const std::string longLine = "k" + std::string(kLongestWord, 'a');
    Enter("cow", longLine);
    AddWordCommand();
    Enter("crab", "   ");
    AddWordCommand();
    EXPECT_EQ(Headless().messages.size(), shown);
    EXPECT_EQ(Letter('C'), Entries({{"cat", "kotka"}, {"cow", longLine}, {"crab", "   "}}));
    EXPECT_EQ(Letter('K'), Entries({{"kotka", "cat"}, {"kuche", "dog"}}));
}

TEST_F(EditingTest, DeleteAsksThenShowsANeighbour) {
    Open();
    MakeLetter("D", 'C', Entries({{"cab", "taxi"}, {"cat", "felis"}, {"cow", "bos taurus"}}));
    Find("cat");
    Headless().messageAnswers = {kAnswerNo};
    DeleteWordCommand(Confirmation::Ask);
    EXPECT_EQ(LastMessage(), "Are you sure you want to delete this word?");
    EXPECT_EQ(Headless().messages.back().style, kMsgYesNo | kMsgIconQuestion);
    EXPECT_EQ(Letter('C'), Entries({{"cab", "taxi"}, {"cat", "felis"}, {"cow", "bos taurus"}}));

    Headless().messageAnswers = {kAnswerYes};
    DeleteWordCommand(Confirmation::Ask);
    EXPECT_EQ(Letter('C'), Entries({{"cab", "taxi"}, {"cow", "bos taurus"}}));
    EXPECT_EQ(CurrentDictionary.held.View().length, static_cast<int32_t>(Letter('C').size() + 1));
    EXPECT_EQ(CurrentDictionary.held.View().data[CurrentDictionary.held.View().length - 1], 0);
    EXPECT_EQ(WordEdit(), "cow");  // the entry that followed

    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_EQ(Letter('C'), Entries({{"cab", "taxi"}}));
    EXPECT_EQ(WordEdit(), "cab");  // the last one went: the one before it
    EXPECT_EQ(Description(), "taxi");

    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_TRUE(Exists('C'));
    EXPECT_EQ(Letter('C'), "");
    EXPECT_EQ(WordEdit(), "cab");  // nothing left to show
    EXPECT_EQ(Description(), "taxi");
    Type("cow");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::NotFound);
}

TEST_F(EditingTest, LetterCaseFollowsTheDictionary) {
    const std::string kotka = "\xEA\xEE\xF2\xEA\xE0", KOTKA = "\xCA\xCE\xD2\xCA\xC0";  // котка
    Open();
    MakeLetter("D", 0xCA, Entries({{kotka, "cat"}, {"\xEA\xF3\xF7\xE5", "dog"}}));
    Enter(KOTKA, "a cat");
    Headless().messageAnswers = {kAnswerYes};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter(0xCA), Entries({{KOTKA, "a cat"}, {"\xEA\xF3\xF7\xE5", "dog"}}));
    Type(kotka);
    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_EQ(Letter(0xCA), Entries({{"\xEA\xF3\xF7\xE5", "dog"}}));

    ResetProgramState();
    MakeDictionary("S", "S", 0, 1);
    ASSERT_NE(SelectDictionary("S"), OpenOutcome::NoHeader);
    MakeLetter("S", 'c', Entries({{"cat", "small"}, {"cow", "bos"}}));
    MakeLetter("S", 'C', Entries({{"Cat", "big"}}));
    Find("cat");
    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_EQ(ReadDiskFile("S/63.dat"), Entries({{"cow", "bos"}}));
    EXPECT_EQ(ReadDiskFile("S/43.dat"), Entries({{"Cat", "big"}}));
}

TEST_F(EditingTest, AReadOnlyLetterFileIsKeptAndTheFailureReported) {
    Open();
    const std::string before = Entries({{"cat", "felis"}, {"cow", "bos"}});
    MakeLetter("D", 'C', before);
    // A letter file marked read-only is never replaced.
    const auto writable = std::filesystem::status("D/43.dat").permissions();
    std::filesystem::permissions("D/43.dat", std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                                 std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);

    Enter("cub", "young");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    // The file as this system writes paths, and why.
    EXPECT_EQ(LastMessage(), "Could not save the dictionary file '" + PlatformShownPath("D\\43.dat") +
                                 "': the file is read-only. Nothing was changed.");
    EXPECT_EQ(Headless().messages.back().caption, "Error");
    EXPECT_EQ(Headless().messages.back().style, kMsgIconError);
    EXPECT_EQ(Letter('C'), before);
    EXPECT_EQ(WordEdit(), "cub");  // kept for another try
    EXPECT_EQ(Description(), "young");
    EXPECT_TRUE(HeadlessToolbarEnabled(IDM_ADD));
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off),
              LookupResult::NotFound);  // memory matches the disk

    Find("cat");
    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_EQ(Headless().messages.size(), 2u);
    EXPECT_EQ(Letter('C'), before);
    Find("cat");

    // A replacement whose removal cannot be written stores nothing either.
    Enter("cat", "new");
    Headless().messageAnswers = {kAnswerYes};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    EXPECT_EQ(Headless().messages.size(), 4u);
    EXPECT_EQ(Letter('C'), before);
    EXPECT_EQ(Description(), "new");
    std::filesystem::permissions("D/43.dat", writable);
}

TEST_F(EditingTest, UnreadableOrDamagedLetterFilesAreNotCutShort) {
    Open();
    std::filesystem::create_directory("D/43.dat");  // exists, cannot be read
    Enter("cat", "felis");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    EXPECT_EQ(LastMessage(),
              "Could not read the dictionary file '" + PlatformShownPath("D\\43.dat") + "'. Nothing was changed.");
    EXPECT_TRUE(std::filesystem::is_directory("D/43.dat"));

    // The last description lost its NUL: a new entry does not run into it,
    // and removing the entry before keeps that one's NUL.
    MakeLetter("D", 'D', std::string("dog\0canis", 9));
    MakeLetter("D", 'F', std::string("fox\0vulpes\0fly\0musca", 20));
    Type("fly");
    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_EQ(Letter('F'), Entries({{"fox", "vulpes"}}));
    Enter("eel", "x");  // another letter, so D is read afresh below
    StoreEditsEntry(Confirmation::Ask);
    Enter("duck", "anas");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter('D'), Entries({{"dog", "canis"}, {"duck", "anas"}}));
}

// Completion follows the user's typing only: the look-up that tests whether
// the word is there must not complete it into another entry.
TEST_F(EditingTest, WithCompletionOnTheTypedWordIsAddedAndNothingElseChanges) {
    Open();
    MakeLetter("D", 'C', Entries({{"cab", "taxi"}, {"cat", "felis"}}));
    Settings.autoComplete = 1;
    Type("ca");
    ASSERT_EQ(WordEdit(), "cab");  // completed, the tail selected
    HeadlessPressDeleteInWordEdit();
    ASSERT_EQ(WordEdit(), "ca");
    HeadlessTypeDescription("about");
    EditState.LastKey = 't';  // the last key was typed in the description
    Headless().messageAnswers = {kAnswerYes};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_TRUE(Headless().messages.empty()) << "nothing to replace";
    EXPECT_EQ(Letter('C'), Entries({{"ca", "about"}, {"cab", "taxi"}, {"cat", "felis"}}));
    EXPECT_EQ(WordEdit(), "ca");
    EXPECT_EQ(Description(), "about");
}

TEST_F(EditingTest, WithCompletionOnADualDictionaryStoresTheTypedWordAndItsReverse) {
    Open(1);
    MakeLetter("D", 'C', Entries({{"catalog", "katalog"}}));
    Settings.autoComplete = 1;
    Type("cat");
    ASSERT_EQ(WordEdit(), "catalog");
    HeadlessPressDeleteInWordEdit();
    HeadlessTypeDescription("kotka");
    EditState.LastKey = 'a';
    Headless().messageAnswers = {kAnswerNo};
    AddWordCommand();
    EXPECT_TRUE(Headless().messages.empty());
    EXPECT_EQ(Letter('C'), Entries({{"cat", "kotka"}, {"catalog", "katalog"}}));
    EXPECT_EQ(Letter('K'), Entries({{"kotka", "cat"}}));
    EXPECT_EQ(WordEdit(), "cat");
}

// The look-up finds a word by its text between the blanks around it; an
// entry stored with them could be neither found nor deleted.
TEST_F(EditingTest, TheWordIsStoredWithoutTheBlanksAroundItTheDescriptionAsTyped) {
    Open();
    MakeLetter("D", 'C', Entries({{"cat", "felis"}}));
    Enter("cat ", "felis catus");
    Headless().messageAnswers = {kAnswerYes};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(LastMessage(), "This word is already in dictionary! Replace it?");
    EXPECT_EQ(Letter('C'), Entries({{"cat", "felis catus"}}));
    EXPECT_EQ(WordEdit(), "cat");

    Enter("  cow", " bos  ");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 1);
    EXPECT_EQ(Letter('C'), Entries({{"cat", "felis catus"}, {"cow", " bos  "}}));
    EXPECT_FALSE(Exists(' '));

    Type("  cow ");
    ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::Ok);
    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_EQ(Letter('C'), Entries({{"cat", "felis catus"}}));
    EXPECT_EQ(WordEdit(), "cat");  // the neighbour of the deleted word

    size_t shown = Headless().messages.size();
    Enter("   ", "blank");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    EXPECT_EQ(Headless().messages.size(), shown + 1);
    EXPECT_EQ(LastMessage(), "No word!");
}

// A description left empty is refused before the replacement question, so
// the old entry is neither asked about nor touched.
TEST_F(EditingTest, AnEmptyDescriptionIsRefusedBeforeAnyQuestion) {
    Open();
    const std::string before = Entries({{"cat", "felis"}});
    MakeLetter("D", 'C', before);
    Enter("cat", "");
    Headless().messageAnswers = {kAnswerYes};
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    ASSERT_EQ(Headless().messages.size(), 1u);
    EXPECT_EQ(LastMessage(), "No description!");
    EXPECT_EQ(Letter('C'), before);
}

// A letter file that cannot be read whole is neither taken for an empty
// one nor written over; its size alone puts it out of reach here.
TEST_F(EditingTest, ALetterFileThatCannotBeReadIsLeftAloneAndTheUserTold) {
    Open();
    const unsigned long long huge = 0x80000000ull;
    { std::ofstream create("D/43.dat"); }
    std::filesystem::resize_file("D/43.dat", huge);  // sparse: costs no disk
    Type("cat");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::LetterCannotOpen);

    Enter("cat", "felis");
    EXPECT_EQ(StoreEditsEntry(Confirmation::Ask), 0);
    EXPECT_EQ(LastMessage(),
              "Could not read the dictionary file '" + PlatformShownPath("D\\43.dat") + "'. Nothing was changed.");
    EXPECT_EQ(Headless().messages.back().caption, "Error");
    EXPECT_EQ(Headless().messages.back().style, kMsgIconError);
    EXPECT_EQ(std::filesystem::file_size("D/43.dat"), huge);
    EXPECT_EQ(WordEdit(), "cat");  // kept for another try
    EXPECT_EQ(Description(), "felis");

    MakeLetter("D", 'D', Entries({{"dog", "canis"}}));
    Type("dog");
    ASSERT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::Ok);
    Type("cat");
    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_EQ(Headless().messages.size(), 2u);
    EXPECT_EQ(std::filesystem::file_size("D/43.dat"), huge);
}

// Address sanitizer reserves more address space than any limit would allow.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef __SANITIZE_ADDRESS__
#define UNDER_ADDRESS_SANITIZER 1
#endif

#if !defined(_WIN32) && !defined(UNDER_ADDRESS_SANITIZER)
// Without the memory to hold a letter file, the look-up counts it as one
// that cannot be read and a change says so: nothing ends the program,
// nothing is written over it.
TEST_F(EditingTest, NoMemoryForALetterFileEndsNothingAndWritesNothing) {
    Open();
    const unsigned long long size = 256ull << 20;
    { std::ofstream create("D/43.dat"); }
    std::filesystem::resize_file("D/43.dat", size);
    Enter("cat", "felis");
    fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for what the process holds now and a little more, not for the file.
        long pages = 0;
        FILE* statm = std::fopen("/proc/self/statm", "r");
        if (!statm || std::fscanf(statm, "%ld", &pages) != 1) _exit(3);
        std::fclose(statm);
        rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (64u << 20);
        struct rlimit cap = {limit, limit};
        if (setrlimit(RLIMIT_AS, &cap) != 0) _exit(3);
        bool lookupAnswers = LookupWord(MissedDescription::Keep, PluralRetry::Off) == LookupResult::LetterCannotOpen;
        bool refused = StoreEditsEntry(Confirmation::Ask) == 0 && LastMessage() == "Not enough memory!";
        _exit(lookupAnswers && refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(std::filesystem::file_size("D/43.dat"), size);
}
#endif
