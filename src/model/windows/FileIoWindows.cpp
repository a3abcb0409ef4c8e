// The Windows half of FileIo, on the standard library: no links to follow, and the read-only
// attribute as the one permission.
#include "model/FileIo.h"
#include "model/FileIoShared.h"

#include <cerrno>
#include <cstdio>
#include <functional>

namespace orlix {

namespace fs = std::filesystem;
using fileio::describe;
using fileio::failure;
using fileio::temporaryNameFor;

FileResult writeFileAtomically(const fs::path& path, std::span<const std::uint8_t> content) {
    if (FileResult checked = checkReplaceable(path); !checked) return checked;
    std::error_code ec;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    fs::path tmp;
    std::FILE* f = nullptr;
    for (unsigned attempt = 0; attempt < 100 && !f; ++attempt) {
        tmp = folder / temporaryNameFor(path, attempt);
        f = std::fopen(tmp.string().c_str(), "wbx"); // exclusive creation
        if (!f && errno != EEXIST) break;
    }
    if (!f) return failure(path, "Cannot write file", errno);
    std::size_t written = content.empty() ? 0 : std::fwrite(content.data(), 1, content.size(), f);
    int err = written == content.size() ? 0 : (errno ? errno : EIO);
    if (std::fclose(f) != 0 && err == 0) err = errno ? errno : EIO;
    if (err == 0) {
        fs::rename(tmp, path, ec);
        if (ec) err = ec.value();
    }
    if (err != 0) {
        std::remove(tmp.string().c_str());
        return failure(path, "Cannot write file", err);
    }
    return {};
}

FileResult checkReplaceable(const fs::path& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status))
            return {false, "Cannot write file \"" + path.string() + "\": it is not a regular file"};
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
            return {false, "Cannot write file \"" + path.string() + "\": the file is read-only"};
    }
    return {};
}

std::optional<FileStart> readFileStart(const fs::path& path, std::size_t maxBytes,
                                       std::string* error) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) && fs::exists(path, ec)) {
        if (error) *error = "Cannot open file \"" + path.string() + "\": it is not a regular file";
        return std::nullopt;
    }
    std::FILE* f = std::fopen(path.string().c_str(), "rb");
    if (!f) {
        if (error) *error = describe(path, "Cannot open file", errno);
        return std::nullopt;
    }
    FileStart out;
    out.size = fs::file_size(path, ec);
    out.data.resize(maxBytes);
    std::size_t got = maxBytes == 0 ? 0 : std::fread(out.data.data(), 1, maxBytes, f);
    bool failed = std::ferror(f) != 0;
    int err = errno;
    std::fclose(f);
    if (failed) {
        if (error) *error = describe(path, "Cannot read file", err ? err : EIO);
        return std::nullopt;
    }
    out.data.resize(got);
    return out;
}

std::optional<FileIdentity> fileIdentity(const fs::path& path) {
    std::error_code ec;
    auto canonical = fs::canonical(path, ec);
    if (ec) return std::nullopt;
    return FileIdentity{0, std::hash<std::string>{}(canonical.string())};
}

} // namespace orlix
