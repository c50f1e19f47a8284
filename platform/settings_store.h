// The persistent key behind the settings (settings/settings.h): the registry key
// HKEY_CURRENT_USER\software\Tamrin\Dictionary in the Windows program
// (settings_store_win32.cpp), an in-memory map on the headless platform.
// One key is open at a time; every open is paired with SettingsStoreClose.
#pragma once

// Value types, with the registry's numbers.
enum : unsigned { kStoreBinary = 3, kStoreDword = 4 };

// Opens the existing key for reading; false when it does not exist.
bool SettingsStoreOpenForRead();
// Copies the stored bytes of `name` into `field`, whatever their type, at
// most `size` of them; bytes past a shorter value are left alone. False,
// with `field` untouched, when the value does not exist.
bool SettingsStoreRead(const char* name, void* field, unsigned size);
// Creates the key (class "Dictionary", non-volatile) or opens it with full
// access; false when neither works.
bool SettingsStoreCreateForWrite();
// Failures are not reported: a lost setting only costs a default next time.
void SettingsStoreWrite(const char* name, unsigned type, const void* data, unsigned size);
void SettingsStoreClose();
