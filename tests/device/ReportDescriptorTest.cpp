#include "device/ReportDescriptor.h"
#include "device/SimulatedMouse.h"

#include <gtest/gtest.h>

#include <vector>

using orlix::device::parseReportDescriptor;
using orlix::device::SimulatedMouse;

namespace {

// The boot keyboard and boot mouse descriptors printed in the HID class definition.
const std::vector<std::uint8_t> kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};
const std::vector<std::uint8_t> kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15,
    0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};

// An ordinary keyboard with media keys and a vendor feature collection, with report ids:
// keyboard (id 1), consumer control (id 2), vendor features 5 (4 bytes) and 6 (15 bytes).
const std::vector<std::uint8_t> kCompositeKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00, 0x95, 0x05,
    0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01,
    0xC0,
    // consumer control
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x03, 0x19, 0x00, 0x2A,
    0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
    // vendor features
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x95, 0x04, 0xB1, 0x02, 0x85, 0x06, 0x09, 0x02, 0x95, 0x0F, 0xB1, 0x02, 0xC0};

} // namespace

TEST(ReportDescriptor, BootDevicesHaveTheLengthsWindowsReports) {
    auto keyboard = parseReportDescriptor(kBootKeyboard);
    ASSERT_FALSE(keyboard.error);
    ASSERT_EQ(keyboard.collections.size(), 1u);
    EXPECT_EQ(keyboard.collections[0].usagePage, 0x01);
    EXPECT_EQ(keyboard.collections[0].usage, 0x06);
    EXPECT_EQ(keyboard.collections[0].inputReportLength, 9);  // 8 bytes and the id byte
    EXPECT_EQ(keyboard.collections[0].outputReportLength, 2); // LEDs and padding
    EXPECT_EQ(keyboard.collections[0].featureReportLength, 0);

    auto mouse = parseReportDescriptor(kBootMouse);
    ASSERT_FALSE(mouse.error);
    ASSERT_EQ(mouse.collections.size(), 1u);
    EXPECT_EQ(mouse.collections[0].usage, 0x02);
    EXPECT_EQ(mouse.collections[0].inputReportLength, 4);
    EXPECT_EQ(mouse.collections[0].featureReportLength, 0);
}

TEST(ReportDescriptor, EachTopLevelCollectionIsMeasuredOnItsOwn) {
    auto parsed = parseReportDescriptor(kCompositeKeyboard);
    ASSERT_FALSE(parsed.error);
    ASSERT_EQ(parsed.collections.size(), 3u);
    EXPECT_EQ(parsed.collections[0].inputReportLength, 9);
    EXPECT_EQ(parsed.collections[0].outputReportLength, 2);
    EXPECT_EQ(parsed.collections[1].usagePage, 0x0C);
    EXPECT_EQ(parsed.collections[1].inputReportLength, 3);
    EXPECT_EQ(parsed.collections[1].featureReportLength, 0);
    EXPECT_EQ(parsed.collections[2].usagePage, 0xFF00);
    EXPECT_EQ(parsed.collections[2].featureReportLength, 16); // the longer of 4 and 15, plus id
    EXPECT_EQ(parsed.collections[2].featureReportIds, (std::vector<std::uint8_t>{5, 6}));
}

TEST(ReportDescriptor, PaddingBitsAndExtendedUsagesCount) {
    // A wheel resolution multiplier: 2 bits and 6 bits of padding, no report ids.
    const std::vector<std::uint8_t> multiplier = {
        0x0B, 0x02, 0x00, 0x01, 0x00, // extended usage: page 1, usage 2
        0xA1, 0x01, 0x09, 0x48, 0x15, 0x00, 0x25, 0x01, 0x75, 0x02,
        0x95, 0x01, 0xB1, 0x02, 0x75, 0x06, 0xB1, 0x01, 0xC0};
    auto parsed = parseReportDescriptor(multiplier);
    ASSERT_FALSE(parsed.error);
    ASSERT_EQ(parsed.collections.size(), 1u);
    EXPECT_EQ(parsed.collections[0].usagePage, 0x01);
    EXPECT_EQ(parsed.collections[0].usage, 0x02);
    EXPECT_EQ(parsed.collections[0].featureReportLength, 2);
    EXPECT_EQ(parsed.collections[0].featureReportIds, (std::vector<std::uint8_t>{0}));
}

TEST(ReportDescriptor, SimulatedMouseDescribesEachLayout) {
    const std::array<std::uint8_t, 256> image{};
    struct Case {
        SimulatedMouse::Layout layout;
        std::vector<std::uint16_t> featureLengths;
    };
    const Case cases[] = {
        {SimulatedMouse::Layout::OneCollection, {0, 8}},
        {SimulatedMouse::Layout::SplitCollections, {0, 8, 8}},
        {SimulatedMouse::Layout::WrongFeatureLength, {0, 64}},
        {SimulatedMouse::Layout::RefusesProbes, {0, 8}},
    };
    for (const Case& c : cases) {
        auto settings = SimulatedMouse::basicMouse(image);
        settings.layout = c.layout;
        SimulatedMouse mouse(settings);
        auto parsed = parseReportDescriptor(mouse.reportDescriptor());
        ASSERT_FALSE(parsed.error);
        std::vector<std::uint16_t> lengths;
        for (const auto& col : parsed.collections)
            lengths.push_back(col.featureReportLength);
        EXPECT_EQ(lengths, c.featureLengths);
        EXPECT_EQ(parsed.collections[0].inputReportLength, 5); // buttons, x, y, wheel, id
    }
}

TEST(ReportDescriptor, MalformedDescriptorsAreErrorsNotCrashes) {
    const std::vector<std::vector<std::uint8_t>> bad = {
        {0x05},                                    // item data missing
        {0xC0},                                    // end of a collection never opened
        {0x85, 0x00},                              // report id 0
        {0xA1, 0x01, 0x09, 0x01},                  // collection never closed
        {0xFE, 0x05, 0x00, 0x01},                  // long item cut short
        {0xB4},                                    // pop without push
        {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, // report size 2^32-1
         0x95, 0xFF, 0xB1, 0x02, 0xC0},
    };
    for (const auto& d : bad)
        EXPECT_TRUE(parseReportDescriptor(d).error) << d.size();

    std::vector<std::uint8_t> deepPush(40, 0xA4);
    EXPECT_TRUE(parseReportDescriptor(deepPush).error);

    // Every cut of a good descriptor either parses or fails cleanly.
    for (std::size_t n = 0; n <= kCompositeKeyboard.size(); ++n) {
        std::vector<std::uint8_t> cut(kCompositeKeyboard.begin(),
                                      kCompositeKeyboard.begin() + static_cast<std::ptrdiff_t>(n));
        auto parsed = parseReportDescriptor(cut);
        if (!parsed.error) {
            for (const auto& c : parsed.collections)
                EXPECT_LE(c.featureReportLength, 16);
        }
    }
}

namespace {

// One vendor collection with one feature item of `count` fields of `size` bits, report id 0x41.
std::vector<std::uint8_t> featureCollection(std::uint8_t size, std::uint16_t count) {
    return {0x06,
            0x00,
            0xFF,
            0x09,
            0x01,
            0xA1,
            0x01,
            0x85,
            0x41,
            0x75,
            size,
            0x96,
            static_cast<std::uint8_t>(count & 0xFF),
            static_cast<std::uint8_t>(count >> 8),
            0xB1,
            0x02,
            0xC0};
}

std::uint16_t featureLength(const std::vector<std::uint8_t>& descriptor) {
    auto parsed = parseReportDescriptor(descriptor);
    EXPECT_FALSE(parsed.error) << (parsed.error ? parsed.error->message : "");
    if (parsed.error || parsed.collections.size() != 1) return 0;
    return parsed.collections[0].featureReportLength;
}

} // namespace

// A report whose fields do not fill its last byte still takes that byte: lengths round up,
// so a mouse of seven data bytes is found at 8 whether or not its last byte is padded.
TEST(ReportDescriptor, ReportLengthsRoundUpToWholeBytes) {
    EXPECT_EQ(featureLength(featureCollection(1, 55)), 8);
    EXPECT_EQ(featureLength(featureCollection(1, 56)), 8);
    EXPECT_EQ(featureLength(featureCollection(1, 57)), 9);
    EXPECT_EQ(featureLength(featureCollection(1, 1)), 2);
    EXPECT_EQ(featureLength(featureCollection(3, 1)), 2);
    EXPECT_EQ(featureLength(featureCollection(7, 8)), 8); // 56 bits
    EXPECT_EQ(featureLength(featureCollection(7, 9)), 9); // 63 bits
}

TEST(ReportDescriptor, TheLongestReportThatFitsSixteenBitsIsAcceptedAndOneBitMoreIsNot) {
    // 0xFFFE data bytes and the id byte make 0xFFFF.
    EXPECT_EQ(featureLength(featureCollection(8, 0xFFFE)), 0xFFFF);
    auto over = featureCollection(8, 0xFFFE);
    const std::vector<std::uint8_t> oneBit = {0x75, 0x01, 0x95, 0x01, 0xB1, 0x02};
    over.insert(over.end() - 1, oneBit.begin(), oneBit.end());
    EXPECT_TRUE(parseReportDescriptor(over).error);
}

TEST(ReportDescriptor, ThePushStackHoldsThirtyTwoLevels) {
    std::vector<std::uint8_t> full(32, 0xA4);
    full.insert(full.end(), 32, 0xB4);
    EXPECT_FALSE(parseReportDescriptor(full).error);

    std::vector<std::uint8_t> over(33, 0xA4);
    over.insert(over.end(), 33, 0xB4);
    EXPECT_TRUE(parseReportDescriptor(over).error);

    // A pop restores what the push saved.
    auto restored = featureCollection(8, 7);
    const std::vector<std::uint8_t> pushed = {0xA4, 0x75, 0x10, 0xB4};
    restored.insert(restored.begin() + 11, pushed.begin(), pushed.end());
    EXPECT_EQ(featureLength(restored), 8);
}

TEST(ReportDescriptor, ReportIdsRunFromOneTo255) {
    auto id = [](std::vector<std::uint8_t> idItem) {
        std::vector<std::uint8_t> d = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
        d.insert(d.end(), idItem.begin(), idItem.end());
        const std::vector<std::uint8_t> rest = {0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0};
        d.insert(d.end(), rest.begin(), rest.end());
        return parseReportDescriptor(d);
    };
    EXPECT_EQ(id({0x85, 0x01}).collections.at(0).featureReportIds, (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(id({0x85, 0xFF}).collections.at(0).featureReportIds,
              (std::vector<std::uint8_t>{0xFF}));
    EXPECT_TRUE(id({0x86, 0x00, 0x01}).error); // 256
    EXPECT_TRUE(id({0x85, 0x00}).error);
}
