#include "ProfileFile.h"

#include <algorithm>

namespace orlix {

namespace {
// Copies what the data holds of [offset, offset + size) into target.
void copyRegion(std::span<const std::uint8_t> data, std::size_t offset,
                std::span<std::uint8_t> target) {
    if (offset >= data.size()) return;
    std::size_t n = std::min(target.size(), data.size() - offset);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), n, target.begin());
}
} // namespace

std::vector<std::uint8_t> profileBytes(const ImageBytes& image, const MacroStore& macros) {
    std::vector<std::uint8_t> out;
    out.reserve(kProfileFileSize);
    out.insert(out.end(), image.begin(), image.end());
    out.insert(out.end(), macros.table.begin(), macros.table.end());
    for (const auto& body : macros.bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

void loadProfileBytes(std::span<const std::uint8_t> data, ImageBytes& image, MacroStore& macros) {
    copyRegion(data, 0, image);
    copyRegion(data, kImageSize, macros.table);
    for (std::size_t n = 0; n < kMacroCount; ++n)
        copyRegion(data, kImageSize + kMacroTableSize + n * kMacroBodySize, macros.bodies[n]);
}

FileResult saveProfileFile(const std::filesystem::path& path, const ImageBytes& image,
                           const MacroStore& macros) {
    return writeFileAtomically(path, profileBytes(image, macros));
}

FileResult loadProfileFile(const std::filesystem::path& path, ImageBytes& image,
                           MacroStore& macros) {
    std::string error;
    auto data = readFilePrefix(path, kProfileFileSize, &error);
    if (!data) return {false, error};
    loadProfileBytes(*data, image, macros);
    return {};
}

} // namespace orlix
