// Mapped letters (POSIX) whose pages cannot be read any more: another
// program cut the file short in place, or the disk failed. The bus error
// that brings is ours only when it comes from such a read; every other one
// goes where it went before the program mapped anything, and a letter that
// faulted is read again from its file.
#ifndef _WIN32
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "lookup/lookup.h"
#include "storage/letter_buffer.h"
#include "storage/letter_file.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"

#if defined(__SANITIZE_ADDRESS__)
#define DICTIONARY_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DICTIONARY_ASAN 1
#endif
#endif

namespace {

std::atomic<int> Caught{0};
void CountBusError(int) { ++Caught; }

class MappingFaultTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        // Each death test runs in a process of its own, started afresh:
        // the handlers are installed there in the order the test says.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        MakeDictionary("D");
        ASSERT_EQ(SelectDictionary("D"), kResultOk);
        std::vector<std::pair<std::string, std::string>> entries;
        for (int i = 0; i < 4000; ++i) entries.push_back({"a" + std::to_string(100000 + i), "description"});
        MakeLetter("D", 'A', Entries(entries));
    }
    static int Find(const std::string& word) {
        return FindWord(word.c_str(), CaseRule::Folded, PluralRetry::Off, BaseForms::Off).result;
    }
    // Held and mapped, with the index its searches halve: a search then
    // reads pages in the middle of the file.
    static bool HoldMapped() {
        return Find("a100000") == kResultOk && Find("a102000") == kResultOk && LetterBuffer.Mapped;
    }
    // Another program cuts the file short where it lies.
    static void CutShortInPlace() { std::filesystem::resize_file("D/41.dat", 100); }
};

}  // namespace

// A read error must not pass for "not found": the look-up that met the
// fault reads the file again and tells what that read finds.
TEST_F(MappingFaultTest, ALetterThatFaultedIsReadAgainAndAReadErrorIsTold) {
    if (!HoldMapped()) GTEST_SKIP() << "letters are not mapped here";
    CutShortInPlace();
    std::filesystem::remove("D/41.dat");
    std::filesystem::create_directory("D/41.dat");   // the file cannot be read now
    EXPECT_EQ(Find("a103999"), kResultLetterCannotOpen);
    EXPECT_FALSE(HeldLetterFaulted());
    EXPECT_EQ(LetterBuffer.Data, nullptr);

    // Once readable again, it is read again and answers.
    std::filesystem::remove("D/41.dat");
    MakeLetter("D", 'A', Entries({{"a103999", "found"}}));
    EXPECT_EQ(Find("a103999"), kResultOk);
}

// A handler installed before ours still gets a bus error sent by another
// process, and ours still turns the faults of our mappings into zeros.
TEST_F(MappingFaultTest, ABusErrorSentByAnotherProcessGoesToTheHandlerBefore) {
    EXPECT_EXIT(
        {
            signal(SIGBUS, CountBusError);
            if (!HoldMapped()) std::_Exit(0);   // nothing mapped, no handler of ours
            kill(getpid(), SIGBUS);
            CutShortInPlace();
            // The fault is ours: the letter is read again, as the file is now.
            const bool readAgain = Find("a103999") == kResultNotFound && !LetterBuffer.Mapped;
            kill(getpid(), SIGBUS);
            std::_Exit(Caught == 2 && readAgain ? 0 : 10 + Caught);
        },
        ::testing::ExitedWithCode(0), "");
}

// With no handler before ours, a bus error sent by another process ends the
// process as it would have, rather than being swallowed once.
TEST_F(MappingFaultTest, ABusErrorSentWithNoHandlerBeforeEndsTheProcess) {
#ifdef DICTIONARY_ASAN
    GTEST_SKIP() << "the sanitizer's handler is the one before ours";
#endif
    EXPECT_EXIT(
        {
            if (!HoldMapped()) raise(SIGBUS);
            kill(getpid(), SIGBUS);
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGBUS), "");
}

#endif  // _WIN32
