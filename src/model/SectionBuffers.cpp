#include "SectionBuffers.h"

#include "FireKeyFields.h"

#include <algorithm>

namespace orlix {

namespace {

constexpr std::array<std::uint8_t, 26> kRepairA{
    0x00, 0x1D, 0x1B, 0xCF, 0x08, 0xA6, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x05, 0x06,
    0x08, 0x54, 0x20, 0x05, 0x80, 0xA0, 0x28, 0x0A, 0x32, 0x3C, 0x0A, 0x07, 0x00};
constexpr std::array<std::uint8_t, 4> kRepairB{0x01, 0x02, 0x00, 0x04};
constexpr std::array<std::array<std::uint8_t, 4>, kButtonCount> kRepairProfile{{
    {0x01, 0x01, 0x00, 0x00},
    {0x01, 0x02, 0x00, 0x00},
    {0x01, 0x04, 0x00, 0x00},
    {0x09, 0x00, 0x00, 0x00},
    {0x01, 0x08, 0x00, 0x00},
    {0x01, 0x10, 0x00, 0x00},
    {0x06, 0x12, 0x00, 0x10},
    {0x07, 0x00, 0x00, 0x00},
    {0x0E, 0x00, 0x00, 0x00},
    {0x03, 0x02, 0x23, 0x00},
    {0x0C, 0x00, 0x00, 0x00},
    {0x02, 0x08, 0x07, 0x00},
}};

bool knownType(std::optional<std::uint8_t> t) {
    return t && imageLayoutFor(*t) != nullptr;
}

void repairA(SectionBuffers& s, std::uint8_t type) {
    std::copy(kRepairA.begin(), kRepairA.end(), s.a.begin());
    s.a[image::kDataType] = type;
    sealSection(s.a);
}

void repairB(SectionBuffers& s) {
    std::copy(kRepairB.begin(), kRepairB.end(), s.b.begin());
    sealSection(s.b);
}

// The common rule for sections whose repair does not touch other sections.
template <typename Section, typename Repair>
bool checkOne(Section& section, std::optional<std::uint8_t> identifiedType, Repair repair) {
    if (sectionValid(section)) return false;
    if (knownType(identifiedType)) repair();
    sealSection(section);
    return true;
}

} // namespace

const std::array<std::array<std::uint8_t, 4>, kButtonCount>& repairProfileCodes() {
    return kRepairProfile;
}

bool checkParameterASection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType) {
    return checkOne(s.a, identifiedType, [&] { repairA(s, *identifiedType); });
}

bool checkParameterBSection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType) {
    if (sectionValid(s.b)) return false;
    if (knownType(identifiedType)) {
        repairB(s);
        repairA(s, *identifiedType);
    } else {
        sealSection(s.b);
    }
    return true;
}

bool checkFireKeySection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType) {
    return checkOne(s.fireKeys, identifiedType, [&] {
        for (std::size_t n = 0; n < 4; ++n) {
            auto key = writableFireKeyIn(s.fireKeys, n);
            key[fire::kMarkerByte] = fire::kKeyMarker;
            key[fire::kRepeatByte] = 0x12;
            key[fire::kDelayHighByte] = 0x00;
            key[fire::kDelayLowByte] = static_cast<std::uint8_t>(0x10 * (n + 1));
        }
    });
}

bool checkProfileSection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType) {
    return checkOne(s.profiles, identifiedType, [&] {
        std::fill(s.profiles.begin(), s.profiles.end(), std::uint8_t{0xFF});
        for (int p = 0; p < kProfileCount; ++p)
            for (int k = 0; k < kButtonCount; ++k)
                std::copy(kRepairProfile[static_cast<std::size_t>(k)].begin(),
                          kRepairProfile[static_cast<std::size_t>(k)].end(),
                          s.profiles.begin() +
                              static_cast<std::ptrdiff_t>(profileCodeOffset(p, k)));
    });
}

bool checkUserBreathSection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType) {
    return checkOne(s.userBreath, identifiedType,
                    [&] { std::fill(s.userBreath.begin(), s.userBreath.end(), std::uint8_t{0}); });
}

bool checkEFTControlSection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType) {
    return checkOne(s.eft, identifiedType,
                    [&] { std::fill(s.eft.begin(), s.eft.end(), std::uint8_t{0}); });
}

} // namespace orlix
