// The program's options and remembered geometry, persisted as twenty values
// under the settings key (platform/settings_store.h), and one more written
// after them. Only settings.cpp knows the values' stored names.
#pragma once

#include <cstdint>

#include "platform/list_dialogs.h"

struct PointValue { int32_t x, y; };
struct SizeValue { int32_t cx, cy; };

struct SettingsRecord {
    PointValue windowPosition{0, 0};    // the main window's outer rectangle in its normal state,
    SizeValue windowSize{0, 0};         // its size at 96 DPI
    WindowRect allDictionariesRect{-1, -1, -1, -1};   // left -1: none stored yet
    WindowRect similarWordsRect{-1, -1, -1, -1};
    char startDictionary[64] = "English_Bulgarian";   // folder opened at start
    int32_t startInBulgarian = 0;       // the Bulgarian keyboard layout at start
    int32_t similarOnNotFound = 1;      // Find without a hit lists similar words
    int32_t lookUpClipboardAtStart = 1;
    int32_t minimizeToTray = 1;         // an icon in the notification area; minimizing hides
    int32_t startMinimized = 1;
    int32_t lookUpClipboardOnShow = 1;  // bringing the window up looks the clipboard word up
    int32_t popUpOnDoubleCopy = 1;      // copying a word twice quickly brings the window up
    int32_t showTooltips = 1;
    int32_t flatToolbar = 1;
    int32_t allowSeveralInstances = 0;
    int32_t hideOnClose = 0;            // with minimizeToTray: closing hides
    int32_t alwaysOnTop = 1;
    int32_t autoComplete = 1;
    uint32_t hotKey = 0;                // low byte key code, second byte the hot-key control's modifiers
    int32_t hideOnFocusLoss = 0;
    // A word not found is looked up as its base forms ("went" -> "go"). A
    // key of an earlier version lacks the value: on.
    int32_t findBaseForms = 1;
};

// Reads every stored value over what `settings` holds (the defaults, as on
// a first run, for a new record). False when the key cannot be opened
// (first run): nothing was read. The window keeps the record
// (ui/program_state.h).
bool LoadSettings(SettingsRecord& settings);
// Captures the window placement and writes every value.
void SaveSettings(SettingsRecord& settings);
