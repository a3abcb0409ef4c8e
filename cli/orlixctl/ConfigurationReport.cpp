#include "ConfigurationReport.h"

#include <algorithm>

#include "model/AssignmentCodes.h"
#include "model/ImageCodec.h"
#include "model/ParameterImage.h"

#include <array>
#include <cstdio>
#include <sstream>
#include <vector>

namespace orlixctl {

using orlix::Configuration;
using orlix::TextSource;
using orlix::device::DeviceKind;

namespace {

constexpr const char* kProfileNames[3] = {"main", "alternate", "reset-control"};
constexpr const char* kLightingModes[3] = {"random", "colourful", "custom"};

struct Level {
    bool used = false;
    int index = -1;    // 0..11, or -1 when the byte is out of range
    std::string value; // the language table's value text
    unsigned raw = 0;
};

// What the report says, taken from the decoded sections once for both forms.
struct Summary {
    unsigned dataType = 0;
    unsigned vendorId = 0;
    unsigned productId = 0;
    std::array<Level, 4> levels;
    unsigned currentLevel = 0;
    bool currentValid = false; // names one of the levels in use
    unsigned reportRateCode = 0;
    int reportRate = 0; // reports per second, 0 when the code is neither
    unsigned activeProfile = 0;
    unsigned lightingFlags = 0;
    bool lightingUsed = false;
    unsigned lightingMode = 0;
    int colourMode = 2;
    std::array<int, 4> steps{}; // off, rise, on, fall
    std::array<unsigned, 3> mode1{};
    std::array<unsigned, 3> mode2{};
    std::array<int, 4> repeat{};
    std::array<int, 4> delay{};
    std::vector<int> fireMode; // the group of the last Fire Mode button
    std::array<std::array<std::string, 12>, 3> codes;
    std::array<std::array<std::string, 12>, 3> functions;
    bool macros = false;
    std::array<std::string, 32> macroNames;
    std::array<unsigned, 32> macroLengths{};
};

Summary summarise(const Configuration& config, const TextSource& texts, const ReportSource& src) {
    using namespace orlix::image;
    const auto& a = config.sections.a;
    const auto& b = config.sections.b;
    Summary s;
    s.dataType = a[kDataType];
    s.vendorId = static_cast<unsigned>(a[kVendorId] << 8 | a[kVendorId + 1]);
    s.productId = static_cast<unsigned>(a[kProductId] << 8 | a[kProductId + 1]);
    for (std::size_t j = 0; j < 4; ++j) {
        Level& level = s.levels[j];
        level.raw = a[kCpiLevel1 + j];
        level.used = level.raw != orlix::kLevelNotUsed;
        if (level.used && level.raw < 12) {
            level.index = static_cast<int>(level.raw);
            level.value = texts.text("Str" + std::to_string(320 + level.raw));
        }
    }
    s.currentLevel = b[kCurrentCpiLevel];
    unsigned inUse = 0;
    for (const Level& level : s.levels)
        if (level.index >= 0) ++inUse;
    s.currentValid = s.currentLevel < inUse;
    s.reportRateCode = b[kReportRate];
    s.reportRate = s.reportRateCode == 1 ? 1000 : s.reportRateCode == 2 ? 500 : 0;
    s.activeProfile = b[kActiveProfile];
    s.lightingFlags = a[kLightingFlags];
    s.lightingUsed = (s.lightingFlags & orlix::kLightingUnused) == 0;
    s.lightingMode = b[kLightingMode];
    s.colourMode = (s.lightingFlags & orlix::kColourMode1) != 0 ? 1 : 2;
    s.steps = {orlix::decodeHoldStep(a[kLedOffTime]), orlix::decodeRampStep(a[kLedRiseTime]),
               orlix::decodeHoldStep(a[kLedOnTime]), orlix::decodeRampStep(a[kLedFallTime])};
    for (std::size_t i = 0; i < 3; ++i) {
        s.mode1[i] = a[kMode1Red + i];
        s.mode2[i] = config.sections.userBreath[i];
    }
    const auto& f = config.sections.fireKeys;
    for (std::size_t n = 0; n < 4; ++n) {
        s.repeat[n] = f[4 * n + 1] & 0x0F;
        s.delay[n] = (f[4 * n + 2] & 0x0F) << 8 | f[4 * n + 3];
    }
    orlix::FireKeyPage group;
    orlix::RefreshFireKeyMode(config.assignments, group);
    for (int m = 0; m < 4; ++m)
        if (group.modeSelected[static_cast<std::size_t>(m)]) s.fireMode.push_back(m + 1);
    const orlix::CodeContext ctx = config.codeContext(texts);
    for (std::size_t p = 0; p < 3; ++p) {
        for (std::size_t k = 0; k < 12; ++k) {
            s.codes[p][k] = config.assignments[p][k];
            s.functions[p][k] = orlix::NameForCode(s.codes[p][k], ctx);
        }
    }
    // A basic mouse has no macro store; its macros would only be the program's leftovers.
    s.macros = src.kind == "file" || config.macroDevice;
    for (std::size_t n = 0; n < 32; ++n) {
        s.macroNames[n] = config.macroNames[n];
        s.macroLengths[n] = config.macros.bodyLength(n);
    }
    return s;
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04X", u);
            out += esc;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

template <typename T, std::size_t N> std::string jsonArray(const std::array<T, N>& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < N; ++i)
        out += (i ? ", " : "") + std::to_string(values[i]);
    return out + "]";
}

// A number stays a number; any other text becomes a string, nothing becomes null.
std::string jsonValue(const std::string& text) {
    if (text.empty()) return "null";
    if (text.size() < 10 && text.find_first_not_of("0123456789") == std::string::npos &&
        (text.size() == 1 || text[0] != '0')) {
        return text;
    }
    return jsonString(text);
}

std::string profileName(unsigned p) {
    return p < 3 ? kProfileNames[p] : "unknown " + hexValue(p, 2);
}

// A colour share is 0..100; a byte beyond that is shown for what it is.
std::string percent(unsigned value) {
    return value <= 100 ? std::to_string(value) : "invalid " + hexValue(value, 2);
}

} // namespace

std::string hexValue(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string kindName(DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Basic:
        return "basic";
    case DeviceKind::Macro:
        return "macro";
    case DeviceKind::None:
        break;
    }
    return "none";
}

void writeText(std::ostream& out, const Configuration& config, const TextSource& texts,
               const ReportSource& source) {
    const Summary s = summarise(config, texts, source);
    out << "Source: " << source.kind;
    if (!source.name.empty()) out << " " << source.name;
    if (source.identification) out << " (" << kindName(source.identification->kind) << " mouse)";
    out << "\n";
    if (!source.edition.empty()) out << "Edition tables: " << source.edition << "\n";
    out << "Data type: " << hexValue(s.dataType, 2) << "  vendor id: " << hexValue(s.vendorId, 4)
        << "  product id: " << hexValue(s.productId, 4) << "\n";
    out << "Resolution levels:";
    for (std::size_t j = 0; j < 4; ++j) {
        const Level& l = s.levels[j];
        out << "  " << (j + 1) << ": ";
        if (!l.used)
            out << "not used";
        else if (l.index < 0)
            out << "invalid " << hexValue(l.raw, 2);
        else
            out << (l.value.empty() ? "index " + std::to_string(l.index) : l.value);
    }
    out << "\nCurrent level: ";
    if (s.currentValid)
        out << s.currentLevel + 1 << "\n";
    else
        out << "invalid " << hexValue(s.currentLevel, 2) << " (the editor shows the first level)\n";
    out << "Report rate: ";
    if (s.reportRate != 0)
        out << s.reportRate << " reports per second\n";
    else
        out << "unknown code " << hexValue(s.reportRateCode, 2) << "\n";
    out << "Active profile: " << profileName(s.activeProfile) << "\n";
    out << "Lighting: " << (s.lightingUsed ? "used" : "not used") << " (flags "
        << hexValue(s.lightingFlags, 2) << "), mode "
        << (s.lightingMode < 3 ? kLightingModes[s.lightingMode] : hexValue(s.lightingMode, 2))
        << ", colour mode " << s.colourMode << ", steps off " << s.steps[0] << " rise "
        << s.steps[1] << " on " << s.steps[2] << " fall " << s.steps[3] << ", mode 1 colour "
        << percent(s.mode1[0]) << "/" << percent(s.mode1[1]) << "/" << percent(s.mode1[2])
        << " %, mode 2 colour " << percent(s.mode2[0]) << "/" << percent(s.mode2[1]) << "/"
        << percent(s.mode2[2]) << " %\n";
    for (std::size_t n = 0; n < 4; ++n) {
        out << "Fire key " << n + 1 << ": repeat " << s.repeat[n] << ", delay " << s.delay[n]
            << " ms\n";
    }
    out << "Fire mode group:";
    for (int m : s.fireMode)
        out << " " << m;
    out << (s.fireMode.empty() ? " none\n" : "\n");
    for (std::size_t p = 0; p < 3; ++p) {
        out << "Profile " << profileName(static_cast<unsigned>(p)) << ":\n";
        for (std::size_t k = 0; k < 12; ++k) {
            out << "  Key" << k + 1 << (k < 9 ? "  " : " ") << s.codes[p][k] << "  "
                << (s.functions[p][k].empty() ? "(unknown)" : s.functions[p][k]) << "\n";
        }
    }
    if (!s.macros) {
        out << "Macros: none (the mouse has no macro store)\n";
        return;
    }
    out << "Macros:\n";
    for (std::size_t n = 0; n < 32; ++n) {
        const unsigned length = s.macroLengths[n];
        if (length == 0 && s.macroNames[n].empty()) continue;
        out << "  " << n + 1 << (n < 9 ? "  " : " ") << jsonString(s.macroNames[n]) << "  ";
        if (length > 1024)
            out << "invalid length " << length << "\n";
        else
            out << length << " bytes\n";
    }
}

void writeJson(std::ostream& out, const Configuration& config, const TextSource& texts,
               const ReportSource& source) {
    const Summary s = summarise(config, texts, source);
    std::ostringstream j;
    j << "{\n";
    j << "  \"source\": " << jsonString(source.kind) << ",\n";
    if (!source.name.empty()) j << "  \"path\": " << jsonString(source.name) << ",\n";
    if (!source.editionName.empty()) {
        j << "  \"tables\": {\"edition\": " << jsonString(source.editionName)
          << ", \"from\": " << jsonString(source.editionFrom) << "},\n";
    }
    if (source.identification) {
        const auto& id = *source.identification;
        j << "  \"device\": {\"kind\": " << jsonString(kindName(id.kind))
          << ", \"chipCode\": " << unsigned(id.chipCode)
          << ", \"configuration\": " << unsigned(id.configuration)
          << ", \"flashType\": " << id.flashType << "},\n";
    }
    j << "  \"dataType\": " << s.dataType << ",\n";
    j << "  \"vendorId\": " << s.vendorId << ",\n";
    j << "  \"productId\": " << s.productId << ",\n";
    j << "  \"cpiLevels\": [";
    for (std::size_t i = 0; i < 4; ++i) {
        const Level& l = s.levels[i];
        j << (i ? ", " : "") << "{\"used\": " << (l.used ? "true" : "false")
          << ", \"index\": " << (l.index >= 0 ? std::to_string(l.index) : "null")
          << ", \"value\": " << jsonValue(l.value) << "}";
    }
    j << "],\n";
    j << "  \"currentLevel\": " << (s.currentValid ? std::to_string(s.currentLevel) : "null")
      << ",\n";
    j << "  \"reportRate\": " << (s.reportRate ? std::to_string(s.reportRate) : "null") << ",\n";
    j << "  \"activeProfile\": " << s.activeProfile << ",\n";
    j << "  \"lighting\": {\"used\": " << (s.lightingUsed ? "true" : "false")
      << ", \"flags\": " << s.lightingFlags << ", \"mode\": " << s.lightingMode
      << ", \"colourMode\": " << s.colourMode << ", \"offStep\": " << s.steps[0]
      << ", \"riseStep\": " << s.steps[1] << ", \"onStep\": " << s.steps[2]
      << ", \"fallStep\": " << s.steps[3] << ", \"mode1\": " << jsonArray(s.mode1)
      << ", \"mode2\": " << jsonArray(s.mode2) << "},\n";
    j << "  \"fireKeys\": [";
    for (std::size_t n = 0; n < 4; ++n) {
        j << (n ? ", " : "") << "{\"repeat\": " << s.repeat[n] << ", \"delay\": " << s.delay[n]
          << "}";
    }
    j << "],\n";
    j << "  \"fireMode\": [";
    for (std::size_t m = 0; m < s.fireMode.size(); ++m)
        j << (m ? ", " : "") << s.fireMode[m];
    j << "],\n";
    j << "  \"profiles\": [\n";
    for (std::size_t p = 0; p < 3; ++p) {
        j << "    {\"name\": " << jsonString(profileName(static_cast<unsigned>(p)))
          << ", \"buttons\": [\n";
        for (std::size_t k = 0; k < 12; ++k) {
            j << "      {\"button\": " << k + 1 << ", \"code\": " << jsonString(s.codes[p][k])
              << ", \"function\": " << jsonString(s.functions[p][k]) << "}"
              << (k < 11 ? ",\n" : "\n");
        }
        j << "    ]}" << (p < 2 ? ",\n" : "\n");
    }
    j << "  ],\n";
    j << "  \"macros\": [";
    if (s.macros) {
        j << "\n";
        for (std::size_t n = 0; n < 32; ++n) {
            j << "    {\"number\": " << n + 1 << ", \"name\": " << jsonString(s.macroNames[n])
              << ", \"length\": " << s.macroLengths[n] << "}" << (n < 31 ? ",\n" : "\n");
        }
        j << "  ";
    }
    j << "]\n}\n";
    out << j.str();
}

void writeSummaryLine(std::ostream& out, const Configuration& config, const TextSource& texts) {
    const Summary s = summarise(config, texts, ReportSource{});
    std::string levels;
    for (const Level& l : s.levels) {
        if (!l.used) continue;
        if (!levels.empty()) levels += "/";
        levels += l.index < 0 ? "?" : (l.value.empty() ? "#" + std::to_string(l.index) : l.value);
    }
    out << (levels.empty() ? std::string("no levels") : levels + " CPI") << ", level "
        << s.currentLevel + 1 << ", ";
    if (s.reportRate != 0)
        out << s.reportRate << " reports/s";
    else
        out << "report rate " << hexValue(s.reportRateCode, 2);
    if (s.macros) {
        const auto used = std::count_if(s.macroLengths.begin(), s.macroLengths.end(),
                                        [](unsigned n) { return n > 0; });
        out << ", " << used << (used == 1 ? " macro" : " macros");
    }
}

} // namespace orlixctl
