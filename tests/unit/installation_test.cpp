// Installing a release over an older one and removing it keep every change
// the user made to the dictionaries, and every dictionary the user made.
#include <filesystem>
#include <map>
#include <string>

#include "maintenance/install_record.h"
#include "maintenance/installation.h"
#include "tests/unit/test_support.h"

namespace {

using Files = std::map<std::string, std::string>;   // path ('/' between folders) -> bytes

const char kStaging[] = ".install-new";

void WriteFiles(const std::string& root, const Files& files) {
    for (const auto& file : files) {
        std::filesystem::path path = std::filesystem::path(root) / file.first;
        std::filesystem::create_directories(path.parent_path());
        WriteDiskFile(path.string(), file.second);
    }
}

// Unpacks the release into the staging folder, installs it and removes
// what is left of the staging folder, as the installer does.
InstallationOutcome Install(const Files& release) {
    WriteFiles(kStaging, release);
    InstallationOutcome outcome = InstallRelease(kStaging);
    std::filesystem::remove_all(kStaging);
    return outcome;
}

std::string Lines(const InstallationOutcome& outcome) {
    std::string text;
    for (const std::string& line : outcome.lines) text += line + "\n";
    return text;
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

const Files kFirst = {
    {"Dictionary.exe", "program 1"},
    {"dictionary-tool.exe", "tool 1"},
    {"README.txt", "readme 1"},
    {"English_Bulgarian/00.dat", "header 1"},
    {"English_Bulgarian/61.dat", "a 1"},
    {"English_Bulgarian/62.dat", "b 1"},
    {"English_Bulgarian/63.dat", "c 1"},
    {"English_Bulgarian/65.dat", "e 1"},
    {"forms/CREDITS.txt", "credits 1"},
    {"forms/English/00.dat", "forms header 1"},
    {"forms/English/61.dat", "forms a 1"},
    {"forms/English/7a.dat", "forms z 1"},
};

// A newer release: every file differs, 64.dat and a dictionary are new,
// 65.dat and a table's 7a.dat are gone.
const Files kSecond = {
    {"Dictionary.exe", "program 2"},
    {"dictionary-tool.exe", "tool 2"},
    {"README.txt", "readme 2"},
    {"English_Bulgarian/00.dat", "header 2"},
    {"English_Bulgarian/61.dat", "a 2"},
    {"English_Bulgarian/62.dat", "b 2"},
    {"English_Bulgarian/63.dat", "c 2"},
    {"English_Bulgarian/64.dat", "d 2"},
    {"English_Bulgarian/66.dat", "f 2"},
    {"Second/00.dat", "second header 2"},
    {"forms/CREDITS.txt", "credits 2"},
    {"forms/English/00.dat", "forms header 2"},
    {"forms/English/61.dat", "forms a 2"},
};

}  // namespace

using InstallationTest = ProgramFolderTest;

TEST_F(InstallationTest, AnUpgradeReplacesOnlyWhatIsAsInstalledAndUninstallKeepsChangedDictionariesWhole) {
    InstallationOutcome first = Install(kFirst);
    ASSERT_TRUE(first.done) << Lines(first);
    for (const auto& file : kFirst) EXPECT_EQ(ReadDiskFile(file.first), file.second) << file.first;

    // The user's work: a changed, a deleted and a new letter file, a
    // dictionary and a word-form table of their own.
    WriteDiskFile("English_Bulgarian/61.dat", "a user");
    std::filesystem::remove("English_Bulgarian/62.dat");
    WriteDiskFile("English_Bulgarian/66.dat", "f user");
    WriteFiles(".", {{"My_Words/00.dat", "mine"}, {"forms/German/00.dat", "german"}});

    InstallationOutcome second = Install(kSecond);
    ASSERT_TRUE(second.done) << Lines(second);
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/00.dat"), "header 2");
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/61.dat"), "a user");
    EXPECT_FALSE(Exists("English_Bulgarian/62.dat"));
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/63.dat"), "c 2");
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/64.dat"), "d 2");
    EXPECT_FALSE(Exists("English_Bulgarian/65.dat"));
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/66.dat"), "f user");
    EXPECT_EQ(ReadDiskFile("Second/00.dat"), "second header 2");
    EXPECT_EQ(ReadDiskFile("My_Words/00.dat"), "mine");
    EXPECT_EQ(ReadDiskFile("forms/German/00.dat"), "german");
    EXPECT_EQ(ReadDiskFile("forms/English/61.dat"), "forms a 2");
    EXPECT_FALSE(Exists("forms/English/7a.dat"));
    for (const char* path : {"Dictionary.exe", "dictionary-tool.exe", "README.txt", "forms/CREDITS.txt"})
        EXPECT_EQ(ReadDiskFile(path), kSecond.at(path)) << path;
    EXPECT_NE(Lines(second).find("English_Bulgarian\\61.dat: kept, changed since it was installed"), std::string::npos)
        << Lines(second);

    // A dictionary with any change stays whole; one as installed goes, with
    // the lock file its writers left.
    WriteDiskFile("Second/writer.lock", "");
    InstallationOutcome removed = RemoveInstalledFiles();
    ASSERT_TRUE(removed.done) << Lines(removed);
    for (const char* path : {"Dictionary.exe", "dictionary-tool.exe", "README.txt", "Second", "forms/English",
                             "forms/CREDITS.txt", kInstallRecordName})
        EXPECT_FALSE(Exists(path)) << path;
    for (const char* path : {"English_Bulgarian/00.dat", "English_Bulgarian/63.dat", "English_Bulgarian/64.dat"})
        EXPECT_TRUE(Exists(path)) << path;
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/61.dat"), "a user");
    EXPECT_EQ(ReadDiskFile("My_Words/00.dat"), "mine");
    EXPECT_EQ(ReadDiskFile("forms/German/00.dat"), "german");
    EXPECT_NE(Lines(removed).find("My_Words: kept"), std::string::npos) << Lines(removed);
}

TEST_F(InstallationTest, WhatAnInterruptedWriterOrInstallerLeftIsFinishedBeforeFilesAreCompared) {
    ASSERT_TRUE(Install(kFirst).done);
    // A writer killed while it moved its change into place: the journal is
    // complete, so the change is the user's and must be finished, not lost.
    std::string edited = "c edited";
    FileVersion before = VersionOfBytes("c 1", 3), after = VersionOfBytes(edited.data(), edited.size());
    WriteFiles(".", {{"English_Bulgarian/.staged/63.dat", edited},
                     {"English_Bulgarian/.staged/journal",
                      "63.dat\t" + FileVersionText(before) + "\t" + FileVersionText(after) + "\n"}});
    // An upgrade killed after it had replaced 61.dat, before its record was final.
    WriteDiskFile("English_Bulgarian/61.dat", "a 2");
    InstallRecord pending = ReadInstallRecord();
    pending.Add("English_Bulgarian\\61.dat", VersionOfBytes("a 2", 3));
    ASSERT_TRUE(WriteInstallRecord(pending));

    InstallationOutcome second = Install(kSecond);
    ASSERT_TRUE(second.done) << Lines(second);
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/63.dat"), edited);
    EXPECT_FALSE(Exists("English_Bulgarian/.staged"));
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/62.dat"), "b 2");
    // 61.dat counts as installed: an uninstall finds the folder changed only by 63.dat.
    EXPECT_TRUE(ReadInstallRecord().AsInstalled("English_Bulgarian\\61.dat", VersionOfBytes("a 2", 3)));
    EXPECT_FALSE(ReadInstallRecord().Holds("English_Bulgarian\\63.dat"));
}

TEST_F(InstallationTest, OverAFolderUnzippedByHandOnlyMissingDictionaryFilesAreAdded) {
    WriteFiles(".", {{"Dictionary.exe", "program 0"}, {"English_Bulgarian/61.dat", "a 0"}});
    InstallationOutcome outcome = Install(kFirst);
    ASSERT_TRUE(outcome.done) << Lines(outcome);
    EXPECT_EQ(ReadDiskFile("Dictionary.exe"), "program 1");
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/61.dat"), "a 0");
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/62.dat"), "b 1");
    // A file the installer did not put there is never removed.
    ASSERT_TRUE(RemoveInstalledFiles().done);
    EXPECT_EQ(ReadDiskFile("English_Bulgarian/61.dat"), "a 0");
}
