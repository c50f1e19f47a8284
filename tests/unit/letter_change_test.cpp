// Changes of a letter file while another editor works on the same
// dictionary, the single write of a replacement, and the files an
// interrupted writer leaves behind.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

#include "lookup/entry_edits.h"
#include "platform/headless.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/editing_commands.h"
#include "ui/lookup_command.h"

namespace {

// A second editor of the same dictionary: its own dictionary value and
// edits, swapped in while it acts, as another copy of the program would
// hold them.
class OtherEditor {
public:
    template <class Action> void Act(Action action) {
        Swap();
        action();
        Swap();
    }

private:
    // The same program: its window procedure stays.
    void Swap() {
        std::swap(CurrentDictionary, dictionary_);
        std::swap(Headless(), headless_);
        std::swap(Headless().procedure, headless_.procedure);
        std::swap(EditState, edits_);
    }
    Dictionary dictionary_;
    HeadlessState headless_;
    EditStateRecord edits_{};
};

class LetterChangeTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeDictionary("D");
        MakeLetter("D", 'C', Entries({{"cab", "taxi"}, {"cat", "felis"}}));
        ASSERT_NE(SelectDictionary("D"), OpenOutcome::NoHeader);
        other_.Act([] { SelectDictionary("D"); });
    }
    static void Add(const std::string& word, const std::string& description, int answer = kAnswerYes) {
        Type(word);
        HeadlessTypeDescription(description.c_str());
        Headless().messageAnswers = {answer};
        AddWordCommand();
    }
    static void Find(const std::string& word) {
        Type(word);
        LookupWord(MissedDescription::Clear, PluralRetry::Off);
    }
    static void Type(const std::string& word) { HeadlessTypeWord(word.c_str()); }
    static std::string LastMessage() {
        return Headless().messages.empty() ? "" : Headless().messages.back().text;
    }
    OtherEditor other_;
};

}  // namespace

// Each editor keeps the letter it loaded; a change is made to the file as it
// is on disk, so taking turns loses nobody's entry.
TEST_F(LetterChangeTest, TwoEditorsTakingTurnsLoseNothing) {
    Find("cab");
    other_.Act([] { Find("cat"); });
    Add("cod", "gadus");
    other_.Act([] { Add("cow", "bos"); });
    Add("cub", "young");
    other_.Act([] { Add("cat", "felis catus"); });
    EXPECT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cab", "taxi"}, {"cat", "felis catus"}, {"cod", "gadus"},
                                                 {"cow", "bos"}, {"cub", "young"}}));
    EXPECT_TRUE(Headless().messages.empty());
    // The buffer is what is on disk after each change.
    Type("cow");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::Ok);
}

// A change that no longer applies to the file as the other editor left it
// changes nothing, and the user is told; the typed text stays for a retry.
TEST_F(LetterChangeTest, AChangeThatNoLongerAppliesIsReportedAndNothingChanged) {
    Find("cat");
    other_.Act([] {
        Find("cat");
        DeleteWordCommand(Confirmation::DontAsk);
    });
    const std::string afterOther = Entries({{"cab", "taxi"}});
    Add("cat", "felis catus");
    EXPECT_EQ(LastMessage(), "Another program has just removed 'cat' from this dictionary. Nothing was changed.");
    EXPECT_EQ(Headless().messages.back().caption, "Error");
    EXPECT_EQ(ReadDiskFile("D/43.dat"), afterOther);
    EXPECT_EQ(WordEdit(), "cat");
    EXPECT_EQ(Description(), "felis catus");
    AddWordCommand();  // again: now a plain addition
    EXPECT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cab", "taxi"}, {"cat", "felis catus"}}));

    Find("cab");
    other_.Act([] { DeleteWordCommand(Confirmation::DontAsk); });  // its buffer still holds cab as found before
    size_t shown = Headless().messages.size();
    DeleteWordCommand(Confirmation::DontAsk);
    EXPECT_EQ(Headless().messages.size(), shown + 1);
    EXPECT_EQ(LastMessage(), "Another program has just removed 'cab' from this dictionary. Nothing was changed.");
    EXPECT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cat", "felis catus"}}));

    Find("cod");  // not there
    other_.Act([] { Add("cod", "gadus"); });
    Add("cod", "fish");
    EXPECT_EQ(LastMessage(), "Another program has just added 'cod' to this dictionary. Nothing was changed.");
    EXPECT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cat", "felis catus"}, {"cod", "gadus"}}));
    Headless().messageAnswers = {kAnswerYes};
    AddWordCommand();  // again: now asked, and replaced
    EXPECT_EQ(LastMessage(), "This word is already in dictionary! Replace it?");
    EXPECT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cat", "felis catus"}, {"cod", "fish"}}));
}

TEST_F(LetterChangeTest, AReplacementKeepsWhatAnotherEditorAddedMeanwhile) {
    Find("cat");
    other_.Act([] { Add("cub", "young"); });
    Add("cat", "felis catus");
    EXPECT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cab", "taxi"}, {"cat", "felis catus"}, {"cub", "young"}}));
    EXPECT_EQ(Description(), "felis catus");
}

#ifdef __linux__
// A replacement is one write of the letter file: no moment in which the
// word has no entry at all.
TEST_F(LetterChangeTest, AReplacementReplacesTheFileOnce) {
    int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, "D", IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    Find("cat");
    Add("cat", "felis catus");
    ASSERT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cab", "taxi"}, {"cat", "felis catus"}}));

    int replaced = 0;
    alignas(inotify_event) char events[8192];
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;)
        for (char* at = events; at < events + n;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            if ((event->mask & IN_MOVED_TO) && event->len && std::string(event->name) == "43.dat") ++replaced;
            at += sizeof(inotify_event) + event->len;
        }
    close(watch);
    EXPECT_EQ(replaced, 1);
}
#endif

// Another program rewrites the letter file in place (cuts it short, as a
// copy over it does first) while a change is being made: the change is
// made of the bytes read under the lock, never of the held letter, which
// may be a mapping of that file and would read as zeros past the cut.
TEST_F(LetterChangeTest, AChangeIsMadeOfTheFileAsReadUnderTheLock) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 3000; ++i) entries.push_back({"ca" + std::to_string(10000 + i), "felis catus"});
    const std::string before = Entries(entries);
    MakeLetter("D", 'C', before);
    Find("ca10000");  // the letter is held (mapped where the system allows)
    ASSERT_EQ(CurrentDictionary.held.letter, 'C');

    LetterChangeResult result = ChangeLetter(
        CurrentDictionary, 'C', [](const LetterView& present, std::vector<unsigned char>& changed, int32_t& offset) {
            std::filesystem::resize_file("D/43.dat", 4096);  // in place, as another program may
            return EditLetterBytes({EntryEditKind::Add, "cz", "last"}, present, CaseRule::Folded, changed, offset);
        });
    ASSERT_EQ(result.outcome, LetterChangeOutcome::Done);
    const std::string written = ReadDiskFile("D/43.dat");
    EXPECT_EQ(written.find(std::string(2, '\0')), std::string::npos) << "a run of NULs was written";
    EXPECT_TRUE(written == before + Entries({{"cz", "last"}})) << "not the file as read with the entry added";
}

TEST_F(LetterChangeTest, EditingRemovesWhatInterruptedWritersLeft) {
    for (const char* name : {"43.dat.tmp", "43.dat.tmp4242", "00.dat.tmp77.3"})
        WriteDiskFile(std::string("D/") + name, "half written");
    Add("cow", "bos");
    EXPECT_EQ(ReadDiskFile("D/43.dat"), Entries({{"cab", "taxi"}, {"cat", "felis"}, {"cow", "bos"}}));
    for (const auto& entry : std::filesystem::directory_iterator("D"))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}
