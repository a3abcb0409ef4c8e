// Command line.
#include "shell/Options.h"

#include <gtest/gtest.h>

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
