#pragma once

#include "device/HidBackend.h"

namespace orlix::device {

// HID access on Windows through hid.dll and setupapi.dll, both loaded by name at first use
// and kept for the life of the process. Without setupapi.dll nothing is found; without
// hid.dll (or one of its entry points) the interfaces are still counted but report no ids
// and no feature length, so nothing matches.
class WindowsHidBackend : public HidBackend {
public:
    std::vector<HidInterfaceInfo> enumerate() override;
    int countInterfaces() override;
    HidHandle open(const std::string& path) override;
    bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(HidHandle handle, std::span<std::uint8_t> report) override;
    void close(HidHandle handle) override;

    // Whether the two libraries and all their entry points were found.
    static bool setupApiLoaded();
    static bool hidLoaded();
};

} // namespace orlix::device
