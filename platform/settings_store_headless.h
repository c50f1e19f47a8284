// Controls of the in-memory settings key used on the headless platform:
// tests put values in, make the key fail, and read back what was written
// and in which order.
#pragma once

#include <map>
#include <string>
#include <vector>

struct StoredSetting {
    unsigned type;
    std::string bytes;
};

struct FakeSettingsStore {
    bool keyExists = false;
    bool createFails = false;
    bool open = false;
    std::map<std::string, StoredSetting> values;
    std::vector<std::string> reads;    // names asked for, in order
    std::vector<std::string> writes;   // names written, in order
};

FakeSettingsStore& SettingsStoreFake();
// No key, no values, nothing recorded.
void ResetSettingsStore();
// Stores a value as another program or an older run could have left it;
// the key then exists.
void PutStoredSetting(const std::string& name, unsigned type, const std::string& bytes);
// The stored value, or nullptr when there is none.
const StoredSetting* FindStoredSetting(const std::string& name);
