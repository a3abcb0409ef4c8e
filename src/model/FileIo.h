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

// Writes the whole content to a fresh temporary file in the target's folder and renames it
// over the target, so a failure never leaves a truncated file in place of a good one.
// A symbolic link is written through to the file it names; an existing file keeps its
// permissions and must be writable by the user (for root: must not be read-only for everyone);
// something that is not a regular file is never replaced.
FileResult writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> content);

// The checks of writeFileAtomically without writing: a long job can refuse its target before
// it starts.
FileResult checkReplaceable(const std::filesystem::path& path);

// The start of a regular file and its whole size. Anything else (a FIFO, a device, a folder)
// is refused without blocking.
struct FileStart {
    std::vector<std::uint8_t> data; // at most the bytes asked for
    std::uint64_t size = 0;         // the file's size
};
std::optional<FileStart> readFileStart(const std::filesystem::path& path, std::size_t maxBytes,
                                       std::string* error);

// Reads at most maxBytes from the start of a regular file.
std::optional<std::vector<std::uint8_t>> readFilePrefix(const std::filesystem::path& path,
                                                        std::size_t maxBytes, std::string* error);

// Which file a path names (after following links), to tell two names of one file apart from
// two files; nullopt when the path names nothing.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path);

// The chosen name with ".bin" appended unless it already ends in ".bin" (any case).
std::filesystem::path withBinExtension(const std::filesystem::path& chosen);

} // namespace orlix
