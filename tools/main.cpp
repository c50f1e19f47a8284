// dictionary-tool: the dictionary's storage and look-up from the command
// line, on the headless platform.
#include <iostream>
#include <vector>

#include "tools/check_command.h"
#include "tools/edit_commands.h"
#include "tools/export_command.h"
#include "tools/forms_command.h"
#include "tools/import_command.h"
#include "tools/install_commands.h"
#include "tools/tool_commands.h"

// One entry per command: name, function, synopsis, summary.
static const std::vector<ToolCommand> kCommands = {
    {"list", ListCommand, "[--json]", "the dictionaries of the program folder: index, folder, name"},
    {"lookup", LookupCommand, "[--dict FOLDER] [--no-plural] [--no-forms] [--json] WORD... | -",
     "looks the words up in turn ('-': one word a line from standard input); a word not found\n"
     "      is tried without a final S, then as its base forms (went: go); --no-forms: not as its\n"
     "      base forms; --no-plural: as given only"},
    {"stats", StatsCommand, "[--dict FOLDER] [--json]", "the number of entries and the size of a dictionary"},
    {"import", ImportCommand, "FORMAT SOURCE... --to FOLDER [--name NAME] [--dual] [--case-sensitive]",
     "makes or extends a dictionary from dictd (.index), stardict (.ifo) or tsv files"},
    {"add", AddCommand, "[--dict FOLDER] [--replace] WORD DESCRIPTION",
     "adds an entry as the window's Add button does, with the reverse entry of a dual dictionary\n"
     "      (exit 4: nothing was changed, the message says why)"},
    {"delete", DeleteCommand, "[--dict FOLDER] WORD", "deletes the entry of a word (exit 4: nothing was changed)"},
    {"export", ExportCommand, "[--dict FOLDER] [--to FILE]", "the whole dictionary as tsv: word TAB description"},
    {"check", CheckCommand, "[--dict FOLDER] [--fix]",
     "names every problem of a dictionary's files; --fix repairs them (exit 1: problems remain)"},
    {"forms", FormsCommand, "[--dict FOLDER] [--json] WORD... | -",
     "the base forms the word-form tables (forms folder) give for the words, preferred first"},
    // The installer's own, not listed.
    {"install-files", InstallFilesCommand, nullptr, nullptr},
    {"uninstall-files", UninstallFilesCommand, nullptr, nullptr},
};

int main(int argc, char** argv) {
    PrepareToolStreams();
    ToolStreams io{std::cin, std::cout, std::cerr};
    return RunTool(ToolCommandLine(argc, argv), kCommands, io);
}
