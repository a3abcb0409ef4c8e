#include "PngWriter.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace artgen {
namespace {

void putU32(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

void putChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    putU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    putU32(out, static_cast<std::uint32_t>(crc));
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Applies filter type `type` to one row; prev is the unfiltered previous row (zeros for row 0).
void filterRow(int type, const unsigned char* row, const unsigned char* prev, std::size_t len,
               std::size_t bpp, unsigned char* out) {
    for (std::size_t i = 0; i < len; ++i) {
        const int x = row[i];
        const int a = i >= bpp ? row[i - bpp] : 0;
        const int b = prev[i];
        const int c = i >= bpp ? prev[i - bpp] : 0;
        int v = x;
        switch (type) {
        case 1:
            v = x - a;
            break;
        case 2:
            v = x - b;
            break;
        case 3:
            v = x - (a + b) / 2;
            break;
        case 4:
            v = x - paeth(a, b, c);
            break;
        default:
            break;
        }
        out[i] = static_cast<unsigned char>(v & 0xFF);
    }
}

// The usual heuristic: the filter whose output has the smallest sum of absolute signed bytes.
long filterCost(const unsigned char* data, std::size_t len) {
    long sum = 0;
    for (std::size_t i = 0; i < len; ++i) {
        const int v = data[i];
        sum += v < 128 ? v : 256 - v;
    }
    return sum;
}

} // namespace

std::vector<unsigned char> encodePng(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();

    bool opaque = true;
    for (int y = 0; y < height && opaque; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(line[x]) != 255) {
                opaque = false;
                break;
            }
        }
    }
    const std::size_t bpp = opaque ? 3 : 4;
    const std::size_t rowLen = bpp * static_cast<std::size_t>(width);

    std::vector<unsigned char> raw;
    raw.reserve((rowLen + 1) * static_cast<std::size_t>(height));
    std::vector<unsigned char> prev(rowLen, 0);
    std::vector<unsigned char> cur(rowLen);
    std::vector<unsigned char> best(rowLen);
    std::vector<unsigned char> trial(rowLen);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            unsigned char* px = cur.data() + bpp * static_cast<std::size_t>(x);
            px[0] = static_cast<unsigned char>(qRed(line[x]));
            px[1] = static_cast<unsigned char>(qGreen(line[x]));
            px[2] = static_cast<unsigned char>(qBlue(line[x]));
            if (bpp == 4) px[3] = static_cast<unsigned char>(qAlpha(line[x]));
        }
        int bestType = 0;
        long bestCost = -1;
        for (int type = 0; type < 5; ++type) {
            filterRow(type, cur.data(), prev.data(), rowLen, bpp, trial.data());
            const long cost = filterCost(trial.data(), rowLen);
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                bestType = type;
                best.swap(trial);
            }
        }
        raw.push_back(static_cast<unsigned char>(bestType));
        raw.insert(raw.end(), best.begin(), best.end());
        prev.swap(cur);
    }

    uLongf packedLen = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedLen);
    compress2(packed.data(), &packedLen, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(packedLen);

    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    putU32(header, static_cast<std::uint32_t>(width));
    putU32(header, static_cast<std::uint32_t>(height));
    header.push_back(8);                                          // bit depth
    header.push_back(static_cast<unsigned char>(opaque ? 2 : 6)); // RGB or RGBA
    header.push_back(0);                                          // deflate
    header.push_back(0);                                          // adaptive filtering
    header.push_back(0);                                          // no interlace
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

bool writePng(const QImage& image, const std::string& path, std::string& error) {
    const std::vector<unsigned char> bytes = encodePng(image);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        error = "cannot open " + path + " for writing";
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace artgen
