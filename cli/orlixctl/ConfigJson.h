#pragma once

// The readable configuration file: a whole profile (image and macro store) as JSON with every
// field by name, and back. It needs the macro codec for the script lines, which the model may
// not use, so it lives beside the command line tool as a library of its own (no Qt).

#include "model/Edition.h"
#include "model/ParameterImage.h"
#include "model/TextSource.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlix {

inline constexpr std::string_view kConfigJsonFormat = "orlix-editor configuration";
inline constexpr int kConfigJsonVersion = 1;

// What the file is made for, and the texts its names come from (the edition's first
// language, so a file reads the same whatever language the run shows).
struct ConfigJsonContext {
    Edition edition;
    std::uint8_t dataType; // the edition's default image's
    const TextSource& names;
};

// A whole profile (34048 bytes; shorter data is refused) as JSON text, ending in a newline.
// Every byte of the profile can be rebuilt from it: bytes without a meaning of their own are
// written as hexadecimal runs ("00*51" is 51 zero bytes), macros that the script lines cannot
// rebuild exactly as their raw bytes, and checksums only where the stored one is wrong.
std::optional<std::string> configurationToJson(std::span<const std::uint8_t> profile,
                                               const ConfigJsonContext& context);

struct ConfigJsonResult {
    std::vector<std::uint8_t> profile; // 34048 bytes when ok
    std::string path;                  // where the fault is, "lighting.mode1Colour[2]"
    std::string error;                 // empty when ok
    bool ok() const { return error.empty(); }
    // "lighting.mode1Colour[2]: 150 is out of range 0..100"
    std::string message() const;
};

// Rebuilds the profile. Refuses a file of another format, version, edition or data type,
// unknown or missing fields, wrong types and values out of range, naming the field.
ConfigJsonResult configurationFromJson(std::string_view text, const ConfigJsonContext& context);

// "00*51", "FF FF EF": bytes as upper-case hexadecimal pairs separated by blanks, a pair
// followed by "*N" standing for N copies of it.
std::string hexRuns(std::span<const std::uint8_t> bytes);
std::optional<std::vector<std::uint8_t>> parseHexRuns(std::string_view text);

} // namespace orlix
