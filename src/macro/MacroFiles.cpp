#include "MacroFiles.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace orlix {

namespace {

FileResult outOfRange() {
    return {false, "There is no such macro."};
}

// Reads the whole file, refusing any size but the expected one.
std::optional<std::vector<std::uint8_t>> readExactly(const std::filesystem::path& path,
                                                     std::size_t size, const char* what,
                                                     std::string* error) {
    auto data = readFilePrefix(path, size + 1, error);
    if (!data) return std::nullopt;
    if (data->size() != size) {
        *error = path.string() + " is not " + what + ": it holds " +
                 (data->size() > size ? "more than " + std::to_string(size)
                                      : std::to_string(data->size())) +
                 " bytes instead of " + std::to_string(size) + ".";
        return std::nullopt;
    }
    return data;
}

// `n` names the macro in a file of all macros; a file of one macro has only the one.
std::string badMacroMessage(const std::filesystem::path& path, std::optional<std::size_t> n,
                            std::uint16_t length) {
    const std::string which = n ? "macro " + std::to_string(*n + 1) : std::string("its macro");
    return path.string() + " is not a macro file: " + which + " has a length of " +
           std::to_string(length) + " bytes (0 to 1024) or does not end in the end code.";
}

std::uint16_t lengthAt(const std::vector<std::uint8_t>& data, std::size_t offset) {
    return static_cast<std::uint16_t>(data[offset] << 8 | data[offset + 1]);
}

} // namespace

bool isPlausibleMacro(std::uint16_t bodyLength, std::span<const std::uint8_t> body) {
    if (bodyLength == 0) return true;
    if (bodyLength > kMacroBodySize || bodyLength > body.size()) return false;
    return body[bodyLength - 1u] == 0x00;
}

FileResult exportOneMacro(const std::filesystem::path& path, const MacroStore& store,
                          std::size_t n) {
    if (n >= kMacroCount) return outOfRange();
    std::vector<std::uint8_t> out(store.entry(n).begin(), store.entry(n).end());
    out.insert(out.end(), store.bodies[n].begin(), store.bodies[n].end());
    return writeFileAtomically(path, out);
}

FileResult exportAllMacros(const std::filesystem::path& path, const MacroStore& store) {
    std::vector<std::uint8_t> out(store.table.begin(), store.table.end());
    for (const auto& body : store.bodies)
        out.insert(out.end(), body.begin(), body.end());
    return writeFileAtomically(path, out);
}

FileResult importOneMacro(const std::filesystem::path& path, MacroStore& store, std::size_t n) {
    if (n >= kMacroCount) return outOfRange();
    std::string error;
    auto data = readExactly(path, kMacroOneFileSize, "a file of one macro", &error);
    if (!data) return {false, error};
    const std::span<const std::uint8_t> body(data->data() + kMacroEntrySize, kMacroBodySize);
    const std::uint16_t length = lengthAt(*data, 0);
    if (!isPlausibleMacro(length, body))
        return {false, badMacroMessage(path, std::nullopt, length)};
    std::copy_n(data->begin(), kMacroEntrySize, store.entry(n).begin());
    std::copy(body.begin(), body.end(), store.bodies[n].begin());
    return {};
}

FileResult importAllMacros(const std::filesystem::path& path, MacroStore& store) {
    std::string error;
    auto data = readExactly(path, kMacroAllFileSize, "a file of all macros", &error);
    if (!data) return {false, error};
    for (std::size_t n = 0; n < kMacroCount; ++n) {
        const std::span<const std::uint8_t> body(
            data->data() + kMacroTableSize + n * kMacroBodySize, kMacroBodySize);
        const std::uint16_t length = lengthAt(*data, n * kMacroEntrySize);
        if (!isPlausibleMacro(length, body)) return {false, badMacroMessage(path, n, length)};
    }
    std::copy_n(data->begin(), kMacroTableSize, store.table.begin());
    for (std::size_t n = 0; n < kMacroCount; ++n)
        std::copy_n(data->begin() +
                        static_cast<std::ptrdiff_t>(kMacroTableSize + n * kMacroBodySize),
                    kMacroBodySize, store.bodies[n].begin());
    return {};
}

} // namespace orlix
