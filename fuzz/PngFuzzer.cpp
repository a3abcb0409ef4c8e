// Skin images are decoded from resources; a damaged one must give an error, never a crash, and
// a decoded one must hold exactly width * height pixels within the size limit.
#include "appearance/Png.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = orlix::appearance::decodePng({data, size});
    if (result.ok()) {
        const auto& img = result.image;
        if (img.width <= 0 || img.height <= 0 || img.width > orlix::appearance::kMaxImageWidth ||
            img.height > orlix::appearance::kMaxImageHeight ||
            img.pixels.size() !=
                static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height) * 4u)
            std::abort();
    }
    return 0;
}
