#include "Sections.h"

#include "model/Hex.h"

#include <array>

namespace orlix::configjson {

namespace {

// A run of bytes the file carries as they are, under its key.
struct Carried {
    std::string_view key;
    std::size_t offset;
    std::size_t size;
};

std::array<Carried, 7> carriedRuns(const MiddleLayout& layout) {
    return {Carried{"byte0", image::kReserved0, 1},
            Carried{"bytes6to8", image::kSpare6, image::kSpare6Size},
            Carried{"bytes14to17", image::kSpare14, image::kSpare14Size},
            Carried{"byte25", image::kSpare25, 1},
            Carried{"block", layout.reserved, image::kReservedBlockSize},
            Carried{"eftControl", layout.eft, image::kEftSize - 1},
            Carried{"byte255", image::kLastByte, 1}};
}

// The checked sections: data start, data length; the checksum follows the data.
struct SectionSpan {
    std::string_view name;
    std::size_t start;
    std::size_t length;
};

std::array<SectionSpan, 6> sectionSpans(const MiddleLayout& layout) {
    return {SectionSpan{"sectionA", 0, image::kSectionASize - 1},
            SectionSpan{"sectionB", image::kSectionBStart, image::kSectionBSize - 1},
            SectionSpan{"userBreath", layout.userBreath, image::kUserBreathSize - 1},
            SectionSpan{"eftControl", layout.eft, image::kEftSize - 1},
            SectionSpan{"fireKeys", image::kFireKeyStart, image::kFireKeySize - 1},
            SectionSpan{"profiles", image::kProfileStart, image::kProfileSize - 1}};
}

std::uint8_t checksumOf(const ImageBytes& img, const SectionSpan& s) {
    return sectionChecksum(std::span(img).subspan(s.start, s.length));
}

} // namespace

Json writeReserved(const Profile& p) {
    Json reserved;
    for (const Carried& c : carriedRuns(p.layout))
        reserved[std::string(c.key)] = hexRuns(std::span(p.img).subspan(c.offset, c.size));
    return reserved;
}

void readReserved(const Json& r, const std::string& path, Profile& p) {
    fields(r, path,
           {"byte0", "bytes6to8", "bytes14to17", "byte25", "block", "eftControl", "byte255"});
    for (const Carried& c : carriedRuns(p.layout)) {
        const auto b = bytes(r[std::string(c.key)], at(path, c.key), c.size);
        std::copy(b.begin(), b.end(), p.img.begin() + static_cast<std::ptrdiff_t>(c.offset));
    }
}

std::optional<Json> writeDamagedChecksums(const Profile& p) {
    Json damaged = Json::object();
    for (const SectionSpan& s : sectionSpans(p.layout)) {
        const std::uint8_t stored = p.img[s.start + s.length];
        if (stored != checksumOf(p.img, s)) damaged[std::string(s.name)] = hexByte(stored);
    }
    if (damaged.empty()) return std::nullopt;
    return damaged;
}

void sealSections(Profile& p) {
    for (const SectionSpan& s : sectionSpans(p.layout))
        p.img[s.start + s.length] = checksumOf(p.img, s);
}

void readDamagedChecksums(const Json& d, const std::string& path, Profile& p) {
    fields(d, path, {},
           {"sectionA", "sectionB", "userBreath", "eftControl", "fireKeys", "profiles"});
    for (const SectionSpan& s : sectionSpans(p.layout)) {
        if (!d.contains(s.name)) continue;
        const std::string sp = at(path, s.name);
        const std::uint8_t stored = bytes(d[std::string(s.name)], sp, 1)[0];
        if (stored == p.img[s.start + s.length])
            throw Fault(sp, "is the right checksum; leave it out");
        p.img[s.start + s.length] = stored;
    }
}

} // namespace orlix::configjson
