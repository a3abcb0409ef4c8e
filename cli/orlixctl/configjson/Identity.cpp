#include "Sections.h"

#include "model/Edition.h"

#include <climits>

namespace orlix::configjson {

void writeIdentity(const Profile& p, Json& j) {
    j["format"] = kConfigJsonFormat;
    j["version"] = kConfigJsonVersion;
    j["edition"] = traitsOf(p.context.edition).programName;
    j["dataType"] = hexNumber(p.img[image::kDataType], 2);
    j["vendorId"] = hexNumber(readBigEndian16(p.img, image::kVendorId), 4);
    j["productId"] = hexNumber(readBigEndian16(p.img, image::kProductId), 4);
    j["identityCode"] = hexRuns(std::span(p.img).subspan(p.layout.idCode, image::kIdCodeSize));
}

void readIdentity(const Json& j, Profile& p) {
    if (!j.is_object()) throw Fault("(top)", "must be an object, not " + describe(j));
    for (std::string_view key : {"format", "version", "edition", "dataType"})
        if (!j.contains(key))
            throw Fault(std::string(key), "missing: this is no configuration file of " +
                                              std::string(kConfigJsonFormat));
    if (text(j["format"], "format") != kConfigJsonFormat)
        throw Fault("format", "\"" + j["format"].get<std::string>() + "\" is not \"" +
                                  std::string(kConfigJsonFormat) + "\"");
    const long long version = integer(j["version"], "version", 0, INT32_MAX);
    if (version != kConfigJsonVersion)
        throw Fault("version", "the file has version " + std::to_string(version) +
                                   "; this program reads version " +
                                   std::to_string(kConfigJsonVersion));
    const std::string& edition = text(j["edition"], "edition");
    const std::string_view ours = traitsOf(p.context.edition).programName;
    if (edition != ours)
        throw Fault("edition", "the file was made for " + edition + ", this is " +
                                   std::string(ours) + " (choose it with --edition)");
    const unsigned dataType = hexField(j["dataType"], "dataType", 2);
    if (dataType != p.context.dataType)
        throw Fault("dataType", "the file was made for a mouse of data type " +
                                    hexNumber(dataType, 2) + ", " + std::string(ours) +
                                    " configures data type " + hexNumber(p.context.dataType, 2));
    p.img[image::kDataType] = static_cast<std::uint8_t>(dataType);
    const auto layout = middleLayoutFor(p.img[image::kDataType]);
    if (!layout)
        throw Fault("dataType", "no layout is known for data type " + hexNumber(dataType, 2));
    p.layout = *layout;
}

void readDeviceIds(const Json& j, Profile& p) {
    const unsigned vendor = hexField(j["vendorId"], "vendorId", 4);
    const unsigned product = hexField(j["productId"], "productId", 4);
    p.img[image::kVendorId] = static_cast<std::uint8_t>(vendor >> 8);
    p.img[image::kVendorId + 1] = static_cast<std::uint8_t>(vendor & 0xFF);
    p.img[image::kProductId] = static_cast<std::uint8_t>(product >> 8);
    p.img[image::kProductId + 1] = static_cast<std::uint8_t>(product & 0xFF);
    const auto id = bytes(j["identityCode"], "identityCode", image::kIdCodeSize);
    std::copy(id.begin(), id.end(), p.img.begin() + static_cast<std::ptrdiff_t>(p.layout.idCode));
}

} // namespace orlix::configjson
