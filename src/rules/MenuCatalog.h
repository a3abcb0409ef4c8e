#pragma once

#include "model/Edition.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orlix::pages {

// The pop-up menus of the button labels. Each panel is a column of entries 24 pixels high;
// an entry is a group (opens another panel), a leaf (stores a function) or one of the special
// actions below.
enum class MenuPanel { LRM, Main, MouseKeys, Special, Acpi, Media, Www, Fire };

enum class EntryAction {
    OpenGroup,      // hovering shows the panel in `opens`
    Leaf,           // clicking stores the code of `tag`
    SwapPrimary,    // Pnl_LRM: exchanges functions among the three primary buttons
    KeyCombination, // opens the key-combination dialog
    MacroList,      // hovering shows the macro list; clicking opens the key-combination dialog
};

struct MenuEntry {
    std::string_view control; // objectName, e.g. "Key_CPII"
    int tag;
    std::string_view textId; // caption, e.g. "Str247"
    EntryAction action;
    std::optional<MenuPanel> opens = std::nullopt;
};

namespace menu {
constexpr int kEntryHeight = 24;
constexpr int kEntryTop = 1;  // first entry's top inside its panel
constexpr int kEntryLeft = 2; // every entry's left inside its panel
constexpr int kMainEntryWidth = 186;
constexpr int kEntryWidth = 160;
constexpr int kMainPanelWidth = 190;
constexpr int kPanelWidth = 164;
constexpr int kMainHeightBasic = 122;
constexpr int kMainHeightMacro = 146;
constexpr int kSpecialHeight1D = 218;
constexpr int kSpecialHeight3A = 266;
constexpr int kGroupTagFirst = 1; // tags 1..7 name groups and the two dialog entries
constexpr int kGroupTagLast = 7;
} // namespace menu

std::string_view panelName(MenuPanel panel);

// Entries of a panel from the top, as this edition offers them.
std::span<const MenuEntry> menuEntries(MenuPanel panel, Edition edition);

// Pixel sizes of a panel. Pnl_Main depends on the kind of mouse, Pnl_Special on the data type
// of the start-up image: entries below the panel's height are not offered.
int panelWidth(MenuPanel panel);
int entryWidth(MenuPanel panel);
int mainPanelHeight(bool macroDevice);
int specialPanelHeight(std::uint8_t startUpDataType);
int naturalPanelHeight(MenuPanel panel, Edition edition); // room for every entry
// Top of entry `index` inside its panel.
constexpr int entryTop(int index) {
    return menu::kEntryTop + menu::kEntryHeight * index;
}
// True when entry `index` lies wholly inside a panel of the given height.
constexpr bool entryFits(int index, int panelHeight) {
    return entryTop(index) + menu::kEntryHeight <= panelHeight;
}

} // namespace orlix::pages
