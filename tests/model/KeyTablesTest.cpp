#include "model/KeyTables.h"

#include <gtest/gtest.h>

#include <set>

using namespace orlix;

TEST(KeyTables, WindowsKeysAndShiftResolveAsTheKeyboardDoes) {
    EXPECT_EQ(VirtualKeyToKey(0x5B), kh_LWIN);
    EXPECT_EQ(KeyDisplayName(kh_LWIN), "Left Windows");
    EXPECT_EQ(KeyToUsage(kh_LWIN), 0xE3);
    EXPECT_EQ(UsageName(0xE3), "Win");
    EXPECT_EQ(UsageName(0xE7), "Win");

    EXPECT_EQ(VirtualKeyToKey(0x10), kh_Shift);
    EXPECT_EQ(KeyDisplayName(kh_Shift), "Shift");
    EXPECT_EQ(KeyToUsage(kh_Shift), 0xE1);
    EXPECT_EQ(UsageName(0xE1), "Left Shift");
}

TEST(KeyTables, RangesMapInEnumerationOrder) {
    EXPECT_EQ(VirtualKeyToKey('A'), kh_A);
    EXPECT_EQ(VirtualKeyToKey('Z'), kh_Z);
    EXPECT_EQ(VirtualKeyToKey('0'), kh_0);
    EXPECT_EQ(VirtualKeyToKey(0x20), kh_Space);
    EXPECT_EQ(VirtualKeyToKey(0x29), kh_Select);
    EXPECT_EQ(VirtualKeyToKey(0x60), kh_Numpad0);
    EXPECT_EQ(VirtualKeyToKey(0x6F), kh_Divide);
    EXPECT_EQ(VirtualKeyToKey(0x70), kh_F1);
    EXPECT_EQ(VirtualKeyToKey(0x87), kh_F24);
    EXPECT_EQ(VirtualKeyToKey(0xA6), kh_Browser_Back);
    EXPECT_EQ(VirtualKeyToKey(0xB7), kh_Launch_App2);
    EXPECT_EQ(VirtualKeyToKey(0xDF), kh_OEM_8);
    EXPECT_EQ(VirtualKeyToKey(0xFF), kh_255);
    EXPECT_EQ(VirtualKeyToKey(0x07), kh_None);
    EXPECT_EQ(VirtualKeyToKey(0x1234), kh_None);
    EXPECT_EQ(KeyDisplayName(VirtualKeyToKey(0x07)), "None");
}

TEST(KeyTables, UsagesOfTheKeyboardPageAndTheMousesOwn) {
    EXPECT_EQ(KeyToUsage(kh_A), 0x04);
    EXPECT_EQ(KeyToUsage(kh_Z), 0x1D);
    EXPECT_EQ(KeyToUsage(kh_1), 0x1E);
    EXPECT_EQ(KeyToUsage(kh_0), 0x27);
    EXPECT_EQ(KeyToUsage(kh_F12), 0x45);
    EXPECT_EQ(KeyToUsage(kh_F13), 0x68);
    EXPECT_EQ(KeyToUsage(kh_Numpad1), 0x59);
    EXPECT_EQ(KeyToUsage(kh_Numpad0), 0x62);
    EXPECT_EQ(KeyToUsage(kh_Up), 0x52);
    EXPECT_EQ(KeyToUsage(kh_Media_Play_Pause), 0xC3);
    EXPECT_EQ(KeyToUsage(kh_Launch_Media_Select), 0xD1);
    for (auto k :
         {kh_None, kh_Demo, kh_255, kh_OEM_8, kh_Launch_App1, kh_Launch_App2, kh_Return_KP})
        EXPECT_EQ(KeyToUsage(k), 0) << static_cast<int>(k);
    EXPECT_EQ(KeyDisplayName(kh_Return_KP), "");
}

TEST(KeyTables, EveryNamedUsageNamesAKeyWithThatUsage) {
    std::set<std::string_view> seen;
    for (int u = 1; u < 256; ++u) {
        auto name = UsageName(static_cast<std::uint8_t>(u));
        if (name.empty() || name == "Win") continue;
        bool found = false;
        for (int k = 0; k < kh_Count; ++k) {
            auto key = static_cast<TKeyboardHookKey>(k);
            if (KeyDisplayName(key) == name && KeyToUsage(key) == u) found = true;
        }
        EXPECT_TRUE(found) << "usage " << u;
        EXPECT_TRUE(seen.insert(name).second) << "two usages named " << name;
    }
    EXPECT_EQ(UsageName(0x00), "");
    EXPECT_EQ(UsageName(0x32), "");
}
