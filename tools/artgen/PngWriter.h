#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace artgen {

// Encodes an image as PNG with fixed settings: no ancillary chunks, one IDAT chunk, a fixed
// row-filter choice and zlib level 9. The same pixels therefore always give the same bytes,
// which lets the committed artwork be checked against a fresh run of the generator.
// Fully opaque images are written as 8-bit RGB, all others as 8-bit RGBA.
std::vector<unsigned char> encodePng(const QImage& image);

// Writes encodePng(image) to path; returns false (and leaves a message in error) on failure.
bool writePng(const QImage& image, const std::string& path, std::string& error);

} // namespace artgen
