// The real tool importing, killed at random moments (SIGKILL), into a new
// dictionary and into one that exists. After every kill each letter file is
// the old version or the new one, no half dictionary is listed, and check
// --fix finishes or undoes what the kill left: the dictionary is then clean,
// wholly old or wholly new, with no temp file anywhere. Bounded by
// DICTIONARY_KILL_SECONDS (default 15) and DICTIONARY_KILL_ITERATIONS;
// DICTIONARY_KILL_SEED replays a run.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "maintenance/codepage.h"
#include "storage/catalog.h"
#include "storage/dictionary_state.h"
#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"

namespace fs = std::filesystem;

namespace {

// The dictionary's files by name, what a reader would find.
using Files = std::map<std::string, std::string>;

Files Snapshot(const std::string& folder) {
    Files files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& item : fs::directory_iterator(folder)) {
        std::string name = item.path().filename().string();
        if (item.is_regular_file() && name.size() == 6 && name.compare(2, 4, ".dat") == 0)
            files[name] = ReadDiskFile(item.path().string());
    }
    return files;
}

void Restore(const std::string& folder, const Files& files) {
    fs::remove_all(folder);
    fs::create_directory(folder);
    for (const auto& file : files) WriteDiskFile(folder + "/" + file.first, file.second);
}

// Temp files, staging areas and half-made imports, anywhere in the folder.
std::vector<std::string> Leftovers(const std::string& root) {
    std::vector<std::string> found;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        std::string name = item.path().filename().string();
        if (name.find(".tmp") != std::string::npos || name == ".staged" || name.find(".import-") != std::string::npos)
            found.push_back(item.path().string());
    }
    return found;
}

bool Listed(const std::string& folder) {
    ResetDictionaryState();
    ListDictionaries();
    return FindCatalogIndex(folder.c_str(), 0) >= 0;
}

// Words of every first letter, Latin and Cyrillic, so that the import
// changes many letter files and every reverse entry has somewhere to go.
std::string Source(std::mt19937_64& random, int entries) {
    auto word = [&random](const char* kind) {
        bool cyrillic = random() % 2 == 0;
        char first = cyrillic ? static_cast<char>(0xC0 + random() % 64) : static_cast<char>('a' + random() % 26);
        return std::string(1, first) + kind + std::to_string(random() % 100000);
    };
    std::string text;
    for (int i = 0; i < entries; ++i)
        text += Cp1251ToUtf8(word("o") + "\t" + word("x")) + "\n";   // the source is UTF-8
    return text;
}

// How long a run goes on, and its random choices, from the environment.
struct KillRun {
    unsigned seed;
    double iterations, seconds;
    std::mt19937_64 random;
    explicit KillRun(unsigned defaultSeed)
        : seed(static_cast<unsigned>(EnvironmentBound("DICTIONARY_KILL_SEED", defaultSeed))),
          iterations(EnvironmentBound("DICTIONARY_KILL_ITERATIONS", 1e9)),
          seconds(EnvironmentBound("DICTIONARY_KILL_SECONDS", 15)), random(seed) {}
};

}  // namespace

class ImportKillTest : public ToolFolderTest {};

TEST_F(ImportKillTest, AKilledImportIsFinishedOrUndoneAndNeverShowsHalfADictionary) {
    KillRun bounds(7);

    WriteDiskFile("words.tsv", Source(bounds.random, 20000));
    MakeDictionary("Zoo", "Zoo", 1);
    MakeLetter("Zoo", 'B', Entries({{"bos", "cow"}}));
    MakeLetter("Zoo", 'C', Entries({{"canis", "dog"}, {"cat", "felis"}, {"cow", "bos"}}));
    MakeLetter("Zoo", 'D', Entries({{"dog", "canis"}}));
    MakeLetter("Zoo", 'F', Entries({{"felis", "cat"}}));
    const Files oldZoo = Snapshot("Zoo");
    ASSERT_EQ(RunToolCapturing(".", {"check", "--dict", "Zoo"}).status, 0);

    // The outcome of whole imports, and how long one takes.
    const std::vector<std::string> intoZoo = {"import", "tsv", "words.tsv", "--to", "Zoo", "--dual"};
    const std::vector<std::string> intoFresh = {"import", "tsv", "words.tsv", "--to", "Fresh", "--dual", "--name", "Fresh"};
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunToolCapturing(".", intoZoo).status, 0);
    ASSERT_EQ(RunToolCapturing(".", intoFresh).status, 0);
    const double whole = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() / 2;
    const Files newZoo = Snapshot("Zoo"), newFresh = Snapshot("Fresh");
    ASSERT_GT(newZoo.size(), oldZoo.size() + 5);
    ASSERT_EQ(newFresh.count("00.dat"), 1u);
    ASSERT_EQ(RunToolCapturing(".", {"check", "--dict", "Zoo"}).status, 0);
    ASSERT_EQ(RunToolCapturing(".", {"check", "--dict", "Fresh"}).status, 0);

    int kills = 0, finishedFirst = 0, leftMixed = 0, freshListed = 0, losses = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(bounds.seconds);
    for (int i = 0; i < bounds.iterations && std::chrono::steady_clock::now() < deadline; ++i) {
        bool fresh = i % 2 == 1;
        const std::string target = fresh ? "Fresh" : "Zoo";
        Restore("Zoo", oldZoo);
        fs::remove_all("Fresh");

        pid_t child = StartTool(".", fresh ? intoFresh : intoZoo);
        ASSERT_GT(child, 0);
        if (!fresh && i % 4 == 0) {
            // Right after the change is decided, while its files are replaced.
            auto giveUp = std::chrono::steady_clock::now() + std::chrono::duration<double>(whole * 3);
            while (!fs::exists("Zoo/.staged/journal") && std::chrono::steady_clock::now() < giveUp) {
            }
        } else {
            // Half of the kills anywhere, half near the end.
            double share = (bounds.random() % 1000) / 1000.0;
            share = bounds.random() % 2 ? share * 1.2 : 0.7 + share * 0.4;
            std::this_thread::sleep_for(std::chrono::duration<double>(whole * share));
        }
        kill(child, SIGKILL);
        if (WaitTool(child) == 0) ++finishedFirst;
        else ++kills;
        SCOPED_TRACE("seed " + std::to_string(bounds.seed) + ", run " + std::to_string(i) + ", " + target);

        // What a reader finds before any repair: every file old or new, and
        // a new dictionary listed only when complete.
        const Files& before = fresh ? Files{} : oldZoo;
        const Files& after = fresh ? newFresh : newZoo;
        Files now = Snapshot(target);
        bool anyOld = false, anyNew = false;
        for (const auto& file : after) {
            auto found = now.find(file.first);
            auto old = before.find(file.first);
            bool isNew = found != now.end() && found->second == file.second;
            bool isOld = old == before.end() ? found == now.end() : found != now.end() && found->second == old->second;
            EXPECT_TRUE(isNew || isOld) << file.first;
            anyOld = anyOld || (isOld && !isNew);
            anyNew = anyNew || (isNew && !isOld);
        }
        if (anyOld && anyNew) ++leftMixed;
        if (fresh && Listed("Fresh")) {
            ++freshListed;
            EXPECT_EQ(now, newFresh) << "a listed dictionary is complete";
        }

        // check --fix finishes or undoes it, and leaves nothing behind.
        ToolRun fixed = RunToolCapturing(".", {"check", "--dict", target, "--fix"});
        EXPECT_EQ(fixed.status >= 0, true);
        Files repaired = Snapshot(target);
        if (fresh) {
            EXPECT_TRUE(repaired.empty() || repaired == newFresh);
        } else {
            EXPECT_TRUE(repaired == oldZoo || repaired == newZoo);
            for (const auto& file : oldZoo)
                if (!repaired.count(file.first) || repaired[file.first].size() < file.second.size()) ++losses;
        }
        if (!repaired.empty()) {
            EXPECT_EQ(RunToolCapturing(".", {"check", "--dict", target}).status, 0) << fixed.output;
        }
        EXPECT_EQ(Leftovers("."), std::vector<std::string>{}) << fixed.output;
        if (HasFailure()) break;
    }
    std::cout << "import kills: " << kills << " (finished before the kill: " << finishedFirst
              << "), left part-replaced before check --fix: " << leftMixed << ", new dictionary listed: "
              << freshListed << ", entries lost: " << losses << std::endl;
    RecordProperty("kills", kills);
    RecordProperty("losses", losses);
    EXPECT_EQ(losses, 0);
}

// Killed imports of a new dictionary leave their hidden folders, which
// nobody used to remove. Rounds of kills, each round ended either by a whole
// import of the same dictionary, which removes them, or by a check of
// another dictionary, which names every one and whose --fix removes them.
// Bounded by DICTIONARY_KILL_SECONDS (default 15, for the whole test) and
// DICTIONARY_KILL_ITERATIONS (rounds).
TEST_F(ImportKillTest, KilledImportsLeaveNoHiddenFoldersForGood) {
    KillRun bounds(11);
    WriteDiskFile("words.tsv", Source(bounds.random, 20000));
    MakeDictionary("Zoo");
    MakeLetter("Zoo", 'C', Entries({{"cat", "kotka"}}));
    const std::vector<std::string> intoFresh = {"import", "tsv", "words.tsv", "--to", "Fresh"};
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunToolCapturing(".", intoFresh).status, 0);
    const double whole = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const Files newFresh = Snapshot("Fresh");
    auto hidden = [] {
        int count = 0;
        for (const auto& item : fs::directory_iterator("."))
            count += item.path().filename().string().rfind(".Fresh.import-", 0) == 0;
        return count;
    };

    int run = 0, kills = 0, left = 0, removedByImport = 0, namedByCheck = 0, removedByCheck = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(bounds.seconds);
    for (; run < bounds.iterations && std::chrono::steady_clock::now() < deadline; ++run) {
        SCOPED_TRACE("seed " + std::to_string(bounds.seed) + ", round " + std::to_string(run));
        for (int kill = 0; kill < 3; ++kill) {
            fs::remove_all("Fresh");
            pid_t child = StartTool(".", intoFresh);
            ASSERT_GT(child, 0);
            std::this_thread::sleep_for(std::chrono::duration<double>(whole * (bounds.random() % 1000) / 1000.0));
            ::kill(child, SIGKILL);
            kills += WaitTool(child) != 0;
        }
        const int before = hidden();
        left += before;
        if (run % 2 == 0) {
            fs::remove_all("Fresh");
            ToolRun imported = RunToolCapturing(".", intoFresh);
            EXPECT_EQ(imported.status, 0) << imported.output;
            EXPECT_EQ(Snapshot("Fresh"), newFresh);
            removedByImport += before - hidden();
        } else {
            ToolRun checked = RunToolCapturing(".", {"check", "--dict", "Zoo"});
            const std::string line = ": an import into Fresh was cut short";
            size_t named = 0;
            for (size_t at = checked.output.find(line); at != std::string::npos; at = checked.output.find(line, at + 1))
                ++named;
            EXPECT_EQ(named, static_cast<size_t>(before)) << checked.output;
            namedByCheck += static_cast<int>(named);
            ToolRun fixed = RunToolCapturing(".", {"check", "--dict", "Zoo", "--fix"});
            EXPECT_EQ(fixed.status, 0) << fixed.output;
            removedByCheck += before - hidden();
        }
        EXPECT_EQ(hidden(), 0);
        EXPECT_EQ(Leftovers("."), std::vector<std::string>{});
        if (HasFailure()) break;
    }
    std::cout << "killed-import rounds: " << run << ", kills: " << kills << ", hidden folders left by the kills: "
              << left << ", removed by the next import: " << removedByImport << ", named by check: " << namedByCheck
              << ", removed by check --fix: " << removedByCheck << std::endl;
    RecordProperty("kills", kills);
    RecordProperty("left", left);
}
