#include "KeyTables.h"

#include <array>

namespace orlix {

namespace {

constexpr std::array<std::string_view, kh_Count> kNames{"None",
                                                        "Demo",
                                                        "255",
                                                        "Backspace",
                                                        "Tab",
                                                        "Clear",
                                                        "Enter",
                                                        "Shift",
                                                        "Ctrl",
                                                        "Alt",
                                                        "Pause",
                                                        "Caps Lock",
                                                        "Esc",
                                                        "Space bar",
                                                        "Page Up",
                                                        "Page Down",
                                                        "End",
                                                        "Home",
                                                        "Left Arrow",
                                                        "Up Arrow",
                                                        "Right Arrow",
                                                        "Down Arrow",
                                                        "Select",
                                                        "Print Screen",
                                                        "Insert",
                                                        "Delete",
                                                        "Help",
                                                        "Left Windows",
                                                        "Right Windows",
                                                        "Applications",
                                                        "0 (numeric pad)",
                                                        "1 (numeric pad)",
                                                        "2 (numeric pad)",
                                                        "3 (numeric pad)",
                                                        "4 (numeric pad)",
                                                        "5 (numeric pad)",
                                                        "6 (numeric pad)",
                                                        "7 (numeric pad)",
                                                        "8 (numeric pad)",
                                                        "9 (numeric pad)",
                                                        "Multiply (numeric pad)",
                                                        "Add (numeric pad)",
                                                        "Separator (numeric pad)",
                                                        "Subtract (numeric pad)",
                                                        "Decimal (numeric pad)",
                                                        "Divide (numeric pad)",
                                                        "F1",
                                                        "F2",
                                                        "F3",
                                                        "F4",
                                                        "F5",
                                                        "F6",
                                                        "F7",
                                                        "F8",
                                                        "F9",
                                                        "F10",
                                                        "F11",
                                                        "F12",
                                                        "F13",
                                                        "F14",
                                                        "F15",
                                                        "F16",
                                                        "F17",
                                                        "F18",
                                                        "F19",
                                                        "F20",
                                                        "F21",
                                                        "F22",
                                                        "F23",
                                                        "F24",
                                                        "Num Lock",
                                                        "Scroll Lock",
                                                        "Left Shift",
                                                        "Right Shift",
                                                        "Left Ctrl",
                                                        "Right Ctrl",
                                                        "Left Alt",
                                                        "Right Alt",
                                                        "A",
                                                        "B",
                                                        "C",
                                                        "D",
                                                        "E",
                                                        "F",
                                                        "G",
                                                        "H",
                                                        "I",
                                                        "J",
                                                        "K",
                                                        "L",
                                                        "M",
                                                        "N",
                                                        "O",
                                                        "P",
                                                        "Q",
                                                        "R",
                                                        "S",
                                                        "T",
                                                        "U",
                                                        "V",
                                                        "W",
                                                        "X",
                                                        "Y",
                                                        "Z",
                                                        "0",
                                                        "1",
                                                        "2",
                                                        "3",
                                                        "4",
                                                        "5",
                                                        "6",
                                                        "7",
                                                        "8",
                                                        "9",
                                                        "OEM_1",
                                                        "OEM_2",
                                                        "OEM_3",
                                                        "OEM_4",
                                                        "OEM_5",
                                                        "OEM_6",
                                                        "OEM_7",
                                                        "OEM_8",
                                                        "OEM_Plus",
                                                        "OEM_Comma",
                                                        "OEM_Minus",
                                                        "OEM_Period",
                                                        "Browser_Back",
                                                        "Browser_Forward",
                                                        "Browser_Refresh",
                                                        "Browser_Stop",
                                                        "Browser_Search",
                                                        "Browser_Favorites",
                                                        "Browser_Home",
                                                        "Volume_Mute",
                                                        "Volume_Down",
                                                        "Volume_Up",
                                                        "Media_Next_Track",
                                                        "Media_Prev_Track",
                                                        "Media_Stop",
                                                        "Media_Play_Pause",
                                                        "Launch_Mail",
                                                        "Launch_Media_Select",
                                                        "Launch_App1",
                                                        "Launch_App2",
                                                        ""};

constexpr TKeyboardHookKey key(int base, int offset) {
    return static_cast<TKeyboardHookKey>(base + offset);
}

constexpr std::array<TKeyboardHookKey, 256> buildVirtualKeyTable() {
    std::array<TKeyboardHookKey, 256> t{};
    t[0x08] = kh_Back;
    t[0x09] = kh_Tab;
    t[0x0C] = kh_Clear;
    t[0x0D] = kh_Return;
    for (int i = 0; i <= 4; ++i)
        t[0x10 + i] = key(kh_Shift, i); // Shift, Ctrl, Alt, Pause, Caps
    t[0x1B] = kh_Escape;
    for (int i = 0; i <= 9; ++i)
        t[0x20 + i] = key(kh_Space, i); // Space .. Select
    t[0x2C] = kh_Snapshot;
    t[0x2D] = kh_Insert;
    t[0x2E] = kh_Delete;
    t[0x2F] = kh_Help;
    for (int i = 0; i <= 9; ++i)
        t[0x30 + i] = key(kh_0, i);
    for (int i = 0; i < 26; ++i)
        t[0x41 + i] = key(kh_A, i);
    t[0x5B] = kh_LWIN;
    t[0x5C] = kh_RWIN;
    t[0x5D] = kh_APPS;
    for (int i = 0; i <= 0x27; ++i)
        t[0x60 + i] = key(kh_Numpad0, i); // Numpad0 .. F24
    t[0x90] = kh_Numlock;
    t[0x91] = kh_Scroll;
    for (int i = 0; i <= 5; ++i)
        t[0xA0 + i] = key(kh_LShift, i);
    for (int i = 0; i <= 0x11; ++i)
        t[0xA6 + i] = key(kh_Browser_Back, i); // .. Launch_App2
    t[0xBA] = kh_OEM_1;
    t[0xBB] = kh_OEM_Plus;
    t[0xBC] = kh_OEM_Comma;
    t[0xBD] = kh_OEM_Minus;
    t[0xBE] = kh_OEM_Period;
    t[0xBF] = kh_OEM_2;
    t[0xC0] = kh_OEM_3;
    for (int i = 0; i <= 4; ++i)
        t[0xDB + i] = key(kh_OEM_4, i);
    t[0xFF] = kh_255;
    return t;
}

constexpr std::array<std::uint8_t, kh_Count> buildUsageTable() {
    std::array<std::uint8_t, kh_Count> u{};
    for (int i = 0; i < 26; ++i)
        u[kh_A + i] = static_cast<std::uint8_t>(0x04 + i);
    for (int i = 1; i <= 9; ++i)
        u[kh_0 + i] = static_cast<std::uint8_t>(0x1E + i - 1);
    u[kh_0] = 0x27;
    u[kh_Return] = 0x28;
    u[kh_Escape] = 0x29;
    u[kh_Back] = 0x2A;
    u[kh_Tab] = 0x2B;
    u[kh_Space] = 0x2C;
    u[kh_OEM_Minus] = 0x2D;
    u[kh_OEM_Plus] = 0x2E;
    u[kh_OEM_4] = 0x2F;
    u[kh_OEM_6] = 0x30;
    u[kh_OEM_5] = 0x31;
    u[kh_OEM_1] = 0x33;
    u[kh_OEM_7] = 0x34;
    u[kh_OEM_3] = 0x35;
    u[kh_OEM_Comma] = 0x36;
    u[kh_OEM_Period] = 0x37;
    u[kh_OEM_2] = 0x38;
    u[kh_Capital] = 0x39;
    for (int i = 0; i < 12; ++i)
        u[kh_F1 + i] = static_cast<std::uint8_t>(0x3A + i);
    u[kh_Snapshot] = 0x46;
    u[kh_Scroll] = 0x47;
    u[kh_Pause] = 0x48;
    u[kh_Insert] = 0x49;
    u[kh_Home] = 0x4A;
    u[kh_Prior] = 0x4B;
    u[kh_Delete] = 0x4C;
    u[kh_End] = 0x4D;
    u[kh_Next] = 0x4E;
    u[kh_Right] = 0x4F;
    u[kh_Left] = 0x50;
    u[kh_Down] = 0x51;
    u[kh_Up] = 0x52;
    u[kh_Numlock] = 0x53;
    u[kh_Divide] = 0x54;
    u[kh_Multiply] = 0x55;
    u[kh_Subtract] = 0x56;
    u[kh_Add] = 0x57;
    u[kh_Separator] = 0x58;
    for (int i = 1; i <= 9; ++i)
        u[kh_Numpad0 + i] = static_cast<std::uint8_t>(0x59 + i - 1);
    u[kh_Numpad0] = 0x62;
    u[kh_Decimal] = 0x63;
    u[kh_APPS] = 0x65;
    for (int i = 0; i < 12; ++i)
        u[kh_F13 + i] = static_cast<std::uint8_t>(0x68 + i);
    u[kh_Help] = 0x75;
    u[kh_Select] = 0x77;
    u[kh_Clear] = 0x9C;
    u[kh_LControl] = 0xE0;
    u[kh_LShift] = 0xE1;
    u[kh_LAlt] = 0xE2;
    u[kh_LWIN] = 0xE3;
    u[kh_RControl] = 0xE4;
    u[kh_RShift] = 0xE5;
    u[kh_RAlt] = 0xE6;
    u[kh_RWIN] = 0xE7;
    u[kh_Control] = 0xE0;
    u[kh_Shift] = 0xE1;
    u[kh_Alt] = 0xE2;
    u[kh_Media_Next_Track] = 0xC0;
    u[kh_Media_Prev_Track] = 0xC1;
    u[kh_Media_Stop] = 0xC2;
    u[kh_Media_Play_Pause] = 0xC3;
    u[kh_Volume_Mute] = 0xC4;
    u[kh_Volume_Up] = 0xC5;
    u[kh_Volume_Down] = 0xC6;
    u[kh_Launch_Mail] = 0xC7;
    u[kh_Browser_Search] = 0xC8;
    u[kh_Browser_Home] = 0xC9;
    u[kh_Browser_Back] = 0xCA;
    u[kh_Browser_Forward] = 0xCB;
    u[kh_Browser_Stop] = 0xCC;
    u[kh_Browser_Refresh] = 0xCD;
    u[kh_Browser_Favorites] = 0xCE;
    u[kh_Launch_Media_Select] = 0xD1;
    return u;
}

constexpr auto kVirtualKeys = buildVirtualKeyTable();
constexpr auto kUsages = buildUsageTable();

// Usage to key: the side-specific keys win over the side-neutral ones.
constexpr std::array<TKeyboardHookKey, 256> buildUsageKeys() {
    std::array<TKeyboardHookKey, 256> k{};
    for (int i = 0; i < kh_Count; ++i) {
        auto key = static_cast<TKeyboardHookKey>(i);
        if (key == kh_Shift || key == kh_Control || key == kh_Alt) continue;
        if (kUsages[static_cast<std::size_t>(i)] != 0)
            k[kUsages[static_cast<std::size_t>(i)]] = key;
    }
    return k;
}

constexpr auto kUsageKeys = buildUsageKeys();

} // namespace

TKeyboardHookKey VirtualKeyToKey(unsigned virtualKey) {
    return virtualKey < kVirtualKeys.size() ? kVirtualKeys[virtualKey] : kh_None;
}

std::string_view KeyDisplayName(TKeyboardHookKey key) {
    return key < kh_Count ? kNames[key] : std::string_view();
}

std::uint8_t KeyToUsage(TKeyboardHookKey key) {
    return key < kh_Count ? kUsages[key] : 0;
}

std::string_view UsageName(std::uint8_t usage) {
    if (usage == 0xE3 || usage == 0xE7) return "Win";
    TKeyboardHookKey key = kUsageKeys[usage];
    if (key == kh_None) return {};
    return KeyDisplayName(key);
}

namespace {

constexpr std::array kAliases{
    KeyNameAlias{"Escape", kh_Escape}, KeyNameAlias{"PgUp", kh_Prior},
    KeyNameAlias{"PageUp", kh_Prior},  KeyNameAlias{"PgDn", kh_Next},
    KeyNameAlias{"PageDown", kh_Next}, KeyNameAlias{"Space", kh_Space},
    KeyNameAlias{"Del", kh_Delete},    KeyNameAlias{"Ins", kh_Insert},
    KeyNameAlias{"Return", kh_Return}, KeyNameAlias{"PrtSc", kh_Snapshot},
};

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lowerA = static_cast<char>(a[i] >= 'A' && a[i] <= 'Z' ? a[i] - 'A' + 'a' : a[i]);
        const auto lowerB = static_cast<char>(b[i] >= 'A' && b[i] <= 'Z' ? b[i] - 'A' + 'a' : b[i]);
        if (lowerA != lowerB) return false;
    }
    return true;
}

} // namespace

std::span<const KeyNameAlias> KeyNameAliases() {
    return kAliases;
}

TKeyboardHookKey KeyFromName(std::string_view name) {
    if (name.empty()) return kh_None;
    // From kh_Back: "None", "Demo" and "255" name no key a user types.
    for (unsigned k = kh_Back; k < kh_Count; ++k) {
        const auto key = static_cast<TKeyboardHookKey>(k);
        if (sameName(KeyDisplayName(key), name)) return key;
    }
    for (const KeyNameAlias& a : kAliases)
        if (sameName(a.alias, name)) return a.key;
    return kh_None;
}

} // namespace orlix
