#pragma once

#include "model/SectionBuffers.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The Breathing-light and Macro page buttons for a mouse that has those features, where the
// layout leaves them hidden (their stored positions lie in the page area there): they go to
// the first row of page buttons, after the last one shown, at that row's spacing.
struct ButtonSpot {
    int x = 0;
    int y = 0;
    friend bool operator==(const ButtonSpot&, const ButtonSpot&) = default;
};

struct NeededPagesInput {
    // The top-left corners of the page, profile and language buttons the layout shows.
    std::vector<ButtonSpot> shown;
    bool layoutShowsBreath = false;
    bool layoutShowsMacro = false;
    bool mouseHasLighting = false; // bit 0 of the lighting flags clear
    bool macroDevice = false;
    int plateWidth = 0;  // the buttons' image
    int windowWidth = 0; // a button must end inside the window
    // The drawn plates inside those images, centred: the row's, and the added buttons' where
    // the skin gives them a wider one for their captions (0: the row's). Added plates keep
    // the row's gap between plates.
    int rowPlateBody = 0;
    int addedPlateBody = 0;
};

struct PlacedPageButton {
    Page page;
    ButtonSpot at;
    friend bool operator==(const PlacedPageButton&, const PlacedPageButton&) = default;
};

// Breathing light first, then Macro, as in the layout that shows both. A row whose end is
// too near the window's edge passes the button on to the next row; a button that fits in
// no row is left out.
std::vector<PlacedPageButton> placeNeededPageButtons(const NeededPagesInput& input);

} // namespace orlix::pages
