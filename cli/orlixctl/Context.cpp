#include "Context.h"

#include "appearance/EmbeddedResources.h"
#include "model/Backups.h"
#include "model/Edition.h"
#include "model/FileIo.h"
#include "model/ProfileFile.h"

#include "StopSignals.h"

#include <unistd.h>

#include <csignal>

#include <iostream>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>

namespace orlixctl {

using namespace orlix;
using namespace orlix::device;

int Context::prepare() {
    const auto& traits = traitsOf(options_.edition);
    const auto& bundle = options_.edition == Edition::Editor ? appearance::orlixEditorResources()
                                                             : appearance::orlixEditorSResources();
    auto resource = bundle.find("OrlixData");
    if (!resource || resource->size() < kImageSize) {
        err_ << "orlixctl: the default image of " << traits.programName << " is missing\n";
        return kFileError;
    }
    defaultResource_.assign(resource->begin(), resource->end());
    auto loaded = appearance::Languages::load(bundle, traits);
    languages_ = std::move(loaded.languages);
    languages_.select(options_.language);
    config_ = std::make_unique<Configuration>(options_.edition);
    config_->startUp(defaultResource_, languages_);
    return kOk;
}

namespace {

// Raises a signal just before one report of the run (counted from 1, as the trace counts),
// so a test can interrupt or kill a run at an exact point of a transfer.
class SignalAtReport : public HidBackend {
public:
    SignalAtReport(HidBackend& inner, std::uint64_t at, int sig)
        : inner_(inner), at_(at), sig_(sig) {}
    std::vector<HidInterfaceInfo> enumerate() override { return inner_.enumerate(); }
    int countInterfaces() override { return inner_.countInterfaces(); }
    HidHandle open(const std::string& path) override { return inner_.open(path); }
    bool setFeature(HidHandle h, std::span<const std::uint8_t> report) override {
        tick();
        return inner_.setFeature(h, report);
    }
    bool getFeature(HidHandle h, std::span<std::uint8_t> report) override {
        tick();
        return inner_.getFeature(h, report);
    }
    void close(HidHandle h) override { inner_.close(h); }

private:
    void tick() {
        if (++count_ == at_) std::raise(sig_);
    }
    HidBackend& inner_;
    std::uint64_t at_;
    int sig_;
    std::uint64_t count_ = 0;
};

// A word for a shell command line, quoted when it needs to be.
std::string shellWord(const std::string& word) {
    const bool plain = !word.empty() &&
                       word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                              "0123456789-_./=:,+@%") == std::string::npos;
    if (plain) return word;
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

} // namespace

int Context::connectBackend() {
    if (options_.simulate) {
        std::array<std::uint8_t, 256> image{};
        std::copy_n(defaultResource_.begin(), image.size(), image.begin());
        sim_ = std::make_unique<SimulatedMouse>(*options_.simulate == SimulatedMouse::Kind::Macro
                                                    ? SimulatedMouse::macroMouse(image)
                                                    : SimulatedMouse::basicMouse(image));
        if (!options_.simState.empty()) {
            // Held until the run ends: a second run on the same file waits for this one.
            auto error = state_.open(options_.simState);
            if (!error) error = state_.load(*sim_);
            if (error) {
                err_ << "orlixctl: " << *error << "\n";
                return kFileError;
            }
        }
        for (std::uint64_t n : options_.simFailAt)
            sim_->failReport(n - 1);
        sim_->unplugAfterReports(options_.simUnplugAfter);
        sim_->setLatency(std::chrono::microseconds(options_.simLatencyMicros));
        if (state_.isOpen()) {
            // The file follows the memory block by block, so a run that is killed leaves
            // what a real mouse would hold.
            sim_->onStoredChange([this] {
                if (auto error = state_.update(*sim_); error && !stateUpdateError_)
                    stateUpdateError_ = error;
            });
        }
        backend_ = sim_.get();
    } else {
        system_ = makeSystemHidBackend();
        backend_ = system_.get();
    }
    if (!options_.trace.empty()) {
        // The trace is created empty: it must not be a file the run reads or writes.
        if (auto clash = traceClash()) {
            err_ << "orlixctl: --trace " << options_.trace << " is " << *clash
                 << "; choose another file for the trace\n";
            return kUsage;
        }
        traceFile_.open(options_.trace, std::ios::trunc);
        if (!traceFile_) {
            err_ << "orlixctl: cannot create the trace file " << options_.trace << "\n";
            return kFileError;
        }
        tracer_ = std::make_unique<TracingBackend>(*backend_, traceFile_);
        backend_ = tracer_.get();
    }
    if (options_.simSignalAt) {
        signaller_ =
            std::make_unique<SignalAtReport>(*backend_, *options_.simSignalAt, options_.simSignal);
        backend_ = signaller_.get();
    }
    link_ = std::make_unique<DeviceLink>(*backend_);
    link_->setStopCheck([] { return stopSignal() != 0; });
    link_->chooseDevice(options_.device);
    session_ = std::make_unique<DeviceSession>(*link_, *config_);
    session_->takeTargetsFromDefaults();
    connected_ = true;
    return kOk;
}

namespace {
// Two names of one file: by identity when both exist (links, "./", hard links), by the
// resolved name when neither does yet.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    const auto ia = fileIdentity(a);
    const auto ib = fileIdentity(b);
    if (ia || ib) return ia == ib;
    std::error_code ea;
    std::error_code eb;
    const auto ca = std::filesystem::weakly_canonical(std::filesystem::absolute(a), ea);
    const auto cb = std::filesystem::weakly_canonical(std::filesystem::absolute(b), eb);
    return !ea && !eb && ca == cb;
}
} // namespace

std::optional<std::string> Context::traceClash() const {
    const std::filesystem::path trace = options_.trace;
    for (const std::string& operand : options_.operands)
        if (sameFile(trace, operand)) return "the file " + operand + " the command works on";
    if (!options_.output.empty() && sameFile(trace, options_.output))
        return "the output file " + options_.output;
    if (!options_.simState.empty() && sameFile(trace, options_.simState))
        return "the simulated mouse's state file";
    return std::nullopt;
}

int Context::finish(int code) {
    link_.reset();
    // A state file that could not be loaded is left as it is.
    if (connected_ && sim_ && state_.isOpen()) {
        sim_->onStoredChange({});
        if (stateUpdateError_) {
            err_ << "orlixctl: " << *stateUpdateError_ << "\n";
            if (code == kOk) code = kFileError;
        }
        if (auto error = state_.save(*sim_)) {
            err_ << "orlixctl: " << *error << "\n";
            if (code == kOk) code = kFileError;
        }
    }
    state_.close();
    // A report that broke the protocol is a fault of this program (or, after an injected
    // failure, of the transfer it cut short): always said.
    if (sim_) {
        for (const std::string& v : sim_->violations())
            err_ << "orlixctl: simulated mouse: protocol violation: " << v << "\n";
    }
    if (traceFile_.is_open()) {
        traceFile_.flush();
        if (!traceFile_) {
            err_ << "orlixctl: writing the trace file " << options_.trace << " failed\n";
            if (code == kOk) code = kFileError;
        }
    }
    return code;
}

int Context::openAndIdentify() {
    const TargetId target = link_->targets()[0];
    if (!link_->openDevice(target.vendorId, target.productId)) {
        if (!options_.device.empty()) {
            err_ << "orlixctl: no mouse has an interface at " << options_.device
                 << " (orlixctl list shows the mice and their interfaces)\n";
            return kNoDevice;
        }
        err_ << "orlixctl: no mouse found (vendor id " << hexValue(target.vendorId, 4)
             << ", product id " << hexValue(target.productId, 4) << ", 8-byte feature reports)\n";
        bool closed = false;
        for (const HidInterfaceInfo& info : backend_->enumerate()) {
            if (info.vendorId == target.vendorId && info.productId == target.productId &&
                info.featureReportLength == 8) {
                err_ << "orlixctl: " << info.path
                     << " is the mouse but could not be opened; it needs read and write "
                        "access (on Linux a udev rule for its hidraw node)\n";
                closed = true;
            }
        }
        if (closed) err_ << "orlixctl: run orlixctl doctor: it says why and what to do\n";
        return kNoDevice;
    }
    if (!link_->isOpen()) {
        err_ << "orlixctl: the mouse was found but takes "
             << (link_->hasCommandPath()
                     ? "no data reports"
                     : (link_->hasDataPath() ? "no command reports"
                                             : "neither command nor data reports"))
             << "\n";
        return kNoDevice;
    }
    identification_ = session_->identify(options_.has("--force"));
    const Identification& id = *identification_;
    switch (id.result) {
    case IdentifyResult::Accepted:
        if (id.forced) {
            err_ << "orlixctl: the mouse fails its identity test (" << identityText(id)
                 << "); --force: writing it all the same\n";
        }
        return kOk;
    case IdentifyResult::DataTypeError:
        err_ << "orlixctl: mouse rejected: " << languages_.text("Str102") << " (the mouse "
             << "reports data type "
             << (id.dataType ? hexValue(*id.dataType, 2) : std::string("none"))
             << ", this program's default image has " << hexValue(config_->readLayout, 2) << ")\n";
        return kRejected;
    case IdentifyResult::IdentityError:
        err_ << "orlixctl: mouse rejected: " << languages_.text("Str103") << " ("
             << identityText(id) << ")\n";
        if (options_.command == "write" || options_.command == "reset" ||
            options_.command == "info") {
            err_ << "orlixctl: if an interrupted transfer left it so, orlixctl reset --force "
                    "writes the default configuration to it\n";
        }
        return kRejected;
    case IdentifyResult::Silent:
        break;
    }
    err_ << "orlixctl: the mouse could not be identified: " << silentText(id) << "\n";
    return kRejected;
}

int Context::transferFailed(const TransferOutcome& out, const char* what) {
    const bool reading = std::string_view(what).find("read") != std::string_view::npos;
    if (out.stopped) {
        stopReported_ = true;
        err_ << "orlixctl: " << what << " was stopped by " << stopSignalName() << " after "
             << out.reports << " reports: the block under way was finished and nothing more "
             << "was sent";
        if (reading) {
            err_ << "; nothing was taken from the mouse and nothing was written to it\n";
        } else if (out.verified && out.reloadFailed) {
            err_ << ". Everything was written and read back, but the reload command was not "
                    "sent: the mouse uses the new settings once it is plugged in again\n";
        } else if (out.result == TransferResult::Refused && !out.erased) {
            err_ << "; nothing had been written, the mouse is as it was\n";
        } else {
            err_ << ". The mouse may be half-written and unusable until it is written again.\n";
            restoreHint();
        }
        return kTransferFailed;
    }
    switch (out.result) {
    case TransferResult::Done:
        return kOk;
    case TransferResult::NoDevice:
        err_ << "orlixctl: " << languages_.text(out.notRead ? "Str025" : "Str022") << "\n";
        return kNoDevice;
    case TransferResult::Busy:
        err_ << "orlixctl: " << what << ": another transfer is running\n";
        return kTransferFailed;
    case TransferResult::Refused:
        err_ << "orlixctl: " << what << ": the mouse refused the first block command; "
             << (std::string_view(what).find("read") != std::string_view::npos
                     ? "nothing was read"
                     : "nothing was written")
             << (out.erased ? " (its memory had already been erased)" : "") << "\n";
        return kTransferFailed;
    case TransferResult::Interrupted:
        if (out.reloadFailed) {
            err_ << "orlixctl: " << what << ": everything was written and read back, but the "
                 << "mouse did not take the reload command; it uses the new settings once it "
                 << "is plugged in again\n";
            return kTransferFailed;
        }
        err_ << "orlixctl: " << what << " was interrupted: " << out.failedReports << " of "
             << out.reports << " reports failed"
             << (out.stalled ? " (the mouse stopped answering; it may have been unplugged)" : "");
        if (reading) {
            err_ << "; nothing was taken from it\n";
        } else {
            err_ << (out.attempts > 1 ? "; it was sent twice, the second time in full" : "")
                 << "; the mouse may hold incomplete settings, write again (if it is then "
                    "refused, orlixctl reset --force)\n";
            restoreHint();
        }
        return kTransferFailed;
    }
    return kTransferFailed;
}

std::string Context::identityText(const Identification& id) {
    std::string text;
    const auto code = [](const std::array<std::uint8_t, 6>& b) {
        return hexValue(b[0], 2) + " " + hexValue(b[1], 2);
    };
    if (id.identity) text += "identity code " + code(*id.identity);
    if (id.fallbackIdentity) text += ", " + code(*id.fallbackIdentity) + " at 0x6053";
    if (id.expectedId) {
        text += (text.empty() ? "expected " : ", expected ") + hexValue((*id.expectedId)[0], 2) +
                " " + hexValue((*id.expectedId)[1], 2);
    }
    return text;
}

std::string Context::silentText(const Identification& id) {
    switch (id.silent) {
    case SilentExit::CommandRefused:
        return "a command report was refused";
    case SilentExit::NoAnswer:
        return "the mouse did not answer";
    case SilentExit::NotThisController:
        return "not an Orlix controller (register 0x90E7)";
    case SilentExit::UnsupportedConfiguration:
        return "configuration " + hexValue(id.configuration, 2) +
               " is not supported for this kind of mouse";
    case SilentExit::FlashType:
        return "the macro controller has no 64 Mbit flash (flash type " +
               std::to_string(id.flashType) + ")";
    case SilentExit::UnknownChip:
        return "unknown chip code " + hexValue(id.chipCode, 2);
    case SilentExit::Busy:
        return "another transfer is running";
    case SilentExit::None:
        break;
    }
    return "stopped";
}

int Context::openIdentifyRead(ReadScope scope) {
    if (int code = openAndIdentify(); code != kOk) return code;
    return readIdentified(scope);
}

int Context::readIdentified(ReadScope scope) {
    const int code = transferFailed(
        session_->readAll(languages_, progress("reading the mouse"), scope), "reading the mouse");
    if (code == kOk) {
        MacroStore macros = config_->macros;
        if (!config_->macroDevice) macros.fill(0xFF); // as a saved profile of such a mouse says
        readProfile_ = profileBytes(config_->working, macros);
        halfWritten_ = halfWrittenSign(config_->working, config_->readLayout,
                                       config_->macroDevice ? &config_->macros.table : nullptr);
        // A write replaces it anyway; everything else would show or edit repaired contents.
        const bool replaces = options_.command == "write" || options_.command == "reset";
        if (halfWritten_ != HalfWrittenSign::None && !replaces && options_.command != "info") {
            err_ << "orlixctl: warning: the mouse looks half-written (" << describe(halfWritten_)
                 << "): what follows is repaired contents, not its settings; "
                 << restoreNewestText() << "\n";
        }
    }
    return code;
}

ReportSource Context::mouseSource() const {
    ReportSource s;
    s.kind = "mouse";
    s.identification = identification_;
    return s;
}

ProgressFn Context::progress(const char* what) {
    if (&err_ != &std::cerr || ::isatty(STDERR_FILENO) != 1) return {};
    return [this, what](const Progress& p) {
        const int percent = p.percent();
        if (percent == shownPercent_) return;
        shownPercent_ = percent;
        if (p.done >= p.total) {
            err_ << "\r\033[K" << std::flush; // the line goes once the transfer is over
            shownPercent_ = -1;
        } else {
            err_ << "\r" << what << ": " << percent << "%" << std::flush;
        }
    };
}

std::string Context::restoreCommand(const std::filesystem::path& backup) const {
    // --force: a half-written mouse may fail its identity test.
    return commandPrefix() + " write --force " + shellWord(backup.string());
}

std::string Context::commandPrefix() const {
    std::string line = "orlixctl";
    if (options_.simulate) {
        line += *options_.simulate == SimulatedMouse::Kind::Macro ? " --simulate=macro"
                                                                  : " --simulate=basic";
        if (!options_.simState.empty()) line += " --sim-state " + shellWord(options_.simState);
    }
    if (options_.edition != Edition::Editor)
        line += " --edition " + std::string(traitsOf(options_.edition).programName);
    if (!options_.device.empty()) line += " --device " + shellWord(options_.device);
    return line;
}

std::filesystem::path Context::backupFolder() const {
    return defaultBackupFolder(options_.simulate ? BackupsOf::SimulatedMouse : BackupsOf::Mouse);
}

std::string Context::restoreNewestText() const {
    const std::filesystem::path folder = backupFolder();
    std::optional<Backup> newest;
    if (!folder.empty()) newest = BackupStore(folder).newestSound(config_->readLayout);
    if (!newest) {
        return "there is no backup to restore; orlixctl reset --force writes the default "
               "configuration";
    }
    return "to restore the newest backup (" + newest->taken + "): " + restoreCommand(newest->path);
}

void Context::restoreHint() {
    if (!backupPath_.empty()) {
        err_ << "orlixctl: to put back what the mouse held before this run:\n  " << restoreCommand()
             << "\n";
    } else if (options_.has("--no-backup")) {
        err_ << "orlixctl: no backup was kept (--no-backup); write a profile file of your own "
                "to it, or orlixctl reset --force\n";
    }
}

int Context::keepBackup() {
    if (options_.has("--no-backup")) {
        err_ << "orlixctl: --no-backup: the mouse's configuration is not kept before it is "
                "replaced\n";
        return kOk;
    }
    const std::filesystem::path folder = backupFolder();
    if (folder.empty()) {
        err_ << "orlixctl: no folder for backups (neither XDG_DATA_HOME nor HOME is set); "
                "nothing was written (--no-backup writes without a backup)\n";
        return kFileError;
    }
    if (readProfile_.empty()) {
        err_ << "orlixctl: the mouse was not read, so there is nothing to back up\n";
        return kFileError;
    }
    BackupStore store(folder);
    if (const FileResult saved =
            store.save(readProfile_, std::chrono::system_clock::now(), &backupPath_);
        !saved) {
        err_ << "orlixctl: the mouse's configuration could not be backed up, so nothing was "
                "written: "
             << saved.error << " (--no-backup writes without a backup)\n";
        return kFileError;
    }
    return kOk;
}

WriteMode Context::writeMode() const {
    return options_.has("--full") ? WriteMode::Full : WriteMode::Planned;
}

void Context::reportWrite(std::ostream& out, const TransferOutcome& written,
                          const std::string& what) {
    if (written.nothingToChange)
        out << "nothing to change: the mouse already holds " << what << "\n";
    else
        out << "wrote " << what << " to the mouse (" << written.reports << " reports)\n";
}

int Context::writeMouse(std::ostream& out, const std::string& what) {
    if (int code = keepBackup(); code != kOk) return code;
    const TransferOutcome written =
        session_->writeAll(languages_, progress("writing the mouse"), {}, writeMode());
    if (int code = transferFailed(written, "writing the mouse"); code != kOk) return code;
    reportWrite(out, written, what);
    return kOk;
}

} // namespace orlixctl
