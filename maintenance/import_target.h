// Where an import's entries go, all of them or none. A new dictionary is
// made out of sight, in a folder of the program folder whose name begins
// with a dot (the program never lists those), and appears whole under its
// own name at the end. A dictionary that exists, or that appeared meanwhile,
// is extended under its write lock as one change of its files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "maintenance/import_entries.h"

struct ImportJob {
    std::string programFolder;  // as files are opened; "": the current folder
    std::string folder;         // its name in the program folder, code page 1251
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
    std::string error;                // why the import failed
};

// Imports the job's sources into its folder. False, with `error` set, when
// it did not; then no file of the dictionary has changed. A new dictionary
// is made in a folder whose name begins with NewDictionaryStagingPrefix
// (storage/dictionary_format.h): what a killed import left is known by it.
bool RunImport(const ImportJob& job, ImportOutcome& outcome);
