#pragma once

#include "device/HidBackend.h"
#include "device/SimulatedMouse.h"

#include <memory>
#include <vector>

namespace orlix::device {

// Several simulated mice on one system, each a physical device of its own: their interfaces
// are enumerated one mouse after the other, paths and parents prefixed with "simN:" (N from
// 1). Every report goes to the mouse whose interface the handle was opened on.
class SimulatedMice : public HidBackend {
public:
    explicit SimulatedMice(std::vector<SimulatedMouse::Settings> mice);

    std::size_t size() const { return mice_.size(); }
    SimulatedMouse& mouse(std::size_t index) { return *mice_.at(index); }
    const SimulatedMouse& mouse(std::size_t index) const { return *mice_.at(index); }

    std::vector<HidInterfaceInfo> enumerate() override;
    HidHandle open(const std::string& path) override;
    bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(HidHandle handle, std::span<std::uint8_t> report) override;
    void close(HidHandle handle) override;

private:
    static constexpr unsigned kIndexShift = 48;
    std::string prefix(std::size_t index) const;
    std::vector<std::unique_ptr<SimulatedMouse>> mice_;
};

} // namespace orlix::device
