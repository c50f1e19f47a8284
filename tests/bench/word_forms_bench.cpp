// The word forms on the data the native build makes (the default dictionary
// and forms/ in its dictionaries folder): the base forms of a word, and the
// whole look-up of a word that only its base form finds and of a miss:
// exact look-up, plural retry, base forms, look-up of the bases.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "lookup/word_forms.h"
#include "settings/settings.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_headless.h"
#include "ui/program_state.h"

namespace {

// Code page 1251. The largest Bulgarian table is the one of П.
const std::string kProgramDefinite = "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xE0\xF2\xE0";  // програмата
const std::string kProgram = "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xE0";                    // програма
const std::string kUnlisted = "\xEF\xFF\xFF\xFF\xFF\xFF";                         // пяяяяя

void BasesOf(benchmark::State& state, const std::string& word, bool listed) {
    for (auto _ : state) {
        std::vector<std::string> bases = BaseFormsOf(CurrentDictionary, word.c_str());
        if (bases.empty() == listed) state.SkipWithError("unexpected base forms");
        benchmark::DoNotOptimize(bases);
    }
}

// The look-up of a word the dictionary lacks as the Find command does it:
// the word, the plural retry, then its base forms. `base` is the word shown
// on a hit through a base form, empty for a miss.
void FindInflected(benchmark::State& state, const std::string& word, const std::string& base) {
    const LookupResult expected = base.empty() ? LookupResult::NotFound : LookupResult::Ok;
    for (auto _ : state) {
        SetWordEditText(word.c_str());
        if (LookupWord(MissedDescription::Clear, PluralRetry::On) != expected)
            state.SkipWithError("unexpected result");
        else if (!base.empty() && base != EditState.WordText)
            state.SkipWithError("another word was shown");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::error_code failed;
    std::filesystem::current_path(DICTIONARY_BUILT_DICTIONARIES, failed);
    StartHeadlessProgram();
    Settings.autoComplete = 0;
    if (failed || SelectDictionary("English_Bulgarian") == OpenOutcome::NoHeader ||
        !std::filesystem::exists("forms/Bulgarian/00.dat")) {
        std::fprintf(stderr, "word_forms_bench: build the default_dictionary and word_forms targets first\n");
        return 1;
    }
    benchmark::RegisterBenchmark("BaseFormsOf/listed/went", BasesOf, std::string("went"), true);
    benchmark::RegisterBenchmark("BaseFormsOf/listed/programata", BasesOf, kProgramDefinite, true);
    benchmark::RegisterBenchmark("BaseFormsOf/unlisted/largest_table", BasesOf, kUnlisted, false);
    benchmark::RegisterBenchmark("FindWord/base_form/went", FindInflected, std::string("went"), std::string("go"));
    benchmark::RegisterBenchmark("FindWord/base_form/programata", FindInflected, kProgramDefinite, kProgram);
    benchmark::RegisterBenchmark("FindWord/miss/largest_table", FindInflected, kUnlisted, std::string());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ResetProgramState();
    return 0;
}
