// Import from StarDict books: typed fields with and without a type sequence,
// and broken books.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/unit/test_support.h"
#include "tools/import_command.h"
#include "tools/tool_commands.h"

namespace {

struct ToolResult {
    int status;
    std::string out, err;
};

ToolResult Import(const std::vector<std::string>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    ToolContext io{in, out, err, ""};
    int status = ImportCommand(args, io);
    return {status, out.str(), err.str()};
}

std::string BigEndian32(size_t value) {
    std::string bytes(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= 8) bytes[i] = static_cast<char>(value & 0xFF);
    return bytes;
}

// NAME.ifo, NAME.idx and NAME.dict; `sequence` empty: every field typed.
void WriteStardict(const std::string& name, const std::string& sequence,
                   const std::vector<std::pair<std::string, std::string>>& entries, long wordCount = -1) {
    std::string idx, dict;
    for (const auto& entry : entries) {
        idx += entry.first + std::string(1, '\0') + BigEndian32(dict.size()) + BigEndian32(entry.second.size());
        dict += entry.second;
    }
    std::string ifo = "StarDict's dict ifo file\nversion=2.4.2\nbookname=" + name + "\nwordcount=" +
                      std::to_string(wordCount < 0 ? entries.size() : static_cast<size_t>(wordCount)) +
                      "\nidxfilesize=" + std::to_string(idx.size()) + "\n";
    if (!sequence.empty()) ifo += "sametypesequence=" + sequence + "\n";
    WriteDiskFile(name + ".ifo", ifo);
    WriteDiskFile(name + ".idx", idx);
    WriteDiskFile(name + ".dict", dict);
}

}  // namespace

class ImportStardictTest : public ProgramFolderTest {};

TEST_F(ImportStardictTest, ReadsTextPronunciationAndMarkupFields) {
    WriteStardict("same", "m", {{"ape", "ape <n>\nmaimuna\nprimate\n"}, {"ant", "mravka"}});
    // Typed fields: a phonetic one (t), text (m), HTML (h) and a picture (P).
    const std::string nul(1, '\0');
    WriteStardict("typed", "", {{"cat", "tkat" + nul + "mcat <n>\nkotka" + nul},
                                {"dog", "P" + BigEndian32(3) + "GIF" + "h<b>dog</b><br>kuche &amp; pes" + nul}});
    ToolResult run = Import({"stardict", "same.ifo", "typed.ifo", "--to", "Animals"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("stored: 4 entries"), std::string::npos) << run.out;
    EXPECT_EQ(ReadDiskFile("Animals/41.dat"), Entries({{"ant", "mravka"}, {"ape", "noun;maimuna (primate)"}}));
    EXPECT_EQ(ReadDiskFile("Animals/43.dat"), Entries({{"cat", "noun /kat/;kotka"}}));
    EXPECT_EQ(ReadDiskFile("Animals/44.dat"), Entries({{"dog", "kuche & pes"}}));
}

TEST_F(ImportStardictTest, BrokenBooksAreNamed) {
    WriteStardict("short", "m", {{"ape", "maimuna"}, {"ant", "mravka"}});
    std::string idx = ReadDiskFile("short.idx");
    WriteDiskFile("short.idx", idx.substr(0, idx.size() - 5));
    ToolResult run = Import({"stardict", "short.ifo", "--to", "Animals"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("short.idx: 19 bytes where short.ifo says 24 (cut short?)"), std::string::npos) << run.err;

    WriteStardict("count", "m", {{"ape", "maimuna"}}, 2);
    run = Import({"stardict", "count.ifo", "--to", "Animals"});
    EXPECT_NE(run.err.find("count.idx: holds 1 entries where count.ifo says 2"), std::string::npos) << run.err;

    WriteStardict("past", "m", {{"ape", "maimuna"}});
    WriteDiskFile("past.dict", "mai");
    run = Import({"stardict", "past.ifo", "--to", "Animals"});
    EXPECT_NE(run.err.find("past.dict: the entry 'ape' (past.idx entry 1 at byte 0) runs from byte 0 to 7, past "
                           "the end of the data (3 bytes)"),
              std::string::npos)
        << run.err;

    WriteDiskFile("other.ifo", "Some other file\n");
    run = Import({"stardict", "other.ifo", "--to", "Animals"});
    EXPECT_NE(run.err.find("other.ifo line 1: not a StarDict ifo file"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists("Animals"));
}
