// dictionary-tool adds, replaces and deletes entries of a dual dictionary and
// is killed at random moments. An addition or replacement and its reverse
// entry are one change of two letter files: after every kill, once the
// dictionary is next opened (by a look-up, which finishes or undoes a change
// left half done), the dictionary holds both new entries or neither: every
// file old, or every file new. Nothing else is lost, the dictionary checks
// clean, and the temporary file of an interrupted write goes with the next
// change (or with check --fix).
// Bounded by DICTIONARY_KILL_SECONDS and DICTIONARY_KILL_ITERATIONS;
// DICTIONARY_KILL_SEED picks the run.
#include <gtest/gtest.h>

#include <signal.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using Random = std::mt19937_64;

const char kForward[] = "43.dat";  // the letter C, words beginning with c
const char kReverse[] = "4b.dat";  // the letter K, their reverse entries

std::string RandomTail(Random& random) {
    std::string tail;
    for (size_t n = 4 + random() % 8; n > 0; --n) tail += static_cast<char>('a' + random() % 26);
    return tail;
}

// A dual dictionary whose letter files of c and k are large enough that
// writing one takes a while, and whose forward entries have their reverse.
void MakeLargeDictionary(const std::string& root, Random& random) {
    std::vector<std::pair<std::string, std::string>> forward, reverse;
    std::set<std::string> used;
    while (forward.size() < 40000) {
        std::string word = "c" + RandomTail(random), description = "k" + RandomTail(random);
        if (used.count(word) || used.count(description)) continue;
        used.insert(word);
        used.insert(description);
        forward.push_back({word, description});
        reverse.push_back({description, word});
    }
    auto sorted = [](std::vector<std::pair<std::string, std::string>>& entries) {
        std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        return Entries(entries);
    };
    fs::create_directories(root);
    std::string previous = fs::current_path().string();
    fs::current_path(root);
    MakeDictionary("D", "D", 1);
    MakeLetter("D", 'C', sorted(forward));
    MakeLetter("D", 'K', sorted(reverse));
    fs::current_path(previous);
}

struct Operation {
    std::vector<std::string> args;
};

Operation RandomOperation(Random& random, const std::vector<std::string>& words) {
    const std::string& existing = words[random() % words.size()];
    std::string added;
    do added = "c" + RandomTail(random);
    while (std::find(words.begin(), words.end(), added) != words.end());
    switch (random() % 3) {
    case 0: return {{"add", "--dict", "D", added, "k" + RandomTail(random)}};
    case 1: return {{"add", "--dict", "D", "--replace", existing, "k" + RandomTail(random)}};
    default: return {{"delete", "--dict", "D", existing}};
    }
}

void CopyDictionary(const std::string& from, const std::string& to) {
    fs::remove_all(to);
    fs::create_directories(to);
    for (const auto& file : DictionaryFiles(from)) WriteDiskFile(to + "/" + file.first, file.second);
}

void SleepMicroseconds(long long microseconds) {
    timespec pause = {static_cast<time_t>(microseconds / 1000000), static_cast<long>(microseconds % 1000000) * 1000};
    nanosleep(&pause, nullptr);
}

// The files once the dictionary was opened after an interruption: all old
// or all new.
std::string Inconsistency(const std::map<std::string, std::string>& before,
                          const std::map<std::string, std::string>& after,
                          const std::map<std::string, std::string>& now) {
    if (now == before || now == after) return "";
    std::set<std::string> names;
    for (const auto* files : {&before, &after, &now})
        for (const auto& file : *files) names.insert(file.first);
    auto of = [](const std::map<std::string, std::string>& files, const std::string& name) {
        auto found = files.find(name);
        return found == files.end() ? std::string("(none)") : found->second;
    };
    for (const std::string& name : names)
        if (of(now, name) != of(before, name) && of(now, name) != of(after, name))
            return name + " is neither its old nor its new version";
    return std::string("one entry without the other: ") + (of(now, kForward) == of(after, kForward) ? kForward : kReverse) +
           " is new, the other file old";
}

class EditKillTest : public ToolFolderTest {};

}  // namespace

TEST_F(EditKillTest, AKilledChangeLeavesEveryFileOldOrNewAndLosesNothingElse) {
    auto seed = static_cast<uint64_t>(EnvironmentBound("DICTIONARY_KILL_SEED", 20240807));
    auto iterations = static_cast<uint64_t>(EnvironmentBound("DICTIONARY_KILL_ITERATIONS", 1e9));
    double seconds = EnvironmentBound("DICTIONARY_KILL_SECONDS", 20);
    Random random(seed);
    const std::string program = root_ + "/program", scratch = root_ + "/scratch";
    MakeLargeDictionary(program, random);
    fs::create_directories(scratch);

    unsigned kills = 0, midWrite = 0, finished = 0, halfDone = 0, leftStaged = 0, completedOnOpen = 0,
             undoneOnOpen = 0;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    uint64_t done = 0;
    for (; done < iterations && Clock::now() < deadline; ++done) {
        const auto before = DictionaryFiles(program + "/D");
        Operation operation = RandomOperation(random, WordsOf(before.at(kForward)));

        // What the change makes when it is not interrupted, and how long it takes.
        CopyDictionary(program + "/D", scratch + "/D");
        const auto started = Clock::now();
        ASSERT_EQ(RunTool(scratch, operation.args), 0) << operation.args[0] << " " << operation.args.back();
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count();
        const auto after = DictionaryFiles(scratch + "/D");

        pid_t child = StartTool(program, operation.args);
        ASSERT_GT(child, 0);
        SleepMicroseconds(static_cast<long long>(random() % static_cast<uint64_t>(took * 12 / 10 + 1)));
        kill(child, SIGKILL);
        int status = WaitTool(child);
        std::vector<std::string> temporary;
        const auto killed = DictionaryFiles(program + "/D", &temporary);
        const bool staged = fs::exists(program + "/D/.staged");
        if (status == -SIGKILL) {
            ++kills;
            midWrite += !temporary.empty() || staged;
            // A reading command opens the dictionary: a change left half
            // done is finished or undone, and nothing else is written.
            RunTool(program, {"lookup", "--dict", "D", "czzz"});
            const auto now = DictionaryFiles(program + "/D");
            ASSERT_EQ(Inconsistency(before, after, now), "") << "after kill " << kills << ", seed " << seed;
            ASSERT_FALSE(fs::exists(program + "/D/.staged")) << "the staged change was left";
            halfDone += killed != before && killed != after;
            if (staged) {
                ++leftStaged;
                completedOnOpen += now == after;
                undoneOnOpen += now == before;
            }
        } else {
            const auto& now = killed;
            ++finished;
            ASSERT_EQ(status, 0);
            ASSERT_TRUE(now == after) << "an uninterrupted change made other files";
        }
        if (done % 25 == 0) {
            // What a repair finds to do after a kill, it does; then nothing is left to find.
            RunTool(program, {"check", "--dict", "D", "--fix"});
            ASSERT_EQ(CheckProblems(program, "D"), "") << "after kill " << kills;
        }
    }
    // The next change removes what the last interrupted one left.
    ASSERT_EQ(RunTool(program, {"add", "--dict", "D", "--replace", "czzz", "kzzz"}), 0);
    std::vector<std::string> temporary;
    DictionaryFiles(program + "/D", &temporary);
    EXPECT_TRUE(temporary.empty()) << temporary.size() << " temporary files left, the first " << temporary[0];
    EXPECT_EQ(CheckProblems(program, "D"), "");

    std::printf("%llu changes: %u killed (%u of them while writing; %u left a staged change of both files, "
                "%u finished and %u undone when next opened; %u had one file new and the other old until then), "
                "%u finished; both entries or neither\n",
                static_cast<unsigned long long>(done), kills, midWrite, leftStaged, completedOnOpen, undoneOnOpen,
                halfDone, finished);
    RecordProperty("kills", static_cast<int>(kills));
    RecordProperty("kills_while_writing", static_cast<int>(midWrite));
    RecordProperty("kills_half_done", static_cast<int>(halfDone));
    EXPECT_GT(kills, 0u);
}
