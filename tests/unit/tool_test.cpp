// dictionary-tool: its commands run on string streams as the shell runs them.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/files.h"
#include "storage/dictionary_format.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"
#include "tools/tool_commands.h"

namespace {

struct ToolRun {
    int status;
    std::string out, err;
};

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + kToolLineEnd;
    return text;
}

bool Says(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

class ToolTest : public ProgramFolderTest {
protected:
    ToolRun Run(const std::vector<std::string>& args, const std::string& input = "") {
        static const std::vector<ToolCommand> commands = {
            {"list", ListCommand, "[--json]", "catalogue"},
            {"lookup", LookupCommand, "WORD...", "look-up"},
            {"stats", StatsCommand, "[--json]", "statistics"},
        };
        std::istringstream in(input);
        std::ostringstream out, err;
        ToolContext io{in, out, err, ""};
        int status = RunTool(args, commands, io);
        return {status, out.str(), err.str()};
    }

    // English_Bulgarian with cat ("котка;feline", continued by "cat {2}"),
    // cow, dog, and "котка" under the folded letter К.
    void MakeSample() {
        MakeDictionary("English_Bulgarian", "\xC0\xED\xE3\xEB\xE8\xE9\xF1\xEA\xE8");
        MakeLetter("English_Bulgarian", 'C',
                   Entries({{"cat", "\xEA\xEE\xF2\xEA\xE0;feline"}, {"cat {2}", "tom"},
                            {"cow", "say \"moo\"\\\t\x98\x01"}}));
        MakeLetter("English_Bulgarian", 'D', Entries({{"dog", "canis"}}));
        MakeLetter("English_Bulgarian", 0xCA, Entries({{"\xEA\xEE\xF2\xEA\xE0", "cat"}}));
    }
};

TEST_F(ToolTest, ListShowsOnlyFoldersWithAHeader) {
    EXPECT_EQ(Run({"list", "--json"}).out, Lines({"[]"}));

    MakeSample();
    std::filesystem::create_directory("Notes");
    MakeDictionary(".hidden");
    WriteDiskFile("readme", "not a folder");
    ToolRun run = Run({"list"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Lines({"0\tEnglish_Bulgarian\tАнглийски"}));
    EXPECT_EQ(run.err, "");
}

TEST_F(ToolTest, ListInJsonAndACyrillicFolderByItsTerminalName) {
    // The folder "Речник", named in code page 1251 as the program names it.
    const std::string folder = "\xD0\xE5\xF7\xED\xE8\xEA";
    ASSERT_TRUE(PlatformCreateFolder(folder.c_str()));
    unsigned char header[kHeaderSize];
    BuildHeader(header, "\"R\"\\\x98", 0, 0, DefaultFont, DefaultFont);
    ASSERT_TRUE(PlatformWriteFileAtomic((folder + "\\00.dat").c_str(), header, sizeof header));
    MakeLetter(folder, 'C', Entries({{"cat", "\xEA\xEE\xF2\xEA\xE0"}}));

    ToolRun run = Run({"list", "--json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Lines({"[", "  {\"index\": 0, \"folder\": \"Речник\", \"name\": \"\\\"R\\\"\\\\\uFFFD\"}",
                              "]"}));
    EXPECT_EQ(Run({"lookup", "--dict", "Речник", "cat"}).out, Lines({"котка"}));
#ifdef _WIN32
    // Windows names folders in UTF-16: a dictionary whose folder name the
    // code page cannot hold is not listed, and said so by its name.
    std::filesystem::create_directory(std::filesystem::u8path("Wörterbuch"));
    std::ofstream(std::filesystem::u8path("Wörterbuch/00.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(header), sizeof header);
    run = Run({"list"});
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(Says(run.out, "rterbuch"));
    EXPECT_EQ(run.err, Lines({"dictionary-tool: the dictionary in the folder 'Wörterbuch' is not listed: U+00F6 (ö) "
                              "has no place in code page 1251"}));
#endif
}

TEST_F(ToolTest, LookupPrintsEachDescriptionAsTheEditHoldsIt) {
    MakeSample();
    ToolRun run = Run({"lookup", "cat", "dog"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Lines({"котка", "feline", "", "tom", "", "canis"}));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Run({"lookup", "КОТКА"}).out, Lines({"cat"}));
}

TEST_F(ToolTest, LookupExitsWithTheResultOfTheLastWordNotFound) {
    MakeSample();
    ToolRun run = Run({"lookup", "zebra", "cab", "dog"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.out, Lines({"canis"}));
    EXPECT_EQ(run.err, Lines({"zebra: not found (letter file 5a.dat cannot be opened)", "cab: not found"}));
    EXPECT_EQ(Run({"lookup", "cab", "zebra"}).status, 3);

    run = Run({"lookup", "--no-plural", "cats"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.err, Lines({"cats: not found"}));
}

TEST_F(ToolTest, LookupJsonHoldsTheEditsAfterEachLookUp) {
    // Words from standard input, CR LF or LF; the plural retry rewrites the
    // word; descriptions keep their CR LF; the undefined byte 0x98 reads as U+FFFD.
    MakeSample();
    ToolRun run = Run({"lookup", "--json", "-"}, "cats\r\ncow\nnothing\n");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out,
              Lines({"[",
                     "  {\"query\": \"cats\", \"word\": \"cat\", \"result\": 0, "
                     "\"description\": \"котка\\r\\nfeline\\r\\n\\r\\ntom\"},",
                     "  {\"query\": \"cow\", \"word\": \"cow\", \"result\": 0, "
                     "\"description\": \"say \\\"moo\\\"\\\\\\t\uFFFD\\u0001\"},",
                     "  {\"query\": \"nothing\", \"word\": \"nothing\", \"result\": 3, \"description\": \"\"}",
                     "]"}));
    EXPECT_EQ(Run({"lookup", "--json", "-"}).out, Lines({"[]"}));
}

TEST_F(ToolTest, LookupRefusesArgumentsTheCodePageCannotHold) {
    MakeSample();
    for (const auto& args : {std::vector<std::string>{"lookup", "cat", "naïve"}, {"lookup", "cat", "\xC3("},
                             {"lookup", "naïve", "-"}}) {
        ToolRun run = Run(args, "dog\n");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");  // nothing is looked up
    }
    ToolRun run = Run({"lookup", "naïve"});
    EXPECT_TRUE(Says(run.err, "'naïve'") && Says(run.err, "U+00EF")) << run.err;
    EXPECT_TRUE(Says(Run({"lookup", "\xC3("}).err, "\\xC3"));
}

TEST_F(ToolTest, ALineOfStandardInputThatCannotBeAWordIsAWordNotFound) {
    // A word list taken from real text: the batch goes on past the words the
    // code page cannot hold, and the exit status is that of the last miss.
    MakeSample();
    ToolRun run = Run({"lookup", "-"}, "cat\nvõro\ndog\n");
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.out, Lines({"котка", "feline", "", "tom", "", "canis"}));
    EXPECT_EQ(run.err, Lines({"võro: not found (U+00F5 (õ) has no place in code page 1251)"}));

    run = Run({"lookup", "--json", "-"}, "\xC3(\na\x01\nzebra\ndog\n");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out,
              Lines({"[",
                     "  {\"query\": \"\uFFFD(\", \"word\": \"\", \"result\": 6, \"description\": \"\"},",
                     "  {\"query\": \"a\\u0001\", \"word\": \"a\\u0001\", \"result\": 3, \"description\": \"\"},",
                     "  {\"query\": \"zebra\", \"word\": \"zebra\", \"result\": 3, \"description\": \"\"},",
                     "  {\"query\": \"dog\", \"word\": \"dog\", \"result\": 0, \"description\": \"canis\"}",
                     "]"}));
    EXPECT_EQ(run.err, Lines({"\\xC3(: not found (it is not valid UTF-8)",
                              "a\\x01: not found (letter file 41.dat cannot be opened)",
                              "zebra: not found (letter file 5a.dat cannot be opened)"}));
}

// A long list across letters, with a letter that has no file: the letters
// kept from earlier words answer as reading them again would, and a word of
// the missing letter says so each time another letter came between.
TEST_F(ToolTest, ALongListAnswersAsWordByWord) {
    MakeSample();
    std::string list, expectedOut, expectedErr;
    for (int i = 0; i < 5000; ++i) {
        const char* word = i % 3 == 0 ? "dog" : i % 3 == 1 ? "nothing" : "котка";
        list += std::string(word) + "\n";
        if (i % 3 == 1) expectedErr += Lines({"nothing: not found (letter file 4e.dat cannot be opened)"});
        else expectedOut += (expectedOut.empty() ? "" : kToolLineEnd) + Lines({i % 3 == 0 ? "canis" : "cat"});
    }
    ToolRun run = Run({"lookup", "-"}, list);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, expectedErr);
    EXPECT_EQ(run.out, expectedOut);
}

// A blank line of a word list is nothing to look up: it shows no description,
// least of all the one of the word before it.
TEST_F(ToolTest, ABlankLineLooksNothingUp) {
    MakeSample();
    ToolRun run = Run({"lookup", "-"}, "dog\n   \ndog\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Lines({"canis", "", "canis"}));
    run = Run({"lookup", "--json", "-"}, "dog\n  \n");
    EXPECT_EQ(run.out, Lines({"[",
                              "  {\"query\": \"dog\", \"word\": \"dog\", \"result\": 0, \"description\": \"canis\"},",
                              "  {\"query\": \"  \", \"word\": \"  \", \"result\": 0, \"description\": \"\"}",
                              "]"}));
}

TEST_F(ToolTest, StatsCountEntriesAndBytes) {
    MakeDictionary("English_Bulgarian");
    std::string bytes = Entries({{"apple", "1234567890123"}, {"apricot", "12345678901"}, {"arm", "123456789012345"},
                                 {"ash", "123456789012345"}, {"axe", "123456789012345"}});
    ASSERT_EQ(bytes.size(), 100u);
    MakeLetter("English_Bulgarian", 'A', bytes);

    ToolRun run = Run({"stats"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Lines({"entries: 5", "size: 101"}));
    EXPECT_EQ(Run({"stats", "--json", "--dict", "English_Bulgarian"}).out, Lines({"{\"entries\": 5, \"size\": 101}"}));
}

TEST_F(ToolTest, DictionaryOrFolderThatCannotBeOpened) {
    std::filesystem::create_directory("Notes");
    MakeLetter("Notes", 'C', Entries({{"cat", "felis"}}));
    for (const auto& args : {std::vector<std::string>{"lookup", "--dict", "Notes", "cat"}, {"stats", "--dict", "Notes"}}) {
        ToolRun run = Run(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(Says(run.err, "cannot open dictionary 'Notes'")) << run.err;
    }
    EXPECT_EQ(Run({"--root", "nowhere", "list"}).status, 1);

    std::filesystem::create_directory("programs");
    MakeDictionary("programs/English_Bulgarian");
    MakeLetter("programs/English_Bulgarian", 'D', Entries({{"dog", "canis"}}));
    EXPECT_EQ(Run({"--root", "programs", "lookup", "dog"}).out, Lines({"canis"}));
}

TEST_F(ToolTest, CommandLinesThatCannotBeUsed) {
    ToolRun run = Run({});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("usage:", 0), 0u) << run.err;

    for (auto help : {std::vector<std::string>{"--help"}, {"lookup", "--help"}}) {
        run = Run(help);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind("usage:", 0), 0u) << run.out;
        EXPECT_TRUE(Says(run.out, "lookup WORD..."));
    }

    MakeDictionary("English_Bulgarian");
    const std::vector<std::vector<std::string>> unusable = {
        {"frob"}, {"--verbose", "list"}, {"--root"}, {"list", "--xml"}, {"list", "extra"},
        {"lookup"}, {"lookup", "--dict"}, {"lookup", "--dict", "", "cat"}, {"stats", "word"},
        {"lookup", "-x"},
    };
    for (const auto& args : unusable) {
        run = Run(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
        EXPECT_EQ(run.err.rfind("dictionary-tool: ", 0), 0u) << run.err;
    }
}
