#pragma once

#include "device/SimulatedMouse.h"
#include "model/Edition.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orlixctl {

// One command line, parsed. Options may stand before or after the command; "--name=value" and
// "--name value" both work.
struct Options {
    std::string command;
    // Everything after the command that is not an option; for `set` and `macro` the first one
    // is the sub-command.
    std::vector<std::string> operands;
    std::optional<orlix::device::SimulatedMouse::Kind> simulate;
    std::string simState;
    std::string trace;
    std::string output;
    std::string device; // --device PATH: the mouse with an interface at PATH
    // Both editions' mice answer alike, so the edition whose tables (resolution values,
    // default image, texts) are used is chosen: --edition, else ORLIX_EDITION, else the first.
    orlix::Edition edition = orlix::Edition::Editor;
    enum class EditionFrom { Default, Environment, Option };
    EditionFrom editionFrom = EditionFrom::Default;
    int language = 1;
    bool json = false;
    bool all = false;
    bool help = false;
    std::optional<std::uint64_t> simUnplugAfter;
    std::vector<std::uint64_t> simFailAt; // reports (from 1) that fail once, in any order
    std::uint64_t simLatencyMicros = 0;
    // --sim-signal-at N[:INT|TERM|KILL]: the signal is raised just before report N (from 1)
    // of the run, to test what an interrupted or killed run leaves.
    std::optional<std::uint64_t> simSignalAt;
    int simSignal = 0;
    // Options that only some commands take (see kCommandOptions in Options.cpp), by their name
    // with the dashes: the value given, or "" for a flag.
    std::map<std::string, std::string, std::less<>> extra;

    // The same options in the order given, each with the number of operands before it, so a
    // command of several parts (`set rate 1000 cpi 800,1600 --current 800`) tells which part an
    // option follows.
    struct Placed {
        std::string name;
        std::string value;
        std::size_t afterOperands = 0;
    };
    std::vector<Placed> placed;

    bool has(std::string_view name) const { return extra.find(name) != extra.end(); }
    std::optional<std::string> value(std::string_view name) const {
        auto it = extra.find(name);
        if (it == extra.end()) return std::nullopt;
        return it->second;
    }
};

struct UsageError {
    std::string message;
};

// `environmentEdition` is the value of ORLIX_EDITION, if set.
std::variant<Options, UsageError> parse(const std::vector<std::string>& args,
                                        std::optional<std::string> environmentEdition = {});

// Which edition's tables a run uses and why: "orlix-editor-s (from ORLIX_EDITION)".
std::string editionNote(const Options& options);
// "default", "environment" or "option".
std::string_view editionSourceName(Options::EditionFrom from);

// A whole decimal number, nothing else.
std::optional<std::uint64_t> number(std::string_view text);

} // namespace orlixctl
