// Where an import's entries go, all of them or none. A new dictionary is
// made out of sight, in a folder of the program folder whose name begins
// with a dot (the program never lists those), and appears whole under its
// own name at the end. A dictionary that exists, or that appeared meanwhile,
// is extended under its write lock as one change of its files.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/import_entries.h"

struct ImportJob {
    std::string folder;         // code page 1251
    std::string name;           // a new dictionary's display name
    bool nameGiven = false;
    int32_t dual = 0;
    int32_t caseSensitive = 0;  // asked for a new dictionary
    ImportSources sources;
};

struct ImportOutcome {
    ImportCounts counts;
    int lettersWritten = 0;
    std::vector<std::string> notes;   // for the user, before the summary
};

// Imports the job's sources into its folder. kExitOk, or an exit status
// with a message on `err`; then no file of the dictionary has changed.
int RunImport(const ImportJob& job, ImportOutcome& outcome, std::ostream& err);

// The start of the name of every folder where a new dictionary `folder` is
// made: ".FOLDER.import-". What a killed import left is known by it.
std::string NewDictionaryStagingPrefix(const std::string& folder);
