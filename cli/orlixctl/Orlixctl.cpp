#include "Orlixctl.h"

#include "ConfigurationReport.h"

#include "appearance/EmbeddedResources.h"
#include "appearance/Languages.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/SimulatedMouse.h"
#include "device/TracingBackend.h"
#include "model/Configuration.h"
#include "model/Edition.h"
#include "model/ProfileFile.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <variant>

namespace orlixctl {

using namespace orlix;
using namespace orlix::device;

namespace {

struct Options {
    std::string command;
    std::vector<std::string> operands;
    std::optional<SimulatedMouse::Kind> simulate;
    std::string simState;
    std::string trace;
    std::string output;
    Edition edition = Edition::Editor;
    int language = 1;
    bool json = false;
    bool all = false;
    bool help = false;
    std::optional<std::uint64_t> simUnplugAfter;
    std::uint64_t simLatencyMicros = 0;
};

struct UsageError {
    std::string message;
};

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

// Options may stand before or after the command; "--name=value" and "--name value" both work.
std::variant<Options, UsageError> parse(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            const auto eq = arg.find('=');
            if (eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            }
        }
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };
        const auto missing = [&](const std::string& name) {
            return UsageError{name + " needs a value"};
        };
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--json") {
            o.json = true;
        } else if (arg == "--all") {
            o.all = true;
        } else if (arg == "--simulate") {
            std::string kind = inlineValue.value_or("macro");
            if (!inlineValue && i + 1 < args.size() &&
                (args[i + 1] == "basic" || args[i + 1] == "macro")) {
                kind = args[++i];
            }
            if (kind == "basic")
                o.simulate = SimulatedMouse::Kind::Basic;
            else if (kind == "macro")
                o.simulate = SimulatedMouse::Kind::Macro;
            else
                return UsageError{"--simulate takes basic or macro, not \"" + kind + "\""};
        } else if (arg == "--sim-state") {
            auto v = value();
            if (!v) return missing(arg);
            o.simState = *v;
        } else if (arg == "--sim-unplug-after") {
            auto v = value();
            auto n = v ? number(*v) : std::nullopt;
            if (!n) return UsageError{"--sim-unplug-after takes a number of reports"};
            o.simUnplugAfter = n;
        } else if (arg == "--sim-latency-us") {
            auto v = value();
            auto n = v ? number(*v) : std::nullopt;
            if (!n || *n > 1000000) return UsageError{"--sim-latency-us takes 0 to 1000000"};
            o.simLatencyMicros = *n;
        } else if (arg == "--trace") {
            auto v = value();
            if (!v) return missing(arg);
            o.trace = *v;
        } else if (arg == "--edition") {
            auto v = value();
            if (!v) return missing(arg);
            auto e = editionFromName(*v);
            if (!e) return UsageError{"unknown edition \"" + *v + "\""};
            o.edition = *e;
        } else if (arg == "--language") {
            auto v = value();
            auto n = v ? number(*v) : std::nullopt;
            if (!n || *n < 1 || *n > 3) return UsageError{"--language takes 1, 2 or 3"};
            o.language = static_cast<int>(*n);
        } else if (arg == "-o" || arg == "--output") {
            auto v = value();
            if (!v) return missing(arg);
            o.output = *v;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError{"unknown option " + arg};
        } else if (o.command.empty()) {
            o.command = arg;
        } else {
            o.operands.push_back(arg);
        }
    }
    return o;
}

// Everything one run works with: the edition's resources, the configuration as the window
// holds it, and the HID access (real or simulated, traced on request).
class Context {
public:
    Context(const Options& options, std::ostream& err) : options_(options), err_(err) {}

    int prepare() {
        const auto& traits = traitsOf(options_.edition);
        const auto& bundle = options_.edition == Edition::Editor
                                 ? appearance::orlixEditorResources()
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

    // Sets up the HID access; only commands that talk to a mouse need it.
    int connectBackend() {
        if (options_.simulate) {
            std::array<std::uint8_t, 256> image{};
            std::copy_n(defaultResource_.begin(), image.size(), image.begin());
            sim_ =
                std::make_unique<SimulatedMouse>(*options_.simulate == SimulatedMouse::Kind::Macro
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
        return kOk;
    }

    // The simulated mouse keeps its memory in the state file, whatever the command did.
    int finish(int code) {
        link_.reset();
        if (sim_ && !options_.simState.empty()) {
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

    // Opens and identifies the mouse; kOk with `identification` set when it was accepted.
    int openAndIdentify() {
        const TargetId target = link_->targets()[0];
        if (!link_->openDevice(target.vendorId, target.productId)) {
            err_ << "orlixctl: no mouse found (vendor id " << hexValue(target.vendorId, 4)
                 << ", product id " << hexValue(target.productId, 4)
                 << ", 8-byte feature reports)\n";
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
                 << ", this program's default image has " << hexValue(config_->readLayout, 2)
                 << ")\n";
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

    int transferFailed(const TransferOutcome& out, const char* what) {
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

    static std::string silentText(const Identification& id) {
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

    ReportSource mouseSource() const {
        ReportSource s;
        s.kind = "mouse";
        s.identification = identification_;
        return s;
    }

    const Options& options() const { return options_; }
    Configuration& config() { return *config_; }
    appearance::Languages& texts() { return languages_; }
    DeviceSession& session() { return *session_; }
    DeviceLink& link() { return *link_; }
    HidBackend& backend() { return *backend_; }
    std::span<const std::uint8_t> defaultResource() const { return defaultResource_; }
    const std::optional<Identification>& identification() const { return identification_; }

private:
    const Options& options_;
    std::ostream& err_;
    std::vector<std::uint8_t> defaultResource_;
    appearance::Languages languages_;
    std::unique_ptr<Configuration> config_;
    std::unique_ptr<SimulatedMouse> sim_;
    std::unique_ptr<HidBackend> system_;
    std::ofstream traceFile_;
    std::unique_ptr<TracingBackend> tracer_;
    HidBackend* backend_ = nullptr;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<DeviceSession> session_;
    std::optional<Identification> identification_;
};

int commandList(Context& ctx, std::ostream& out) {
    const TargetId target = ctx.link().targets()[0];
    int shown = 0;
    for (const HidInterfaceInfo& info : ctx.backend().enumerate()) {
        const bool matches = info.vendorId == target.vendorId && info.productId == target.productId;
        if (!matches && !ctx.options().all) continue;
        out << info.path << "  " << hexValue(info.vendorId, 4) << ":" << hexValue(info.productId, 4)
            << "  feature report " << info.featureReportLength << " bytes"
            << (matches && info.featureReportLength == 8 ? "  (usable)" : "") << "\n";
        ++shown;
    }
    if (shown == 0) {
        out << "no " << (ctx.options().all ? "HID interfaces" : "interfaces of the mouse")
            << " found\n";
    }
    return kOk;
}

int commandInfo(Context& ctx, std::ostream& out) {
    const int code = ctx.openAndIdentify();
    if (!ctx.identification()) return code;
    const Identification& id = *ctx.identification();
    out << "kind: " << kindName(id.kind) << "\n";
    out << "data type: " << (id.dataType ? hexValue(*id.dataType, 2) : std::string("none")) << "\n";
    out << "chip code: " << hexValue(id.chipCode, 2) << "\n";
    out << "flash type: " << id.flashType << "\n";
    out << "configuration byte: " << hexValue(id.configuration, 2) << "\n";
    if (id.identity) {
        out << "identity code: " << hexValue((*id.identity)[0], 2) << " "
            << hexValue((*id.identity)[1], 2);
        if (id.expectedId) {
            out << " (expected " << hexValue((*id.expectedId)[0], 2) << " "
                << hexValue((*id.expectedId)[1], 2) << ")";
        }
        out << "\n";
    }
    if (id.result != IdentifyResult::Accepted)
        out << "result: rejected\n";
    else
        out << "result: accepted\n";
    return code;
}

// Identification and the full read that follows it, as when the window finds the mouse.
int openIdentifyRead(Context& ctx) {
    if (int code = ctx.openAndIdentify(); code != kOk) return code;
    return ctx.transferFailed(ctx.session().readAll(ctx.texts()), "reading the mouse");
}

int commandRead(Context& ctx, std::ostream& out, std::ostream& err) {
    std::string file = ctx.options().output;
    if (file.empty() && !ctx.options().operands.empty()) file = ctx.options().operands[0];
    if (file.empty()) return kUsage;
    if (int code = openIdentifyRead(ctx); code != kOk) return code;
    const FileResult saved = ctx.config().saveProfile(file, ctx.texts());
    if (!saved) {
        err << "orlixctl: " << saved.error << "\n";
        return kFileError;
    }
    out << "read the mouse into " << file << "\n";
    return kOk;
}

int commandWrite(Context& ctx, std::ostream& out, std::ostream& err) {
    const std::string& file = ctx.options().operands[0];
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        err << "orlixctl: cannot read " << file << ": " << ec.message() << "\n";
        return kFileError;
    }
    if (size == 0) {
        err << "orlixctl: " << file << " is empty; nothing to write\n";
        return kFileError;
    }
    if (int code = openIdentifyRead(ctx); code != kOk) return code;
    const FileResult loaded = ctx.config().loadProfile(file, ctx.texts());
    if (!loaded) {
        err << "orlixctl: " << loaded.error << "\n";
        return kFileError;
    }
    if (size != kProfileFileSize) {
        err << "orlixctl: note: " << file << " holds " << size << " bytes, a profile file "
            << kProfileFileSize << "; "
            << (size < kProfileFileSize ? "the rest keeps what the mouse holds"
                                        : "the bytes after it are ignored")
            << "\n";
    }
    const TransferOutcome written = ctx.session().writeAll(ctx.texts());
    if (int code = ctx.transferFailed(written, "writing the mouse"); code != kOk) return code;
    out << "wrote " << file << " to the mouse (" << written.reports << " reports)\n";
    return kOk;
}

int commandReset(Context& ctx, std::ostream& out) {
    if (int code = openIdentifyRead(ctx); code != kOk) return code;
    const TransferOutcome written =
        ctx.session().resetToDefaults(ctx.defaultResource(), ctx.texts());
    if (int code = ctx.transferFailed(written, "resetting the mouse"); code != kOk) return code;
    out << "reset the mouse to the default configuration (" << written.reports << " reports)\n";
    return kOk;
}

int commandShow(Context& ctx, std::ostream& out, std::ostream& err) {
    ReportSource source;
    if (!ctx.options().operands.empty()) {
        const std::string& file = ctx.options().operands[0];
        const FileResult loaded = ctx.config().loadProfile(file, ctx.texts());
        if (!loaded) {
            err << "orlixctl: " << loaded.error << "\n";
            return kFileError;
        }
        source.kind = "file";
        source.name = file;
    } else {
        if (int code = openIdentifyRead(ctx); code != kOk) return code;
        source = ctx.mouseSource();
    }
    if (ctx.options().json)
        writeJson(out, ctx.config(), ctx.texts(), source);
    else
        writeText(out, ctx.config(), ctx.texts(), source);
    return kOk;
}

} // namespace

std::string helpText() {
    return R"(orlixctl: configure an Orlix mouse from the command line

Usage: orlixctl [options] <command> [arguments]

Commands:
  list [--all]       interfaces with the mouse's vendor and product id (--all: every HID
                     interface), with their feature report length
  info               identify the mouse: kind, data type, chip code, flash type,
                     configuration byte, identity code, or why it was refused
  read -o FILE       read the whole mouse into a profile file (34048 bytes)
  write FILE         load a profile file as the editor does and write it to the mouse
                     (erase, image, macros, reload)
  reset              write the default configuration (and an empty macro store)
  show [FILE]        the decoded configuration of the mouse, or of a profile file;
                     --json for a machine-readable form

Options:
  --simulate=basic|macro  use the simulated mouse instead of a real one
  --sim-state FILE        keep the simulated mouse's memory in FILE (created when missing)
  --sim-unplug-after N    the simulated mouse vanishes after N reports
  --sim-latency-us N      the simulated mouse takes N microseconds per report
  --trace FILE            one line per report: "set" or "get" and the 8 bytes in hex
                          (for "get" as answered; "failed" after a report that failed)
  --edition NAME          orlix-editor (default) or orlix-editor-s: default image and texts
  --language N            texts of language 1 (default), 2 or 3
  --json                  machine-readable output of show
  -h, --help              this text

Exit status: 0 done, 1 bad command line, 2 file error, 3 no mouse, 4 mouse refused or not
identified, 5 transfer refused or interrupted.
)";
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        auto parsed = parse(args);
        if (auto* usage = std::get_if<UsageError>(&parsed)) {
            err << "orlixctl: " << usage->message << "\nTry orlixctl --help\n";
            return kUsage;
        }
        const Options& options = std::get<Options>(parsed);
        if (options.help) {
            out << helpText();
            return kOk;
        }
        static const std::vector<std::pair<std::string, std::size_t>> kOperands = {
            {"list", 0}, {"info", 0}, {"read", 1}, {"write", 1}, {"reset", 0}, {"show", 1}};
        auto known = std::find_if(kOperands.begin(), kOperands.end(),
                                  [&](const auto& c) { return c.first == options.command; });
        if (options.command.empty() || known == kOperands.end()) {
            err << "orlixctl: "
                << (options.command.empty() ? "no command given"
                                            : "unknown command \"" + options.command + "\"")
                << "\nTry orlixctl --help\n";
            return kUsage;
        }
        const bool needsOne = options.command == "write";
        const bool needsFile =
            options.command == "read" && options.output.empty() && options.operands.empty();
        if (options.operands.size() > known->second || (needsOne && options.operands.empty()) ||
            needsFile) {
            err << "orlixctl: wrong arguments for " << options.command << "\nTry orlixctl --help\n";
            return kUsage;
        }
        if (!options.simState.empty() && !options.simulate) {
            err << "orlixctl: --sim-state needs --simulate\n";
            return kUsage;
        }

        Context ctx(options, err);
        if (int code = ctx.prepare(); code != kOk) return code;
        if (options.command == "show" && !options.operands.empty()) {
            return commandShow(ctx, out, err);
        }
        if (int code = ctx.connectBackend(); code != kOk) return code;
        int code = kOk;
        if (options.command == "list")
            code = commandList(ctx, out);
        else if (options.command == "info")
            code = commandInfo(ctx, out);
        else if (options.command == "read")
            code = commandRead(ctx, out, err);
        else if (options.command == "write")
            code = commandWrite(ctx, out, err);
        else if (options.command == "reset")
            code = commandReset(ctx, out);
        else
            code = commandShow(ctx, out, err);
        return ctx.finish(code);
    } catch (const std::exception& e) {
        err << "orlixctl: " << e.what() << "\n";
        return kFileError;
    } catch (...) {
        err << "orlixctl: unexpected failure\n";
        return kFileError;
    }
}

} // namespace orlixctl
