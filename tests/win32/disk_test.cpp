// Moving files and folders, removing folders and piecewise reading through
// the Win32 API, as a change of several files of a dictionary folder uses them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"

namespace {

bool Put(const std::string& path, const std::string& bytes) {
    return PlatformWriteFileAtomic(path.c_str(), bytes.data(), bytes.size());
}

std::string Get(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!PlatformReadFile(path.c_str(), bytes)) return "<missing>";
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> Names(const char* folder) {
    std::vector<std::string> names;
    for (const FolderItem& item : PlatformListFolder(folder))
        if (item.name != "." && item.name != "..") names.push_back(item.name + (item.isDirectory ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// Each test in a fresh folder of its own, the current directory.
class Win32DiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        char buffer[MAX_PATH];
        ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, buffer), 0u);
        previous_ = buffer;
        ASSERT_GT(GetTempPathA(MAX_PATH, buffer), 0u);
        for (unsigned n = GetTickCount();; ++n) {
            folder_ = std::string(buffer) + "dictionary-disk-" + std::to_string(n);
            if (CreateDirectoryA(folder_.c_str(), nullptr)) break;
        }
        ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
        ASSERT_TRUE(CreateDirectoryA("Animals", nullptr));
    }
    void TearDown() override {
        for (const FolderItem& item : PlatformListFolder("Animals")) {
            if (item.name == "." || item.name == "..") continue;
            std::string path = "Animals\\" + item.name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            item.isDirectory ? PlatformRemoveFolder(path.c_str()) : PlatformDeleteFile(path.c_str());
        }
        PlatformRemoveFolder("Animals");
        PlatformRemoveFolder(".Animals.new");
        SetCurrentDirectoryA(previous_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string folder_, previous_;
};

TEST_F(Win32DiskTest, RemovesAFolderOnlyOnceItIsEmpty) {
    ASSERT_TRUE(Put("Animals\\41.dat", "ant"));
    ASSERT_TRUE(PlatformCreateFolder("Animals\\.staged"));
    ASSERT_TRUE(Put("Animals\\.staged\\42.dat", "bee"));
    EXPECT_EQ(Names("Animals"), (std::vector<std::string>{".staged/", "41.dat"}));
    EXPECT_TRUE(Names("Missing").empty());

    EXPECT_FALSE(PlatformRemoveFolder("Animals\\.staged"));   // not empty
    EXPECT_TRUE(PlatformDeleteFile("Animals\\.staged\\42.dat"));
    EXPECT_TRUE(PlatformRemoveFolder("Animals\\.staged"));
    EXPECT_FALSE(PlatformDeleteFile("Animals\\42.dat"));
    EXPECT_EQ(Names("Animals"), std::vector<std::string>{"41.dat"});
}

TEST_F(Win32DiskTest, ReplacesAFileButMovesToANewNameOnlyWhenItIsFree) {
    ASSERT_TRUE(Put("Animals\\41.dat", "old"));
    ASSERT_TRUE(Put("Animals\\41.dat.new", "new"));
    EXPECT_TRUE(PlatformReplaceFile("Animals\\41.dat.new", "Animals\\41.dat"));
    EXPECT_EQ(Get("Animals\\41.dat"), "new");
    EXPECT_EQ(Get("Animals\\41.dat.new"), "<missing>");

    ASSERT_TRUE(Put("Animals\\42.dat", "bee"));
    EXPECT_FALSE(PlatformMoveToNewName("Animals\\42.dat", "Animals\\41.dat"));
    EXPECT_EQ(Get("Animals\\41.dat"), "new");
    EXPECT_TRUE(PlatformMoveToNewName("Animals\\42.dat", "Animals\\43.dat"));
    EXPECT_EQ(Get("Animals\\43.dat"), "bee");

    // A whole folder, under a name nothing has, and not over one that exists.
    ASSERT_TRUE(PlatformCreateFolder(".Animals.new"));
    EXPECT_FALSE(PlatformMoveToNewName(".Animals.new", "Animals"));
    EXPECT_TRUE(PlatformMoveToNewName("Animals", "Zoo"));
    EXPECT_EQ(Get("Zoo\\41.dat"), "new");
    EXPECT_TRUE(PlatformMoveToNewName("Zoo", "Animals"));
}

TEST_F(Win32DiskTest, ReadsAFileInPieces) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes += static_cast<char>(i * 13 % 256);
    ASSERT_TRUE(Put("Animals\\41.dat", bytes));
    PlatformFileReader reader("Animals\\41.dat");
    ASSERT_TRUE(reader.Opened());
    EXPECT_EQ(reader.Size(), bytes.size());
    std::string read;
    char piece[4096];
    while (size_t got = reader.ReadAt(read.size(), piece, sizeof piece)) read.append(piece, got);
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(read, bytes);
    EXPECT_FALSE(PlatformFileReader("Animals\\missing.dat").Opened());
}
