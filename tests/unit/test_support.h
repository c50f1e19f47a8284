// Fixtures shared by the unit tests: a temporary program folder as the
// current directory, dictionaries written byte by byte, a fresh state.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/program_state.h"

// Bytes of a letter file from word/description pairs.
std::string Entries(const std::vector<std::pair<std::string, std::string>>& pairs);
std::string ReadDiskFile(const std::string& path);
void WriteDiskFile(const std::string& path, const std::string& bytes);
// A dictionary folder with a full header.
void MakeDictionary(const std::string& folder, const std::string& name = "", int dual = 0,
                    int caseSensitive = 0);
// A number from the environment (the bounds of the longer tests), or the
// fallback when it is unset or not a number of at least 0.
double EnvironmentBound(const char* name, double fallback);
// A letter file of `folder`, written as raw bytes.
void MakeLetter(const std::string& folder, unsigned char letter, const std::string& bytes);

// Each test runs in its own empty folder with every process-wide record
// back at its start-up value.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Puts text into the word edit as typing would.
    void Type(const std::string& word);
    std::string WordEdit() const;
    std::string Description() const;
    std::string root_;
    std::string previous_;
};
