#pragma once

#include "FileIo.h"
#include "MacroStore.h"
#include "ParameterImage.h"

#include <filesystem>
#include <span>
#include <string>

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

// Why profile data cannot be taken: the image must be whole and name the mouse this program
// looks for, or writing it would leave a mouse the program can no longer find.
enum class ProfileFault { None, Empty, Short, DataType, VendorId, ProductId };
struct ProfileCheck {
    ProfileFault fault = ProfileFault::None;
    unsigned found = 0;    // the file's value of the differing field
    unsigned expected = 0; // the default image's
    explicit operator bool() const { return fault == ProfileFault::None; }
};
ProfileCheck checkProfileData(std::span<const std::uint8_t> data, const ImageBytes& defaults);

// "vendor id", "product id", "data type"; empty for the size faults.
std::string_view profileFieldName(ProfileFault fault);

// What a profile file of `size` bytes brings and what keeps the contents it had before, for a
// file that is not exactly a profile file's size; empty when it is.
std::string profileCoverageNote(std::uint64_t size, bool macroDevice);

FileResult saveProfileFile(const std::filesystem::path& path, const ImageBytes& image,
                           const MacroStore& macros);
// On failure nothing is changed.
FileResult loadProfileFile(const std::filesystem::path& path, ImageBytes& image,
                           MacroStore& macros);

} // namespace orlix
