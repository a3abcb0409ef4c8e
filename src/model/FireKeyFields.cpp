#include "FireKeyFields.h"

#include <algorithm>
#include <array>

namespace orlix {

int correctedRepeat(int repeat) {
    return std::clamp(repeat, fire::kRepeatMin, fire::kRepeatMax);
}

int correctedDelay(int delay) {
    return std::clamp(delay, fire::kDelayMin, fire::kDelayMax);
}

int fireKeyRepeat(FireKeyBytes key) {
    return key[fire::kRepeatByte] & 0x0F;
}

int fireKeyDelay(FireKeyBytes key) {
    return (key[fire::kDelayHighByte] & 0x0F) * 256 + key[fire::kDelayLowByte];
}

std::uint8_t fireKeyCarriedNibble(FireKeyBytes key) {
    return key[fire::kDelayHighByte] & fire::kCarriedNibble;
}

void writeFireKey(WritableFireKeyBytes key, int repeat, int delay) {
    key[fire::kMarkerByte] = fire::kKeyMarker;
    key[fire::kRepeatByte] = static_cast<std::uint8_t>((repeat + fire::kRepeatBase) & 0xFF);
    key[fire::kDelayHighByte] = static_cast<std::uint8_t>(
        (key[fire::kDelayHighByte] & fire::kCarriedNibble) | ((delay / 256) & 0x0F));
    key[fire::kDelayLowByte] = static_cast<std::uint8_t>(delay % 256);
}

std::optional<FireKeyValues> plainFireKey(FireKeyBytes key) {
    const FireKeyValues values{fireKeyRepeat(key), fireKeyDelay(key)};
    if (values.repeat != correctedRepeat(values.repeat) ||
        values.delay != correctedDelay(values.delay))
        return std::nullopt;
    std::array<std::uint8_t, fire::kKeyBytes> rebuilt{};
    writeFireKey(rebuilt, values.repeat, values.delay);
    if (!std::ranges::equal(rebuilt, key)) return std::nullopt;
    return values;
}

int fieldNumber(std::string_view text) {
    int value = 0;
    int digits = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || digits == 9) break;
        value = value * 10 + (c - '0');
        ++digits;
    }
    return value;
}

} // namespace orlix
