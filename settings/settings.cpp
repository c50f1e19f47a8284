#include "settings/settings.h"

#include <cstddef>
#include <cstring>

#include "platform/dpi_scale.h"
#include "platform/settings_store.h"
#include "platform/window.h"

namespace {

struct StoredValue {
    const char* name;
    unsigned type;
    unsigned length;
    size_t field;       // offset of the field in SettingsRecord
    int readPosition;   // LoadSettings reads the values in this order
};

// The stored interface, in the order SaveSettings writes it. Names, types
// and lengths are what existing keys hold; they must not change.
const StoredValue kValues[] = {
    {"pos", kStoreBinary, 8, offsetof(SettingsRecord, windowPosition), 15},
    {"size", kStoreBinary, 8, offsetof(SettingsRecord, windowSize), 16},
    {"rectalldict", kStoreBinary, 16, offsetof(SettingsRecord, allDictionariesRect), 18},
    {"rectsim", kStoreBinary, 16, offsetof(SettingsRecord, similarWordsRect), 19},
    {"startdict", kStoreBinary, 64, offsetof(SettingsRecord, startDictionary), 17},
    {"startinbul", kStoreDword, 4, offsetof(SettingsRecord, startInBulgarian), 3},
    {"simonnotfound", kStoreDword, 4, offsetof(SettingsRecord, similarOnNotFound), 1},
    {"clipcopy", kStoreDword, 4, offsetof(SettingsRecord, lookUpClipboardAtStart), 2},
    {"traymin", kStoreDword, 4, offsetof(SettingsRecord, minimizeToTray), 4},
    {"startmin", kStoreDword, 4, offsetof(SettingsRecord, startMinimized), 5},
    {"monitor", kStoreDword, 4, offsetof(SettingsRecord, lookUpClipboardOnShow), 6},
    {"dblpopup", kStoreDword, 4, offsetof(SettingsRecord, popUpOnDoubleCopy), 7},
    {"tooltips", kStoreDword, 4, offsetof(SettingsRecord, showTooltips), 8},
    {"flat", kStoreDword, 4, offsetof(SettingsRecord, flatToolbar), 9},
    {"multinst", kStoreDword, 4, offsetof(SettingsRecord, allowSeveralInstances), 10},
    {"minonclose", kStoreDword, 4, offsetof(SettingsRecord, hideOnClose), 11},
    {"ontop", kStoreDword, 4, offsetof(SettingsRecord, alwaysOnTop), 12},
    {"autocomplete", kStoreDword, 4, offsetof(SettingsRecord, autoComplete), 13},
    {"hotkey", kStoreDword, 4, offsetof(SettingsRecord, hotKey), 14},
    {"minonfocus", kStoreDword, 4, offsetof(SettingsRecord, hideOnFocusLoss), 0},
    // Added after the twenty: earlier versions read and write those alone.
    {"baseforms", kStoreDword, 4, offsetof(SettingsRecord, findBaseForms), 20},
};
constexpr int kValueCount = sizeof kValues / sizeof kValues[0];

static_assert(sizeof(SettingsRecord::windowPosition) == 8 && sizeof(SettingsRecord::windowSize) == 8 &&
                  sizeof(SettingsRecord::allDictionariesRect) == 16 &&
                  sizeof(SettingsRecord::similarWordsRect) == 16 && sizeof(SettingsRecord::startDictionary) == 64 &&
                  sizeof(SettingsRecord::hotKey) == 4 && sizeof(SettingsRecord::hideOnFocusLoss) == 4 &&
                  sizeof(SettingsRecord::findBaseForms) == 4,
              "fields have the widths of their stored values");

void* FieldOf(SettingsRecord& settings, const StoredValue& value) {
    return reinterpret_cast<char*>(&settings) + value.field;
}

}  // namespace

bool LoadSettings(SettingsRecord& settings) {
    if (!SettingsStoreOpenForRead()) return false;
    for (int position = 0; position < kValueCount; ++position)
        for (const StoredValue& value : kValues)
            if (value.readPosition == position) SettingsStoreRead(value.name, FieldOf(settings, value), value.length);
    // A stored name of 64 bytes without a terminator must not run on into
    // the fields after it.
    settings.startDictionary[sizeof settings.startDictionary - 1] = '\0';
    SettingsStoreClose();
    return true;
}

void SaveSettings(SettingsRecord& settings) {
    int left, top, right, bottom;
    if (GetMainWindowNormalRect(&left, &top, &right, &bottom)) {
        // The size at 96 DPI, so the window keeps its proportions on a
        // screen of another scale; the position is the screen's.
        int dpi = MainWindowDpi();
        settings.windowPosition = {left, top};
        settings.windowSize = {ScaleFromDpi(right - left, dpi), ScaleFromDpi(bottom - top, dpi)};
    }
    if (!SettingsStoreCreateForWrite()) return;
    for (const StoredValue& value : kValues)
        SettingsStoreWrite(value.name, value.type, FieldOf(settings, value), value.length);
    SettingsStoreClose();
}
