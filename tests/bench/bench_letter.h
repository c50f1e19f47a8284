// The letter file the in-process benchmarks work on: generated (about
// 4.5 MB, 94,000 entries under one letter, as the largest letter of a
// million-entry dictionary) or copied from a real dictionary, inside a
// temporary dictionary folder.
#pragma once

#include <string>
#include <vector>

struct BenchLetter {
    std::string folder;               // the dictionary folder, relative to `root`
    std::string root;                 // a temporary folder, the current one while it exists
    std::string path;                 // the letter file, relative to `root`
    unsigned char letter = 0;
    size_t size = 0;                  // bytes of the file
    std::vector<std::string> words;   // in file order
};

// Word NUL description NUL pairs, sorted as the program sorts them.
std::string GenerateLetterFile(size_t entries, unsigned seed);
// The words of a letter file, in file order.
std::vector<std::string> LetterFileWords(const std::string& bytes);

// Makes the temporary dictionary holding `bytes` as the file of `letter`
// and enters its folder. False, with `error` set, when it cannot.
bool PrepareBenchLetter(const std::string& bytes, unsigned char letter, BenchLetter& out, std::string& error);
// Leaves and removes the temporary folder.
void RemoveBenchLetter(const BenchLetter& letter);

// The whole file, or false.
bool ReadWholeFile(const std::string& path, std::string& bytes);
