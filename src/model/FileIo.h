#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orlix {

// Outcome of a file operation: on failure, a message naming the file and the system's
// reason, ready to show to the user.
struct FileResult {
    bool ok = true;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Writes the whole content to a temporary file next to the target and renames it over the
// target, so a failure never leaves a truncated file in place of a good one.
FileResult writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> content);

// Reads at most maxBytes from the start of the file.
std::optional<std::vector<std::uint8_t>> readFilePrefix(const std::filesystem::path& path,
                                                        std::size_t maxBytes, std::string* error);

// The chosen name with ".bin" appended unless it already ends in ".bin" (any case).
std::filesystem::path withBinExtension(const std::filesystem::path& chosen);

} // namespace orlix
