#pragma once

#include "platform/PointerSettings.h"

#include <array>
#include <optional>

namespace orlix::pages {

// The three ten-step scales of the Advanced page over the system's pointer settings:
// PointerSpeedStep, DoubleClickStep and ScrollLinesStep. A step is 1..10, or 0 while the
// system's value is unknown or not one of the table's. Clicks only move the steps; apply()
// writes the chosen steps' values and applies them. A value that was neither read nor chosen
// is never written or applied, and a step of 0 leaves the user's own value in place.
class PointerScales {
public:
    using Setting = platform::PointerSetting;
    static constexpr int kSteps = 10;

    // The system value written for steps 1..10.
    static const std::array<int, kSteps>& table(Setting setting);
    // The step whose table value is `value`; 0 when there is none.
    static int stepFor(Setting setting, int value);

    // Without a store nothing is supported.
    explicit PointerScales(platform::PointerSettingsStore* store) : store_(store) {}

    bool supported(Setting setting) const;
    int step(Setting setting) const { return steps_[index(setting)]; }
    int pointerSpeedStep() const { return step(Setting::Speed); }
    int doubleClickStep() const { return step(Setting::DoubleClick); }
    int scrollLinesStep() const { return step(Setting::WheelLines); }
    // The value last read from or written to the system.
    std::optional<int> remembered(Setting setting) const { return remembered_[index(setting)]; }

    // RefreshMouseSystemParameterA/B: a value the system has is remembered and sets the step
    // (0 outside the table); a missing value leaves both as they were.
    void read();

    // A click on step image n (1..10). False, and no change, for another n or an unsupported
    // setting.
    bool click(Setting setting, int n);

    // What apply() would hand to the store now.
    platform::PointerUpdate pendingUpdate() const;
    // ChangedMouseSystemParameterA/B and the live application.
    platform::PointerResult apply();

private:
    static std::size_t index(Setting s) { return static_cast<std::size_t>(s); }

    platform::PointerSettingsStore* store_;
    std::array<int, 3> steps_{};
    std::array<std::optional<int>, 3> remembered_{};
};

} // namespace orlix::pages
