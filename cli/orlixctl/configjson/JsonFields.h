#pragma once

// Reading and writing single fields of the configuration file: every fault names the field it
// is at ("lighting.mode1Colour[2]"), so a hand-edited file can be mended where it went wrong.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::configjson {

using Json = nlohmann::ordered_json;

// A fault in the file, at a field.
struct Fault : std::runtime_error {
    Fault(std::string where, const std::string& what)
        : std::runtime_error(what), path(std::move(where)) {}
    std::string path;
};

// "lighting.steps", "levels[2]".
std::string at(const std::string& path, std::string_view key);
std::string at(const std::string& path, std::size_t index);

// What a value is, for a message: "a text", "a list", ...
std::string describe(const Json& v);

// An object with exactly these fields (the optional ones may be missing).
void fields(const Json& v, const std::string& path,
            std::initializer_list<std::string_view> required,
            std::initializer_list<std::string_view> optional = {});

long long integer(const Json& v, const std::string& path, long long lo, long long hi);
const std::string& text(const Json& v, const std::string& path);
bool boolean(const Json& v, const std::string& path);
// A list of `size` entries; SIZE_MAX takes any length.
const Json& list(const Json& v, const std::string& path, std::size_t size);
// Hexadecimal runs of `size` bytes; SIZE_MAX takes any length.
std::vector<std::uint8_t> bytes(const Json& v, const std::string& path, std::size_t size);

// "0x1BCF" with exactly `digits` hexadecimal digits, and back.
unsigned hexField(const Json& v, const std::string& path, int digits);
std::string hexNumber(unsigned value, int digits);

// A byte is written by its meaning, or as {"byte": b} where it has none, so that every byte
// comes back as it was.
using Meaning = std::function<std::optional<Json>(std::uint8_t)>;
Json byteOr(std::uint8_t b, const Meaning& meaning);
using ReadMeaning = std::function<std::uint8_t(const Json&, const std::string&)>;
std::uint8_t byteOf(const Json& v, const std::string& path, const ReadMeaning& meaning);

// A byte that indexes `names`, and back.
Meaning named(std::span<const std::string_view> names);
std::uint8_t namedByte(const Json& v, const std::string& path,
                       std::span<const std::string_view> names);

} // namespace orlix::configjson
