#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/settings_store.h"
#include "platform/settings_store_headless.h"
#include "settings/settings.h"
#include "tests/unit/test_support.h"

namespace {

std::string Dword(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

std::string Ints(std::vector<int32_t> values) {
    std::string bytes;
    for (int32_t value : values) bytes += Dword(static_cast<uint32_t>(value));
    return bytes;
}

std::string Bytes(const void* data, size_t size) { return std::string(static_cast<const char*>(data), size); }

class SettingsTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        Settings = SettingsRecord{};
        ResetSettingsStore();
    }
    void TearDown() override {
        ResetSettingsStore();
        ProgramFolderTest::TearDown();
    }
    static void PlaceWindow(int left, int top, int right, int bottom) {
        HeadlessState& window = Headless();
        window.windowNormal = true;
        window.windowLeft = left;
        window.windowTop = top;
        window.windowRight = right;
        window.windowBottom = bottom;
    }
    static StoredSetting Stored(const std::string& name) {
        const StoredSetting* value = FindStoredSetting(name);
        return value ? *value : StoredSetting{0, "<missing>"};
    }
};

TEST_F(SettingsTest, FirstRunReadsNothingAndQuitWritesTheDefaultsInOrder) {
    EXPECT_FALSE(LoadSettings(Settings));
    EXPECT_TRUE(SettingsStoreFake().reads.empty());
    EXPECT_FALSE(SettingsStoreFake().open);

    PlaceWindow(10, 20, 330, 220);
    SaveSettings(Settings);
    EXPECT_FALSE(SettingsStoreFake().open);
    const std::vector<std::string> order = {
        "pos", "size", "rectalldict", "rectsim", "startdict", "startinbul", "simonnotfound",
        "clipcopy", "traymin", "startmin", "monitor", "dblpopup", "tooltips", "flat",
        "multinst", "minonclose", "ontop", "autocomplete", "hotkey", "minonfocus", "baseforms"};
    EXPECT_EQ(SettingsStoreFake().writes, order);

    auto binary = [&](const char* name, const std::string& bytes) {
        StoredSetting value = Stored(name);
        EXPECT_EQ(value.type, kStoreBinary) << name;
        EXPECT_EQ(value.bytes, bytes) << name;
    };
    binary("pos", Ints({10, 20}));
    binary("size", Ints({320, 200}));
    binary("rectalldict", Ints({-1, -1, -1, -1}));
    binary("rectsim", Ints({-1, -1, -1, -1}));
    // The 17-character name goes out as the whole 64-byte array.
    binary("startdict", "English_Bulgarian" + std::string(64 - 17, '\0'));

    const std::vector<std::pair<const char*, uint32_t>> flags = {
        {"startinbul", 0}, {"simonnotfound", 1}, {"clipcopy", 1}, {"traymin", 1},
        {"startmin", 1},   {"monitor", 1},       {"dblpopup", 1}, {"tooltips", 1},
        {"flat", 1},       {"multinst", 0},      {"minonclose", 0}, {"ontop", 1},
        {"autocomplete", 1}, {"hotkey", 0},      {"minonfocus", 0}, {"baseforms", 1}};
    for (const auto& flag : flags) {
        StoredSetting value = Stored(flag.first);
        EXPECT_EQ(value.type, kStoreDword) << flag.first;
        EXPECT_EQ(value.bytes, Dword(flag.second)) << flag.first;
    }
}

TEST_F(SettingsTest, EveryFieldSurvivesSaveAndLoad) {
    SettingsRecord& s = Settings;
    s.windowPosition = {-1200, 35};
    s.windowSize = {640, 480};
    s.allDictionariesRect = {5, 6, 705, 506};
    s.similarWordsRect = {-30, -40, 300, 400};
    std::strcpy(s.startDictionary, "A_rather_long_dictionary_folder_name");
    std::strcpy(s.startDictionary, "Short");  // the tail of the longer name stays in the array
    s.startInBulgarian = 1;
    s.similarOnNotFound = 0;
    s.lookUpClipboardAtStart = 0;
    s.minimizeToTray = 0;
    s.startMinimized = 0;
    s.lookUpClipboardOnShow = 0;
    s.popUpOnDoubleCopy = 0;
    s.showTooltips = 0;
    s.flatToolbar = 0;
    s.allowSeveralInstances = 1;
    s.hideOnClose = 1;
    s.alwaysOnTop = 0;
    s.autoComplete = 0;
    s.hotKey = 0x0641;  // Ctrl+Alt+A
    s.hideOnFocusLoss = 1;
    s.findBaseForms = 0;
    const SettingsRecord saved = s;

    SaveSettings(Settings);  // no window in its normal state: pos and size as they are
    EXPECT_EQ(Stored("startdict").bytes, Bytes(saved.startDictionary, 64));

    Settings = SettingsRecord{};
    EXPECT_TRUE(LoadSettings(Settings));
    EXPECT_FALSE(SettingsStoreFake().open);
    static_assert(sizeof(SettingsRecord) == 8 + 8 + 16 + 16 + 64 + 16 * 4, "no padding to compare");
    EXPECT_EQ(Bytes(&Settings, sizeof Settings), Bytes(&saved, sizeof saved));

    const std::vector<std::string> order = {
        "minonfocus", "simonnotfound", "clipcopy", "startinbul", "traymin", "startmin",
        "monitor", "dblpopup", "tooltips", "flat", "multinst", "minonclose", "ontop",
        "autocomplete", "hotkey", "pos", "size", "startdict", "rectalldict", "rectsim", "baseforms"};
    EXPECT_EQ(SettingsStoreFake().reads, order);
}

TEST_F(SettingsTest, PartialKeyKeepsDefaultsForWhatIsMissing) {
    PutStoredSetting("pos", kStoreBinary, Ints({100, 200}));
    PutStoredSetting("startdict", kStoreBinary, "Mine" + std::string(60, '\0'));
    PutStoredSetting("traymin", kStoreDword, Dword(0));
    PutStoredSetting("hotkey", kStoreDword, Dword(0));

    EXPECT_TRUE(LoadSettings(Settings));
    EXPECT_EQ(Settings.windowPosition.x, 100);
    EXPECT_EQ(Settings.windowPosition.y, 200);
    EXPECT_STREQ(Settings.startDictionary, "Mine");
    EXPECT_EQ(Settings.minimizeToTray, 0);
    EXPECT_EQ(Settings.hotKey, 0u);
    // Missing values: their defaults.
    EXPECT_EQ(Settings.windowSize.cx, 0);
    EXPECT_EQ(Settings.similarWordsRect.left, -1);
    EXPECT_EQ(Settings.hideOnFocusLoss, 0);
    EXPECT_EQ(Settings.similarOnNotFound, 1);
    EXPECT_EQ(Settings.alwaysOnTop, 1);
    EXPECT_EQ(Settings.findBaseForms, 1);  // a key of a version without it
}

TEST_F(SettingsTest, PlacementIsTakenOnlyInTheNormalState) {
    Settings.windowPosition = {50, 60};
    Settings.windowSize = {400, 300};
    SaveSettings(Settings);  // minimized or maximized
    EXPECT_EQ(Stored("pos").bytes, Ints({50, 60}));
    EXPECT_EQ(Stored("size").bytes, Ints({400, 300}));

    PlaceWindow(-8, 12, 492, 362);
    SaveSettings(Settings);
    EXPECT_EQ(Stored("pos").bytes, Ints({-8, 12}));
    EXPECT_EQ(Stored("size").bytes, Ints({500, 350}));
}

TEST_F(SettingsTest, OversizeValuesAreCutAtTheFieldAndNeverSpillOver) {
    // Longer than their fields: the next fields in the record must not change.
    PutStoredSetting("pos", kStoreBinary, Ints({7, 8, 0x7f7f7f7f}));
    PutStoredSetting("startdict", kStoreBinary, std::string(80, 'a'));
    PutStoredSetting("rectsim", kStoreBinary, Ints({1, 2, 3, 4, 5, 6}));

    EXPECT_TRUE(LoadSettings(Settings));
    EXPECT_EQ(Settings.windowPosition.x, 7);
    EXPECT_EQ(Settings.windowPosition.y, 8);
    EXPECT_EQ(Settings.windowSize.cx, 0);
    EXPECT_EQ(Settings.startInBulgarian, 0);
    EXPECT_EQ(Settings.similarWordsRect.bottom, 4);
    // A 64-byte name with no terminator is cut to 63 characters.
    EXPECT_EQ(std::string(Settings.startDictionary), std::string(63, 'a'));
}

TEST_F(SettingsTest, ShortOrOtherTypedValuesAreCopiedByteWise) {
    Settings.hotKey = 0x12345678;
    PutStoredSetting("hotkey", kStoreDword, std::string("\x41\x06", 2));
    PutStoredSetting("traymin", kStoreBinary, Dword(0));   // binary where a number is kept
    PutStoredSetting("startdict", 1 /* a string value */, std::string("Mine", 5));
    PutStoredSetting("size", kStoreBinary, "");

    EXPECT_TRUE(LoadSettings(Settings));
    EXPECT_EQ(Settings.hotKey, 0x12340641u);  // the two bytes not stored stay as they were
    EXPECT_EQ(Settings.minimizeToTray, 0);
    EXPECT_STREQ(Settings.startDictionary, "Mine");
    EXPECT_EQ(Settings.windowSize.cx, 0);
}

TEST_F(SettingsTest, KeyThatCannotBeCreatedWritesNothing) {
    SettingsStoreFake().createFails = true;
    PlaceWindow(1, 2, 321, 202);
    SaveSettings(Settings);
    EXPECT_TRUE(SettingsStoreFake().writes.empty());
    EXPECT_FALSE(SettingsStoreFake().keyExists);
    // The placement is still kept in memory.
    EXPECT_EQ(Settings.windowPosition.x, 1);
    EXPECT_EQ(Settings.windowSize.cx, 320);
    EXPECT_EQ(Settings.windowSize.cy, 200);
}

}  // namespace
