#include "ConfigJson.h"

#include "macro/MacroCodec.h"
#include "model/AssignmentCodes.h"
#include "model/Hex.h"
#include "model/ImageCodec.h"
#include "model/MacroStore.h"
#include "model/ProfileFile.h"
#include "model/SectionBuffers.h"
#include "model/TextCodec.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <initializer_list>
#include <set>
#include <stdexcept>

namespace orlix {

namespace {

using Json = nlohmann::ordered_json;

// A fault in the file, at a field.
struct Fault : std::runtime_error {
    Fault(std::string where, const std::string& what)
        : std::runtime_error(what), path(std::move(where)) {}
    std::string path;
};

constexpr std::size_t kProfileStart = image::kFireKeyStart + image::kFireKeySize;
constexpr std::array<std::string_view, kProfileCount> kProfileNames{"main", "alternate",
                                                                    "resetControl"};
constexpr std::array<std::string_view, 3> kActiveProfileNames{"main", "alternate", "reset-control"};
constexpr std::array<std::string_view, 3> kLightingModeNames{"random", "colourful", "custom"};
constexpr std::array<std::string_view, 4> kStepNames{"off", "rise", "on", "fall"};

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
            SectionSpan{"profiles", kProfileStart, image::kProfileSize - 1}};
}

std::string hexNumber(unsigned value, int digits) {
    std::string text;
    for (int i = digits - 1; i >= 0; --i)
        text += "0123456789ABCDEF"[(value >> (4 * i)) & 0xF];
    return "0x" + text;
}

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

FireKeySettings fireKeysOf(const ImageBytes& img) {
    FireKeySettings f;
    for (std::size_t n = 0; n < 4; ++n) {
        const std::size_t at = image::kFireKeyStart + 4 * n;
        f.repeat[n] = img[at + 1] & 0x0F;
        f.delay[n] = (img[at + 2] & 0x0F) * 256 + img[at + 3];
        f.highNibble[n] = img[at + 2] & 0xF0;
    }
    return f;
}

AssignmentTable codesOf(const ImageBytes& img) {
    AssignmentTable table;
    for (int p = 0; p < kProfileCount; ++p)
        for (int k = 0; k < kButtonCount; ++k)
            table[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)] =
                toHex(std::span(img).subspan(kProfileStart + profileCodeOffset(p, k), 4));
    return table;
}

// The Fire Mode group as the page shows it for these codes.
std::vector<int> fireModeGroupOf(const AssignmentTable& table) {
    FireKeyPage page;
    RefreshFireKeyMode(table, page);
    std::vector<int> group;
    for (int m = 0; m < 4; ++m)
        if (page.modeSelected[static_cast<std::size_t>(m)]) group.push_back(m + 1);
    return group;
}

bool isHeaderLine(std::string_view line) {
    if (line == "10" || line == "00") return true;
    return line.size() > 2 && line.starts_with("01") &&
           std::all_of(line.begin() + 2, line.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The parts a macro is written as when its script lines rebuild it exactly.
struct MacroParts {
    std::string name;
    std::vector<std::string> script; // header first; empty for a macro of length 0
    std::vector<std::uint8_t> unusedName;
    std::vector<std::uint8_t> unusedBody;
};

// Builds macro n of `store` from its parts. Throws a Fault under `path` when they do not form
// a macro.
void buildMacro(const MacroParts& parts, MacroStore& store, std::size_t n,
                const std::string& path) {
    auto entry = store.entry(n);
    std::fill(entry.begin(), entry.end(), 0);
    MacroBodyBytes& body = store.bodies[n];
    std::size_t length = 0;
    if (!parts.script.empty()) {
        if (!isHeaderLine(parts.script[0]))
            throw Fault(path + ".script[0]",
                        "\"" + parts.script[0] +
                            "\" is no delay-mode header (\"10\", \"00\" or \"01\" and a delay)");
        MacroScript script;
        script.header = parts.script[0];
        for (std::size_t i = 1; i < parts.script.size(); ++i) {
            if (!parseEventLine(parts.script[i]))
                throw Fault(path + ".script[" + std::to_string(i) + "]",
                            "\"" + parts.script[i] + "\" is no event line");
            script.events.push_back(parts.script[i]);
        }
        const EncodedBody encoded = encodeScript(script);
        if (!encoded.ok())
            throw Fault(path + ".script[" + std::to_string(*encoded.badEntry + 1) + "]",
                        "the macro does not fit its " + std::to_string(kMacroBodySize) +
                            " bytes from this line on");
        length = encoded.bytes.size();
        std::copy(encoded.bytes.begin(), encoded.bytes.end(), body.begin());
    }
    if (parts.unusedBody.size() != kMacroBodySize - length)
        throw Fault(path + ".unusedBodyBytes",
                    "holds " + std::to_string(parts.unusedBody.size()) +
                        " bytes; the script takes " + std::to_string(length) + " of the body's " +
                        std::to_string(kMacroBodySize) + ", so " +
                        std::to_string(kMacroBodySize - length) + " are needed");
    std::copy(parts.unusedBody.begin(), parts.unusedBody.end(),
              body.begin() + static_cast<std::ptrdiff_t>(length));
    store.setBodyLength(n, static_cast<std::uint16_t>(length));

    const auto units = utf8ToUtf16(parts.name);
    if (!units || units->size() > kMacroNameMaxChars)
        throw Fault(path + ".name", "a macro name has at most " +
                                        std::to_string(kMacroNameMaxChars) + " characters");
    store.setName(n, parts.name);
    const std::size_t nameBytes = units->size() * 2;
    if (parts.unusedName.size() != kMacroNameBytes - nameBytes)
        throw Fault(path + ".unusedNameBytes",
                    "holds " + std::to_string(parts.unusedName.size()) + " bytes; the name takes " +
                        std::to_string(nameBytes) + " of " + std::to_string(kMacroNameBytes) +
                        ", so " + std::to_string(kMacroNameBytes - nameBytes) + " are needed");
    std::copy(parts.unusedName.begin(), parts.unusedName.end(),
              entry.begin() + static_cast<std::ptrdiff_t>(4 + nameBytes));
}

// ---- writing ----

// The meaning of a byte, or {"byte": b} where it has none.
Json byteOr(std::uint8_t b, const std::function<std::optional<Json>(std::uint8_t)>& meaning) {
    if (auto m = meaning(b)) return *m;
    return Json{{"byte", b}};
}

Json macroJson(const MacroStore& store, std::size_t n) {
    Json m;
    m["number"] = n + 1;
    MacroParts parts;
    parts.name = store.name(n);
    const std::uint16_t length = store.bodyLength(n);
    bool exact = length <= kMacroBodySize;
    if (exact && length > 0) {
        const DecodedBody decoded = MacroBodyToScript(store, n);
        parts.script = decoded.script.lines();
    }
    if (exact) {
        const auto units = utf8ToUtf16(parts.name);
        const std::size_t nameBytes = units ? units->size() * 2 : 0;
        const auto entry = store.entry(n);
        parts.unusedName.assign(
            entry.begin() + static_cast<std::ptrdiff_t>(std::min(4 + nameBytes, kMacroEntrySize)),
            entry.end());
        const std::size_t used = parts.script.empty() ? 0 : length;
        parts.unusedBody.assign(store.bodies[n].begin() + static_cast<std::ptrdiff_t>(used),
                                store.bodies[n].end());
        // Only parts that give back these very bytes are written as parts.
        MacroStore rebuilt;
        try {
            buildMacro(parts, rebuilt, n, "");
            exact =
                std::ranges::equal(rebuilt.entry(n), entry) && rebuilt.bodies[n] == store.bodies[n];
        } catch (const Fault&) {
            exact = false;
        }
    }
    if (exact) {
        m["name"] = parts.name;
        m["script"] = parts.script;
        m["unusedNameBytes"] = hexRuns(parts.unusedName);
        m["unusedBodyBytes"] = hexRuns(parts.unusedBody);
    } else {
        m["entry"] = hexRuns(store.entry(n));
        m["body"] = hexRuns(store.bodies[n]);
    }
    return m;
}

// ---- reading ----

std::string at(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}
std::string at(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string describe(const Json& v) {
    switch (v.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::boolean:
        return "a true/false value";
    case Json::value_t::string:
        return "a text";
    case Json::value_t::array:
        return "a list";
    case Json::value_t::object:
        return "an object";
    case Json::value_t::number_float:
        return "a fraction";
    default:
        return "a number";
    }
}

// An object with exactly these fields (the optional ones may be missing).
void fields(const Json& v, const std::string& path,
            std::initializer_list<std::string_view> required,
            std::initializer_list<std::string_view> optional = {}) {
    if (!v.is_object())
        throw Fault(path.empty() ? "(top)" : path, "must be an object, not " + describe(v));
    for (auto it = v.begin(); it != v.end(); ++it) {
        const std::string& key = it.key();
        const auto known = [&key](std::initializer_list<std::string_view> list) {
            return std::find(list.begin(), list.end(), key) != list.end();
        };
        if (!known(required) && !known(optional))
            throw Fault(at(path, key), "unknown field; nothing in this file may be left unread");
    }
    for (std::string_view key : required)
        if (!v.contains(key)) throw Fault(at(path, key), "missing");
}

long long integer(const Json& v, const std::string& path, long long lo, long long hi) {
    if (!v.is_number_integer()) throw Fault(path, "must be a whole number, not " + describe(v));
    if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(hi))
        throw Fault(path, v.dump() + " is out of range " + std::to_string(lo) + ".." +
                              std::to_string(hi));
    const long long n = v.get<long long>();
    if (n < lo || n > hi)
        throw Fault(path, std::to_string(n) + " is out of range " + std::to_string(lo) + ".." +
                              std::to_string(hi));
    return n;
}

const std::string& text(const Json& v, const std::string& path) {
    if (!v.is_string()) throw Fault(path, "must be a text, not " + describe(v));
    return v.get_ref<const std::string&>();
}

bool boolean(const Json& v, const std::string& path) {
    if (!v.is_boolean()) throw Fault(path, "must be true or false, not " + describe(v));
    return v.get<bool>();
}

const Json& list(const Json& v, const std::string& path, std::size_t size) {
    if (!v.is_array()) throw Fault(path, "must be a list, not " + describe(v));
    if (size != SIZE_MAX && v.size() != size)
        throw Fault(path, "must hold " + std::to_string(size) + " entries, not " +
                              std::to_string(v.size()));
    return v;
}

std::vector<std::uint8_t> bytes(const Json& v, const std::string& path, std::size_t size) {
    auto b = parseHexRuns(text(v, path));
    if (!b)
        throw Fault(path, "must be hexadecimal byte pairs separated by blanks (\"FF*3\" for FF FF "
                          "FF)");
    if (size != SIZE_MAX && b->size() != size)
        throw Fault(path, "holds " + std::to_string(b->size()) + " bytes instead of " +
                              std::to_string(size));
    return *b;
}

// "0x1BCF" with exactly `digits` hexadecimal digits.
unsigned hexField(const Json& v, const std::string& path, int digits) {
    const std::string& t = text(v, path);
    unsigned value = 0;
    if (t.size() == static_cast<std::size_t>(digits) + 2 && t.starts_with("0x")) {
        auto [end, ec] = std::from_chars(t.data() + 2, t.data() + t.size(), value, 16);
        if (ec == std::errc() && end == t.data() + t.size()) return value;
    }
    throw Fault(path, "must be \"0x\" and " + std::to_string(digits) +
                          " hexadecimal digits, not \"" + t + "\"");
}

// A byte given by its meaning, or as {"byte": b}.
std::uint8_t byteOf(const Json& v, const std::string& path,
                    const std::function<std::uint8_t(const Json&, const std::string&)>& meaning) {
    if (v.is_object()) {
        fields(v, path, {"byte"});
        return static_cast<std::uint8_t>(integer(v["byte"], at(path, "byte"), 0, 255));
    }
    return meaning(v, path);
}

std::uint8_t namedByte(const Json& v, const std::string& path,
                       std::span<const std::string_view> names) {
    const std::string& t = text(v, path);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == t) return static_cast<std::uint8_t>(i);
    std::string choices;
    for (std::size_t i = 0; i < names.size(); ++i)
        choices += (i == 0 ? "\"" : ", \"") + std::string(names[i]) + "\"";
    throw Fault(path, "\"" + t + "\" is none of " + choices + " (or {\"byte\": n})");
}

struct Reader {
    const ConfigJsonContext& context;
    ImageBytes img{};
    MacroStore store;
    std::optional<MiddleLayout> layout;

    void identity(const Json& j) {
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
        const std::string_view ours = traitsOf(context.edition).programName;
        if (edition != ours)
            throw Fault("edition", "the file was made for " + edition + ", this is " +
                                       std::string(ours) + " (choose it with --edition)");
        const unsigned dataType = hexField(j["dataType"], "dataType", 2);
        if (dataType != context.dataType)
            throw Fault("dataType", "the file was made for a mouse of data type " +
                                        hexNumber(dataType, 2) + ", " + std::string(ours) +
                                        " configures data type " + hexNumber(context.dataType, 2));
        img[image::kDataType] = static_cast<std::uint8_t>(dataType);
        layout = middleLayoutFor(img[image::kDataType]);
        if (!layout)
            throw Fault("dataType", "no layout is known for data type " + hexNumber(dataType, 2));
    }

    void resolution(const Json& r, const std::string& path) {
        fields(r, path, {"levels", "currentLevel", "reportRate"});
        const auto values = resolutionValues(context.names);
        const Json& levels = list(r["levels"], at(path, "levels"), 4);
        for (std::size_t i = 0; i < 4; ++i) {
            const std::string p = at(at(path, "levels"), i);
            img[image::kCpiLevel1 + i] =
                byteOf(levels[i], p, [&](const Json& v, const std::string& vp) {
                    if (v.is_null()) return kLevelNotUsed;
                    const long long cpi = integer(v, vp, 0, INT32_MAX);
                    for (std::size_t k = 0; k < values.size(); ++k)
                        if (values[k] == cpi) return static_cast<std::uint8_t>(k);
                    std::string known;
                    for (const auto& value : values)
                        if (value) known += (known.empty() ? "" : ", ") + std::to_string(*value);
                    throw Fault(vp, std::to_string(cpi) + " is not a resolution of " +
                                        std::string(traitsOf(context.edition).programName) + " (" +
                                        known + "; null for a level not in use)");
                });
        }
        auto& b = img;
        const std::size_t bStart = image::kSectionBStart;
        b[bStart + image::kCurrentCpiLevel] = byteOf(
            r["currentLevel"], at(path, "currentLevel"), [](const Json& v, const std::string& vp) {
                return static_cast<std::uint8_t>(integer(v, vp, 1, 4) - 1);
            });
        b[bStart + image::kReportRate] = byteOf(
            r["reportRate"], at(path, "reportRate"), [](const Json& v, const std::string& vp) {
                const long long rate = integer(v, vp, 0, INT32_MAX);
                if (rate == 1000) return std::uint8_t{1};
                if (rate == 500) return std::uint8_t{2};
                throw Fault(vp, std::to_string(rate) + " is no report rate (1000 or 500)");
            });
    }

    void lighting(const Json& l, const std::string& path) {
        fields(
            l, path,
            {"used", "colourMode", "otherFlagBits", "mode", "steps", "mode1Colour", "mode2Colour"});
        const bool used = boolean(l["used"], at(path, "used"));
        const long long colourMode = integer(l["colourMode"], at(path, "colourMode"), 1, 2);
        const auto other = bytes(l["otherFlagBits"], at(path, "otherFlagBits"), 1)[0];
        if ((other & (kLightingUnused | kColourMode1)) != 0)
            throw Fault(at(path, "otherFlagBits"),
                        "must leave bits 0 and 4 clear: \"used\" and \"colourMode\" give them");
        img[image::kLightingFlags] = static_cast<std::uint8_t>(
            other | (used ? 0 : kLightingUnused) | (colourMode == 1 ? kColourMode1 : 0));
        img[image::kSectionBStart + image::kLightingMode] =
            byteOf(l["mode"], at(path, "mode"), [](const Json& v, const std::string& vp) {
                return namedByte(v, vp, kLightingModeNames);
            });
        const std::string sp = at(path, "steps");
        const Json& steps = l["steps"];
        fields(steps, sp, {"off", "rise", "on", "fall"});
        for (std::size_t i = 0; i < 4; ++i) {
            const bool hold = i == 0 || i == 2;
            img[image::kLedOffTime + i] =
                byteOf(steps[std::string(kStepNames[i])], at(sp, kStepNames[i]),
                       [hold](const Json& v, const std::string& vp) {
                           const int step = static_cast<int>(integer(v, vp, 1, 10));
                           return hold ? encodeHoldStep(step) : encodeRampStep(step);
                       });
        }
        const auto colour = [&](std::string_view key, std::size_t offset) {
            const std::string cp = at(path, key);
            const Json& c = list(l[std::string(key)], cp, 3);
            for (std::size_t i = 0; i < 3; ++i)
                img[offset + i] = byteOf(c[i], at(cp, i), [](const Json& v, const std::string& vp) {
                    return static_cast<std::uint8_t>(integer(v, vp, 0, 100));
                });
        };
        colour("mode1Colour", image::kMode1Red);
        colour("mode2Colour", layout->userBreath);
    }

    void fireKeys(const Json& f, const std::string& path) {
        list(f, path, 4);
        for (std::size_t n = 0; n < 4; ++n) {
            const std::string p = at(path, n);
            const std::size_t start = image::kFireKeyStart + 4 * n;
            const Json& key = f[n];
            if (key.is_object() && key.contains("bytes")) {
                fields(key, p, {"bytes"});
                const auto b = bytes(key["bytes"], at(p, "bytes"), 4);
                std::copy(b.begin(), b.end(), img.begin() + static_cast<std::ptrdiff_t>(start));
                continue;
            }
            fields(key, p, {"repeat", "delay"});
            const auto repeat = integer(key["repeat"], at(p, "repeat"), 2, 15);
            const auto delay = integer(key["delay"], at(p, "delay"), 2, 2000);
            img[start] = 0x06;
            img[start + 1] = static_cast<std::uint8_t>(0x10 + repeat);
            img[start + 2] = static_cast<std::uint8_t>(delay / 256);
            img[start + 3] = static_cast<std::uint8_t>(delay % 256);
        }
    }

    void macros(const Json& m, const std::string& path) {
        list(m, path, kMacroCount);
        for (std::size_t n = 0; n < kMacroCount; ++n) {
            const std::string p = at(path, n);
            const Json& macro = m[n];
            if (macro.is_object() && macro.contains("entry")) {
                fields(macro, p, {"number", "entry", "body"});
            } else {
                fields(macro, p,
                       {"number", "name", "script", "unusedNameBytes", "unusedBodyBytes"});
            }
            const long long number = integer(macro["number"], at(p, "number"), 1, kMacroCount);
            if (static_cast<std::size_t>(number) != n + 1)
                throw Fault(at(p, "number"), "macro " + std::to_string(number) +
                                                 " stands in place " + std::to_string(n + 1) +
                                                 "; the macros are listed 1 to 32 in order");
            if (macro.contains("entry")) {
                const auto e = bytes(macro["entry"], at(p, "entry"), kMacroEntrySize);
                const auto b = bytes(macro["body"], at(p, "body"), kMacroBodySize);
                std::copy(e.begin(), e.end(), store.entry(n).begin());
                std::copy(b.begin(), b.end(), store.bodies[n].begin());
                continue;
            }
            MacroParts parts;
            parts.name = text(macro["name"], at(p, "name"));
            const Json& script = list(macro["script"], at(p, "script"), SIZE_MAX);
            for (std::size_t i = 0; i < script.size(); ++i)
                parts.script.push_back(text(script[i], at(at(p, "script"), i)));
            parts.unusedName = bytes(macro["unusedNameBytes"], at(p, "unusedNameBytes"), SIZE_MAX);
            parts.unusedBody = bytes(macro["unusedBodyBytes"], at(p, "unusedBodyBytes"), SIZE_MAX);
            buildMacro(parts, store, n, p);
        }
    }

    void profiles(const Json& pr, const std::string& path, const Json& group) {
        fields(pr, path, {"main", "alternate", "resetControl"});
        const MacroNames names = RefreshMacroName(store);
        const CodeContext codes{context.names, context.edition, fireKeysOf(img), names};
        for (int profile = 0; profile < kProfileCount; ++profile) {
            const std::string pp = at(path, kProfileNames[static_cast<std::size_t>(profile)]);
            const Json& buttons =
                list(pr[std::string(kProfileNames[static_cast<std::size_t>(profile)])], pp,
                     kButtonCount);
            for (int k = 0; k < kButtonCount; ++k) {
                const std::string bp = at(pp, static_cast<std::size_t>(k));
                const Json& b = buttons[static_cast<std::size_t>(k)];
                fields(b, bp, {"button", "code"}, {"function"});
                if (integer(b["button"], at(bp, "button"), 1, kButtonCount) != k + 1)
                    throw Fault(at(bp, "button"),
                                "the buttons are listed 1 to 12 in order; this place is button " +
                                    std::to_string(k + 1));
                const std::string& code = text(b["code"], at(bp, "code"));
                const auto codeBytes = fromHex(code);
                if (!isCodeText(code) || !codeBytes || codeBytes->size() != 4)
                    throw Fault(at(bp, "code"),
                                "\"" + code +
                                    "\" is no assignment code (eight hexadecimal digits)");
                const std::string upper = toHex(*codeBytes);
                if (b.contains("function")) {
                    const std::string& function = text(b["function"], at(bp, "function"));
                    const std::string named = NameForCode(upper, codes);
                    if (function != named)
                        throw Fault(
                            at(bp, "function"),
                            "\"" + function + "\" is not the function of code " + upper +
                                (named.empty() ? " (it has no name)" : " (\"" + named + "\")") +
                                "; the code counts: change both, or leave the function out");
                }
                std::copy(codeBytes->begin(), codeBytes->end(),
                          img.begin() + static_cast<std::ptrdiff_t>(kProfileStart +
                                                                    profileCodeOffset(profile, k)));
            }
        }
        const std::string gp = "fireModeGroup";
        list(group, gp, SIZE_MAX);
        std::vector<int> given;
        for (std::size_t i = 0; i < group.size(); ++i)
            given.push_back(static_cast<int>(integer(group[i], at(gp, i), 1, 4)));
        const std::vector<int> found = fireModeGroupOf(codesOf(img));
        if (given != found) {
            std::string shown;
            for (int m : found)
                shown += (shown.empty() ? "" : ", ") + std::to_string(m);
            throw Fault(gp, "the Fire Mode buttons' codes select [" + shown +
                                "]; the group follows the codes, so change the 0F codes instead");
        }
    }

    void reserved(const Json& r, const std::string& path) {
        fields(r, path,
               {"byte0", "bytes6to8", "bytes14to17", "byte25", "block", "eftControl", "byte255"});
        const auto put = [&](std::string_view key, std::size_t offset, std::size_t size) {
            const auto b = bytes(r[std::string(key)], at(path, key), size);
            std::copy(b.begin(), b.end(), img.begin() + static_cast<std::ptrdiff_t>(offset));
        };
        put("byte0", image::kReserved0, 1);
        put("bytes6to8", 6, 3);
        put("bytes14to17", 14, 4);
        put("byte25", 25, 1);
        put("block", layout->reserved, image::kReservedBlockSize);
        put("eftControl", layout->eft, image::kEftSize - 1);
        put("byte255", image::kLastByte, 1);
    }

    void read(const Json& j) {
        identity(j);
        fields(j, "",
               {"format", "version", "edition", "dataType", "vendorId", "productId", "identityCode",
                "resolution", "activeProfile", "lighting", "fireKeys", "fireModeGroup", "profiles",
                "macros", "reserved"},
               {"damagedChecksums"});
        const unsigned vendor = hexField(j["vendorId"], "vendorId", 4);
        const unsigned product = hexField(j["productId"], "productId", 4);
        img[image::kVendorId] = static_cast<std::uint8_t>(vendor >> 8);
        img[image::kVendorId + 1] = static_cast<std::uint8_t>(vendor & 0xFF);
        img[image::kProductId] = static_cast<std::uint8_t>(product >> 8);
        img[image::kProductId + 1] = static_cast<std::uint8_t>(product & 0xFF);
        const auto id = bytes(j["identityCode"], "identityCode", image::kIdCodeSize);
        std::copy(id.begin(), id.end(), img.begin() + static_cast<std::ptrdiff_t>(layout->idCode));
        resolution(j["resolution"], "resolution");
        img[image::kSectionBStart + image::kActiveProfile] =
            byteOf(j["activeProfile"], "activeProfile", [](const Json& v, const std::string& vp) {
                return namedByte(v, vp, kActiveProfileNames);
            });
        lighting(j["lighting"], "lighting");
        fireKeys(j["fireKeys"], "fireKeys");
        reserved(j["reserved"], "reserved");
        macros(j["macros"], "macros");
        profiles(j["profiles"], "profiles", j["fireModeGroup"]);

        const auto spans = sectionSpans(*layout);
        for (const SectionSpan& s : spans)
            img[s.start + s.length] = sectionChecksum(std::span(img).subspan(s.start, s.length));
        if (j.contains("damagedChecksums")) {
            const Json& d = j["damagedChecksums"];
            fields(d, "damagedChecksums", {},
                   {"sectionA", "sectionB", "userBreath", "eftControl", "fireKeys", "profiles"});
            for (const SectionSpan& s : spans) {
                if (!d.contains(s.name)) continue;
                const std::string p = at("damagedChecksums", s.name);
                const std::uint8_t stored = bytes(d[std::string(s.name)], p, 1)[0];
                if (stored == img[s.start + s.length])
                    throw Fault(p, "is the right checksum; leave it out");
                img[s.start + s.length] = stored;
            }
        }
    }
};

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
    ImageBytes img{};
    MacroStore store;
    loadProfileBytes(profile, img, store);
    const auto layout = middleLayoutFor(img[image::kDataType]);
    if (!layout) return std::nullopt;
    const std::size_t bStart = image::kSectionBStart;

    Json j;
    j["format"] = kConfigJsonFormat;
    j["version"] = kConfigJsonVersion;
    j["edition"] = traitsOf(context.edition).programName;
    j["dataType"] = hexNumber(img[image::kDataType], 2);
    j["vendorId"] = hexNumber(readBigEndian16(img, image::kVendorId), 4);
    j["productId"] = hexNumber(readBigEndian16(img, image::kProductId), 4);
    j["identityCode"] = hexRuns(std::span(img).subspan(layout->idCode, image::kIdCodeSize));

    const auto values = resolutionValues(context.names);
    Json levels = Json::array();
    for (std::size_t i = 0; i < 4; ++i)
        levels.push_back(
            byteOr(img[image::kCpiLevel1 + i], [&](std::uint8_t b) -> std::optional<Json> {
                if (b == kLevelNotUsed) return Json(nullptr);
                if (b >= values.size() || !values[b]) return std::nullopt;
                // A value that two indexes share could not say which one it was.
                if (std::count(values.begin(), values.end(), values[b]) != 1) return std::nullopt;
                return Json(*values[b]);
            }));
    Json resolution;
    resolution["levels"] = levels;
    resolution["currentLevel"] =
        byteOr(img[bStart + image::kCurrentCpiLevel], [](std::uint8_t b) -> std::optional<Json> {
            if (b > 3) return std::nullopt;
            return Json(b + 1);
        });
    resolution["reportRate"] =
        byteOr(img[bStart + image::kReportRate], [](std::uint8_t b) -> std::optional<Json> {
            if (b == 1) return Json(1000);
            if (b == 2) return Json(500);
            return std::nullopt;
        });
    j["resolution"] = resolution;
    const auto named = [](std::span<const std::string_view> names) {
        return [names](std::uint8_t b) -> std::optional<Json> {
            if (b >= names.size()) return std::nullopt;
            return Json(names[b]);
        };
    };
    j["activeProfile"] = byteOr(img[bStart + image::kActiveProfile], named(kActiveProfileNames));

    const std::uint8_t flags = img[image::kLightingFlags];
    Json lighting;
    lighting["used"] = (flags & kLightingUnused) == 0;
    lighting["colourMode"] = (flags & kColourMode1) != 0 ? 1 : 2;
    const std::uint8_t other = flags & static_cast<std::uint8_t>(~(kLightingUnused | kColourMode1));
    lighting["otherFlagBits"] = hexByte(other);
    lighting["mode"] = byteOr(img[bStart + image::kLightingMode], named(kLightingModeNames));
    Json steps;
    for (std::size_t i = 0; i < 4; ++i) {
        const bool hold = i == 0 || i == 2;
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
        for (std::size_t i = 0; i < 3; ++i)
            c.push_back(byteOr(img[offset + i], [](std::uint8_t b) -> std::optional<Json> {
                if (b > 100) return std::nullopt;
                return Json(b);
            }));
        return c;
    };
    lighting["mode1Colour"] = colour(image::kMode1Red);
    lighting["mode2Colour"] = colour(layout->userBreath);
    j["lighting"] = lighting;

    Json fire = Json::array();
    for (std::size_t n = 0; n < 4; ++n) {
        const std::size_t s = image::kFireKeyStart + 4 * n;
        const int repeat = img[s + 1] - 0x10;
        const int delay = img[s + 2] * 256 + img[s + 3];
        if (img[s] == 0x06 && repeat >= 2 && repeat <= 15 && delay >= 2 && delay <= 2000)
            fire.push_back(Json{{"repeat", repeat}, {"delay", delay}});
        else
            fire.push_back(Json{{"bytes", hexRuns(std::span(img).subspan(s, 4))}});
    }
    j["fireKeys"] = fire;
    const AssignmentTable table = codesOf(img);
    j["fireModeGroup"] = fireModeGroupOf(table);

    const MacroNames names = RefreshMacroName(store);
    const CodeContext codes{context.names, context.edition, fireKeysOf(img), names};
    Json profiles;
    for (std::size_t p = 0; p < kProfileCount; ++p) {
        Json buttons = Json::array();
        for (std::size_t k = 0; k < kButtonCount; ++k)
            buttons.push_back(Json{{"button", k + 1},
                                   {"function", NameForCode(table[p][k], codes)},
                                   {"code", table[p][k]}});
        profiles[std::string(kProfileNames[p])] = buttons;
    }
    j["profiles"] = profiles;

    Json macros = Json::array();
    for (std::size_t n = 0; n < kMacroCount; ++n)
        macros.push_back(macroJson(store, n));
    j["macros"] = macros;

    Json reserved;
    const auto carried = [&](std::size_t offset, std::size_t size) {
        return hexRuns(std::span(img).subspan(offset, size));
    };
    reserved["byte0"] = carried(image::kReserved0, 1);
    reserved["bytes6to8"] = carried(6, 3);
    reserved["bytes14to17"] = carried(14, 4);
    reserved["byte25"] = carried(25, 1);
    reserved["block"] = carried(layout->reserved, image::kReservedBlockSize);
    reserved["eftControl"] = carried(layout->eft, image::kEftSize - 1);
    reserved["byte255"] = carried(image::kLastByte, 1);
    j["reserved"] = reserved;

    Json damaged = Json::object();
    for (const SectionSpan& s : sectionSpans(*layout)) {
        const std::uint8_t stored = img[s.start + s.length];
        if (stored != sectionChecksum(std::span(img).subspan(s.start, s.length)))
            damaged[std::string(s.name)] = hexByte(stored);
    }
    if (!damaged.empty()) j["damagedChecksums"] = damaged;
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
        Reader reader{context, {}, {}, std::nullopt};
        reader.read(j);
        result.profile = profileBytes(reader.img, reader.store);
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
