#include "rules/PointerScales.h"

#include <algorithm>

namespace orlix::pages {

namespace {

constexpr std::array<int, PointerScales::kSteps> kSpeed{1, 2, 4, 6, 8, 10, 12, 14, 16, 18};
constexpr std::array<int, PointerScales::kSteps> kDoubleClick{900, 830, 760, 690, 620,
                                                              550, 480, 410, 340, 270};
constexpr std::array<int, PointerScales::kSteps> kWheelLines{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

} // namespace

const std::array<int, PointerScales::kSteps>& PointerScales::table(Setting setting) {
    switch (setting) {
    case Setting::Speed:
        return kSpeed;
    case Setting::DoubleClick:
        return kDoubleClick;
    case Setting::WheelLines:
        break;
    }
    return kWheelLines;
}

int PointerScales::stepFor(Setting setting, int value) {
    const auto& t = table(setting);
    const auto it = std::find(t.begin(), t.end(), value);
    return it == t.end() ? 0 : static_cast<int>(it - t.begin()) + 1;
}

bool PointerScales::supported(Setting setting) const {
    return store_ != nullptr && store_->supports(setting);
}

void PointerScales::read() {
    if (store_ == nullptr) return;
    const platform::PointerValues values = store_->read();
    for (Setting s : platform::kPointerSettings) {
        if (!supported(s) || !values[s]) continue;
        remembered_[index(s)] = values[s];
        steps_[index(s)] = values.betweenValues[index(s)] ? 0 : stepFor(s, *values[s]);
    }
}

bool PointerScales::click(Setting setting, int n) {
    if (n < 1 || n > kSteps || !supported(setting)) return false;
    steps_[index(setting)] = n;
    return true;
}

platform::PointerUpdate PointerScales::pendingUpdate() const {
    platform::PointerUpdate update;
    for (Setting s : platform::kPointerSettings) {
        if (!supported(s)) continue;
        const int step = steps_[index(s)];
        if (step >= 1 && step <= kSteps)
            update.write[s] = table(s)[static_cast<std::size_t>(step - 1)];
        else if (remembered_[index(s)])
            update.reapply[s] = remembered_[index(s)];
    }
    return update;
}

platform::PointerResult PointerScales::apply() {
    if (store_ == nullptr) return {};
    const platform::PointerUpdate update = pendingUpdate();
    platform::PointerResult result = store_->apply(update);
    for (Setting s : platform::kPointerSettings)
        if (update.write[s]) remembered_[index(s)] = update.write[s];
    return result;
}

} // namespace orlix::pages
