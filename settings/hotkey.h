#pragma once

#include <cstdint>

// The RegisterHotKey modifiers (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4) of a
// stored hot-key value, whose second byte holds the hot-key control's flags
// (Shift 1, Control 2, Alt 4).
unsigned HotkeyToModifiers(uint32_t hotkey);
