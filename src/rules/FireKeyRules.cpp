#include "rules/FireKeyRules.h"

#include <algorithm>

namespace orlix::pages {

std::string FireKeyRules::filtered(std::string_view text, int maxDigits) {
    std::string out;
    for (char c : text) {
        if (static_cast<int>(out.size()) == maxDigits) break;
        if (acceptsCharacter(static_cast<unsigned char>(c))) out += c;
    }
    return out;
}

void FireKeyRules::typeRepeat(int n, std::string_view text) {
    if (valid(n)) page_.repeat[index(n)] = fieldNumber(filtered(text, fire::kRepeatDigits));
}

void FireKeyRules::typeDelay(int n, std::string_view text) {
    if (valid(n)) page_.delay[index(n)] = fieldNumber(filtered(text, fire::kDelayDigits));
}

int FireKeyRules::leaveRepeat(int n) {
    if (!valid(n)) return 0;
    return page_.repeat[index(n)] = correctedRepeat(page_.repeat[index(n)]);
}

int FireKeyRules::leaveDelay(int n) {
    if (!valid(n)) return 0;
    return page_.delay[index(n)] = correctedDelay(page_.delay[index(n)]);
}

bool FireKeyRules::setFireKey(int n, int r, int d) {
    if (!valid(n) || r != correctedRepeat(r) || d != correctedDelay(d)) return false;
    page_.repeat[index(n)] = r;
    page_.delay[index(n)] = d;
    return true;
}

int FireKeyRules::groupCount() const {
    return static_cast<int>(std::count(page_.modeSelected.begin(), page_.modeSelected.end(), true));
}

bool FireKeyRules::inGroup(int n) const {
    return valid(n) && page_.modeSelected[index(n)];
}

bool FireKeyRules::toggleMode(int n) {
    if (!valid(n)) return false;
    const bool selected = inGroup(n);
    if (!selected && groupCount() >= kMaxGroup) return false;
    if (selected && groupCount() == 1) return false;
    page_.modeSelected[index(n)] = !selected;
    return true;
}

bool FireKeyRules::setGroup(std::span<const int> keys) {
    if (keys.empty() || keys.size() > static_cast<std::size_t>(kMaxGroup)) return false;
    std::array<bool, 4> group{};
    for (int k : keys) {
        if (!valid(k) || group[index(k)]) return false;
        group[index(k)] = true;
    }
    page_.modeSelected = group;
    return true;
}

} // namespace orlix::pages
