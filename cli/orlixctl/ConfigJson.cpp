#include "ConfigJson.h"

#include "configjson/Sections.h"

#include "model/Hex.h"
#include "model/ProfileFile.h"

#include <charconv>
#include <set>

namespace orlix {

using configjson::Fault;
using configjson::Json;
using configjson::Profile;

namespace {

// The whole file, section by section. Identity first: a file of another kind is refused
// before its fields are looked at; the macros before the profiles, whose names need them.
void readProfile(const Json& j, Profile& p) {
    configjson::readIdentity(j, p);
    configjson::fields(j, "",
                       {"format", "version", "edition", "dataType", "vendorId", "productId",
                        "identityCode", "resolution", "activeProfile", "lighting", "fireKeys",
                        "fireModeGroup", "profiles", "macros", "reserved"},
                       {"damagedChecksums"});
    configjson::readDeviceIds(j, p);
    configjson::readResolution(j["resolution"], "resolution", p);
    configjson::readActiveProfile(j["activeProfile"], "activeProfile", p);
    configjson::readLighting(j["lighting"], "lighting", p);
    configjson::readFireKeys(j["fireKeys"], "fireKeys", p);
    configjson::readReserved(j["reserved"], "reserved", p);
    configjson::readMacros(j["macros"], "macros", p);
    configjson::readProfiles(j["profiles"], "profiles", j["fireModeGroup"], p);
    configjson::sealSections(p);
    if (j.contains("damagedChecksums"))
        configjson::readDamagedChecksums(j["damagedChecksums"], "damagedChecksums", p);
}

} // namespace

std::string hexRuns(std::span<const std::uint8_t> bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t run = 1;
        while (i + run < bytes.size() && bytes[i + run] == bytes[i])
            ++run;
        if (!out.empty()) out += ' ';
        out += hexByte(bytes[i]);
        if (run >= 3) {
            out += "*" + std::to_string(run);
            i += run;
        } else {
            i += 1;
        }
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> parseHexRuns(std::string_view text) {
    std::vector<std::uint8_t> out;
    if (text.empty()) return out;
    std::size_t i = 0;
    while (true) {
        if (i + 2 > text.size()) return std::nullopt;
        auto pair = fromHex(text.substr(i, 2));
        if (!pair) return std::nullopt;
        i += 2;
        std::size_t count = 1;
        if (i < text.size() && text[i] == '*') {
            ++i;
            const std::size_t start = i;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9')
                ++i;
            auto [end, ec] = std::from_chars(text.data() + start, text.data() + i, count);
            // A run longer than a profile is never meant, and must not exhaust memory.
            if (ec != std::errc() || end != text.data() + i || count == 0 ||
                count > kProfileFileSize)
                return std::nullopt;
        }
        if (out.size() + count > kProfileFileSize) return std::nullopt;
        out.insert(out.end(), count, (*pair)[0]);
        if (i == text.size()) return out;
        if (text[i] != ' ') return std::nullopt;
        ++i;
    }
}

std::string ConfigJsonResult::message() const {
    return path.empty() ? error : path + ": " + error;
}

std::optional<std::string> configurationToJson(std::span<const std::uint8_t> profile,
                                               const ConfigJsonContext& context) {
    if (profile.size() != kProfileFileSize) return std::nullopt;
    Profile p{context};
    loadProfileBytes(profile, p.img, p.store);
    const auto layout = middleLayoutFor(p.img[image::kDataType]);
    if (!layout) return std::nullopt;
    p.layout = *layout;

    Json j;
    configjson::writeIdentity(p, j);
    j["resolution"] = configjson::writeResolution(p);
    j["activeProfile"] = configjson::writeActiveProfile(p);
    j["lighting"] = configjson::writeLighting(p);
    j["fireKeys"] = configjson::writeFireKeys(p);
    j["fireModeGroup"] = configjson::writeFireModeGroup(p);
    j["profiles"] = configjson::writeProfiles(p);
    j["macros"] = configjson::writeMacros(p);
    j["reserved"] = configjson::writeReserved(p);
    if (auto damaged = configjson::writeDamagedChecksums(p)) j["damagedChecksums"] = *damaged;
    return j.dump(2) + "\n";
}

namespace {

// The configuration nests a few levels; a file nested far deeper is no configuration, and
// parsing and walking it would take stack in proportion.
constexpr int kMaxJsonDepth = 64;

// Where the nesting first goes deeper than kMaxJsonDepth: "line 3, column 17"; empty when it
// never does. Brackets inside strings do not count.
std::string tooDeep(std::string_view text) {
    int depth = 0;
    std::size_t line = 1;
    std::size_t column = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        ++column;
        if (c == '\n') {
            ++line;
            column = 0;
        }
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxJsonDepth)
                return "line " + std::to_string(line) + ", column " + std::to_string(column);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return {};
}

} // namespace

ConfigJsonResult configurationFromJson(std::string_view text, const ConfigJsonContext& context) {
    ConfigJsonResult result;
    if (const std::string where = tooDeep(text); !where.empty()) {
        result.error = "not a configuration: nested deeper than " + std::to_string(kMaxJsonDepth) +
                       " levels at " + where;
        return result;
    }
    try {
        // A key given twice would leave one of its values unread: refused like an unknown one.
        std::vector<std::set<std::string>> keys;
        std::optional<std::string> twice;
        const Json::parser_callback_t noteKeys = [&](int, Json::parse_event_t event, Json& parsed) {
            if (event == Json::parse_event_t::object_start) {
                keys.emplace_back();
            } else if (event == Json::parse_event_t::object_end) {
                if (!keys.empty()) keys.pop_back();
            } else if (event == Json::parse_event_t::key && !keys.empty() && parsed.is_string()) {
                if (!keys.back().insert(parsed.get<std::string>()).second && !twice)
                    twice = parsed.get<std::string>();
            }
            return true;
        };
        const Json j = Json::parse(text.begin(), text.end(), noteKeys);
        if (twice) throw Fault(*twice, "given twice in one object; each field may appear once");
        Profile p{context};
        readProfile(j, p);
        result.profile = profileBytes(p.img, p.store);
    } catch (const Fault& fault) {
        result.path = fault.path;
        result.error = fault.what();
    } catch (const Json::parse_error& e) {
        // "[json.exception.parse_error.101] parse error at line 3, column 1: ..."
        std::string what = e.what();
        if (auto close = what.find("] "); what.starts_with("[json.") && close != std::string::npos)
            what.erase(0, close + 2);
        result.error = "not valid JSON: " + what;
    } catch (const Json::exception& e) {
        result.error = std::string("not a configuration: ") + e.what();
    }
    if (!result.ok()) result.profile.clear();
    return result;
}

} // namespace orlix
