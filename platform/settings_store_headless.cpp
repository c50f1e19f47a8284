// The settings key held in memory, for the command-line tool and the tests.
#include <algorithm>
#include <cstring>

#include "platform/settings_store_headless.h"
#include "platform/settings_store.h"

static FakeSettingsStore g_store;

FakeSettingsStore& SettingsStoreFake() { return g_store; }
void ResetSettingsStore() { g_store = FakeSettingsStore(); }

void PutStoredSetting(const std::string& name, unsigned type, const std::string& bytes) {
    g_store.keyExists = true;
    g_store.values[name] = {type, bytes};
}

const StoredSetting* FindStoredSetting(const std::string& name) {
    auto found = g_store.values.find(name);
    return found == g_store.values.end() ? nullptr : &found->second;
}

bool SettingsStoreOpenForRead() {
    g_store.open = g_store.keyExists;
    return g_store.open;
}

bool SettingsStoreRead(const char* name, void* field, unsigned size) {
    g_store.reads.push_back(name);
    const StoredSetting* value = g_store.open ? FindStoredSetting(name) : nullptr;
    if (!value) return false;
    std::memcpy(field, value->bytes.data(), std::min<size_t>(size, value->bytes.size()));
    return true;
}

bool SettingsStoreCreateForWrite() {
    if (g_store.createFails) return false;
    g_store.keyExists = g_store.open = true;
    return true;
}

void SettingsStoreWrite(const char* name, unsigned type, const void* data, unsigned size) {
    if (!g_store.open) return;
    g_store.writes.push_back(name);
    g_store.values[name] = {type, std::string(static_cast<const char*>(data), size)};
}

void SettingsStoreClose() { g_store.open = false; }
