#pragma once

#include "device/HidBackend.h"
#include "device/Protocol.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orlix::device {

// A software model of the mouse's side of the protocol, behind the same HidBackend the real
// devices use. It keeps a 64 KiB memory map, the registers, the device information and the
// block-transfer state machine, so a wrong command sequence shows up in its memory or in
// its list of protocol violations, just as it would on the device.
class SimulatedMouse : public HidBackend {
public:
    enum class Kind { Basic, Macro };

    // How the mouse presents its feature reports to the host.
    enum class Layout {
        OneCollection,      // commands and data on one vendor collection
        SplitCollections,   // commands on one collection, data on a second
        WrongFeatureLength, // the vendor collection has 64-byte feature reports
        RefusesProbes,      // 8-byte feature reports, but neither of the two report ids
    };

    struct Settings {
        Kind kind = Kind::Basic;
        Layout layout = Layout::OneCollection;
        std::uint16_t vendorId = 0x1BCF;
        std::uint16_t productId = 0x08A6;
        std::uint8_t dataType = 0x1D;                       // device information byte 3
        std::uint8_t chipCode = 0x50;                       // device information byte 5
        std::uint8_t configuration = 0x04;                  // register 0x90E4
        std::uint8_t flashId = 0x00;                        // register 0x0008
        std::uint8_t signature = protocol::kSignatureValue; // register 0x90E7
        // Crafted bytes written over the image where identification first reads (0x6053 for
        // a basic mouse of data type 0x1D, 0x6057 otherwise); empty: the image as it is.
        std::optional<std::array<std::uint8_t, 2>> idCode;
        std::array<std::uint8_t, 256> image{}; // the stored parameter image
    };

    // Settings of a factory-fresh mouse of each kind whose memory holds `image` byte for byte.
    static Settings basicMouse(const std::array<std::uint8_t, 256>& image);
    static Settings macroMouse(const std::array<std::uint8_t, 256>& image);
    // A macro mouse whose factory wrote the image's identity code over image bytes 87..88
    // as well, so identification matches at 0x6057 whatever the layout.
    static Settings macroMouseCodeAt6057(const std::array<std::uint8_t, 256>& image);

    // One report as the host exchanged it; for a get, the bytes as answered.
    struct Frame {
        bool set = true;
        std::array<std::uint8_t, protocol::kReportSize> bytes{};
        bool ok = true;
    };

    explicit SimulatedMouse(Settings settings);

    // HidBackend
    std::vector<HidInterfaceInfo> enumerate() override;
    HidHandle open(const std::string& path) override;
    bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(HidHandle handle, std::span<std::uint8_t> report) override;
    void close(HidHandle handle) override;

    // The report descriptor of the mouse's USB interface, one top-level collection per entry
    // of its layout (a pointer collection first).
    const std::vector<std::uint8_t>& reportDescriptor() const { return descriptor_; }

    // Other HID interfaces on the same system (keyboards and the like).
    void setOtherInterfaces(int count) { otherInterfaces_ = count; }
    int otherInterfaces() const { return otherInterfaces_; }
    // Called at the start of every enumeration, so a test can change the system between
    // two counts.
    void onEnumerate(std::function<void(SimulatedMouse&)> hook) {
        enumerateHook_ = std::move(hook);
    }

    // Faults.
    void unplug();
    void plugIn();
    bool pluggedIn() const { return plugged_; }
    void unplugAfterReports(std::optional<std::uint64_t> count) { unplugAfter_ = count; }
    // Report `index` fails once (0-based, counting every report since the mouse was made).
    void failReport(std::uint64_t index) { failing_.insert(index); }
    // The mouse stays listed but its interfaces cannot be opened, as a hidraw node without
    // read and write access for the user.
    void refuseOpen(bool on) { refusesOpen_ = on; }
    bool refusesOpen() const { return refusesOpen_; }
    void setLatency(std::chrono::microseconds perReport) { latency_ = perReport; }
    // Report `index` (0-based, as failReport) succeeds, but if it is a data piece of a write
    // the mouse stores its first byte with bit 0 flipped: only reading back shows it.
    void flipBitInReport(std::uint64_t index) { flipping_.insert(index); }

    // Called whenever what the mouse keeps has changed: after every sector erase, every
    // finished (or cut) block write and every reload, so a state file can follow the memory
    // as a real mouse holds it at that moment.
    void onStoredChange(std::function<void()> hook) { storedChangeHook_ = std::move(hook); }

    // What happened.
    std::size_t openHandles() const { return handles_.size(); }
    std::uint64_t reportCount() const { return reportCount_; }
    void recordFrames(bool on) { recording_ = on; }
    const std::vector<Frame>& frames() const { return frames_; }
    void clearFrames() { frames_.clear(); }
    const std::vector<std::string>& violations() const { return violations_; }
    void clearViolations() { violations_.clear(); }
    // Reload commands received (0x19, 0x03, 0x18) in order.
    const std::vector<std::uint8_t>& reloads() const { return reloads_; }
    // The image the mouse runs with, taken at the last reload (or at power-on).
    const std::array<std::uint8_t, 256>& activeImage() const { return active_; }
    // The report-rate code (image byte 28) the mouse reports with: taken at power-on and by
    // the 0x03/0x18 pair, not by 0x19, which leaves the rate as it was.
    std::uint8_t runningReportRate() const { return runningRate_; }
    // Sectors erased since power-on, in order (their high address byte).
    const std::vector<std::uint8_t>& erasedSectors() const { return erased_; }
    // How often one sector (its high address byte) was erased since power-on.
    std::size_t eraseCount(std::uint8_t sector) const;

    // The device memory as a 64 KiB map.
    std::span<const std::uint8_t> memory() const { return memory_; }
    std::span<std::uint8_t> memory() { return memory_; }
    const Settings& settings() const { return settings_; }

    // The state kept between runs: the 64 KiB memory, then a 16-byte record of the kind and
    // the running report rate. A file of the memory alone (older runs) is taken too.
    static constexpr std::size_t kMemorySize = 0x10000;
    static constexpr std::size_t kStateRecordSize = 16;
    static constexpr std::size_t kStateSize = kMemorySize + kStateRecordSize;
    std::vector<std::uint8_t> stateBytes() const;
    // Takes a state read from `name`; an error text (and nothing changed) when its size is
    // not one of the two, or it holds the other kind of mouse.
    std::optional<std::string> restoreState(std::span<const std::uint8_t> bytes,
                                            const std::string& name);

    // The state in a file, without locking (SimulatedMouseStateFile locks). Both return an
    // error text on failure and leave memory and file unchanged; a save is atomic.
    std::optional<std::string> loadMemory(const std::filesystem::path& file);
    std::optional<std::string> saveMemory(const std::filesystem::path& file) const;

private:
    struct Collection {
        std::vector<std::uint8_t> featureIds; // report ids it takes; empty: none
        std::uint16_t featureLength = 0;      // with the id byte, from the descriptor
    };
    enum class Mode { Idle, Reply, Reading, Writing };
    struct OpenInterface {
        std::size_t collection;
        int generation;
        bool mouse;
    };

    void buildDescriptor();
    bool beginReport();
    void pace() const;
    // Each is false when the report breaks the protocol: the mouse then fails it.
    bool command(std::span<const std::uint8_t> r);
    void readRegister(std::uint16_t reg);
    bool eraseSector(std::span<const std::uint8_t> r);
    bool dataIn(std::span<const std::uint8_t> payload);
    bool dataOut(std::span<std::uint8_t> payload);
    std::uint32_t physical(std::uint32_t offset) const;
    void checkMapped(); // a block transfer outside the memory map is a violation
    void program(std::uint32_t address, std::uint8_t value);
    bool violation(std::string text); // records it; false, for `return violation(...)`
    void record(bool set, std::span<const std::uint8_t> bytes, bool ok);
    void finishOpenTransfer();
    void placeInitialContents();
    void storedChanged() const;

    Settings settings_;
    std::vector<Collection> collections_;
    std::vector<std::uint8_t> descriptor_;
    std::vector<std::uint8_t> memory_;
    std::array<std::uint8_t, 256> active_{};
    std::uint8_t runningRate_ = 0;

    Mode mode_ = Mode::Idle;
    std::array<std::uint8_t, protocol::kPayloadSize> reply_{};
    bool shortAddress_ = false;
    std::uint32_t transferAddress_ = 0; // two-byte address, or the low byte for short forms
    std::uint32_t transferDone_ = 0;
    std::uint32_t transferLength_ = 0;
    bool ratePending_ = false;
    bool programFault_ = false; // one violation per write transfer is enough

    std::map<HidHandle, OpenInterface> handles_;
    HidHandle nextHandle_ = 1;
    int generation_ = 0;
    bool plugged_ = true;
    bool refusesOpen_ = false;
    int otherInterfaces_ = 0;
    std::function<void(SimulatedMouse&)> enumerateHook_;

    std::optional<std::uint64_t> unplugAfter_;
    std::set<std::uint64_t> failing_;
    std::set<std::uint64_t> flipping_;
    bool flipNext_ = false; // the data report being taken carries the flipped bit
    std::function<void()> storedChangeHook_;
    std::chrono::microseconds latency_{0};

    std::uint64_t reportCount_ = 0;
    bool recording_ = false;
    std::vector<Frame> frames_;
    std::vector<std::string> violations_;
    std::vector<std::uint8_t> reloads_;
    std::vector<std::uint8_t> erased_;
};

} // namespace orlix::device
