#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orlix {

// The mouse's macro memory as the program keeps it: a table of 32 entries of 32 bytes
// (device 0x6400) and 32 bodies of 1024 bytes (device 0x8000 + 0x400 n). It lives in the
// model because profile files, the default resource and the device transfers all carry
// these bytes as they stand.
constexpr std::size_t kMacroCount = 32;
constexpr std::size_t kMacroEntrySize = 32;
constexpr std::size_t kMacroTableSize = kMacroCount * kMacroEntrySize;
constexpr std::size_t kMacroBodySize = 1024;
constexpr std::size_t kMacroNameBytes = 28;
constexpr std::size_t kMacroNameMaxChars = kMacroNameBytes / 2;
constexpr std::uint16_t kMacroTableAddress = 0x6400;
// One table entry: the body length (big-endian), a byte written as 0x00, the name length in
// bytes, then the name as UTF-16 code units, high byte first.
constexpr std::size_t kMacroEntryBodyLength = 0; // two bytes
constexpr std::size_t kMacroEntryZero = 2;
constexpr std::size_t kMacroEntryNameLength = 3;
constexpr std::size_t kMacroEntryName = 4;
static_assert(kMacroEntryName + kMacroNameBytes == kMacroEntrySize);
constexpr std::uint16_t kMacroBodyAddress = 0x8000;

using MacroTableBytes = std::array<std::uint8_t, kMacroTableSize>;
using MacroBodyBytes = std::array<std::uint8_t, kMacroBodySize>;
using MacroBodies = std::array<MacroBodyBytes, kMacroCount>;
using MacroNames = std::array<std::string, kMacroCount>; // UTF-8, index n = macro n + 1
using MacroTable = MacroTableBytes;
using MacroBody = MacroBodyBytes;
using MacroEntry = std::span<std::uint8_t, kMacroEntrySize>; // a view into the table

struct MacroStore {
    MacroTableBytes table{};
    MacroBodies bodies{};

    std::span<std::uint8_t, kMacroEntrySize> entry(std::size_t n);
    std::span<const std::uint8_t, kMacroEntrySize> entry(std::size_t n) const;

    // Bytes of the body in use, end code included; 0 = empty. Read as stored (may be > 1024).
    std::uint16_t bodyLength(std::size_t n) const;
    void setBodyLength(std::size_t n, std::uint16_t length);
    // A length the body can really hold: 0 for an empty macro or an out-of-range length.
    std::size_t usableBodyLength(std::size_t n) const;

    // The stored name length, clamped to the 28 name bytes an entry has.
    std::size_t nameLength(std::size_t n) const;
    std::string name(std::size_t n) const;
    // Writes at most 14 UTF-16 code units, high byte first; bytes beyond the new length keep
    // what they held. The zero byte becomes 0x00.
    void setName(std::size_t n, std::string_view utf8Name);

    // Empties macro n: length 0, every body byte 0xFF; the name stays.
    void clear(std::size_t n);
    void fill(std::uint8_t value);
};

// Names of all 32 entries, as the macro lists show them.
MacroNames RefreshMacroName(const MacroStore& store);
// Writes the list's names into the table just before the store goes to the mouse.
void UIToMacroName(MacroStore& store, const MacroNames& names);

constexpr std::uint16_t kMacroBodyStride = 0x400;

// The device address of body n (0x8000, 0x8400 ... 0xFC00).
constexpr std::uint16_t macroBodyAddress(std::size_t n) {
    return static_cast<std::uint16_t>(kMacroBodyAddress + kMacroBodyStride * n);
}

// The assignment code text of a button that plays macro n: "10", the body address as four
// digits, "00" (macro 0 is "10800000"). Empty for n out of range.
std::string macroAssignmentCode(std::size_t n);
// The macro a code text points at: first byte 0x10 and bytes 1-2 a body address read
// big-endian; nothing for any other code.
std::optional<std::size_t> macroIndexOfCode(std::string_view code);

} // namespace orlix
