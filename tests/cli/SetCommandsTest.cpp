// orlixctl set: the settings of the Advanced and button pages from the command line, checked
// in the bytes the simulated mouse (or the profile file) ends up holding.
#include "support/Checksums.h"
#include "support/CliHarness.h"

#include "model/FireKeyFields.h"
#include "model/ParameterImage.h"
#include "model/SectionBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

namespace image = orlix::image;
using orlix::test::checksumsValid;
using orlix::test::readAll;
using orlix::test::run;
using Result = orlix::test::CliResult;

constexpr std::size_t kCurrentLevel = image::kSectionBStart + image::kCurrentCpiLevel;
constexpr std::size_t kReportRate = image::kSectionBStart + image::kReportRate;
// The first byte after section B.
constexpr std::size_t kMiddle = image::kSectionBStart + image::kSectionBSize;

// Where fire key n (0..3) lies in an image.
constexpr std::size_t fireKeyAt(std::size_t n) {
    return image::kFireKeyStart + orlix::fire::kKeyBytes * n;
}

std::string hex(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n) {
    std::string out;
    char buf[3];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", b[at + i]);
        out += buf;
    }
    return out;
}

// Code of button k (1..12) of profile p (0..2) in an image.
std::string code(const std::vector<std::uint8_t>& b, int p, int k) {
    return hex(b, image::kProfileStart + orlix::profileCodeOffset(p, k - 1), 4);
}

// A simulated mouse of one edition, kept in a state file between runs.
class SetCommand : public orlix::test::CliTest {
protected:
    Result on(const std::string& edition, std::vector<std::string> args) {
        std::vector<std::string> all{"--simulate=basic", "--sim-state", path("mouse.bin"),
                                     "--edition", edition};
        all.insert(all.end(), args.begin(), args.end());
        return run(all);
    }
    // The mouse's image as `read -o` saves it.
    std::vector<std::uint8_t> image(const std::string& edition) {
        const auto file = path("read.bin");
        const auto r = on(edition, {"read", "-o", file});
        EXPECT_EQ(r.code, 0) << r.err;
        auto bytes = readAll(file);
        bytes.resize(orlix::kImageSize);
        return bytes;
    }
    std::string json(const std::string& edition) {
        const auto r = on(edition, {"show", "--json"});
        EXPECT_EQ(r.code, 0) << r.err;
        return r.out;
    }
    // A refused command: exit 1, a message containing `says`, and the mouse untouched.
    void refused(const std::string& edition, std::vector<std::string> args,
                 const std::string& says) {
        const auto before = readAll(path("mouse.bin"));
        const auto r = on(edition, args);
        EXPECT_EQ(r.code, 1) << args.back();
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        EXPECT_EQ(readAll(path("mouse.bin")), before) << args.back();
    }
};

const std::string kEditor = "orlix-editor";
const std::string kEditorS = "orlix-editor-s";

} // namespace

TEST_F(SetCommand, CpiLevelsAndCurrentLevelReachTheMouseInEachEditionsOrder) {
    ASSERT_EQ(on(kEditor, {"set", "cpi", "600,1000,1600", "--current", "1600"}).code, 0);
    auto b = image(kEditor);
    EXPECT_EQ(hex(b, image::kCpiLevel1, 4), "020406FF");
    EXPECT_EQ(b[kCurrentLevel], 2);
    EXPECT_TRUE(checksumsValid(b));
    const auto j = json(kEditor);
    EXPECT_NE(j.find("\"currentLevel\": 2"), std::string::npos);
    EXPECT_NE(j.find("{\"used\": true, \"index\": 6, \"value\": 1600}"), std::string::npos);

    // Descending input, no --current: the old current (1600) is gone, so the lowest.
    ASSERT_EQ(on(kEditorS, {"set", "cpi", "4800,1600"}).code, 0);
    b = image(kEditorS);
    EXPECT_EQ(hex(b, image::kCpiLevel1, 4), "070AFFFF"); // "1600" is index 7 in this edition
    EXPECT_EQ(b[kCurrentLevel], 0);
    EXPECT_TRUE(checksumsValid(b));
}

TEST_F(SetCommand, BadCpiValuesNameTheAllowedOnesAndChangeNothing) {
    ASSERT_EQ(on(kEditor, {"read", "-o", path("first.bin")}).code, 0); // the mouse exists
    const std::string values = "600, 800, 1000, 1200, 1600, 2400, 3500, 4800";
    refused(kEditor, {"set", "cpi", "600"}, values);
    refused(kEditor, {"set", "cpi", "600,800,1000,1200,1600"}, values);
    refused(kEditor, {"set", "cpi", "600,2000"}, "\"2000\" is not a resolution value");
    refused(kEditor, {"set", "cpi", "600,600"}, "twice");
    refused(kEditor, {"set", "cpi", "600,800", "--current", "1000"}, "--current");
    refused(kEditor, {"set", "cpi", "600,,800"}, values);
}

TEST_F(SetCommand, ReportRateChangeEndsWithTheRatePair) {
    const auto trace = path("trace.txt");
    auto r = run({"--simulate=basic", "--sim-state", path("mouse.bin"), "--trace", trace, "set",
                  "rate", "1000"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(image(kEditor)[kReportRate], 1);
    EXPECT_NE(json(kEditor).find("\"reportRate\": 1000"), std::string::npos);
    // The last two commands: 0x03 then 0x18, where an unchanged rate ends with 0x19.
    std::ifstream in(trace);
    std::vector<std::string> commands;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("set 40 ", 0) == 0) commands.push_back(line.substr(7, 2));
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[commands.size() - 2], "03");
    EXPECT_EQ(commands.back(), "18");

    refused(kEditor, {"set", "rate", "750"}, "500 or 1000");
    refused(kEditor, {"set", "rate", "fast"}, "500 or 1000");
}

TEST_F(SetCommand, FireKeysAtTheirBounds) {
    ASSERT_EQ(on(kEditor, {"set", "fire-key", "2", "--repeat", "5", "--delay", "300"}).code, 0);
    auto b = image(kEditor);
    EXPECT_EQ(hex(b, fireKeyAt(1), 4), "0615012C");
    ASSERT_EQ(on(kEditor, {"set", "fire-key", "4", "--delay", "2000"}).code, 0);
    ASSERT_EQ(on(kEditor, {"set", "fire-key", "1", "--repeat", "15"}).code, 0);
    b = image(kEditor);
    EXPECT_EQ(hex(b, fireKeyAt(0), 4), "061F0010"); // delay kept
    EXPECT_EQ(hex(b, fireKeyAt(3), 4), "061207D0");
    EXPECT_TRUE(checksumsValid(b));
    EXPECT_NE(json(kEditor).find("{\"repeat\": 15, \"delay\": 16}"), std::string::npos);

    refused(kEditor, {"set", "fire-key", "1", "--repeat", "16"}, "2 to 15");
    refused(kEditor, {"set", "fire-key", "1", "--repeat", "1"}, "2 to 15");
    refused(kEditor, {"set", "fire-key", "1", "--delay", "2001"}, "2 to 2000");
    refused(kEditor, {"set", "fire-key", "1", "--delay", "1"}, "2 to 2000");
    refused(kEditor, {"set", "fire-key", "5", "--delay", "100"}, "1 to 4");
    refused(kEditor, {"set", "fire-key", "1"}, "--repeat");
}

TEST_F(SetCommand, FireModeGroupNeedsAFireModeButtonAndReachesEveryOne) {
    ASSERT_EQ(on(kEditor, {"read", "-o", path("first.bin")}).code, 0);
    refused(kEditor, {"set", "fire-mode", "1,3"}, "no button has the Fire Mode function");
    ASSERT_EQ(on(kEditor, {"set", "button", "main", "5", "Fire Mode"}).code, 0);
    ASSERT_EQ(on(kEditor, {"set", "button", "alternate", "8", "fire mode"}).code, 0);
    EXPECT_EQ(code(image(kEditor), 0, 5), "0F000000");
    EXPECT_NE(json(kEditor).find("\"fireMode\": []"), std::string::npos);
    ASSERT_EQ(on(kEditor, {"set", "fire-mode", "3,1"}).code, 0);
    auto b = image(kEditor);
    EXPECT_EQ(code(b, 0, 5), "0F010300");
    EXPECT_EQ(code(b, 1, 8), "0F010300");
    EXPECT_TRUE(checksumsValid(b));
    EXPECT_NE(json(kEditor).find("\"fireMode\": [1, 3]"), std::string::npos);
    refused(kEditor, {"set", "fire-mode", "1,2,3,4"}, "1 to 3");
    refused(kEditor, {"set", "fire-mode", "2,2"}, "1 to 3");
    refused(kEditor, {"set", "fire-mode", "0"}, "\"0\" is not a fire key");
}

TEST_F(SetCommand, ButtonsTakeMenuNamesKeyCombinationsAndCodes) {
    ASSERT_EQ(on(kEditor, {"set", "button", "main", "5", "CPI +"}).code, 0);
    ASSERT_EQ(on(kEditor, {"set", "button", "alternate", "6", "Ctrl+C"}).code, 0);
    ASSERT_EQ(on(kEditor, {"set", "button", "main", "9", "Win+Shift+F1"}).code, 0);
    ASSERT_EQ(on(kEditor, {"set", "button", "main", "10", "0300e900"}).code, 0);
    ASSERT_EQ(on(kEditor, {"set", "button", "main", "1", "Right Key"}).code, 0);
    auto b = image(kEditor);
    EXPECT_EQ(code(b, 0, 5), "09010000");
    EXPECT_EQ(code(b, 1, 6), "02010600");
    EXPECT_EQ(code(b, 0, 9), "020A3A00");
    EXPECT_EQ(code(b, 0, 10), "0300E900");
    EXPECT_EQ(code(b, 0, 1), "01020000"); // the primary buttons traded places
    EXPECT_EQ(code(b, 0, 2), "01010000");
    EXPECT_TRUE(checksumsValid(b));
    const auto j = json(kEditor);
    EXPECT_NE(j.find("\"code\": \"02010600\", \"function\": \"Ctrl+C\""), std::string::npos);

    refused(kEditor, {"set", "button", "reset-control", "5", "CPI"}, "read-only");
    refused(kEditor, {"set", "button", "main", "13", "CPI"}, "1 to 12");
    refused(kEditor, {"set", "button", "main", "1", "CPI"}, "Left Key");
    refused(kEditor, {"set", "button", "main", "5", "Teleport"}, "\"CPI +\"");
    refused(kEditor, {"set", "button", "main", "5", "Ctrl+Ctrl"}, "no key combination");
    // The menus of a 0x1D mouse end above CPI - in this edition, and it has no AIM key.
    refused(kEditor, {"set", "button", "main", "5", "CPI -"}, "no function of the menus");
    refused(kEditor, {"set", "button", "main", "5", "AIM Key"}, "no function of the menus");
    ASSERT_EQ(on(kEditorS, {"set", "button", "main", "4", "AIM Key"}).code, 0);
    EXPECT_EQ(code(image(kEditorS), 0, 4), "05000000");
}

TEST_F(SetCommand, FileIsChangedInPlaceWithItsMacros) {
    const auto file = path("profile.bin");
    ASSERT_EQ(run({"--simulate=macro", "--sim-state", path("mouse.bin"), "read", "-o", file}).code,
              0);
    auto before = readAll(file);
    before[orlix::kImageSize + 5] = 0x42; // something in the macro table, to see it carried
    orlix::test::writeAll(file, before);
    auto r = run({"set", "cpi", "800,3500", "--file", file});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto after = readAll(file);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(hex(after, image::kCpiLevel1, 4), "0309FFFF");
    EXPECT_TRUE(checksumsValid(after));
    EXPECT_TRUE(std::equal(after.begin() + orlix::kImageSize, after.end(),
                           before.begin() + orlix::kImageSize));
    EXPECT_TRUE(std::equal(after.begin() + kMiddle, after.begin() + image::kFireKeyStart,
                           before.begin() + kMiddle));

    r = run({"set", "rate", "800", "--file", file});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readAll(file), after);

    const auto shortFile = path("short.bin");
    orlix::test::writeAll(shortFile, {after.begin(), after.begin() + orlix::kImageSize});
    r = run({"set", "rate", "1000", "--file", shortFile});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("not a profile file"), std::string::npos);
    EXPECT_EQ(fs::file_size(shortFile), orlix::kImageSize);
}

// A macro mouse keeps its current level and report rate in a record of its own (0x7000).
TEST_F(SetCommand, MacroMouseTakesRateAndCurrentLevelToo) {
    const auto state = path("macro.bin");
    const auto onMacro = [&](std::vector<std::string> args) {
        std::vector<std::string> all{"--simulate=macro", "--sim-state", state};
        all.insert(all.end(), args.begin(), args.end());
        return run(all);
    };
    ASSERT_EQ(onMacro({"set", "rate", "1000"}).code, 0);
    ASSERT_EQ(onMacro({"set", "cpi", "800,3500", "--current", "3500"}).code, 0);
    const auto r = onMacro({"show", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"currentLevel\": 1"), std::string::npos);
    EXPECT_NE(r.out.find("\"reportRate\": 1000"), std::string::npos);
    EXPECT_NE(r.out.find("{\"used\": true, \"index\": 9, \"value\": 3500}"), std::string::npos);
}

namespace {

std::vector<std::string> traceLines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::size_t countStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [&](auto& l) { return l.rfind(prefix, 0) == 0; }));
}

} // namespace

TEST_F(SetCommand, SeveralSettingsInOneRunAreOneReadAndOneWrite) {
    const auto trace = path("t.txt");
    const auto r =
        on(kEditor, {"--trace", trace, "set", "rate", "1000", "cpi", "600,1000,1600", "--current",
                     "1600", "fire-key", "2", "--delay", "40", "button", "main", "5", "CPI +"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("wrote the report rate, resolution levels, fire key 2 and button 5 of "
                         "the main profile to the mouse"),
              std::string::npos)
        << r.out;
    const auto t = traceLines(trace);
    EXPECT_EQ(countStarting(t, "set 40 09"), 1u); // one image write
    EXPECT_EQ(t.back(), "set 40 18 00 00 00 00 00 00");
    const auto b = image(kEditor);
    EXPECT_EQ(b[image::kSectionBStart + image::kReportRate], 0x01);
    EXPECT_EQ(hex(b, image::kCpiLevel1, 4), "020406FF");
    EXPECT_EQ(b[image::kSectionBStart + image::kCurrentCpiLevel], 2);
    EXPECT_EQ(code(b, 0, 5), "09010000");
    EXPECT_TRUE(checksumsValid(b));
    EXPECT_NE(on(kEditor, {"show"}).out.find("Fire key 2: repeat"), std::string::npos);
    EXPECT_NE(on(kEditor, {"show"}).out.find(", delay 40"), std::string::npos);
}

TEST_F(SetCommand, OneRefusedSettingRefusesTheWholeRun) {
    struct Row {
        std::vector<std::string> args;
        const char* says;
    };
    const Row rows[] = {
        {{"set", "rate", "1000", "cpi", "600"}, "resolution values given"},
        {{"set", "cpi", "600,1000", "rate", "750"}, "500 or 1000"},
        {{"set", "rate", "1000", "--current", "600", "cpi", "600,1000"},
         "--current does not go with set rate"},
        {{"set", "rate", "1000", "rate", "500"}, "given twice"},
        {{"set", "fire-key", "1", "--repeat", "3", "fire-key", "1", "--delay", "9"}, "given twice"},
        {{"set", "fire-key", "1", "--repeat", "3", "--repeat", "4"}, "--repeat is given twice"},
        {{"set", "rate", "1000", "teleport", "3"}, "\"teleport\" is no setting"},
        {{"set", "rate", "1000", "button", "main", "5"}, "wrong arguments for set button"},
        // Refused once the mouse was read: no button carries the Fire Mode group.
        {{"set", "rate", "1000", "fire-mode", "1,3"}, "no button has the Fire Mode function"},
    };
    ASSERT_EQ(on(kEditor, {"info"}).code, 0); // the state file exists
    for (const Row& row : rows)
        refused(kEditor, row.args, row.says);
}

TEST_F(SetCommand, RateOnAMacroMouseRewritesTwoSectorsOrAllWithFull) {
    struct Row {
        std::vector<std::string> args;
        std::size_t erases;
        std::size_t reports; // the whole run, as the trace counts it
        const char* says;
    };
    // Probes and identification 14, image, table and copies 190; sectors 0x60 and 0x70 are
    // erased and written (2 + 38 + 4 x 38 + 2 + 2) and read back (38 + 148 + 2 + 2); 03, 18.
    const Row rows[] = {
        {{"set", "rate", "1000"}, 2, 14 + 190 + 196 + 190 + 2, "wrote the report rate"},
        {{"set", "rate", "500"}, 0, 14 + 190, "nothing to change"},
        {{"set", "rate", "1000", "--full"},
         10,
         14 + 190 + 5068 + 4926 + 2,
         "wrote the report rate"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.back());
        const auto state = path("m.bin");
        fs::remove(state);
        const auto trace = path("t.txt");
        std::vector<std::string> args{"--simulate=macro", "--sim-state", state, "--trace", trace};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const auto r = run(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find(row.says), std::string::npos) << r.out;
        const auto t = traceLines(trace);
        EXPECT_EQ(countStarting(t, "set 40 11"), row.erases);
        EXPECT_EQ(t.size(), row.reports);
    }
}

TEST_F(SetCommand, EachOfTheFirstThreeButtonsStaysInTheLeftRightMiddleGroup) {
    // button, function -> refused with the group's message (nullptr: taken, with this code)
    struct Row {
        const char* button;
        const char* function;
        const char* code;
    };
    const Row rows[] = {
        {"1", "CPI +", nullptr},         {"2", "CPI +", nullptr},    {"3", "CPI +", nullptr},
        {"3", "Ctrl+C", nullptr},        {"3", "10800000", nullptr}, {"3", "Left Key", "01010000"},
        {"2", "Middle Key", "01040000"}, {"4", "CPI +", "09010000"},
    };
    for (const Row& row : rows) {
        if (row.code == nullptr) {
            refused(kEditor, {"set", "button", "main", row.button, row.function},
                    "buttons 1 to 3 take");
            continue;
        }
        ASSERT_EQ(on(kEditor, {"set", "button", "main", row.button, row.function}).code, 0)
            << row.button << " " << row.function;
        EXPECT_EQ(code(image(kEditor), 0, std::stoi(row.button)), row.code) << row.button;
    }
}

TEST_F(SetCommand, AFirstThreeButtonFunctionTradesPlacesWithTheButtonThatHadIt) {
    // on a fresh mouse: button, function -> codes of buttons 1, 2 and 3 afterwards
    struct Row {
        const char* button;
        const char* function;
        std::array<const char*, 3> codes;
    };
    const Row rows[] = {
        {"3", "Left Key", {"01040000", "01020000", "01010000"}},
        {"2", "Left Key", {"01020000", "01010000", "01040000"}},
        {"1", "Middle Key", {"01040000", "01020000", "01010000"}},
        {"3", "Right Key", {"01010000", "01040000", "01020000"}},
    };
    for (const Row& row : rows) {
        fs::remove(path("mouse.bin"));
        ASSERT_EQ(on(kEditor, {"set", "button", "main", row.button, row.function}).code, 0)
            << row.button << " " << row.function;
        const auto img = image(kEditor);
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(code(img, 0, k), row.codes[static_cast<std::size_t>(k - 1)])
                << "button " << k << " after " << row.button << " " << row.function;
    }
}
