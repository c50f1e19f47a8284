// The word forms on the data the native build makes (the default dictionary
// and forms/ in its dictionaries folder): the base forms of a word, and the
// whole path of a word that only its base form finds: exact look-up, plural
// retry, base forms, look-up of the base.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "lookup/word_forms.h"
#include "settings/settings.h"
#include "storage/dictionary_state.h"
#include "ui/dictionary_commands.h"
#include "ui/edit_state.h"
#include "ui/lookup_command.h"
#include "ui/program_headless.h"

namespace {

// Code page 1251. The largest Bulgarian table is the one of П.
const std::string kProgramDefinite = "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xE0\xF2\xE0";  // програмата
const std::string kUnlisted = "\xEF\xFF\xFF\xFF\xFF\xFF";                         // пяяяяя

void BasesOf(benchmark::State& state, const std::string& word, bool listed) {
    for (auto _ : state) {
        std::vector<std::string> bases = BaseFormsOf(word.c_str(), OpenCaseRule());
        if (bases.empty() == listed) state.SkipWithError("unexpected base forms");
        benchmark::DoNotOptimize(bases);
    }
}

// A word the dictionary lacks, found through its first base form the
// dictionary holds, as the look-up's fallback will do it.
void FindThroughBaseForm(benchmark::State& state, const std::string& word) {
    for (auto _ : state) {
        SetWordEditText(word.c_str());
        if (LookupWord(MissedDescription::Clear, PluralRetry::On) != kResultNotFound)
            state.SkipWithError("the word itself was found");
        bool found = false;
        for (const std::string& base : BaseFormsOf(word.c_str(), OpenCaseRule())) {
            SetWordEditText(base.c_str());
            if (LookupWord(MissedDescription::Clear, PluralRetry::Off) == kResultOk) {
                found = true;
                break;
            }
        }
        if (!found) state.SkipWithError("no base form was found");
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
    if (failed || SelectDictionary("English_Bulgarian") != kResultOk ||
        !std::filesystem::exists("forms/Bulgarian/00.dat")) {
        std::fprintf(stderr, "word_forms_bench: build the default_dictionary and word_forms targets first\n");
        return 1;
    }
    benchmark::RegisterBenchmark("BaseFormsOf/listed/went", BasesOf, std::string("went"), true);
    benchmark::RegisterBenchmark("BaseFormsOf/listed/programata", BasesOf, kProgramDefinite, true);
    benchmark::RegisterBenchmark("BaseFormsOf/unlisted/largest_table", BasesOf, kUnlisted, false);
    benchmark::RegisterBenchmark("FindThroughBaseForm/went", FindThroughBaseForm, std::string("went"));
    benchmark::RegisterBenchmark("FindThroughBaseForm/programata", FindThroughBaseForm, kProgramDefinite);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ResetDictionaryState();
    return 0;
}
