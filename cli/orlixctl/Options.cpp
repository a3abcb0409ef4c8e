#include "Options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <csignal>

namespace orlixctl {

using orlix::device::SimulatedMouse;

namespace {

struct CommandOption {
    std::string_view name;
    bool takesValue;
};

// Options that belong to single commands; the commands read them from Options::extra and say
// themselves when one does not fit.
// clang-format off
constexpr std::array kCommandOptions = {
    CommandOption{"--file", true},    // set, macro, export: a profile file instead of the mouse
    CommandOption{"--force", false},
    CommandOption{"--full", false},   // write, reset, set, macro: the whole-memory write
    CommandOption{"--no-backup", false}, // write, reset, set, macro: no backup first
    CommandOption{"--current", true}, // set cpi
    CommandOption{"--repeat", true},  // set fire-key
    CommandOption{"--delay", true},   // set fire-key
    CommandOption{"--colour", true}, // set lighting
    CommandOption{"--steps", true},  // set lighting
};
// clang-format on

} // namespace

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

std::variant<Options, UsageError> parse(const std::vector<std::string>& args,
                                        std::optional<std::string> environmentEdition) {
    Options o;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (!optionsEnded && arg.rfind("--", 0) == 0) {
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
        if (optionsEnded) {
            if (o.command.empty())
                o.command = arg;
            else
                o.operands.push_back(arg);
            continue;
        }
        const auto commandOption =
            std::find_if(kCommandOptions.begin(), kCommandOptions.end(),
                         [&](const CommandOption& c) { return c.name == arg; });
        if (arg == "--") {
            // Everything after it is an operand, even when it starts with a dash.
            optionsEnded = true;
        } else if (commandOption != kCommandOptions.end()) {
            if (commandOption->takesValue) {
                auto v = value();
                if (!v) return missing(arg);
                o.extra[arg] = *v;
            } else {
                if (inlineValue) return UsageError{arg + " takes no value"};
                o.extra[arg] = "";
            }
            o.placed.push_back({arg, o.extra[arg], o.operands.size()});
        } else if (arg == "--help" || arg == "-h") {
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
        } else if (arg == "--sim-fail-at") {
            auto v = value();
            auto n = v ? number(*v) : std::nullopt;
            if (!n || *n == 0) return UsageError{"--sim-fail-at takes a report number from 1"};
            o.simFailAt.push_back(*n);
        } else if (arg == "--sim-signal-at") {
            auto v = value();
            std::string text = v.value_or("");
            int sig = SIGINT;
            if (const auto colon = text.find(':'); colon != std::string::npos) {
                const std::string name = text.substr(colon + 1);
                text.resize(colon);
                if (name == "INT") {
                    sig = SIGINT;
                } else if (name == "TERM") {
                    sig = SIGTERM;
                } else if (name == "KILL") {
#ifdef SIGKILL
                    sig = SIGKILL;
#else
                    return UsageError{"--sim-signal-at: KILL is not known here"};
#endif
                } else {
                    return UsageError{"--sim-signal-at takes N, N:INT, N:TERM or N:KILL"};
                }
            }
            auto n = number(text);
            if (!n || *n == 0)
                return UsageError{"--sim-signal-at takes N, N:INT, N:TERM or N:KILL (N from 1)"};
            o.simSignalAt = n;
            o.simSignal = sig;
        } else if (arg == "--device") {
            auto v = value();
            if (!v || v->empty()) return missing(arg);
            o.device = *v;
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
            auto e = orlix::editionFromName(*v);
            if (!e) return UsageError{"unknown edition \"" + *v + "\""};
            o.edition = *e;
            o.editionFrom = Options::EditionFrom::Option;
        } else if (arg == "--language") {
            auto v = value();
            auto n = v ? number(*v) : std::nullopt;
            if (!n || *n < 1 || *n > 3) return UsageError{"--language takes 1, 2 or 3"};
            o.language = static_cast<int>(*n);
        } else if (arg == "-o" || arg == "--output") {
            auto v = value();
            if (!v) return missing(arg);
            o.output = *v;
        } else if (arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9')) {
            // A dash and a digit is a negative number, an operand.
            return UsageError{"unknown option " + arg};
        } else if (o.command.empty()) {
            o.command = arg;
        } else {
            o.operands.push_back(arg);
        }
    }
    if (o.editionFrom != Options::EditionFrom::Option && environmentEdition &&
        !environmentEdition->empty()) {
        auto e = orlix::editionFromName(*environmentEdition);
        if (!e)
            return UsageError{"ORLIX_EDITION names no edition: \"" + *environmentEdition +
                              "\" (orlix-editor or orlix-editor-s)"};
        o.edition = *e;
        o.editionFrom = Options::EditionFrom::Environment;
    }
    return o;
}

std::string_view editionSourceName(Options::EditionFrom from) {
    switch (from) {
    case Options::EditionFrom::Environment:
        return "environment";
    case Options::EditionFrom::Option:
        return "option";
    case Options::EditionFrom::Default:
        break;
    }
    return "default";
}

std::string editionNote(const Options& options) {
    std::string note(orlix::traitsOf(options.edition).programName);
    switch (options.editionFrom) {
    case Options::EditionFrom::Option:
        return note + " (from --edition)";
    case Options::EditionFrom::Environment:
        return note + " (from ORLIX_EDITION)";
    case Options::EditionFrom::Default:
        break;
    }
    return note + " (the default; for an orlix-editor-s mouse set ORLIX_EDITION or --edition)";
}

} // namespace orlixctl
