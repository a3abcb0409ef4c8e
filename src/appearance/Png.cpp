#include "appearance/Png.h"

#include <cstring>
#include <png.h>

namespace orlix::appearance {

// libpng's simplified reading interface keeps its setjmp/longjmp error handling inside
// libpng: every failure comes back as a zero return with a message, so no longjmp ever
// crosses our C++ frames.
ImageResult decodePng(std::span<const std::uint8_t> data) {
    ImageResult result;
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) {
        result.error = "not a PNG image (signature missing)";
        return result;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, data.data(), data.size()) == 0) {
        result.error = std::string("damaged PNG: ") + image.message;
        png_image_free(&image);
        return result;
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxImageWidth ||
        image.height > kMaxImageHeight) {
        result.error = "PNG size " + std::to_string(image.width) + " x " +
                       std::to_string(image.height) + " is outside 1 x 1 .. " +
                       std::to_string(kMaxImageWidth) + " x " + std::to_string(kMaxImageHeight);
        png_image_free(&image);
        return result;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        result.error = std::string("damaged PNG: ") + image.message;
        png_image_free(&image);
        return result;
    }
    result.image.width = static_cast<int>(image.width);
    result.image.height = static_cast<int>(image.height);
    result.image.pixels = std::move(pixels);
    png_image_free(&image);
    return result;
}

ImageResult decodePngResource(const ResourceBundle& resources, std::string_view name) {
    auto bytes = resources.find(name);
    if (!bytes) {
        ImageResult missing;
        missing.error = "image resource \"" + std::string(name) + "\" missing";
        return missing;
    }
    ImageResult result = decodePng(*bytes);
    if (!result.ok())
        result.error = "image resource \"" + std::string(name) + "\": " + result.error;
    return result;
}

} // namespace orlix::appearance
