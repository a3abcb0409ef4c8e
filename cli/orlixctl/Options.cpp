#include "Options.h"

#include "Commands.h"
#include "Orlixctl.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <csignal>
#include <deque>
#include <memory>

namespace orlixctl {

using orlix::device::SimulatedMouse;

const char* const kExitStatusText =
    "Exit status: 0 done, 1 bad command line, 2 file error, 3 no mouse, 4 mouse refused or not "
    "identified, 5 transfer refused or interrupted.\n";

namespace {

struct CommandOption {
    std::string_view name; // as the command table names it
    std::string_view cliName;
    std::string_view valueName; // empty for a flag
    std::string_view help;
};

// Options that belong to single commands; the command table says which command takes which.
// clang-format off
constexpr std::array kCommandOptions = {
    CommandOption{"--file", "--file", "FILE", "work on profile file FILE instead of the mouse"},
    CommandOption{"--force", "--force", "",
                  "also a mouse whose ids match but whose identity test fails, as one left "
                  "half-written by an interrupted transfer"},
    CommandOption{"--current", "--current", "VALUE",
                  "the resolution in effect, one of VALUES (else it stays, or the lowest)"},
    CommandOption{"--repeat", "--repeat", "R", "repeat count, 2 to 15"},
    CommandOption{"--delay", "--delay", "MS", "delay, 2 to 2000 ms"},
    CommandOption{"--colour", "--colour", "R,G,B",
                  "colour mode 1 with red, green and blue in per cent (0 to 100)"},
    CommandOption{"--steps", "--steps", "OFF,RAISE,ON,FALL",
                  "the four breathing times, 1 to 10 each"},
    CommandOption{"--json", "--json", "", "machine-readable output (JSON)"},
    CommandOption{"--all", "--all", "", "every HID interface, not only the mouse's"},
    CommandOption{"-o", "-o,--output", "FILE", "the profile file to write"},
    CommandOption{"--full", "--full", "", "write the whole memory, not only what changed"},
    CommandOption{"--no-backup", "--no-backup", "", "keep no backup of the mouse first"},
};
// clang-format on

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const auto start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        const auto end = text.find(' ', start);
        out.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) break;
        text = text.substr(end);
    }
    return out;
}

bool isNegativeNumber(std::string_view arg) {
    return arg.size() > 1 && arg[0] == '-' && arg[1] >= '0' && arg[1] <= '9';
}

// What CLI11 fills in; everything is read as text and checked afterwards, so the messages
// name the values the way the rest of orlixctl does.
struct Bound {
    struct Leaf {
        const Command* command = nullptr;
        CLI::App* app = nullptr;
        std::deque<std::string> operands;
        std::vector<CLI::Option*> operandOptions;
        std::vector<std::pair<const CommandOption*, CLI::Option*>> options;
        std::deque<std::string> values;
        std::deque<bool> flags;
    };
    std::deque<Leaf> leaves;
    std::vector<std::pair<std::string, CLI::App*>> groups; // "set", "macro"

    std::string simulate, simState, simUnplugAfter, simLatency, device, trace, edition, language;
    std::vector<std::string> simFailAt;
    std::string simSignalAt;
    CLI::Option* simSignalOption = nullptr;
    CLI::Option* simulateOption = nullptr;
    CLI::Option* simUnplugOption = nullptr;
    CLI::Option* simLatencyOption = nullptr;
    CLI::Option* editionOption = nullptr;
    CLI::Option* languageOption = nullptr;
    bool version = false;
};

void addGlobalOptions(CLI::App& app, Bound& b) {
    b.simulateOption =
        app.add_option("--simulate", b.simulate, "use the simulated mouse (default: macro)")
            ->expected(0, 1)
            ->type_name("basic|macro");
    app.add_option("--sim-state", b.simState,
                   "keep the simulated mouse's memory, kind and report rate in FILE")
        ->type_name("FILE");
    b.simUnplugOption = app.add_option("--sim-unplug-after", b.simUnplugAfter,
                                       "the simulated mouse vanishes after N reports")
                            ->type_name("N");
    b.simLatencyOption = app.add_option("--sim-latency-us", b.simLatency,
                                        "the simulated mouse takes N microseconds per report")
                             ->type_name("N");
    app.add_option("--sim-fail-at", b.simFailAt, "report N of the run fails once (repeatable)")
        ->type_name("N");
    b.simSignalOption =
        app.add_option("--sim-signal-at", b.simSignalAt,
                       "raise SIGINT (or :TERM, :KILL) just before report N of the run")
            ->type_name("N[:SIGNAL]");
    app.add_option("--device", b.device, "the mouse with an interface at PATH")->type_name("PATH");
    app.add_option("--trace", b.trace, "one line per report into FILE")->type_name("FILE");
    b.editionOption =
        app.add_option("--edition", b.edition, "orlix-editor (default) or orlix-editor-s")
            ->type_name("NAME");
    b.languageOption =
        app.add_option("--language", b.language, "texts of language 1, 2 or 3")->type_name("N");
    app.add_flag("--version", b.version, "the version of orlixctl");
}

CLI::App& groupOf(CLI::App& app, Bound& b, std::string_view name) {
    for (auto& [n, group] : b.groups)
        if (n == name) return *group;
    CLI::App* group = app.add_subcommand(std::string(name));
    group->fallthrough();
    b.groups.emplace_back(std::string(name), group);
    return *group;
}

void addCommand(CLI::App& app, Bound& b, const Command& c) {
    CLI::App& parent = c.sub.empty() ? app : groupOf(app, b, c.name);
    CLI::App* sub =
        parent.add_subcommand(std::string(c.sub.empty() ? c.name : c.sub), std::string(c.summary));
    sub->fallthrough();
    sub->footer(std::string("Options every command takes: see orlixctl --help.\n") +
                kExitStatusText);
    Bound::Leaf& leaf = b.leaves.emplace_back();
    leaf.command = &c;
    leaf.app = sub;
    for (std::string_view word : words(c.operands)) {
        if (word.ends_with("...")) continue; // taken by a parser of its own (set)
        const bool optional = word.front() == '[';
        const std::string name(optional ? word.substr(1, word.size() - 2) : word);
        CLI::Option* o = sub->add_option(name, leaf.operands.emplace_back());
        if (!optional) o->required();
        leaf.operandOptions.push_back(o);
    }
    for (std::string_view name : words(c.options)) {
        const auto known = std::find_if(kCommandOptions.begin(), kCommandOptions.end(),
                                        [&](const CommandOption& o) { return o.name == name; });
        if (known == kCommandOptions.end()) continue; // a table fault the tests catch
        CLI::Option* o = nullptr;
        if (known->valueName.empty())
            o = sub->add_flag(std::string(known->cliName), leaf.flags.emplace_back(),
                              std::string(known->help));
        else
            o = sub->add_option(std::string(known->cliName), leaf.values.emplace_back(),
                                std::string(known->help))
                    ->type_name(std::string(known->valueName));
        leaf.options.emplace_back(&*known, o);
    }
}

std::unique_ptr<CLI::App> buildParser(Bound& b) {
    auto app = std::make_unique<CLI::App>("orlixctl: configure an Orlix mouse", "orlixctl");
    app->allow_extras();
    addGlobalOptions(*app, b);
    for (const Command& c : commands())
        addCommand(*app, b, c);
    return app;
}

// The deepest command the parser went into: a leaf, a group, or none.
const Bound::Leaf* selectedLeaf(const Bound& b) {
    for (const Bound::Leaf& leaf : b.leaves)
        if (leaf.app->parsed()) return &leaf;
    return nullptr;
}

CLI::App* selectedGroup(const Bound& b) {
    for (const auto& [name, group] : b.groups)
        if (group->parsed()) return group;
    return nullptr;
}

std::string subCommands(const Bound& b, std::string_view group) {
    std::string list;
    for (const Bound::Leaf& leaf : b.leaves) {
        if (leaf.command->name != group || leaf.command->sub.empty()) continue;
        if (!list.empty()) list += ", ";
        list += leaf.command->sub;
    }
    return list;
}

// "Usage: orlixctl set cpi VALUES [--current VALUE] [--file FILE]", what it does, its options.
std::string commandHelp(const Command& c) {
    std::string usage = "Usage: orlixctl " + commandName(c);
    if (!c.operands.empty()) usage += " " + std::string(c.operands);
    std::string options;
    for (std::string_view name : words(c.options)) {
        for (const CommandOption& o : kCommandOptions) {
            if (o.name != name) continue;
            std::string shown(o.cliName);
            if (!o.valueName.empty()) shown += " " + std::string(o.valueName);
            usage += " [" + std::string(o.name) +
                     (o.valueName.empty() ? "" : " " + std::string(o.valueName)) + "]";
            options += "  " + shown + std::string(shown.size() < 26 ? 26 - shown.size() : 1, ' ') +
                       std::string(o.help) + "\n";
        }
    }
    std::string text = usage + " [options]\n\n" + std::string(c.summary) + "\n";
    if (!options.empty()) text += "\nOptions:\n" + options;
    text += "\nOptions every command takes (--simulate, --device, --trace, --edition, ...): see "
            "orlixctl --help.\n";
    return text + kExitStatusText;
}

std::string groupHelp(std::string_view group) {
    std::string text = "Usage: orlixctl " + std::string(group) + " COMMAND ...\n\n";
    for (const Command& c : commands()) {
        if (c.name != group || c.sub.empty()) continue;
        text += "  " + commandName(c) + " " + std::string(c.operands) + "\n      " +
                std::string(c.summary) + "\n";
    }
    text += "\norlixctl help " + std::string(group) + " COMMAND tells more.\n";
    return text + kExitStatusText;
}

// Global options that take a value in the next argument, to find the command word after them.
bool takesNextValue(std::string_view arg) {
    for (std::string_view o :
         {"--sim-state", "--sim-unplug-after", "--sim-latency-us", "--sim-fail-at",
          "--sim-signal-at", "--device", "--trace", "--edition", "--language"})
        if (arg == o) return true;
    return false;
}

// Words left over after the parse: a group without its command, an unknown command or
// option, or an operand the command does not take.
std::optional<UsageError> leftOverWords(const Bound& b, const Bound::Leaf* leaf,
                                        const std::vector<std::string>& extras) {
    if (leaf == nullptr) {
        if (CLI::App* group = selectedGroup(b)) {
            const std::string name = group->get_name();
            if (!extras.empty() && extras[0].rfind('-', 0) != 0)
                return UsageError{name + " has no command \"" + extras[0] + "\"; it has " +
                                      subCommands(b, name),
                                  name};
            return UsageError{name + " needs one of: " + subCommands(b, name), name};
        }
        if (!extras.empty() && extras[0].rfind('-', 0) == 0 && !isNegativeNumber(extras[0]))
            return UsageError{"unknown option " + extras[0], ""};
        if (!extras.empty()) return UsageError{"unknown command \"" + extras[0] + "\"", ""};
        return UsageError{"no command given", ""};
    }
    if (extras.empty()) return std::nullopt;
    const std::string name = commandName(*leaf->command);
    const std::string& first = extras[0];
    if (first.rfind('-', 0) == 0 && !isNegativeNumber(first)) {
        const std::string option = first.substr(0, first.find('='));
        std::string takes;
        for (const auto& [known, cli] : leaf->options)
            takes += (takes.empty() ? "" : ", ") + std::string(known->name);
        return UsageError{name + " does not take the option " + option +
                              (takes.empty() ? std::string(" (it takes none of its own)")
                                             : " (it takes " + takes + ")"),
                          name};
    }
    return UsageError{name + " takes no operand \"" + first + "\"" +
                          (leaf->command->operands.empty()
                               ? std::string(" (it takes none)")
                               : " (it takes " + std::string(leaf->command->operands) + ")"),
                      name};
}

// The chosen command, its operands and its own options.
void takeCommand(const Bound::Leaf& leaf, Options& o) {
    o.selected = leaf.command;
    o.command = std::string(leaf.command->name);
    if (!leaf.command->sub.empty()) o.operands.emplace_back(leaf.command->sub);
    for (std::size_t i = 0; i < leaf.operandOptions.size(); ++i)
        if (leaf.operandOptions[i]->count() > 0) o.operands.push_back(leaf.operands[i]);
    std::size_t value = 0, flag = 0;
    for (const auto& [known, cli] : leaf.options) {
        const bool isFlag = known->valueName.empty();
        const std::string text = isFlag ? std::string() : leaf.values[value];
        const bool given = cli->count() > 0 && (!isFlag || leaf.flags[flag]);
        (isFlag ? flag : value)++;
        if (!given) continue;
        o.extra[std::string(known->name)] = text;
        if (known->name == "--json") o.json = true;
        if (known->name == "--all") o.all = true;
        if (known->name == "-o") o.output = text;
    }
}

// --sim-signal-at N[:INT|:TERM|:KILL]
std::optional<UsageError> takeSimSignal(std::string text, Options& o) {
    int sig = SIGINT;
    if (const auto colon = text.find(':'); colon != std::string::npos) {
        const std::string signalName = text.substr(colon + 1);
        text.resize(colon);
        if (signalName == "INT") {
            sig = SIGINT;
        } else if (signalName == "TERM") {
            sig = SIGTERM;
        } else if (signalName == "KILL") {
#ifdef SIGKILL
            sig = SIGKILL;
#else
            return UsageError{"--sim-signal-at: KILL is not known here", ""};
#endif
        } else {
            return UsageError{"--sim-signal-at takes N, N:INT, N:TERM or N:KILL", ""};
        }
    }
    const auto n = number(text);
    if (!n || *n == 0)
        return UsageError{"--sim-signal-at takes N, N:INT, N:TERM or N:KILL (N from 1)", ""};
    o.simSignalAt = n;
    o.simSignal = sig;
    return std::nullopt;
}

// The options of the simulated mouse.
std::optional<UsageError> takeSimOptions(const Bound& b, Options& o) {
    if (b.simulateOption->count() > 0) {
        const std::string kind = b.simulate.empty() ? "macro" : b.simulate;
        if (kind == "basic")
            o.simulate = SimulatedMouse::Kind::Basic;
        else if (kind == "macro")
            o.simulate = SimulatedMouse::Kind::Macro;
        else
            return UsageError{"--simulate takes basic or macro, not \"" + kind + "\"", ""};
    }
    o.simState = b.simState;
    if (b.simUnplugOption->count() > 0) {
        const auto n = number(b.simUnplugAfter);
        if (!n) return UsageError{"--sim-unplug-after takes a number of reports", ""};
        o.simUnplugAfter = n;
    }
    for (const std::string& text : b.simFailAt) {
        const auto n = number(text);
        if (!n || *n == 0) return UsageError{"--sim-fail-at takes a report number from 1", ""};
        o.simFailAt.push_back(*n);
    }
    if (b.simSignalOption->count() > 0)
        if (auto error = takeSimSignal(b.simSignalAt, o)) return error;
    if (b.simLatencyOption->count() > 0) {
        const auto n = number(b.simLatency);
        if (!n || *n > 1000000) return UsageError{"--sim-latency-us takes 0 to 1000000", ""};
        o.simLatencyMicros = *n;
    }
    return std::nullopt;
}

// The options every command takes.
std::optional<UsageError> takeGlobalOptions(const Bound& b, CLI::App& app, Options& o) {
    if (auto error = takeSimOptions(b, o)) return error;
    if (b.device.empty() && app.get_option("--device")->count() > 0)
        return UsageError{"--device needs a value", ""};
    o.device = b.device;
    o.trace = b.trace;
    if (b.editionOption->count() > 0) {
        const auto e = orlix::editionFromName(b.edition);
        if (!e) return UsageError{"unknown edition \"" + b.edition + "\"", ""};
        o.edition = *e;
        o.editionFrom = Options::EditionFrom::Option;
    }
    if (b.languageOption->count() > 0) {
        const auto n = number(b.language);
        if (!n || *n < 1 || *n > 3) return UsageError{"--language takes 1, 2 or 3", ""};
        o.language = static_cast<int>(*n);
    }
    return std::nullopt;
}

std::variant<Options, UsageError, HelpRequest> parseArgs(const std::vector<std::string>& args) {
    Bound b;
    auto app = buildParser(b);
    // CLI11 reads the arguments from the back.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app->parse(reversed);
    } catch (const CLI::CallForHelp&) {
        if (const Bound::Leaf* leaf = selectedLeaf(b))
            return HelpRequest{commandHelp(*leaf->command)};
        if (CLI::App* group = selectedGroup(b)) return HelpRequest{groupHelp(group->get_name())};
        for (const std::string& extra : app->remaining(true))
            if (extra.rfind('-', 0) != 0) return UsageError{"no command \"" + extra + "\"", ""};
        return HelpRequest{helpText()};
    } catch (const CLI::ParseError& e) {
        std::string where;
        if (const Bound::Leaf* leaf = selectedLeaf(b)) where = commandName(*leaf->command);
        std::string message = e.what();
        if (!where.empty()) message = where + ": " + message;
        return UsageError{message, where};
    }
    if (b.version) return HelpRequest{std::string("orlixctl ") + ORLIX_VERSION + "\n"};

    const Bound::Leaf* leaf = selectedLeaf(b);
    if (auto error = leftOverWords(b, leaf, app->remaining(true))) return *error;
    Options o;
    takeCommand(*leaf, o);
    if (auto error = takeGlobalOptions(b, *app, o)) return *error;
    return o;
}

std::variant<Options, UsageError, HelpRequest>
parseCommandLine(const std::vector<std::string>& args);
std::variant<Options, UsageError, HelpRequest> parseSet(std::vector<std::string> globals,
                                                        const std::vector<std::string>& words);

} // namespace

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

std::variant<Options, UsageError, HelpRequest>
parse(const std::vector<std::string>& args, std::optional<std::string> environmentEdition) {
    auto parsed = parseCommandLine(args);
    auto* o = std::get_if<Options>(&parsed);
    if (o == nullptr) return parsed;
    if (o->editionFrom != Options::EditionFrom::Option && environmentEdition &&
        !environmentEdition->empty()) {
        auto e = orlix::editionFromName(*environmentEdition);
        if (!e)
            return UsageError{"ORLIX_EDITION names no edition: \"" + *environmentEdition +
                                  "\" (orlix-editor or orlix-editor-s)",
                              ""};
        o->edition = *e;
        o->editionFrom = Options::EditionFrom::Environment;
    }
    return parsed;
}

namespace {

std::variant<Options, UsageError, HelpRequest>
parseCommandLine(const std::vector<std::string>& args) {
    // A command's own options may stand before the command word; they move behind it, where
    // the command's parser sees them. "help set cpi" is "set cpi --help".
    std::vector<std::string> before, moved, rest;
    bool help = false;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--" || arg.rfind('-', 0) != 0 || isNegativeNumber(arg)) break;
        const std::string name = arg.substr(0, arg.find('='));
        const auto own = std::find_if(
            kCommandOptions.begin(), kCommandOptions.end(), [&](const CommandOption& o) {
                return o.name == name || (o.name == "-o" && name == "--output");
            });
        auto& into = own != kCommandOptions.end() ? moved : before;
        // "--simulate macro" is "--simulate=macro": the parser would otherwise leave the kind
        // for a command word ("--simulate macro set ..." is no "macro set").
        if (arg == "--simulate" && i + 1 < args.size() &&
            (args[i + 1] == "basic" || args[i + 1] == "macro")) {
            into.push_back(arg + "=" + args[++i]);
            continue;
        }
        into.push_back(arg);
        const bool separateValue =
            arg.find('=') == std::string::npos &&
            (own != kCommandOptions.end() ? !own->valueName.empty() : takesNextValue(arg));
        if (separateValue && i + 1 < args.size()) into.push_back(args[++i]);
    }
    if (i < args.size() && args[i] == "help") {
        help = true;
        ++i;
    }
    rest.assign(args.begin() + static_cast<long>(i), args.end());
    if (!help && !rest.empty() && rest[0] == "set") {
        rest.insert(rest.begin() + 1, moved.begin(), moved.end());
        return parseSet(before, rest);
    }
    const auto dashes = std::find(rest.begin(), rest.end(), "--");
    rest.insert(dashes, moved.begin(), moved.end());
    if (help) rest.emplace_back("--help");
    before.insert(before.end(), rest.begin(), rest.end());
    return parseArgs(before);
}

// `set rate 1000 cpi 800,1600 --current 800`: several settings, each followed by its own
// options, so the order of options among the words counts. The set command's own options are
// taken here with their places; the options every command takes go through the parser.
std::variant<Options, UsageError, HelpRequest> parseSet(std::vector<std::string> globals,
                                                        const std::vector<std::string>& words) {
    const Command* set = nullptr;
    for (const Command& c : commands())
        if (c.name == "set") set = &c;
    const auto takes = orlixctl::words(set->options);
    std::vector<std::string> operands;
    std::vector<Options::Placed> placed;
    globals.emplace_back("set");
    bool ended = false;
    for (std::size_t j = 1; j < words.size(); ++j) {
        const std::string& arg = words[j];
        if (ended || arg.rfind('-', 0) != 0 || isNegativeNumber(arg)) {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            ended = true;
            continue;
        }
        const auto eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        if (std::find(takes.begin(), takes.end(), name) != takes.end()) {
            const auto known = std::find_if(kCommandOptions.begin(), kCommandOptions.end(),
                                            [&](const CommandOption& o) { return o.name == name; });
            std::string value;
            if (!known->valueName.empty()) {
                if (eq != std::string::npos)
                    value = arg.substr(eq + 1);
                else if (j + 1 < words.size())
                    value = words[++j];
                else
                    return UsageError{"set: " + name + " needs a value", "set"};
            } else if (eq != std::string::npos) {
                return UsageError{"set: " + name + " takes no value", "set"};
            }
            placed.push_back({name, value, operands.size()});
            continue;
        }
        if (arg == "--simulate" && j + 1 < words.size() &&
            (words[j + 1] == "basic" || words[j + 1] == "macro")) {
            globals.push_back(arg + "=" + words[++j]);
            continue;
        }
        globals.push_back(arg);
        if (eq == std::string::npos && takesNextValue(arg) && j + 1 < words.size())
            globals.push_back(words[++j]);
    }
    auto parsed = parseArgs(globals);
    auto* o = std::get_if<Options>(&parsed);
    if (o == nullptr) return parsed;
    if (operands.empty()) {
        std::string settings;
        for (const char* s : {"cpi", "rate", "fire-key", "fire-mode", "button", "lighting"})
            settings += (settings.empty() ? "" : ", ") + std::string(s);
        return UsageError{"set needs one or more of: " + settings, "set"};
    }
    o->operands = operands;
    o->placed = placed;
    for (const Options::Placed& p : placed)
        o->extra[p.name] = p.value;
    return parsed;
}

} // namespace

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
