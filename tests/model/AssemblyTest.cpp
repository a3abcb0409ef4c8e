#include "model/Configuration.h"
#include "model/FireKeyFields.h"
#include "support/DefaultImages.h"
#include "support/Language1Texts.h"

#include <gtest/gtest.h>

using namespace orlix;

namespace {

struct Session {
    Edition edition;
    MapTextSource texts;
    Configuration config;
    explicit Session(Edition e, std::optional<std::uint8_t> identified = kDataType1D)
        : edition(e), texts(test::language1Texts(e)), config(e) {
        config.startUp(test::defaultResource(e), texts);
        config.identifiedDataType = identified;
        config.decode(texts);
    }
};

void turnOn(ResolutionPage& page, std::initializer_list<int> labels) {
    page.on = {};
    for (int l : labels)
        page.on[static_cast<std::size_t>(l)] = true;
    page.current = *labels.begin();
    page.touched = true; // as a click on the labels leaves it
}

} // namespace

class BothEditions : public ::testing::TestWithParam<Edition> {};

TEST_P(BothEditions, UnchangedDefaultAssemblesBackToTheDefaultImage) {
    Session s(GetParam());
    auto original = s.config.working;
    s.config.assemble(s.texts, true);
    for (std::size_t i = 0; i < image::kLastByte; ++i)
        EXPECT_EQ(s.config.working[i], original[i]) << "byte " << i;
    EXPECT_EQ(s.config.working[image::kLastByte], 0xFF);
    EXPECT_FALSE(s.config.rate.changed);
}

TEST_P(BothEditions, SaveAssemblyKeepsByte255) {
    Session s(GetParam());
    auto before = s.config.working[image::kLastByte];
    s.config.assemble(s.texts, false);
    EXPECT_EQ(s.config.working[image::kLastByte], before);
    EXPECT_EQ(before, GetParam() == Edition::Editor ? 0xFF : 0x00);
}

INSTANTIATE_TEST_SUITE_P(Assembly, BothEditions,
                         ::testing::Values(Edition::Editor, Edition::EditorS));

TEST(Assembly, LevelsAreStoredAsIndexesOfTheValueTextsInLabelOrder) {
    Session s(Edition::Editor);
    turnOn(s.config.page.resolution, {0, 2, 4, 6}); // 600 1000 1600 3500
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kCpiLevel1], 0x02);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 1], 0x04);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 2], 0x06);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 3], 0x09);
    EXPECT_TRUE(sectionValid(std::span(s.config.working).first(image::kSectionASize)));

    turnOn(s.config.page.resolution, {2, 0}); // two levels in use
    s.config.page.resolution.current = 2;
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kCpiLevel1], 0x02);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 1], 0x04);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 2], 0xFF);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 3], 0xFF);
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kCurrentCpiLevel],
              1); // 1000 is the second level in use
}

TEST(Assembly, TheValueTableOfTheEditionDecidesTheIndex) {
    Session a(Edition::Editor), b(Edition::EditorS);
    turnOn(a.config.page.resolution, {4, 0});
    turnOn(b.config.page.resolution, {4, 0});
    a.config.assemble(a.texts, true);
    b.config.assemble(b.texts, true);
    EXPECT_EQ(a.config.working[image::kCpiLevel1 + 1], 6); // "1600"
    EXPECT_EQ(b.config.working[image::kCpiLevel1 + 1], 7);
}

TEST(Assembly, DescendingLevelsAreCarriedUntilTouchedThenComeBackAscending) {
    Session s(Edition::Editor);
    s.config.working[image::kCpiLevel1] = 4;
    s.config.working[image::kCpiLevel1 + 1] = 2;
    s.config.working[image::kCpiLevel1 + 2] = 0xFF;
    s.config.working[image::kCpiLevel1 + 3] = 0xFF;
    sealSection(std::span(s.config.working).first(image::kSectionASize));
    s.config.decode(s.texts);
    EXPECT_TRUE(s.config.page.resolution.on[0]); // "600"
    EXPECT_TRUE(s.config.page.resolution.on[2]); // "1000"
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kCpiLevel1], 4);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 1], 2);
    s.config.page.resolution.touched = true;
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kCpiLevel1], 2);
    EXPECT_EQ(s.config.working[image::kCpiLevel1 + 1], 4);
}

TEST(Assembly, ReportRateChangeIsNoticedOnlyWhenTheRateDiffers) {
    Session s(Edition::Editor); // shown at 500
    s.config.page.resolution.reportRate = 1000;
    s.config.page.resolution.reportRate = 500; // back before the store
    s.config.assemble(s.texts, true);
    EXPECT_FALSE(s.config.rate.changed);
    s.config.page.resolution.reportRate = 1000;
    s.config.assemble(s.texts, true);
    EXPECT_TRUE(s.config.rate.changed);
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kReportRate], 1);
}

TEST(Assembly, FireKeyFieldsGoToTheFireKeySection) {
    Session s(Edition::Editor);
    s.config.page.fire.repeat[1] = 5;
    s.config.page.fire.delay[1] = 300;
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kFireKeyStart + fire::kKeyBytes + fire::kMarkerByte], 0x06);
    EXPECT_EQ(s.config.working[image::kFireKeyStart + fire::kKeyBytes + fire::kRepeatByte], 0x15);
    EXPECT_EQ(s.config.working[image::kFireKeyStart + fire::kKeyBytes + fire::kDelayHighByte],
              0x01);
    EXPECT_EQ(s.config.working[image::kFireKeyStart + fire::kKeyBytes + fire::kDelayLowByte], 0x2C);
    EXPECT_TRUE(sectionValid(
        std::span(s.config.working).subspan(image::kFireKeyStart, image::kFireKeySize)));
}

TEST(Assembly, CarriedHighNibbleSurvivesAndAnOversizedDelayCannotReachIt) {
    Session s(Edition::Editor);
    s.config.sections.fireKeys[fire::kDelayHighByte] = 0xA0;
    s.config.page.fire.delay[0] = 0x1FFF; // beyond 12 bits: corrected to 2000 = 0x7D0
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kFireKeyStart + fire::kDelayHighByte], 0xA7);
    EXPECT_EQ(s.config.working[image::kFireKeyStart + fire::kDelayLowByte], 0xD0);
}

TEST(Assembly, FireModeButtonsGetTheSelectedGroup) {
    Session s(Edition::Editor);
    ASSERT_TRUE(s.config.setAssignment(0, 3, "0F000000"));
    ASSERT_TRUE(s.config.setAssignment(2, 11, "0F020000"));
    s.config.page.fire.modeSelected = {true, false, true, false};
    s.config.assemble(s.texts, true);
    const std::size_t p = image::kProfileStart + profileCodeOffset(0, 3);
    EXPECT_EQ(s.config.working[p], 0x0F);
    EXPECT_EQ(s.config.working[p + 1], 0x01);
    EXPECT_EQ(s.config.working[p + 2], 0x03);
    EXPECT_EQ(s.config.working[p + 3], 0x00);
    EXPECT_EQ(s.config.assignments[2][11], "0F010300");
    EXPECT_TRUE(sectionValid(
        std::span(s.config.working).subspan(image::kProfileStart, image::kProfileSize)));
}

TEST(Assembly, AMacroNamedLikeTheFireModeIsNotRewritten) {
    Session s(Edition::Editor);
    s.config.macroNames[0] = "Fire Mode";
    ASSERT_TRUE(s.config.setAssignment(0, 0, "10800000"));
    s.config.page.fire.modeSelected = {true, false, false, false};
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kProfileStart + profileCodeOffset(0, 0)], 0x10);
    EXPECT_EQ(s.config.working[image::kProfileStart + profileCodeOffset(0, 0) + 1], 0x80);
}

TEST(FireModeGroup, TheLastFireModeButtonDecidesWhatIsShown) {
    AssignmentTable t;
    FireKeyPage page;
    page.modeSelected = {true, true, true, false};
    RefreshFireKeyMode(t, page); // no fire-mode button: unchanged
    EXPECT_EQ(page.modeSelected, (std::array<bool, 4>{true, true, true, false}));
    t[0][1] = "0F010200";
    t[1][5] = "0F030000";
    RefreshFireKeyMode(t, page);
    EXPECT_EQ(page.modeSelected, (std::array<bool, 4>{false, false, true, false}));
    t[2][0] = "0F000000";
    RefreshFireKeyMode(t, page);
    EXPECT_EQ(page.modeSelected, (std::array<bool, 4>{}));
}

TEST(Lighting, UnusedLightingIsNeverWrittenAndUsedLightingIs) {
    Session s(Edition::Editor);
    auto before = s.config.working;
    s.config.page.lighting.mode = 2;
    s.config.page.lighting.steps = {10, 10, 10, 10};
    s.config.page.lighting.mode1 = {100, 50, 0};
    s.config.assemble(s.texts, true);
    for (std::size_t i :
         {image::kLedOffTime, image::kLedRiseTime, image::kLedOnTime, image::kLedFallTime,
          image::kMode1Red, image::kMode1Red + 1, image::kMode1Red + 2,
          image::kSectionBStart + image::kLightingMode, std::size_t{89}, std::size_t{90}})
        EXPECT_EQ(s.config.working[i], before[i]) << i;

    s.config.sections.a[image::kLightingFlags] = 0x00;
    s.config.page.lighting.colourMode = 1;
    s.config.page.lighting.mode2 = {1, 2, 300};
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kLightingFlags], 0x10);
    EXPECT_EQ(s.config.working[image::kLedOffTime], 225);
    EXPECT_EQ(s.config.working[image::kLedRiseTime], 23);
    EXPECT_EQ(s.config.working[image::kLedOnTime], 225);
    EXPECT_EQ(s.config.working[image::kLedFallTime], 23);
    EXPECT_EQ(s.config.working[image::kMode1Red], 100);
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kLightingMode], 2);
    EXPECT_EQ(s.config.working[91], 300 % 256);
    EXPECT_TRUE(sectionValid(std::span(s.config.working).subspan(89, 4)));

    // A stored off time of 60 shows step 3 and goes back as 50; a mode byte of 3 shows Random.
    s.config.working[image::kLedOffTime] = 60;
    s.config.working[image::kSectionBStart + image::kLightingMode] = 3;
    sealSection(std::span(s.config.working).first(image::kSectionASize));
    sealSection(std::span(s.config.working).subspan(image::kSectionBStart, image::kSectionBSize));
    s.config.decode(s.texts);
    EXPECT_EQ(s.config.page.lighting.steps[0], 3);
    EXPECT_EQ(s.config.page.lighting.mode, 0);
    s.config.assemble(s.texts, true);
    EXPECT_EQ(s.config.working[image::kLedOffTime], 50);
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kLightingMode], 0);
}

TEST(Assembly, A3AMousePlacesTheMiddleRegionItsWay) {
    Session s(Edition::Editor, kDataType3A);
    s.config.sections.userBreath = {1, 2, 3, 0x60};
    s.config.sections.idCode = {0xAB, 0xCD};
    s.config.assemble(s.texts, false);
    EXPECT_EQ(s.config.working[32], 1);
    EXPECT_EQ(s.config.working[35], 0x60);
    EXPECT_EQ(s.config.working[87], 0xAB);
    EXPECT_EQ(s.config.working[88], 0xCD);
    // For the mouse, the identity code is the one its identity test expects, never the
    // section buffer's.
    s.config.assemble(s.texts, true);
    const auto expected = s.config.expectedIdCode();
    ASSERT_TRUE(expected);
    EXPECT_EQ(s.config.working[87], (*expected)[0]);
    EXPECT_EQ(s.config.working[88], (*expected)[1]);
}

TEST(Assembly, WithoutAnIdentifiedMouseTheDecodedPlacementIsKept) {
    Session s(Edition::Editor, std::nullopt);
    auto before = s.config.working;
    s.config.assemble(s.texts, false);
    EXPECT_EQ(s.config.working, before);
}

TEST(Assembly, UntouchedFireKeyFieldsAreStoredAsTheMouseHoldsThem) {
    using Record = std::array<std::uint8_t, 4>;
    // record read from the mouse, the fields the user then typed (repeat, delay; -1 untouched),
    // record stored by the next Apply
    struct Row {
        Record read;
        int repeat, delay;
        Record stored;
    };
    const Row rows[] = {
        {{0x06, 0x11, 0x0F, 0xFF}, -1, -1, {0x06, 0x11, 0x0F, 0xFF}}, // repeat 1, delay 4095
        {{0x06, 0x10, 0x00, 0x00}, -1, -1, {0x06, 0x10, 0x00, 0x00}}, // repeat 0, delay 0
        {{0x06, 0x1F, 0x00, 0x01}, -1, -1, {0x06, 0x1F, 0x00, 0x01}}, // delay 1
        {{0x06, 0x12, 0x07, 0xD0}, -1, -1, {0x06, 0x12, 0x07, 0xD0}}, // 2000: in range
        {{0x06, 0x12, 0x07, 0xD1}, -1, -1, {0x06, 0x12, 0x07, 0xD1}}, // delay 2001
        {{0x06, 0x11, 0x0F, 0xFF}, 20, -1, {0x06, 0x1F, 0x0F, 0xFF}}, // only the repeat typed
        {{0x06, 0x11, 0x0F, 0xFF}, -1, 1, {0x06, 0x11, 0x00, 0x02}},  // only the delay typed
        {{0x06, 0x11, 0x0F, 0xFF}, 0, 2500, {0x06, 0x12, 0x07, 0xD0}},
        {{0x06, 0x15, 0x01, 0x2C}, 1, 300, {0x06, 0x12, 0x01, 0x2C}}, // delay typed as it was
    };
    for (std::size_t n = 0; n < 4; ++n) {
        for (const Row& row : rows) {
            Session s(Edition::Editor);
            std::copy(row.read.begin(), row.read.end(),
                      s.config.working.begin() + image::kFireKeyStart + fire::kKeyBytes * n);
            sealSection(
                std::span(s.config.working).subspan(image::kFireKeyStart, image::kFireKeySize));
            s.config.decode(s.texts, true);
            if (row.repeat >= 0) s.config.page.fire.repeat[n] = row.repeat;
            if (row.delay >= 0) s.config.page.fire.delay[n] = row.delay;
            s.config.assemble(s.texts, true);
            const auto at = s.config.working.begin() +
                            static_cast<std::ptrdiff_t>(image::kFireKeyStart + fire::kKeyBytes * n);
            Record got{};
            std::copy(at, at + fire::kKeyBytes, got.begin());
            EXPECT_EQ(got, row.stored)
                << "key " << n << " read " << int(row.read[fire::kRepeatByte]) << "/"
                << int(row.read[fire::kDelayLowByte]);
            // A button set to this fire key carries what the record holds.
            const FireKeySettings keys = s.config.currentFireKeys();
            EXPECT_EQ(keys.repeat[n], row.stored[fire::kRepeatByte] & 0x0F);
            EXPECT_EQ(keys.delay[n], (row.stored[fire::kDelayHighByte] & 0x0F) * 256 +
                                         row.stored[fire::kDelayLowByte]);
        }
    }
}

TEST(Assembly, AnInvalidCurrentLevelIsStoredAsThePageShowsIt) {
    // levels, current-level byte -> the byte an untouched store writes
    struct Row {
        std::array<std::uint8_t, 4> levels;
        std::uint8_t current;
        std::uint8_t stored;
    };
    const Row rows[] = {
        {{4, 6, 0xFF, 0xFF}, 3, 0},    // names no level: the page shows the first as current
        {{4, 6, 0xFF, 0xFF}, 2, 0},    // just past the levels in use
        {{4, 6, 0xFF, 0xFF}, 0xFF, 0}, //
        {{4, 6, 0xFF, 0xFF}, 1, 1},    // valid: carried
        {{2, 4, 6, 8}, 3, 3},          //
        {{0, 2, 4, 0xFF}, 2, 2},       // 200 has no label, the level is still the mouse's
    };
    for (const Row& row : rows) {
        Session s(Edition::Editor);
        std::copy(row.levels.begin(), row.levels.end(),
                  s.config.working.begin() + image::kCpiLevel1);
        sealSection(std::span(s.config.working).first(image::kSectionASize));
        s.config.working[image::kSectionBStart + image::kCurrentCpiLevel] = row.current;
        sealSection(
            std::span(s.config.working).subspan(image::kSectionBStart, image::kSectionBSize));
        s.config.decode(s.texts, true);
        s.config.assemble(s.texts, true);
        EXPECT_EQ(s.config.working[image::kSectionBStart + image::kCurrentCpiLevel], row.stored)
            << int(row.current);
        EXPECT_TRUE(
            std::equal(row.levels.begin(), row.levels.end(),
                       s.config.working.begin() + image::kCpiLevel1)); // the levels are carried
    }
}
