// The resolution and report-rate rules of the Advanced page, and how they reach the image.
#include "rules/ResolutionRules.h"
#include "model/Configuration.h"
#include "support/DefaultImages.h"
#include "support/Language1Texts.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orlix;
using orlix::pages::ResolutionRules;

namespace {

// Captions of language 1: 600 800 1000 1200 1600 2400 3500 4800.
ResolutionPage pageWith(std::initializer_list<int> on, std::optional<int> current) {
    ResolutionPage p;
    const char* captions[] = {"600", "800", "1000", "1200", "1600", "2400", "3500", "4800"};
    for (std::size_t i = 0; i < 8; ++i)
        p.captions[i] = captions[i];
    for (int l : on)
        p.on[static_cast<std::size_t>(l)] = true;
    p.current = current;
    return p;
}

std::vector<int> onLabels(const ResolutionPage& p) {
    std::vector<int> v;
    for (int i = 0; i < 8; ++i)
        if (p.on[static_cast<std::size_t>(i)]) v.push_back(i);
    return v;
}

struct Session {
    MapTextSource texts;
    Configuration config;
    explicit Session(Edition e) : texts(test::language1Texts(e)), config(e) {
        config.startUp(test::defaultResource(e), texts);
        config.identifiedDataType = kDataType1D;
    }
    void load(std::array<std::uint8_t, 4> levels, std::uint8_t current) {
        std::copy(levels.begin(), levels.end(), config.working.begin() + image::kCpiLevel1);
        config.working[image::kSectionBStart + image::kCurrentCpiLevel] = current;
        sealSection(std::span(config.working).first(image::kSectionASize));
        sealSection(std::span(config.working).subspan(image::kSectionBStart, image::kSectionBSize));
        config.decode(texts);
    }
    std::array<std::uint8_t, 4> storedLevels() {
        config.assemble(texts, true);
        return {config.working[image::kCpiLevel1], config.working[image::kCpiLevel1 + 1],
                config.working[image::kCpiLevel1 + 2], config.working[image::kCpiLevel1 + 3]};
    }
};

} // namespace

TEST(ResolutionRules, TwoToFourValuesStayOn) {
    auto p = pageWith({0, 2}, 0); // 600 and 1000, as levels 2, 4 show
    ResolutionRules r(p);
    EXPECT_FALSE(r.toggle(0)); // two must stay on
    EXPECT_FALSE(r.toggle(2));
    EXPECT_FALSE(p.touched);
    EXPECT_TRUE(r.toggle(4));
    EXPECT_TRUE(r.toggle(7));
    EXPECT_EQ(r.onCount(), 4);
    EXPECT_FALSE(r.toggle(5)); // a fifth value
    EXPECT_EQ(onLabels(p), (std::vector<int>{0, 2, 4, 7}));
    EXPECT_TRUE(r.toggle(2));
    EXPECT_EQ(r.onCount(), 3);
    EXPECT_TRUE(p.touched);
    EXPECT_FALSE(r.toggle(8));
    EXPECT_FALSE(r.toggle(-1));
}

TEST(ResolutionRules, FewerThanTwoOnCanGrowButNotShrink) {
    // An image whose levels have no label shows fewer than two values on.
    auto p = pageWith({3}, 3);
    ResolutionRules r(p);
    EXPECT_FALSE(r.toggle(3));
    EXPECT_TRUE(r.toggle(1));
    EXPECT_EQ(r.onCount(), 2);

    auto none = pageWith({}, std::nullopt);
    ResolutionRules empty(none);
    EXPECT_TRUE(empty.toggle(5));
    EXPECT_EQ(none.current, 5); // the first value on is current
}

TEST(ResolutionRules, SwitchingOffTheCurrentValueMovesToTheLowestStillOn) {
    auto p = pageWith({1, 3, 6}, 3);
    ResolutionRules r(p);
    EXPECT_TRUE(r.toggle(3));
    EXPECT_EQ(p.current, 1);
    EXPECT_TRUE(r.toggle(0));
    EXPECT_EQ(p.current, 1); // switching on leaves the current level
    EXPECT_TRUE(r.toggle(6));
    EXPECT_EQ(p.current, 1); // not the current one
}

TEST(ResolutionRules, OnlyTheBarsOfSwitchedOnValuesBecomeCurrent) {
    auto p = pageWith({1, 3}, 1);
    ResolutionRules r(p);
    EXPECT_FALSE(r.makeCurrent(2));
    EXPECT_EQ(p.current, 1);
    EXPECT_FALSE(p.touched);
    EXPECT_TRUE(r.makeCurrent(3));
    EXPECT_EQ(p.current, 3);
    EXPECT_TRUE(r.isCurrent(3));
    EXPECT_FALSE(r.isCurrent(1));
    EXPECT_TRUE(p.touched);
}

TEST(ResolutionRules, ReportRateOptions) {
    auto p = pageWith({0, 1}, 0);
    ResolutionRules r(p);
    EXPECT_TRUE(r.chooseRate(2));
    EXPECT_EQ(p.reportRate, 500);
    EXPECT_TRUE(r.chooseRate(1));
    EXPECT_EQ(p.reportRate, 1000);
    EXPECT_FALSE(r.chooseRate(0));
    EXPECT_FALSE(r.chooseRate(3));
    EXPECT_EQ(p.reportRate, 1000);
    EXPECT_FALSE(p.touched); // the rate is stored on its own
}

TEST(ResolutionRules, SetLevelsAllOrNothing) {
    auto p = pageWith({0, 1}, 1);
    const auto before = p;
    ResolutionRules r(p);
    using R = ResolutionRules::LevelsResult;
    const std::vector<int> one{2}, five{0, 1, 2, 3, 4}, twice{2, 2}, bad{2, 8};
    EXPECT_EQ(r.setLevels(one, std::nullopt), R::Count);
    EXPECT_EQ(r.setLevels(five, std::nullopt), R::Count);
    EXPECT_EQ(r.setLevels(twice, std::nullopt), R::Duplicate);
    EXPECT_EQ(r.setLevels(bad, std::nullopt), R::UnknownLabel);
    const std::vector<int> ok{6, 2, 4};
    EXPECT_EQ(r.setLevels(ok, 1), R::CurrentNotOn);
    EXPECT_EQ(p.on, before.on);
    EXPECT_FALSE(p.touched);

    EXPECT_EQ(r.setLevels(ok, std::nullopt), R::Ok);
    EXPECT_EQ(onLabels(p), (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(p.current, 2); // the old current is off: the lowest
    EXPECT_TRUE(p.touched);
    const std::vector<int> keep{4, 6, 7};
    EXPECT_EQ(r.setLevels(keep, std::nullopt), R::Ok);
    EXPECT_EQ(p.current, 4);
    const std::vector<int> withCurrent{4, 6};
    EXPECT_EQ(r.setLevels(withCurrent, 6), R::Ok);
    EXPECT_EQ(p.current, 6);
}

TEST(ResolutionRules, LabelsAreFoundByCaption) {
    auto p = pageWith({}, std::nullopt);
    ResolutionRules r(p);
    EXPECT_EQ(r.labelOf("600"), 0);
    EXPECT_EQ(r.labelOf("4800"), 7);
    EXPECT_EQ(r.labelOf("2000"), std::nullopt);
    EXPECT_EQ(r.labelOf(""), std::nullopt);
}

// Levels no label shows (indexes 0, 1, 11 and 2000) used to be lost at the next store.
class UnlabelledLevels : public ::testing::TestWithParam<Edition> {};

TEST_P(UnlabelledLevels, AreCarriedUntilTheUserChangesTheValues) {
    Session s(GetParam());
    const std::uint8_t unlabelled = GetParam() == Edition::Editor ? 7 : 6; // "2000"
    s.load({0x00, 0x01, unlabelled, 0x0B}, 3);
    EXPECT_EQ(onLabels(s.config.page.resolution), std::vector<int>{});
    EXPECT_EQ(s.storedLevels(), (std::array<std::uint8_t, 4>{0x00, 0x01, unlabelled, 0x0B}));
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kCurrentCpiLevel], 3);
    EXPECT_TRUE(sectionValid(std::span(s.config.working).first(image::kSectionASize)));

    // A report-rate choice alone does not touch the levels.
    ResolutionRules r(s.config.page.resolution);
    r.chooseRate(1);
    EXPECT_EQ(s.storedLevels(), (std::array<std::uint8_t, 4>{0x00, 0x01, unlabelled, 0x0B}));
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kReportRate], 1);

    // Once the user switches values on, the labels decide.
    ASSERT_TRUE(r.toggle(0));
    ASSERT_TRUE(r.toggle(2));
    EXPECT_EQ(s.storedLevels(), (std::array<std::uint8_t, 4>{2, 4, 0xFF, 0xFF}));
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kCurrentCpiLevel], 0);

    // Showing an image again forgets the touch.
    s.load({0x00, 0x01, unlabelled, 0x0B}, 2);
    EXPECT_EQ(s.storedLevels(), (std::array<std::uint8_t, 4>{0x00, 0x01, unlabelled, 0x0B}));
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kCurrentCpiLevel], 2);
}

TEST_P(UnlabelledLevels, TheCurrentLevelFollowsABarClick) {
    Session s(GetParam());
    s.load({0x02, 0x04, 0x05, 0xFF}, 0); // 600 1000 1200
    ResolutionRules r(s.config.page.resolution);
    ASSERT_TRUE(r.makeCurrent(3));
    s.storedLevels();
    EXPECT_EQ(s.config.working[image::kSectionBStart + image::kCurrentCpiLevel], 2);
    EXPECT_TRUE(sectionValid(
        std::span(s.config.working).subspan(image::kSectionBStart, image::kSectionBSize)));
}

INSTANTIATE_TEST_SUITE_P(BothEditions, UnlabelledLevels,
                         ::testing::Values(Edition::Editor, Edition::EditorS));
