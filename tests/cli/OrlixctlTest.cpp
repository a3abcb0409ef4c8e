#include "Orlixctl.h"

#include "model/ParameterImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = orlixctl::run(args, out, err);
    return {code, out.str(), err.str()};
}

class Orlixctl : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(ORLIX_TEST_SCRATCH) /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    fs::path dir;
};

std::vector<std::uint8_t> readAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> lines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

void seal(std::vector<std::uint8_t>& bytes, std::size_t start, std::size_t dataLength) {
    orlix::sealSection(std::span<std::uint8_t>(bytes.data() + start, dataLength + 1));
}

} // namespace

TEST_F(Orlixctl, WriteThenReadGivesTheProfileBack) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", p}).code, 0);
    auto bytes = readAll(p);
    ASSERT_EQ(bytes.size(), 34048u);

    // Edit the profile as a user's file might differ from the mouse: key 5 of the main
    // profile, 1000 reports per second, and a named macro 3.
    const std::uint8_t cpiUp[] = {0x09, 0x01, 0x00, 0x00};
    std::copy(std::begin(cpiUp), std::end(cpiUp), bytes.begin() + 110 + 16);
    seal(bytes, 110, 144);
    bytes[28] = 0x01;
    seal(bytes, 27, 4);
    const std::uint8_t entry[] = {0x00, 0x03, 0x00, 0x04, 0x00, 'M', 0x00, '3'};
    std::copy(std::begin(entry), std::end(entry), bytes.begin() + 256 + 32 * 2);
    const std::uint8_t body[] = {0xA1, 0x21, 0x00};
    std::copy(std::begin(body), std::end(body), bytes.begin() + 1280 + 1024 * 2);
    writeAll(p, bytes);

    const auto w = run({"--simulate=macro", "--sim-state", state, "write", p});
    ASSERT_EQ(w.code, 0) << w.err;
    const auto q = path("q.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", q}).code, 0);
    EXPECT_EQ(readAll(q), bytes);

    const auto shown = run({"--simulate=macro", "--sim-state", state, "show"});
    ASSERT_EQ(shown.code, 0);
    EXPECT_NE(shown.out.find("Key5  09010000  CPI +"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Report rate: 1000"), std::string::npos);
    EXPECT_NE(shown.out.find("3  \"M3\"  3 bytes"), std::string::npos);
}

TEST_F(Orlixctl, UnplugInTheMiddleOfAWriteIsAClearError) {
    const auto state = path("m.bin");
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", p}).code, 0);
    // Probes, identification and the read before the write take 4940 reports.
    const auto trace = path("trace.txt");
    const auto r = run({"--simulate=macro", "--sim-state", state, "--sim-unplug-after", "7000",
                        "--trace", trace, "write", p});
    EXPECT_EQ(r.code, orlixctl::kTransferFailed);
    EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
    EXPECT_EQ(fs::file_size(state), 65536u + 16u); // memory, then kind and running rate
    const auto t = lines(trace);
    ASSERT_GT(t.size(), 7000u);
    EXPECT_EQ(t[6999].find("failed"), std::string::npos);
    EXPECT_NE(t[7000].find(" failed"), std::string::npos) << t[7000];

    // Gone before the first report: found, but it takes no reports.
    const auto gone = run({"--simulate=basic", "--sim-unplug-after", "0", "info"});
    EXPECT_EQ(gone.code, orlixctl::kNoDevice);
    EXPECT_NE(gone.err.find("neither command nor data"), std::string::npos) << gone.err;

    // The next run finds the mouse again, and the same file repairs it.
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "write", p}).code, 0);
    const auto q = path("q.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", q}).code, 0);
    EXPECT_EQ(readAll(q), readAll(p));
}

TEST_F(Orlixctl, TraceHasOneLinePerReportAndTheSequenceCounts) {
    const auto trace = path("trace.txt");
    ASSERT_EQ(run({"--simulate=basic", "--trace", trace, "read", "-o", path("b.bin")}).code, 0);
    auto t = lines(trace);
    const std::regex line("(set|get)( [0-9A-F]{2}){8}");
    for (const auto& l : t)
        ASSERT_TRUE(std::regex_match(l, line)) << l;
    // Two probes, eight identification reports, then the read of a basic mouse.
    ASSERT_EQ(t.size(), 2u + 8u + 38u);
    EXPECT_EQ(t[10], "set 40 0B 00 00 01 00 00 00");
    EXPECT_EQ(fs::file_size(path("b.bin")), 34048u);
    const auto saved = readAll(path("b.bin"));
    EXPECT_TRUE(std::all_of(saved.begin() + 256, saved.end(), [](auto b) { return b == 0xFF; }));

    const auto state = path("m.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "read", "-o", path("p.bin")}).code, 0);
    ASSERT_EQ(
        run({"--simulate=macro", "--sim-state", state, "--trace", trace, "write", path("p.bin")})
            .code,
        0);
    // A factory-fresh macro mouse holds the default image: identified at 0x6053 (12 reports);
    // the write is read back (38).
    t = lines(trace);
    EXPECT_EQ(t.size(), 2u + 12u + 4926u + 5068u + 38u + 1u);
    EXPECT_EQ(t.back(), "set 40 19 00 00 00 00 00 00");

    ASSERT_EQ(run({"--simulate=macro", "--sim-state", state, "--trace", trace, "reset"}).code, 0);
    EXPECT_EQ(lines(trace).size(), 2u + 12u + 4926u + 5068u + 38u + 1u);
}

TEST_F(Orlixctl, ShowJsonOfAFileOrTheMouse) {
    const auto p = path("p.bin");
    ASSERT_EQ(run({"--simulate=basic", "read", "-o", p}).code, 0);
    const auto json = run({"show", "--json", p});
    ASSERT_EQ(json.code, 0) << json.err;
    for (const char* key :
         {"\"dataType\": 29", "\"vendorId\": 7119", "\"productId\": 2214", "\"cpiLevels\"",
          "\"currentLevel\": 0", "\"reportRate\": 500", "\"activeProfile\": 0", "\"lighting\"",
          "\"fireKeys\"", "{\"repeat\": 2, \"delay\": 64}", "\"profiles\"",
          "{\"button\": 1, \"code\": \"01010000\", \"function\": \"Left Key\"}", "\"macros\"",
          "{\"number\": 32, \"name\": \"\""}) {
        EXPECT_NE(json.out.find(key), std::string::npos) << key;
    }
    // The second edition's list puts 1600 at index 7.
    const auto s = run({"--edition", "orlix-editor-s", "--simulate=basic", "show", "--json"});
    ASSERT_EQ(s.code, 0) << s.err;
    EXPECT_NE(s.out.find("{\"used\": true, \"index\": 7, \"value\": 1600}"), std::string::npos)
        << s.out;
    EXPECT_NE(s.out.find("\"macros\": []"), std::string::npos); // a basic mouse has none
}

TEST_F(Orlixctl, BadInputGivesMessagesAndExitCodes) {
    EXPECT_EQ(run({}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"frobnicate"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"write"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"read"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"--simulate=turbo", "info"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"--sim-state", path("x.bin"), "info"}).code, orlixctl::kUsage);
    EXPECT_EQ(run({"--edition", "orlix-editor-x", "info"}).code, orlixctl::kUsage);

    const auto missing = run({"show", path("missing.bin")});
    EXPECT_EQ(missing.code, orlixctl::kFileError);
    EXPECT_NE(missing.err.find("missing.bin"), std::string::npos);

    // A state file that is not one is refused and left as it was.
    const auto state = path("bad-state.bin");
    writeAll(state, std::vector<std::uint8_t>(100, 0x42));
    const auto bad = run({"--simulate=macro", "--sim-state", state, "info"});
    EXPECT_EQ(bad.code, orlixctl::kFileError);
    EXPECT_NE(bad.err.find("100 bytes"), std::string::npos) << bad.err;
    EXPECT_EQ(readAll(state), std::vector<std::uint8_t>(100, 0x42));

    // An empty profile file writes nothing; a short one is taken as far as it goes.
    const auto good = path("m.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", good, "info"}).code, 0);
    const auto before = readAll(good);
    writeAll(path("empty.bin"), {});
    EXPECT_EQ(run({"--simulate=macro", "--sim-state", good, "write", path("empty.bin")}).code,
              orlixctl::kFileError);
    EXPECT_EQ(readAll(good), before);

    const auto help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* word : {"list", "info", "read -o FILE", "write FILE", "reset", "show [FILE]",
                             "--simulate", "--sim-state", "--trace", "--edition", "--json"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
}
