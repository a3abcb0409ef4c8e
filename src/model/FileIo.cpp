#include "FileIo.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace orlix {

namespace fs = std::filesystem;

namespace {
std::string describe(const fs::path& path, const std::string& what, int err) {
    return what + " \"" + path.string() + "\": " + std::strerror(err);
}

fs::path temporaryNameFor(const fs::path& target) {
    std::random_device rd;
    auto name = target.filename().string() + ".tmp-" + std::to_string(rd() % 1000000);
    return target.parent_path() / name;
}
} // namespace

FileResult writeFileAtomically(const fs::path& path, std::span<const std::uint8_t> content) {
    fs::path tmp = temporaryNameFor(path);
    std::FILE* f = std::fopen(tmp.string().c_str(), "wb");
    if (!f) return {false, describe(path, "Cannot create file", errno)};
    std::size_t written = content.empty() ? 0 : std::fwrite(content.data(), 1, content.size(), f);
    int writeErr = written == content.size() ? 0 : (errno ? errno : EIO);
    if (std::fflush(f) != 0 && writeErr == 0) writeErr = errno ? errno : EIO;
    if (std::fclose(f) != 0 && writeErr == 0) writeErr = errno ? errno : EIO;
    if (writeErr != 0) {
        std::remove(tmp.string().c_str());
        return {false, describe(path, "Cannot write file", writeErr)};
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (ec) {
        std::remove(tmp.string().c_str());
        return {false, "Cannot write file \"" + path.string() + "\": " + ec.message()};
    }
    return {};
}

std::optional<std::vector<std::uint8_t>> readFilePrefix(const fs::path& path, std::size_t maxBytes,
                                                        std::string* error) {
    std::FILE* f = std::fopen(path.string().c_str(), "rb");
    if (!f) {
        if (error) *error = describe(path, "Cannot open file", errno);
        return std::nullopt;
    }
    std::vector<std::uint8_t> data(maxBytes);
    std::size_t got = maxBytes == 0 ? 0 : std::fread(data.data(), 1, maxBytes, f);
    bool failed = std::ferror(f) != 0;
    int err = errno;
    std::fclose(f);
    if (failed) {
        if (error) *error = describe(path, "Cannot read file", err ? err : EIO);
        return std::nullopt;
    }
    data.resize(got);
    return data;
}

fs::path withBinExtension(const fs::path& chosen) {
    std::string ext = chosen.extension().string();
    for (auto& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".bin") return chosen;
    fs::path out = chosen;
    out += ".bin";
    return out;
}

} // namespace orlix
