#pragma once

#include "model/KeyTables.h"

#include <cstdint>
#include <span>

namespace orlix {

// Physical keys: which key sits at a position, named as on a US keyboard, whatever the
// layout. The mouse plays back key usages, which are positions, so a recording takes the
// usage from here and only the shown name from the layout.

// One row of the position table.
struct ScanCodeEntry {
    std::uint16_t set1;  // PC set-1 make code; 0xE0xx for the E0-prefixed keys; 0 = none
    std::uint16_t evdev; // Linux input event code; 0 = none
    TKeyboardHookKey key;
};
// Every position the program knows, each key once.
std::span<const ScanCodeEntry> scanCodeTable();

// A set-1 make code as raw input on Windows reports it: the code and its E0 and E1 prefix
// flags (Pause arrives as 0x1D with E1). Unknown codes give kh_None.
TKeyboardHookKey keyFromSet1ScanCode(std::uint16_t makeCode, bool e0, bool e1 = false);
// A Linux evdev key code (KEY_A = 30 ...).
TKeyboardHookKey keyFromEvdevCode(unsigned code);
// An X11 / XKB keycode, as Qt's native scan code gives it on X11 and Wayland: evdev + 8.
TKeyboardHookKey keyFromX11Keycode(unsigned keycode);

} // namespace orlix
