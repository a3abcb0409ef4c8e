#pragma once

#include "device/HidBackend.h"
#include "device/Protocol.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace orlix::device {

// Called before every data report of a transfer that shows progress. The window uses it to
// keep its loading window alive and let pending events run.
using ReportHook = std::function<void()>;

enum class BlockRead : std::uint8_t {
    ShortAddress = protocol::kCmdReadShort, // only the address low byte is sent
    LongAddress = protocol::kCmdReadLong,
};
enum class BlockWrite : std::uint8_t {
    ShortAddress = protocol::kCmdWriteShort,
    LongAddress = protocol::kCmdWriteLong,
};

// The interfaces of one physical device, in enumeration order.
struct HidDeviceGroup {
    std::string parent; // empty: interfaces whose device the backend could not tell
    std::vector<HidInterfaceInfo> interfaces;
};

// Groups interfaces by their parent device, groups in the order of their first interface.
std::vector<HidDeviceGroup> groupByParent(const std::vector<HidInterfaceInfo>& interfaces);

// Whether `path` names `info`: its own path, or the node its "#n" collection path is under.
bool pathNames(const std::string& path, const HidInterfaceInfo& info);

struct TargetId {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    bool empty() const { return vendorId == 0 || productId == 0; }
};

// What the hot-plug poll asks of the window. `wait` blocks (or pumps events) for the pause
// before an open; `showNoDevice` puts the window into its no-device state; `identify` runs
// the identification of the mouse just opened.
struct PollHooks {
    std::function<void(std::chrono::milliseconds)> wait;
    std::function<void()> showNoDevice;
    std::function<void()> identify;
};

enum class PollResult {
    Busy,      // a poll or a transfer was already running; nothing done
    Unchanged, // no stable change in the number of HID interfaces
    Acted,     // the link was dropped and the target table walked
};

// The open mouse: two handles (one per report id), the frame operations and the block
// transfers built on them, and the hot-plug poll. One instance per program, used from one
// thread.
class DeviceLink {
public:
    static constexpr std::chrono::milliseconds kReopenDelay{2000};
    static constexpr int kPollSamples = 5;
    // After this many failed reports in a row the mouse is taken as gone: the link sends
    // nothing more until clearStall() (each sequence starts with it) or a new open. With the
    // kernel's control timeout, going on would hold the window for minutes.
    static constexpr int kStallAfter = 3;

    explicit DeviceLink(HidBackend& backend);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    HidBackend& backend() { return backend_; }

    int countHidInterfaces();
    // Scans every interface; true when one matched the ids with 8-byte feature reports,
    // whether or not it accepted the probes. With several matching mice only the interfaces
    // of one physical device are probed, so both handles always belong to the same mouse:
    // the one chosen with chooseDevice(), else the first one found.
    bool openDevice(std::uint16_t vendorId, std::uint16_t productId);
    // Chooses the mouse by the path of one of its interfaces (a hidraw node path also
    // names all of its collections); empty: the first one found.
    void chooseDevice(std::string path) { chosenPath_ = std::move(path); }
    const std::string& chosenDevice() const { return chosenPath_; }
    void dropLink();

    bool isOpen() const { return command_ != kNoHandle && data_ != kNoHandle; }
    bool hasCommandPath() const { return command_ != kNoHandle; }
    bool hasDataPath() const { return data_ != kNoHandle; }
    std::uint16_t currentVendorId() const { return vendorId_; }
    std::uint16_t currentProductId() const { return productId_; }
    std::uint16_t featureLength() const { return featureLength_; }
    bool commandAndDataShareHandle() const { return command_ == data_ && command_ != kNoHandle; }

    bool sendCommand(std::uint8_t code, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
                     std::uint8_t b5);
    bool writeDataReport(std::span<const std::uint8_t, protocol::kPayloadSize> payload);
    // Never fails visibly: the reply reads all 0xFF when the fetch did not succeed.
    void readDataReport();
    const std::array<std::uint8_t, protocol::kPayloadSize>& reply() const { return reply_; }

    // Block transfers of device memory in 7-byte pieces. False only when the block command
    // itself was refused or failed (or `length` does not fit the buffer); a failed data
    // report reads as 0xFF and a failed write piece is skipped, both counted in
    // failedReports(). A stalled link ends the block early. An empty hook shows no progress.
    bool readBlock(BlockRead form, std::uint16_t address, std::uint16_t length,
                   std::span<std::uint8_t> destination, const ReportHook& progress = {});
    bool writeBlock(BlockWrite form, std::uint16_t address, std::uint16_t length,
                    std::span<const std::uint8_t> source, const ReportHook& progress = {});

    // Reports exchanged and reports that failed, since the link object was made.
    std::uint64_t reportCount() const { return reports_; }
    std::uint64_t failedReports() const { return failed_; }
    bool stalled() const { return failedInRow_ >= kStallAfter; }
    void clearStall() { failedInRow_ = 0; }

    // Hot-plug poll.
    std::array<TargetId, 2>& targets() { return targets_; }
    const std::array<TargetId, 2>& targets() const { return targets_; }
    // kNotCounted until the first poll has counted.
    static constexpr int kNotCounted = -1;
    int lastInterfaceCount() const { return lastCount_; }
    bool pollRunning() const { return polling_; }
    // A poll while a transfer sequence runs returns Busy: it would drop the link under it.
    PollResult poll(const PollHooks& hooks);

    // Asked before every command report. Once it answers true no further block or command
    // is sent; a block already under way is finished, so the mouse is never left with a
    // block cut in the middle. Empty: never stop.
    void setStopCheck(std::function<bool()> check) { stopCheck_ = std::move(check); }
    // Commands held back by the stop check since the link object was made.
    std::uint64_t heldBack() const { return heldBack_; }

    // Marks a transfer sequence running; set by the sequences for their whole length.
    bool transferRunning() const { return transferring_; }
    void setTransferRunning(bool running) { transferring_ = running; }

private:
    bool send(HidHandle handle, const std::array<std::uint8_t, protocol::kReportSize>& frame);
    void count(bool ok);
    void closeHandle(HidHandle handle);

    HidBackend& backend_;
    HidHandle command_ = kNoHandle;
    HidHandle data_ = kNoHandle;
    std::uint16_t vendorId_ = 0;
    std::uint16_t productId_ = 0;
    std::uint16_t featureLength_ = 0;
    std::array<std::uint8_t, protocol::kPayloadSize> reply_{};
    std::array<TargetId, 2> targets_{};
    // Not 0: a machine with no HID interface at all must still get its no-device state at
    // the first poll.
    int lastCount_ = kNotCounted;
    bool polling_ = false;
    bool transferring_ = false;
    std::uint64_t reports_ = 0;
    std::uint64_t failed_ = 0;
    int failedInRow_ = 0;
    std::string chosenPath_;
    std::function<bool()> stopCheck_;
    std::uint64_t heldBack_ = 0;
};

} // namespace orlix::device
