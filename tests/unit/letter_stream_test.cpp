// A letter file read piece by piece yields the entries the whole file holds,
// whatever the bytes, across the buffer's edges and past the kept length.
#include <random>
#include <string>

#include "maintenance/letter_stream.h"
#include "storage/dictionary_format.h"
#include "tests/unit/test_support.h"

using LetterStreamTest = ProgramFolderTest;

TEST_F(LetterStreamTest, YieldsTheEntriesOfTheWholeFile) {
    std::mt19937 random(11);
    for (int round = 0; round < 4; ++round) {
        // Short strings, long ones (past the kept length and the buffer), and
        // sometimes no NUL at the end.
        std::string bytes;
        while (bytes.size() < (3u << 20)) {
            size_t length = random() % 10 == 0 ? random() % (1u << 21) : random() % 40;
            bytes += std::string(length, static_cast<char>('a' + random() % 26));
            bytes += '\0';
        }
        if (round % 2) bytes.pop_back();
        WriteDiskFile("41.dat", bytes);

        std::vector<RawEntry> whole = SplitLetterFile(bytes);
        LetterStream stream("41.dat");
        ASSERT_TRUE(stream.Opened());
        EXPECT_EQ(stream.EndsWithNul(), round % 2 == 0);
        StreamedEntry entry;
        size_t i = 0;
        for (; stream.Next(entry); ++i) {
            ASSERT_LT(i, whole.size());
            const RawEntry& expected = whole[i];
            EXPECT_EQ(entry.offset, expected.offset);
            EXPECT_EQ(entry.hasDescription, expected.hasDescription);
            EXPECT_EQ(entry.descriptionOffset, expected.descriptionOffset);
            EXPECT_EQ(entry.word.length, expected.word.size());
            EXPECT_EQ(entry.word.kept, expected.word.substr(0, kStreamKept));
            EXPECT_EQ(entry.description.length, expected.description.size());
            EXPECT_EQ(entry.description.kept, expected.description.substr(0, kStreamKept));
            if (HasFailure()) return;
        }
        EXPECT_EQ(i, whole.size());
        EXPECT_FALSE(stream.Failed());
    }
}
