// check reads a letter file of any size in little memory: the real tool,
// under a memory limit far below the file's size.
#include <cstdio>
#include <string>

#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"

class CheckLimitsTest : public ToolFolderTest {};

TEST_F(CheckLimitsTest, AHundredMegabyteLetterFileIsCheckedInLittleMemory) {
    if (BuiltWithAddressSanitizer()) GTEST_SKIP() << "the sanitizers need more address space than the limit";
    MakeDictionary("Big");
    // 2.5 million sorted entries, with a word of the wrong letter near the end.
    std::string bytes;
    bytes.reserve(105u << 20);
    char word[16];
    for (int i = 0; bytes.size() < (100u << 20); ++i) {
        std::snprintf(word, sizeof word, "a%08d", i);
        bytes += word;
        bytes += '\0';
        bytes += "a description of thirty bytes.";
        bytes += '\0';
    }
    bytes += std::string("azzz\0last\0bee\0out of place\0", 27);
    MakeLetter("Big", 'A', bytes);
    const size_t size = bytes.size();
    bytes = std::string();

    ToolRun run = RunToolCapturing(".", {"check", "--dict", "Big"}, {128ull << 20, 0});
    EXPECT_EQ(run.status >= 0, true) << run.output;
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(run.output, "Big/41.dat offset " + std::to_string(size - 17) + ": 'bee' belongs in 42.dat\nBig: 1 problems\n")
        << run.output;
}
