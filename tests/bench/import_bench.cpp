// Importing a generated tsv of a million entries into a new dictionary,
// the whole command as the user runs it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>

#include "tools/import_command.h"
#include "tools/run_tool.h"
#include "tools/tool_commands.h"

namespace fs = std::filesystem;

static std::string RandomWord(std::mt19937& random, int minimum, int maximum) {
    std::uniform_int_distribution<int> length(minimum, maximum), letter('a', 'z');
    std::string word(static_cast<size_t>(length(random)), 'a');
    for (char& c : word) c = static_cast<char>(letter(random));
    return word;
}

static void ImportTsv(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    fs::path folder = fs::temp_directory_path() / ("dictionary-import-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::path source = folder / "words.tsv";
    {
        std::mt19937 random(7);
        std::ofstream out(source, std::ios::binary);
        for (int i = 0; i < entries; ++i)
            out << RandomWord(random, 3, 12) << i << '\t' << RandomWord(random, 4, 10) << "; "
                << RandomWord(random, 4, 10) << '\n';
    }
    fs::path previous = fs::current_path();
    std::vector<ToolCommand> commands = {{"import", ImportCommand, "", ""}};
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(folder / "program");
        fs::create_directories(folder / "program");
        fs::current_path(folder);
        state.ResumeTiming();
        std::istringstream in;
        std::ostringstream out, err;
        ToolContext io{in, out, err, ""};
        int status = RunTool({"--root", "program", "import", "tsv", source.string(), "--to", "Bench"}, commands, io);
        if (status != 0) state.SkipWithError(err.str().c_str());
    }
    fs::current_path(previous);
    fs::remove_all(folder);
    state.counters["entries"] = entries;
}
BENCHMARK(ImportTsv)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
