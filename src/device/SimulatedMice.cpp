#include "device/SimulatedMice.h"

namespace orlix::device {

SimulatedMice::SimulatedMice(std::vector<SimulatedMouse::Settings> mice) {
    for (auto& settings : mice)
        mice_.push_back(std::make_unique<SimulatedMouse>(std::move(settings)));
}

std::string SimulatedMice::prefix(std::size_t index) const {
    return "sim" + std::to_string(index + 1) + ":";
}

std::vector<HidInterfaceInfo> SimulatedMice::enumerate() {
    std::vector<HidInterfaceInfo> list;
    for (std::size_t i = 0; i < mice_.size(); ++i) {
        for (HidInterfaceInfo info : mice_[i]->enumerate()) {
            info.path = prefix(i) + info.path;
            info.parent = prefix(i) + info.parent;
            list.push_back(std::move(info));
        }
    }
    return list;
}

// A handle carries the mouse's number in its top bits and the mouse's own handle below.
HidHandle SimulatedMice::open(const std::string& path) {
    for (std::size_t i = 0; i < mice_.size(); ++i) {
        const std::string p = prefix(i);
        if (path.compare(0, p.size(), p) != 0) continue;
        const HidHandle inner = mice_[i]->open(path.substr(p.size()));
        if (inner == kNoHandle || inner >> kIndexShift != 0) return kNoHandle;
        return static_cast<HidHandle>(i + 1) << kIndexShift | inner;
    }
    return kNoHandle;
}

bool SimulatedMice::setFeature(HidHandle handle, std::span<const std::uint8_t> report) {
    const std::size_t index = static_cast<std::size_t>(handle >> kIndexShift);
    if (index == 0 || index > mice_.size()) return false;
    return mice_[index - 1]->setFeature(handle & ((HidHandle{1} << kIndexShift) - 1), report);
}

bool SimulatedMice::getFeature(HidHandle handle, std::span<std::uint8_t> report) {
    const std::size_t index = static_cast<std::size_t>(handle >> kIndexShift);
    if (index == 0 || index > mice_.size()) return false;
    return mice_[index - 1]->getFeature(handle & ((HidHandle{1} << kIndexShift) - 1), report);
}

void SimulatedMice::close(HidHandle handle) {
    const std::size_t index = static_cast<std::size_t>(handle >> kIndexShift);
    if (index == 0 || index > mice_.size()) return;
    mice_[index - 1]->close(handle & ((HidHandle{1} << kIndexShift) - 1));
}

} // namespace orlix::device
