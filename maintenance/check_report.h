// What a check of a dictionary folder found: the problems, one line each
// with its file and byte offset, what needs repair, and what writers that
// were cut short left.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "maintenance/import_staging.h"
#include "storage/text_case.h"

// Files and folders left by writers that were cut short.
struct Leftovers {
    std::vector<std::string> tempFiles;        // in the dictionary folder
    bool stagedChange = false;                 // the folder's staging area
    // ".FOLDER.import-..." of the program folder, for this dictionary or any
    // other: they take room there whichever dictionary is checked.
    std::vector<AbandonedImport> importFolders;
};

struct CheckReport {
    std::vector<std::string> problems;   // one line each, "FILE offset N: ..."
    bool folderMissing = false;          // then only the leftovers are checked
    bool headerMissing = false;
    bool headerNeedsRepair = false;      // short, or a name without terminator
    bool lettersNeedRepair = false;
    int32_t caseSensitive = 0;           // from the header (0 when it does not say)
    int32_t dual = 0;
    CaseRule Rule() const { return CaseRuleOf(caseSensitive); }
    Leftovers leftovers;
    // Things worth knowing that are not damage, one line each: one-line
    // translations of a dual dictionary without their reverse entry. A
    // deletion leaves the other side's entry on purpose, and a kill between
    // the two writes of an addition leaves the forward one alone; the files
    // cannot tell the two apart, so nothing is repaired.
    std::vector<std::string> notes;
};
