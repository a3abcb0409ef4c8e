#pragma once

#include "platform/PointerSettings.h"

#include <string>

namespace orlix::platform {

// The current user's pointer settings on Windows: string values under "Control Panel\Mouse"
// and "Control Panel\Desktop" of HKEY_CURRENT_USER, applied to the running system with
// SystemParametersInfoA. Keys are opened, never created. The three acceleration values are
// remembered from the last read and applied again with the pointer speed, as they were.
class WindowsPointerSettingsStore : public PointerSettingsStore {
public:
    // The key paths can be changed for tests; the defaults are the real ones.
    explicit WindowsPointerSettingsStore(std::string mouseKey = "Control Panel\\Mouse",
                                         std::string desktopKey = "Control Panel\\Desktop")
        : mouseKey_(std::move(mouseKey)), desktopKey_(std::move(desktopKey)) {}

    bool supports(PointerSetting) const override { return true; }
    PointerValues read() override;
    PointerResult apply(const PointerUpdate& update) override;

    struct Acceleration {
        std::optional<int> speed; // MouseSpeed
        std::optional<int> threshold1;
        std::optional<int> threshold2;
    };
    const Acceleration& acceleration() const { return acceleration_; }

private:
    std::string mouseKey_;
    std::string desktopKey_;
    Acceleration acceleration_;
};

} // namespace orlix::platform
