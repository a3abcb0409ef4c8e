#include "ParameterImage.h"

#include <algorithm>
#include <numeric>

namespace orlix {

namespace {
constexpr std::array<std::uint8_t, 10> kRampValues{0, 4, 7, 9, 12, 14, 17, 19, 21, 23};
}

const ImageLayout* imageLayoutFor(std::uint8_t dataType) {
    const auto row = std::find_if(kImageLayouts.begin(), kImageLayouts.end(),
                                  [&](const ImageLayout& l) { return l.dataType == dataType; });
    return row == kImageLayouts.end() ? nullptr : &*row;
}

std::optional<MiddleLayout> middleLayoutFor(std::uint8_t dataType) {
    const ImageLayout* row = imageLayoutFor(dataType);
    if (row == nullptr) return std::nullopt;
    return row->middle;
}

std::uint8_t sectionChecksum(std::span<const std::uint8_t> data) {
    unsigned sum = std::accumulate(data.begin(), data.end(), 0u);
    return static_cast<std::uint8_t>((sum & 0xFFu) ^ 0x5Au);
}

bool sectionValid(std::span<const std::uint8_t> section) {
    if (section.empty()) return false;
    return sectionChecksum(section.first(section.size() - 1)) == section.back();
}

void sealSection(std::span<std::uint8_t> section) {
    if (section.empty()) return;
    section.back() = sectionChecksum(section.first(section.size() - 1));
}

std::uint8_t encodeHoldStep(int step) {
    step = std::clamp(step, 1, 10);
    return static_cast<std::uint8_t>(25 * (step - 1));
}

std::uint8_t encodeRampStep(int step) {
    step = std::clamp(step, 1, 10);
    return kRampValues[static_cast<std::size_t>(step - 1)];
}

int decodeHoldStep(std::uint8_t value) {
    return std::min(10, value / 25 + 1);
}

int decodeRampStep(std::uint8_t value) {
    int step = 1;
    for (std::size_t i = 0; i < kRampValues.size(); ++i)
        if (value >= kRampValues[i]) step = static_cast<int>(i) + 1;
    return step;
}

std::uint16_t readBigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

std::optional<int> reportRateOf(std::uint8_t byte) {
    if (byte == 1) return 1000;
    if (byte == 2) return 500;
    return std::nullopt;
}

std::optional<std::uint8_t> reportRateByte(int hz) {
    if (hz == 1000) return std::uint8_t{1};
    if (hz == 500) return std::uint8_t{2};
    return std::nullopt;
}

} // namespace orlix
