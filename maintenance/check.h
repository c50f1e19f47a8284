// What in a dictionary's files breaks the look-up or was left by a write
// that was cut short, each problem with its file and byte offset, and the
// repair that keeps every readable entry.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "storage/text_case.h"

// Files and folders left by writers that were cut short.
struct Leftovers {
    std::vector<std::string> tempFiles;        // in the dictionary folder
    bool stagedChange = false;                 // the folder's staging area
    std::vector<std::string> importFolders;    // ".FOLDER.import-..." of the program folder
};

struct CheckReport {
    std::vector<std::string> problems;   // one line each, "FILE offset N: ..."
    bool folderMissing = false;
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

// Checks the dictionary in `folder` (code page name, relative to the
// program folder). The caller holds the folder's write lock.
CheckReport CheckDictionary(const std::string& folder);
// Repairs what CheckDictionary found: leftovers first (a change cut short is
// finished or undone), then the header and the letter files (never the
// notes); what could not be kept, and what was changed, goes to
// `notes`. False when a file cannot be written or there is no header to go by.
bool RepairDictionary(const std::string& folder, const CheckReport& report, std::vector<std::string>& notes);

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
CheckRun RunCheck(const std::string& folder, bool fix);

// ---- The parts, each in its own file.

// Leftovers of `folder` (check_leftovers.cpp), with a problem line each.
void FindLeftovers(const std::string& folder, CheckReport& report);
bool RemoveLeftovers(const std::string& folder, const Leftovers& leftovers, std::vector<std::string>& notes);
// Every letter file, entry by entry (check_letters.cpp); with a dual header
// also a note for each entry whose reverse entry is missing.
void CheckLetterFiles(const std::string& folder, CheckReport& report);
// The reverse entry that an entry of a dual dictionary needs: its word, ""
// when the entry needs none (check_reverse.cpp). `continued`: continuation
// entries follow it.
std::string ReverseWordNeeded(const std::string& word, const std::string& description, bool continued);
// Whether the dictionary holds that reverse entry (`holds` answers for one
// word): the word itself, or one of the single translations in it, as a
// dual import stores them.
bool ReverseEntryPresent(const std::string& reverseWord, const std::function<bool(const std::string&)>& holds);
