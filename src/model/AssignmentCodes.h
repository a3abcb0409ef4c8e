#pragma once

#include "Edition.h"
#include "MacroStore.h"
#include "TextSource.h"

#include <array>
#include <string>
#include <string_view>

namespace orlix {

// The current fire-key settings as the fire-key fields show them, plus the carried high
// nibble of each key's third byte. A button set to fire key n carries exactly these bytes.
struct FireKeySettings {
    std::array<int, 4> repeat{2, 2, 2, 2};
    std::array<int, 4> delay{16, 32, 48, 64};
    std::array<std::uint8_t, 4> highNibble{};
};

// Eight-digit code text of fire key n (0..3) for the settings above.
std::string fireKeyCode(const FireKeySettings& fire, int n);

// What naming a code depends on besides the code itself.
struct CodeContext {
    const TextSource& texts;
    Edition edition;
    FireKeySettings fireKeys;
    const MacroNames& macroNames;
};

// Menu tags of the assignment menus.
namespace tag {
constexpr int kNone = 0;
constexpr int kLeft = 900, kRight = 901, kMiddle = 902, kBackward = 903, kForward = 904;
constexpr int kFireMode = 1000, kAim = 1001, kProfile = 1002, kCpi = 1003, kReportRate = 1004;
constexpr int kDefault = 1005, kLedMode = 1006, kCpiUp = 1007, kCpiDown = 1008;
constexpr int kPower = 1100, kSleep = 1101, kWakeUp = 1102;
constexpr int kFireKey1 = 1200;  // .. 1203
constexpr int kPlayPause = 1300; // .. 1306
constexpr int kWwwHome = 1400;   // .. 1406
} // namespace tag

// Code text for a menu tag; the empty text for a tag this edition does not know.
std::string CodeForTag(int tag, const CodeContext& ctx);
// The name a button label shows for a code, in the current language; empty when unknown.
std::string NameForCode(std::string_view code, const CodeContext& ctx);
// Names of key-combination (02) and macro (10) codes.
std::string KeyCombinationName(std::string_view code, const CodeContext& ctx);

// True when the text is a well-formed code: exactly eight hexadecimal digits.
bool isCodeText(std::string_view code);

} // namespace orlix
