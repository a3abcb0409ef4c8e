// The Breathing-light page's rules, without widgets, and what they leave in the image.
#include "rules/LightingRules.h"
#include "model/Configuration.h"
#include "support/DefaultImages.h"
#include "support/Language1Texts.h"

#include <gtest/gtest.h>

using namespace orlix;
using pages::LightingRules;
using Bar = LightingRules::Bar;

namespace {

// The default image of an edition with the lighting in use, taken into a configuration.
struct Lit {
    explicit Lit(Edition e = Edition::Editor, std::uint8_t flags = 0xFE)
        : texts(test::language1Texts(e)), config(e), rules(config) {
        auto image = test::defaultImage(e);
        image[image::kLightingFlags] = flags;
        sealSection(std::span<std::uint8_t>(image.data(), image::kSectionASize));
        config.startUp(image, texts);
    }
    ImageBytes assembled() {
        config.assemble(texts, true);
        return config.working;
    }
    MapTextSource texts;
    Configuration config;
    LightingRules rules;
};

} // namespace

TEST(LightingRules, StepTablesEveryStoredByte) {
    const std::array<std::uint8_t, 10> hold{0, 25, 50, 75, 100, 125, 150, 175, 200, 225};
    const std::array<std::uint8_t, 10> ramp{0, 4, 7, 9, 12, 14, 17, 19, 21, 23};
    EXPECT_EQ(LightingRules::stepTable(Bar::Off), hold);
    EXPECT_EQ(LightingRules::stepTable(Bar::On), hold);
    EXPECT_EQ(LightingRules::stepTable(Bar::Raise), ramp);
    EXPECT_EQ(LightingRules::stepTable(Bar::Fall), ramp);
    // Every byte shows the largest step whose stored byte does not exceed it.
    for (Bar bar : LightingRules::kBars) {
        const auto table = LightingRules::stepTable(bar);
        for (int v = 0; v <= 255; ++v) {
            int expected = 1;
            for (int s = 1; s <= 10; ++s)
                if (v >= table[static_cast<std::size_t>(s - 1)]) expected = s;
            EXPECT_EQ(LightingRules::stepOf(bar, static_cast<std::uint8_t>(v)), expected) << v;
        }
    }
}

TEST(LightingRules, ModesFromTheOptionNames) {
    EXPECT_EQ(LightingRules::modeOf("Random"), 0);
    EXPECT_EQ(LightingRules::modeOf("Colorful"), 1);
    EXPECT_EQ(LightingRules::modeOf("Custom"), 2);
    EXPECT_FALSE(LightingRules::modeOf("custom").has_value());
    EXPECT_FALSE(LightingRules::modeOf("").has_value());
}

TEST(LightingRules, EditsReachTheImage) {
    Lit lit(Edition::Editor, 0xEE);
    ASSERT_TRUE(lit.rules.editable());
    EXPECT_TRUE(lit.rules.chooseMode(2));
    EXPECT_TRUE(lit.rules.setStep(Bar::Off, 3));
    EXPECT_TRUE(lit.rules.setStep(Bar::Raise, 10));
    EXPECT_TRUE(lit.rules.setStep(Bar::On, 10));
    EXPECT_TRUE(lit.rules.setStep(Bar::Fall, 1));
    EXPECT_TRUE(lit.rules.chooseColourMode(1));
    EXPECT_TRUE(lit.rules.pickColour(128, 64, 0));
    const auto img = lit.assembled();
    EXPECT_EQ(img[image::kSectionBStart + image::kLightingMode], 2);
    EXPECT_EQ(img[image::kLedOffTime], 50);
    EXPECT_EQ(img[image::kLedRiseTime], 23);
    EXPECT_EQ(img[image::kLedOnTime], 225);
    EXPECT_EQ(img[image::kLedFallTime], 0);
    EXPECT_EQ(img[image::kMode1Red], 50);
    EXPECT_EQ(img[image::kMode1Red + 1], 25);
    EXPECT_EQ(img[image::kMode1Red + 2], 0);
    EXPECT_EQ(img[image::kLightingFlags], 0xFE); // bit 4 set, the other bits kept
    EXPECT_TRUE(sectionValid(std::span<const std::uint8_t>(img.data(), image::kSectionASize)));
    EXPECT_TRUE(sectionValid(
        std::span<const std::uint8_t>(img.data() + image::kSectionBStart, image::kSectionBSize)));

    EXPECT_TRUE(lit.rules.chooseColourMode(2));
    EXPECT_EQ(lit.assembled()[image::kLightingFlags], 0xEE);
}

TEST(LightingRules, BoundsAreRefused) {
    Lit lit;
    EXPECT_FALSE(lit.rules.setStep(Bar::Off, 0));
    EXPECT_FALSE(lit.rules.setStep(Bar::Off, 11));
    EXPECT_TRUE(lit.rules.setStep(Bar::Off, 10));
    EXPECT_FALSE(lit.rules.chooseMode(-1));
    EXPECT_FALSE(lit.rules.chooseMode(3));
    EXPECT_FALSE(lit.rules.chooseColourMode(0));
    EXPECT_FALSE(lit.rules.chooseColourMode(3));
    EXPECT_FALSE(lit.rules.editPercent(3, "5").has_value());
    EXPECT_FALSE(lit.rules.editPercent(-1, "5").has_value());
}

TEST(LightingRules, ColourDialogPercentagesRoundDown) {
    Lit lit;
    lit.rules.chooseColourMode(1);
    lit.rules.pickColour(255, 255, 255);
    EXPECT_EQ(lit.rules.colour(1), (std::array<int, 3>{100, 100, 100}));
    lit.rules.pickColour(1, 128, 254);
    EXPECT_EQ(lit.rules.colour(1), (std::array<int, 3>{0, 50, 99}));
    // Colour mode 2 keeps the swatch closed.
    lit.rules.chooseColourMode(2);
    EXPECT_FALSE(lit.rules.pickColour(255, 0, 0));
    EXPECT_EQ(lit.rules.colour(1), (std::array<int, 3>{0, 50, 99}));
}

TEST(LightingRules, PercentEditsTakeDigitsAndClamp) {
    EXPECT_EQ(LightingRules::correctedPercentText(""), "0");
    EXPECT_EQ(LightingRules::correctedPercentText("0"), "0");
    EXPECT_EQ(LightingRules::correctedPercentText("007"), "7");
    EXPECT_EQ(LightingRules::correctedPercentText("100"), "100");
    EXPECT_EQ(LightingRules::correctedPercentText("101"), "100");
    EXPECT_EQ(LightingRules::correctedPercentText("999"), "100");
    EXPECT_EQ(LightingRules::correctedPercentText("99999999999"), "100");
    EXPECT_EQ(LightingRules::correctedPercentText("5a0"), "50");
    EXPECT_EQ(LightingRules::correctedPercentText("-5"), "5");

    Lit lit(Edition::EditorS);
    lit.rules.chooseColourMode(1);
    EXPECT_EQ(lit.rules.editPercent(0, "250"), "100");
    EXPECT_EQ(lit.rules.editPercent(1, ""), "0");
    EXPECT_EQ(lit.rules.editPercent(2, "42"), "42");
    auto img = lit.assembled();
    EXPECT_EQ(img[image::kMode1Red], 100);
    EXPECT_EQ(img[image::kMode1Red + 1], 0);
    EXPECT_EQ(img[image::kMode1Red + 2], 42);
    // Read-only in colour mode 2.
    lit.rules.chooseColourMode(2);
    EXPECT_FALSE(lit.rules.editPercent(2, "7").has_value());
    EXPECT_EQ(lit.assembled()[image::kMode1Red + 2], 42);
}

TEST(LightingRules, PercentagesAbove100FromAnImageAreCarriedAndPaintNoMoreThanFull) {
    Lit lit(Edition::EditorS, 0xFE | 0x10);
    auto image = lit.config.working;
    image[image::kMode1Red] = 150;
    image[image::kMode1Red + 1] = 255;
    image[image::kMode1Red + 2] = 100;
    sealSection(std::span<std::uint8_t>(image.data(), image::kSectionASize));
    lit.config.working = image;
    lit.config.decode(lit.texts, true);
    EXPECT_EQ(lit.rules.colour(1), (std::array<int, 3>{150, 255, 100}));
    for (int p : {150, 255, 101})
        EXPECT_EQ(LightingRules::swatchChannel(p), 255) << p;
    EXPECT_EQ(LightingRules::swatchChannel(100), 255);
    EXPECT_EQ(LightingRules::swatchChannel(50), 127);
    EXPECT_EQ(LightingRules::swatchChannel(1), 2);
    EXPECT_EQ(LightingRules::swatchChannel(0), 0);

    lit.rules.editPercent(2, "60"); // one channel changed, the others carried
    const auto img = lit.assembled();
    EXPECT_EQ(img[image::kMode1Red], 150);
    EXPECT_EQ(img[image::kMode1Red + 1], 255);
    EXPECT_EQ(img[image::kMode1Red + 2], 60);
}

TEST(LightingRules, UnusedLightingRefusesEveryChangeAndKeepsTheBytes) {
    for (Edition e : {Edition::Editor, Edition::EditorS}) {
        Lit lit(e, 0xFF); // as both default images have it
        const auto before = lit.assembled();
        EXPECT_FALSE(lit.rules.editable());
        EXPECT_FALSE(lit.rules.chooseMode(1));
        EXPECT_FALSE(lit.rules.setStep(Bar::On, 4));
        EXPECT_FALSE(lit.rules.chooseColourMode(2));
        EXPECT_FALSE(lit.rules.pickColour(10, 10, 10));
        EXPECT_FALSE(lit.rules.editPercent(0, "5").has_value());
        EXPECT_EQ(lit.assembled(), before);
    }
}

TEST(LightingRules, ShownStateAfterARead) {
    Lit lit;
    auto image = lit.config.working;
    image[image::kLedOffTime] = 60;                          // off hold: step 3
    image[image::kLedRiseTime] = 23;                         // rise: step 10
    image[image::kSectionBStart + image::kLightingMode] = 3; // an unknown mode shows Random
    sealSection(std::span<std::uint8_t>(image.data(), image::kSectionASize));
    sealSection(
        std::span<std::uint8_t>(image.data() + image::kSectionBStart, image::kSectionBSize));
    lit.config.working = image;
    lit.config.decode(lit.texts, true);
    lit.rules.refresh();
    EXPECT_EQ(lit.rules.step(Bar::Off), 3);
    EXPECT_EQ(lit.rules.step(Bar::Raise), 10);
    EXPECT_EQ(lit.rules.mode(), 0);
    const auto img = lit.assembled();
    EXPECT_EQ(img[image::kLedOffTime], 50);
    EXPECT_EQ(img[image::kLedRiseTime], 23);
    EXPECT_EQ(img[image::kSectionBStart + image::kLightingMode], 0);
}
