#include "tests/unit/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/cp1251.h"
#include "platform/headless.h"
#include "storage/dictionary_format.h"
#include "ui/program_headless.h"
#include "ui/program_state.h"

std::string Entries(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string bytes;
    for (const auto& entry : pairs) {
        bytes += entry.first;
        bytes += '\0';
        bytes += entry.second;
        bytes += '\0';
    }
    return bytes;
}

// A path as the program names it, in code page 1251: Windows takes it as
// UTF-16 whatever its own code page, the POSIX disk as the bytes it is.
static std::filesystem::path DiskPathOf(const std::string& path) {
#ifdef _WIN32
    std::u16string wide = Cp1251ToUtf16(path);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
    return std::filesystem::path(path);
#endif
}

std::string ReadDiskFile(const std::string& path) {
    std::ifstream in(DiskPathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteDiskFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(DiskPathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void MakeDictionary(const std::string& folder, const std::string& name, int dual, int caseSensitive) {
    std::filesystem::create_directories(DiskPathOf(folder));
    unsigned char header[kHeaderSize];
    BuildHeader(header, (name.empty() ? folder : name).c_str(), dual, caseSensitive, DefaultFont, DefaultFont);
    WriteDiskFile(folder + "/00.dat", std::string(reinterpret_cast<char*>(header), kHeaderSize));
}

double EnvironmentBound(const char* name, double fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    double value = std::strtod(text, &end);
    return *end == '\0' && value >= 0 ? value : fallback;
}

void MakeLetter(const std::string& folder, unsigned char letter, const std::string& bytes) {
    WriteDiskFile(folder + "/" + LetterFileName(letter), bytes);
}

void ProgramFolderTest::SetUp() {
    previous_ = std::filesystem::current_path().string();
    std::random_device random;
    for (;;) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("dictionary-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            root_ = candidate.string();
            break;
        }
    }
    std::filesystem::current_path(root_);
    StartHeadlessProgram();
    Settings.autoComplete = 0;
}

void ProgramFolderTest::TearDown() {
    ResetProgramState();
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void ProgramFolderTest::Type(const std::string& word) { HeadlessTypeWord(word.c_str()); }
std::string ProgramFolderTest::WordEdit() const { return Headless().wordEdit; }
std::string ProgramFolderTest::Description() const { return Headless().descriptionEdit; }
