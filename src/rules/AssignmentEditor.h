#pragma once

#include "model/Configuration.h"
#include "model/TextSource.h"

#include <array>
#include <string>
#include <vector>

namespace orlix::pages {

// The rules of the button-assignment pages: what each label shows and how a menu choice,
// the primary-button swap, a key combination or a macro becomes a stored code. It changes
// only the assignment table and the profile section of the configuration.
// The profiles (0 main, 1 alternate, 2 reset-control) in which no button holds Left Key:
// written to the mouse, such a profile could not click. The button pages never make one (the
// primary functions only trade places); a profile or JSON file can hold one.
std::vector<int> profilesWithoutLeftKey(const AssignmentTable& table);

class AssignmentEditor {
public:
    AssignmentEditor(Configuration& config, const TextSource& texts)
        : config_(config), texts_(texts) {}

    // The function names of the twelve buttons of a profile (0..2), in the current language.
    std::array<std::string, kButtonCount> names(int profile) const;

    // Stores the code of a menu leaf for a button (0..11). False when the tag has no code in
    // this edition or the profile is not 0 or 1; nothing is changed then.
    bool chooseLeaf(int profile, int button, int tag);

    // Pnl_LRM: button (0..2) takes the primary function of `tag` (900..902); a primary button
    // that held that function takes the button's previous code instead, so no function is
    // lost. False (and no change) outside profiles 0 and 1 or for another tag or button.
    bool swapPrimary(int profile, int button, int tag);

    // A key combination or a macro: an eight-digit code text.
    bool storeCode(int profile, int button, std::string_view code);

    // "10" + body address + "00": the code of macro index (0..31).
    static std::string macroCode(int index);

private:
    static bool editableProfile(int profile) { return profile == 0 || profile == 1; }

    Configuration& config_;
    const TextSource& texts_;
};

} // namespace orlix::pages
