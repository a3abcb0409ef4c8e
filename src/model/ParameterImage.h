#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orlix {

// The mouse's 256-byte configuration image (device address 0x6000): a run of sections,
// each closed by a checksum byte. Offsets below are into the image.
constexpr std::size_t kImageSize = 256;
using ParameterImage = std::array<std::uint8_t, kImageSize>;
using ImageBytes = ParameterImage;

constexpr std::uint8_t kDataType1D = 0x1D;
constexpr std::uint8_t kDataType3A = 0x3A;
constexpr std::uint8_t kLevelNotUsed = 0xFF;

namespace image {
// Section A, bytes 0..26
constexpr std::size_t kReserved0 = 0;
constexpr std::size_t kDataType = 1;
constexpr std::size_t kVendorId = 2;  // big-endian, 2 bytes
constexpr std::size_t kProductId = 4; // big-endian, 2 bytes
constexpr std::size_t kSpare6 = 6;    // bytes 6..8, no meaning of their own: carried as they are
constexpr std::size_t kSpare6Size = 3;
constexpr std::size_t kLightingFlags = 9;
constexpr std::size_t kCpiLevel1 = 10; // four bytes
constexpr std::size_t kLedOffTime = 18;
constexpr std::size_t kLedRiseTime = 19;
constexpr std::size_t kLedOnTime = 20;
constexpr std::size_t kLedFallTime = 21;
constexpr std::size_t kSpare14 = 14; // bytes 14..17, carried
constexpr std::size_t kSpare14Size = 4;
constexpr std::size_t kMode1Red = 22; // red, green, blue
constexpr std::size_t kSpare25 = 25;  // carried
constexpr std::size_t kSectionASize = 27;
// Section B, bytes 27..31 (offsets inside the section buffer)
constexpr std::size_t kSectionBStart = 27;
constexpr std::size_t kSectionBSize = 5;
constexpr std::size_t kCurrentCpiLevel = 0;
constexpr std::size_t kReportRate = 1;
constexpr std::size_t kActiveProfile = 2;
constexpr std::size_t kLightingMode = 3;
// Middle region blocks
constexpr std::size_t kReservedBlockSize = 51;
constexpr std::size_t kIdCodeSize = 2;
constexpr std::size_t kEftSize = 4;
constexpr std::size_t kUserBreathSize = 4;
// Fire keys and profiles
constexpr std::size_t kFireKeyStart = 93;
constexpr std::size_t kFireKeySize = 17;
constexpr std::size_t kProfileSize = 145;
constexpr std::size_t kCompactFireKeyStart = 32; // placement for an unknown data type
constexpr std::size_t kProfileStart = kFireKeyStart + kFireKeySize;
constexpr std::size_t kLastByte = 255;
} // namespace image

// A colour byte holds a percentage.
constexpr int kColourPercentMax = 100;

// The report rate byte of section B: 1 is 1000 Hz, 2 is 500 Hz; other bytes name no rate.
std::optional<int> reportRateOf(std::uint8_t byte);
std::optional<std::uint8_t> reportRateByte(int hz);

constexpr std::uint8_t kLightingUnused = 0x01; // LightingFlags bit 0
constexpr std::uint8_t kColourMode1 = 0x10;    // LightingFlags bit 4

// Where the four middle-region blocks lie for a data type; nullopt for other types.
struct MiddleLayout {
    std::size_t reserved;
    std::size_t idCode;
    std::size_t eft;
    std::size_t userBreath;
};
// The image layouts the program knows, one row per data type (device information byte 3).
// The mouse variants of identification (device/DeviceSession.cpp) name their data type from
// these rows; a data type without a row is refused.
struct ImageLayout {
    std::uint8_t dataType;
    MiddleLayout middle;
    // A macro mouse of this layout keeps its own breathing-light block: decoding an image
    // for it leaves the block as the mouse holds it.
    bool macroKeepsBreath;
};
// clang-format off
inline constexpr std::array kImageLayouts = {
    //          data type    reserved idCode eft userBreath  macro keeps breath
    ImageLayout{kDataType1D, {32,      83,    85, 89},       false},
    ImageLayout{kDataType3A, {36,      87,    89, 32},       true},
};
// clang-format on
const ImageLayout* imageLayoutFor(std::uint8_t dataType);
std::optional<MiddleLayout> middleLayoutFor(std::uint8_t dataType);

// (sum of the data bytes mod 256) XOR 0x5A
std::uint8_t sectionChecksum(std::span<const std::uint8_t> data);

// A section's data followed by its checksum byte.
bool sectionValid(std::span<const std::uint8_t> section);
void sealSection(std::span<std::uint8_t> section);

// Breathing-light timings: ten steps, two encodings.
std::uint8_t encodeHoldStep(int step); // off and on time: 25 * (step - 1)
std::uint8_t encodeRampStep(int step); // rise and fall time
int decodeHoldStep(std::uint8_t value);
int decodeRampStep(std::uint8_t value);

std::uint16_t readBigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset);

} // namespace orlix
