#include "platform/PointerSettings.h"

#include "model/FileIo.h"

#include <charconv>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

namespace orlix::platform {

namespace {

constexpr std::pair<std::string_view, PointerSetting> kKeys[] = {
    {"PointerSpeed", PointerSetting::Speed},
    {"DoubleClickTime", PointerSetting::DoubleClick},
    {"WheelScrollLines", PointerSetting::WheelLines},
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace

PointerValues FilePointerSettingsStore::read() {
    std::error_code missing;
    if (!std::filesystem::exists(file_, missing)) return whileMissing_;
    PointerValues out;
    auto bytes = readFilePrefix(file_, 64 * 1024, nullptr);
    if (!bytes) return out;
    std::string text(bytes->begin(), bytes->end());
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string_view key = trim(std::string_view(line).substr(0, eq));
        const std::string_view value = trim(std::string_view(line).substr(eq + 1));
        int number = 0;
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec != std::errc() || end != value.data() + value.size()) continue;
        for (const auto& [name, setting] : kKeys)
            if (name == key) out[setting] = number;
    }
    return out;
}

PointerResult FilePointerSettingsStore::apply(const PointerUpdate& update) {
    if (update.write == PointerValues{}) return {};
    PointerValues merged = read();
    for (PointerSetting s : kPointerSettings)
        if (update.write[s]) merged[s] = update.write[s];
    std::string text;
    for (const auto& [name, setting] : kKeys)
        if (merged[setting])
            text += std::string(name) + "=" + std::to_string(*merged[setting]) + "\n";
    std::error_code ec;
    if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), ec);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    const FileResult written = writeFileAtomically(file_, bytes);
    if (!written) return {{"pointer settings file not written: " + written.error}};
    return {};
}

std::filesystem::path defaultPointerSettingsFile() {
    std::filesystem::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0')
        base = config;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        base = std::filesystem::path(home) / ".config";
    else if (const char* appData = std::getenv("APPDATA"); appData != nullptr && *appData != '\0')
        base = appData; // Windows
    else
        return {};
    return base / "orlix-editor" / "pointer-settings";
}

} // namespace orlix::platform
