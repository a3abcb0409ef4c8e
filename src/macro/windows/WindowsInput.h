#pragma once

#include "macro/RecorderEvents.h"

#include <cstdint>
#include <optional>

namespace orlix {

// What the Windows capture reads, turned into recorder events. Kept free of windows.h so the
// rules are tested on every platform; the capture in macro/windows/ only copies fields.

namespace win {
// Window messages and flags as Windows defines them.
constexpr std::uint32_t kWmKeyDown = 0x0100;
constexpr std::uint32_t kWmKeyUp = 0x0101;
constexpr std::uint32_t kWmSysKeyDown = 0x0104;
constexpr std::uint32_t kWmSysKeyUp = 0x0105;
constexpr std::uint32_t kWmLButtonDown = 0x0201;
constexpr std::uint32_t kWmLButtonUp = 0x0202;
constexpr std::uint32_t kWmRButtonDown = 0x0204;
constexpr std::uint32_t kWmRButtonUp = 0x0205;
constexpr std::uint32_t kWmMButtonDown = 0x0207;
constexpr std::uint32_t kWmMButtonUp = 0x0208;
constexpr std::uint32_t kWmXButtonDown = 0x020B;
constexpr std::uint32_t kWmXButtonUp = 0x020C;
constexpr std::uint16_t kRiKeyBreak = 0x01;
constexpr std::uint16_t kRiKeyE0 = 0x02;
constexpr std::uint16_t kRiKeyE1 = 0x04;
constexpr std::uint16_t kXButton1 = 1; // back
constexpr std::uint16_t kXButton2 = 2; // forward
constexpr std::uint16_t kOverrunMakeCode = 0xFF;
} // namespace win

// The fields of a RAWKEYBOARD record.
struct RawKeyboardFields {
    std::uint16_t makeCode = 0;
    std::uint16_t flags = 0;
    std::uint16_t virtualKey = 0;
    std::uint32_t message = 0;
};

// A raw keyboard record as a key event; nothing for records that are no key of their own
// (the fake Shift around some E0 keys, the second half of Pause, keyboard overruns).
// Raw input reports no auto-repeat: a repeat arrives as another Down, which the recorder
// drops for a held key.
std::optional<RecorderKeyEvent> translateRawKeyboard(const RawKeyboardFields& raw);

// A low-level mouse hook message (and the MSLLHOOKSTRUCT mouseData) as a button event;
// nothing for moves, the wheel and anything else.
std::optional<RecorderButtonEvent> translateMouseHook(std::uint32_t message,
                                                      std::uint32_t mouseData);

} // namespace orlix
