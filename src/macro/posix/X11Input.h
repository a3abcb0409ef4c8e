#pragma once

#include "macro/RecorderEvents.h"

#include <cstdint>
#include <optional>

namespace orlix {

// What the X11 capture reads from XInput2 raw events, turned into recorder events. Kept free
// of the X headers so the rules are tested everywhere; the capture in macro/gui/posix/ only
// copies fields.

namespace x11 {
// XInput2 event types (XI2.h) and core button numbers.
constexpr int kRawKeyPress = 13;
constexpr int kRawKeyRelease = 14;
constexpr int kRawButtonPress = 15;
constexpr int kRawButtonRelease = 16;
constexpr unsigned kButtonLeft = 1;
constexpr unsigned kButtonMiddle = 2;
constexpr unsigned kButtonRight = 3;
constexpr unsigned kButtonBack = 8;
constexpr unsigned kButtonForward = 9;
} // namespace x11

// A raw key event: its keycode (the physical key) and the keysym the keyboard's current
// layout gives it without modifiers (the key's name: an AZERTY "A" is named A). Only Latin
// letters and digits name a key of their own; any other keysym leaves the name to the
// physical key. Nothing for a keycode no key table knows.
std::optional<RecorderKeyEvent> translateX11RawKey(unsigned keycode, std::uint32_t keysym,
                                                   bool pressed);

// A raw button event as a button event; nothing for the wheel (buttons 4 to 7) and others.
std::optional<RecorderButtonEvent> translateX11RawButton(unsigned button, bool pressed);

} // namespace orlix
