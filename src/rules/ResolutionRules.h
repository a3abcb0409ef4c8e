#pragma once

#include "model/PageState.h"

#include <optional>
#include <span>
#include <string_view>

namespace orlix::pages {

// The resolution and report-rate rules of the Advanced page, over what the page shows. The
// eight value labels (0..7) are on or off; two to four of them are on. The current level is
// the bar of one switched-on value; only those bars take a click. Every accepted change marks
// the resolution as touched, so the next store writes the levels from the labels.
class ResolutionRules {
public:
    static constexpr int kLabelCount = 8;
    static constexpr int kMinOn = 2;
    static constexpr int kMaxOn = 4;

    explicit ResolutionRules(ResolutionPage& page) : page_(page) {}

    int onCount() const;
    bool isOn(int label) const;
    // The bar of a switched-on value is enabled (clickable).
    bool barEnabled(int label) const { return isOn(label); }
    bool isCurrent(int label) const;

    // DPILevel_OnClick. A fifth value is refused, and so is switching one off while two or
    // fewer are on. Switching off the current value makes the lowest value still on current.
    // False when nothing changed.
    bool toggle(int label);
    // CurrentDPI_OnClick: only the bar of a switched-on value reacts.
    bool makeCurrent(int label);
    // ReportRate_OnClick: option 1 is 1000 reports per second, option 2 is 500.
    bool chooseRate(int option);

    // The label whose caption is `caption`; none for an empty or unknown text.
    std::optional<int> labelOf(std::string_view caption) const;

    enum class LevelsResult { Ok, Count, Duplicate, UnknownLabel, CurrentNotOn };
    // Switches on exactly these labels (two to four, distinct). The current level becomes
    // `current` (one of them), else stays where it is if still on, else the lowest. Nothing
    // changes unless the result is Ok.
    LevelsResult setLevels(std::span<const int> labels, std::optional<int> current);

private:
    bool valid(int label) const { return label >= 0 && label < kLabelCount; }
    std::optional<int> lowestOn() const;

    ResolutionPage& page_;
};

} // namespace orlix::pages
