#include "FireKeyFields.h"

#include <algorithm>

namespace orlix {

int correctedRepeat(int repeat) {
    return std::clamp(repeat, fire::kRepeatMin, fire::kRepeatMax);
}

int correctedDelay(int delay) {
    return std::clamp(delay, fire::kDelayMin, fire::kDelayMax);
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
