// Compressed import sources that claim or unpack to far more than they hold,
// imported by the real tool under a memory limit: a clear message or a good
// import, never an abort.
#include <filesystem>
#include <string>

#include "tests/crash/crash_support.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tool_test_support.h"

#ifdef DICTIONARY_HAVE_ZLIB

class ImportLimitsTest : public ToolFolderTest {
protected:
    void SetUp() override {
        ToolFolderTest::SetUp();
        if (BuiltWithAddressSanitizer()) GTEST_SKIP() << "the sanitizers need more address space than the limit";
    }
    // Half a gigabyte: far less than the bombs below unpack to.
    ToolRun Import(const std::string& index) {
        return RunToolCapturing(".", {"import", "dictd", index, "--to", "Animals"}, {512ull << 20, 0});
    }
};

TEST_F(ImportLimitsTest, ATrailerThatClaimsGigabytesIsNotBelieved) {
    std::string data;
    WriteDictd("liar", {{"cat", "kotka"}}, &data);
    std::string zipped = Gzip(data);
    zipped.replace(zipped.size() - 4, 4, "\xFF\xFF\xFF\xFF");   // "4 GiB"
    ASSERT_LT(zipped.size(), 40u);
    WriteDiskFile("liar.dict.dz", zipped);
    ToolRun run = Import("liar.index");
    EXPECT_EQ(run.status >= 0, true) << run.output;
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadDiskFile("Animals/43.dat"), Entries({{"cat", "kotka"}}));
}

TEST_F(ImportLimitsTest, AGzipBombIsReadOnlyAsFarAsTheIndexPoints) {
    std::string data;
    WriteDictd("bomb", {{"cat", "kotka"}, {"dog", "kuche"}}, &data);
    // A gigabyte of zeros behind the definitions, in a megabyte of members.
    std::string zipped = Gzip(data), zeros = Gzip(std::string(1 << 20, '\0'));
    for (int i = 0; i < 1024; ++i) zipped += zeros;
    WriteDiskFile("bomb.dict.dz", zipped);
    ToolRun run = Import("bomb.index");
    EXPECT_EQ(run.status >= 0, true) << run.output;
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadDiskFile("Animals/44.dat"), Entries({{"dog", "kuche"}}));

    // An index that points past the most the importer unpacks is refused
    // before anything is unpacked.
    WriteDiskFile("bomb.index", "cat\t" + DictdNumber(1) + "\t" + DictdNumber(5) + "\nfar\t" +
                                    DictdNumber(size_t(2) << 30) + "\t" + DictdNumber(10) + "\n");
    run = Import("bomb.index");
    EXPECT_EQ(run.status >= 0, true) << run.output;
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("bomb.dict.dz: the index points at data up to byte 2147483658, more than the 1 GiB the "
                           "importer unpacks from one file"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(ReadDiskFile("Animals/44.dat"), Entries({{"dog", "kuche"}}));
}

// An index that points near the most the importer unpacks: the data is
// unpacked as a stream, keeping only what the entries point at, so that
// memory holds the entries, not the gigabyte before them. A source that
// yields no entry at all is an error, and nothing is made.
TEST_F(ImportLimitsTest, ABombThatPointsNearTheLimitCostsOnlyWhatItsEntriesNeed) {
    std::string data;
    WriteDictd("near", {{"cat", "kotka"}}, &data);
    std::string zipped = Gzip(data), zeros = Gzip(std::string(1 << 20, '\0'));
    for (int i = 0; i < 1024; ++i) zipped += zeros;
    WriteDiskFile("near.dict.dz", zipped);
    const size_t nearTheEnd = (size_t(1) << 30) - 100;
    const std::string cat = "cat\t" + DictdNumber(1) + "\t" + DictdNumber(5) + "\n";
    const std::string far = "far\t" + DictdNumber(nearTheEnd) + "\t" + DictdNumber(10) + "\n";
    WriteDiskFile("near.index", cat + far);
    // A quarter of the gigabyte: the whole of it would not fit.
    const ToolLimits quarter{256ull << 20, 0};
    ToolRun run = RunToolCapturing(".", {"import", "dictd", "near.index", "--to", "Animals"}, quarter);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadDiskFile("Animals/43.dat"), Entries({{"cat", "kotka"}}));

    // Only zeros where the index points: no description, so no entry.
    WriteDiskFile("zeros.dict.dz", zeros);
    WriteDiskFile("zeros.index", "far\t" + DictdNumber(1000) + "\t" + DictdNumber(10) + "\n");
    run = RunToolCapturing(".", {"import", "dictd", "zeros.index", "--to", "Empty"}, quarter);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("zeros.index: no entry can be stored from it (1 read;"), std::string::npos)
        << run.output;
    EXPECT_FALSE(std::filesystem::exists("Empty"));
}

#endif

// A disk that fills up part way: the import stops, and the dictionary is as
// it was, or not there at all.
class ImportOnAFullDiskTest : public ToolFolderTest {
protected:
    // Letter files of ant.. and bee.. words; the B file grows past `limit`.
    void WriteSource(size_t bytesOfB) {
        std::string text = "ant\tmravka\n";
        for (size_t i = 0; text.size() < bytesOfB; ++i) text += "bee" + std::to_string(i) + "\tpchela\n";
        text += "cat\tkotka\n";
        WriteDiskFile("words.tsv", text);
    }
    ToolRun Import(const std::string& folder) {
        return RunToolCapturing(".", {"import", "tsv", "words.tsv", "--to", folder}, {0, 64 << 10});
    }
};

TEST_F(ImportOnAFullDiskTest, ANewDictionaryIsNotMadeAtAll) {
    WriteSource(200 << 10);
    ToolRun run = Import("Fresh");
    EXPECT_EQ(run.status >= 0, true);
    EXPECT_EQ(run.status, 1);
    // The system's own reason: a file-size limit here, a full disk elsewhere.
    EXPECT_NE(run.output.find("42.dat (File too large). Nothing was written."), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists("Fresh"));
    for (const auto& item : std::filesystem::directory_iterator("."))
        EXPECT_EQ(item.path().filename().string().find(".Fresh"), std::string::npos) << item.path();
}

TEST_F(ImportOnAFullDiskTest, AnExistingDictionaryKeepsEveryFileAsItWas) {
    MakeDictionary("Zoo");
    const std::string ants = Entries({{"ape", "majmuna"}}), cats = Entries({{"cow", "krava"}});
    MakeLetter("Zoo", 'A', ants);
    MakeLetter("Zoo", 'C', cats);
    WriteSource(200 << 10);
    ToolRun run = Import("Zoo");
    EXPECT_EQ(run.status >= 0, true);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(ReadDiskFile("Zoo/41.dat"), ants);
    EXPECT_EQ(ReadDiskFile("Zoo/43.dat"), cats);
    EXPECT_FALSE(std::filesystem::exists("Zoo/42.dat"));
    EXPECT_FALSE(std::filesystem::exists("Zoo/.staged"));
    EXPECT_EQ(RunToolCapturing(".", {"check", "--dict", "Zoo"}).status, 0);
}
