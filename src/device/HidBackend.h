#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace orlix::device {

// One present HID interface (on Windows one top-level collection). The feature report length
// counts the report id byte, as the Windows HID capabilities do; 0 means none or unknown.
struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t featureReportLength = 0;
    // The physical device the interface belongs to (on Linux its USB device in sysfs); empty
    // when the backend cannot tell. Interfaces with the same parent are one mouse.
    std::string parent;
};

// An open interface as the backend knows it; 0 is never a valid handle.
using HidHandle = std::uint64_t;
inline constexpr HidHandle kNoHandle = 0;

// The operating system's HID access, reduced to what the link needs. Every call is
// synchronous and reports failure by its result; none throws for a device error.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Present interfaces that can be opened, in the system's order.
    virtual std::vector<HidInterfaceInfo> enumerate() = 0;

    // The number of present interfaces; backends may count without querying each one.
    virtual int countInterfaces() { return static_cast<int>(enumerate().size()); }

    // Opens a path without asking for access rights where the OS has that notion.
    virtual HidHandle open(const std::string& path) = 0;

    // A whole feature report, byte 0 the report id.
    virtual bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) = 0;

    // Fetches a feature report into `report`; byte 0 holds the report id on entry.
    virtual bool getFeature(HidHandle handle, std::span<std::uint8_t> report) = 0;

    virtual void close(HidHandle handle) = 0;
};

// The platform's own HID access (hidapi on Linux and macOS, hid.dll on Windows).
std::unique_ptr<HidBackend> makeSystemHidBackend();

} // namespace orlix::device
