#pragma once

#include "ConfigurationReport.h"
#include "Options.h"
#include "Orlixctl.h"

#include "appearance/Languages.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/HidBackend.h"
#include "device/SimulatedMouse.h"
#include "device/SimulatedMouseStateFile.h"
#include "device/TracingBackend.h"
#include "model/Configuration.h"
#include "model/HalfWritten.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace orlixctl {

// Everything one run works with: the edition's resources, the configuration as the window
// holds it, and the HID access (real or simulated, traced on request).
class Context {
public:
    Context(const Options& options, std::istream& in, std::ostream& err)
        : options_(options), in_(in), err_(err) {}
    // Standard input, for a file named "-".
    std::istream& input() const { return in_; }

    // Loads the edition's default image and texts into the configuration.
    int prepare();
    // Sets up the HID access; only commands that talk to a mouse need it.
    int connectBackend();
    // Ends the run: the simulated mouse keeps its memory in the state file, the trace is
    // flushed. Returns `code`, or a file error when those fail.
    int finish(int code);

    // Opens and identifies the mouse; kOk with `identification` set when it was accepted.
    // With --force a mouse whose identity test fails is accepted after saying so.
    int openAndIdentify();
    // Identification and the read that follows it, as when the window finds the mouse: what
    // is in use, or (for a file the user keeps) the whole memory.
    int openIdentifyRead(orlix::device::ReadScope scope = orlix::device::ReadScope::InUse);
    // The read after openAndIdentify accepted the mouse.
    int readIdentified(orlix::device::ReadScope scope = orlix::device::ReadScope::InUse);
    // The configuration written to the mouse as Apply writes it (with --full, the whole
    // memory); one line on `out` naming `what` and the reports, or that nothing had to change.
    // kOk, or the exit code of a failed write.
    int writeMouse(std::ostream& out, const std::string& what);
    orlix::device::WriteMode writeMode() const;
    // "wrote X to the mouse (N reports)", or "nothing to change: the mouse already holds X".
    static void reportWrite(std::ostream& out, const orlix::device::TransferOutcome& written,
                            const std::string& what);
    // Exit code and message for a transfer's outcome; kOk when it was done.
    int transferFailed(const orlix::device::TransferOutcome& out, const char* what);
    static std::string silentText(const orlix::device::Identification& id);
    // "identity code 00 5A, FF FF at 0x6053, expected FF FF"
    static std::string identityText(const orlix::device::Identification& id);

    ReportSource mouseSource() const;

    // A one-line percentage on standard error while a transfer runs ("writing the mouse: 42%"),
    // only when standard error is a terminal; scripts and pipes see nothing.
    orlix::device::ProgressFn progress(const char* what);
    // Keeps the mouse's configuration as just read in the backup folder, before a write or a
    // reset replaces it. Refuses (kFileError) when the backup cannot be saved, unless
    // --no-backup was given.
    int keepBackup();
    // What the last full read says of an interrupted write: None for a sound mouse.
    orlix::HalfWrittenSign halfWritten() const { return halfWritten_; }
    // "orlixctl ... write --force NEWEST" for the newest sound backup, or a sentence saying
    // there is none.
    std::string restoreNewestText() const;
    // The backups of this run's mouse: a simulated one (--simulate) keeps its own.
    std::filesystem::path backupFolder() const;
    // The backup this run kept; empty before keepBackup or with --no-backup.
    const std::filesystem::path& backupPath() const { return backupPath_; }
    // The exact command line that writes this run's backup back to the same mouse.
    std::string restoreCommand() const { return restoreCommand(backupPath_); }
    std::string restoreCommand(const std::filesystem::path& backup) const;
    // "orlixctl" with the options that reach this run's mouse again (--simulate, --sim-state,
    // --edition, --device).
    std::string commandPrefix() const;
    // A transfer of this run stopped because of SIGINT or SIGTERM, and said so.
    bool stopReported() const { return stopReported_; }

    const Options& options() const { return options_; }
    std::ostream& err() { return err_; }
    orlix::Configuration& config() { return *config_; }
    orlix::appearance::Languages& texts() { return languages_; }
    orlix::device::DeviceSession& session() { return *session_; }
    orlix::device::DeviceLink& link() { return *link_; }
    orlix::device::HidBackend& backend() { return *backend_; }
    bool hasBackend() const { return backend_ != nullptr; }
    std::span<const std::uint8_t> defaultResource() const { return defaultResource_; }
    const std::optional<orlix::device::Identification>& identification() const {
        return identification_;
    }

private:
    // What the trace file would overwrite: an input or output file of the run.
    std::optional<std::string> traceClash() const;
    // After a write that may have left the mouse half-written: how to put the backup back.
    void restoreHint();

    const Options& options_;
    std::istream& in_;
    std::ostream& err_;
    std::vector<std::uint8_t> defaultResource_;
    orlix::appearance::Languages languages_;
    std::unique_ptr<orlix::Configuration> config_;
    std::unique_ptr<orlix::device::SimulatedMouse> sim_;
    orlix::device::SimulatedMouseStateFile state_; // locked for the whole run
    std::unique_ptr<orlix::device::HidBackend> system_;
    std::ofstream traceFile_;
    std::unique_ptr<orlix::device::TracingBackend> tracer_;
    orlix::device::HidBackend* backend_ = nullptr;
    std::unique_ptr<orlix::device::DeviceLink> link_;
    std::unique_ptr<orlix::device::DeviceSession> session_;
    std::optional<orlix::device::Identification> identification_;
    bool connected_ = false;
    std::vector<std::uint8_t> readProfile_; // the mouse as the last full read found it
    std::filesystem::path backupPath_;
    std::unique_ptr<orlix::device::HidBackend> signaller_;
    std::optional<std::string> stateUpdateError_;
    bool stopReported_ = false;
    orlix::HalfWrittenSign halfWritten_ = orlix::HalfWrittenSign::None;
    int shownPercent_ = -1;
};

} // namespace orlixctl
