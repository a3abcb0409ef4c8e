#include "platform/PointerSettings.h"

namespace orlix::platform {

std::optional<int>& PointerValues::operator[](PointerSetting s) {
    switch (s) {
    case PointerSetting::Speed:
        return speed;
    case PointerSetting::DoubleClick:
        return doubleClick;
    case PointerSetting::WheelLines:
        break;
    }
    return wheelLines;
}

const std::optional<int>& PointerValues::operator[](PointerSetting s) const {
    return const_cast<PointerValues&>(*this)[s];
}

} // namespace orlix::platform
