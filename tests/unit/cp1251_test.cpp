// The one conversion between the program's code page 1251 and the UTF-16 of
// Windows, and what the program does with text the code page cannot hold:
// it is never turned into another character and matched, nor stored.
#include <string>

#include "maintenance/codepage.h"
#include "platform/cp1251.h"
#include "platform/headless.h"
#include "ui/program_state.h"
#include "tests/unit/test_support.h"
#include "ui/clipboard_word.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/editing_commands.h"
#include "ui/find_command.h"
#include "ui/lookup_command.h"

TEST(Cp1251Test, EveryByteRoundTripsThroughUtf16AsADistinctCharacter) {
    std::u16string all;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        std::u16string wide = Cp1251ToUtf16(one);
        ASSERT_EQ(wide.size(), 1u);
        EXPECT_EQ(all.find(wide[0]), std::u16string::npos) << "two bytes share U+" << std::hex << wide[0];
        all += wide;
        std::string back;
        char32_t unheld = Utf16ToCp1251(wide.data(), wide.size(), back);
        EXPECT_EQ(back, one) << byte;
        // 0x98 has no character in the code page: it stands for U+0098.
        EXPECT_EQ(unheld, U'\0') << byte;
    }
    EXPECT_EQ(Cp1251ToUtf16("\xC0\xFF\xA8\xB8\x88\xB9\x98"), u"\u0410\u044F\u0401\u0451\u20AC\u2116\u0098");
    EXPECT_EQ(Cp1251ToUtf16(std::string("\0a", 2)), std::u16string(u"\0a", 2));
}

TEST(Cp1251Test, TextTheCodePageCannotHoldIsRefusedNotReplaced) {
    struct Case {
        std::u16string text;
        std::string bytes;  // one byte for each UTF-16 unit
        char32_t unheld;
    };
    const Case cases[] = {
        {u"котка", "\xEA\xEE\xF2\xEA\xE0", 0},
        {u"what?", "what?", 0},
        {u"c\u00F5t", "c\x98t", U'\u00F5'},
        {u"\u00FCber \u00F5", "\x98" "ber \x98", U'\u00FC'},
        {u"\u65E5\u672C", "\x98\x98", U'\u65E5'},
        {u"a\U0001F600b", "a\x98\x98" "b", U'\U0001F600'},
        {std::u16string(u"a") + char16_t(0xD800) + u"b", "a\x98" "b", char32_t(0xD800)},
    };
    for (const Case& c : cases) {
        std::string bytes;
        EXPECT_EQ(Utf16ToCp1251(c.text.data(), c.text.size(), bytes), c.unheld) << c.bytes;
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(bytes.find('?'), c.bytes.find('?'));
    }
    // The tool's own text has no character for 0x98 either way.
    std::string out;
    EXPECT_FALSE(Utf8ToCp1251("\xC2\x98", out));
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
    EXPECT_EQ(UnheldCharacterReason(U'\u00F5'), "U+00F5 (\x98) has no place in code page 1251");
}

class UnheldTextTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeDictionary("D", "D");
        // Entries a '?', a dropped character or the byte that stands in for
        // the character would find.
        MakeLetter("D", 'C', Entries({{"c?t", "question"}, {"cat", "felis"}, {"ct", "short"}, {"c\x98t", "odd"}}));
        ASSERT_EQ(SelectDictionary("D"), OpenOutcome::Opened);
    }
};

TEST_F(UnheldTextTest, ALookUpMissesAndTheEditKeepsWhatWasTyped) {
    HeadlessTypeWordUtf16(u"c\u00F5t");
    FindCommand();
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(WordEdit(), "c\x98t");
    EXPECT_EQ(WordEditUnheldCharacter(), U'\u00F5');
    EXPECT_EQ(CurrentDictionary.held.letter, 'C');  // held for the similar words, as for any miss
    EXPECT_EQ(EditState.Modified, 1);
    // The byte itself, as a file may hold it, still round-trips and is found.
    HeadlessTypeWordUtf16(u"c\u0098t");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::On), LookupResult::Ok);
    EXPECT_EQ(Description(), "odd");
}

TEST_F(UnheldTextTest, AddRefusesNamingTheCharacterAndChangesNothing) {
    const std::string before = ReadDiskFile("D/43.dat");
    HeadlessTypeWordUtf16(u"c\u00F5t");
    HeadlessTypeDescription("x");
    EXPECT_FALSE(StoreEditsEntry(Confirmation::DontAsk));
    ASSERT_EQ(Headless().messages.size(), 1u);
    EXPECT_EQ(Headless().messages[0].text, "The word cannot be added: U+00F5 (\x98) has no place in code page 1251.");
    EXPECT_EQ(Headless().messages[0].named, U"\u00F5");

    Type("cow");
    HeadlessTypeDescriptionUtf16(u"\u725B");
    EXPECT_FALSE(StoreEditsEntry(Confirmation::DontAsk));
    ASSERT_EQ(Headless().messages.size(), 2u);
    EXPECT_EQ(Headless().messages[1].named, U"\u725B");
    EXPECT_NE(Headless().messages[1].text.find("The description cannot be added: U+725B"), std::string::npos);
    EXPECT_EQ(ReadDiskFile("D/43.dat"), before);
    EXPECT_EQ(WordEdit(), "cow");  // the user's text stays for another try
}

TEST_F(UnheldTextTest, AClipboardWordRunningIntoSuchACharacterIsNoWord) {
    EXPECT_STREQ(TakeClipboardWord("c\x98t", 3, CaseRule::Folded).word, "");
    ClipboardWord before = TakeClipboardWord("cat \x98", 5, CaseRule::Folded);
    EXPECT_STREQ(before.word, "cat");
    EXPECT_FALSE(ClipboardWordStoodAlone(before));
}
