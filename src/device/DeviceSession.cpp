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

constexpr std::size_t kImageReportRate = image::kSectionBStart + image::kReportRate;

bool sameCode(const std::array<std::uint8_t, kIdentityLength>& read,
              const std::array<std::uint8_t, 2>& expected) {
    return read[0] == expected[0] && read[1] == expected[1];
}

} // namespace

// Counts the reports of one sequence and tells the caller how far it has come.
class DeviceSession::Meter {
public:
    Meter(DeviceLink& link, const ProgressFn& fn)
        : link_(link), fn_(fn), reports_(link.reportCount()), failed_(link.failedReports()),
          heldBack_(link.heldBack()) {
        link_.clearStall();
    }

    void setTotal(std::uint64_t total) { total_ = total; }
    ReportHook hook() {
        if (!fn_) return {};
        return [this] { fn_(Progress{done(), total_}); };
    }
    std::uint64_t done() const { return link_.reportCount() - reports_; }
    std::uint64_t failed() const { return link_.failedReports() - failed_; }

    // A sequence that lost reports did not complete, unless the caller judged them itself
    // (a write that was sent again and verified).
    TransferOutcome finish(TransferResult result, bool failuresJudged = false) {
        const bool started = result != TransferResult::Busy && result != TransferResult::NoDevice;
        if (fn_ && started) fn_(Progress{done(), std::max(total_, done())});
        TransferOutcome out;
        out.stalled = started && link_.stalled();
        out.stopped = started && link_.heldBack() != heldBack_;
        if (out.stopped && result == TransferResult::Done) result = TransferResult::Interrupted;
        if (out.stalled || (result == TransferResult::Done && failed() != 0 && !failuresJudged)) {
            result = TransferResult::Interrupted;
        }
        out.result = result;
        out.reports = done();
        out.failedReports = failed();
        return out;
    }

private:
    DeviceLink& link_;
    const ProgressFn& fn_;
    std::uint64_t reports_;
    std::uint64_t failed_;
    std::uint64_t heldBack_;
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

bool DeviceSession::identified() const {
    return link_.isOpen() && kind_ != DeviceKind::None && read_ && write_;
}

bool DeviceSession::canTransfer() const {
    return identified() && readComplete_;
}

bool DeviceSession::needsRead() const {
    return identified() && !readComplete_;
}

std::optional<int> DeviceSession::runningReportRate() const {
    if (runningRate_ == 1) return 1000;
    if (runningRate_ == 2) return 500;
    return std::nullopt;
}

void DeviceSession::forgetDevice() {
    kind_ = DeviceKind::None;
    read_.reset();
    write_.reset();
    readComplete_ = false;
    runningRate_.reset();
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

std::optional<SilentExit> DeviceSession::checkFlashType() {
    std::uint8_t id = 0;
    // Unanswered, the flash type stays as it was, and the caller does not take the silence
    // for another flash.
    if (auto why = readRegister(kRegFlashId, id)) return why;
    if (id == kFlashId32)
        flashType_ = 32;
    else if (id == kFlashId64)
        flashType_ = 64;
    return std::nullopt;
}

Identification DeviceSession::reject(Identification id, IdentifyResult result) {
    id.result = result;
    link_.dropLink();
    id.linkDropped = true;
    return id;
}

Identification DeviceSession::identify(bool force) {
    Identification id;
    id.result = IdentifyResult::Silent;
    const Running running(link_);
    if (!running.entered()) {
        id.silent = SilentExit::Busy;
        return id;
    }
    // Whatever was decided for an earlier mouse no longer holds.
    forgetDevice();
    link_.clearStall();
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
        if (auto why = checkFlashType()) {
            id.flashType = flashType_;
            return silent(*why);
        }
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
    bool matches = sameCode(identity, expected);
    // A macro mouse of data type 0x1D keeps its identity code at image bytes 83..84 like
    // every 0x1D image; 0x6057 then holds section bytes. Mice accepted at 0x6057 stay so,
    // with the same frames; only a mismatch adds this second look.
    if (!matches && kind == DeviceKind::Macro && dataType == kDataType1D) {
        std::array<std::uint8_t, kIdentityLength> second{};
        const std::uint64_t failedBeforeSecond = link_.failedReports();
        if (!link_.readBlock(BlockRead::LongAddress, kIdentityAddress1D, kIdentityLength, second)) {
            return silent(SilentExit::CommandRefused);
        }
        if (link_.failedReports() != failedBeforeSecond) return silent(SilentExit::NoAnswer);
        id.fallbackIdentity = second;
        matches = sameCode(second, expected);
    }
    if (!matches) {
        if (!force) return reject(id, IdentifyResult::IdentityError);
        id.forced = true;
    }

    kind_ = kind;
    read_ = kind == DeviceKind::Macro ? BlockRead::LongAddress : BlockRead::ShortAddress;
    write_ = kind == DeviceKind::Macro ? BlockWrite::LongAddress : BlockWrite::ShortAddress;
    config_.macroDevice = kind == DeviceKind::Macro;
    readComplete_ = false; // until readAll has taken everything
    id.kind = kind;
    id.result = IdentifyResult::Accepted;
    return id;
}

TransferOutcome DeviceSession::readAll(const TextSource& texts, const ProgressFn& progress) {
    Meter meter(link_, progress);
    const Running running(link_);
    if (!running.entered()) return meter.finish(TransferResult::Busy);
    if (!identified()) return meter.finish(TransferResult::NoDevice);
    const bool macro = kind_ == DeviceKind::Macro;
    meter.setTotal(macro ? reports::kReadMacro : reports::kReadBasic);
    const ReportHook hook = meter.hook();
    // Whatever was read before, the contents now shown may no longer be the mouse's.
    readComplete_ = false;

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
    if (meter.failed() != 0 || link_.stalled()) return meter.finish(TransferResult::Interrupted);

    config_.working = image;
    readComplete_ = true;
    runningRate_ = image[kImageReportRate];
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
    if (!canTransfer()) {
        TransferOutcome out = meter.finish(TransferResult::NoDevice);
        out.notRead = needsRead();
        return out;
    }
    const bool macro = kind_ == DeviceKind::Macro;

    config_.assemble(texts, true);
    if (beforeWrite) beforeWrite();
    if (macro) UIToMacroName(config_.macros, config_.macroNames);
    return writeEverything(meter, config_.working, config_.macros);
}

TransferOutcome DeviceSession::resetToDefaults(std::span<const std::uint8_t> defaultResource,
                                               const TextSource& texts,
                                               const ProgressFn& progress) {
    Meter meter(link_, progress);
    const Running running(link_);
    if (!running.entered()) return meter.finish(TransferResult::Busy);
    if (!canTransfer()) {
        TransferOutcome out = meter.finish(TransferResult::NoDevice);
        out.notRead = needsRead();
        return out;
    }

    config_.loadDefaults(defaultResource);
    config_.working = config_.defaults;
    config_.decode(texts, true); // the defaults bring their own section B and colours
    if (kind_ == DeviceKind::Macro) {
        config_.macros = config_.defaultMacros;
        config_.macroNames = RefreshMacroName(config_.macros);
    }
    return writeEverything(meter, config_.defaults, config_.defaultMacros);
}

bool DeviceSession::verifyImage(const ImageBytes& image, const ReportHook& hook) {
    ImageBytes back{};
    const std::uint64_t failedBefore = link_.failedReports();
    if (!link_.readBlock(*read_, kImageAddress, kImageLength, back, hook)) return false;
    return link_.failedReports() == failedBefore && back == image;
}

// The common tail of a write and a reset: erase (macro mouse), image, macro store and section
// copies; then the image is read back. A lost report shifts the rest of a block on the mouse,
// so an attempt that lost one, or whose image reads back different, is sent once more. Only
// a verified write is taken into use by the reload.
TransferOutcome DeviceSession::writeEverything(Meter& meter, const ImageBytes& image,
                                               const MacroStore& store) {
    const bool macro = kind_ == DeviceKind::Macro;
    const std::uint8_t rate = image[kImageReportRate];
    const std::uint64_t reloads = runningRate_ == rate ? 1 : 2;
    const std::uint64_t once =
        (macro ? reports::kWriteMacro : reports::kWriteBasic) + reports::kVerify;
    meter.setTotal(once + reloads);
    const ReportHook hook = meter.hook();

    bool erased = false;
    bool started = false;
    bool verified = false;
    int attempts = 0;
    while (attempts < kWriteAttempts && !verified && !link_.stalled()) {
        if (attempts == 1) meter.setTotal(2 * once + reloads);
        ++attempts;
        const std::uint64_t failedBefore = link_.failedReports();
        if (macro) {
            const std::uint64_t sent = link_.reportCount();
            eraseMacroMemory();
            erased = erased || link_.reportCount() - sent > link_.failedReports() - failedBefore;
        }
        if (!link_.writeBlock(*write_, kImageAddress, kImageLength, image, hook)) continue;
        started = true;
        if (macro) writeMacroStore(store, hook);
        const bool clean = link_.failedReports() == failedBefore;
        verified = verifyImage(image, hook) && clean;
    }

    TransferOutcome out;
    if (!started) {
        out = meter.finish(TransferResult::Refused);
    } else if (!verified) {
        out = meter.finish(TransferResult::Interrupted);
    } else {
        const bool reloaded = reload(rate);
        out = meter.finish(reloaded ? TransferResult::Done : TransferResult::Interrupted, true);
        out.reloadFailed = !reloaded && !out.stalled;
    }
    out.erased = erased;
    out.attempts = attempts;
    out.verified = verified;
    return out;
}

bool DeviceSession::reload(std::uint8_t writtenRate) {
    if (runningRate_ == writtenRate) return link_.sendCommand(kCmdReload, 0, 0, 0, 0);
    const bool first = link_.sendCommand(kCmdReloadRateFirst, 0x00, 0x01, 0x00, 0x00);
    const bool second = first && link_.sendCommand(kCmdReloadRateSecond, 0, 0, 0, 0);
    // After a failed pair the running rate is unknown; the next write sends the pair again.
    if (second)
        runningRate_ = writtenRate;
    else
        runningRate_.reset();
    return second;
}

} // namespace orlix::device
