#pragma once

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
} // namespace fire

int correctedRepeat(int repeat);
int correctedDelay(int delay);

// The number a field's text holds: its leading digits (at most nine), 0 for an empty text.
int fieldNumber(std::string_view text);

} // namespace orlix
