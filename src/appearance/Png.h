#pragma once

#include "appearance/ResourceBundle.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::appearance {

// 8-bit RGBA pixels, rows from top to bottom, no padding: pixels.size() == width * height * 4.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

struct ImageResult {
    RgbaImage image;
    std::string error; // empty on success
    bool ok() const { return error.empty(); }
};

// No skin image can show more than the 800 x 600 window; larger ones are refused before any
// pixel memory is taken.
inline constexpr int kMaxImageWidth = 800;
inline constexpr int kMaxImageHeight = 600;

// Decodes a PNG held in memory. Damaged or truncated data gives an error text, never a crash.
ImageResult decodePng(std::span<const std::uint8_t> data);

// Decodes the PNG resource `name`; the error names the resource.
ImageResult decodePngResource(const ResourceBundle& resources, std::string_view name);

} // namespace orlix::appearance
