// The in-process figures of a large letter file: loading it (beside reading
// the same file, the page cache's speed), looking words up, completing,
// browsing, adding, replacing and deleting (each write is the whole file,
// written atomically), and the heap a look-up needs against the file's size.
//
//   storage_bench [--letter=FILE] [benchmark options]
//
// Without --letter it generates a file like the largest letter of a million
// entries (about 4.5 MB, 94,000 entries); with it, it works on a copy of
// FILE (a letter file of a dictionary that is not case-sensitive, named
// after its letter, e.g. 53.dat).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "platform/files.h"
#include "tests/bench/bench_letter.h"
#include "tests/bench/bench_program.h"
#include "tests/bench/heap_peak.h"

namespace {

constexpr size_t kGeneratedEntries = 93800;
constexpr unsigned kSeed = 42;
constexpr unsigned char kGeneratedLetter = 'S';
const char kNewDescription[] = "\xED\xEE\xE2; \xE4\xF0\xF3\xE3";   // нов; друг

BenchLetter g_letter;

void Fail(benchmark::State& state, const std::string& what) { state.SkipWithError(what.c_str()); }

void Label(benchmark::State& state, const std::string& word) {
    state.SetLabel(word + " of " + std::to_string(g_letter.words.size()) + " entries, " +
                   std::to_string(g_letter.size) + " bytes");
}

void LoadLetterFile(benchmark::State& state) {
    for (auto _ : state)
        if (!BenchLoadLetter(g_letter.letter) || BenchLoadedBytes() != g_letter.size + 1)
            Fail(state, "the letter file did not load");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_letter.size));
    Label(state, "whole file");
}

// What loading cannot beat: one read of the file into a new buffer.
void ReadFileIntoMemory(benchmark::State& state) {
    for (auto _ : state) {
        int fd = open(g_letter.path.c_str(), O_RDONLY);
        struct stat info;
        if (fd < 0 || fstat(fd, &info) != 0) {
            Fail(state, "cannot open the letter file");
            break;
        }
        size_t size = static_cast<size_t>(info.st_size);
        char* bytes = static_cast<char*>(std::malloc(size + 1));
        ssize_t got = read(fd, bytes, size);
        close(fd);
        benchmark::DoNotOptimize(bytes);
        std::free(bytes);
        if (got != static_cast<ssize_t>(size)) Fail(state, "short read");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_letter.size));
    Label(state, "whole file");
}

void LookUp(benchmark::State& state, const std::string& word, bool found, bool pluralRetry) {
    BenchLoadLetter(g_letter.letter);
    for (auto _ : state)
        if (BenchLookUp(word, pluralRetry) != found) Fail(state, "unexpected look-up result");
    Label(state, word);
}

// Without kept indexes for as long as it lives: the letter is walked.
class NoKeptIndexes {
public:
    NoKeptIndexes() {
        const char* chosen = std::getenv("DICTIONARY_INDEX_CACHE");
        had_ = chosen != nullptr;
        if (chosen) previous_ = chosen;
        setenv("DICTIONARY_INDEX_CACHE", "off", 1);
    }
    ~NoKeptIndexes() {
        if (had_) setenv("DICTIONARY_INDEX_CACHE", previous_.c_str(), 1);
        else unsetenv("DICTIONARY_INDEX_CACHE");
    }

private:
    bool had_ = false;
    std::string previous_;
};

// A look-up right after its letter was read, as the first one-word process
// makes it: the read, the first search (a walk) and the answer.
void LoadAndLookUp(benchmark::State& state, const std::string& word) {
    NoKeptIndexes walked;
    for (auto _ : state) {
        BenchUnloadLetter();
        if (!BenchLookUp(word, false)) Fail(state, "unexpected look-up result");
    }
    Label(state, word);
}

// A look-up that reads its letter and the index a process before it kept,
// as every one-word process after the first does.
void LoadKeptIndexAndLookUp(benchmark::State& state, const std::string& word) {
    static bool kept = false;
    if (!kept) {
        // Only a letter file that has settled has its index kept.
        std::this_thread::sleep_for(std::chrono::seconds(kSettledSeconds + 1));
        BenchForgetLetters();
        if (!BenchLoadLetter(g_letter.letter) || !BenchLookUp(word, false)) Fail(state, "unexpected look-up result");
        BenchKeepLetterIndexes();
        kept = true;
    }
    for (auto _ : state) {
        BenchForgetLetters();
        if (!BenchLoadLetter(g_letter.letter) || !BenchHeldLetterIndexed()) Fail(state, "no kept index");
        if (!BenchLookUp(word, false)) Fail(state, "unexpected look-up result");
    }
    Label(state, word);
}

// A look-up that comes back to its letter from another one, as one does
// after the base-form fallback tried a base in another letter.
void LookUpBackInKeptLetter(benchmark::State& state, const std::string& word) {
    BenchLoadLetter(g_letter.letter);
    for (auto _ : state) {
        BenchLeaveLetter(static_cast<unsigned char>(g_letter.letter ^ 1));
        if (!BenchLookUp(word, false)) Fail(state, "unexpected look-up result");
    }
    Label(state, word);
}

void Complete(benchmark::State& state, const std::string& typed, const std::string& expected) {
    BenchLoadLetter(g_letter.letter);
    for (auto _ : state)
        if (BenchCompletion(typed) != expected) Fail(state, "unexpected completion");
    Label(state, typed);
}

void Browse(benchmark::State& state, size_t from, bool forward) {
    const std::string& word = g_letter.words[from];
    const std::string& expected = g_letter.words[forward ? from + 1 : from - 1];
    BenchLoadLetter(g_letter.letter);
    for (auto _ : state) {
        std::string shown = forward ? BenchNextWord(word) : BenchPreviousWord(word);
        if (shown != expected) Fail(state, "unexpected neighbour " + shown);
    }
    Label(state, word);
}

enum class Change { Add, Replace, Delete };

// Each timed change is undone outside the timing, so every iteration
// starts from the same file.
void ChangeEntry(benchmark::State& state, Change change, const std::string& word, const std::string& description) {
    BenchLoadLetter(g_letter.letter);
    for (auto _ : state) {
        bool written = true;
        if (change == Change::Delete) {
            state.PauseTiming();
            written = BenchAddEntry(word, description);
            state.ResumeTiming();
            written = written && BenchDeleteEntry(word);
        } else {
            written = BenchAddEntry(word, description);
            if (change == Change::Add) {
                state.PauseTiming();
                written = BenchDeleteEntry(word) && written;
                state.ResumeTiming();
            }
        }
        if (!written) Fail(state, "the letter file was not written");
    }
    Label(state, word);
}

// The heap a look-up needs when its letter is not loaded yet: from the
// letter file's reading to the shown description, against the file size.
void LookUpHeapPeak(benchmark::State& state, const std::string& word) {
    size_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BenchUnloadLetter();
        size_t before = HeapInUse();
        ResetHeapPeak();
        state.ResumeTiming();
        if (!BenchLookUp(word, false)) Fail(state, "unexpected look-up result");
        state.PauseTiming();
        peak = std::max(peak, HeapPeak() - before);
        state.ResumeTiming();
    }
    state.counters["peak_bytes"] = static_cast<double>(peak);
    state.counters["file_bytes"] = static_cast<double>(g_letter.size);
    state.counters["peak_per_file_byte"] = static_cast<double>(peak) / static_cast<double>(g_letter.size);
    Label(state, word);
}

// A word of the letter that is not stored: the middle word with letters added.
std::string AbsentWord(const std::string& near) {
    std::set<std::string> stored(g_letter.words.begin(), g_letter.words.end());
    std::string word = near + "zq";
    while (stored.count(word)) word += 'q';
    return word;
}

// A stored word of the second half whose plural is not stored, so the
// first scan misses and the retry finds it.
std::string PluralOfStoredWord() {
    std::set<std::string> stored(g_letter.words.begin(), g_letter.words.end());
    for (size_t i = g_letter.words.size() / 2; i < g_letter.words.size(); ++i) {
        const std::string& word = g_letter.words[i];
        if (word.back() != 's' && word.back() != 'S' && !stored.count(word + "s")) return word + "s";
    }
    return "";
}

// The letter a file stands for, from its name (53.dat is S).
unsigned char LetterOfFile(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    return static_cast<unsigned char>(std::strtoul(name.substr(0, 2).c_str(), nullptr, 16));
}

// Takes --letter=FILE out of the arguments; "" when it is not there.
std::string TakeLetterOption(int& argc, char** argv) {
    std::string file;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--letter=", 9) == 0) file = argv[i] + 9;
        else argv[kept++] = argv[i];
    }
    argc = kept;
    return file;
}

void RegisterAll() {
    const std::vector<std::string>& words = g_letter.words;
    size_t middle = words.size() / 2;
    const std::string& first = words.front();
    const std::string& last = words.back();
    std::string absent = AbsentWord(words[middle]);
    std::string plural = PluralOfStoredWord();
    std::string typed = words[middle].substr(0, words[middle].size() - 1);
    std::string expectedCompletion;
    for (const std::string& word : words)
        if (word.compare(0, typed.size(), typed) == 0) {
            expectedCompletion = word;
            break;
        }

    auto us = [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMicrosecond); };
    auto ms = [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond); };
    us(benchmark::RegisterBenchmark("LoadLetter", LoadLetterFile));
    us(benchmark::RegisterBenchmark("ReadFileIntoMemory", ReadFileIntoMemory));
    us(benchmark::RegisterBenchmark("LookupWord/hit/first", LookUp, first, true, true));
    us(benchmark::RegisterBenchmark("LookupWord/hit/middle", LookUp, words[middle], true, true));
    us(benchmark::RegisterBenchmark("LookupWord/hit/last", LookUp, last, true, true));
    us(benchmark::RegisterBenchmark("LookupWord/miss", LookUp, absent, false, true));
    if (!plural.empty())
        us(benchmark::RegisterBenchmark("LookupWord/plural-retry", LookUp, plural, true, true));
    us(benchmark::RegisterBenchmark("LookupWord/after-load", LoadAndLookUp, words[middle]));
    us(benchmark::RegisterBenchmark("LookupWord/after-load-kept-index", LoadKeptIndexAndLookUp, words[middle]));
    us(benchmark::RegisterBenchmark("LookupWord/back-from-other-letter", LookUpBackInKeptLetter, words[middle]));
    us(benchmark::RegisterBenchmark("CompletionCandidate/middle", Complete, typed, expectedCompletion));
    us(benchmark::RegisterBenchmark("CompletionCandidate/none", Complete, absent, std::string()));
    us(benchmark::RegisterBenchmark("NextWord/middle", Browse, middle, true));
    us(benchmark::RegisterBenchmark("PreviousWord/middle", Browse, middle, false));
    ms(benchmark::RegisterBenchmark("AddEntry/new", ChangeEntry, Change::Add, absent, kNewDescription));
    ms(benchmark::RegisterBenchmark("AddEntry/replace", ChangeEntry, Change::Replace, words[middle],
                                    std::string(kNewDescription)));
    ms(benchmark::RegisterBenchmark("DeleteEntry", ChangeEntry, Change::Delete, absent, kNewDescription));
    us(benchmark::RegisterBenchmark("LookupWord/heap-peak", LookUpHeapPeak, last));
}

}  // namespace

int main(int argc, char** argv) {
    std::string source = TakeLetterOption(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    std::string bytes, error;
    unsigned char letter = kGeneratedLetter;
    if (source.empty()) {
        bytes = GenerateLetterFile(kGeneratedEntries, kSeed);
    } else {
        letter = LetterOfFile(source);
        if (!ReadWholeFile(source, bytes) || letter == 0) {
            std::fprintf(stderr, "storage_bench: cannot read the letter file %s\n", source.c_str());
            return 1;
        }
    }
    if (!PrepareBenchLetter(bytes, letter, g_letter, error) || !BenchOpenDictionary(g_letter.folder.c_str())) {
        std::fprintf(stderr, "storage_bench: cannot prepare the dictionary: %s\n", error.c_str());
        RemoveBenchLetter(g_letter);
        return 1;
    }
    bytes = std::string();
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BenchCloseDictionary();
    RemoveBenchLetter(g_letter);
    return 0;
}
