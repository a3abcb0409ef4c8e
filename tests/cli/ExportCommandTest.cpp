// orlixctl export --json, and write and show taking the file back, against the simulated
// mouse: the round trip must leave the very profile file a binary write would.

#include "support/CliHarness.h"

#include "model/SectionBuffers.h"

#include <nlohmann/json.hpp>

namespace orlix::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Json = nlohmann::ordered_json;

class ExportCommand : public CliTest {
protected:
    // Runs orlixctl with the simulated mouse of `kind` kept in state file `state`.
    CliResult sim(const std::string& state, std::vector<std::string> args,
                  const std::string& edition = "orlix-editor", const std::string& kind = "macro") {
        std::vector<std::string> all = {"--simulate=" + kind, "--sim-state", path(state),
                                        "--edition", edition};
        all.insert(all.end(), args.begin(), args.end());
        return run(all);
    }

    // Writes `profile` to a fresh mouse directly and through its JSON form, reads both back
    // and checks they are the same file. `clickless`: a profile has no Left Key, which only a
    // forced write takes.
    void expectSameAsBinaryWrite(const std::string& profile, const std::string& edition,
                                 const std::string& kind = "macro", bool clickless = false) {
        const std::vector<std::string> write = clickless
                                                   ? std::vector<std::string>{"write", "--force"}
                                                   : std::vector<std::string>{"write"};
        const auto writing = [&](const std::string& file) {
            auto args = write;
            args.push_back(file);
            return args;
        };
        const CliResult exported =
            run({"--edition", edition, "--file", profile, "export", "--json", path("p.json")});
        ASSERT_EQ(exported.code, 0) << exported.err;
        ASSERT_EQ(sim("direct.sim", writing(profile), edition, kind).code, 0);
        ASSERT_EQ(sim("direct.sim", {"read", "-o", path("direct.bin")}, edition, kind).code, 0);
        const CliResult written = sim("json.sim", writing(path("p.json")), edition, kind);
        ASSERT_EQ(written.code, 0) << written.err;
        ASSERT_EQ(sim("json.sim", {"read", "-o", path("json.bin")}, edition, kind).code, 0);
        EXPECT_EQ(readAll(path("json.bin")), readAll(path("direct.bin")));
        // And the file read back exports to the same JSON as the mouse itself.
        ASSERT_EQ(sim("json.sim", {"export", "--json", path("again.json")}, edition, kind).code, 0);
        ASSERT_EQ(run({"--edition", edition, "--file", path("json.bin"), "export", "--json",
                       path("fromfile.json")})
                      .code,
                  0);
        EXPECT_EQ(readAll(path("again.json")), readAll(path("fromfile.json")));
    }

    // A profile read from a mouse, then changed by `change`, saved as `name`.
    std::string profileFile(const std::string& name, const std::function<void(Bytes&)>& change,
                            const std::string& edition = "orlix-editor") {
        EXPECT_EQ(sim("source.sim", {"read", "-o", path(name)}, edition).code, 0);
        Bytes p = readAll(path(name));
        change(p);
        writeAll(path(name), p);
        return path(name);
    }
};

void setCode(Bytes& p, std::size_t profile, std::size_t button, std::uint32_t code) {
    for (std::size_t i = 0; i < 4; ++i)
        p[image::kProfileStart +
          profileCodeOffset(static_cast<int>(profile), static_cast<int>(button)) + i] =
            static_cast<std::uint8_t>(code >> (24 - 8 * i));
}

void sealProfiles(Bytes& p) {
    unsigned sum = 0;
    const std::size_t checksum = image::kProfileStart + image::kProfileSize - 1;
    for (std::size_t i = image::kProfileStart; i < checksum; ++i)
        sum += p[i];
    p[checksum] = static_cast<std::uint8_t>((sum & 0xFF) ^ 0x5A);
}

TEST_F(ExportCommand, DefaultImagesOfBothEditionsRoundTripThroughTheMouse) {
    for (std::string edition : {"orlix-editor", "orlix-editor-s"}) {
        for (std::string kind : {"macro", "basic"}) {
            SCOPED_TRACE(edition + " " + kind);
            fs::remove_all(dir);
            fs::create_directories(dir);
            // The mouse's own export is what `read` saves.
            ASSERT_EQ(sim("a.sim", {"read", "-o", path("a.bin")}, edition, kind).code, 0);
            const CliResult exported =
                sim("a.sim", {"export", "--json", path("a.json")}, edition, kind);
            ASSERT_EQ(exported.code, 0) << exported.err;
            EXPECT_EQ(exported.out,
                      "exported the configuration of the mouse to " + path("a.json") + "\n");
            ASSERT_EQ(run({"--edition", edition, "--file", path("a.bin"), "export", "--json",
                           path("b.json")})
                          .code,
                      0);
            EXPECT_EQ(readAll(path("a.json")), readAll(path("b.json")));
            expectSameAsBinaryWrite(path("a.bin"), edition, kind);
        }
    }
}

TEST_F(ExportCommand, EveryKindOfFunctionRoundTrips) {
    const std::string file = profileFile(
        "functions.bin",
        [](Bytes& p) {
            const std::vector<std::uint32_t> codes = {
                0x00000000, 0x01010000, 0x01020000, 0x01040000, 0x01080000, 0x01100000,
                0x02050400, 0x02080700, 0x0300CD00, 0x0300E200, 0x03022300, 0x03022A00,
                0x04010000, 0x04020000, 0x04030000, 0x05000000, 0x06120010, 0x06120020,
                0x06120030, 0x06120040, 0x07000000, 0x09000000, 0x09010000, 0x09020000,
                0x0C000000, 0x0D000000, 0x0E000000, 0x0F010300, 0x0F020000, 0x10800000,
                0x10840000, 0x10FC0000, 0x0B123456, 0x02000800, 0x0300B500, 0x03022700};
            for (std::size_t i = 0; i < codes.size(); ++i)
                setCode(p, i / 12, i % 12, codes[i]);
            sealProfiles(p);
        },
        "orlix-editor-s");
    // The alternate and reset-control profiles end up without Left Key.
    expectSameAsBinaryWrite(file, "orlix-editor-s", "macro", true);
    const Json j = Json::parse(std::ifstream(path("p.json")));
    EXPECT_EQ(j["profiles"]["alternate"][3]["function"], "AIM Key");
    EXPECT_EQ(j["profiles"]["resetControl"][3]["function"], "Fire Mode");
    // The group the page shows: the last Fire Mode button's modes.
    EXPECT_EQ(j["fireModeGroup"], Json({2}));
}

TEST_F(ExportCommand, AFullMacroStoreRoundTrips) {
    // Every macro named and filled through orlixctl macro, in a profile file.
    ASSERT_EQ(sim("source.sim", {"read", "-o", path("macros.bin")}).code, 0);
    for (int n = 1; n <= 32; ++n) {
        std::string script = "10\n1 Ctrl CODE:8101\n0 " + std::to_string(n) +
                             "\n1 A CODE:8204\n2 A CODE:0204\n2 Ctrl CODE:0101\n";
        for (int i = 0; i < n * 5; ++i)
            script += i % 2 == 0 ? "1 LeftKey CODE:00A1\n" : "2 LeftKey CODE:0021\n0 7\n";
        writeText(path("m.txt"), script);
        const std::string number = std::to_string(n);
        ASSERT_EQ(run({"--file", path("macros.bin"), "macro", "set", number, path("m.txt")}).code,
                  0);
        ASSERT_EQ(
            run({"--file", path("macros.bin"), "macro", "name", number, "Макрос " + number}).code,
            0);
    }
    expectSameAsBinaryWrite(path("macros.bin"), "orlix-editor");
    const Json j = Json::parse(std::ifstream(path("p.json")));
    EXPECT_EQ(j["macros"][8]["name"], "Макрос 9");
    EXPECT_EQ(j["macros"][8]["script"][3], "1 A CODE:8204");
}

TEST_F(ExportCommand, ShowReadsTheFileAsTheProfileItCameFrom) {
    ASSERT_EQ(sim("a.sim", {"read", "-o", path("a.bin")}).code, 0);
    ASSERT_EQ(run({"--file", path("a.bin"), "export", "--json", path("a.JSON")}).code, 0);
    for (bool json : {false, true}) {
        std::vector<std::string> fromBin = {"show", path("a.bin")};
        std::vector<std::string> fromJson = {"show", path("a.JSON")};
        if (json) {
            fromBin.push_back("--json");
            fromJson.push_back("--json");
        }
        const CliResult a = run(fromBin);
        const CliResult b = run(fromJson);
        ASSERT_EQ(b.code, 0) << b.err;
        std::string expected = a.out;
        const std::string name = json ? "\"" + path("a.bin") + "\"" : path("a.bin");
        expected.replace(expected.find(name), name.size(),
                         json ? "\"" + path("a.JSON") + "\"" : path("a.JSON"));
        EXPECT_EQ(b.out, expected);
    }
    // A configuration file exports to itself.
    const CliResult again = run({"--file", path("a.JSON"), "export", "--json", path("b.json")});
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(readAll(path("b.json")), readAll(path("a.JSON")));
    // "-" writes to standard output.
    const CliResult out = run({"--file", path("a.bin"), "export", "--json", "-"});
    const Bytes file = readAll(path("a.JSON"));
    EXPECT_EQ(out.out, std::string(file.begin(), file.end()));
}

TEST_F(ExportCommand, ABadFileWritesNothing) {
    ASSERT_EQ(sim("a.sim", {"export", "--json", path("good.json")}).code, 0);
    const Bytes before = readAll(path("a.sim"));
    const Bytes goodBytes = readAll(path("good.json"));
    const std::string good(goodBytes.begin(), goodBytes.end());
    Json j = Json::parse(good);
    struct Case {
        std::string name;
        std::string text;
        std::string message;
    };
    Json unknown = j, range = j, vendor = j, edition = j;
    unknown["lighting"]["speed"] = 3;
    range["fireKeys"][1]["delay"] = 5000;
    vendor["vendorId"] = "0x1234";
    const std::vector<Case> cases = {
        {"unknown.json", unknown.dump(), "lighting.speed: unknown field"},
        {"range.json", range.dump(), "fireKeys[1].delay: 5000 is out of range 2..2000"},
        {"vendor.json", vendor.dump(), "for another mouse: its vendor id is 0x1234"},
        {"cut.json", good.substr(0, good.size() / 2), "not valid JSON"},
    };
    for (const Case& c : cases) {
        writeText(path(c.name), c.text);
        const CliResult written =
            sim("a.sim", {"--trace", path("trace.txt"), "write", path(c.name)});
        EXPECT_EQ(written.code, 2) << c.name;
        EXPECT_NE(written.err.find(c.message), std::string::npos) << written.err;
        EXPECT_NE(written.err.find("nothing was loaded"), std::string::npos) << written.err;
        EXPECT_EQ(written.out, "");
        // Refused before the mouse was touched at all.
        EXPECT_TRUE(readAll(path("trace.txt")).empty()) << c.name;
        EXPECT_EQ(readAll(path("a.sim")), before) << c.name;
        EXPECT_EQ(run({"show", path(c.name)}).code, 2) << c.name;
    }
    // The other edition's file is refused by name.
    const CliResult other = sim("s.sim", {"write", path("good.json")}, "orlix-editor-s");
    EXPECT_EQ(other.code, 2);
    EXPECT_NE(other.err.find("edition: the file was made for orlix-editor, this is orlix-editor-s"),
              std::string::npos)
        << other.err;
}

TEST_F(ExportCommand, UsageAndFileErrors) {
    const CliResult noJson = run({"export", path("x.json")});
    EXPECT_EQ(noJson.code, 1);
    EXPECT_NE(noJson.err.find("give --json"), std::string::npos);
    EXPECT_EQ(run({"export", "--json"}).code, 1);
    const CliResult missing = run({"--file", path("none.bin"), "export", "--json", path("x.json")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_FALSE(fs::exists(path("x.json")));
    EXPECT_EQ(run({"--file", path("none.bin"), "export", "--json", path("no/dir/x.json")}).code, 2);
    EXPECT_NE(orlixctl::helpText().find("export --json FILE"), std::string::npos);
}

} // namespace
} // namespace orlix::test
