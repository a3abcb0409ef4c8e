#include "rules/ResolutionRules.h"

#include <algorithm>

namespace orlix::pages {

int ResolutionRules::onCount() const {
    return static_cast<int>(std::count(page_.on.begin(), page_.on.end(), true));
}

bool ResolutionRules::isOn(int label) const {
    return valid(label) && page_.on[static_cast<std::size_t>(label)];
}

bool ResolutionRules::isCurrent(int label) const {
    return valid(label) && page_.current == label;
}

std::optional<int> ResolutionRules::lowestOn() const {
    for (int l = 0; l < kLabelCount; ++l)
        if (isOn(l)) return l;
    return std::nullopt;
}

bool ResolutionRules::toggle(int label) {
    if (!valid(label)) return false;
    const bool on = isOn(label);
    if (!on && onCount() >= kMaxOn) return false;
    if (on && onCount() <= kMinOn) return false;
    page_.on[static_cast<std::size_t>(label)] = !on;
    if (on && page_.current == label) page_.current = lowestOn();
    // A first value switched on with nothing current becomes the current one.
    if (!on && !page_.current) page_.current = label;
    page_.touched = true;
    return true;
}

bool ResolutionRules::makeCurrent(int label) {
    if (!barEnabled(label)) return false;
    page_.current = label;
    page_.touched = true;
    return true;
}

bool ResolutionRules::chooseRate(int option) {
    if (option != 1 && option != 2) return false;
    page_.reportRate = option == 1 ? 1000 : 500;
    return true;
}

std::optional<int> ResolutionRules::labelOf(std::string_view caption) const {
    if (caption.empty()) return std::nullopt;
    for (int l = 0; l < kLabelCount; ++l)
        if (page_.captions[static_cast<std::size_t>(l)] == caption) return l;
    return std::nullopt;
}

ResolutionRules::LevelsResult ResolutionRules::setLevels(std::span<const int> labels,
                                                         std::optional<int> current) {
    if (labels.size() < static_cast<std::size_t>(kMinOn) ||
        labels.size() > static_cast<std::size_t>(kMaxOn))
        return LevelsResult::Count;
    std::array<bool, 8> on{};
    for (int l : labels) {
        if (!valid(l)) return LevelsResult::UnknownLabel;
        if (on[static_cast<std::size_t>(l)]) return LevelsResult::Duplicate;
        on[static_cast<std::size_t>(l)] = true;
    }
    if (current && !(valid(*current) && on[static_cast<std::size_t>(*current)]))
        return LevelsResult::CurrentNotOn;
    page_.on = on;
    if (current)
        page_.current = current;
    else if (!(page_.current && isOn(*page_.current)))
        page_.current = lowestOn();
    page_.touched = true;
    return LevelsResult::Ok;
}

} // namespace orlix::pages
