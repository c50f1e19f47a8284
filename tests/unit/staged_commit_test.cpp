// A change of several files of a dictionary folder: all of it or none of it
// reaches the folder, and what a killed writer left is finished or undone.
#include <cstdio>
#include <filesystem>
#include <string>

#include "storage/staged_commit.h"
#include "tests/unit/test_support.h"
#include "ui/dictionary_commands.h"
#include "ui/lookup_command.h"

namespace {

FileVersion Version(const std::string& bytes) { return VersionOfBytes(bytes.data(), bytes.size()); }

// A line of the journal: the file, the version it replaces ("-": none), the
// version it becomes (size:hash).
std::string JournalLine(const std::string& name, const std::string* before, const std::string& after) {
    auto text = [](const std::string& bytes) {
        FileVersion version = Version(bytes);
        char shown[48];
        std::snprintf(shown, sizeof shown, "%llu:%016llx", static_cast<unsigned long long>(version.size),
                      static_cast<unsigned long long>(version.hash));
        return std::string(shown);
    };
    return name + "\t" + (before ? text(*before) : "-") + "\t" + text(after) + "\n";
}

}  // namespace

class StagedCommitTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        std::filesystem::create_directory("Animals");
        WriteDiskFile("Animals/41.dat", kOldA);
        WriteDiskFile("Animals/42.dat", kOldB);
    }
    // A change of 41.dat and 42.dat (and a new 43.dat), as a writer stages it.
    void StageChange(StagedCommit& commit) {
        ASSERT_TRUE(commit.Stage("41.dat", kNewA, Version(kOldA)));
        ASSERT_TRUE(commit.Stage("42.dat", kNewB, Version(kOldB)));
        ASSERT_TRUE(commit.Stage("43.dat", kNewC, FileVersion{}));
    }
    bool Untouched() const {
        return ReadDiskFile("Animals/41.dat") == kOldA && ReadDiskFile("Animals/42.dat") == kOldB &&
               !std::filesystem::exists("Animals/43.dat");
    }
    bool Changed() const {
        return ReadDiskFile("Animals/41.dat") == kNewA && ReadDiskFile("Animals/42.dat") == kNewB &&
               ReadDiskFile("Animals/43.dat") == kNewC;
    }
    const std::string kOldA = Entries({{"ant", "mravka"}}), kNewA = Entries({{"ant", "mravka"}, {"ape", "majmuna"}});
    const std::string kOldB = Entries({{"bee", "pchela"}}), kNewB = Entries({{"bat", "prilep"}, {"bee", "pchela"}});
    const std::string kNewC = Entries({{"cat", "kotka"}});
};

TEST_F(StagedCommitTest, NothingReachesTheFolderBeforeTheCommitAndEverythingAfterIt) {
    {
        StagedCommit commit("Animals");
        StageChange(commit);
        EXPECT_TRUE(Untouched());
        ASSERT_TRUE(commit.Commit());
        EXPECT_TRUE(Changed());
    }
    EXPECT_FALSE(std::filesystem::exists("Animals/.staged"));

    // Given up before the commit: nothing changes and nothing stays behind.
    {
        StagedCommit commit("Animals");
        ASSERT_TRUE(commit.Stage("41.dat", kOldA, Version(kNewA)));
    }
    EXPECT_EQ(ReadDiskFile("Animals/41.dat"), kNewA);
    EXPECT_FALSE(std::filesystem::exists("Animals/.staged"));
}

TEST_F(StagedCommitTest, AFileChangedSinceItWasReadStopsTheWholeChange) {
    StagedCommit commit("Animals");
    StageChange(commit);
    WriteDiskFile("Animals/42.dat", Entries({{"bee", "pchela"}, {"boar", "gligan"}}));   // another writer
    EXPECT_FALSE(commit.Commit());
    EXPECT_EQ(commit.ChangedMeanwhile(), std::vector<std::string>{"42.dat"});
    EXPECT_EQ(ReadDiskFile("Animals/41.dat"), kOldA);
    EXPECT_EQ(ReadDiskFile("Animals/42.dat"), Entries({{"bee", "pchela"}, {"boar", "gligan"}}));
    EXPECT_FALSE(std::filesystem::exists("Animals/43.dat"));
}

TEST_F(StagedCommitTest, WhatAKilledWriterLeftIsFinishedOrUndone) {
    EXPECT_EQ(FinishInterruptedCommit("Animals").outcome, CommitRecovery::NothingLeft);

    // Killed while staging: no journal, so the change is undone.
    std::filesystem::create_directory("Animals/.staged");
    WriteDiskFile("Animals/.staged/41.dat", kNewA);
    WriteDiskFile("Animals/.staged/42.dat.tmp4242", "half");
    EXPECT_TRUE(HasStagingArea("Animals"));
    EXPECT_EQ(FinishInterruptedCommit("Animals").outcome, CommitRecovery::Undone);
    EXPECT_TRUE(Untouched());
    EXPECT_FALSE(HasStagingArea("Animals"));

    // Killed while moving the files into place: the journal is complete, so
    // the change is finished, from the file it stopped at.
    {
        StagedCommit commit("Animals");
        StageChange(commit);
        ASSERT_TRUE(commit.Commit());
    }
    WriteDiskFile("Animals/41.dat", kOldA);
    WriteDiskFile("Animals/42.dat", kOldB);
    std::filesystem::remove("Animals/43.dat");
    std::filesystem::create_directory("Animals/.staged");
    WriteDiskFile("Animals/.staged/42.dat", kNewB);
    WriteDiskFile("Animals/.staged/43.dat", kNewC);
    WriteDiskFile("Animals/41.dat", kNewA);   // the first one was moved
    WriteDiskFile("Animals/.staged/journal", JournalLine("41.dat", &kOldA, kNewA) +
                                                 JournalLine("42.dat", &kOldB, kNewB) +
                                                 JournalLine("43.dat", nullptr, kNewC));
    CommitRecovery recovery = FinishInterruptedCommit("Animals");
    EXPECT_EQ(recovery.outcome, CommitRecovery::Finished);
    EXPECT_EQ(recovery.moved, 2u);
    EXPECT_TRUE(Changed());
    EXPECT_FALSE(HasStagingArea("Animals"));

    // A journal that cannot be read is not a journal that is not there: the
    // half-moved change is left for a later try, never undone half-way.
    WriteDiskFile("Animals/42.dat", kOldB);
    std::filesystem::create_directories("Animals/.staged/journal");
    WriteDiskFile("Animals/.staged/42.dat", kNewB);
    EXPECT_EQ(FinishInterruptedCommit("Animals").outcome, CommitRecovery::CannotTidy);
    EXPECT_EQ(ReadDiskFile("Animals/.staged/42.dat"), kNewB);
    std::filesystem::remove("Animals/.staged/journal");
    WriteDiskFile("Animals/.staged/journal", JournalLine("42.dat", &kOldB, kNewB));
    EXPECT_EQ(FinishInterruptedCommit("Animals").outcome, CommitRecovery::Finished);
    EXPECT_TRUE(Changed());
}

TEST_F(StagedCommitTest, OpeningTheDictionaryFinishesAChangeAKilledImportLeft) {
    MakeDictionary("Animals");
    std::filesystem::create_directory("Animals/.staged");
    WriteDiskFile("Animals/.staged/42.dat", kNewB);
    WriteDiskFile("Animals/.staged/43.dat", kNewC);
    WriteDiskFile("Animals/41.dat", kNewA);
    WriteDiskFile("Animals/.staged/journal", JournalLine("41.dat", &kOldA, kNewA) +
                                                 JournalLine("42.dat", &kOldB, kNewB) +
                                                 JournalLine("43.dat", nullptr, kNewC));
    ASSERT_EQ(SelectDictionary("Animals"), kResultOk);
    EXPECT_TRUE(Changed());
    EXPECT_FALSE(HasStagingArea("Animals"));
    Type("bat");
    EXPECT_EQ(LookupWord(MissedDescription::Clear, PluralRetry::Off), kResultOk);
}
