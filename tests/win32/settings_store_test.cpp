// The settings key in the real registry. HKEY_CURRENT_USER is redirected to
// a scratch key for the whole test so that a run on a user's machine never
// touches the program's own settings; the scratch key is deleted afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/settings_store.h"

namespace {

const char kSettingsPath[] = "software\\Tamrin\\Dictionary";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratchPath_ = "Software\\DictionaryTests\\settings-" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, scratchPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &scratch_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch_), ERROR_SUCCESS);
        // Stop before any write if the redirection does not hold.
        HKEY probe;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "probe", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &probe,
                                  nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(probe);
        ASSERT_EQ(RegOpenKeyExA(scratch_, "probe", 0, KEY_READ, &probe), ERROR_SUCCESS)
            << "HKEY_CURRENT_USER is not redirected";
        RegCloseKey(probe);
        RegDeleteKeyA(scratch_, "probe");
    }

    void TearDown() override {
        SettingsStoreClose();
        if (scratch_) {
            RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
            RegCloseKey(scratch_);
            RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\DictionaryTests");  // only when empty
        }
    }

    // The settings key as the test sees it, bypassing the store. Opened, not
    // created: Wine clears the class of an existing key created again
    // without one.
    HKEY OpenSettingsKey() {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(scratch_, kSettingsPath, 0, KEY_READ, &key), ERROR_SUCCESS);
        return key;
    }

    void PutRaw(const char* name, DWORD type, const std::string& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(scratch_, kSettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    std::string scratchPath_;
    HKEY scratch_ = nullptr;
};

TEST_F(SettingsStoreTest, MissingKeyCannotBeOpenedForReading) {
    EXPECT_FALSE(SettingsStoreOpenForRead());
    char field[4] = {1, 2, 3, 4};
    EXPECT_FALSE(SettingsStoreRead("traymin", field, sizeof field));
    EXPECT_EQ(std::string(field, 4), std::string("\1\2\3\4", 4));
}

TEST_F(SettingsStoreTest, CreatedKeyHoldsTheValuesWithTheirTypesAndLengths) {
    ASSERT_TRUE(SettingsStoreCreateForWrite());
    const int32_t pos[2] = {-5, 70};
    char startdict[64] = "English_Bulgarian";
    const uint32_t hotkey = 0;
    SettingsStoreWrite("pos", kStoreBinary, pos, sizeof pos);
    SettingsStoreWrite("startdict", kStoreBinary, startdict, sizeof startdict);
    SettingsStoreWrite("hotkey", kStoreDword, &hotkey, sizeof hotkey);
    SettingsStoreClose();

    HKEY key = OpenSettingsKey();
    char keyClass[32] = "";
    DWORD classLength = sizeof keyClass;
    ASSERT_EQ(RegQueryInfoKeyA(key, keyClass, &classLength, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_STREQ(keyClass, "Dictionary");

    struct Expected {
        const char* name;
        DWORD type;
        std::string bytes;
    } expected[] = {
        {"pos", REG_BINARY, std::string(reinterpret_cast<const char*>(pos), 8)},
        {"startdict", REG_BINARY, std::string(startdict, 64)},
        {"hotkey", REG_DWORD, std::string(4, '\0')},
    };
    for (const auto& value : expected) {
        char data[128];
        DWORD type = 0, length = sizeof data;
        ASSERT_EQ(RegQueryValueExA(key, value.name, nullptr, &type, reinterpret_cast<BYTE*>(data), &length),
                  ERROR_SUCCESS)
            << value.name;
        EXPECT_EQ(type, value.type) << value.name;
        EXPECT_EQ(std::string(data, length), value.bytes) << value.name;
    }
    RegCloseKey(key);

    // Writing again opens the existing key and replaces the value.
    ASSERT_TRUE(SettingsStoreCreateForWrite());
    const int32_t moved[2] = {1, 2};
    SettingsStoreWrite("pos", kStoreBinary, moved, sizeof moved);
    SettingsStoreClose();
    ASSERT_TRUE(SettingsStoreOpenForRead());
    int32_t read[2] = {0, 0};
    EXPECT_TRUE(SettingsStoreRead("pos", read, sizeof read));
    EXPECT_EQ(read[0], 1);
    EXPECT_EQ(read[1], 2);
    EXPECT_TRUE(SettingsStoreRead("hotkey", read, 4));
    EXPECT_EQ(read[0], 0);
}

TEST_F(SettingsStoreTest, ReadCopiesAtMostTheFieldWhateverTheStoredValue) {
    PutRaw("startdict", REG_BINARY, std::string(80, 'a'));
    PutRaw("hotkey", REG_BINARY, std::string("\x41\x06", 2));
    PutRaw("traymin", REG_SZ, std::string("0", 2));
    ASSERT_TRUE(SettingsStoreOpenForRead());

    char buffer[72];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_TRUE(SettingsStoreRead("startdict", buffer, 64));
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(64, 'a') + std::string(8, '#'));

    uint32_t hotkey = 0x12345678;
    EXPECT_TRUE(SettingsStoreRead("hotkey", &hotkey, sizeof hotkey));
    EXPECT_EQ(hotkey, 0x12340641u);

    char traymin[4] = {9, 9, 9, 9};
    EXPECT_TRUE(SettingsStoreRead("traymin", traymin, sizeof traymin));
    EXPECT_EQ(std::string(traymin, 4), std::string("0\0\x09\x09", 4));

    char missing[4] = {7, 7, 7, 7};
    EXPECT_FALSE(SettingsStoreRead("minonfocus", missing, sizeof missing));
    EXPECT_EQ(std::string(missing, 4), std::string(4, '\7'));
}

}  // namespace
