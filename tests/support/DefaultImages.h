#pragma once

#include "model/Edition.h"
#include "model/FileIo.h"
#include "model/ParameterImage.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::test {

// The default image an edition ships, read from the source tree by the edition's program
// name ("orlix-editor"). A missing or wrong-sized file throws, so a test that needs it fails
// instead of running on an empty image.
inline std::vector<std::uint8_t> defaultResource(std::string_view programName = "orlix-editor") {
    const std::string path =
        std::string(ORLIX_SOURCE_DIR) + "/resources/" + std::string(programName) + "/OrlixData.bin";
    auto data = readFilePrefix(path, 1 << 20, nullptr);
    if (!data) throw std::runtime_error("cannot read " + path);
    return *data;
}

inline std::vector<std::uint8_t> defaultResource(Edition edition) {
    return defaultResource(traitsOf(edition).programName);
}

inline ImageBytes defaultImage(std::string_view programName = "orlix-editor") {
    auto data = defaultResource(programName);
    ImageBytes image{};
    if (data.size() != image.size()) throw std::runtime_error("default image is not 256 bytes");
    std::copy(data.begin(), data.end(), image.begin());
    return image;
}

inline ImageBytes defaultImage(Edition edition) {
    return defaultImage(traitsOf(edition).programName);
}

} // namespace orlix::test
