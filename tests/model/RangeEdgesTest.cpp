// The ranges of the image fields and codes, each tried at its edges.
#include "model/Configuration.h"
#include "model/Hex.h"
#include "support/DefaultImages.h"
#include "support/Language1Texts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orlix;

namespace {

struct Shown {
    MapTextSource texts = test::language1Texts();
    Configuration config{Edition::Editor};
    explicit Shown(void (*change)(ImageBytes&)) {
        ImageBytes img = test::defaultImage(Edition::Editor);
        change(img);
        sealSection(std::span(img).first(image::kSectionASize));
        sealSection(std::span(img).subspan(image::kSectionBStart, image::kSectionBSize));
        config.startUp(img, texts);
    }
};

} // namespace

TEST(TimeSteps, StepsOutsideOneToTenAreHeldAtTheEnds) {
    EXPECT_EQ(encodeHoldStep(0), 0);
    EXPECT_EQ(encodeHoldStep(1), 0);
    EXPECT_EQ(encodeHoldStep(11), 225);
    EXPECT_EQ(encodeRampStep(0), 0);
    EXPECT_EQ(encodeRampStep(-5), 0);
    EXPECT_EQ(encodeRampStep(11), 23);
}

TEST(TimeSteps, EveryStoredByteShowsTheLargestStepNotAboveIt) {
    // Off and on time: step s covers 25 (s - 1) .. 25 s - 1, step 10 everything from 225.
    for (int v = 0; v < 256; ++v) {
        const int hold = decodeHoldStep(static_cast<std::uint8_t>(v));
        EXPECT_LE(encodeHoldStep(hold), v) << v;
        if (hold < 10) {
            EXPECT_GT(encodeHoldStep(hold + 1), v) << v;
        }
        const int ramp = decodeRampStep(static_cast<std::uint8_t>(v));
        EXPECT_LE(encodeRampStep(ramp), v) << v;
        if (ramp < 10) {
            EXPECT_GT(encodeRampStep(ramp + 1), v) << v;
        }
    }
    EXPECT_EQ(decodeHoldStep(24), 1);
    EXPECT_EQ(decodeHoldStep(25), 2);
    EXPECT_EQ(decodeHoldStep(224), 9);
    EXPECT_EQ(decodeHoldStep(225), 10);
    EXPECT_EQ(decodeRampStep(22), 9);
    EXPECT_EQ(decodeRampStep(23), 10);
}

TEST(ResolutionDecode, ACurrentLevelPastTheLevelsInUseShowsTheFirst) {
    // Levels 04 06 and two unused: positions 0 and 1 exist, 2 does not.
    Shown last([](ImageBytes& img) {
        img[image::kCpiLevel1 + 2] = kLevelNotUsed;
        img[image::kCpiLevel1 + 3] = kLevelNotUsed;
        img[image::kSectionBStart + image::kCurrentCpiLevel] = 1;
    });
    EXPECT_EQ(last.config.page.resolution.current, 4); // 1600, the second label lit
    Shown past([](ImageBytes& img) {
        img[image::kCpiLevel1 + 2] = kLevelNotUsed;
        img[image::kCpiLevel1 + 3] = kLevelNotUsed;
        img[image::kSectionBStart + image::kCurrentCpiLevel] = 2;
    });
    EXPECT_EQ(past.config.page.resolution.current, 2); // 1000, the first lit label
}

TEST(ResolutionDecode, LevelIndexElevenIsAValueAndTwelveIsNot) {
    // Labels captioned with the first and last value texts: index 0 and 11 light them.
    Shown s([](ImageBytes& img) {
        img[image::kCpiLevel1] = 0;
        img[image::kCpiLevel1 + 1] = 11;
        img[image::kCpiLevel1 + 2] = 12;
        img[image::kCpiLevel1 + 3] = kLevelNotUsed;
    });
    auto& page = s.config.page.resolution;
    page.captions[0] = "200";
    page.captions[7] = "6000";
    showResolution(s.config.sections, s.texts, page, s.config.rate);
    EXPECT_TRUE(page.on[0]);
    EXPECT_TRUE(page.on[7]);
    EXPECT_EQ(std::count(page.on.begin(), page.on.end(), true), 2);
    // And back: the captions are found at the ends of the value list.
    s.config.sections.a[image::kCpiLevel1] = 5;
    s.config.sections.a[image::kCpiLevel1 + 1] = 5;
    page.touched = true; // as a click on the labels leaves it
    UIToDataBuf(s.config.page, s.texts, s.config.sections, s.config.rate);
    EXPECT_EQ(s.config.sections.a[image::kCpiLevel1], 0);
    EXPECT_EQ(s.config.sections.a[image::kCpiLevel1 + 1], 11);
    EXPECT_EQ(s.config.sections.a[image::kCpiLevel1 + 2], kLevelNotUsed);
}

TEST(ResolutionAssembly, AtMostFourLevelsAreStored) {
    Shown s([](ImageBytes&) {});
    s.config.page.resolution.on = {true, true, true, true, true, false, false, false};
    s.config.page.resolution.current = 4; // the fifth: not stored, so unchanged
    s.config.page.resolution.touched = true;
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kCpiLevel1], 2); // 600
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 1], 3);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 2], 4);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 3], 5); // 1200; 1600 does not fit
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kCurrentCpiLevel], 0);
    s.config.page.resolution.current = 3;
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kCurrentCpiLevel], 3);
}

TEST(ReportRateDecode, OnlyOneAndTwoAreRates) {
    Shown fast([](ImageBytes& img) { img[image::kSectionBStart + image::kReportRate] = 1; });
    EXPECT_EQ(fast.config.page.resolution.reportRate, 1000);
    Shown slow([](ImageBytes& img) { img[image::kSectionBStart + image::kReportRate] = 2; });
    EXPECT_EQ(slow.config.page.resolution.reportRate, 500);
    // Any other byte leaves the rate shown before, whichever it was.
    for (Shown* s : {&fast, &slow}) {
        const auto before = s->config.page.resolution.reportRate;
        for (std::uint8_t other : {std::uint8_t{0}, std::uint8_t{3}}) {
            s->config.working[image::kSectionBStart + image::kReportRate] = other;
            sealSection(
                std::span(s->config.working).subspan(image::kSectionBStart, image::kSectionBSize));
            s->config.decode(s->texts);
            EXPECT_EQ(s->config.page.resolution.reportRate, before) << int{other};
        }
    }
}

TEST(ProfileDecode, ActiveProfilesZeroToTwoAreShownAndThreeIsNot) {
    Shown two([](ImageBytes& img) { img[image::kSectionBStart + image::kActiveProfile] = 2; });
    EXPECT_EQ(two.config.page.activeProfile, 2);
    Shown three([](ImageBytes& img) { img[image::kSectionBStart + image::kActiveProfile] = 3; });
    EXPECT_EQ(three.config.page.activeProfile, std::nullopt);
}

TEST(FireModeGroup, ModesOneToFourCountAndAtMostThreeAreStored) {
    AssignmentTable t;
    FireKeyPage page;
    t[0][0] = "0F000405";
    RefreshFireKeyMode(t, page);
    EXPECT_EQ(page.modeSelected, (std::array<bool, 4>{false, false, false, true}));
    t[0][0] = "0F010000";
    RefreshFireKeyMode(t, page);
    EXPECT_EQ(page.modeSelected, (std::array<bool, 4>{true, false, false, false}));

    Shown s([](ImageBytes&) {});
    ASSERT_TRUE(s.config.setAssignment(1, 0, "0F000000"));
    s.config.page.fire.modeSelected = {true, true, true, true};
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.assignments[1][0], "0F010203");
    s.config.page.fire.modeSelected = {false, false, false, true};
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.assignments[1][0], "0F040000");
}

TEST(MacroCodes, TheFirstAndLastBodyAddressesNameTheirMacros) {
    MapTextSource texts = test::language1Texts();
    MacroNames names{};
    names[0] = "first";
    names[31] = "last";
    const CodeContext ctx{texts, Edition::Editor, FireKeySettings{}, names};
    EXPECT_EQ(NameForCode("10800000", ctx), "first");
    EXPECT_EQ(NameForCode("107C0000", ctx), "");
    EXPECT_EQ(NameForCode("10FC0000", ctx), "last");
    EXPECT_EQ(NameForCode("10FC0400", ctx), "");
    EXPECT_EQ(NameForCode("10FFFF00", ctx), "");
}

TEST(CodeText, ExactlyTheSixteenDigitsInEitherCaseAreHexadecimal) {
    const std::string digits = "0123456789ABCDEFabcdef";
    for (int c = 1; c < 128; ++c) {
        const std::string code = "0" + std::string(1, static_cast<char>(c)) + "000000";
        const bool digit = digits.find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(isCodeText(code), digit) << "character " << c;
    }
    EXPECT_EQ(fromHex("09afAF"), (std::vector<std::uint8_t>{0x09, 0xAF, 0xAF}));
    EXPECT_FALSE(isCodeText("0101000"));
    EXPECT_FALSE(isCodeText("010100000"));
    EXPECT_FALSE(isCodeText("0101000000"));
}

TEST(MacroStore, ABodyOf1024BytesIsUsableAnd1025IsNot) {
    MacroStore s;
    s.setBodyLength(0, 1024);
    EXPECT_EQ(s.usableBodyLength(0), 1024u);
    s.setBodyLength(0, 1025);
    EXPECT_EQ(s.usableBodyLength(0), 0u);
    s.setBodyLength(0, 0xFFFF); // erased flash
    EXPECT_EQ(s.usableBodyLength(0), 0u);
}
