#pragma once

#include "FileIo.h"
#include "MacroStore.h"
#include "ParameterImage.h"

#include <filesystem>
#include <span>

namespace orlix {

// A profile file: the image, the macro table and the 32 macro bodies, back to back, no
// header. The default-image resource has the same layout, cut after the image.
constexpr std::size_t kProfileFileSize =
    kImageSize + kMacroTableSize + kMacroCount * kMacroBodySize;
static_assert(kProfileFileSize == 34048);

std::vector<std::uint8_t> profileBytes(const ImageBytes& image, const MacroStore& macros);

// Fills image, table and bodies from the bytes a file or resource holds; what the data does
// not cover keeps its previous contents, bytes past the profile size are ignored.
void loadProfileBytes(std::span<const std::uint8_t> data, ImageBytes& image, MacroStore& macros);

FileResult saveProfileFile(const std::filesystem::path& path, const ImageBytes& image,
                           const MacroStore& macros);
// On failure nothing is changed.
FileResult loadProfileFile(const std::filesystem::path& path, ImageBytes& image,
                           MacroStore& macros);

} // namespace orlix
