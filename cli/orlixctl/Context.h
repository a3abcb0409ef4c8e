#pragma once

#include "ConfigurationReport.h"
#include "Options.h"
#include "Orlixctl.h"

#include "appearance/Languages.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/HidBackend.h"
#include "device/SimulatedMouse.h"
#include "device/TracingBackend.h"
#include "model/Configuration.h"

#include <cstdint>
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
    Context(const Options& options, std::ostream& err) : options_(options), err_(err) {}

    // Loads the edition's default image and texts into the configuration.
    int prepare();
    // Sets up the HID access; only commands that talk to a mouse need it.
    int connectBackend();
    // Ends the run: the simulated mouse keeps its memory in the state file, the trace is
    // flushed. Returns `code`, or a file error when those fail.
    int finish(int code);

    // Opens and identifies the mouse; kOk with `identification` set when it was accepted.
    int openAndIdentify();
    // Identification and the full read that follows it, as when the window finds the mouse.
    int openIdentifyRead();
    // Exit code and message for a transfer's outcome; kOk when it was done.
    int transferFailed(const orlix::device::TransferOutcome& out, const char* what);
    static std::string silentText(const orlix::device::Identification& id);

    ReportSource mouseSource() const;

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
    const Options& options_;
    std::ostream& err_;
    std::vector<std::uint8_t> defaultResource_;
    orlix::appearance::Languages languages_;
    std::unique_ptr<orlix::Configuration> config_;
    std::unique_ptr<orlix::device::SimulatedMouse> sim_;
    std::unique_ptr<orlix::device::HidBackend> system_;
    std::ofstream traceFile_;
    std::unique_ptr<orlix::device::TracingBackend> tracer_;
    orlix::device::HidBackend* backend_ = nullptr;
    std::unique_ptr<orlix::device::DeviceLink> link_;
    std::unique_ptr<orlix::device::DeviceSession> session_;
    std::optional<orlix::device::Identification> identification_;
    bool connected_ = false;
};

} // namespace orlixctl
