// The import's conversion to code page 1251, the word clean-up and the tsv
// escapes.
#include <string>

#include <gtest/gtest.h>

#include "maintenance/import_layout.h"
#include "maintenance/import_text.h"

TEST(ImportTextTest, RemovesAccentsAndReplacesOrDropsWhatTheCodePageLacks) {
    TextCounts counts;
    // ко́тка with a combining acute; й written as и + combining breve.
    EXPECT_EQ(ImportText("\xD0\xBA\xD0\xBE\xCC\x81\xD1\x82\xD0\xBA\xD0\xB0 \xD0\xB8\xCC\x86", counts),
              "\xEA\xEE\xF2\xEA\xE0 \xE9");
    EXPECT_EQ(counts.marksRemoved, 1u);
    EXPECT_EQ(counts.replaced, 0u);

    counts = TextCounts();
    // café, Straße, a minus sign and a prime: plain equivalents; the schwa of
    // a pronunciation has none and is dropped.
    EXPECT_EQ(ImportText("caf\xC3\xA9 Stra\xC3\x9F" "e \xE2\x88\x92 5\xE2\x80\xB2 k\xC9\x99t", counts),
              "cafe Strasse - 5' kt");
    EXPECT_EQ(counts.replaced, 4u);
    EXPECT_EQ(counts.dropped, 1u);

    counts = TextCounts();
    // Quotes and dashes that the code page has are kept as they are.
    EXPECT_EQ(ImportText("\xE2\x80\x9E\xD0\xB0\xE2\x80\x9C \xE2\x80\x94 one\xE2\x80\x99s", counts),
              "\x84\xE0\x93 \x97 one\x92s");
    EXPECT_EQ(counts.replaced + counts.dropped, 0u);
}

TEST(ImportTextTest, FindsTheFirstByteThatIsNotUtf8) {
    EXPECT_EQ(FindInvalidUtf8("plain \xD0\xBA"), std::string::npos);
    EXPECT_EQ(FindInvalidUtf8("ab\xC0\xAF"), 2u);        // overlong
    EXPECT_EQ(FindInvalidUtf8("abc\xD0"), 3u);            // cut short
    EXPECT_EQ(FindInvalidUtf8("a\xD0\xBA" "b\xFF", 1), 4u);
}

TEST(ImportTextTest, WordsGetThePlainCharactersAKeyboardTypes) {
    TextCounts counts;
    EXPECT_EQ(PlainWord("Adam\x92s \x93" "apple\x94 \x96 both\x85" "and", counts), "Adam's \"apple\" - both...and");
    EXPECT_EQ(counts.replaced, 5u);
}

TEST(ImportTextTest, TsvEscapesCarryEveryByteBack) {
    const std::string bytes = "a\r\nb\rc\td\\e\x98\x01\nf \xEA\xEE\xF2\xEA\xE0";
    std::string escaped = EscapeTsv(bytes);
    EXPECT_EQ(escaped, "a\\nb\\rc\\td\\\\e\\x98\\x01\\x0af \xEA\xEE\xF2\xEA\xE0");
    EXPECT_EQ(UnescapeTsv(escaped), bytes);
    // Other backslashes are text; a \x00 would end the string and is left out.
    EXPECT_EQ(UnescapeTsv("C:\\dir \\q \\x00x"), "C:\\dir \\q x");
}
