// Adding, replacing and deleting an entry as changes of a letter file's
// bytes, with no dictionary on disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lookup/entry_edits.h"
#include "tests/unit/test_support.h"

namespace {

struct Edited {
    LetterChangeOutcome outcome;
    std::string file;
    int32_t offset;
};

Edited Edit(const std::string& file, EntryEditKind kind, const char* word, const char* description,
            CaseRule rule = CaseRule::Folded) {
    std::vector<unsigned char> held(file.begin(), file.end());
    held.push_back(0);  // as the letter buffer holds a file
    LetterView present{held.data(), static_cast<int32_t>(held.size())};
    std::vector<unsigned char> changed;
    Edited edited{LetterChangeOutcome::Done, "", -1};
    edited.outcome = EditLetterBytes({kind, word, description}, present, rule, changed, edited.offset);
    edited.file.assign(changed.begin(), changed.end());
    return edited;
}

}  // namespace

TEST(EntryEditsTest, EachEditKeepsTheFileSortedAndTouchesOneEntry) {
    const std::string file = Entries({{"cab", "taxi"}, {"cat", "felis"}, {"cow", "bos"}});

    Edited added = Edit(file, EntryEditKind::Add, "cav", "x");
    EXPECT_EQ(added.file, Entries({{"cab", "taxi"}, {"cat", "felis"}, {"cav", "x"}, {"cow", "bos"}}));
    EXPECT_EQ(added.offset, 19);
    EXPECT_EQ(Edit(file, EntryEditKind::Add, "CAT", "y").outcome, LetterChangeOutcome::AlreadyThere);
    // Compared exactly, CAT is another word: it goes after the words equal to it.
    EXPECT_EQ(Edit(file, EntryEditKind::Add, "CAT", "y", CaseRule::Exact).file,
              Entries({{"cab", "taxi"}, {"cat", "felis"}, {"CAT", "y"}, {"cow", "bos"}}));

    EXPECT_EQ(Edit(file, EntryEditKind::Replace, "CAT", "new").file,
              Entries({{"cab", "taxi"}, {"CAT", "new"}, {"cow", "bos"}}));
    Edited deleted = Edit(file, EntryEditKind::Delete, "cab", "");
    EXPECT_EQ(deleted.file, Entries({{"cat", "felis"}, {"cow", "bos"}}));
    EXPECT_EQ(deleted.offset, 0);
    EXPECT_EQ(Edit(file, EntryEditKind::Delete, "dog", "").outcome, LetterChangeOutcome::NotThere);
    EXPECT_EQ(Edit("", EntryEditKind::Add, "ant", "a").file, Entries({{"ant", "a"}}));
}
