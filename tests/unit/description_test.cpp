#include <cstring>
#include <string>

#include "lookup/description.h"
#include "platform/headless.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"
#include "ui/lookup_command.h"
#include "ui/program_state.h"

class DescriptionTest : public ProgramFolderTest {
protected:
    std::string Show(const std::string& letterBytes, const std::string& word) {
        ResetProgramState();
        MakeDictionary("D");
        MakeLetter("D", 'B', letterBytes);
        SelectDictionary("D");
        Type(word);
        EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), LookupResult::Ok);
        return Description();
    }
};

TEST_F(DescriptionTest, JoinsContinuationEntriesAfterAnEmptyLine) {
    std::string bank = Entries({{"bank", "money; credit"}, {"bank {2}", "river; side"}, {"bankrupt", "insolvent"}});
    EXPECT_EQ(Show(bank, "bank"), "money\r\n credit\r\n\r\nriver\r\n side");
    EXPECT_EQ(Show(bank, "bank {2}"), "river\r\n side");
    EXPECT_EQ(Show(Entries({{"b", "one"}, {"b{2}", ""}, {"c", "x"}}), "b"), "one\r\n\r\n");
    EXPECT_EQ(Show(Entries({{"b", "last"}}), "b"), "last");
}

TEST_F(DescriptionTest, SemicolonsBecomeBreaksExceptBeforeANumberWithoutPeriod) {
    auto show = [&](const std::string& description) { return Show(Entries({{"b", description}}), "b"); };
    EXPECT_EQ(show("a; b"), "a\r\n b");
    EXPECT_EQ(show("x; 2. y"), "x\r\n 2. y");
    EXPECT_EQ(show("x; 2 y"), "x; 2 y");
    EXPECT_EQ(show("x; 25"), "x; 25");
    EXPECT_EQ(show("x;y"), "x\r\ny");
    EXPECT_EQ(show("x; 0. y"), "x\r\n 0. y");
    EXPECT_EQ(show("end;"), "end\r\n");
    EXPECT_EQ(show("a;b;c;").size(), 6u + 3);
}

TEST_F(DescriptionTest, LongTextIsShownWhole) {
    std::string longText;
    for (int i = 0; i < 4000; ++i) longText += "ab;";
    std::string shown = Show(Entries({{"b", longText}}), "b");
    EXPECT_EQ(shown.size(), longText.size() + 4000);
    EXPECT_EQ(shown.substr(shown.size() - 4), "ab\r\n");
}

TEST(InsertTextTest, MovesTheRestIncludingItsTerminator) {
    char buffer[16] = "world";
    InsertText(buffer, "hello ");
    EXPECT_STREQ(buffer, "hello world");
    InsertText(buffer + 11, "!");
    EXPECT_STREQ(buffer, "hello world!");
}
