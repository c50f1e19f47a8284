// The settings key in the registry of the current user.
#include <windows.h>

#include <vector>

#include "platform/settings_store.h"

static const char kSettingsKey[] = "software\\Tamrin\\Dictionary";
static HKEY g_key = nullptr;

bool SettingsStoreOpenForRead() {
    SettingsStoreClose();
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    g_key = key;
    return true;
}

bool SettingsStoreRead(const char* name, void* field, unsigned size) {
    if (!g_key) return false;
    // A value longer than the field would make RegQueryValueExA fail with
    // the buffer's content undefined, so read it whole and keep the head.
    std::vector<BYTE> stored(size > 0 ? size : 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD length = static_cast<DWORD>(stored.size());
        LONG result = RegQueryValueExA(g_key, name, nullptr, nullptr, stored.data(), &length);
        if (result == ERROR_MORE_DATA) {
            stored.resize(length > stored.size() ? length : stored.size() * 2);
            continue;
        }
        if (result != ERROR_SUCCESS) return false;
        if (length > size) length = size;
        if (length > 0) CopyMemory(field, stored.data(), length);
        return true;
    }
    return false;
}

bool SettingsStoreCreateForWrite() {
    SettingsStoreClose();
    char keyClass[] = "Dictionary";
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, keyClass, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    g_key = key;
    return true;
}

void SettingsStoreWrite(const char* name, unsigned type, const void* data, unsigned size) {
    if (g_key) RegSetValueExA(g_key, name, 0, type, static_cast<const BYTE*>(data), size);
}

void SettingsStoreClose() {
    if (g_key) RegCloseKey(g_key);
    g_key = nullptr;
}
