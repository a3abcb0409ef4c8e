#include "platform/PointerSettings.h"
#include "platform/posix/GnomePointerSettingsStore.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace orlix::platform {

namespace {

// Desktops that take their mouse settings from GNOME's schema.
bool gnomeDesktop() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    if (desktop == nullptr) return false;
    std::string names(desktop);
    std::transform(names.begin(), names.end(), names.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* name : {"gnome", "unity", "budgie"})
        if (names.find(name) != std::string::npos) return true;
    return false;
}

} // namespace

std::unique_ptr<PointerSettingsStore> systemPointerSettingsStore() {
    if (gnomeDesktop()) {
        auto gnome = std::make_unique<GnomePointerSettingsStore>();
        for (PointerSetting s : kPointerSettings)
            if (gnome->supports(s)) return gnome;
    }
    return std::make_unique<UnsupportedPointerSettingsStore>();
}

} // namespace orlix::platform
