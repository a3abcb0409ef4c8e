#include "device/SimulatedMouse.h"

#include "device/MemoryPlan.h"
#include "device/ReportDescriptor.h"
#include "device/SimulatedMouseStateFile.h"
#include "model/MacroStore.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>

namespace orlix::device {
namespace {

using namespace protocol;

constexpr char kStateMagic[8] = {'O', 'r', 'l', 'i', 'x', 'S', 'i', 'm'};
constexpr std::uint8_t kStateVersion = 1;
constexpr std::size_t kImageOffsetCurrentLevel = 27;
constexpr std::size_t kImageOffsetReportRate = 28;
constexpr std::size_t kFlashStart = 0x6000;

const std::string kMousePathPrefix = "sim:mouse/";
const std::string kOtherPathPrefix = "sim:other/";

// A pointer collection as every mouse has one: five buttons, x, y and wheel.
constexpr std::uint8_t kPointerCollection[] = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09,
    0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38,
    0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};

// A vendor collection carrying one byte-array feature report per id.
void appendVendorCollection(std::vector<std::uint8_t>& d, std::uint8_t usage,
                            std::initializer_list<std::uint8_t> ids, std::uint8_t payload) {
    const std::uint8_t head[] = {0x06, 0x00, 0xFF, 0x09, usage, 0xA1, 0x01};
    d.insert(d.end(), std::begin(head), std::end(head));
    for (std::uint8_t id : ids) {
        const std::uint8_t item[] = {0x85, id,   0x09, 0x01, 0x15,    0x00, 0x26, 0xFF,
                                     0x00, 0x75, 0x08, 0x95, payload, 0xB1, 0x02};
        d.insert(d.end(), std::begin(item), std::end(item));
    }
    d.push_back(0xC0);
}

std::optional<std::size_t> indexAfter(const std::string& path, const std::string& prefix) {
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return {};
    std::size_t value = 0;
    for (std::size_t i = prefix.size(); i < path.size(); ++i) {
        const char c = path[i];
        if (c < '0' || c > '9' || value > 100000) return {};
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

std::string hex4(std::uint32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value & 0xFFFF));
    return text;
}

std::array<std::uint8_t, 2> expectedIdCode(const std::array<std::uint8_t, 256>& image) {
    if (image[1] == 0x3A) return {image[87], image[88]};
    return {image[83], image[84]};
}

} // namespace

SimulatedMouse::Settings SimulatedMouse::basicMouse(const std::array<std::uint8_t, 256>& image) {
    Settings s;
    s.kind = Kind::Basic;
    s.chipCode = kChipBasic;
    s.configuration = 0x04;
    s.flashId = 0x00;
    s.dataType = image[1] == 0x3A ? 0x3A : 0x1D;
    s.vendorId = static_cast<std::uint16_t>(image[2] << 8 | image[3]);
    s.productId = static_cast<std::uint16_t>(image[4] << 8 | image[5]);
    s.image = image;
    return s;
}

SimulatedMouse::Settings
SimulatedMouse::macroMouseCodeAt6057(const std::array<std::uint8_t, 256>& image) {
    Settings s = macroMouse(image);
    s.idCode = expectedIdCode(image);
    return s;
}

SimulatedMouse::Settings SimulatedMouse::macroMouse(const std::array<std::uint8_t, 256>& image) {
    Settings s = basicMouse(image);
    s.kind = Kind::Macro;
    s.chipCode = kChipMacroA0;
    s.configuration = 0x08;
    s.flashId = kFlashId64;
    return s;
}

SimulatedMouse::SimulatedMouse(Settings settings)
    : settings_(std::move(settings)), memory_(kMemorySize, 0xFF) {
    buildDescriptor();
    placeInitialContents();
}

void SimulatedMouse::buildDescriptor() {
    descriptor_.assign(std::begin(kPointerCollection), std::end(kPointerCollection));
    switch (settings_.layout) {
    case Layout::OneCollection:
        appendVendorCollection(descriptor_, 0x01, {kCommandReportId, kDataReportId}, 7);
        break;
    case Layout::SplitCollections:
        appendVendorCollection(descriptor_, 0x01, {kCommandReportId}, 7);
        appendVendorCollection(descriptor_, 0x02, {kDataReportId}, 7);
        break;
    case Layout::WrongFeatureLength:
        appendVendorCollection(descriptor_, 0x01, {kCommandReportId, kDataReportId}, 63);
        break;
    case Layout::RefusesProbes:
        appendVendorCollection(descriptor_, 0x01, {0x42}, 7);
        break;
    }
    // The interfaces are what the descriptor says, read the way a host reads it.
    const ParsedDescriptor parsed = parseReportDescriptor(descriptor_);
    collections_.clear();
    for (const CollectionCaps& caps : parsed.collections) {
        Collection c;
        c.featureLength = caps.featureReportLength;
        if (caps.featureReportLength != 0) c.featureIds = caps.featureReportIds;
        collections_.push_back(std::move(c));
    }
}

void SimulatedMouse::placeInitialContents() {
    std::fill(memory_.begin(), memory_.end(), 0xFF);
    std::copy(settings_.image.begin(), settings_.image.end(), memory_.begin() + kImageAddress);
    const bool readsAt53 = settings_.kind == Kind::Basic && settings_.dataType == 0x1D &&
                           ((settings_.configuration & kConfigIdentityMask) == 0x04 ||
                            (settings_.configuration & kConfigIdentityMask) == 0x0C);
    const std::uint16_t idAddress = readsAt53 ? kIdentityAddress1D : kIdentityAddress;
    if (settings_.idCode) {
        memory_[idAddress] = (*settings_.idCode)[0];
        memory_[idAddress + 1u] = (*settings_.idCode)[1];
    }
    if (settings_.kind == Kind::Macro) {
        // Factory state: an empty, unnamed macro table; bodies erased.
        std::fill_n(memory_.begin() + kMacroTableAddress, kMacroTableSize, std::uint8_t{0});
        std::copy_n(memory_.begin() + kImageAddress + kImageOffsetCurrentLevel, kSectionBCopyLength,
                    memory_.begin() + kSectionBCopyAddress);
        const std::size_t breath = settings_.dataType == 0x3A ? 32 : 89;
        std::copy_n(memory_.begin() + kImageAddress + breath, kUserBreathCopyLength,
                    memory_.begin() + kUserBreathCopyAddress);
    }
    std::copy_n(memory_.begin() + kImageAddress, active_.size(), active_.begin());
    runningRate_ = active_[kImageOffsetReportRate];
}

std::vector<HidInterfaceInfo> SimulatedMouse::enumerate() {
    if (enumerateHook_) enumerateHook_(*this);
    std::vector<HidInterfaceInfo> list;
    for (int i = 0; i < otherInterfaces_; ++i) {
        list.push_back({kOtherPathPrefix + std::to_string(i), 0x046D,
                        static_cast<std::uint16_t>(0xC500 + i), 0,
                        kOtherPathPrefix + std::to_string(i)});
    }
    if (plugged_) {
        for (std::size_t i = 0; i < collections_.size(); ++i) {
            list.push_back({kMousePathPrefix + std::to_string(i), settings_.vendorId,
                            settings_.productId, collections_[i].featureLength, "sim:mouse"});
        }
    }
    return list;
}

HidHandle SimulatedMouse::open(const std::string& path) {
    if (auto other = indexAfter(path, kOtherPathPrefix)) {
        if (*other >= static_cast<std::size_t>(otherInterfaces_)) return kNoHandle;
        handles_[nextHandle_] = {*other, generation_, false};
        return nextHandle_++;
    }
    auto index = indexAfter(path, kMousePathPrefix);
    if (!index || !plugged_ || refusesOpen_ || *index >= collections_.size()) return kNoHandle;
    handles_[nextHandle_] = {*index, generation_, true};
    return nextHandle_++;
}

void SimulatedMouse::close(HidHandle handle) {
    handles_.erase(handle);
}

void SimulatedMouse::unplug() {
    if (!plugged_) return;
    plugged_ = false;
    ++generation_;
    const bool cutWrite = mode_ == Mode::Writing;
    mode_ = Mode::Idle; // whatever was in flight is lost
    if (cutWrite) storedChanged();
}

void SimulatedMouse::plugIn() {
    if (plugged_) return;
    plugged_ = true;
    mode_ = Mode::Idle;
    ratePending_ = false;
}

bool SimulatedMouse::beginReport() {
    const std::uint64_t index = reportCount_++;
    if (!plugged_) return false;
    if (unplugAfter_ && index >= *unplugAfter_) {
        unplug();
        return false;
    }
    if (failing_.count(index) != 0) return false;
    flipNext_ = flipping_.count(index) != 0;
    pace();
    return true;
}

void SimulatedMouse::pace() const {
    if (latency_.count() <= 0) return;
    // Sleep most of the way, then wait out the rest precisely: a plain sleep overshoots by
    // tens of microseconds, which adds up over thousands of reports.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + latency_;
    constexpr auto kSpin = std::chrono::microseconds(400);
    if (latency_ > kSpin) std::this_thread::sleep_until(deadline - kSpin);
    while (Clock::now() < deadline) {
    }
}

void SimulatedMouse::record(bool set, std::span<const std::uint8_t> bytes, bool ok) {
    if (!recording_) return;
    Frame f;
    f.set = set;
    f.ok = ok;
    std::copy_n(bytes.begin(), std::min(bytes.size(), f.bytes.size()), f.bytes.begin());
    frames_.push_back(f);
}

bool SimulatedMouse::violation(std::string text) {
    violations_.push_back(std::move(text));
    return false;
}

bool SimulatedMouse::setFeature(HidHandle handle, std::span<const std::uint8_t> report) {
    auto it = handles_.find(handle);
    if (it == handles_.end() || report.empty()) return false;
    const OpenInterface& oi = it->second;
    if (!oi.mouse) return false; // other devices know nothing of these reports
    bool ok = beginReport() && oi.generation == generation_;
    const Collection& c = collections_[oi.collection];
    ok = ok && report.size() == c.featureLength &&
         std::find(c.featureIds.begin(), c.featureIds.end(), report[0]) != c.featureIds.end();
    if (ok) {
        if (report[0] == kCommandReportId)
            ok = command(report);
        else if (report[0] == kDataReportId)
            ok = dataIn(report.subspan(1));
        // any other id of a collection: accepted and ignored
    }
    record(true, report, ok);
    return ok;
}

bool SimulatedMouse::getFeature(HidHandle handle, std::span<std::uint8_t> report) {
    auto it = handles_.find(handle);
    if (it == handles_.end() || report.empty()) return false;
    const OpenInterface& oi = it->second;
    if (!oi.mouse) return false;
    bool ok = beginReport() && oi.generation == generation_;
    const Collection& c = collections_[oi.collection];
    ok = ok && report.size() == c.featureLength &&
         std::find(c.featureIds.begin(), c.featureIds.end(), report[0]) != c.featureIds.end();
    if (ok) {
        if (report[0] == kDataReportId)
            ok = dataOut(report.subspan(1));
        else
            ok = violation("get of report " + hex4(report[0]) + ", which answers nothing");
    }
    record(false, report, ok);
    return ok;
}

void SimulatedMouse::storedChanged() const {
    if (storedChangeHook_) storedChangeHook_();
}

void SimulatedMouse::finishOpenTransfer() {
    if (mode_ == Mode::Writing && transferDone_ < transferLength_) {
        storedChanged(); // the part that arrived is stored
        violation("write of " + std::to_string(transferLength_) + " bytes at " +
                  hex4(transferAddress_) + " cut short after " + std::to_string(transferDone_));
    } else if (mode_ == Mode::Reading && transferDone_ < transferLength_) {
        violation("read of " + std::to_string(transferLength_) + " bytes at " +
                  hex4(transferAddress_) + " cut short after " + std::to_string(transferDone_));
    }
    mode_ = Mode::Idle;
}

bool SimulatedMouse::command(std::span<const std::uint8_t> r) {
    finishOpenTransfer();
    const std::uint8_t code = r[1];
    if (r.size() < kReportSize || r[6] != 0 || r[7] != 0) {
        return violation("command " + hex4(code) + " with bytes 6 and 7 not zero");
    }
    const bool argumentsZero = r[2] == 0 && r[3] == 0 && r[4] == 0 && r[5] == 0;
    const bool macro = settings_.kind == Kind::Macro;
    const auto startTransfer = [&](Mode mode, bool shortForm) {
        shortAddress_ = shortForm;
        transferAddress_ = shortForm ? r[3] : static_cast<std::uint32_t>(r[2] << 8 | r[3]);
        transferLength_ = static_cast<std::uint32_t>(r[4] << 8 | r[5]);
        transferDone_ = 0;
        mode_ = transferLength_ == 0 ? Mode::Idle : mode;
        checkMapped();
    };
    switch (code) {
    case kCmdReadRegister:
        readRegister(static_cast<std::uint16_t>(r[2] << 8 | r[3]));
        break;
    case kCmdDeviceInfo:
        if (!argumentsZero) return violation("device information with arguments");
        reply_ = {0x01, 0x00, 0x00, settings_.dataType, 0x00, settings_.chipCode, 0x00};
        mode_ = Mode::Reply;
        break;
    case kCmdReadShort:
        startTransfer(Mode::Reading, true);
        break;
    case kCmdWriteShort:
        startTransfer(Mode::Writing, true);
        break;
    case kCmdReadLong:
    case kCmdWriteLong:
        if (!macro) return violation("command " + hex4(code) + " is not known to a basic mouse");
        startTransfer(code == kCmdReadLong ? Mode::Reading : Mode::Writing, false);
        break;
    case kCmdEraseSector:
        if (!macro) return violation("command " + hex4(code) + " is not known to a basic mouse");
        return eraseSector(r);
    case kCmdReload:
        if (!argumentsZero) return violation("reload with arguments");
        reloads_.push_back(code);
        if (ratePending_) {
            ratePending_ = false;
            return violation("reload after an unfinished report-rate change");
        }
        std::copy_n(memory_.begin() + kImageAddress, active_.size(), active_.begin());
        storedChanged();
        break;
    case kCmdReloadRateFirst:
        if (r[2] != 0x00 || r[3] != 0x01 || r[4] != 0 || r[5] != 0) {
            return violation("report-rate change with odd arguments");
        }
        reloads_.push_back(code);
        ratePending_ = true;
        break;
    case kCmdReloadRateSecond:
        if (!argumentsZero) return violation("report-rate reload with arguments");
        if (!ratePending_) return violation("report-rate reload without its first command");
        reloads_.push_back(code);
        ratePending_ = false;
        std::copy_n(memory_.begin() + kImageAddress, active_.size(), active_.begin());
        runningRate_ = active_[kImageOffsetReportRate];
        storedChanged();
        break;
    default:
        return violation("unknown command " + hex4(code));
    }
    return true;
}

void SimulatedMouse::checkMapped() {
    // The controller answers anywhere, but the program has no business outside its areas.
    if (mode_ == Mode::Idle || memory::inMap(physical(0), transferLength_)) return;
    violation(std::string(mode_ == Mode::Reading ? "read" : "write") + " of " +
              std::to_string(transferLength_) + " bytes at " + hex4(physical(0)) +
              " outside the memory map");
}

void SimulatedMouse::readRegister(std::uint16_t reg) {
    reply_.fill(0);
    if (reg == kRegSignature)
        reply_[0] = settings_.signature;
    else if (reg == kRegConfiguration)
        reply_[0] = settings_.configuration;
    else if (reg == kRegFlashId)
        reply_[0] = settings_.flashId;
    mode_ = Mode::Reply;
}

// Flash semantics: a whole sector of the macro area goes back to FF.
bool SimulatedMouse::eraseSector(std::span<const std::uint8_t> r) {
    const std::uint8_t sector = r[2];
    if (sector < kFirstSector || (sector & 0x0F) != 0 || r[3] != 0 || r[4] != 0 || r[5] != 0) {
        return violation("erase of sector " + hex4(static_cast<std::uint32_t>(sector) << 8) +
                         " refused");
    }
    const std::size_t start = static_cast<std::size_t>(sector) << 8;
    std::fill_n(memory_.begin() + static_cast<std::ptrdiff_t>(start), kSectorSize,
                std::uint8_t{0xFF});
    erased_.push_back(sector);
    storedChanged();
    return true;
}

std::uint32_t SimulatedMouse::physical(std::uint32_t offset) const {
    if (shortAddress_) return kImageAddress + ((transferAddress_ + offset) & 0xFF);
    return (transferAddress_ + offset) & 0xFFFF;
}

void SimulatedMouse::program(std::uint32_t address, std::uint8_t value) {
    std::uint8_t& cell = memory_[address];
    if (settings_.kind == Kind::Basic) {
        cell = value; // the controller rewrites its parameter page itself
        return;
    }
    if (address < kFlashStart) {
        violation("write below the flash at " + hex4(address));
        return;
    }
    // Flash: programming can only clear bits.
    const std::uint8_t stored = static_cast<std::uint8_t>(cell & value);
    if (stored != value && !programFault_) {
        programFault_ = true;
        violation("flash at " + hex4(address) + " written without erase");
    }
    cell = stored;
}

bool SimulatedMouse::dataIn(std::span<const std::uint8_t> payload) {
    if (mode_ == Mode::Reading) return violation("data written during a read");
    if (mode_ != Mode::Writing) return true; // the open probe, or stray data: ignored
    if (transferDone_ == 0) programFault_ = false;
    for (std::size_t i = 0; i < payload.size() && transferDone_ < transferLength_; ++i) {
        const bool flip = i == 0 && flipNext_;
        program(physical(transferDone_),
                flip ? static_cast<std::uint8_t>(payload[i] ^ 0x01) : payload[i]);
        ++transferDone_;
    }
    flipNext_ = false;
    if (transferDone_ >= transferLength_) {
        mode_ = Mode::Idle;
        storedChanged();
    }
    return true;
}

bool SimulatedMouse::dataOut(std::span<std::uint8_t> payload) {
    std::fill(payload.begin(), payload.end(), std::uint8_t{0});
    switch (mode_) {
    case Mode::Reply:
        std::copy_n(reply_.begin(), std::min(reply_.size(), payload.size()), payload.begin());
        mode_ = Mode::Idle;
        break;
    case Mode::Reading:
        for (std::size_t i = 0; i < payload.size() && transferDone_ < transferLength_; ++i) {
            payload[i] = memory_[physical(transferDone_)];
            ++transferDone_;
        }
        if (transferDone_ >= transferLength_) mode_ = Mode::Idle;
        break;
    case Mode::Writing:
        return violation("data fetched during a write");
    case Mode::Idle:
        return violation("data fetched with nothing to answer");
    }
    return true;
}

std::size_t SimulatedMouse::eraseCount(std::uint8_t sector) const {
    return static_cast<std::size_t>(std::count(erased_.begin(), erased_.end(), sector));
}

std::vector<std::uint8_t> SimulatedMouse::stateBytes() const {
    std::vector<std::uint8_t> bytes(memory_);
    bytes.insert(bytes.end(), std::begin(kStateMagic), std::end(kStateMagic));
    bytes.push_back(kStateVersion);
    bytes.push_back(settings_.kind == Kind::Macro ? 1 : 0);
    bytes.push_back(runningRate_);
    bytes.resize(kStateSize, 0);
    return bytes;
}

std::optional<std::string> SimulatedMouse::restoreState(std::span<const std::uint8_t> bytes,
                                                        const std::string& name) {
    if (bytes.size() != kMemorySize && bytes.size() != kStateSize) {
        return name + " is not a simulated mouse state file (" + std::to_string(bytes.size()) +
               " bytes, expected " + std::to_string(kStateSize) + ")";
    }
    std::uint8_t rate = bytes[kImageAddress + kImageOffsetReportRate];
    if (bytes.size() == kStateSize) {
        const auto record = bytes.subspan(kMemorySize);
        if (!std::equal(std::begin(kStateMagic), std::end(kStateMagic), record.begin()) ||
            record[8] != kStateVersion || record[9] > 1) {
            return name + " is not a simulated mouse state file (unknown record)";
        }
        const Kind kind = record[9] == 1 ? Kind::Macro : Kind::Basic;
        if (kind != settings_.kind) {
            const char* held = kind == Kind::Macro ? "macro" : "basic";
            return name + " holds a simulated " + held + " mouse; use --simulate=" + held +
                   " with it, or another state file";
        }
        rate = record[10];
    }
    memory_.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kMemorySize));
    std::copy_n(memory_.begin() + kImageAddress, active_.size(), active_.begin());
    runningRate_ = rate;
    return std::nullopt;
}

std::optional<std::string> SimulatedMouse::loadMemory(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return "cannot open " + file.string();
    // One byte more than the largest state, so an oversized file shows as such.
    std::vector<std::uint8_t> bytes(kStateSize + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return "cannot read " + file.string();
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return restoreState(bytes, file.string());
}

std::optional<std::string> SimulatedMouse::saveMemory(const std::filesystem::path& file) const {
    return replaceFileContents(file, stateBytes());
}

} // namespace orlix::device
