// The fire-key fields and the Fire Mode group of the Advanced page, and what reaches the image.
#include "rules/FireKeyRules.h"
#include "model/Configuration.h"
#include "model/FireKeyFields.h"
#include "support/DefaultImages.h"
#include "support/Language1Texts.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orlix;
using orlix::pages::FireKeyRules;

TEST(FireKeyFields, OnlyDigitsUpToTheFieldLength) {
    for (char32_t c = 0; c < 128; ++c)
        EXPECT_EQ(FireKeyRules::acceptsCharacter(c), c >= U'0' && c <= U'9') << int(c);
    EXPECT_EQ(FireKeyRules::filtered("1a2b3", 2), "12");
    EXPECT_EQ(FireKeyRules::filtered("x-2500y9", 4), "2500");
    EXPECT_EQ(FireKeyRules::filtered("", 4), "");
}

TEST(FireKeyFields, CorrectionOnLeavingComparesNumbers) {
    FireKeyPage page;
    FireKeyRules r(page);
    struct Case {
        const char* typed;
        int repeat;
    };
    for (Case c : {Case{"", 2}, Case{"0", 2}, Case{"00", 2}, Case{"01", 2}, Case{"1", 2},
                   Case{"2", 2}, Case{"02", 2}, Case{"15", 15}, Case{"16", 15}, Case{"20", 15},
                   Case{"99", 15}, Case{"7", 7}}) {
        r.typeRepeat(0, c.typed);
        EXPECT_EQ(r.leaveRepeat(0), c.repeat) << c.typed;
        EXPECT_EQ(r.repeat(0), c.repeat);
    }
    struct DelayCase {
        const char* typed;
        int delay;
    };
    for (DelayCase c : {DelayCase{"", 2}, DelayCase{"0000", 2}, DelayCase{"1", 2},
                        DelayCase{"2", 2}, DelayCase{"2000", 2000}, DelayCase{"2001", 2000},
                        DelayCase{"2500", 2000}, DelayCase{"9999", 2000}, DelayCase{"0300", 300}}) {
        r.typeDelay(3, c.typed);
        EXPECT_EQ(r.leaveDelay(3), c.delay) << c.typed;
    }
}

TEST(FireKeyFields, ExactSettingsAreCheckedAtTheirBounds) {
    FireKeyPage page;
    FireKeyRules r(page);
    EXPECT_FALSE(r.setFireKey(0, 1, 100));
    EXPECT_FALSE(r.setFireKey(0, 16, 100));
    EXPECT_FALSE(r.setFireKey(0, 5, 1));
    EXPECT_FALSE(r.setFireKey(0, 5, 2001));
    EXPECT_FALSE(r.setFireKey(4, 5, 100));
    EXPECT_EQ(page.repeat[0], 2);
    EXPECT_TRUE(r.setFireKey(0, 2, 2));
    EXPECT_TRUE(r.setFireKey(3, 15, 2000));
    EXPECT_EQ(page.repeat[3], 15);
    EXPECT_EQ(page.delay[3], 2000);
}

TEST(FireModeGroup, OneToThreeKeys) {
    FireKeyPage page;
    page.modeSelected = {true, true, true, false};
    FireKeyRules r(page);
    EXPECT_FALSE(r.toggleMode(3)); // at most three
    EXPECT_TRUE(r.toggleMode(1));
    EXPECT_TRUE(r.toggleMode(3)); // room again
    EXPECT_EQ(page.modeSelected, (std::array<bool, 4>{true, false, true, true}));

    page.modeSelected = {false, false, true, false};
    EXPECT_FALSE(r.toggleMode(2)); // the last one stays
    EXPECT_EQ(r.groupCount(), 1);
}

TEST(FireModeGroup, AnEmptyGroupStaysEmptyUntilAKeyIsPicked) {
    FireKeyPage page; // as a new Fire Mode button (0F 00 00 00) shows it
    AssignmentTable t;
    t[0][4] = "0F000000";
    page.modeSelected = {true, false, false, false};
    RefreshFireKeyMode(t, page);
    FireKeyRules r(page);
    EXPECT_EQ(r.groupCount(), 0);
    EXPECT_TRUE(r.toggleMode(2));
    EXPECT_EQ(page.modeSelected, (std::array<bool, 4>{false, false, true, false}));
}

TEST(FireModeGroup, SetGroup) {
    FireKeyPage page;
    FireKeyRules r(page);
    const std::vector<int> none{}, four{0, 1, 2, 3}, twice{1, 1}, bad{4}, ok{2, 0};
    EXPECT_FALSE(r.setGroup(none));
    EXPECT_FALSE(r.setGroup(four));
    EXPECT_FALSE(r.setGroup(twice));
    EXPECT_FALSE(r.setGroup(bad));
    EXPECT_EQ(r.groupCount(), 0);
    EXPECT_TRUE(r.setGroup(ok));
    EXPECT_EQ(page.modeSelected, (std::array<bool, 4>{true, false, true, false}));
}

// Apply takes no focus, so a field may still hold what was typed: the image is built with the
// same correction, and so are the codes of buttons set to a fire key.
TEST(FireKeyFields, StoredAndCodedCorrected) {
    const auto texts = test::language1Texts(Edition::Editor);
    Configuration c(Edition::Editor);
    c.startUp(test::defaultResource(Edition::Editor), texts);
    c.identifiedDataType = kDataType1D;
    c.decode(texts);
    c.sections.fireKeys[fire::kKeyBytes + fire::kDelayHighByte] =
        0x50; // a carried high nibble of fire key 2
    FireKeyRules r(c.page.fire);
    r.typeRepeat(0, "99");
    r.typeDelay(0, "9999");
    r.typeRepeat(1, "01");
    r.typeDelay(1, "0");
    EXPECT_EQ(CodeForTag(tag::kFireKey1, c.codeContext(texts)), "061F07D0");
    EXPECT_EQ(CodeForTag(tag::kFireKey1 + 1, c.codeContext(texts)), "06125002");
    c.assemble(texts, true);
    const auto& w = c.working;
    EXPECT_EQ(w[image::kFireKeyStart + fire::kMarkerByte], 0x06);
    EXPECT_EQ(w[image::kFireKeyStart + fire::kRepeatByte], 0x1F); // not 0x73
    EXPECT_EQ(w[image::kFireKeyStart + fire::kDelayHighByte],
              0x07); // 2000 = 0x7D0, high nibble untouched
    EXPECT_EQ(w[image::kFireKeyStart + fire::kDelayLowByte], 0xD0);
    EXPECT_EQ(w[image::kFireKeyStart + fire::kKeyBytes + fire::kRepeatByte], 0x12);
    EXPECT_EQ(w[image::kFireKeyStart + fire::kKeyBytes + fire::kDelayHighByte], 0x50);
    EXPECT_EQ(w[image::kFireKeyStart + fire::kKeyBytes + fire::kDelayLowByte], 0x02);
    EXPECT_TRUE(sectionValid(std::span(w).subspan(image::kFireKeyStart, image::kFireKeySize)));
}
