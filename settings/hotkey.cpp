#include "settings/hotkey.h"

unsigned HotkeyToModifiers(uint32_t hotkey) {
    unsigned flags = (hotkey >> 8) & 0xFF;
    // Shift (bit 0) and Alt (bit 2) swap places; Control stays. The
    // extended-key flag (bit 3) says which physical key was pressed, not a
    // modifier: passed on it would read as the Windows key and the hot key
    // could never be typed.
    unsigned swapped = (flags & ~0x0Du) | ((flags & 0x01u) << 2) | ((flags & 0x04u) >> 2);
    return swapped;
}
