#include "ProfileFile.h"

#include <algorithm>
#include <vector>

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

ProfileCheck checkProfileData(std::span<const std::uint8_t> data, const ImageBytes& defaults) {
    if (data.empty()) return {ProfileFault::Empty, 0, 0};
    if (data.size() < kImageSize)
        return {ProfileFault::Short, static_cast<unsigned>(data.size()),
                static_cast<unsigned>(kImageSize)};
    if (data[image::kDataType] != defaults[image::kDataType])
        return {ProfileFault::DataType, data[image::kDataType], defaults[image::kDataType]};
    const std::uint16_t vendor = readBigEndian16(data, image::kVendorId);
    if (vendor != readBigEndian16(defaults, image::kVendorId))
        return {ProfileFault::VendorId, vendor, readBigEndian16(defaults, image::kVendorId)};
    const std::uint16_t product = readBigEndian16(data, image::kProductId);
    if (product != readBigEndian16(defaults, image::kProductId))
        return {ProfileFault::ProductId, product, readBigEndian16(defaults, image::kProductId)};
    return {};
}

std::string_view profileFieldName(ProfileFault fault) {
    switch (fault) {
    case ProfileFault::DataType:
        return "data type";
    case ProfileFault::VendorId:
        return "vendor id";
    case ProfileFault::ProductId:
        return "product id";
    case ProfileFault::None:
    case ProfileFault::Empty:
    case ProfileFault::Short:
        break;
    }
    return {};
}

std::string profileCoverageNote(std::uint64_t size, bool macroDevice) {
    if (size == kProfileFileSize || size < kImageSize) return {};
    const std::string holds = "holds " + std::to_string(size) + " bytes, a profile file " +
                              std::to_string(kProfileFileSize) + "; ";
    if (size > kProfileFileSize)
        return holds + "the bytes after " + std::to_string(kProfileFileSize) + " are ignored";
    if (!macroDevice)
        return holds + "the settings image comes from the file (the mouse has no macro store)";
    const auto bodyRange = [](std::uint64_t first, std::uint64_t last) {
        return first == last
                   ? "macro body " + std::to_string(first)
                   : "macro bodies " + std::to_string(first) + " to " + std::to_string(last);
    };
    // "a", "a and b", "a, b and c"; with the verb in number.
    const auto clause = [](const std::vector<std::string>& parts, const char* verb) {
        std::string out;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (i > 0) out += i + 1 == parts.size() ? " and " : ", ";
            out += parts[i];
        }
        const bool plural = parts.size() > 1 || parts.front().rfind("macro bodies", 0) == 0 ||
                            parts.front().rfind("all ", 0) == 0;
        return out + " " + verb + (plural ? "" : "s");
    };
    const std::uint64_t store = size - kImageSize;
    std::vector<std::string> from{"the settings image"};
    std::vector<std::string> kept;
    if (store == 0) {
        kept = {"the macro table", "all " + std::to_string(kMacroCount) + " macro bodies"};
    } else if (store < kMacroTableSize) {
        from.push_back("the first " + std::to_string(store) + " bytes of the macro table");
        kept = {"the rest of the table", "all " + std::to_string(kMacroCount) + " macro bodies"};
    } else {
        const std::uint64_t bodies = store - kMacroTableSize;
        const std::uint64_t whole = bodies / kMacroBodySize;
        const std::uint64_t partial = bodies % kMacroBodySize;
        from.push_back("the macro table");
        if (whole > 0) from.push_back(bodyRange(1, whole));
        if (partial != 0) {
            from.push_back("the first " + std::to_string(partial) + " bytes of macro body " +
                           std::to_string(whole + 1));
            kept.push_back("the rest of that body");
            if (whole + 2 <= kMacroCount) kept.push_back(bodyRange(whole + 2, kMacroCount));
        } else {
            kept.push_back(bodyRange(whole + 1, kMacroCount));
        }
    }
    return holds + clause(from, "come") + " from the file; " + clause(kept, "keep") +
           " what the mouse holds";
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
