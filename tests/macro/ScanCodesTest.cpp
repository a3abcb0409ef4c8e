#include "macro/ScanCodes.h"
#include "macro/posix/X11Input.h"
#include "macro/windows/WindowsInput.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <utility>

using namespace orlix;

TEST(ScanCodes, EveryTableRowMapsFromItsSet1AndEvdevCodes) {
    std::set<int> keys;
    std::set<int> set1;
    std::set<unsigned> evdev;
    for (const auto& row : scanCodeTable()) {
        EXPECT_TRUE(keys.insert(row.key).second) << "key twice: " << KeyDisplayName(row.key);
        EXPECT_NE(KeyToUsage(row.key), 0) << KeyDisplayName(row.key);
        if (row.set1 != 0) {
            EXPECT_TRUE(set1.insert(row.set1).second) << row.set1;
            const bool e0 = row.set1 > 0xFF;
            EXPECT_EQ(keyFromSet1ScanCode(row.set1 & 0xFF, e0), row.key) << row.set1;
        }
        ASSERT_NE(row.evdev, 0u);
        EXPECT_TRUE(evdev.insert(row.evdev).second) << row.evdev;
        EXPECT_EQ(keyFromEvdevCode(row.evdev), row.key) << row.evdev;
        EXPECT_EQ(keyFromX11Keycode(row.evdev + 8), row.key) << row.evdev;
    }
    // Codes outside the table give no key (besides the few aliases of set 1).
    const std::set<int> aliases{0x54, 0xE046, 0xE045};
    for (int code = 0; code < 0x100; ++code) {
        for (bool e0 : {false, true}) {
            const int full = e0 ? 0xE000 | code : code;
            if (set1.contains(full) || aliases.contains(full)) continue;
            EXPECT_EQ(keyFromSet1ScanCode(static_cast<std::uint16_t>(code), e0), kh_None) << full;
        }
    }
    for (unsigned code = 0; code < 0x300; ++code) {
        if (evdev.contains(code)) continue;
        EXPECT_EQ(keyFromEvdevCode(code), kh_None) << code;
        EXPECT_EQ(keyFromX11Keycode(code + 8), kh_None) << code;
    }
    EXPECT_EQ(keyFromX11Keycode(8), kh_None);
    EXPECT_EQ(keyFromX11Keycode(0), kh_None);
}

TEST(ScanCodes, EveryKeyWithAUsageHasAPositionButTheLayoutOnlyOnes) {
    // Keys a keyboard has no position of its own for: the side-neutral modifiers (their
    // positions are the left keys) and three keys of old terminals.
    const std::set<int> noPosition{kh_Shift, kh_Control, kh_Alt, kh_Clear, kh_Select};
    std::set<int> listed;
    for (const auto& row : scanCodeTable())
        listed.insert(row.key);
    for (int k = 0; k < kh_Count; ++k) {
        const auto key = static_cast<TKeyboardHookKey>(k);
        if (KeyToUsage(key) == 0 || noPosition.contains(k)) continue;
        EXPECT_TRUE(listed.contains(k)) << KeyDisplayName(key);
    }
}

TEST(ScanCodes, PositionsAreUsKeysWhateverTheLayoutTypes) {
    EXPECT_EQ(keyFromSet1ScanCode(0x10, false), kh_Q); // "A" on AZERTY
    EXPECT_EQ(keyFromSet1ScanCode(0x2C, false), kh_Z); // "Y" on German
    EXPECT_EQ(keyFromSet1ScanCode(0x1C, true), kh_Separator);
    EXPECT_EQ(KeyToUsage(keyFromSet1ScanCode(0x1C, true)), 0x58); // keypad Enter
    EXPECT_EQ(keyFromSet1ScanCode(0x1D, false, true), kh_Pause);
    EXPECT_EQ(keyFromSet1ScanCode(0x45, false, true), kh_None);
    EXPECT_EQ(keyFromSet1ScanCode(0x46, true), kh_Pause);
    EXPECT_EQ(keyFromSet1ScanCode(0x54, false), kh_Snapshot);
    EXPECT_EQ(keyFromSet1ScanCode(0x1E00, false), kh_None);
    EXPECT_EQ(keyFromEvdevCode(30), kh_A);
    EXPECT_EQ(keyFromX11Keycode(38), kh_A);
    EXPECT_EQ(keyFromX11Keycode(24), kh_Q);
}

TEST(WindowsInput, RawKeyboardRecordsBecomeKeyEvents) {
    // Right Ctrl down: make code 1D with E0, virtual key Ctrl.
    auto e = translateRawKeyboard({0x1D, win::kRiKeyE0, 0x11, win::kWmKeyDown});
    ASSERT_TRUE(e);
    EXPECT_EQ(e->physical, kh_RControl);
    EXPECT_EQ(e->named, kh_Control);
    EXPECT_EQ(e->transition, KeyTransition::Down);
    // Its release: the break flag (and the key-up message).
    e = translateRawKeyboard({0x1D, win::kRiKeyE0 | win::kRiKeyBreak, 0x11, win::kWmKeyUp});
    ASSERT_TRUE(e);
    EXPECT_EQ(e->transition, KeyTransition::Up);
    // Alt+key comes as a system key; its release as system key-up.
    e = translateRawKeyboard({0x38, win::kRiKeyBreak, 0x12, win::kWmSysKeyUp});
    ASSERT_TRUE(e);
    EXPECT_EQ(e->physical, kh_LAlt);
    EXPECT_EQ(e->transition, KeyTransition::Up);
    e = translateRawKeyboard({0x1E, 0, 0x41, win::kWmSysKeyDown});
    ASSERT_TRUE(e);
    EXPECT_EQ(e->transition, KeyTransition::Down);
    // AZERTY: the key at the Q position with virtual key A.
    e = translateRawKeyboard({0x10, 0, 'A', win::kWmKeyDown});
    ASSERT_TRUE(e);
    EXPECT_EQ(e->physical, kh_Q);
    EXPECT_EQ(e->named, kh_A);
    // Pause: 1D with E1 and virtual key Pause, then 45 with virtual key FF (dropped).
    e = translateRawKeyboard({0x1D, win::kRiKeyE1, 0x13, win::kWmKeyDown});
    ASSERT_TRUE(e);
    EXPECT_EQ(e->physical, kh_Pause);
    EXPECT_FALSE(translateRawKeyboard({0x45, 0, 0xFF, win::kWmKeyDown}));
    // The fake Shift around E0 keys and keyboard overruns are no keys.
    EXPECT_FALSE(translateRawKeyboard({0x2A, win::kRiKeyE0, 0xFF, win::kWmKeyDown}));
    EXPECT_FALSE(translateRawKeyboard({0xFF, 0, 0x41, win::kWmKeyDown}));
    EXPECT_FALSE(translateRawKeyboard({0x00, 0, 0x00, win::kWmKeyDown}));
    // An unknown position still carries the layout's key.
    e = translateRawKeyboard({0x73, 0, 0xC1, win::kWmKeyDown});
    EXPECT_FALSE(e.has_value());
    e = translateRawKeyboard({0x00, 0, 'B', win::kWmKeyDown});
    ASSERT_TRUE(e);
    EXPECT_EQ(e->physical, kh_None);
    EXPECT_EQ(e->named, kh_B);
}

TEST(WindowsInput, MouseHookMessagesBecomeButtonEvents) {
    struct Case {
        std::uint32_t message;
        std::uint32_t data;
        MouseButton button;
        bool pressed;
    };
    const Case cases[] = {
        {win::kWmLButtonDown, 0, MouseButton::Left, true},
        {win::kWmLButtonUp, 0, MouseButton::Left, false},
        {win::kWmRButtonDown, 0, MouseButton::Right, true},
        {win::kWmRButtonUp, 0, MouseButton::Right, false},
        {win::kWmMButtonDown, 0, MouseButton::Middle, true},
        {win::kWmMButtonUp, 0, MouseButton::Middle, false},
        {win::kWmXButtonDown, 1u << 16, MouseButton::Backward, true},
        {win::kWmXButtonUp, 1u << 16, MouseButton::Backward, false},
        {win::kWmXButtonDown, 2u << 16, MouseButton::Forward, true},
        {win::kWmXButtonUp, 2u << 16, MouseButton::Forward, false},
    };
    for (const auto& c : cases) {
        auto e = translateMouseHook(c.message, c.data);
        ASSERT_TRUE(e) << c.message;
        EXPECT_EQ(e->button, c.button) << c.message;
        EXPECT_EQ(e->pressed, c.pressed) << c.message;
    }
    EXPECT_FALSE(translateMouseHook(0x0200, 0));          // move
    EXPECT_FALSE(translateMouseHook(0x020A, 120u << 16)); // wheel
    EXPECT_FALSE(translateMouseHook(0x020E, 120u << 16)); // horizontal wheel
    EXPECT_FALSE(translateMouseHook(win::kWmXButtonDown, 3u << 16));
    EXPECT_FALSE(translateMouseHook(0x0203, 0)); // a double click is not a hook message
}

TEST(X11Input, RawKeysTakeTheKeycodeForTheKeyAndLatinKeysymsForTheName) {
    struct Row {
        unsigned keycode;
        std::uint32_t keysym;
        bool pressed;
        std::optional<RecorderKeyEvent> expected;
    };
    using T = KeyTransition;
    const Row rows[] = {
        {38, 'a', true, RecorderKeyEvent{kh_A, kh_A, T::Down}},
        {38, 'a', false, RecorderKeyEvent{kh_A, kh_A, T::Up}},
        {24, 'a', true, RecorderKeyEvent{kh_Q, kh_A, T::Down}}, // AZERTY: "A" at Q
        {52, 'Y', true, RecorderKeyEvent{kh_Z, kh_Y, T::Down}}, // German: "Y" at Z
        {10, '1', true, RecorderKeyEvent{kh_1, kh_1, T::Down}},
        {10, '&', true, RecorderKeyEvent{kh_1, kh_None, T::Down}}, // AZERTY digit row
        {50, 0xFFE1, true, RecorderKeyEvent{kh_LShift, kh_None, T::Down}},
        {38, 0x6C4, true, RecorderKeyEvent{kh_A, kh_None, T::Down}}, // Cyrillic layout
        {38, 0, false, RecorderKeyEvent{kh_A, kh_None, T::Up}},
        {0, 'a', true, std::nullopt},
        {255, 'a', true, std::nullopt},
        {100000, 0, true, std::nullopt},
    };
    for (const Row& r : rows) {
        const auto e = translateX11RawKey(r.keycode, r.keysym, r.pressed);
        ASSERT_EQ(e.has_value(), r.expected.has_value()) << r.keycode;
        if (!e) continue;
        EXPECT_EQ(e->physical, r.expected->physical) << r.keycode;
        EXPECT_EQ(e->named, r.expected->named) << r.keycode << " " << r.keysym;
        EXPECT_EQ(e->transition, r.expected->transition) << r.keycode;
    }
}

TEST(X11Input, RawButtonsOnlyButtonsNotTheWheel) {
    const std::pair<unsigned, std::optional<MouseButton>> rows[] = {
        {1, MouseButton::Left},     {2, MouseButton::Middle},  {3, MouseButton::Right},
        {8, MouseButton::Backward}, {9, MouseButton::Forward}, {4, std::nullopt},
        {5, std::nullopt},          {6, std::nullopt},         {7, std::nullopt},
        {0, std::nullopt},          {10, std::nullopt},
    };
    for (const auto& [button, expected] : rows) {
        for (bool pressed : {true, false}) {
            const auto e = translateX11RawButton(button, pressed);
            ASSERT_EQ(e.has_value(), expected.has_value()) << button;
            if (!e) continue;
            EXPECT_EQ(e->button, *expected) << button;
            EXPECT_EQ(e->pressed, pressed) << button;
        }
    }
}
