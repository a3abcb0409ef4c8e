#include "Sections.h"

#include "model/Edition.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>

namespace orlix::configjson {

namespace {

constexpr std::size_t kLevels = 4;

// The resolution values of the edition's list, by index; nullopt where a text is no number.
std::array<std::optional<int>, 12> resolutionValues(const TextSource& names) {
    std::array<std::optional<int>, 12> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string text = names.text("Str" + std::to_string(320 + i));
        int v = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec == std::errc() && end == text.data() + text.size() && !text.empty()) values[i] = v;
    }
    return values;
}

} // namespace

Json writeResolution(const Profile& p) {
    const auto values = resolutionValues(p.context.names);
    Json levels = Json::array();
    for (std::size_t i = 0; i < kLevels; ++i)
        levels.push_back(
            byteOr(p.img[image::kCpiLevel1 + i], [&](std::uint8_t b) -> std::optional<Json> {
                if (b == kLevelNotUsed) return Json(nullptr);
                if (b >= values.size() || !values[b]) return std::nullopt;
                // A value that two indexes share could not say which one it was.
                if (std::count(values.begin(), values.end(), values[b]) != 1) return std::nullopt;
                return Json(*values[b]);
            }));
    const std::size_t bStart = image::kSectionBStart;
    Json resolution;
    resolution["levels"] = levels;
    resolution["currentLevel"] =
        byteOr(p.img[bStart + image::kCurrentCpiLevel], [](std::uint8_t b) -> std::optional<Json> {
            if (b >= kLevels) return std::nullopt;
            return Json(b + 1);
        });
    resolution["reportRate"] =
        byteOr(p.img[bStart + image::kReportRate], [](std::uint8_t b) -> std::optional<Json> {
            if (const auto hz = reportRateOf(b)) return Json(*hz);
            return std::nullopt;
        });
    return resolution;
}

void readResolution(const Json& r, const std::string& path, Profile& p) {
    fields(r, path, {"levels", "currentLevel", "reportRate"});
    const auto values = resolutionValues(p.context.names);
    const Json& levels = list(r["levels"], at(path, "levels"), kLevels);
    for (std::size_t i = 0; i < kLevels; ++i) {
        const std::string lp = at(at(path, "levels"), i);
        p.img[image::kCpiLevel1 + i] =
            byteOf(levels[i], lp, [&](const Json& v, const std::string& vp) {
                if (v.is_null()) return kLevelNotUsed;
                const long long cpi = integer(v, vp, 0, INT32_MAX);
                for (std::size_t k = 0; k < values.size(); ++k)
                    if (values[k] == cpi) return static_cast<std::uint8_t>(k);
                std::string known;
                for (const auto& value : values)
                    if (value) known += (known.empty() ? "" : ", ") + std::to_string(*value);
                throw Fault(vp, std::to_string(cpi) + " is not a resolution of " +
                                    std::string(traitsOf(p.context.edition).programName) + " (" +
                                    known + "; null for a level not in use)");
            });
    }
    const std::size_t bStart = image::kSectionBStart;
    p.img[bStart + image::kCurrentCpiLevel] = byteOf(
        r["currentLevel"], at(path, "currentLevel"), [](const Json& v, const std::string& vp) {
            return static_cast<std::uint8_t>(integer(v, vp, 1, kLevels) - 1);
        });
    p.img[bStart + image::kReportRate] =
        byteOf(r["reportRate"], at(path, "reportRate"), [](const Json& v, const std::string& vp) {
            const long long rate = integer(v, vp, 0, INT32_MAX);
            if (const auto byte = reportRateByte(static_cast<int>(rate))) return *byte;
            throw Fault(vp, std::to_string(rate) + " is no report rate (1000 or 500)");
        });
}

} // namespace orlix::configjson
