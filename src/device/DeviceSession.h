#pragma once

#include "device/DeviceLink.h"
#include "device/MemoryPlan.h"
#include "model/Configuration.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace orlix::device {

enum class DeviceKind {
    None,
    Basic, // no macro store, one-byte addresses
    Macro, // macro store, two-byte addresses
};

// How far a whole sequence has come, in reports (commands and data pieces).
struct Progress {
    std::uint64_t done = 0;
    std::uint64_t total = 0;
    int percent() const {
        if (total == 0) return 100;
        const std::uint64_t p = done * 100 / total;
        return p > 100 ? 100 : static_cast<int>(p);
    }
};
// Called before every data report of a sequence and once when it ends; the window shows the
// percentage and lets pending events run.
using ProgressFn = std::function<void(const Progress&)>;

enum class IdentifyResult {
    Accepted,      // kind decided; the caller reads the mouse next
    DataTypeError, // rejected, link dropped: the data-type label (Str102)
    IdentityError, // rejected, link dropped: the identity label (Str103)
    Silent,        // stopped without a message; see SilentExit
};

enum class SilentExit {
    None,
    CommandRefused,           // a command report was refused: no usable command path
    NoAnswer,                 // a data report failed: nothing is decided on missing answers
    NotThisController,        // register 0x90E7 did not read 0xAF
    UnsupportedConfiguration, // configuration bits the kind does not allow
    FlashType,                // a macro controller without 64 Mbit flash
    UnknownChip,              // a chip code of neither kind
    Busy,                     // called while another sequence was running; nothing sent
};

struct Identification {
    IdentifyResult result = IdentifyResult::Silent;
    SilentExit silent = SilentExit::None;
    bool linkDropped = false;
    DeviceKind kind = DeviceKind::None;
    std::uint8_t configuration = 0;
    std::array<std::uint8_t, 7> info{};   // device information answer
    std::optional<std::uint8_t> dataType; // as reported, when it was answered
    std::uint8_t chipCode = 0;
    int flashType = 0;                                   // 0, 32 or 64
    std::optional<std::array<std::uint8_t, 6>> identity; // the bytes read for the identity test
    // A macro mouse of data type 0x1D whose bytes at 0x6057 did not match is looked at once
    // more where that layout keeps its identity code (0x6053); these are the bytes read there.
    std::optional<std::array<std::uint8_t, 6>> fallbackIdentity;
    std::optional<std::array<std::uint8_t, 2>> expectedId;
    // Accepted although the identity code matched nowhere, because the caller forced it.
    bool forced = false;
};

// How much of the memory a read takes.
enum class ReadScope {
    InUse,      // image, table, copies and the bodies whose entry has a length of 1 to 1024
    Everything, // every body too: for a file the user keeps
};

// How a write goes about it.
enum class WriteMode {
    Planned, // only the sectors that hold a changed byte
    Full,    // every sector erased and rewritten, for a firmware that needs it
};

enum class TransferResult {
    Done,
    NoDevice,    // no open link or no decided kind: nothing sent (Str022)
    Refused,     // the first block command was refused: nothing read, or nothing written
    Interrupted, // reports failed on the way: a read takes nothing; a write may be partial
    Busy,        // called while another sequence was running (from a progress callback)
};

// A write is sent at most this often: once as planned, and once more in full when what was read
// back differs or a report failed.
inline constexpr int kWriteAttempts = 2;

struct TransferOutcome {
    TransferResult result = TransferResult::Done;
    std::uint64_t reports = 0;       // reports exchanged by the sequence
    std::uint64_t failedReports = 0; // of which failed
    bool erased = false;             // erase commands reached the mouse before a refusal
    // NoDevice because the mouse was identified but never read completely: writing it would
    // put the start-up contents (or a half-read image) over its settings.
    bool notRead = false;
    // A write: how many times it was sent (a second time, in full, after a difference or a
    // lost report), and whether every block read back at the end equals what was written.
    int attempts = 0;
    bool verified = false;
    // The last attempt was the whole-memory write.
    bool fullWrite = false;
    // The mouse already held everything: nothing was erased, written or reloaded.
    bool nothingToChange = false;
    // Everything was written and read back, but a reload command failed: the mouse holds the
    // new settings and takes them into use when it is plugged in again.
    bool reloadFailed = false;
    // Stopped early: DeviceLink::kStallAfter reports in a row failed.
    bool stalled = false;
    // Stopped on request (the link's stop check) before everything was sent; the block
    // under way was finished.
    bool stopped = false;
    explicit operator bool() const { return result == TransferResult::Done; }
};

// Reports each sequence exchanges.
namespace reports {
inline constexpr std::uint64_t kReadBasic = 38;
inline constexpr std::uint64_t kReadMacro = 4926;
inline constexpr std::uint64_t kWriteBasic = 38;    // plus one or two reload commands
inline constexpr std::uint64_t kWriteMacro = 5068;  // plus one or two reload commands
inline constexpr std::uint64_t kVerify = 38;        // the image read back after a write
inline constexpr std::uint64_t kVerifyMacro = 4926; // everything read back after a full write
// Image, table and the two copies: what every read of a macro mouse takes.
inline constexpr std::uint64_t kReadMacroInUse = 190;
inline constexpr std::uint64_t kReadBody = 148; // each body in use on top
} // namespace reports

// The device commands and sequences of the main window: identification, reading and writing
// the whole configuration, reset to defaults and the reload commands. They move bytes between
// the link and the Configuration; what the window shows in response is the caller's part.
class DeviceSession {
public:
    DeviceSession(DeviceLink& link, Configuration& config);

    // Fills the poll's first target from the default image's vendor and product ids.
    void takeTargetsFromDefaults();

    // The identification of a freshly opened mouse. A rejection drops the link. With `force`
    // a mouse whose identity code matches nowhere is accepted all the same (marked forced),
    // so that a mouse left half-written can be written again.
    Identification identify(bool force = false);

    // The mouse into the configuration: image, table, copies and the bodies in use (or every
    // body); a body not read is taken as zero bytes. Nothing is taken unless every report of
    // the read succeeded, so an interrupted read leaves the window as it was, and the mouse
    // counts as not read: no write is allowed until a later read completes.
    TransferOutcome readAll(const TextSource& texts, const ProgressFn& progress = {},
                            ReadScope scope = ReadScope::InUse);

    // Assembles the image from the pages and writes what changed against the mouse as last
    // read or written: the sectors holding a changed byte are erased and rewritten, every
    // block written is read back, and a difference or lost report leads to one whole-memory
    // write; then the reload. `beforeWrite` runs after the assembly (the pointer settings).
    TransferOutcome writeAll(const TextSource& texts, const ProgressFn& progress = {},
                             const std::function<void()>& beforeWrite = {},
                             WriteMode mode = WriteMode::Planned);

    // Writes the default image and default macro store, taken from the default resource, the
    // same way.
    TransferOutcome resetToDefaults(std::span<const std::uint8_t> defaultResource,
                                    const TextSource& texts, const ProgressFn& progress = {},
                                    WriteMode mode = WriteMode::Planned);

    // Writes `target` over the mouse's memory the same way, as it stands (the configuration is
    // left as it is): for restoring what was kept, and for the tests of the plan.
    TransferOutcome writeContents(const MemoryContents& target, const ProgressFn& progress = {},
                                  WriteMode mode = WriteMode::Planned);

    // The command(s) that make the mouse use an image whose report-rate byte is
    // `writtenRate`: 0x19 when the mouse already runs at that rate, else 0x03 then 0x18.
    // False when a command failed.
    bool reload(std::uint8_t writtenRate);

    // The report-rate code (image byte 28: 1 for 1000, 2 for 500 reports per second) the
    // mouse runs at: taken from each complete read and from each 0x03/0x18 pair that was
    // sent. Empty before the first read and after a pair that failed. This, not the rate
    // the pages show, decides how a write ends.
    std::optional<std::uint8_t> runningRateCode() const { return runningRate_; }
    std::optional<int> runningReportRate() const;

    // A write may start: the link is open, the kind of mouse is known, and it was read
    // completely since it was identified.
    bool canTransfer() const;
    // The mouse was identified but its last read did not complete (the window shows Str025).
    bool needsRead() const;
    DeviceKind kind() const { return kind_; }
    int flashType() const { return flashType_; }
    std::uint8_t configurationByte() const { return configuration_; }

    // The no-device state: forget the kind and its block operations.
    void forgetDevice();

private:
    class Meter;
    class Running;
    class Sequence;
    struct Attempt;

    std::optional<SilentExit> readRegister(std::uint16_t reg, std::uint8_t& value);
    std::optional<SilentExit> checkFlashType();
    std::optional<SilentExit> readIdentity(BlockRead form, std::uint16_t address,
                                           std::array<std::uint8_t, 6>& bytes);
    std::optional<SilentExit> readDeviceInfo(Identification& id);
    Identification identifyVariant(Identification id, bool force);
    bool identified() const;
    Identification reject(Identification id, IdentifyResult result);
    bool readInto(MemoryContents& contents, const MemoryBlock& block, const ReportHook& hook);
    MemoryContents targetOf(const ImageBytes& image, const MacroStore& store) const;
    Attempt send(const WritePlan& plan, const MemoryContents& target, const ReportHook& hook);
    bool readBack(const WritePlan& plan, const MemoryContents& target, const ReportHook& hook);
    TransferOutcome writeTarget(Meter& meter, const MemoryContents& target, WriteMode mode);
    void remember(const WritePlan& plan, const MemoryContents& target);

    DeviceLink& link_;
    Configuration& config_;
    DeviceKind kind_ = DeviceKind::None;
    std::optional<BlockRead> read_;
    std::optional<BlockWrite> write_;
    std::uint8_t configuration_ = 0;
    int flashType_ = 0;
    bool readComplete_ = false;
    std::optional<std::uint8_t> runningRate_;
    // What the mouse holds as last read or written and verified; a write plans against it.
    // Not known after a write that failed: the next one is a whole-memory write.
    MemoryContents held_;
    bool heldKnown_ = false;
    // A verified write whose reload failed: the mouse does not yet run what it holds.
    bool reloadPending_ = false;
};

} // namespace orlix::device
