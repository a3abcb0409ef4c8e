// orlixctl set lighting: on the simulated mouse and on profile files, and the refusals that
// leave everything as it was.
#include "support/CliHarness.h"

#include "model/MacroStore.h"
#include "model/ParameterImage.h"
#include "model/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using orlix::kProfileFileSize;
namespace image = orlix::image;

namespace {

using orlix::test::readAll;
using orlix::test::run;
using orlix::test::writeAll;
using Result = orlix::test::CliResult;

constexpr std::size_t kLightingMode = image::kSectionBStart + image::kLightingMode;

bool sectionsValid(const std::vector<std::uint8_t>& f) {
    const std::span<const std::uint8_t> all(f);
    return orlix::sectionValid(all.subspan(0, orlix::image::kSectionASize)) &&
           orlix::sectionValid(
               all.subspan(orlix::image::kSectionBStart, orlix::image::kSectionBSize));
}

class SetLighting : public orlix::test::CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        state = (dir / "mouse.state").string();
    }

    // A profile of the simulated mouse with the lighting in use (flags byte as given) and a
    // recognisable macro body, written to `name`.
    std::string litProfile(const std::string& name, std::uint8_t flags,
                           const std::string& edition = "orlix-editor") {
        const std::string file = (dir / name).string();
        EXPECT_EQ(run({"--edition", edition, "--simulate=macro", "read", "-o", file}).code, 0);
        auto bytes = readAll(file);
        bytes[orlix::image::kLightingFlags] = flags;
        orlix::sealSection(std::span<std::uint8_t>(bytes.data(), orlix::image::kSectionASize));
        for (std::size_t i = 0; i < 8; ++i)
            bytes[orlix::kImageSize + orlix::kMacroTableSize + i] =
                static_cast<std::uint8_t>(0xA0 + i);
        writeAll(file, bytes);
        return file;
    }

    std::string state;
};

} // namespace

TEST_F(SetLighting, FileGetsTheBytesTheWindowWouldStore) {
    const std::string file = litProfile("lit.bin", 0xEE);
    const auto before = readAll(file);
    const auto r = run({"set", "lighting", "custom", "--colour", "50,25,0", "--steps", "3,10,10,1",
                        "--file", file});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find(file), std::string::npos);
    const auto after = readAll(file);
    ASSERT_EQ(after.size(), kProfileFileSize);
    EXPECT_EQ(after[kLightingMode], 2);
    EXPECT_EQ(after[image::kLedOffTime], 50);
    EXPECT_EQ(after[image::kLedRiseTime], 23);
    EXPECT_EQ(after[image::kLedOnTime], 225);
    EXPECT_EQ(after[image::kLedFallTime], 0);
    EXPECT_EQ(after[image::kLightingFlags], 0xFE); // colour mode 1, the other flag bits kept
    EXPECT_EQ(after[image::kMode1Red], 50);
    EXPECT_EQ(after[image::kMode1Red + 1], 25);
    EXPECT_EQ(after[image::kMode1Red + 2], 0);
    EXPECT_TRUE(sectionsValid(after));
    // The macros of the file are carried as they were.
    EXPECT_TRUE(std::equal(before.begin() + orlix::kImageSize, before.end(),
                           after.begin() + orlix::kImageSize));

    // Only the mode: the steps and colour stay as set.
    ASSERT_EQ(run({"set", "lighting", "colorful", "--file", file}).code, 0);
    const auto again = readAll(file);
    EXPECT_EQ(again[kLightingMode], 1);
    EXPECT_EQ(again[image::kLedOffTime], 50);
    EXPECT_EQ(again[image::kMode1Red], 50);
}

TEST_F(SetLighting, MouseIsReadChangedAndWrittenAndShowReportsIt) {
    for (const std::string edition : {"orlix-editor", "orlix-editor-s"}) {
        fs::remove(state);
        const std::string file = litProfile("lit-" + edition + ".bin", 0xFE, edition);
        ASSERT_EQ(
            run({"--edition", edition, "--simulate=macro", "--sim-state", state, "write", file})
                .code,
            0);
        const auto r = run({"--edition", edition, "--simulate=macro", "--sim-state", state, "set",
                            "lighting", "random", "--steps", "10,1,2,9"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find("to the mouse"), std::string::npos) << r.out;
        const auto shown =
            run({"--edition", edition, "--simulate=macro", "--sim-state", state, "show", "--json"});
        ASSERT_EQ(shown.code, 0);
        EXPECT_NE(shown.out.find("\"used\": true"), std::string::npos) << shown.out;
        EXPECT_NE(shown.out.find("\"mode\": 0"), std::string::npos);
        EXPECT_NE(
            shown.out.find("\"offStep\": 10, \"riseStep\": 1, \"onStep\": 2, \"fallStep\": 9"),
            std::string::npos)
            << shown.out;
    }
}

TEST_F(SetLighting, InvalidValuesNameTheAllowedOnesAndWriteNothing) {
    const std::string file = litProfile("lit.bin", 0xFE);
    const auto before = readAll(file);
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"disco"}, "random, colourful, custom"},
        {{"Custom"}, "random, colourful, custom"},
        {{"custom", "--colour", "101,0,0"}, "0 to 100"},
        {{"custom", "--colour", "1,2"}, "0 to 100"},
        {{"custom", "--colour", "1,2,3,4"}, "0 to 100"},
        {{"custom", "--colour", "-1,2,3"}, "0 to 100"},
        {{"custom", "--colour", "a,b,c"}, "0 to 100"},
        {{"custom", "--steps", "0,1,1,1"}, "1 to 10"},
        {{"custom", "--steps", "1,1,1,11"}, "1 to 10"},
        {{"custom", "--steps", "1,1,1"}, "1 to 10"},
        {{"custom", "--steps", "1,,1,1"}, "1 to 10"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--simulate=macro", "--sim-state", state, "set", "lighting"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = run(args);
        EXPECT_EQ(r.code, 1) << c.args[0];
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        args.push_back("--file");
        args.push_back(file);
        EXPECT_EQ(run(args).code, 1);
    }
    EXPECT_FALSE(fs::exists(state)); // the mouse was never even opened
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(run({"set", "lighting"}).code, 1);
    EXPECT_EQ(run({"set", "lighting", "custom", "random"}).code, 1);
}

TEST_F(SetLighting, WithoutLightingSettingsNothingIsWritten) {
    // Both default images have no lighting settings.
    ASSERT_EQ(
        run({"--simulate=macro", "--sim-state", state, "read", "-o", (dir / "a.bin").string()})
            .code,
        0);
    const auto r = run({"--simulate=macro", "--sim-state", state, "set", "lighting", "custom"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("no lighting settings"), std::string::npos) << r.err;
    ASSERT_EQ(
        run({"--simulate=macro", "--sim-state", state, "read", "-o", (dir / "b.bin").string()})
            .code,
        0);
    EXPECT_EQ(readAll(dir / "a.bin"), readAll(dir / "b.bin"));
    const auto f = run({"set", "lighting", "custom", "--file", (dir / "a.bin").string()});
    EXPECT_EQ(f.code, 1);
    EXPECT_EQ(readAll(dir / "a.bin"), readAll(dir / "b.bin"));
}
