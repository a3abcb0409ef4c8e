#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orlix {

// The limits of the fire-key fields. The window corrects a field when it is left; the
// image is built with the same correction for a changed field, because Apply and Confirm take
// no focus and a typed value may reach the store uncorrected. Values are compared as numbers, so
// "0", "00" and "01" are raised like "" and "1".
namespace fire {
constexpr int kRepeatMin = 2;
constexpr int kRepeatMax = 15;
constexpr int kDelayMin = 2;
constexpr int kDelayMax = 2000;
constexpr int kRepeatDigits = 2; // what the fields accept
constexpr int kDelayDigits = 4;

// One key's four bytes in the fire-key section: a marker, the repeat count above a base, then
// a twelve-bit delay whose top four bits share byte 2 with a nibble the program carries.
constexpr std::size_t kKeyBytes = 4;
constexpr std::uint8_t kKeyMarker = 0x06;
constexpr std::uint8_t kRepeatBase = 0x10;
constexpr std::uint8_t kCarriedNibble = 0xF0; // of byte 2
// Where each of the four bytes sits inside a key.
constexpr std::size_t kMarkerByte = 0;
constexpr std::size_t kRepeatByte = 1;
constexpr std::size_t kDelayHighByte = 2; // low nibble; the carried nibble above it
constexpr std::size_t kDelayLowByte = 3;
} // namespace fire

// The Advanced page's rules for these fields are in rules/FireKeyRules.h.

using FireKeyBytes = std::span<const std::uint8_t, fire::kKeyBytes>;
using WritableFireKeyBytes = std::span<std::uint8_t, fire::kKeyBytes>;

// Key n (0..3) of a fire-key section's bytes (the section starts with key 0).
inline FireKeyBytes fireKeyIn(std::span<const std::uint8_t> section, std::size_t n) {
    return section.subspan(fire::kKeyBytes * n).first<fire::kKeyBytes>();
}
inline WritableFireKeyBytes writableFireKeyIn(std::span<std::uint8_t> section, std::size_t n) {
    return section.subspan(fire::kKeyBytes * n).first<fire::kKeyBytes>();
}

// What one key's bytes hold.
int fireKeyRepeat(FireKeyBytes key);
int fireKeyDelay(FireKeyBytes key);
std::uint8_t fireKeyCarriedNibble(FireKeyBytes key);

// Writes a key with these values, keeping the carried nibble; the delay never spills into it.
void writeFireKey(WritableFireKeyBytes key, int repeat, int delay);

// The values of a key whose bytes are exactly what writeFireKey makes of values inside the
// limits with no carried nibble; nullopt for any other bytes, which only a raw copy keeps.
struct FireKeyValues {
    int repeat;
    int delay;
};
std::optional<FireKeyValues> plainFireKey(FireKeyBytes key);

int correctedRepeat(int repeat);
int correctedDelay(int delay);

// The number a field's text holds: its leading digits (at most nine), 0 for an empty text.
int fieldNumber(std::string_view text);

} // namespace orlix
