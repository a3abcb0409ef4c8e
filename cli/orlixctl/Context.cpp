#include "Context.h"

#include "appearance/EmbeddedResources.h"
#include "model/Edition.h"

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

int Context::connectBackend() {
    if (options_.simulate) {
        std::array<std::uint8_t, 256> image{};
        std::copy_n(defaultResource_.begin(), image.size(), image.begin());
        sim_ = std::make_unique<SimulatedMouse>(*options_.simulate == SimulatedMouse::Kind::Macro
                                                    ? SimulatedMouse::macroMouse(image)
                                                    : SimulatedMouse::basicMouse(image));
        if (!options_.simState.empty() && std::filesystem::exists(options_.simState)) {
            if (auto error = sim_->loadMemory(options_.simState)) {
                err_ << "orlixctl: " << *error << "\n";
                return kFileError;
            }
        }
        sim_->unplugAfterReports(options_.simUnplugAfter);
        sim_->setLatency(std::chrono::microseconds(options_.simLatencyMicros));
        backend_ = sim_.get();
    } else {
        system_ = makeSystemHidBackend();
        backend_ = system_.get();
    }
    if (!options_.trace.empty()) {
        traceFile_.open(options_.trace, std::ios::trunc);
        if (!traceFile_) {
            err_ << "orlixctl: cannot create the trace file " << options_.trace << "\n";
            return kFileError;
        }
        tracer_ = std::make_unique<TracingBackend>(*backend_, traceFile_);
        backend_ = tracer_.get();
    }
    link_ = std::make_unique<DeviceLink>(*backend_);
    session_ = std::make_unique<DeviceSession>(*link_, *config_);
    session_->takeTargetsFromDefaults();
    connected_ = true;
    return kOk;
}

int Context::finish(int code) {
    link_.reset();
    // A state file that could not be loaded is left as it is.
    if (connected_ && sim_ && !options_.simState.empty()) {
        if (auto error = sim_->saveMemory(options_.simState)) {
            err_ << "orlixctl: " << *error << "\n";
            if (code == kOk) code = kFileError;
        }
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
        err_ << "orlixctl: no mouse found (vendor id " << hexValue(target.vendorId, 4)
             << ", product id " << hexValue(target.productId, 4) << ", 8-byte feature reports)\n";
        for (const HidInterfaceInfo& info : backend_->enumerate()) {
            if (info.vendorId == target.vendorId && info.productId == target.productId &&
                info.featureReportLength == 8) {
                err_ << "orlixctl: " << info.path
                     << " is the mouse but could not be opened; it needs read and write "
                        "access (on Linux a udev rule for its hidraw node)\n";
            }
        }
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
    identification_ = session_->identify();
    const Identification& id = *identification_;
    switch (id.result) {
    case IdentifyResult::Accepted:
        return kOk;
    case IdentifyResult::DataTypeError:
        err_ << "orlixctl: mouse rejected: " << languages_.text("Str102") << " (the mouse "
             << "reports data type "
             << (id.dataType ? hexValue(*id.dataType, 2) : std::string("none"))
             << ", this program's default image has " << hexValue(config_->readLayout, 2) << ")\n";
        return kRejected;
    case IdentifyResult::IdentityError:
        err_ << "orlixctl: mouse rejected: " << languages_.text("Str103") << "\n";
        return kRejected;
    case IdentifyResult::Silent:
        break;
    }
    err_ << "orlixctl: the mouse could not be identified: " << silentText(id) << "\n";
    return kRejected;
}

int Context::transferFailed(const TransferOutcome& out, const char* what) {
    switch (out.result) {
    case TransferResult::Done:
        return kOk;
    case TransferResult::NoDevice:
        err_ << "orlixctl: " << languages_.text("Str022") << "\n";
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
        err_ << "orlixctl: " << what << " was interrupted: " << out.failedReports << " of "
             << out.reports << " reports failed (the mouse may have been unplugged)";
        if (std::string_view(what).find("read") != std::string_view::npos) {
            err_ << "; nothing was taken from it\n";
        } else {
            err_ << "; the mouse may hold incomplete settings, write again\n";
        }
        return kTransferFailed;
    }
    return kTransferFailed;
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

int Context::openIdentifyRead() {
    if (int code = openAndIdentify(); code != kOk) return code;
    return transferFailed(session_->readAll(languages_), "reading the mouse");
}

ReportSource Context::mouseSource() const {
    ReportSource s;
    s.kind = "mouse";
    s.identification = identification_;
    return s;
}

} // namespace orlixctl
