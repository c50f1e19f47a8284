// What in a dictionary's files breaks the look-up or was left by a write
// that was cut short, each problem with its file and byte offset, and the
// repair that keeps every readable entry.
#pragma once

#include <string>
#include <vector>

#include "maintenance/check_report.h"

// Checks the dictionary in `folder` (code page name) of `programFolder`
// ("": the current folder). The caller holds the folder's write lock.
CheckReport CheckDictionary(const std::string& programFolder, const std::string& folder);
// Repairs what CheckDictionary found: leftovers first (a change cut short is
// finished or undone), then the header and the letter files (never the
// notes); what could not be kept, and what was changed, goes to
// `notes`. False when a file cannot be written or there is no header to go by.
bool RepairDictionary(const std::string& programFolder, const std::string& folder, const CheckReport& report,
                      std::vector<std::string>& notes);

// A whole check of a folder, and with `fix` its repair, under the folder's
// write lock.
struct CheckRun {
    bool busy = false;                  // another writer kept the folder: nothing was checked
    CheckReport found;                  // the check before any repair
    bool repaired = false;              // a repair was made
    std::vector<std::string> fixNotes;  // what the repair did
    CheckReport after;                  // the check after it
    bool Clean() const { return repaired ? after.problems.empty() : found.problems.empty(); }
};
CheckRun RunCheck(const std::string& programFolder, const std::string& folder, bool fix);
