#pragma once

#include "ParameterImage.h"

#include <array>
#include <optional>
#include <string>

namespace orlix {

// The decoded copy of each image section that the pages read and change; the image is
// rebuilt from these when it is written or saved.
struct SectionBuffers {
    std::array<std::uint8_t, image::kSectionASize> a{};
    std::array<std::uint8_t, image::kSectionBSize> b{};
    std::array<std::uint8_t, image::kUserBreathSize> userBreath{};
    std::array<std::uint8_t, image::kReservedBlockSize> reserved{};
    std::array<std::uint8_t, image::kIdCodeSize> idCode{};
    std::array<std::uint8_t, image::kEftSize> eft{};
    std::array<std::uint8_t, image::kFireKeySize> fireKeys{};
    std::array<std::uint8_t, image::kProfileSize> profiles{};
};

constexpr int kProfileCount = 3;
constexpr int kButtonCount = 12;

// Assignment codes as eight upper-case hex digits: [profile 0..2][button 0..11].
using AssignmentTable = std::array<std::array<std::string, kButtonCount>, kProfileCount>;

// Offset of a button's four code bytes inside the profile section buffer.
constexpr std::size_t profileCodeOffset(int profile, int button) {
    return static_cast<std::size_t>(48 * profile + 4 * button);
}

// Check-and-repair of the checked sections. A failing section is replaced by the fixed
// contents for the data type the mouse reported when it was last identified; with no
// identified mouse (or an unknown type) only its checksum is recomputed. A failing
// section B replaces A as well. Returns true when the section had to be touched.
bool checkParameterASection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType);
bool checkParameterBSection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType);
bool checkFireKeySection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType);
bool checkProfileSection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType);
bool checkUserBreathSection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType);
bool checkEFTControlSection(SectionBuffers& s, std::optional<std::uint8_t> identifiedType);

// The codes a damaged profile section is rebuilt with, the same for all three profiles.
const std::array<std::array<std::uint8_t, 4>, kButtonCount>& repairProfileCodes();

} // namespace orlix
