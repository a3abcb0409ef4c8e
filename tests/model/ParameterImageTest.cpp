#include "model/Configuration.h"
#include "model/FireKeyFields.h"
#include "model/ImageCodec.h"
#include "model/SectionBuffers.h"
#include "support/DefaultImages.h"
#include "support/Language1Texts.h"

#include <gtest/gtest.h>

using namespace orlix;

namespace {

std::array<std::string, kButtonCount> codes(std::initializer_list<const char*> list) {
    std::array<std::string, kButtonCount> out;
    std::size_t i = 0;
    for (auto c : list)
        out[i++] = c;
    return out;
}

const auto kDefaultMain =
    codes({"01010000", "01020000", "01040000", "06120010", "01080000", "01100000", "09000000",
           "01020000", "06120010", "02000800", "02000900", "02000A00"});
const auto kDefaultOther =
    codes({"01010000", "01020000", "01040000", "09000000", "01080000", "01100000", "06120010",
           "07000000", "0E000000", "03022300", "0C000000", "02080700"});

} // namespace

TEST(Checksum, IsSumXor5A) {
    std::array<std::uint8_t, 4> zeros{};
    EXPECT_EQ(sectionChecksum(zeros), 0x5A);
    std::array<std::uint8_t, 3> bytes{0xFF, 0x02, 0x01}; // sum 0x102 -> 0x02
    EXPECT_EQ(sectionChecksum(bytes), 0x02 ^ 0x5A);
}

TEST(TimeSteps, RoundTripAndShownAsLargestStepNotAbove) {
    for (int step = 1; step <= 10; ++step) {
        EXPECT_EQ(decodeHoldStep(encodeHoldStep(step)), step);
        EXPECT_EQ(decodeRampStep(encodeRampStep(step)), step);
    }
    EXPECT_EQ(encodeHoldStep(10), 225);
    EXPECT_EQ(encodeRampStep(10), 23);
    EXPECT_EQ(decodeHoldStep(60), 3);
    EXPECT_EQ(decodeHoldStep(255), 10);
    EXPECT_EQ(decodeRampStep(3), 1);
    EXPECT_EQ(decodeRampStep(8), 3);
    EXPECT_EQ(decodeRampStep(22), 9);
    EXPECT_EQ(decodeRampStep(200), 10);
}

TEST(DefaultImage, DecodesToTheShippedFieldsAndCodes) {
    auto texts = test::language1Texts();
    Configuration c(Edition::Editor);
    c.startUp(test::defaultResource(Edition::Editor), texts);

    EXPECT_EQ(c.readLayout, kDataType1D);
    EXPECT_EQ(c.targetVendorId(), 0x1BCF);
    EXPECT_EQ(c.targetProductId(), 0x08A6);
    EXPECT_EQ(c.expectedIdCode(), (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
    EXPECT_EQ(c.sections.a[image::kLightingFlags], 0xFF);
    EXPECT_EQ(c.sections.b[image::kReportRate], 2);
    EXPECT_EQ(c.sections.b[image::kLightingMode], 4);
    EXPECT_EQ(c.assignments[0], kDefaultMain);
    EXPECT_EQ(c.assignments[1], kDefaultOther);
    EXPECT_EQ(c.assignments[2], kDefaultOther);

    // Levels 04 06 08 0A are 1000, 1600, 2400 and 4800, the first of them current.
    const auto& res = c.page.resolution;
    EXPECT_EQ(res.on, (std::array<bool, 8>{false, false, true, false, true, true, false, true}));
    EXPECT_EQ(res.current, 2);
    EXPECT_EQ(res.reportRate, 500);
    EXPECT_EQ(c.page.fire.repeat, (std::array<int, 4>{2, 2, 2, 2}));
    EXPECT_EQ(c.page.fire.delay, (std::array<int, 4>{16, 32, 48, 64}));
    EXPECT_EQ(c.page.activeProfile, 0);
}

TEST(DefaultImage, SecondEditionDiffersWhereItShould) {
    auto texts = test::language1Texts(Edition::EditorS);
    Configuration c(Edition::EditorS);
    c.startUp(test::defaultResource(Edition::EditorS), texts);
    EXPECT_EQ(c.working[image::kLastByte], 0x00);
    EXPECT_EQ(c.assignments[0][10], "02000B00");
    EXPECT_EQ(c.assignments[0][11], "02000C00");
    // Levels 04 07 09 0A: in this edition index 7 reads 1600, so the same labels light up
    // as 1000, 1600, 3500, 4800, and level 1 (1600) is current.
    EXPECT_EQ(c.page.resolution.on,
              (std::array<bool, 8>{false, false, true, false, true, false, true, true}));
    EXPECT_EQ(c.page.resolution.current, 4);
}

class Repair : public ::testing::Test {
protected:
    ImageBytes image = test::defaultImage(Edition::Editor);
    SectionBuffers s;
    AssignmentTable table;
    void decode(std::optional<std::uint8_t> identified) {
        decodeImage(image, DecodeOptions{kDataType1D, false, identified}, s, table);
    }
};

TEST_F(Repair, BadSectionAOfA1DMouseGetsTheRepairContentsAndBKeepsItsBytes) {
    image[image::kSectionASize - 1] ^= 0x01;
    decode(kDataType1D);
    EXPECT_EQ(s.a[image::kDataType], 0x1D);
    EXPECT_EQ(s.a[image::kCpiLevel1], 0x03);
    EXPECT_EQ(s.a[image::kSectionASize - 1], 0x4B);
    EXPECT_EQ(s.b[image::kReportRate], 2); // B as read
    EXPECT_EQ(s.b[image::kSectionBSize - 1], 0x5C);
}

TEST_F(Repair, RepairOfA3AMouseCarriesItsDataType) {
    image[image::kSectionASize - 1] ^= 0x01;
    decode(kDataType3A);
    EXPECT_EQ(s.a[image::kDataType], 0x3A);
    EXPECT_EQ(s.a[image::kSectionASize - 1], 0x74);
}

TEST_F(Repair, BadSectionBReplacesAAndBEvenWhenAWasRight) {
    image[image::kSectionBStart + image::kSectionBSize - 1] ^= 0x10;
    decode(kDataType1D);
    EXPECT_EQ((std::array<std::uint8_t, 5>{0x01, 0x02, 0x00, 0x04, 0x5D}), s.b);
    EXPECT_EQ(s.a[image::kCpiLevel1], 0x03);
    EXPECT_EQ(s.a[image::kSectionASize - 1], 0x4B);
}

TEST_F(Repair, BadProfileChecksumGivesTheRepairTableInAllProfiles) {
    image[image::kProfileStart + profileCodeOffset(1, 10) + 2] ^= 0x40;
    decode(kDataType1D);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(table[static_cast<std::size_t>(p)], kDefaultOther);
    EXPECT_TRUE(sectionValid(s.profiles));
}

TEST_F(Repair, BadFireKeysGetTheDefaultFireKeys) {
    image[image::kFireKeyStart + fire::kKeyBytes + fire::kDelayLowByte] = 0x77;
    decode(kDataType1D);
    EXPECT_EQ(s.fireKeys[fire::kKeyBytes + fire::kDelayLowByte], 0x20);
    EXPECT_EQ(s.fireKeys[image::kFireKeySize - 1], 0x5A);
}

TEST_F(Repair, WithoutAnIdentifiedMouseOnlyTheChecksumIsMended) {
    image[image::kCpiLevel1] = 0x00; // data changed, checksum now wrong
    decode(std::nullopt);
    EXPECT_EQ(s.a[image::kCpiLevel1], 0x00);
    EXPECT_TRUE(sectionValid(s.a));
    decode(std::uint8_t{0x42}); // an unknown type has no repair contents either
    EXPECT_EQ(s.a[image::kCpiLevel1], 0x00);
}

TEST(Decode, LayoutsPlaceTheMiddleBlocksAndAMacroDeviceKeepsBAndBreath) {
    ImageBytes image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i);
    SectionBuffers s;
    AssignmentTable t;
    decodeImage(image, {kDataType1D, false, std::nullopt}, s, t);
    EXPECT_EQ(s.reserved[0], 32);
    EXPECT_EQ(s.idCode[0], 83);
    EXPECT_EQ(s.eft[0], 85);
    EXPECT_EQ(s.userBreath[0], 89);
    EXPECT_EQ(s.fireKeys[0], 93);

    SectionBuffers m;
    m.b = {9, 9, 9, 9, 9};
    m.userBreath = {7, 7, 7, 7};
    decodeImage(image, {kDataType3A, true, std::nullopt}, m, t);
    EXPECT_EQ(m.reserved[0], 36);
    EXPECT_EQ(m.idCode[0], 87);
    EXPECT_EQ(m.eft[0], 89);
    EXPECT_EQ(m.userBreath[0], 7); // comes from the device's own record
    EXPECT_EQ(m.b[0], 9);

    SectionBuffers u;
    decodeImage(image, {0x42, false, std::nullopt}, u, t);
    EXPECT_EQ(u.fireKeys[0], 32); // compact placement for an unknown layout
}

// Every known layout tiles the bytes before the fire keys: sections A and B and its four
// middle blocks cover each byte exactly once.
TEST(ImageLayouts, EachTilesTheBytesBeforeTheFireKeysOnce) {
    for (const ImageLayout& row : kImageLayouts) {
        std::array<int, image::kFireKeyStart> owners{};
        const auto claim = [&](std::size_t start, std::size_t size) {
            for (std::size_t i = start; i < start + size; ++i) {
                ASSERT_LT(i, owners.size()) << "data type " << int(row.dataType);
                ++owners[i];
            }
        };
        claim(0, image::kSectionASize);
        claim(image::kSectionBStart, image::kSectionBSize);
        claim(row.middle.reserved, image::kReservedBlockSize);
        claim(row.middle.idCode, image::kIdCodeSize);
        claim(row.middle.eft, image::kEftSize);
        claim(row.middle.userBreath, image::kUserBreathSize);
        for (std::size_t i = 0; i < owners.size(); ++i)
            EXPECT_EQ(owners[i], 1) << "data type " << int(row.dataType) << ", byte " << i;
        EXPECT_EQ(middleLayoutFor(row.dataType)->idCode, row.middle.idCode);
    }
    EXPECT_FALSE(middleLayoutFor(0x42).has_value());
}
