#include "tests/bench/bench_letter.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#include "storage/dictionary_format.h"
#include "storage/text_case.h"

namespace fs = std::filesystem;

namespace {

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return CompareNoCase(a.c_str(), b.c_str()) < 0;
    }
};

const int kWordLengths[] = {3, 4, 4, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7, 8, 8, 8, 9, 9, 10, 10, 11, 12, 13};
const int kSenseWords[] = {1, 1, 1, 2, 2, 2, 3};

template <size_t N>
int Pick(std::mt19937& random, const int (&choices)[N]) {
    return choices[random() % N];
}

// English-like headwords under S: a few capitalised, a few two-word phrases.
std::string MakeWord(std::mt19937& random) {
    std::string word(1, random() % 20 == 0 ? 'S' : 's');
    for (int i = 1, length = Pick(random, kWordLengths); i < length; ++i)
        word += static_cast<char>('a' + random() % 26);
    if (random() % 15 == 0) {
        word += ' ';
        for (int i = 0, length = Pick(random, kWordLengths); i < length; ++i)
            word += static_cast<char>('a' + random() % 26);
    }
    return word;
}

// One to four senses of Cyrillic words (code page 1251), split by "; ".
std::string MakeDescription(std::mt19937& random) {
    std::string text;
    for (int s = 0, senses = 1 + static_cast<int>(random() % 4); s < senses; ++s) {
        if (s > 0) text += "; ";
        for (int w = 0, words = Pick(random, kSenseWords); w < words; ++w) {
            if (w > 0) text += ", ";
            for (int i = 0, length = Pick(random, kWordLengths); i < length; ++i)
                text += static_cast<char>(0xE0 + random() % 32);
        }
    }
    return text;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

std::string GenerateLetterFile(size_t entries, unsigned seed) {
    std::mt19937 random(seed);
    std::set<std::string, NoCaseLess> words;
    while (words.size() < entries) words.insert(MakeWord(random));
    std::string file;
    for (const std::string& word : words) {
        file += word;
        file += '\0';
        file += MakeDescription(random);
        file += '\0';
    }
    return file;
}

std::vector<std::string> LetterFileWords(const std::string& bytes) {
    std::vector<std::string> words;
    for (size_t at = 0; at < bytes.size();) {
        size_t wordEnd = bytes.find('\0', at);
        if (wordEnd == std::string::npos) break;
        words.push_back(bytes.substr(at, wordEnd - at));
        size_t descriptionEnd = bytes.find('\0', wordEnd + 1);
        if (descriptionEnd == std::string::npos) break;
        at = descriptionEnd + 1;
    }
    return words;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool PrepareBenchLetter(const std::string& bytes, unsigned char letter, BenchLetter& out, std::string& error) {
    std::string root = (fs::temp_directory_path() / "dictionary-bench-XXXXXX").string();
    if (!mkdtemp(&root[0])) {
        error = "cannot make a temporary folder";
        return false;
    }
    out.root = root;
    out.folder = "Bench";
    out.letter = letter;
    out.size = bytes.size();
    out.words = LetterFileWords(bytes);
    char name[16];
    std::snprintf(name, sizeof name, "/%02x.dat", letter);
    out.path = out.folder + name;

    std::error_code failed;
    fs::current_path(root, failed);
    if (!failed) fs::create_directory(out.folder, failed);
    unsigned char header[kHeaderSize];
    BuildHeader(header, out.folder.c_str(), 0, 0, DefaultFont, DefaultFont);
    if (failed || !WriteWholeFile(out.folder + "/00.dat", std::string(reinterpret_cast<char*>(header), kHeaderSize)) ||
        !WriteWholeFile(out.path, bytes)) {
        error = "cannot write the dictionary in " + root;
        return false;
    }
    if (out.words.size() < 3) {
        error = "the letter file holds fewer than three entries";
        return false;
    }
    return true;
}

void RemoveBenchLetter(const BenchLetter& letter) {
    if (letter.root.empty()) return;
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(letter.root, ignored);
}
