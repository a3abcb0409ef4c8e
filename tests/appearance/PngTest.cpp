#include "appearance/Png.h"

#include <cstring>
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

using namespace orlix::appearance;

namespace {

std::vector<std::uint8_t> encode(int width, int height, std::uint32_t format,
                                 const std::vector<std::uint8_t>& pixels) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
    std::vector<std::uint8_t> out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
    out.resize(size);
    return out;
}

std::vector<std::uint8_t> rgbaPattern(int width, int height) {
    std::vector<std::uint8_t> p;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            p.insert(p.end(),
                     {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11),
                      static_cast<std::uint8_t>(x ^ y), static_cast<std::uint8_t>(255 - x)});
        }
    }
    return p;
}

TEST(Png, DecodesToRgbaRowsTopDown) {
    const auto pixels = rgbaPattern(23, 4);
    const ImageResult r = decodePng(encode(23, 4, PNG_FORMAT_RGBA, pixels));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.image.width, 23);
    EXPECT_EQ(r.image.height, 4);
    EXPECT_EQ(r.image.pixels, pixels);

    const ImageResult grey = decodePng(encode(2, 1, PNG_FORMAT_GRAY, {0, 200}));
    ASSERT_TRUE(grey.ok()) << grey.error;
    EXPECT_EQ(grey.image.pixels, (std::vector<std::uint8_t>{0, 0, 0, 255, 200, 200, 200, 255}));
}

TEST(Png, EveryTruncationIsAnErrorNotACrash) {
    const auto png = encode(40, 30, PNG_FORMAT_RGBA, rgbaPattern(40, 30));
    const std::size_t imageEnd = png.size() - 12; // the closing IEND chunk adds no pixels
    for (std::size_t size = 0; size < png.size(); ++size) {
        const ImageResult r = decodePng(std::span(png.data(), size));
        if (size < imageEnd) {
            EXPECT_FALSE(r.ok()) << size;
            EXPECT_TRUE(r.image.pixels.empty());
        } else {
            EXPECT_EQ(r.image.pixels.size(), std::size_t{40 * 30 * 4}) << r.error;
        }
    }
}

TEST(Png, CorruptedBytesNeverCrash) {
    const auto png = encode(16, 16, PNG_FORMAT_RGBA, rgbaPattern(16, 16));
    std::size_t errors = 0;
    for (std::size_t at = 8; at < png.size(); ++at) {
        auto damaged = png;
        damaged[at] ^= 0x5A;
        const ImageResult r = decodePng(damaged);
        if (!r.ok()) {
            ++errors;
            EXPECT_TRUE(r.error.starts_with("damaged PNG") || r.error.starts_with("PNG size"))
                << r.error;
        } else {
            EXPECT_EQ(r.image.pixels.size(), std::size_t{16 * 16 * 4});
        }
    }
    EXPECT_GT(errors, png.size() / 2); // critical chunks carry checksums
}

void setBigEndian(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

TEST(Png, OversizedImageIsRefusedBeforeAllocation) {
    auto png = encode(2, 2, PNG_FORMAT_RGBA, rgbaPattern(2, 2));
    // IHDR data starts at byte 16; its checksum follows the 13 data bytes.
    setBigEndian(png, 16, 100000);
    setBigEndian(png, 20, 100000);
    const auto crc = static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), png.data() + 12, 17));
    setBigEndian(png, 29, crc);
    const ImageResult r = decodePng(png);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error.find("100000"), std::string::npos) << r.error;
}

// The window is the largest thing a skin image can fill: 800 x 600 decodes, one pixel more in
// either direction is refused.
TEST(Png, SizesUpToTheWindowDecode) {
    const ImageResult window = decodePng(encode(800, 600, PNG_FORMAT_RGBA, rgbaPattern(800, 600)));
    ASSERT_TRUE(window.ok()) << window.error;
    EXPECT_EQ(window.image.width, 800);
    EXPECT_EQ(window.image.height, 600);
    EXPECT_EQ(window.image.pixels.size(), 800u * 600u * 4u);
    for (auto [w, h] : {std::pair{801, 1}, std::pair{1, 601}}) {
        const ImageResult r = decodePng(encode(w, h, PNG_FORMAT_RGBA, rgbaPattern(w, h)));
        EXPECT_FALSE(r.ok()) << w << " x " << h;
        EXPECT_NE(r.error.find(std::to_string(w) + " x " + std::to_string(h)), std::string::npos)
            << r.error;
        EXPECT_TRUE(r.image.pixels.empty());
    }
}

TEST(Png, NotAPngAndMissingResource) {
    const std::string text = "[org1]\nP1_X=195\n";
    EXPECT_EQ(
        decodePng(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())).error,
        "not a PNG image (signature missing)");
    const ResourceBundle bundle = ResourceBundle::fromMemory(
        {{"SetS_01", std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0}}});
    EXPECT_EQ(decodePngResource(bundle, "SetS_02").error, "image resource \"SetS_02\" missing");
    const ImageResult cut = decodePngResource(bundle, "sets_01");
    EXPECT_TRUE(cut.error.starts_with("image resource \"sets_01\": damaged PNG")) << cut.error;
}

} // namespace
