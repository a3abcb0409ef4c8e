// Command line and the file-backed pointer-settings store.
#include "platform/PointerSettings.h"
#include "shell/Options.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace orlix;
using shell::Options;
using shell::parseOptions;

TEST(Options, SimulateTakesAnOptionalKind) {
    EXPECT_EQ(parseOptions({}).simulate, Options::Simulate::Off);
    EXPECT_EQ(parseOptions({"--simulate"}).simulate, Options::Simulate::Basic);
    EXPECT_EQ(parseOptions({"--simulate=basic"}).simulate, Options::Simulate::Basic);
    EXPECT_EQ(parseOptions({"--simulate=macro"}).simulate, Options::Simulate::Macro);
    EXPECT_FALSE(parseOptions({"--simulate=usb"}).error.empty());
}

TEST(Options, ScreenshotNeedsAFolder) {
    EXPECT_EQ(parseOptions({"--screenshot", "out"}).screenshotDir, "out");
    EXPECT_EQ(parseOptions({"--screenshot=out"}).screenshotDir, "out");
    EXPECT_FALSE(parseOptions({"--screenshot"}).error.empty());
    EXPECT_FALSE(parseOptions({"--screenshot="}).error.empty());
    EXPECT_FALSE(parseOptions({"stray"}).error.empty());
    EXPECT_TRUE(parseOptions({"--help"}).help);
}

TEST(PointerSettingsFile, MissingFileReadsAsNoValuesAndWritesKeepOthers) {
    const auto dir = test::scratchDir("pointer-store");
    platform::FilePointerSettingsStore store(dir / "sub" / "pointer-settings");
    EXPECT_EQ(store.read(), platform::PointerSettings{});

    platform::PointerSettings first;
    first.pointerSpeed = 10;
    first.wheelLines = 3;
    ASSERT_TRUE(store.write(first));
    platform::PointerSettings second;
    second.doubleClickTime = 550;
    ASSERT_TRUE(store.write(second));

    const auto read = store.read();
    EXPECT_EQ(read.pointerSpeed, 10);
    EXPECT_EQ(read.wheelLines, 3);
    EXPECT_EQ(read.doubleClickTime, 550);
    EXPECT_FALSE(read.acceleration.has_value());
}

TEST(PointerSettingsFile, DamagedLinesAreSkipped) {
    const auto dir = test::scratchDir("pointer-damaged");
    {
        std::ofstream out(dir / "pointer-settings");
        out << "PointerSpeed=12\nDoubleClickTime=fast\nnonsense\nWheelScrollLines= 7 \n";
    }
    platform::FilePointerSettingsStore store(dir / "pointer-settings");
    const auto read = store.read();
    EXPECT_EQ(read.pointerSpeed, 12);
    EXPECT_FALSE(read.doubleClickTime.has_value());
    EXPECT_EQ(read.wheelLines, 7);
}
