// Spelling suggestions in process: a query with the lists held (the window
// after its first miss), the first query after opening the dictionary with
// the lists taken back from the user's cache (a new process), and with
// them built from the letter files (the first process after a change, or
// nothing kept); the memory the lists take is reported beside them.
//
//   suggest_bench [--root=DIR --dict=FOLDER] [benchmark options]
//
// Without --root: the default dictionary the native build makes. Words:
// misspellings of the dictionary's own words (two letters swapped, one
// dropped), a word nothing is close to, and for the default dictionary a
// few real slips.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/bench/bench_program.h"

namespace {

void Query(benchmark::State& state, const std::string& word, bool held, bool kept) {
    if (!kept) setenv("DICTIONARY_INDEX_CACHE", "off", 1);
    BenchSuggest(word);
    size_t found = 0;
    for (auto _ : state) {
        if (!held) {
            state.PauseTiming();
            BenchForgetSuggestionLists();
            state.ResumeTiming();
        }
        found = BenchSuggest(word);
    }
    state.counters["suggestions"] = static_cast<double>(found);
    state.counters["list_MiB"] = static_cast<double>(BenchSuggestionListBytes()) / (1 << 20);
    state.counters["letters"] = static_cast<double>(BenchSuggestionLetters());
    if (!kept) unsetenv("DICTIONARY_INDEX_CACHE");
}

std::string Argument(int& argc, char** argv, const char* name) {
    const size_t length = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, length) != 0) continue;
        std::string value = argv[i] + length;
        for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
        --argc;
        return value;
    }
    return std::string();
}

}  // namespace

int main(int argc, char** argv) {
    std::string root = Argument(argc, argv, "--root=");
    std::string folder = Argument(argc, argv, "--dict=");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const bool builtDefault = root.empty();
    if (builtDefault) {
        root = DICTIONARY_BUILT_DICTIONARIES;
        folder = "English_Bulgarian";
    }
    std::error_code failed;
    std::filesystem::current_path(root, failed);
    if (failed || folder.empty() || !BenchOpenDictionary(folder.c_str())) {
        std::fprintf(stderr, "suggest_bench: cannot open %s in %s (build the default_dictionary target first)\n",
                     folder.c_str(), root.c_str());
        return 1;
    }
    std::vector<std::pair<std::string, std::string>> words;
    const std::vector<std::string> made = BenchMisspellings();
    for (size_t i = 0; i < made.size(); ++i) words.push_back({i ? "dropped" : "swapped", made[i]});
    words.push_back({"nothing_close", "qqqqqqqq"});
    if (builtDefault) {
        words.push_back({"acurate", "acurate"});
        words.push_back({"lotka", "\xEB\xEE\xF2\xEA\xE0"});   // лотка for котка
    }
    for (const auto& word : words)
        benchmark::RegisterBenchmark(("Suggest/held/" + word.first).c_str(), Query, word.second, true, true);
    const std::string first = words.front().second;
    benchmark::RegisterBenchmark("Suggest/first_after_open/kept", Query, first, false, true);
    benchmark::RegisterBenchmark("Suggest/first_after_open/built", Query, first, false, false)->Iterations(3);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BenchCloseDictionary();
    return 0;
}
