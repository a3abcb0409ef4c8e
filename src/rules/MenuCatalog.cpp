#include "rules/MenuCatalog.h"

#include "model/AssignmentCodes.h"

#include <array>

namespace orlix::pages {

namespace {

using enum EntryAction;

constexpr std::array kLrm{
    MenuEntry{"Key_L", tag::kLeft, "Str210", SwapPrimary},
    MenuEntry{"Key_R", tag::kRight, "Str211", SwapPrimary},
    MenuEntry{"Key_M", tag::kMiddle, "Str212", SwapPrimary},
};

constexpr std::array kMain{
    MenuEntry{"Key_Standard", 1, "Str201", OpenGroup, MenuPanel::MouseKeys},
    MenuEntry{"Key_Special", 2, "Str202", OpenGroup, MenuPanel::Special},
    MenuEntry{"Key_Media", 3, "Str203", OpenGroup, MenuPanel::Media},
    MenuEntry{"Key_WWW", 4, "Str204", OpenGroup, MenuPanel::Www},
    MenuEntry{"Key_Assembly", 0, "Str205", KeyCombination},
    MenuEntry{"Key_Macro", 7, "Str206", MacroList},
};

constexpr std::array kMouseKeys{
    MenuEntry{"Key_Left", tag::kLeft, "Str210", Leaf},
    MenuEntry{"Key_Right", tag::kRight, "Str211", Leaf},
    MenuEntry{"Key_Middle", tag::kMiddle, "Str212", Leaf},
    MenuEntry{"Key_B4", tag::kBackward, "Str213", Leaf},
    MenuEntry{"Key_B5", tag::kForward, "Str214", Leaf},
};

constexpr MenuEntry kAcpiGroup{"Key_ACPI", 5, "Str220", OpenGroup, MenuPanel::Acpi};
constexpr MenuEntry kFireGroup{"Key_Fire", 6, "Str230", OpenGroup, MenuPanel::Fire};
constexpr MenuEntry kFireMode{"Key_FireMode", tag::kFireMode, "Str240", Leaf};
constexpr MenuEntry kAim{"Key_AIM", tag::kAim, "Str241", Leaf};
constexpr MenuEntry kProfile{"Key_Profile", tag::kProfile, "Str242", Leaf};
constexpr MenuEntry kCpi{"Key_CPI", tag::kCpi, "Str243", Leaf};
constexpr MenuEntry kReportRate{"Key_ReportRate", tag::kReportRate, "Str244", Leaf};
constexpr MenuEntry kDefault{"Key_Default", tag::kDefault, "Str245", Leaf};
constexpr MenuEntry kLedMode{"Key_LEDMode", tag::kLedMode, "Str246", Leaf};
constexpr MenuEntry kCpiUp{"Key_CPII", tag::kCpiUp, "Str247", Leaf};
constexpr MenuEntry kCpiDown{"Key_CPID", tag::kCpiDown, "Str248", Leaf};

// The AIM key is offered by orlix-editor-s only, fourth from the top.
constexpr std::array kSpecial{kAcpiGroup, kFireGroup, kFireMode, kProfile, kReportRate,
                              kDefault,   kLedMode,   kCpi,      kCpiUp,   kCpiDown};
constexpr std::array kSpecialWithAim{kAcpiGroup, kFireGroup,  kFireMode, kAim,
                                     kProfile,   kReportRate, kDefault,  kLedMode,
                                     kCpi,       kCpiUp,      kCpiDown};

constexpr std::array kAcpi{
    MenuEntry{"Key_Power", tag::kPower, "Str221", Leaf},
    MenuEntry{"Key_Sleep", tag::kSleep, "Str222", Leaf},
    MenuEntry{"Key_WakeUp", tag::kWakeUp, "Str223", Leaf},
};

constexpr std::array kFire{
    MenuEntry{"Key_FireMode1", tag::kFireKey1, "Str231", Leaf},
    MenuEntry{"Key_FireMode2", tag::kFireKey1 + 1, "Str232", Leaf},
    MenuEntry{"Key_FireMode3", tag::kFireKey1 + 2, "Str233", Leaf},
    MenuEntry{"Key_FireMode4", tag::kFireKey1 + 3, "Str234", Leaf},
};

constexpr std::array kMedia{
    MenuEntry{"Key_PlayPause", tag::kPlayPause, "Str250", Leaf},
    MenuEntry{"Key_Stop", tag::kPlayPause + 1, "Str251", Leaf},
    MenuEntry{"Key_PreviousTrack", tag::kPlayPause + 2, "Str252", Leaf},
    MenuEntry{"Key_NextTrack", tag::kPlayPause + 3, "Str253", Leaf},
    MenuEntry{"Key_VolumePlus", tag::kPlayPause + 4, "Str254", Leaf},
    MenuEntry{"Key_VolumeMinus", tag::kPlayPause + 5, "Str255", Leaf},
    MenuEntry{"Key_Mute", tag::kPlayPause + 6, "Str256", Leaf},
};

constexpr std::array kWww{
    MenuEntry{"Key_WWWHome", tag::kWwwHome, "Str260", Leaf},
    MenuEntry{"Key_WWWSearch", tag::kWwwHome + 1, "Str261", Leaf},
    MenuEntry{"Key_WWWBack", tag::kWwwHome + 2, "Str262", Leaf},
    MenuEntry{"Key_WWWForward", tag::kWwwHome + 3, "Str263", Leaf},
    MenuEntry{"Key_WWWStop", tag::kWwwHome + 4, "Str264", Leaf},
    MenuEntry{"Key_WWWRefresh", tag::kWwwHome + 5, "Str265", Leaf},
    MenuEntry{"Key_WWWFavorites", tag::kWwwHome + 6, "Str266", Leaf},
};

} // namespace

std::string_view panelName(MenuPanel panel) {
    switch (panel) {
    case MenuPanel::LRM:
        return "Pnl_LRM";
    case MenuPanel::Main:
        return "Pnl_Main";
    case MenuPanel::MouseKeys:
        return "Pnl_MseKey";
    case MenuPanel::Special:
        return "Pnl_Special";
    case MenuPanel::Acpi:
        return "Pnl_ACPI";
    case MenuPanel::Media:
        return "Pnl_Media";
    case MenuPanel::Www:
        return "Pnl_WWW";
    case MenuPanel::Fire:
        return "Pnl_Fire";
    }
    return {};
}

std::span<const MenuEntry> menuEntries(MenuPanel panel, Edition edition) {
    switch (panel) {
    case MenuPanel::LRM:
        return kLrm;
    case MenuPanel::Main:
        return kMain;
    case MenuPanel::MouseKeys:
        return kMouseKeys;
    case MenuPanel::Special:
        if (traitsOf(edition).offersAimKey) return kSpecialWithAim;
        return kSpecial;
    case MenuPanel::Acpi:
        return kAcpi;
    case MenuPanel::Media:
        return kMedia;
    case MenuPanel::Www:
        return kWww;
    case MenuPanel::Fire:
        return kFire;
    }
    return {};
}

int panelWidth(MenuPanel panel) {
    return panel == MenuPanel::Main ? menu::kMainPanelWidth : menu::kPanelWidth;
}

int entryWidth(MenuPanel panel) {
    return panel == MenuPanel::Main ? menu::kMainEntryWidth : menu::kEntryWidth;
}

int mainPanelHeight(bool macroDevice) {
    return macroDevice ? menu::kMainHeightMacro : menu::kMainHeightBasic;
}

int specialPanelHeight(std::uint8_t startUpDataType) {
    return startUpDataType == 0x3A ? menu::kSpecialHeight3A : menu::kSpecialHeight1D;
}

int naturalPanelHeight(MenuPanel panel, Edition edition) {
    const auto count = static_cast<int>(menuEntries(panel, edition).size());
    return entryTop(count) + 1;
}

} // namespace orlix::pages
