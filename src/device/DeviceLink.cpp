#include "device/DeviceLink.h"

#include <algorithm>

namespace orlix::device {

using namespace protocol;

namespace {
constexpr std::uint16_t kAcceptedFeatureLength = kReportSize;

std::uint8_t high(std::uint16_t v) {
    return static_cast<std::uint8_t>(v >> 8);
}
std::uint8_t low(std::uint16_t v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}
} // namespace

std::vector<HidDeviceGroup> groupByParent(const std::vector<HidInterfaceInfo>& interfaces) {
    std::vector<HidDeviceGroup> groups;
    for (const HidInterfaceInfo& info : interfaces) {
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&](const HidDeviceGroup& g) { return g.parent == info.parent; });
        if (it == groups.end()) {
            groups.push_back({info.parent, {}});
            it = groups.end() - 1;
        }
        it->interfaces.push_back(info);
    }
    return groups;
}

bool pathNames(const std::string& path, const HidInterfaceInfo& info) {
    if (path.empty()) return false;
    if (info.path == path) return true;
    const auto hash = info.path.rfind('#');
    return hash != std::string::npos && info.path.compare(0, hash, path) == 0 &&
           hash == path.size();
}

DeviceLink::DeviceLink(HidBackend& backend) : backend_(backend) {}

DeviceLink::~DeviceLink() {
    dropLink();
}

void DeviceLink::closeHandle(HidHandle handle) {
    if (handle != kNoHandle) backend_.close(handle);
}

void DeviceLink::dropLink() {
    const HidHandle command = command_;
    const HidHandle data = data_;
    command_ = kNoHandle;
    data_ = kNoHandle;
    failedInRow_ = 0;
    closeHandle(command);
    if (data != command) closeHandle(data);
    vendorId_ = 0;
    productId_ = 0;
    featureLength_ = 0;
}

int DeviceLink::countHidInterfaces() {
    return backend_.countInterfaces();
}

bool DeviceLink::openDevice(std::uint16_t vendorId, std::uint16_t productId) {
    dropLink();
    std::vector<HidInterfaceInfo> matching;
    for (const HidInterfaceInfo& info : backend_.enumerate()) {
        if (info.featureReportLength == kAcceptedFeatureLength && info.vendorId == vendorId &&
            info.productId == productId) {
            matching.push_back(info);
        }
    }
    // One physical device: the chosen one, else the first. Probing the collections of two
    // mice could leave the command handle on one and the data handle on the other.
    const std::vector<HidDeviceGroup> groups = groupByParent(matching);
    const HidDeviceGroup* group = groups.empty() ? nullptr : &groups.front();
    if (!chosenPath_.empty()) {
        group = nullptr;
        for (const HidDeviceGroup& g : groups) {
            if (std::any_of(g.interfaces.begin(), g.interfaces.end(),
                            [&](const HidInterfaceInfo& i) { return pathNames(chosenPath_, i); })) {
                group = &g;
            }
        }
    }
    if (group == nullptr) return false;

    bool found = false;
    for (const HidInterfaceInfo& info : group->interfaces) {
        const HidHandle handle = backend_.open(info.path);
        if (handle == kNoHandle) continue;
        found = true;
        vendorId_ = vendorId;
        productId_ = productId;
        featureLength_ = info.featureReportLength;

        // Probe which report ids this collection takes; the last one that takes an id keeps it.
        const std::array<std::uint8_t, kReportSize> commandProbe{kCommandReportId,
                                                                 kCmdReadRegister,
                                                                 high(kRegProbe),
                                                                 low(kRegProbe),
                                                                 0x00,
                                                                 0x01,
                                                                 0x00,
                                                                 0x00};
        const std::array<std::uint8_t, kReportSize> dataProbe{kDataReportId, 0, 0, 0, 0, 0, 0, 0};
        const bool takesCommands = send(handle, commandProbe);
        const bool takesData = send(handle, dataProbe);
        std::array<HidHandle, 2> previous{command_, data_};
        if (previous[0] == previous[1]) previous[1] = kNoHandle;
        if (takesCommands) command_ = handle;
        if (takesData) data_ = handle;
        for (HidHandle old : previous) {
            if (old != kNoHandle && old != command_ && old != data_) closeHandle(old);
        }
        if (!takesCommands && !takesData) backend_.close(handle);
    }
    // Probes a collection refuses are no sign of a mouse that stopped answering.
    clearStall();
    return found;
}

void DeviceLink::count(bool ok) {
    ++reports_;
    if (ok) {
        failedInRow_ = 0;
    } else {
        ++failed_;
        ++failedInRow_;
    }
}

bool DeviceLink::send(HidHandle handle, const std::array<std::uint8_t, kReportSize>& frame) {
    const bool ok = backend_.setFeature(handle, frame);
    count(ok);
    return ok;
}

bool DeviceLink::sendCommand(std::uint8_t code, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
                             std::uint8_t b5) {
    if (command_ == kNoHandle || stalled()) return false;
    if (stopCheck_ && stopCheck_()) {
        ++heldBack_;
        return false;
    }
    return send(command_, {kCommandReportId, code, b2, b3, b4, b5, 0x00, 0x00});
}

bool DeviceLink::writeDataReport(std::span<const std::uint8_t, kPayloadSize> payload) {
    if (data_ == kNoHandle || stalled()) return false;
    std::array<std::uint8_t, kReportSize> frame{};
    frame[0] = kDataReportId;
    std::copy(payload.begin(), payload.end(), frame.begin() + 1);
    return send(data_, frame);
}

void DeviceLink::readDataReport() {
    reply_.fill(0xFF);
    if (data_ == kNoHandle || stalled()) return;
    std::array<std::uint8_t, kReportSize> frame{kDataReportId, 0, 0, 0, 0, 0, 0, 0};
    const bool ok = backend_.getFeature(data_, frame);
    count(ok);
    if (ok) std::copy(frame.begin() + 1, frame.end(), reply_.begin());
}

bool DeviceLink::readBlock(BlockRead form, std::uint16_t address, std::uint16_t length,
                           std::span<std::uint8_t> destination, const ReportHook& progress) {
    if (destination.size() < length) return false;
    std::fill_n(destination.begin(), length, std::uint8_t{0xFF});
    const bool longForm = form == BlockRead::LongAddress;
    if (!sendCommand(static_cast<std::uint8_t>(form), longForm ? high(address) : 0x00, low(address),
                     high(length), low(length))) {
        return false;
    }
    std::size_t done = 0;
    for (std::size_t piece = 0; piece < piecesFor(length) && !stalled(); ++piece) {
        if (progress) progress();
        readDataReport();
        const std::size_t take = std::min<std::size_t>(kPayloadSize, length - done);
        std::copy_n(reply_.begin(), take, destination.begin() + static_cast<std::ptrdiff_t>(done));
        done += take;
    }
    return true;
}

bool DeviceLink::writeBlock(BlockWrite form, std::uint16_t address, std::uint16_t length,
                            std::span<const std::uint8_t> source, const ReportHook& progress) {
    if (source.size() < length) return false;
    const bool longForm = form == BlockWrite::LongAddress;
    if (!sendCommand(static_cast<std::uint8_t>(form), longForm ? high(address) : 0x00, low(address),
                     high(length), low(length))) {
        return false;
    }
    std::array<std::uint8_t, kPayloadSize> staging{};
    std::size_t done = 0;
    for (std::size_t piece = 0; piece < piecesFor(length) && !stalled(); ++piece) {
        if (progress) progress();
        const std::size_t take = std::min<std::size_t>(kPayloadSize, length - done);
        staging.fill(0xFF);
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(done), take, staging.begin());
        writeDataReport(staging); // a lost piece is counted in failedReports()
        done += take;
    }
    return true;
}

PollResult DeviceLink::poll(const PollHooks& hooks) {
    if (polling_ || transferring_) return PollResult::Busy;
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(polling_);

    int count = 0;
    int agree = 0;
    for (int sample = 0; sample < kPollSamples; ++sample) {
        const int first = countHidInterfaces();
        const int second = countHidInterfaces();
        if (first == second) ++agree;
        if (sample == kPollSamples - 1) count = first;
    }
    if (count == lastCount_ || agree < 2) return PollResult::Unchanged;

    dropLink();
    for (const TargetId& target : targets_) {
        if (target.empty()) {
            if (hooks.showNoDevice) hooks.showNoDevice();
            continue;
        }
        if (hooks.wait) hooks.wait(kReopenDelay);
        if (openDevice(target.vendorId, target.productId)) {
            if (hooks.identify) hooks.identify();
            break;
        }
    }
    lastCount_ = count;
    return PollResult::Acted;
}

} // namespace orlix::device
