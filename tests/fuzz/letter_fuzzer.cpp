// libFuzzer entry: each input is one dictionary folder. Byte 0 holds flags
// (bit 0: no header; bits 1-2: how many other folders stand beside it),
// bytes 1-2 the header's length (little-endian, modulo 301), then the header
// and, after it, the letter file. The look-up choices are seeded from the
// whole input, so every input replays exactly.
// The fuzzer works inside a temporary folder of its own (the program folder
// is the current directory), so give it corpus and artifact paths that are
// absolute.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "tests/fuzz/fuzz_case.h"

static std::string g_root;

static void RemoveTemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_root, ignored);
}

// Inputs are written into a folder of their own, the program folder.
static void EnterTemporaryFolder() {
    std::string path = (std::filesystem::temp_directory_path() / "dictionary-fuzz-XXXXXX").string();
    if (!mkdtemp(&path[0])) {
        std::perror("mkdtemp");
        std::abort();
    }
    g_root = path;
    std::filesystem::current_path(g_root);
    std::atexit(RemoveTemporaryFolder);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (g_root.empty()) EnterTemporaryFolder();

    static const FuzzItem kOthers[] = {
        {"English_Bulgarian", true, true, std::string("English\0", 8)},
        {"Notes", true, false, ""},
        {".hidden", true, true, "Hidden"},
    };
    FuzzCase fuzzCase;
    unsigned flags = size > 0 ? data[0] : 0;
    size_t at = size < 3 ? size : 3;
    size_t headerLength = size >= 3 ? (data[1] | static_cast<size_t>(data[2]) << 8) % 301 : 0;
    if (headerLength > size - at) headerLength = size - at;
    fuzzCase.hasHeader = (flags & 1) == 0;
    fuzzCase.header.assign(data + at, data + at + headerLength);
    fuzzCase.letterFile.assign(data + at + headerLength, data + size);
    for (unsigned i = 0; i < ((flags >> 1) & 3); ++i) fuzzCase.others.push_back(kOthers[i]);

    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
    std::mt19937_64 random(hash);

    std::string failure = RunFuzzCase(fuzzCase, random);
    ClearProgramFolder(g_root);
    if (!failure.empty()) {
        std::fprintf(stderr, "broken rule: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
