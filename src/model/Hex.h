#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlix {

// Upper-case hexadecimal text, two digits per byte ("0901" for {0x09, 0x01}).
std::string toHex(std::span<const std::uint8_t> bytes);
std::string hexByte(std::uint8_t value);

// Parses an even-length run of hexadecimal digits; nullopt on anything else.
std::optional<std::vector<std::uint8_t>> fromHex(std::string_view text);

} // namespace orlix
