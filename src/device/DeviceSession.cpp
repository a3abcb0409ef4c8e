#include "device/DeviceSession.h"

#include <algorithm>
#include <bitset>
#include <vector>

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

// The shared start of the transfer sequences: reports counted from here, the sequence marked
// running, and the link and the mouse checked. refusal() is the outcome when it may not go on.
class DeviceSession::Sequence {
public:
    Sequence(DeviceSession& session, const ProgressFn& fn)
        : meter(session.link_, fn), running(session.link_), session_(session) {}

    // A read needs an identified mouse; a write one that was also read completely.
    std::optional<TransferOutcome> refusal(bool write) {
        if (!running.entered()) return meter.finish(TransferResult::Busy);
        if (!write && session_.identified()) return std::nullopt;
        if (write && session_.canTransfer()) return std::nullopt;
        TransferOutcome out = meter.finish(TransferResult::NoDevice);
        out.notRead = write && session_.needsRead();
        return out;
    }

    Meter meter;
    const Running running;

private:
    const DeviceSession& session_;
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
    heldKnown_ = false;
    reloadPending_ = false;
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

namespace {

// One kind of mouse identification accepts, told apart by chip code, data type and the
// configuration bits that gate its identity test.
struct MouseVariant {
    DeviceKind kind;
    std::array<std::uint8_t, 3> chips; // device information byte 5 (a code may repeat)
    std::uint8_t dataType;             // device information byte 3: a row of kImageLayouts
    std::array<std::uint8_t, 2> bits;  // accepted configuration bits (mask 0x0C)
    // Where the identity code is looked for, in this order; 0: no second place.
    std::array<std::uint16_t, 2> identity;
    BlockRead form;
    int flashType;   // the flash type the controller must report; 0: not asked
    bool dropOnBits; // configuration bits not accepted drop the link
};

// clang-format off
constexpr std::array kMouseVariants = {
    MouseVariant{DeviceKind::Basic, {kChipBasic, kChipBasic, kChipBasic}, kDataType1D,
                 {0x04, 0x0C}, {kIdentityAddress1D, 0}, BlockRead::ShortAddress, 0, true},
    MouseVariant{DeviceKind::Basic, {kChipBasic, kChipBasic, kChipBasic}, kDataType3A,
                 {0x04, 0x04}, {kIdentityAddress, 0}, BlockRead::ShortAddress, 0, true},
    // A macro mouse of data type 0x1D keeps its identity code at image bytes 83..84 like
    // every 0x1D image, so a mismatch at 0x6057 (section bytes there) is looked at once more.
    MouseVariant{DeviceKind::Macro, {kChipMacroA0, kChipMacroA5, kChipMacroAA}, kDataType1D,
                 {0x08, 0x00}, {kIdentityAddress, kIdentityAddress1D}, BlockRead::LongAddress,
                 64, false},
    MouseVariant{DeviceKind::Macro, {kChipMacroA0, kChipMacroA5, kChipMacroAA}, kDataType3A,
                 {0x08, 0x00}, {kIdentityAddress, 0}, BlockRead::LongAddress, 64, false},
};
// clang-format on

bool hasChip(const MouseVariant& v, std::uint8_t chip) {
    return std::find(v.chips.begin(), v.chips.end(), chip) != v.chips.end();
}

} // namespace

std::optional<SilentExit> DeviceSession::readIdentity(BlockRead form, std::uint16_t address,
                                                      std::array<std::uint8_t, 6>& bytes) {
    const std::uint64_t failedBefore = link_.failedReports();
    if (!link_.readBlock(form, address, kIdentityLength, bytes)) return SilentExit::CommandRefused;
    // Bytes that never arrived read as 0xFF, which could pass for an identity code.
    if (link_.failedReports() != failedBefore) return SilentExit::NoAnswer;
    return std::nullopt;
}

std::optional<SilentExit> DeviceSession::readDeviceInfo(Identification& id) {
    std::uint8_t signature = 0;
    if (auto why = readRegister(kRegSignature, signature)) return why;
    if (signature != kSignatureValue) return SilentExit::NotThisController;
    if (auto why = readRegister(kRegConfiguration, configuration_)) return why;
    id.configuration = configuration_;
    if (!link_.sendCommand(kCmdDeviceInfo, 0, 0, 0, 0)) return SilentExit::CommandRefused;
    const std::uint64_t failedBefore = link_.failedReports();
    link_.readDataReport();
    if (link_.failedReports() != failedBefore) return SilentExit::NoAnswer;
    std::copy(link_.reply().begin(), link_.reply().end(), id.info.begin());
    id.dataType = id.info[kInfoDataType];
    id.chipCode = id.info[kInfoChipCode];
    return std::nullopt;
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
    if (auto why = readDeviceInfo(id)) {
        id.silent = *why;
        return id;
    }
    // Data type: the image layout of the mouse must be a known one, and the one the program's
    // default image has, or decoding and assembling would place the sections differently.
    const std::uint8_t reported = *id.dataType;
    const bool known = middleLayoutFor(reported).has_value();
    if (known) config_.identifiedDataType = reported;
    if (!known || reported != config_.readLayout) return reject(id, IdentifyResult::DataTypeError);
    return identifyVariant(id, force);
}

// The kind decision and identity test, walking the table of variants.
Identification DeviceSession::identifyVariant(Identification id, bool force) {
    const auto silent = [&](SilentExit why, bool drop = false) {
        if (drop) {
            link_.dropLink();
            id.linkDropped = true;
        }
        id.flashType = flashType_;
        id.silent = why;
        return id;
    };
    const auto chip = std::find_if(kMouseVariants.begin(), kMouseVariants.end(),
                                   [&](const MouseVariant& v) { return hasChip(v, id.chipCode); });
    if (chip == kMouseVariants.end()) return silent(SilentExit::UnknownChip);
    if (chip->flashType != 0) {
        // Unanswered, the flash type stays as it was and is not taken for another flash.
        if (auto why = checkFlashType()) return silent(*why);
        if (flashType_ != chip->flashType) return silent(SilentExit::FlashType, true);
    }
    const std::uint8_t bits = configuration_ & kConfigIdentityMask;
    const auto variant = std::find_if(kMouseVariants.begin(), kMouseVariants.end(), [&](auto& v) {
        return hasChip(v, id.chipCode) && v.dataType == *id.dataType &&
               (v.bits[0] == bits || v.bits[1] == bits);
    });
    if (variant == kMouseVariants.end())
        return silent(SilentExit::UnsupportedConfiguration, chip->dropOnBits);
    id.flashType = flashType_;

    std::array<std::uint8_t, 2> expected{0, 0};
    if (auto layout = middleLayoutFor(config_.readLayout))
        expected = {config_.defaults[layout->idCode], config_.defaults[layout->idCode + 1]};
    id.expectedId = expected;
    bool matches = false;
    for (std::size_t place = 0; place < variant->identity.size() && !matches; ++place) {
        if (variant->identity[place] == 0) break;
        std::array<std::uint8_t, kIdentityLength> bytes{};
        if (auto why = readIdentity(variant->form, variant->identity[place], bytes))
            return silent(*why);
        (place == 0 ? id.identity : id.fallbackIdentity) = bytes;
        matches = sameCode(bytes, expected);
    }
    if (!matches) {
        if (!force) return reject(id, IdentifyResult::IdentityError);
        id.forced = true;
    }
    kind_ = variant->kind;
    const bool macro = kind_ == DeviceKind::Macro;
    read_ = macro ? BlockRead::LongAddress : BlockRead::ShortAddress;
    write_ = macro ? BlockWrite::LongAddress : BlockWrite::ShortAddress;
    config_.macroDevice = macro;
    readComplete_ = false; // until readAll has taken everything
    heldKnown_ = false;
    id.kind = kind_;
    id.result = IdentifyResult::Accepted;
    return id;
}

bool DeviceSession::readInto(MemoryContents& contents, const MemoryBlock& block,
                             const ReportHook& hook) {
    const bool ok =
        link_.readBlock(*read_, block.address, block.length, contents.bytes(block), hook);
    if (block.address >= kMacroBodyAddress)
        contents.bodyKnown.set((block.address - kMacroBodyAddress) / kMacroBodyStride);
    return ok;
}

TransferOutcome DeviceSession::readAll(const TextSource& texts, const ProgressFn& progress,
                                       ReadScope scope) {
    Sequence seq(*this, progress);
    if (auto stop = seq.refusal(false)) return *stop;
    Meter& meter = seq.meter;
    const bool macro = kind_ == DeviceKind::Macro;
    const auto order = memory::readOrder();
    const std::span<const MemoryBlock> common(order.end() - 3, order.end()); // table, copies
    // A read of what is in use starts out as long as the whole read and shortens once the
    // table tells which bodies are in use, so the percentage only ever grows.
    meter.setTotal(macro ? memory::reportsFor(order) : reports::kReadBasic);
    const ReportHook hook = meter.hook();
    // Whatever was read before, the contents now shown may no longer be the mouse's.
    readComplete_ = false;

    MemoryContents read; // staged: taken only when every report succeeded
    if (!readInto(read, order.front(), hook)) return meter.finish(TransferResult::Refused);
    if (macro && scope == ReadScope::Everything) {
        for (const MemoryBlock& b : order.subspan(1))
            readInto(read, b, hook);
    } else if (macro) {
        for (const MemoryBlock& b : common)
            readInto(read, b, hook);
        const auto bodies = bodiesInUse(read.macros);
        meter.setTotal(reports::kReadBasic + memory::reportsFor(common) +
                       memory::reportsFor(bodies));
        for (const MemoryBlock& b : bodies)
            readInto(read, b, hook);
    }
    if (meter.failed() != 0 || link_.stalled()) return meter.finish(TransferResult::Interrupted);

    config_.working = read.image;
    readComplete_ = true;
    runningRate_ = read.image[kImageReportRate];
    if (macro) {
        config_.macros = read.macros;
        config_.sections.b = read.sectionB;
        config_.sections.userBreath = read.userBreath;
        config_.macroNames = RefreshMacroName(config_.macros);
    }
    held_ = read;
    heldKnown_ = true;
    config_.decode(texts);
    return meter.finish(TransferResult::Done);
}

MemoryContents DeviceSession::targetOf(const ImageBytes& image, const MacroStore& store) const {
    MemoryContents target;
    target.image = image;
    if (kind_ == DeviceKind::Macro) {
        target.macros = store;
        target.sectionB = config_.sections.b;
        target.userBreath = config_.sections.userBreath;
    }
    return target;
}

TransferOutcome DeviceSession::writeAll(const TextSource& texts, const ProgressFn& progress,
                                        const std::function<void()>& beforeWrite, WriteMode mode) {
    Sequence seq(*this, progress);
    if (auto stop = seq.refusal(true)) return *stop;
    config_.assemble(texts, true);
    if (beforeWrite) beforeWrite();
    if (kind_ == DeviceKind::Macro) UIToMacroName(config_.macros, config_.macroNames);
    return writeTarget(seq.meter, targetOf(config_.working, config_.macros), mode);
}

TransferOutcome DeviceSession::resetToDefaults(std::span<const std::uint8_t> defaultResource,
                                               const TextSource& texts, const ProgressFn& progress,
                                               WriteMode mode) {
    Sequence seq(*this, progress);
    if (auto stop = seq.refusal(true)) return *stop;
    config_.loadDefaults(defaultResource);
    config_.working = config_.defaults;
    config_.decode(texts, true); // the defaults bring their own section B and colours
    if (kind_ == DeviceKind::Macro) {
        config_.macros = config_.defaultMacros;
        config_.macroNames = RefreshMacroName(config_.macros);
    }
    return writeTarget(seq.meter, targetOf(config_.defaults, config_.defaultMacros), mode);
}

// What one pass of a plan achieved.
struct DeviceSession::Attempt {
    bool started = false; // the first block command was taken
    bool erased = false;  // an erase command reached the mouse
    bool verified = false;
};

DeviceSession::Attempt DeviceSession::send(const WritePlan& plan, const MemoryContents& target,
                                           const ReportHook& hook) {
    Attempt a;
    const std::uint64_t failedBefore = link_.failedReports();
    for (std::uint8_t sector : plan.erase)
        a.erased = link_.sendCommand(kCmdEraseSector, sector, 0, 0, 0) || a.erased;
    for (const MemoryBlock& b : plan.writes) {
        const bool taken = link_.writeBlock(*write_, b.address, b.length, target.bytes(b), hook);
        if (!a.started && !taken) return a;
        a.started = true;
    }
    const bool clean = link_.failedReports() == failedBefore;
    a.verified = readBack(plan, target, hook) && clean;
    return a;
}

bool DeviceSession::readBack(const WritePlan& plan, const MemoryContents& target,
                             const ReportHook& hook) {
    const std::uint64_t failedBefore = link_.failedReports();
    bool same = true;
    std::vector<std::uint8_t> back;
    for (const MemoryBlock& b : plan.readBack) {
        back.assign(b.length, 0);
        if (!link_.readBlock(*read_, b.address, b.length, back, hook)) return false;
        const auto wanted = target.bytes(b);
        same = same && std::equal(back.begin(), back.end(), wanted.begin(), wanted.end());
    }
    return same && link_.failedReports() == failedBefore;
}

// After a verified write: the mouse holds the target in every sector written, and in the
// others what it held, which the plan found equal wherever it was known.
void DeviceSession::remember(const WritePlan& plan, const MemoryContents& target) {
    std::bitset<kMacroCount> known = plan.full ? std::bitset<kMacroCount>().set() : held_.bodyKnown;
    for (const MemoryBlock& b : plan.readBack)
        if (b.address >= kMacroBodyAddress)
            known.set((b.address - kMacroBodyAddress) / kMacroBodyStride);
    held_ = target;
    held_.bodyKnown = known;
    heldKnown_ = true;
}

// The common tail of a write and a reset: the plan against what the mouse holds (or the
// whole memory), every block written read back; a lost report shifts the rest of a block on
// the mouse, so an attempt that lost one, or reads back different, is followed by one
// whole-memory write. Only a verified write is taken into use by the reload.
TransferOutcome DeviceSession::writeContents(const MemoryContents& target,
                                             const ProgressFn& progress, WriteMode mode) {
    Sequence seq(*this, progress);
    if (auto stop = seq.refusal(true)) return *stop;
    return writeTarget(seq.meter, target, mode);
}

TransferOutcome DeviceSession::writeTarget(Meter& meter, const MemoryContents& target,
                                           WriteMode mode) {
    const bool macro = kind_ == DeviceKind::Macro;
    const std::uint8_t rate = target.image[kImageReportRate];
    const std::uint64_t reloads = runningRate_ == rate ? 1 : 2;
    const bool planned = mode == WriteMode::Planned && heldKnown_;
    WritePlan plan = planned ? planWrite(held_, target, macro) : fullWrite(macro);
    if (plan.empty()) {
        // The mouse holds it all; only a mouse not yet running what it holds (a reload that
        // failed, a rate pair that did not arrive) is sent the reload.
        const bool inUse = !reloadPending_ && runningRate_ == rate;
        const bool reloaded = inUse || reload(rate);
        TransferOutcome out =
            meter.finish(reloaded ? TransferResult::Done : TransferResult::Interrupted);
        out.nothingToChange = inUse;
        out.reloadFailed = !reloaded && !out.stalled;
        out.verified = true;
        return out;
    }
    meter.setTotal(plan.reports() + reloads);
    const ReportHook hook = meter.hook();
    heldKnown_ = false; // until a write is verified
    Attempt a = send(plan, target, hook);
    bool erased = a.erased;
    bool started = a.started;
    int attempts = 1;
    if (!a.verified) {
        plan = fullWrite(macro);
        meter.setTotal(meter.done() + plan.reports() + reloads);
        link_.clearStall();
        a = send(plan, target, hook);
        erased = erased || a.erased;
        started = started || a.started;
        ++attempts;
    }
    TransferOutcome out;
    if (!started) {
        out = meter.finish(TransferResult::Refused);
    } else if (!a.verified) {
        out = meter.finish(TransferResult::Interrupted);
    } else {
        remember(plan, target);
        const bool reloaded = reload(rate);
        out = meter.finish(reloaded ? TransferResult::Done : TransferResult::Interrupted, true);
        out.reloadFailed = !reloaded && !out.stalled;
    }
    out.erased = erased;
    out.attempts = attempts;
    out.verified = a.verified;
    out.fullWrite = plan.full;
    return out;
}

bool DeviceSession::reload(std::uint8_t writtenRate) {
    if (runningRate_ == writtenRate) {
        reloadPending_ = !link_.sendCommand(kCmdReload, 0, 0, 0, 0);
        return !reloadPending_;
    }
    const bool first = link_.sendCommand(kCmdReloadRateFirst, 0x00, 0x01, 0x00, 0x00);
    const bool second = first && link_.sendCommand(kCmdReloadRateSecond, 0, 0, 0, 0);
    // After a failed pair the running rate is unknown; the next write sends the pair again.
    if (second)
        runningRate_ = writtenRate;
    else
        runningRate_.reset();
    reloadPending_ = !second;
    return second;
}

} // namespace orlix::device
