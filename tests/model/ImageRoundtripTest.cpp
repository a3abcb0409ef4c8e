// Decoding an image into the pages and assembling it again must give the mouse back exactly
// what it held, for every image the pages can show; and the fields the pages show must be
// the fields of the image, not bytes that merely travel along with them.
#include "model/Configuration.h"
#include "model/FireKeyFields.h"
#include "support/DefaultImages.h"
#include "support/Language1Texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace orlix;

namespace {

constexpr std::uint8_t kHoldValues[] = {0, 25, 50, 75, 100, 125, 150, 175, 200, 225};
constexpr std::uint8_t kRampValues[] = {0, 4, 7, 9, 12, 14, 17, 19, 21, 23};

void seal(ImageBytes& image, std::size_t from, std::size_t size) {
    sealSection(std::span(image).subspan(from, size));
}

// A random image that the pages can show without loss: resolution levels the level labels
// carry, in label order; lighting fields in their encoded steps when the lighting is used;
// one fire-mode group on every Fire Mode button; every checked section sealed.
class ImageGenerator {
public:
    ImageGenerator(Edition edition, std::uint32_t seed)
        : texts_(test::language1Texts(edition)), random_(seed) {}

    ImageBytes operator()(std::uint8_t dataType) {
        ImageBytes img{};
        for (auto& b : img)
            b = byte();
        img[image::kDataType] = dataType;
        const bool lightingUsed = pick(2) == 0;
        img[image::kLightingFlags] =
            static_cast<std::uint8_t>(lightingUsed ? img[image::kLightingFlags] & ~kLightingUnused
                                                   : img[image::kLightingFlags] | 1);

        // Levels: a random subset (one to four) of the eight level labels, in label order.
        std::vector<int> labels{0, 1, 2, 3, 4, 5, 6, 7};
        std::shuffle(labels.begin(), labels.end(), random_);
        const int used = 1 + pick(4);
        labels.resize(static_cast<std::size_t>(used));
        std::sort(labels.begin(), labels.end());
        for (std::size_t j = 0; j < 4; ++j)
            img[10 + j] = j < labels.size() ? cpiIndexOfLabel(labels[j]) : kLevelNotUsed;

        if (lightingUsed) {
            img[image::kLedOffTime] = kHoldValues[pick(10)];
            img[image::kLedRiseTime] = kRampValues[pick(10)];
            img[image::kLedOnTime] = kHoldValues[pick(10)];
            img[image::kLedFallTime] = kRampValues[pick(10)];
        }
        seal(img, 0, image::kSectionASize);

        img[image::kSectionBStart + image::kCurrentCpiLevel] =
            static_cast<std::uint8_t>(pick(used));
        img[image::kSectionBStart + image::kReportRate] = static_cast<std::uint8_t>(1 + pick(2));
        img[image::kSectionBStart + image::kActiveProfile] = static_cast<std::uint8_t>(pick(3));
        if (lightingUsed)
            img[image::kSectionBStart + image::kLightingMode] = static_cast<std::uint8_t>(pick(3));
        seal(img, image::kSectionBStart, image::kSectionBSize);

        const auto layout = *middleLayoutFor(dataType);
        if (lightingUsed) seal(img, layout.userBreath, 4); // rewritten, so kept true

        const std::size_t fire = image::kFireKeyStart;
        // Settings the fire-key fields can hold (repeat 2..15, delay 2..2000): others are
        // corrected when stored. The high nibble of the third byte stays random.
        for (std::size_t n = 0; n < 4; ++n) {
            const int delay = 2 + pick(1999);
            img[fire + 4 * n] = 0x06;
            img[fire + 4 * n + 1] = static_cast<std::uint8_t>(0x12 + pick(14));
            img[fire + 4 * n + 2] =
                static_cast<std::uint8_t>((img[fire + 4 * n + 2] & 0xF0) | (delay >> 8));
            img[fire + 4 * n + 3] = static_cast<std::uint8_t>(delay & 0xFF);
        }
        seal(img, fire, image::kFireKeySize);

        std::array<std::uint8_t, 4> group{0x0F, 0, 0, 0};
        for (std::size_t m = 1, next = 1; m <= 4 && next < 4; ++m)
            if (pick(2)) group[next++] = static_cast<std::uint8_t>(m);
        const std::size_t profiles = fire + image::kFireKeySize;
        for (std::size_t code = 0; code < 36; ++code) {
            std::uint8_t* at = img.data() + profiles + 4 * code;
            if (pick(6) == 0) at[0] = 0x0F; // a good share of Fire Mode buttons
            if (at[0] == 0x0F) std::copy(group.begin(), group.end(), at);
        }
        seal(img, profiles, image::kProfileSize);
        return img;
    }

    const MapTextSource& texts() const { return texts_; }

private:
    std::uint8_t byte() { return static_cast<std::uint8_t>(pick(256)); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    // The level labels are captioned "Str300".."Str307"; the image holds the index of the
    // equal text among "Str320".."Str331".
    std::uint8_t cpiIndexOfLabel(int label) const {
        const std::string caption = texts_.text("Str" + std::to_string(300 + label));
        for (int i = 0; i < 12; ++i)
            if (texts_.text("Str" + std::to_string(320 + i)) == caption)
                return static_cast<std::uint8_t>(i);
        ADD_FAILURE() << "no value text for label " << label;
        return 0;
    }

    MapTextSource texts_;
    std::mt19937 random_;
};

struct RoundTripCase {
    Edition edition;
    std::uint8_t dataType;
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

} // namespace

TEST_P(RoundTrip, EveryShowableImageAssemblesBackUnchanged) {
    const auto [edition, dataType] = GetParam();
    ImageGenerator generate(edition, 0x5EED + dataType);
    for (int run = 0; run < 400; ++run) {
        const ImageBytes original = generate(dataType);
        Configuration c(edition);
        c.startUp(original, generate.texts());
        c.identifiedDataType = dataType;
        c.decode(generate.texts());
        ASSERT_EQ(c.working, original);

        c.assemble(generate.texts(), false); // a save keeps byte 255
        for (std::size_t i = 0; i < kImageSize; ++i)
            ASSERT_EQ(c.working[i], original[i]) << "run " << run << ", byte " << i;
        EXPECT_FALSE(c.rate.changed);

        c.assemble(generate.texts(), true); // for the mouse byte 255 is 0xFF
        ImageBytes forMouse = original;
        forMouse[image::kLastByte] = 0xFF;
        ASSERT_EQ(c.working, forMouse) << "run " << run;
    }
}

INSTANTIATE_TEST_SUITE_P(BothEditionsAndPlacements, RoundTrip,
                         ::testing::Values(RoundTripCase{Edition::Editor, kDataType1D},
                                           RoundTripCase{Edition::Editor, kDataType3A},
                                           RoundTripCase{Edition::EditorS, kDataType1D},
                                           RoundTripCase{Edition::EditorS, kDataType3A}));

namespace {

struct Shown {
    MapTextSource texts = test::language1Texts();
    Configuration config{Edition::Editor};
    explicit Shown(const ImageBytes& image, std::uint8_t type = kDataType1D) {
        config.startUp(image, texts);
        config.identifiedDataType = type;
        config.decode(texts);
    }
};

ImageBytes withFireKey(std::size_t n, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    ImageBytes img = test::defaultImage(Edition::Editor);
    img[image::kFireKeyStart + fire::kKeyBytes * n + fire::kRepeatByte] = b1;
    img[image::kFireKeyStart + fire::kKeyBytes * n + fire::kDelayHighByte] = b2;
    img[image::kFireKeyStart + fire::kKeyBytes * n + fire::kDelayLowByte] = b3;
    seal(img, image::kFireKeyStart, image::kFireKeySize);
    return img;
}

} // namespace

// The high four bits of a fire key's third byte belong to the mouse; the delay is the low
// twelve bits only, and the repeat count the low four bits of the second byte.
TEST(FireKeyDecode, TheCarriedHighNibbleIsNotPartOfTheDelay) {
    Shown s(withFireKey(1, 0x15, 0xA1, 0x2C));
    EXPECT_EQ(s.config.page.fire.repeat[1], 5);
    EXPECT_EQ(s.config.page.fire.delay[1], 300);
    // The stored code of such a fire key is still named as that fire key.
    const auto ctx = s.config.codeContext(s.texts);
    EXPECT_EQ(CodeForTag(tag::kFireKey1 + 1, ctx), "0615A12C");
    EXPECT_EQ(NameForCode("0615A12C", ctx), "Fire2 Key");

    Shown full(withFireKey(3, 0x1F, 0xFF, 0xFF));
    EXPECT_EQ(full.config.page.fire.repeat[3], 15);
    EXPECT_EQ(full.config.page.fire.delay[3], 0x0FFF);
    // An untouched delay beyond 2000 is stored as the mouse holds it.
    full.config.assemble(full.texts, true);
    EXPECT_EQ(
        full.config.working[image::kFireKeyStart + 3 * fire::kKeyBytes + fire::kDelayHighByte],
        0xFF);
    EXPECT_EQ(full.config.working[image::kFireKeyStart + 3 * fire::kKeyBytes + fire::kDelayLowByte],
              0xFF);
    // A typed one is stored corrected; the carried nibble stays.
    full.config.page.fire.delay[3] = 4000;
    full.config.assemble(full.texts, true);
    EXPECT_EQ(
        full.config.working[image::kFireKeyStart + 3 * fire::kKeyBytes + fire::kDelayHighByte],
        0xF7);
    EXPECT_EQ(full.config.working[image::kFireKeyStart + 3 * fire::kKeyBytes + fire::kDelayLowByte],
              0xD0);
}

TEST(LightingDecode, AModeTwoColourComesFromWhereTheDataTypePutsIt) {
    ImageBytes img = test::defaultImage(Edition::Editor);
    img[image::kDataType] = kDataType3A;
    img[image::kLightingFlags] = 0x00; // lighting in use, colour mode 2
    seal(img, 0, image::kSectionASize);
    // The 0x3A placement: user breath first, at 32..35.
    std::fill(img.begin() + 32, img.begin() + image::kFireKeyStart, std::uint8_t{0});
    img[32] = 10;
    img[33] = 55;
    img[34] = 100;
    seal(img, 32, 4);
    img[89] = 1; // where a 0x1D image would hold the colour
    Shown basic(img, kDataType3A);
    EXPECT_EQ(basic.config.page.lighting.mode2, (std::array<int, 3>{10, 55, 100}));
    EXPECT_EQ(basic.config.page.lighting.colourMode, 2);

    img[image::kDataType] = kDataType1D;
    seal(img, 0, image::kSectionASize);
    img[89] = 20;
    img[90] = 30;
    img[91] = 40;
    seal(img, 89, 4);
    Shown other(img, kDataType1D);
    EXPECT_EQ(other.config.page.lighting.mode2, (std::array<int, 3>{20, 30, 40}));
}
