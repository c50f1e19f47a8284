// A dictionary's letter files read as they stand, each with the version
// that a change of it replaces (storage/staged_commit.h).
#pragma once

#include <string>

#include "storage/staged_commit.h"

struct LetterFiles {
    std::string bytes[256];
    FileVersion versions[256];   // "absent" for a letter without a file
    unsigned char unreadable = 0;   // a letter whose file is there but cannot be read; 0: none
};

// Reads every letter file of `folder`, up to one that cannot be read.
void ReadLetterFiles(const std::string& folder, LetterFiles& files);
