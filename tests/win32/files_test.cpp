// The Win32 file functions against the real API: exclusive opens, atomic
// replacement, folder listing and names in code page 1251.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"

namespace {

// "Речник" (dictionary) and "дума.dat" (word) in code page 1251.
const char kCyrillicFolder[] = "\xD0\xE5\xF7\xED\xE8\xEA";
const wchar_t kCyrillicFolderWide[] = L"\u0420\u0435\u0447\u043d\u0438\u043a";
const char kCyrillicFile[] = "\xE4\xF3\xEC\xE0.dat";

std::string AsString(const std::vector<unsigned char>& bytes) { return std::string(bytes.begin(), bytes.end()); }

bool WriteRaw(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    return CloseHandle(file) && ok;
}

// The file's bytes, or "<missing>" when it cannot be opened.
std::string ReadRaw(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

HANDLE Hold(const std::string& path, DWORD access, DWORD share) {
    return CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Names in the current directory other than "." and "..", a trailing '/'
// marking folders, sorted.
std::vector<std::string> Listing() {
    std::vector<std::string> names;
    for (const FolderItem& item : PlatformListFolder(".")) {
        if (item.name == "." || item.name == "..") continue;
        names.push_back(item.name + (item.isDirectory ? "/" : ""));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Wide, so that names of any characters go too.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void RemoveTree(const std::string& folder) { RemoveTree(std::wstring(folder.begin(), folder.end())); }

// Each test runs in a fresh folder of its own as the current directory,
// as the program runs in its program folder.
class Win32FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char buffer[MAX_PATH];
        ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, buffer), 0u);
        previous_ = buffer;
        ASSERT_GT(GetTempPathA(MAX_PATH, buffer), 0u);
        for (unsigned n = GetTickCount();; ++n) {
            folder_ = std::string(buffer) + "dictionary-win32-" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(n);
            if (CreateDirectoryA(folder_.c_str(), nullptr)) break;
            ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        }
        ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
    }

    void TearDown() override {
        SetCurrentDirectoryA(previous_.c_str());
        RemoveTree(folder_);
    }

    std::string folder_;
    std::string previous_;
};

TEST_F(Win32FilesTest, ReadsWholeFilesEmptyFilesAndRefusesWhatIsNoFile) {
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += static_cast<char>(i * 7 % 256);  // NULs and 0xFF included
    ASSERT_TRUE(WriteRaw("41.dat", bytes));
    ASSERT_TRUE(WriteRaw("empty.dat", ""));
    ASSERT_TRUE(CreateDirectoryA("Folder", nullptr));

    std::vector<unsigned char> out;
    EXPECT_TRUE(PlatformReadFile("41.dat", out));
    EXPECT_EQ(AsString(out), bytes);

    out.assign(5, 'x');
    EXPECT_TRUE(PlatformReadFile("empty.dat", out));
    EXPECT_TRUE(out.empty());

    out.assign(5, 'x');
    EXPECT_FALSE(PlatformReadFile("missing.dat", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(PlatformReadFile("Folder", out));
    EXPECT_FALSE(PlatformReadFile("Missing\\00.dat", out));
}

// The read asks for no sharing, so it fails while anyone else has the file
// open, even a reader who shares everything.
TEST_F(Win32FilesTest, ReadFailsWhileTheFileIsOpenElsewhere) {
    ASSERT_TRUE(WriteRaw("00.dat", "header"));
    std::vector<unsigned char> out;

    HANDLE sharing = Hold("00.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(sharing, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(PlatformReadFile("00.dat", out));
    CloseHandle(sharing);

    HANDLE exclusive = Hold("00.dat", GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(PlatformReadFile("00.dat", out));
    EXPECT_TRUE(out.empty());
    CloseHandle(exclusive);

    EXPECT_TRUE(PlatformReadFile("00.dat", out));
    EXPECT_EQ(AsString(out), "header");
}

TEST_F(Win32FilesTest, ReadClosesTheFileBeforeReturning) {
    ASSERT_TRUE(WriteRaw("41.dat", std::string("cat\0a cat\0", 10)));
    std::vector<unsigned char> out;
    ASSERT_TRUE(PlatformReadFile("41.dat", out));

    HANDLE exclusive = Hold("41.dat", GENERIC_READ | GENERIC_WRITE, 0);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);
    EXPECT_TRUE(DeleteFileA("41.dat"));
}

TEST_F(Win32FilesTest, WriteReplacesTheWholeFileAndLeavesNothingElse) {
    ASSERT_TRUE(CreateDirectoryA("Sample", nullptr));
    ASSERT_TRUE(WriteRaw("Sample\\41.dat", std::string(5000, 'o')));

    std::string entries("ant\0an ant\0", 11);
    EXPECT_TRUE(PlatformWriteFileAtomic("Sample\\41.dat", entries.data(), entries.size()));
    EXPECT_EQ(ReadRaw("Sample\\41.dat"), entries);

    EXPECT_TRUE(PlatformWriteFileAtomic("Sample\\42.dat", "bee\0a bee", 10));
    EXPECT_EQ(ReadRaw("Sample\\42.dat"), std::string("bee\0a bee", 10));
    EXPECT_TRUE(PlatformWriteFileAtomic("Sample\\43.dat", "", 0));
    EXPECT_EQ(ReadRaw("Sample\\43.dat"), "");

    // The new file must not stay open: the next save or read needs it.
    HANDLE exclusive = Hold("Sample\\41.dat", GENERIC_READ | GENERIC_WRITE, 0);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);

    ASSERT_TRUE(SetCurrentDirectoryA("Sample"));
    EXPECT_EQ(Listing(), (std::vector<std::string>{"41.dat", "42.dat", "43.dat"}));
}

TEST_F(Win32FilesTest, FailedWriteLeavesTheOldFileAsItWas) {
    EXPECT_FALSE(PlatformWriteFileAtomic("Missing\\41.dat", "x", 1));
    EXPECT_FALSE(PlatformNameExists("Missing"));

    const std::string old("cat\0a cat\0", 10);
    ASSERT_TRUE(WriteRaw("43.dat", old));
    HANDLE exclusive = Hold("43.dat", GENERIC_READ, 0);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(PlatformWriteFileAtomic("43.dat", "cow\0a cow\0", 10));
    CloseHandle(exclusive);
    EXPECT_EQ(ReadRaw("43.dat"), old);

    EXPECT_EQ(Listing(), std::vector<std::string>{"43.dat"});
}

TEST_F(Win32FilesTest, ListsFoldersWithTheDirectoryFlagAndCreatesFolders) {
    ASSERT_TRUE(CreateDirectoryA("English_Bulgarian", nullptr));
    ASSERT_TRUE(CreateDirectoryA(".hidden", nullptr));
    ASSERT_TRUE(WriteRaw("readme", "text"));

    EXPECT_TRUE(PlatformCreateFolder("Notes"));
    EXPECT_FALSE(PlatformCreateFolder("Notes"));
    EXPECT_FALSE(PlatformCreateFolder("readme"));
    EXPECT_FALSE(PlatformCreateFolder("Missing\\Inner"));

    EXPECT_EQ(Listing(), (std::vector<std::string>{".hidden/", "English_Bulgarian/", "Notes/", "readme"}));
    EXPECT_TRUE(PlatformNameExists("Notes"));
    EXPECT_TRUE(PlatformNameExists("readme"));
    EXPECT_FALSE(PlatformNameExists("Fruit"));
    EXPECT_FALSE(PlatformNameExists("Notes\\00.dat"));
}

// The names are code page 1251 whatever the system's code page: the same
// folder on disk, listed, read, written and renamed.
TEST_F(Win32FilesTest, CyrillicNamesAreCodePage1251UnderAnySystemCodePage) {
    ASSERT_TRUE(PlatformCreateFolder(kCyrillicFolder));
    WIN32_FIND_DATAW wide;
    HANDLE search = FindFirstFileW(kCyrillicFolderWide, &wide);
    EXPECT_NE(search, INVALID_HANDLE_VALUE) << "the folder name was not taken as code page 1251";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_EQ(Listing(), std::vector<std::string>{std::string(kCyrillicFolder) + "/"});

    std::string path = std::string(kCyrillicFolder) + "\\" + kCyrillicFile;
    std::string entry("\xEA\xEE\xF2\0cat\0", 8);
    ASSERT_TRUE(PlatformWriteFileAtomic(path.c_str(), entry.data(), entry.size()));
    EXPECT_TRUE(PlatformNameExists(path.c_str()));
    EXPECT_FALSE(PlatformIsMarkedReadOnly(path.c_str()));
    std::vector<unsigned char> out;
    EXPECT_TRUE(PlatformReadFile(path.c_str(), out));
    EXPECT_EQ(AsString(out), entry);

    // Renamed to another Cyrillic name: "Котки".
    const char renamed[] = "\xCA\xEE\xF2\xEA\xE8";
    ASSERT_TRUE(PlatformMoveToNewName(kCyrillicFolder, renamed));
    EXPECT_TRUE(PlatformIsFolder(renamed));
    EXPECT_TRUE(GetFileAttributesW(L"\u041a\u043e\u0442\u043a\u0438") != INVALID_FILE_ATTRIBUTES);

    // A name the code page cannot hold is left out, not listed garbled; a
    // folder so named that holds the file asked for is named apart, each
    // character the code page lacks given in turn.
    ASSERT_TRUE(CreateDirectoryW(L"W\u00f6rterbuch", nullptr));
    ASSERT_TRUE(CreateDirectoryW(L"\u00e9\U0001F600", nullptr));
    ASSERT_TRUE(CreateDirectoryW(L"\u00e9mpty", nullptr));
    for (const wchar_t* header : {L"W\u00f6rterbuch\\00.dat", L"\u00e9\U0001F600\\00.dat"}) {
        HANDLE file = CreateFileW(header, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    EXPECT_EQ(Listing(), std::vector<std::string>{std::string(renamed) + "/"});
    std::vector<UnnamableFolder> unnamable = PlatformUnnamableFolders(".", "00.dat");
    std::sort(unnamable.begin(), unnamable.end(),
              [](const UnnamableFolder& a, const UnnamableFolder& b) { return a.name < b.name; });
    ASSERT_EQ(unnamable.size(), 2u);
    EXPECT_EQ(unnamable[0].name, "W\x98rterbuch");
    EXPECT_EQ(unnamable[0].unheld, U"\u00f6");
    EXPECT_EQ(unnamable[1].name, "\x98\x98");
    EXPECT_EQ(unnamable[1].unheld, U"\u00e9\U0001F600");

    ASSERT_TRUE(SetCurrentDirectoryW(L"\u041a\u043e\u0442\u043a\u0438"));
    EXPECT_EQ(Listing(), std::vector<std::string>{kCyrillicFile});
}

}  // namespace
