#include "model/HalfWritten.h"

#include <algorithm>

namespace orlix {

namespace {
bool allErased(std::span<const std::uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0xFF; });
}
} // namespace

HalfWrittenSign halfWrittenSign(std::span<const std::uint8_t, kImageSize> image,
                                std::uint8_t layout, const MacroTableBytes* macroTable) {
    if (allErased(image)) return HalfWrittenSign::ImageErased;
    using namespace image;
    const std::size_t fireKeys = middleLayoutFor(layout) ? kFireKeyStart : kCompactFireKeyStart;
    const bool anySound = sectionValid(image.subspan(0, kSectionASize)) ||
                          sectionValid(image.subspan(kSectionBStart, kSectionBSize)) ||
                          sectionValid(image.subspan(fireKeys, kFireKeySize)) ||
                          sectionValid(image.subspan(fireKeys + kFireKeySize, kProfileSize));
    if (!anySound) return HalfWrittenSign::EverySectionFails;
    if (macroTable && allErased(*macroTable)) return HalfWrittenSign::MacroTableErased;
    return HalfWrittenSign::None;
}

std::string describe(HalfWrittenSign sign) {
    switch (sign) {
    case HalfWrittenSign::ImageErased:
        return "its parameter image is erased (all 0xFF)";
    case HalfWrittenSign::EverySectionFails:
        return "every section checksum of its parameter image fails";
    case HalfWrittenSign::MacroTableErased:
        return "its macro table is erased (all 0xFF)";
    case HalfWrittenSign::None:
        break;
    }
    return "it looks sound";
}

} // namespace orlix
