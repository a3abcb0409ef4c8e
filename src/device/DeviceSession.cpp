#include "device/DeviceSession.h"

#include <algorithm>

namespace orlix::device {

using namespace protocol;

namespace {

std::uint8_t high(std::uint16_t v) {
    return static_cast<std::uint8_t>(v >> 8);
}
std::uint8_t low(std::uint16_t v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

std::uint64_t reloadReports(const Configuration& config) {
    return config.rate.changed ? 2 : 1;
}

} // namespace

// Counts the reports of one sequence and tells the caller how far it has come.
class DeviceSession::Meter {
public:
    Meter(DeviceLink& link, const ProgressFn& fn)
        : link_(link), fn_(fn), reports_(link.reportCount()), failed_(link.failedReports()) {}

    void setTotal(std::uint64_t total) { total_ = total; }
    ReportHook hook() {
        if (!fn_) return {};
        return [this] { fn_(Progress{done(), total_}); };
    }
    std::uint64_t done() const { return link_.reportCount() - reports_; }
    std::uint64_t failed() const { return link_.failedReports() - failed_; }

    TransferOutcome finish(TransferResult result) {
        const bool started = result != TransferResult::Busy && result != TransferResult::NoDevice;
        if (fn_ && started) fn_(Progress{done(), std::max(total_, done())});
        TransferOutcome out;
        out.result =
            result == TransferResult::Done && failed() != 0 ? TransferResult::Interrupted : result;
        out.reports = done();
        out.failedReports = failed();
        return out;
    }

private:
    DeviceLink& link_;
    const ProgressFn& fn_;
    std::uint64_t reports_;
    std::uint64_t failed_;
    std::uint64_t total_ = 0;
};

// Marks a sequence as running for its whole length. The window lets events run from the
// progress callback, so another command (or the hot-plug poll) could otherwise start in the
// middle of a transfer and share its link.
class DeviceSession::Running {
public:
    explicit Running(DeviceLink& link) : link_(link), entered_(!link.transferRunning()) {
        if (entered_) link_.setTransferRunning(true);
    }
    ~Running() {
        if (entered_) link_.setTransferRunning(false);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    bool entered() const { return entered_; }

private:
    DeviceLink& link_;
    bool entered_;
};

DeviceSession::DeviceSession(DeviceLink& link, Configuration& config)
    : link_(link), config_(config) {}

void DeviceSession::takeTargetsFromDefaults() {
    link_.targets()[0] = TargetId{readBigEndian16(config_.defaults, image::kVendorId),
                                  readBigEndian16(config_.defaults, image::kProductId)};
    link_.targets()[1] = TargetId{};
}

bool DeviceSession::canTransfer() const {
    return link_.isOpen() && kind_ != DeviceKind::None && read_ && write_;
}

void DeviceSession::forgetDevice() {
    kind_ = DeviceKind::None;
    read_.reset();
    write_.reset();
}

std::optional<SilentExit> DeviceSession::readRegister(std::uint16_t reg, std::uint8_t& value) {
    if (!link_.sendCommand(kCmdReadRegister, high(reg), low(reg), 0x00, 0x00)) {
        return SilentExit::CommandRefused;
    }
    const std::uint64_t failedBefore = link_.failedReports();
    link_.readDataReport();
    if (link_.failedReports() != failedBefore) return SilentExit::NoAnswer;
    value = link_.reply()[0];
    return std::nullopt;
}

void DeviceSession::checkFlashType() {
    std::uint8_t id = 0;
    if (readRegister(kRegFlashId, id)) return; // unanswered: the flash type stays as it was
    if (id == kFlashId32)
        flashType_ = 32;
    else if (id == kFlashId64)
        flashType_ = 64;
}

Identification DeviceSession::reject(Identification id, IdentifyResult result) {
    id.result = result;
    link_.dropLink();
    id.linkDropped = true;
    return id;
}

Identification DeviceSession::identify() {
    Identification id;
    id.result = IdentifyResult::Silent;
    const Running running(link_);
    if (!running.entered()) {
        id.silent = SilentExit::Busy;
        return id;
    }
    // Whatever was decided for an earlier mouse no longer holds.
    forgetDevice();
    const auto silent = [&](SilentExit why) {
        id.silent = why;
        return id;
    };

    std::uint8_t signature = 0;
    if (auto why = readRegister(kRegSignature, signature)) return silent(*why);
    if (signature != kSignatureValue) return silent(SilentExit::NotThisController);
    if (auto why = readRegister(kRegConfiguration, configuration_)) return silent(*why);
    id.configuration = configuration_;

    // Device information.
    if (!link_.sendCommand(kCmdDeviceInfo, 0, 0, 0, 0)) return silent(SilentExit::CommandRefused);
    const std::uint64_t failedBefore = link_.failedReports();
    link_.readDataReport();
    if (link_.failedReports() != failedBefore) return silent(SilentExit::NoAnswer);
    std::copy(link_.reply().begin(), link_.reply().end(), id.info.begin());
    const std::uint8_t reported = id.info[kInfoDataType];
    id.dataType = reported;
    id.chipCode = id.info[kInfoChipCode];

    // Data type: the image layout of the mouse must be a known one, and the one the program's
    // default image has, or decoding and assembling would place the sections differently.
    const bool known = reported == kDataType1D || reported == kDataType3A;
    if (known) config_.identifiedDataType = reported;
    if (!known || reported != config_.readLayout) {
        return reject(id, IdentifyResult::DataTypeError);
    }
    const std::uint8_t dataType = reported;
    const std::uint8_t bits = configuration_ & kConfigIdentityMask;

    std::array<std::uint8_t, kIdentityLength> identity{};
    DeviceKind kind = DeviceKind::None;
    BlockRead form = BlockRead::ShortAddress;
    std::uint16_t address = 0;
    if (id.chipCode == kChipBasic) {
        if ((bits == 0x04 || bits == 0x0C) && dataType == kDataType1D) {
            address = kIdentityAddress1D;
        } else if (bits == 0x04 && dataType == kDataType3A) {
            address = kIdentityAddress;
        } else {
            link_.dropLink();
            id.linkDropped = true;
            return silent(SilentExit::UnsupportedConfiguration);
        }
        kind = DeviceKind::Basic;
    } else if (id.chipCode == kChipMacroA0 || id.chipCode == kChipMacroA5 ||
               id.chipCode == kChipMacroAA) {
        checkFlashType();
        id.flashType = flashType_;
        if (flashType_ != 64) {
            link_.dropLink();
            id.linkDropped = true;
            return silent(SilentExit::FlashType);
        }
        if (bits != 0x08 && bits != 0x00) return silent(SilentExit::UnsupportedConfiguration);
        form = BlockRead::LongAddress;
        address = kIdentityAddress;
        kind = DeviceKind::Macro;
    } else {
        return silent(SilentExit::UnknownChip);
    }
    id.flashType = flashType_;

    const std::uint64_t failedBeforeRead = link_.failedReports();
    if (!link_.readBlock(form, address, kIdentityLength, identity)) {
        return silent(SilentExit::CommandRefused);
    }
    // Bytes that never arrived read as 0xFF, which could pass for an identity code.
    if (link_.failedReports() != failedBeforeRead) return silent(SilentExit::NoAnswer);
    id.identity = identity;

    std::array<std::uint8_t, 2> expected{0, 0};
    if (auto layout = middleLayoutFor(config_.readLayout)) {
        expected = {config_.defaults[layout->idCode], config_.defaults[layout->idCode + 1]};
    }
    id.expectedId = expected;
    if (identity[0] != expected[0] || identity[1] != expected[1]) {
        return reject(id, IdentifyResult::IdentityError);
    }

    kind_ = kind;
    read_ = kind == DeviceKind::Macro ? BlockRead::LongAddress : BlockRead::ShortAddress;
    write_ = kind == DeviceKind::Macro ? BlockWrite::LongAddress : BlockWrite::ShortAddress;
    config_.macroDevice = kind == DeviceKind::Macro;
    id.kind = kind;
    id.result = IdentifyResult::Accepted;
    return id;
}

TransferOutcome DeviceSession::readAll(const TextSource& texts, const ProgressFn& progress) {
    Meter meter(link_, progress);
    const Running running(link_);
    if (!running.entered()) return meter.finish(TransferResult::Busy);
    if (!canTransfer()) return meter.finish(TransferResult::NoDevice);
    const bool macro = kind_ == DeviceKind::Macro;
    meter.setTotal(macro ? reports::kReadMacro : reports::kReadBasic);
    const ReportHook hook = meter.hook();

    ImageBytes image{};
    if (!link_.readBlock(*read_, kImageAddress, kImageLength, image, hook)) {
        return meter.finish(TransferResult::Refused);
    }

    // Macro store and section copies go to a staging copy first.
    MacroStore store = config_.macros;
    std::optional<std::array<std::uint8_t, kSectionBCopyLength>> sectionB;
    std::optional<std::array<std::uint8_t, kUserBreathCopyLength>> userBreath;
    if (macro) {
        MacroBodyBytes scratch{};
        for (std::size_t n = 0; n < kMacroCount; ++n) {
            if (link_.readBlock(*read_, macroBodyAddress(n), kMacroBodySize, scratch, hook)) {
                store.bodies[n] = scratch;
            }
        }
        MacroTableBytes table{};
        if (link_.readBlock(*read_, kMacroTableAddress, kMacroTableSize, table, hook)) {
            store.table = table;
        }
        std::array<std::uint8_t, kSectionBCopyLength> b{};
        if (link_.readBlock(*read_, kSectionBCopyAddress, kSectionBCopyLength, b, hook)) {
            sectionB = b;
        }
        std::array<std::uint8_t, kUserBreathCopyLength> breath{};
        if (link_.readBlock(*read_, kUserBreathCopyAddress, kUserBreathCopyLength, breath, hook)) {
            userBreath = breath;
        }
    }
    if (meter.failed() != 0) return meter.finish(TransferResult::Interrupted);

    config_.working = image;
    if (macro) {
        config_.macros = store;
        if (sectionB) std::copy(sectionB->begin(), sectionB->end(), config_.sections.b.begin());
        if (userBreath) {
            std::copy(userBreath->begin(), userBreath->end(), config_.sections.userBreath.begin());
        }
        config_.macroNames = RefreshMacroName(config_.macros);
    }
    config_.decode(texts);
    return meter.finish(TransferResult::Done);
}

void DeviceSession::eraseMacroMemory() {
    for (unsigned sector = kFirstSector; sector <= kLastSector; sector += 0x10) {
        link_.sendCommand(kCmdEraseSector, static_cast<std::uint8_t>(sector), 0, 0, 0);
    }
}

void DeviceSession::writeMacroStore(const MacroStore& store, const ReportHook& hook) {
    for (std::uint16_t page = 0; page < 4; ++page) {
        const std::span<const std::uint8_t> part(store.table.data() + page * kWritePageLength,
                                                 kWritePageLength);
        link_.writeBlock(*write_, static_cast<std::uint16_t>(kMacroTableAddress + page * 0x100),
                         kWritePageLength, part, hook);
    }
    for (std::size_t n = 0; n < kMacroCount; ++n) {
        const auto& body = store.bodies[n];
        for (std::uint16_t page = 0; page < 4; ++page) {
            const auto address = static_cast<std::uint16_t>(macroBodyAddress(n) + page * 0x100);
            const std::span<const std::uint8_t> part(body.data() + page * kWritePageLength,
                                                     kWritePageLength);
            link_.writeBlock(*write_, address, kWritePageLength, part, hook);
        }
    }
    link_.writeBlock(*write_, kSectionBCopyAddress, kSectionBCopyLength, config_.sections.b, hook);
    link_.writeBlock(*write_, kUserBreathCopyAddress, kUserBreathCopyLength,
                     config_.sections.userBreath, hook);
}

TransferOutcome DeviceSession::writeAll(const TextSource& texts, const ProgressFn& progress,
                                        const std::function<void()>& beforeWrite) {
    Meter meter(link_, progress);
    const Running running(link_);
    if (!running.entered()) return meter.finish(TransferResult::Busy);
    if (!canTransfer()) return meter.finish(TransferResult::NoDevice);
    const bool macro = kind_ == DeviceKind::Macro;

    config_.assemble(texts, true);
    if (beforeWrite) beforeWrite();
    meter.setTotal((macro ? reports::kWriteMacro : reports::kWriteBasic) + reloadReports(config_));

    if (macro) UIToMacroName(config_.macros, config_.macroNames);
    return writeEverything(meter, config_.working, config_.macros);
}

TransferOutcome DeviceSession::resetToDefaults(std::span<const std::uint8_t> defaultResource,
                                               const TextSource& texts,
                                               const ProgressFn& progress) {
    Meter meter(link_, progress);
    const Running running(link_);
    if (!running.entered()) return meter.finish(TransferResult::Busy);
    if (!canTransfer()) return meter.finish(TransferResult::NoDevice);
    const bool macro = kind_ == DeviceKind::Macro;

    // The rate the mouse was last shown with; if the defaults bring another one, the reload
    // must be the pair that makes the mouse switch its report rate.
    const int shownRate = config_.rate.lastKnown;
    config_.loadDefaults(defaultResource);
    config_.working = config_.defaults;
    config_.decode(texts, true); // the defaults bring their own section B and colours
    if (shownRate != 0 && config_.rate.lastKnown != shownRate) config_.rate.changed = true;
    meter.setTotal((macro ? reports::kWriteMacro : reports::kWriteBasic) + reloadReports(config_));

    if (macro) {
        config_.macros = config_.defaultMacros;
        config_.macroNames = RefreshMacroName(config_.macros);
    }
    return writeEverything(meter, config_.defaults, config_.defaultMacros);
}

// The common tail of a write and a reset: erase (macro mouse), image, macro store and section
// copies, reload. A refused image write ends it before anything else is sent.
TransferOutcome DeviceSession::writeEverything(Meter& meter, const ImageBytes& image,
                                               const MacroStore& store) {
    const bool macro = kind_ == DeviceKind::Macro;
    const ReportHook hook = meter.hook();
    if (macro) eraseMacroMemory();
    const bool erased = macro && meter.done() > meter.failed();
    if (!link_.writeBlock(*write_, kImageAddress, kImageLength, image, hook)) {
        TransferOutcome out = meter.finish(TransferResult::Refused);
        out.erased = erased;
        return out;
    }
    if (macro) writeMacroStore(store, hook);
    reload();
    return meter.finish(TransferResult::Done);
}

void DeviceSession::reload() {
    if (!config_.rate.changed) {
        link_.sendCommand(kCmdReload, 0, 0, 0, 0);
        return;
    }
    link_.sendCommand(kCmdReloadRateFirst, 0x00, 0x01, 0x00, 0x00);
    link_.sendCommand(kCmdReloadRateSecond, 0, 0, 0, 0);
    config_.rate.changed = false;
}

} // namespace orlix::device
