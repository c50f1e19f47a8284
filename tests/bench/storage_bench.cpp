// Loading a letter file of 100 000 entries and looking words up in it. The
// dictionary is generated in a temporary folder at start and removed at exit.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "lookup/lookup.h"
#include "platform/headless.h"
#include "settings/settings.h"
#include "storage/dictionary.h"
#include "storage/letter_file.h"
#include "storage/text_compare.h"
#include "ui/edit_state.h"

namespace {

constexpr size_t kEntries = 100000;
const char kFolder[] = "Bench";

std::string g_root, g_previous;
std::vector<std::string> g_words;  // in file order
size_t g_fileSize = 0;

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return CompareNoCase(a.c_str(), b.c_str()) < 0;
    }
};

// English-like headwords under one letter: mostly 5-9 letters, a few
// capitalised, a few two-word phrases.
std::string MakeWord(std::mt19937& random) {
    static const int kLengths[] = {2, 3, 3, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7,
                                   7, 8, 8, 8, 9, 9, 10, 10, 11, 12, 13, 14};
    std::string word(1, random() % 20 == 0 ? 'A' : 'a');
    int length = kLengths[random() % (sizeof kLengths / sizeof kLengths[0])];
    for (int i = 1; i < length; ++i) word += static_cast<char>('a' + random() % 26);
    if (random() % 15 == 0) {
        word += ' ';
        for (int i = 0, n = 3 + static_cast<int>(random() % 6); i < n; ++i)
            word += static_cast<char>('a' + random() % 26);
    }
    return word;
}

// One to four senses of Cyrillic (code page 1251) words, split the way the
// stored descriptions are: "; " between senses, sometimes numbered.
std::string MakeDescription(std::mt19937& random) {
    std::string text;
    int senses = 1 + static_cast<int>(random() % 4);
    for (int s = 0; s < senses; ++s) {
        if (s > 0) text += random() % 3 == 0 ? "; " + std::to_string(s + 1) + ". " : std::string("; ");
        for (int w = 0, n = 1 + static_cast<int>(random() % 3); w < n; ++w) {
            if (w > 0) text += ", ";
            for (int i = 0, length = 3 + static_cast<int>(random() % 8); i < length; ++i)
                text += static_cast<char>(0xE0 + random() % 32);
        }
    }
    return text;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool PrepareDictionary() {
    g_previous = std::filesystem::current_path().string();
    std::string path = (std::filesystem::temp_directory_path() / "dictionary-bench-XXXXXX").string();
    if (!mkdtemp(&path[0])) return false;
    g_root = path;
    std::filesystem::current_path(g_root);
    std::filesystem::create_directory(kFolder);

    unsigned char header[kHeaderSize];
    BuildHeader(header, kFolder, 0, 0, DefaultFont, DefaultFont);
    WriteFile(std::string(kFolder) + "/00.dat", std::string(reinterpret_cast<char*>(header), kHeaderSize));

    std::mt19937 random(42);
    std::set<std::string, NoCaseLess> words;
    while (words.size() < kEntries) words.insert(MakeWord(random));
    std::string file;
    for (const std::string& word : words) {
        g_words.push_back(word);
        file += word;
        file += '\0';
        file += MakeDescription(random);
        file += '\0';
    }
    g_fileSize = file.size();
    WriteFile(std::string(kFolder) + "/41.dat", file);

    ResetHeadless();
    ResetDictionaryState();
    ResetEditState();
    Settings.autocomplete = 0;
    return OpenDictionary(kFolder) == kResultOk;
}

void RemoveDictionary() {
    ResetDictionaryState();
    std::filesystem::current_path(g_previous);
    std::error_code ignored;
    std::filesystem::remove_all(g_root, ignored);
}

void LoadWholeLetter(benchmark::State& state) {
    for (auto _ : state) {
        LoadLetter(0);
        if (LoadLetter('A') != kResultOk || LetterBuffer.Length != static_cast<int32_t>(g_fileSize + 1))
            state.SkipWithError("the letter file did not load");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_fileSize));
    state.SetLabel(std::to_string(g_fileSize) + " bytes");
}

// Types the word and looks it up as the Find command does.
void LookUp(benchmark::State& state, const std::string& word, int expected) {
    LoadLetter('A');
    for (auto _ : state) {
        SetWordEditText(word.c_str());
        if (LookupWord(1, -1) != expected) state.SkipWithError("unexpected look-up result");
    }
    state.SetLabel(word);
}

// A stored word of the middle whose plural is not stored, so the first
// scan misses and the retry finds it.
std::string PluralOfMiddleWord() {
    std::set<std::string, NoCaseLess> stored(g_words.begin(), g_words.end());
    for (size_t i = g_words.size() / 2; i < g_words.size(); ++i) {
        const std::string& word = g_words[i];
        if (word.back() != 's' && !stored.count(word + "s")) return word + "s";
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!PrepareDictionary()) {
        std::fprintf(stderr, "storage_bench: cannot prepare the dictionary\n");
        RemoveDictionary();
        return 1;
    }
    std::string first = g_words.front(), middle = g_words[g_words.size() / 2], last = g_words.back();
    std::string plural = PluralOfMiddleWord();

    benchmark::RegisterBenchmark("LoadLetter/100000", LoadWholeLetter)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LookupWord/hit/first", LookUp, first, kResultOk)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LookupWord/hit/middle", LookUp, middle, kResultOk)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LookupWord/hit/last", LookUp, last, kResultOk)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LookupWord/miss", LookUp, std::string("azzzzzzzzq"), kResultNotFound)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LookupWord/plural-retry/middle", LookUp, plural, kResultOk)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    RemoveDictionary();
    return 0;
}
