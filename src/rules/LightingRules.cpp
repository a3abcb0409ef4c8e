#include "rules/LightingRules.h"

#include <algorithm>

namespace orlix::pages {

namespace {

bool isHold(LightingRules::Bar bar) {
    return bar == LightingRules::Bar::Off || bar == LightingRules::Bar::On;
}

std::size_t indexOf(LightingRules::Bar bar) {
    return static_cast<std::size_t>(bar);
}

} // namespace

std::array<std::uint8_t, LightingRules::kSteps> LightingRules::stepTable(Bar bar) {
    std::array<std::uint8_t, kSteps> t{};
    for (int s = 1; s <= kSteps; ++s)
        t[static_cast<std::size_t>(s - 1)] = isHold(bar) ? encodeHoldStep(s) : encodeRampStep(s);
    return t;
}

int LightingRules::stepOf(Bar bar, std::uint8_t stored) {
    return isHold(bar) ? decodeHoldStep(stored) : decodeRampStep(stored);
}

std::optional<int> LightingRules::modeOf(std::string_view option) {
    for (std::size_t i = 0; i < kModeNames.size(); ++i)
        if (kModeNames[i] == option) return static_cast<int>(i);
    return std::nullopt;
}

bool LightingRules::editable() const {
    return (config_.sections.a[image::kLightingFlags] & kLightingUnused) == 0;
}

void LightingRules::refresh() {
    if (!editable()) page() = LightingPage{};
}

int LightingRules::mode() const {
    const int m = page().mode.value_or(0);
    return m == 1 || m == 2 ? m : 0;
}

int LightingRules::step(Bar bar) const {
    return std::clamp(page().steps[indexOf(bar)], 1, kSteps);
}

int LightingRules::colourMode() const {
    return page().colourMode.value_or(1) == 2 ? 2 : 1;
}

std::array<int, 3> LightingRules::colour(int colourMode) const {
    return colourMode == 2 ? page().mode2 : page().mode1;
}

bool LightingRules::chooseMode(int mode) {
    if (!editable() || mode < 0 || mode > 2) return false;
    page().mode = mode;
    return true;
}

bool LightingRules::setStep(Bar bar, int step) {
    if (!editable() || step < 1 || step > kSteps) return false;
    page().steps[indexOf(bar)] = step;
    return true;
}

bool LightingRules::chooseColourMode(int colourMode) {
    if (!editable() || (colourMode != 1 && colourMode != 2)) return false;
    page().colourMode = colourMode;
    return true;
}

bool LightingRules::pickColour(int red, int green, int blue) {
    if (!editable() || colourMode() != 1) return false;
    const std::array<int, 3> channels{red, green, blue};
    for (std::size_t i = 0; i < 3; ++i)
        page().mode1[i] = std::clamp(channels[i], 0, 255) * 100 / 255;
    return true;
}

std::string LightingRules::correctedPercentText(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') continue;
        value = std::min(1000, value * 10 + (c - '0'));
    }
    return std::to_string(std::min(value, 100));
}

std::optional<std::string> LightingRules::editPercent(int channel, std::string_view text) {
    if (!editable() || colourMode() != 1 || channel < 0 || channel > 2) return std::nullopt;
    std::string shown = correctedPercentText(text);
    // Stored clamped as well, whatever path the text took.
    page().mode1[static_cast<std::size_t>(channel)] = std::clamp(std::stoi(shown), 0, 100);
    return shown;
}

int LightingRules::swatchChannel(int percent) {
    return std::min(255, std::max(0, percent) * 255 / 100);
}

} // namespace orlix::pages
