#include "FileIo.h"
#include "FileIoShared.h"

#include <cctype>
#include <cstring>
#include <random>

namespace orlix {

namespace fs = std::filesystem;

namespace fileio {

std::string describe(const fs::path& path, const std::string& what, int err) {
    return what + " \"" + path.string() + "\": " + std::strerror(err);
}

FileResult failure(const fs::path& path, const std::string& what, int err) {
    return {false, describe(path, what, err)};
}

std::string temporaryNameFor(const fs::path& target, unsigned attempt) {
    static std::random_device rd;
    return target.filename().string() + ".tmp-" + std::to_string((rd() + attempt) % 100000000u);
}

} // namespace fileio

std::optional<std::vector<std::uint8_t>> readFilePrefix(const fs::path& path, std::size_t maxBytes,
                                                        std::string* error) {
    auto start = readFileStart(path, maxBytes, error);
    if (!start) return std::nullopt;
    return std::move(start->data);
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
