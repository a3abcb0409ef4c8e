#pragma once

#include "model/Edition.h"
#include "model/FileIo.h"
#include "model/ParameterImage.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace orlix::test {

// The default image each edition ships, read from the source tree.
inline std::vector<std::uint8_t> defaultResource(Edition edition) {
    std::string path = std::string(ORLIX_SOURCE_DIR) + "/resources/" +
                       std::string(traitsOf(edition).programName) + "/OrlixData.bin";
    auto data = readFilePrefix(path, 1 << 20, nullptr);
    if (!data) throw std::runtime_error("cannot read " + path);
    return *data;
}

inline ImageBytes defaultImage(Edition edition) {
    auto data = defaultResource(edition);
    ImageBytes image{};
    if (data.size() != image.size()) throw std::runtime_error("default image is not 256 bytes");
    std::copy(data.begin(), data.end(), image.begin());
    return image;
}

} // namespace orlix::test
