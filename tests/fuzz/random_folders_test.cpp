// Seeded random program folders (damaged headers, damaged and arbitrary
// letter files) through storage and look-up. Bounded by
// DICTIONARY_FUZZ_ITERATIONS and DICTIONARY_FUZZ_SECONDS; DICTIONARY_FUZZ_SEED
// picks the first seed, so a failure can be replayed alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "storage/dictionary_format.h"
#include "storage/text_case.h"
#include "tests/fuzz/fuzz_case.h"
#include "tests/unit/test_support.h"

namespace {

using Random = std::mt19937_64;

size_t Pick(Random& random, size_t bound) { return bound ? random() % bound : 0; }
bool OneIn(Random& random, unsigned n) { return random() % n == 0; }

std::string RandomBytes(Random& random, size_t length, unsigned nulOneIn) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i)
        bytes += OneIn(random, nulOneIn) ? '\0' : static_cast<char>(Pick(random, 256));
    return bytes;
}

std::string RandomHeader(Random& random) {
    if (OneIn(random, 2)) return RandomBytes(random, Pick(random, 301), 8);
    // A real header, often cut short, sometimes case-sensitive.
    std::string name = OneIn(random, 4) ? std::string(64, 'N') : "Fuzz " + std::to_string(random() % 100);
    unsigned char bytes[kHeaderSize];
    BuildHeader(bytes, name.c_str(), static_cast<int32_t>(Pick(random, 2)), static_cast<int32_t>(Pick(random, 2)),
                DefaultFont, DefaultFont);
    std::string header(reinterpret_cast<char*>(bytes), kHeaderSize);
    if (name.size() >= 64 && OneIn(random, 2)) std::memcpy(&header[0], name.data(), 64);  // no terminator
    if (OneIn(random, 2)) header.resize(Pick(random, kHeaderSize + 1));
    return header;
}

std::string WordTail(Random& random, size_t length) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCS-' \xE0\xE5\xEA\xEE\xF2\xFF\xC0\xCA\xDF\xB8";
    std::string tail;
    for (size_t i = 0; i < length; ++i) tail += kLetters[Pick(random, sizeof kLetters - 1)];
    return tail;
}

std::string Description(Random& random) {
    static const char* const kSeparators[] = {";", "; ", "; 2. ", "; 3 x", ";4", "; 0. ", "\r\n", ", ", " "};
    std::string text = WordTail(random, 1 + Pick(random, 12));
    for (size_t n = Pick(random, 5); n > 0; --n)
        text += std::string(kSeparators[Pick(random, 9)]) + WordTail(random, Pick(random, 12));
    if (OneIn(random, 10)) text += ";";
    return text;
}

// Complete entries whose words share their first byte, sorted as the
// program keeps them; some continuation entries and long words.
std::string ValidEntries(Random& random, unsigned char first) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t n = Pick(random, 40); n > 0; --n) {
        std::string word(1, static_cast<char>(first));
        if (!entries.empty() && OneIn(random, 6))
            word = entries.back().first + " {" + std::to_string(1 + Pick(random, 3)) + "}";
        else
            word += WordTail(random, OneIn(random, 20) ? 100 + Pick(random, 500) : Pick(random, 10));
        while (word.size() > 1 && word.back() == ' ') word.pop_back();
        entries.push_back({word, Description(random)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return CompareNoCase(a.first.c_str(), b.first.c_str()) < 0;
    });
    return Entries(entries);
}

void Mutate(Random& random, std::string& file) {
    size_t at = Pick(random, file.size() + 1);
    switch (Pick(random, 8)) {
    case 0: file.resize(at); break;                                    // truncated
    case 1: if (!file.empty() && file.back() == '\0') file.pop_back(); break;  // no final NUL
    case 2:                                                            // NULs removed
        for (size_t n = 1 + Pick(random, 3); n > 0; --n) {
            size_t nul = file.find('\0', Pick(random, file.size() + 1));
            if (nul != std::string::npos) file.erase(nul, 1);
        }
        break;
    case 3: file.insert(at, 1 + Pick(random, 2), '\0'); break;        // NULs inserted
    case 4: {                                                          // an empty word or description
        size_t nul = file.find('\0', at);
        if (nul != std::string::npos) file.insert(nul, 1, '\0');
        break;
    }
    case 5:                                                            // bytes changed
        for (size_t n = 1 + Pick(random, 4); n > 0 && !file.empty(); --n)
            file[Pick(random, file.size())] = static_cast<char>(Pick(random, 256));
        break;
    case 6: file.insert(at, RandomBytes(random, 1 + Pick(random, 30), 4)); break;
    default: file.insert(at, std::string(1, '\0') + "x}" + std::string(1, '\0')); break;  // a stray continuation
    }
}

std::string RandomLetterFile(Random& random, unsigned char first) {
    switch (Pick(random, 3)) {
    case 0: return RandomBytes(random, Pick(random, 2000), 1 + Pick(random, 10));
    case 1: return ValidEntries(random, first);
    default: {
        std::string file = ValidEntries(random, first);
        for (size_t n = 1 + Pick(random, 3); n > 0; --n) Mutate(random, file);
        return file;
    }
    }
}

FuzzCase RandomCase(Random& random) {
    static const char* const kNames[] = {
        "English_Bulgarian", "Notes", ".hidden", "readme", "UPPER", "upper", "with space",
        "\xC1\xFA\xEB\xE3\xE0\xF0\xF1\xEA\xE8",
    };
    FuzzCase fuzzCase;
    for (const char* name : kNames) {
        if (!OneIn(random, 3)) continue;
        bool folder = !OneIn(random, 5);
        fuzzCase.others.push_back({name, folder, !OneIn(random, 4), RandomHeader(random)});
    }
    if (OneIn(random, 6)) fuzzCase.others.push_back({std::string(191, 'L'), true, true, RandomHeader(random)});
    if (OneIn(random, 6)) fuzzCase.others.push_back({std::string(192, 'M'), true, true, RandomHeader(random)});

    fuzzCase.hasHeader = !OneIn(random, 8);
    fuzzCase.header = RandomHeader(random);
    static const unsigned char kFirst[] = {'a', 'A', 'c', 's', 'S', '1', '}', ' ', 0xE0, 0xC0, 0xFF, 0xB8, 0xA8, 0x7F};
    unsigned char first = OneIn(random, 8) ? static_cast<unsigned char>(1 + Pick(random, 255))
                                           : kFirst[Pick(random, sizeof kFirst)];
    fuzzCase.letterFile = RandomLetterFile(random, first);
    for (size_t n = OneIn(random, 3) ? 1 + Pick(random, 3) : 0; n > 0; --n) {
        unsigned char letter = static_cast<unsigned char>(1 + Pick(random, 255));
        fuzzCase.otherLetters.push_back({letter, RandomLetterFile(random, letter)});
    }
    return fuzzCase;
}

class FuzzTest : public ProgramFolderTest {};

TEST_F(FuzzTest, RandomFoldersNeverBreakStorageOrLookUp) {
    auto seed = static_cast<uint64_t>(EnvironmentBound("DICTIONARY_FUZZ_SEED", 20240611));
    auto iterations = static_cast<uint64_t>(EnvironmentBound("DICTIONARY_FUZZ_ITERATIONS", 400));
    double seconds = EnvironmentBound("DICTIONARY_FUZZ_SECONDS", 5);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);

    uint64_t done = 0;
    for (; done < iterations && std::chrono::steady_clock::now() < deadline; ++done) {
        Random random(seed + done);
        FuzzCase fuzzCase = RandomCase(random);
        std::string failure = RunFuzzCase(fuzzCase, random);
        ClearProgramFolder(root_);
        ASSERT_EQ(failure, "") << "replay with DICTIONARY_FUZZ_SEED=" << seed + done
                               << " DICTIONARY_FUZZ_ITERATIONS=1";
    }
    RecordProperty("iterations", static_cast<int>(done));
    std::printf("%llu random program folders\n", static_cast<unsigned long long>(done));
    EXPECT_GT(done, 0u);
}

// Every cut of one small file that has continuation entries, semicolons
// and numbered items: each possible place where a copy could stop.
TEST_F(FuzzTest, EveryTruncationOfALetterFileIsReadSafely) {
    std::string file = Entries({{"bank", "money; credit; 2. bench"},
                                {"bank {2}", "river;side"},
                                {"bank {3}", "x; 2 y"},
                                {"banks", "plural;"}});
    for (size_t length = 0; length <= file.size(); ++length) {
        for (unsigned caseSensitive = 0; caseSensitive < 2; ++caseSensitive) {
            FuzzCase fuzzCase;
            unsigned char header[kHeaderSize];
            BuildHeader(header, "Bank", 0, static_cast<int32_t>(caseSensitive), DefaultFont, DefaultFont);
            fuzzCase.header.assign(reinterpret_cast<char*>(header), kHeaderSize);
            fuzzCase.letterFile = file.substr(0, length);
            Random random(length * 2 + caseSensitive);
            std::string failure = RunFuzzCase(fuzzCase, random);
            ClearProgramFolder(root_);
            ASSERT_EQ(failure, "") << "file cut to " << length << " bytes";
        }
    }
}

}  // namespace
