#include "JsonFields.h"

#include "ConfigJson.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace orlix::configjson {

std::string at(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string at(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string describe(const Json& v) {
    switch (v.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::boolean:
        return "a true/false value";
    case Json::value_t::string:
        return "a text";
    case Json::value_t::array:
        return "a list";
    case Json::value_t::object:
        return "an object";
    case Json::value_t::number_float:
        return "a fraction";
    default:
        return "a number";
    }
}

void fields(const Json& v, const std::string& path,
            std::initializer_list<std::string_view> required,
            std::initializer_list<std::string_view> optional) {
    if (!v.is_object())
        throw Fault(path.empty() ? "(top)" : path, "must be an object, not " + describe(v));
    for (auto it = v.begin(); it != v.end(); ++it) {
        const std::string& key = it.key();
        const auto known = [&key](std::initializer_list<std::string_view> list) {
            return std::find(list.begin(), list.end(), key) != list.end();
        };
        if (!known(required) && !known(optional))
            throw Fault(at(path, key), "unknown field; nothing in this file may be left unread");
    }
    for (std::string_view key : required)
        if (!v.contains(key)) throw Fault(at(path, key), "missing");
}

long long integer(const Json& v, const std::string& path, long long lo, long long hi) {
    if (!v.is_number_integer()) throw Fault(path, "must be a whole number, not " + describe(v));
    if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(hi))
        throw Fault(path, v.dump() + " is out of range " + std::to_string(lo) + ".." +
                              std::to_string(hi));
    const long long n = v.get<long long>();
    if (n < lo || n > hi)
        throw Fault(path, std::to_string(n) + " is out of range " + std::to_string(lo) + ".." +
                              std::to_string(hi));
    return n;
}

const std::string& text(const Json& v, const std::string& path) {
    if (!v.is_string()) throw Fault(path, "must be a text, not " + describe(v));
    return v.get_ref<const std::string&>();
}

bool boolean(const Json& v, const std::string& path) {
    if (!v.is_boolean()) throw Fault(path, "must be true or false, not " + describe(v));
    return v.get<bool>();
}

const Json& list(const Json& v, const std::string& path, std::size_t size) {
    if (!v.is_array()) throw Fault(path, "must be a list, not " + describe(v));
    if (size != SIZE_MAX && v.size() != size)
        throw Fault(path, "must hold " + std::to_string(size) + " entries, not " +
                              std::to_string(v.size()));
    return v;
}

std::vector<std::uint8_t> bytes(const Json& v, const std::string& path, std::size_t size) {
    auto b = parseHexRuns(text(v, path));
    if (!b)
        throw Fault(path, "must be hexadecimal byte pairs separated by blanks (\"FF*3\" for FF FF "
                          "FF)");
    if (size != SIZE_MAX && b->size() != size)
        throw Fault(path, "holds " + std::to_string(b->size()) + " bytes instead of " +
                              std::to_string(size));
    return *b;
}

unsigned hexField(const Json& v, const std::string& path, int digits) {
    const std::string& t = text(v, path);
    unsigned value = 0;
    if (t.size() == static_cast<std::size_t>(digits) + 2 && t.starts_with("0x")) {
        auto [end, ec] = std::from_chars(t.data() + 2, t.data() + t.size(), value, 16);
        if (ec == std::errc() && end == t.data() + t.size()) return value;
    }
    throw Fault(path, "must be \"0x\" and " + std::to_string(digits) +
                          " hexadecimal digits, not \"" + t + "\"");
}

std::string hexNumber(unsigned value, int digits) {
    std::string text;
    for (int i = digits - 1; i >= 0; --i)
        text += "0123456789ABCDEF"[(value >> (4 * i)) & 0xF];
    return "0x" + text;
}

Json byteOr(std::uint8_t b, const Meaning& meaning) {
    if (auto m = meaning(b)) return *m;
    return Json{{"byte", b}};
}

std::uint8_t byteOf(const Json& v, const std::string& path, const ReadMeaning& meaning) {
    if (v.is_object()) {
        fields(v, path, {"byte"});
        return static_cast<std::uint8_t>(integer(v["byte"], at(path, "byte"), 0, 255));
    }
    return meaning(v, path);
}

Meaning named(std::span<const std::string_view> names) {
    return [names](std::uint8_t b) -> std::optional<Json> {
        if (b >= names.size()) return std::nullopt;
        return Json(names[b]);
    };
}

std::uint8_t namedByte(const Json& v, const std::string& path,
                       std::span<const std::string_view> names) {
    const std::string& t = text(v, path);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == t) return static_cast<std::uint8_t>(i);
    std::string choices;
    for (std::size_t i = 0; i < names.size(); ++i)
        choices += (i == 0 ? "\"" : ", \"") + std::string(names[i]) + "\"";
    throw Fault(path, "\"" + t + "\" is none of " + choices + " (or {\"byte\": n})");
}

} // namespace orlix::configjson
