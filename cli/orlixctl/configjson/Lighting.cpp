#include "Sections.h"

#include "model/Hex.h"

#include <array>

namespace orlix::configjson {

namespace {

constexpr std::array<std::string_view, 3> kLightingModeNames{"random", "colourful", "custom"};
constexpr std::array<std::string_view, 4> kStepNames{"off", "rise", "on", "fall"};
constexpr std::size_t kChannels = 3;
constexpr int kStepMin = 1;
constexpr int kStepMax = 10;

// Off and on time hold their step one way, rise and fall time another.
bool isHoldStep(std::size_t i) {
    return i == 0 || i == 2;
}

} // namespace

Json writeLighting(const Profile& p) {
    const ImageBytes& img = p.img;
    const std::uint8_t flags = img[image::kLightingFlags];
    Json lighting;
    lighting["used"] = (flags & kLightingUnused) == 0;
    lighting["colourMode"] = (flags & kColourMode1) != 0 ? 1 : 2;
    const std::uint8_t other = flags & static_cast<std::uint8_t>(~(kLightingUnused | kColourMode1));
    lighting["otherFlagBits"] = hexByte(other);
    lighting["mode"] =
        byteOr(img[image::kSectionBStart + image::kLightingMode], named(kLightingModeNames));
    Json steps;
    for (std::size_t i = 0; i < kStepNames.size(); ++i) {
        const bool hold = isHoldStep(i);
        steps[std::string(kStepNames[i])] =
            byteOr(img[image::kLedOffTime + i], [hold](std::uint8_t b) -> std::optional<Json> {
                const int step = hold ? decodeHoldStep(b) : decodeRampStep(b);
                if ((hold ? encodeHoldStep(step) : encodeRampStep(step)) != b) return std::nullopt;
                return Json(step);
            });
    }
    lighting["steps"] = steps;
    const auto colour = [&](std::size_t offset) {
        Json c = Json::array();
        for (std::size_t i = 0; i < kChannels; ++i)
            c.push_back(byteOr(img[offset + i], [](std::uint8_t b) -> std::optional<Json> {
                if (b > kColourPercentMax) return std::nullopt;
                return Json(b);
            }));
        return c;
    };
    lighting["mode1Colour"] = colour(image::kMode1Red);
    lighting["mode2Colour"] = colour(p.layout.userBreath);
    return lighting;
}

void readLighting(const Json& l, const std::string& path, Profile& p) {
    fields(l, path,
           {"used", "colourMode", "otherFlagBits", "mode", "steps", "mode1Colour", "mode2Colour"});
    ImageBytes& img = p.img;
    const bool used = boolean(l["used"], at(path, "used"));
    const long long colourMode = integer(l["colourMode"], at(path, "colourMode"), 1, 2);
    const auto other = bytes(l["otherFlagBits"], at(path, "otherFlagBits"), 1)[0];
    if ((other & (kLightingUnused | kColourMode1)) != 0)
        throw Fault(at(path, "otherFlagBits"),
                    "must leave bits 0 and 4 clear: \"used\" and \"colourMode\" give them");
    img[image::kLightingFlags] = static_cast<std::uint8_t>(other | (used ? 0 : kLightingUnused) |
                                                           (colourMode == 1 ? kColourMode1 : 0));
    img[image::kSectionBStart + image::kLightingMode] =
        byteOf(l["mode"], at(path, "mode"), [](const Json& v, const std::string& vp) {
            return namedByte(v, vp, kLightingModeNames);
        });
    const std::string sp = at(path, "steps");
    const Json& steps = l["steps"];
    fields(steps, sp, {"off", "rise", "on", "fall"});
    for (std::size_t i = 0; i < kStepNames.size(); ++i) {
        const bool hold = isHoldStep(i);
        img[image::kLedOffTime + i] =
            byteOf(steps[std::string(kStepNames[i])], at(sp, kStepNames[i]),
                   [hold](const Json& v, const std::string& vp) {
                       const int step = static_cast<int>(integer(v, vp, kStepMin, kStepMax));
                       return hold ? encodeHoldStep(step) : encodeRampStep(step);
                   });
    }
    const auto colour = [&](std::string_view key, std::size_t offset) {
        const std::string cp = at(path, key);
        const Json& c = list(l[std::string(key)], cp, kChannels);
        for (std::size_t i = 0; i < kChannels; ++i)
            img[offset + i] = byteOf(c[i], at(cp, i), [](const Json& v, const std::string& vp) {
                return static_cast<std::uint8_t>(integer(v, vp, 0, kColourPercentMax));
            });
    };
    colour("mode1Colour", image::kMode1Red);
    colour("mode2Colour", p.layout.userBreath);
}

} // namespace orlix::configjson
