// The command line: each command takes its own options and operands and refuses the rest by
// name, every command has its help, the reports have a JSON form, and `names` lists exactly
// what `set button` takes.
#include "Commands.h"
#include "support/CliHarness.h"

#include <nlohmann/json.hpp>

#include <set>

using namespace orlix::test;
using nlohmann::json;

namespace {

// Every command-specific option, with a value where it takes one.
const std::vector<std::vector<std::string>> kOwnOptions = {
    {"--file", "x.bin"}, {"--force"},           {"--current", "800"},   {"--repeat", "3"},
    {"--delay", "20"},   {"--colour", "1,2,3"}, {"--steps", "1,2,3,4"}, {"--json"},
    {"--all"},           {"-o", "x.bin"}};

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    std::string word;
    for (char c : std::string(text) + " ") {
        if (c != ' ') {
            word += c;
        } else if (!word.empty()) {
            out.push_back(word);
            word.clear();
        }
    }
    return out;
}

// The command words and enough operands for the parser.
std::vector<std::string> commandLine(const orlixctl::Command& c) {
    std::vector<std::string> args = words(orlixctl::commandName(c));
    for (const std::string& operand : words(c.operands))
        if (operand.front() != '[') args.push_back("1");
    return args;
}

class CommandLine : public CliTest {};

} // namespace

TEST_F(CommandLine, EveryCommandRefusesTheOptionsItDoesNotTakeByName) {
    const std::string state = path("m.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "info"}).code, 0);
    const auto before = readAll(state);
    for (const orlixctl::Command& c : orlixctl::commands()) {
        const auto takes = words(c.options);
        for (const auto& option : kOwnOptions) {
            if (std::find(takes.begin(), takes.end(), option[0]) != takes.end()) continue;
            auto args = std::vector<std::string>{"--simulate=macro", "--sim-state", state};
            const auto line = commandLine(c);
            args.insert(args.end(), line.begin(), line.end());
            args.insert(args.end(), option.begin(), option.end());
            const CliResult r = run(args);
            EXPECT_EQ(r.code, orlixctl::kUsage) << orlixctl::commandName(c) << " " << option[0];
            EXPECT_NE(r.err.find("does not take the option " + option[0]), std::string::npos)
                << r.err;
        }
        // One operand too many; set takes any number of setting words.
        if (std::string(c.operands).ends_with("...")) continue;
        auto args = commandLine(c);
        for (const std::string& operand : words(c.operands))
            if (operand.front() == '[') args.push_back("1");
        args.push_back("surplus");
        const CliResult r = run(args);
        EXPECT_EQ(r.code, orlixctl::kUsage) << orlixctl::commandName(c);
        EXPECT_NE(r.err.find("\"surplus\""), std::string::npos) << r.err;
    }
    EXPECT_EQ(readAll(state), before); // nothing reached the mouse
}

// The kind may follow --simulate as the next word, before or after the command, and is
// never taken for a command word ("--simulate macro set ..." sets, it is no "macro set").
TEST_F(CommandLine, TheSimulatedKindMayBeTheNextWord) {
    struct Row {
        std::vector<std::string> line;
        const char* kind;
        const char* says;
    };
    const Row rows[] = {
        {{"--simulate", "basic", "info"}, "basic", "result: accepted"},
        {{"--simulate", "macro", "info"}, "macro", "result: accepted"},
        {{"--simulate", "macro", "set", "rate", "1000"}, "macro", "report rate"},
        {{"--simulate", "basic", "set", "rate", "1000"}, "basic", "report rate"},
        {{"set", "rate", "1000", "--simulate", "basic"}, "basic", "report rate"},
        {{"--simulate", "macro", "macro", "list"}, "macro", "empty"},
        {{"--simulate", "macro", "list"}, "macro", ""},
        {{"--simulate", "info"}, "macro", "result: accepted"},
    };
    int n = 0;
    for (const Row& r : rows) {
        const std::string state = path("kind" + std::to_string(++n) + ".bin");
        auto line = std::vector<std::string>{"--sim-state", state};
        line.insert(line.end(), r.line.begin(), r.line.end());
        const CliResult ran = run(line);
        EXPECT_EQ(ran.code, 0) << r.line[1] << " " << ran.err;
        EXPECT_NE(ran.out.find(r.says), std::string::npos) << ran.out;
        // The state file keeps the kind, and refuses to be opened as the other.
        const CliResult info =
            run({"--simulate=" + std::string(r.kind), "--sim-state", state, "info"});
        EXPECT_NE(info.out.find(std::string("kind: ") + r.kind), std::string::npos)
            << n << ": " << info.out;
    }
}

TEST_F(CommandLine, MisplacedWordsAreNamed) {
    struct Row {
        std::vector<std::string> args;
        const char* named;
    };
    for (const Row& r : std::vector<Row>{
             {{"show", "--file", "prof.bin"}, "--file"},
             {{"set", "rate", "500", "--colour", "1,2,3"}, "--colour"},
             {{"read", "--file", "x"}, "--file"},
             {{"set"}, "cpi, rate"},
             {{"macro"}, "list, show"},
             {{"frobnicate"}, "\"frobnicate\""},
             {{"--frobnicate", "info"}, "--frobnicate"},
             {{"help", "frobnicate"}, "\"frobnicate\""},
             {{"macro", "show"}, "N"},
             {{"read", "-o", "a.bin", "b.bin"}, "not both"},
         }) {
        const CliResult result = run(r.args);
        EXPECT_EQ(result.code, orlixctl::kUsage) << r.args[0];
        EXPECT_NE(result.err.find(r.named), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
}

TEST_F(CommandLine, EveryCommandHasItsHelpWithItsOptionsAndTheExitCodes) {
    for (const orlixctl::Command& c : orlixctl::commands()) {
        auto helpFirst = words("help " + orlixctl::commandName(c));
        auto helpAfter = words(orlixctl::commandName(c));
        helpAfter.push_back("--help");
        const CliResult a = run(helpFirst), b = run(helpAfter);
        EXPECT_EQ(a.code, 0) << a.err;
        EXPECT_EQ(a.out, b.out);
        EXPECT_NE(a.out.find("Usage: orlixctl " + orlixctl::commandName(c)), std::string::npos)
            << a.out;
        for (const std::string& option : words(c.options))
            EXPECT_NE(a.out.find(option), std::string::npos) << a.out;
        EXPECT_NE(a.out.find("5 transfer refused"), std::string::npos);
    }
    const CliResult group = run({"help", "macro"});
    EXPECT_EQ(group.code, 0);
    for (const char* sub : {"macro list", "macro show", "macro set", "macro export"})
        EXPECT_NE(group.out.find(sub), std::string::npos) << sub;
    const CliResult set = run({"help", "set"});
    for (const char* setting : {"cpi", "rate", "fire-key", "fire-mode", "button", "lighting"})
        EXPECT_NE(set.out.find(setting), std::string::npos) << setting;
    EXPECT_EQ(run({"help"}).out, run({"--help"}).out);
    EXPECT_EQ(
        run({"--simulate", "basic", "--edition", "orlix-editor-s", "help", "set", "rate"}).out,
        run({"set", "rate", "--help"}).out);
    const CliResult version = run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("orlixctl ") + ORLIX_VERSION + "\n");
}

TEST_F(CommandLine, EveryReportHasAJsonShape) {
    const std::string state = path("m.bin");
    const std::string profile = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", profile}).code, 0);
    struct Row {
        std::vector<std::string> args;
        std::vector<const char*> keys;
    };
    for (const Row& r : std::vector<Row>{
             {{"list"}, {"all", "devices"}},
             {{"info"}, {"kind", "dataType", "chipCode", "identity", "result"}},
             {{"show"}, {"source"}},
             {{"macro", "list"}, {"source", "macros"}},
             {{"macro", "list", "--file", profile}, {"source", "path", "macros"}},
             {{"macro", "show", "1"}, {"number", "name", "empty", "lines"}},
             {{"names"}, {"functions", "modifiers", "keys"}},
             {{"doctor"}, {"vendorId", "nodes", "rules", "usable", "advice"}},
         }) {
        auto args = std::vector<std::string>{"--simulate=macro", "--sim-state", state};
        args.insert(args.end(), r.args.begin(), r.args.end());
        args.push_back("--json");
        const CliResult result = run(args);
        const json j = json::parse(result.out, nullptr, false);
        ASSERT_FALSE(j.is_discarded()) << r.args[0] << ": " << result.out;
        for (const char* key : r.keys)
            EXPECT_TRUE(j.contains(key)) << r.args[0] << " lacks " << key;
    }
    const json macros =
        json::parse(run({"--simulate=macro", "--sim-state", state, "macro", "list", "--json"}).out);
    EXPECT_EQ(macros["macros"].size(), 32u);
    EXPECT_EQ(macros["source"], "mouse");
    const json list =
        json::parse(run({"--simulate=macro", "--sim-state", state, "list", "--json"}).out);
    ASSERT_EQ(list["devices"].size(), 1u);
    const auto& interfaces = list["devices"][0]["interfaces"];
    ASSERT_EQ(interfaces.size(), 2u); // the simulated mouse's boot and vendor collections
    EXPECT_FALSE(interfaces[0]["usable"].get<bool>());
    EXPECT_TRUE(interfaces[1]["usable"].get<bool>());
    EXPECT_EQ(interfaces[1]["featureReportLength"], 8);
}

TEST_F(CommandLine, TheNamesListingIsWhatSetButtonTakes) {
    const std::string profile = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", path("m.bin"), "read", "-o", profile}).code,
              0);
    for (const char* edition : {"orlix-editor", "orlix-editor-s"}) {
        const CliResult listed = run({"--edition", edition, "names", "--json"});
        ASSERT_EQ(listed.code, 0) << listed.err;
        const json names = json::parse(listed.out);
        if (std::string(edition) != "orlix-editor") continue; // the profile is of this edition
        for (const auto& f : names["functions"]["buttons4to12"]) {
            const CliResult r =
                run({"set", "button", "main", "5", f.get<std::string>(), "--file", profile});
            EXPECT_EQ(r.code, 0) << f << ": " << r.err;
        }
        for (const auto& f : names["functions"]["buttons1to3"])
            EXPECT_EQ(
                run({"set", "button", "main", "2", f.get<std::string>(), "--file", profile}).code,
                0)
                << f;
        std::set<std::string> seen;
        for (const auto& k : names["keys"]) {
            const std::string name = k["name"];
            EXPECT_TRUE(seen.insert(name).second) << name << " listed twice";
            const CliResult byName =
                run({"set", "button", "main", "6", "Ctrl+" + name, "--file", profile});
            ASSERT_EQ(byName.code, 0) << name << ": " << byName.err;
            const auto bytes = readAll(profile);
            for (const auto& alias : k["aliases"]) {
                ASSERT_EQ(run({"set", "button", "main", "6", "ctrl+" + alias.get<std::string>(),
                               "--file", profile})
                              .code,
                          0)
                    << alias;
                EXPECT_EQ(readAll(profile), bytes) << alias << " is not " << name;
            }
        }
        for (const char* alias : {"Escape", "PgUp", "PgDn", "Space", "Del", "Ins", "Return"})
            EXPECT_NE(listed.out.find(alias), std::string::npos) << alias;
        EXPECT_NE(listed.out.find("Super"), std::string::npos);
    }
    const CliResult text = run({"names"});
    EXPECT_NE(text.out.find("Esc (also Escape)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Win (also Super)"), std::string::npos) << text.out;
}

// The shell completions offer every command, sub-command and option the parser takes.
TEST(Completions, EachShellKnowsEveryCommandAndOption) {
    const std::vector<std::string> global = {
        "--simulate", "--sim-state", "--sim-unplug-after", "--sim-latency-us", "--sim-fail-at",
        "--device",   "--trace",     "--edition",          "--language",       "--version"};
    for (const char* file : {"orlixctl.bash", "_orlixctl", "orlixctl.fish"}) {
        std::ifstream in(std::string(ORLIX_SOURCE_DIR) + "/packaging/linux/completions/" + file);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        ASSERT_FALSE(text.empty()) << file;
        // fish names long options without their dashes ("-l sim-state").
        const auto has = [&](const std::string& option) {
            const bool fish = std::string(file).ends_with(".fish");
            if (!fish) return text.find(option) != std::string::npos;
            const std::string bare = option.substr(option.rfind('-') == 0 ? 1 : 2);
            return text.find((option.rfind("--", 0) == 0 ? "-l " : "-s ") + bare) !=
                   std::string::npos;
        };
        for (const std::string& option : global)
            EXPECT_TRUE(has(option)) << file << " lacks " << option;
        for (const orlixctl::Command& c : orlixctl::commands()) {
            EXPECT_NE(text.find(std::string(c.name)), std::string::npos) << file << c.name;
            if (!c.sub.empty()) {
                EXPECT_NE(text.find(std::string(c.sub)), std::string::npos) << file << c.sub;
            }
            for (const std::string& option : words(c.options))
                EXPECT_TRUE(has(option))
                    << file << " lacks " << option << " of " << orlixctl::commandName(c);
        }
    }
}
