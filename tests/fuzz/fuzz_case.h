// One program folder written from arbitrary bytes, run through listing,
// opening, loading, look-up, formatting and statistics, with the checks that
// must hold whatever the bytes are. Shared by the seeded random test and the
// libFuzzer target; no test framework here.
#pragma once

#include <random>
#include <string>
#include <vector>

// Another item of the program folder, beside the dictionary under test.
struct FuzzItem {
    std::string name;
    bool isFolder;
    bool hasHeader;      // a folder: whether it holds 00.dat
    std::string header;  // its bytes (for a plain file: the file's bytes)
};

struct FuzzCase {
    std::vector<FuzzItem> others;
    bool hasHeader = true;          // the dictionary under test is the folder "Fuzz"
    std::string header;             // bytes of Fuzz/00.dat
    std::string letterFile;         // bytes of its letter file; stored under the
                                    // folded first non-NUL byte (or 'a')
    std::vector<std::pair<unsigned char, std::string>> otherLetters;  // raw letter, bytes
};

// Removes everything inside `root` (a temporary program folder).
void ClearProgramFolder(const std::string& root);
// Writes the case into the current directory, runs the operations with
// choices drawn from `random` and returns the first broken rule ("" if none).
std::string RunFuzzCase(const FuzzCase& fuzzCase, std::mt19937_64& random);
