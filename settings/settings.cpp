#include "settings/settings.h"

#include <cstring>

#include "platform/platform.h"
#include "settings/settings_store.h"

SettingsRecord Settings;

namespace {

struct SettingsValue {
    const char* name;
    unsigned type;
    unsigned length;
    void* field;
};

// The stored interface, in the order SaveSettings writes it. Names, types
// and lengths are what existing keys hold; they must not change.
const SettingsValue kValues[] = {
    {"pos", kStoreBinary, 8, &Settings.pos},
    {"size", kStoreBinary, 8, &Settings.size},
    {"rectalldict", kStoreBinary, 16, &Settings.rectalldict},
    {"rectsim", kStoreBinary, 16, &Settings.rectsim},
    {"startdict", kStoreBinary, 64, &Settings.startdict},
    {"startinbul", kStoreDword, 4, &Settings.startinbul},
    {"simonnotfound", kStoreDword, 4, &Settings.simonnotfound},
    {"clipcopy", kStoreDword, 4, &Settings.clipcopy},
    {"traymin", kStoreDword, 4, &Settings.traymin},
    {"startmin", kStoreDword, 4, &Settings.startmin},
    {"monitor", kStoreDword, 4, &Settings.monitor},
    {"dblpopup", kStoreDword, 4, &Settings.dblpopup},
    {"tooltips", kStoreDword, 4, &Settings.tooltips},
    {"flat", kStoreDword, 4, &Settings.flat},
    {"multinst", kStoreDword, 4, &Settings.multinst},
    {"minonclose", kStoreDword, 4, &Settings.minonclose},
    {"ontop", kStoreDword, 4, &Settings.ontop},
    {"autocomplete", kStoreDword, 4, &Settings.autocomplete},
    {"hotkey", kStoreDword, 4, &Settings.hotkey},
    {"minonfocus", kStoreDword, 4, &Settings.minonfocus},
};

const char* const kReadOrder[] = {
    "minonfocus", "simonnotfound", "clipcopy", "startinbul", "traymin",
    "startmin", "monitor", "dblpopup", "tooltips", "flat",
    "multinst", "minonclose", "ontop", "autocomplete", "hotkey",
    "pos", "size", "startdict", "rectalldict", "rectsim",
};

static_assert(sizeof kReadOrder / sizeof kReadOrder[0] == sizeof kValues / sizeof kValues[0],
              "every value is read once");
static_assert(sizeof(SettingsRecord::pos) == 8 && sizeof(SettingsRecord::size) == 8 &&
                  sizeof(SettingsRecord::rectalldict) == 16 && sizeof(SettingsRecord::rectsim) == 16 &&
                  sizeof(SettingsRecord::startdict) == 64 && sizeof(SettingsRecord::hotkey) == 4 &&
                  sizeof(SettingsRecord::minonfocus) == 4,
              "fields have the widths of their stored values");

const SettingsValue* FindValue(const char* name) {
    for (const auto& value : kValues)
        if (std::strcmp(value.name, name) == 0) return &value;
    return nullptr;
}

}  // namespace

bool LoadSettings() {
    if (!SettingsStoreOpenForRead()) return false;
    for (const char* name : kReadOrder) {
        const SettingsValue* value = FindValue(name);
        SettingsStoreRead(value->name, value->field, value->length);
    }
    // A stored name of 64 bytes without a terminator must not run on into
    // the fields after it.
    Settings.startdict[sizeof Settings.startdict - 1] = '\0';
    SettingsStoreClose();
    return true;
}

void SaveSettings() {
    int left, top, right, bottom;
    if (GetMainWindowNormalRect(&left, &top, &right, &bottom)) {
        Settings.pos = {left, top};
        Settings.size = {right - left, bottom - top};
    }
    if (!SettingsStoreCreateForWrite()) return;
    for (const auto& value : kValues)
        SettingsStoreWrite(value.name, value.type, value.field, value.length);
    SettingsStoreClose();
}
