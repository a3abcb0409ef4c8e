#include "device/posix/HidapiBackend.h"

#include "device/ReportDescriptor.h"

#include <hidapi.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace orlix::device {
namespace {
constexpr std::size_t kMaxDescriptorSize = 4096; // the kernel's own limit
} // namespace

std::pair<std::string, std::size_t> splitCollectionPath(const std::string& path) {
    const auto hash = path.rfind('#');
    if (hash == std::string::npos || hash + 1 == path.size() || path.size() - hash > 4) {
        return {path, 0};
    }
    std::size_t index = 0;
    for (std::size_t i = hash + 1; i < path.size(); ++i) {
        if (path[i] < '0' || path[i] > '9') return {path, 0};
        index = index * 10 + static_cast<std::size_t>(path[i] - '0');
    }
    return {path.substr(0, hash), index};
}

std::optional<std::vector<std::uint8_t>> readHidrawDescriptor(const std::string& devicePath) {
#if defined(__linux__)
    const std::string node = std::filesystem::path(devicePath).filename().string();
    if (node.rfind("hidraw", 0) != 0) return std::nullopt;
    std::ifstream in("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(kMaxDescriptorSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.empty()) return std::nullopt;
    return bytes;
#else
    (void)devicePath;
    (void)kMaxDescriptorSize;
    return std::nullopt;
#endif
}

std::string hidrawParentDevice(const std::string& devicePath, const std::filesystem::path& sysfs) {
    const std::string node = std::filesystem::path(devicePath).filename().string();
    if (node.rfind("hidraw", 0) != 0 || node.find('/') != std::string::npos) return {};
    std::error_code ec;
    // class/hidraw/hidrawN/device links to the HID device: .../<device>/<interface>/<hid>.
    const std::filesystem::path hid =
        std::filesystem::canonical(sysfs / "class" / "hidraw" / node / "device", ec);
    if (ec) return {};
    const std::filesystem::path device = hid.parent_path().parent_path();
    if (device.empty() || device == device.root_path()) return {};
    return device.string();
}

HidapiBackend::HidapiBackend() {
    initialised_ = hid_init() == 0;
}

HidapiBackend::~HidapiBackend() {
    for (auto& [handle, device] : devices_)
        hid_close(device);
    devices_.clear();
    if (initialised_) hid_exit();
}

std::vector<HidInterfaceInfo> HidapiBackend::enumerate() {
    std::vector<HidInterfaceInfo> list;
    if (!initialised_) return list;
    hid_device_info* all = hid_enumerate(0, 0); // NULL when there is no device at all
    std::set<std::string> seen;
    for (const hid_device_info* d = all; d != nullptr; d = d->next) {
        if (d->path == nullptr || !seen.insert(d->path).second) continue;
        const std::string path = d->path;
        std::vector<CollectionCaps> collections;
        if (auto descriptor = readHidrawDescriptor(path)) {
            ParsedDescriptor parsed = parseReportDescriptor(*descriptor);
            if (!parsed.error) collections = std::move(parsed.collections);
        }
        if (collections.empty()) collections.emplace_back(); // unknown: no feature reports
        const std::string parent = hidrawParentDevice(path);
        for (std::size_t i = 0; i < collections.size(); ++i) {
            HidInterfaceInfo info;
            info.path = collections.size() == 1 ? path : path + "#" + std::to_string(i);
            info.vendorId = d->vendor_id;
            info.productId = d->product_id;
            info.featureReportLength = collections[i].featureReportLength;
            info.parent = parent;
            list.push_back(std::move(info));
        }
    }
    hid_free_enumeration(all);
    return list;
}

HidHandle HidapiBackend::open(const std::string& path) {
    if (!initialised_) return kNoHandle;
    const auto [node, collection] = splitCollectionPath(path);
    (void)collection; // all collections of a node share its file
    hid_device* device = hid_open_path(node.c_str());
    if (device == nullptr) return kNoHandle;
    const HidHandle handle = next_++;
    devices_[handle] = device;
    return handle;
}

bool HidapiBackend::setFeature(HidHandle handle, std::span<const std::uint8_t> report) {
    auto it = devices_.find(handle);
    if (it == devices_.end() || report.empty()) return false;
    return hid_send_feature_report(it->second, report.data(), report.size()) >= 0;
}

bool HidapiBackend::getFeature(HidHandle handle, std::span<std::uint8_t> report) {
    auto it = devices_.find(handle);
    if (it == devices_.end() || report.empty()) return false;
    const int got = hid_get_feature_report(it->second, report.data(), report.size());
    return got == static_cast<int>(report.size());
}

void HidapiBackend::close(HidHandle handle) {
    auto it = devices_.find(handle);
    if (it == devices_.end()) return;
    hid_close(it->second);
    devices_.erase(it);
}

std::unique_ptr<HidBackend> makeSystemHidBackend() {
    return std::make_unique<HidapiBackend>();
}

} // namespace orlix::device
