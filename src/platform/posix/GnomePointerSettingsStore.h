#pragma once

#include "platform/PointerSettings.h"

#include <string>

namespace orlix::platform {

// GNOME's mouse settings (org.gnome.desktop.peripherals.mouse) through the gsettings
// program: the desktop applies a changed value at once, so storing is applying. GNOME keeps
// the pointer speed as -1..1 and the double-click time in milliseconds; it has no wheel-lines
// setting.
class GnomePointerSettingsStore : public PointerSettingsStore {
public:
    static constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";

    // Asks once which of the keys the installed schema has.
    GnomePointerSettingsStore();

    bool supports(PointerSetting setting) const override;
    PointerValues read() override;
    PointerResult apply(const PointerUpdate& update) override;

    // The pointer speed 1..20 of the page's table on GNOME's scale -1..1 and back: 10, the
    // usual middle, is GNOME's 0; each step of one is a tenth.
    static double toGnomeSpeed(int speed);
    static int fromGnomeSpeed(double gnome);
    // True when `gnome` is exactly one of the speeds 1..20 (-0.9, -0.8, ... 1.0); -1.0 and
    // the values between the tenths are not.
    static bool isWholeSpeed(double gnome);

private:
    bool hasSpeed_ = false;
    bool hasDoubleClick_ = false;
};

// Runs a program found on PATH with its arguments, without a shell, and returns what it
// wrote to its standard output; nullopt when it could not run or did not exit with 0.
std::optional<std::string> runProgram(const std::vector<std::string>& argv);

} // namespace orlix::platform
