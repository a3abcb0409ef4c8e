#pragma once

#include "model/ParameterImage.h"

#include <cstdint>
#include <span>

namespace orlix::test {

// True when the image's four always-checked sections (A, B, fire keys, profiles) carry the
// right checksums. The image may be the start of a longer profile file.
inline bool checksumsValid(std::span<const std::uint8_t> img) {
    const auto all = img.first(kImageSize);
    return sectionValid(all.subspan(0, image::kSectionASize)) &&
           sectionValid(all.subspan(image::kSectionBStart, image::kSectionBSize)) &&
           sectionValid(all.subspan(image::kFireKeyStart, image::kFireKeySize)) &&
           sectionValid(all.subspan(image::kProfileStart, image::kProfileSize));
}

} // namespace orlix::test
