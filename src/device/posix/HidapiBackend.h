#pragma once

#include "device/HidBackend.h"

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

struct hid_device_;

namespace orlix::device {

// HID access through hidapi (hidraw on Linux). hidapi gives no feature report lengths, so
// the report descriptor of each node is read and parsed here; every top-level collection
// becomes one interface, as on Windows, with "#n" after the node's path when there are
// several.
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    std::vector<HidInterfaceInfo> enumerate() override;
    HidHandle open(const std::string& path) override;
    bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(HidHandle handle, std::span<std::uint8_t> report) override;
    void close(HidHandle handle) override;

private:
    std::map<HidHandle, hid_device_*> devices_;
    HidHandle next_ = 1;
    bool initialised_ = false;
};

// The report descriptor of a hidraw node ("/dev/hidraw3"), read from sysfs.
std::optional<std::vector<std::uint8_t>> readHidrawDescriptor(const std::string& devicePath);

// The physical device a hidraw node belongs to, as sysfs tells it: the device folder two
// levels above the node's HID device (for USB the USB device, above its interface). Empty
// when sysfs does not say. `sysfs` is the root of the tree, so tests can give their own.
std::string hidrawParentDevice(const std::string& devicePath,
                               const std::filesystem::path& sysfs = "/sys");

// Splits "/dev/hidraw3#1" into the node and the collection index (0 without a suffix).
std::pair<std::string, std::size_t> splitCollectionPath(const std::string& path);

} // namespace orlix::device
