#pragma once

#include "model/SectionBuffers.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orlix::pages {

// The six pages, numbered as their hidden radio buttons rb_1 .. rb_6.
enum class Page { Main = 1, Switch, Fixed, Advanced, Breath, Macro };

struct PageInfo {
    Page page;
    std::string_view radio;     // "rb_1"
    std::string_view button;    // "Btn_Main"
    std::string_view image;     // "Img_Main"
    int container;              // 1..4: the page background Img_P<n> and its controls
    bool editing;               // EnableEditing, else DisableEditing
    std::optional<int> profile; // 0..2 for the three button-assignment pages
};

const PageInfo& pageInfo(Page page);
// The page whose button has this name, if any.
std::optional<Page> pageForButton(std::string_view buttonName);
// The button-assignment page of a profile (the image's ActiveProfile, 0..2).
std::optional<Page> pageForProfile(int activeProfile);

// Only the main and the alternate profile can be edited: the reset-control profile is shown
// read-only, so what a label shows always is what is stored.
bool profileEditable(Page page);

enum class PageRefusal {
    None,
    DeviceNotFound,   // Str022: no open link
    ErrorState,       // silently ignored while the window shows an error or no device
    AlternateMissing, // Str020: no button of profile 1 holds "Alternate profile"
    ResetKeyMissing,  // Str021: no button of profile 2 holds "Alternate key reset"
};

// What the window knows when a page button is pressed.
struct PageContext {
    bool linkOpen = false;
    bool errorState = false;
    // The function names the labels of profiles 1 and 2 show, and the two names looked for.
    const std::array<std::string, kButtonCount>* profile1Names = nullptr;
    const std::array<std::string, kButtonCount>* profile2Names = nullptr;
    std::string_view alternateProfileName; // Str242
    std::string_view alternateResetName;   // Str245
};

PageRefusal checkPageButton(Page page, const PageContext& context);

// True when one of the names equals `name` exactly; an empty name matches nothing.
bool anyNameIs(const std::array<std::string, kButtonCount>& names, std::string_view name);

} // namespace orlix::pages
