#include "macro/ScanCodes.h"

#include <array>

namespace orlix {

namespace {

// set-1 code, evdev code, key. Keys without a usage of their own (the ISO key between left
// Shift and Z, the calculator key) are left out: the mouse could not play them.
constexpr std::array<ScanCodeEntry, 133> kTable{{
    {0x01, 1, kh_Escape},
    {0x02, 2, kh_1},
    {0x03, 3, kh_2},
    {0x04, 4, kh_3},
    {0x05, 5, kh_4},
    {0x06, 6, kh_5},
    {0x07, 7, kh_6},
    {0x08, 8, kh_7},
    {0x09, 9, kh_8},
    {0x0A, 10, kh_9},
    {0x0B, 11, kh_0},
    {0x0C, 12, kh_OEM_Minus},
    {0x0D, 13, kh_OEM_Plus},
    {0x0E, 14, kh_Back},
    {0x0F, 15, kh_Tab},
    {0x10, 16, kh_Q},
    {0x11, 17, kh_W},
    {0x12, 18, kh_E},
    {0x13, 19, kh_R},
    {0x14, 20, kh_T},
    {0x15, 21, kh_Y},
    {0x16, 22, kh_U},
    {0x17, 23, kh_I},
    {0x18, 24, kh_O},
    {0x19, 25, kh_P},
    {0x1A, 26, kh_OEM_4},
    {0x1B, 27, kh_OEM_6},
    {0x1C, 28, kh_Return},
    {0x1D, 29, kh_LControl},
    {0x1E, 30, kh_A},
    {0x1F, 31, kh_S},
    {0x20, 32, kh_D},
    {0x21, 33, kh_F},
    {0x22, 34, kh_G},
    {0x23, 35, kh_H},
    {0x24, 36, kh_J},
    {0x25, 37, kh_K},
    {0x26, 38, kh_L},
    {0x27, 39, kh_OEM_1},
    {0x28, 40, kh_OEM_7},
    {0x29, 41, kh_OEM_3},
    {0x2A, 42, kh_LShift},
    {0x2B, 43, kh_OEM_5},
    {0x2C, 44, kh_Z},
    {0x2D, 45, kh_X},
    {0x2E, 46, kh_C},
    {0x2F, 47, kh_V},
    {0x30, 48, kh_B},
    {0x31, 49, kh_N},
    {0x32, 50, kh_M},
    {0x33, 51, kh_OEM_Comma},
    {0x34, 52, kh_OEM_Period},
    {0x35, 53, kh_OEM_2},
    {0x36, 54, kh_RShift},
    {0x37, 55, kh_Multiply},
    {0x38, 56, kh_LAlt},
    {0x39, 57, kh_Space},
    {0x3A, 58, kh_Capital},
    {0x3B, 59, kh_F1},
    {0x3C, 60, kh_F2},
    {0x3D, 61, kh_F3},
    {0x3E, 62, kh_F4},
    {0x3F, 63, kh_F5},
    {0x40, 64, kh_F6},
    {0x41, 65, kh_F7},
    {0x42, 66, kh_F8},
    {0x43, 67, kh_F9},
    {0x44, 68, kh_F10},
    {0x45, 69, kh_Numlock},
    {0x46, 70, kh_Scroll},
    {0x47, 71, kh_Numpad7},
    {0x48, 72, kh_Numpad8},
    {0x49, 73, kh_Numpad9},
    {0x4A, 74, kh_Subtract},
    {0x4B, 75, kh_Numpad4},
    {0x4C, 76, kh_Numpad5},
    {0x4D, 77, kh_Numpad6},
    {0x4E, 78, kh_Add},
    {0x4F, 79, kh_Numpad1},
    {0x50, 80, kh_Numpad2},
    {0x51, 81, kh_Numpad3},
    {0x52, 82, kh_Numpad0},
    {0x53, 83, kh_Decimal},
    {0x57, 87, kh_F11},
    {0x58, 88, kh_F12},
    {0x64, 183, kh_F13},
    {0x65, 184, kh_F14},
    {0x66, 185, kh_F15},
    {0x67, 186, kh_F16},
    {0x68, 187, kh_F17},
    {0x69, 188, kh_F18},
    {0x6A, 189, kh_F19},
    {0x6B, 190, kh_F20},
    {0x6C, 191, kh_F21},
    {0x6D, 192, kh_F22},
    {0x6E, 193, kh_F23},
    {0x76, 194, kh_F24},
    {0xE01C, 96, kh_Separator}, // keypad Enter: usage 0x58
    {0xE01D, 97, kh_RControl},
    {0xE035, 98, kh_Divide},
    {0xE037, 99, kh_Snapshot},
    {0xE038, 100, kh_RAlt},
    {0xE047, 102, kh_Home},
    {0xE048, 103, kh_Up},
    {0xE049, 104, kh_Prior},
    {0xE04B, 105, kh_Left},
    {0xE04D, 106, kh_Right},
    {0xE04F, 107, kh_End},
    {0xE050, 108, kh_Down},
    {0xE051, 109, kh_Next},
    {0xE052, 110, kh_Insert},
    {0xE053, 111, kh_Delete},
    {0xE05B, 125, kh_LWIN},
    {0xE05C, 126, kh_RWIN},
    {0xE05D, 127, kh_APPS},
    {0xE020, 113, kh_Volume_Mute},
    {0xE02E, 114, kh_Volume_Down},
    {0xE030, 115, kh_Volume_Up},
    {0xE019, 163, kh_Media_Next_Track},
    {0xE022, 164, kh_Media_Play_Pause},
    {0xE010, 165, kh_Media_Prev_Track},
    {0xE024, 166, kh_Media_Stop},
    {0xE032, 172, kh_Browser_Home},
    {0xE067, 173, kh_Browser_Refresh},
    {0xE06A, 158, kh_Browser_Back},
    {0xE069, 159, kh_Browser_Forward},
    {0xE068, 128, kh_Browser_Stop},
    {0xE065, 217, kh_Browser_Search},
    {0xE066, 156, kh_Browser_Favorites},
    {0xE06C, 155, kh_Launch_Mail},
    {0xE06D, 226, kh_Launch_Media_Select},
    {0, 119, kh_Pause}, // set 1 sends it as E1 1D 45
    {0, 138, kh_Help},
}};

} // namespace

std::span<const ScanCodeEntry> scanCodeTable() {
    return kTable;
}

TKeyboardHookKey keyFromSet1ScanCode(std::uint16_t makeCode, bool e0, bool e1) {
    if (e1) return makeCode == 0x1D ? kh_Pause : kh_None;
    // Ctrl+Pause (Break) arrives as E0 46; Alt+Print Screen as 54.
    if (e0 && makeCode == 0x46) return kh_Pause;
    if (!e0 && makeCode == 0x54) return kh_Snapshot;
    // Some keyboards send Num Lock with the E0 prefix.
    if (e0 && makeCode == 0x45) return kh_Numlock;
    if (makeCode == 0 || makeCode > 0xFF) return kh_None;
    const std::uint16_t code = e0 ? static_cast<std::uint16_t>(0xE000 | makeCode) : makeCode;
    for (const auto& entry : kTable)
        if (entry.set1 == code) return entry.key;
    return kh_None;
}

TKeyboardHookKey keyFromEvdevCode(unsigned code) {
    if (code == 0) return kh_None;
    for (const auto& entry : kTable)
        if (entry.evdev == code) return entry.key;
    return kh_None;
}

TKeyboardHookKey keyFromX11Keycode(unsigned keycode) {
    return keycode > 8 ? keyFromEvdevCode(keycode - 8) : kh_None;
}

} // namespace orlix
