#include "rules/PageRules.h"

#include <algorithm>
#include <array>

namespace orlix::pages {

namespace {

constexpr std::array<PageInfo, 6> kPages{{
    {Page::Main, "rb_1", "Btn_Main", "Img_Main", 1, true, 0},
    {Page::Switch, "rb_2", "Btn_Switch", "Img_Switch", 1, true, 1},
    {Page::Fixed, "rb_3", "Btn_Fixed", "Img_Fixed", 1, false, 2},
    {Page::Advanced, "rb_4", "Btn_Adv", "Img_Adv", 2, true, std::nullopt},
    {Page::Breath, "rb_5", "Btn_Breath", "Img_Breath", 3, true, std::nullopt},
    {Page::Macro, "rb_6", "Btn_Macro", "Img_Macro", 4, true, std::nullopt},
}};

} // namespace

const PageInfo& pageInfo(Page page) {
    return kPages[static_cast<std::size_t>(page) - 1];
}

std::optional<Page> pageForButton(std::string_view buttonName) {
    for (const auto& info : kPages)
        if (info.button == buttonName) return info.page;
    return std::nullopt;
}

std::optional<Page> pageForProfile(int activeProfile) {
    switch (activeProfile) {
    case 0:
        return Page::Main;
    case 1:
        return Page::Switch;
    case 2:
        return Page::Fixed;
    default:
        return std::nullopt;
    }
}

bool profileEditable(Page page) {
    return page == Page::Main || page == Page::Switch;
}

bool anyNameIs(const std::array<std::string, kButtonCount>& names, std::string_view name) {
    if (name.empty()) return false;
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return n == name; });
}

PageRefusal checkPageButton(Page page, const PageContext& c) {
    if (!c.linkOpen) return PageRefusal::DeviceNotFound;
    if (c.errorState) return PageRefusal::ErrorState;
    if (page == Page::Switch &&
        (c.profile1Names == nullptr || !anyNameIs(*c.profile1Names, c.alternateProfileName)))
        return PageRefusal::AlternateMissing;
    if (page == Page::Fixed &&
        (c.profile2Names == nullptr || !anyNameIs(*c.profile2Names, c.alternateResetName)))
        return PageRefusal::ResetKeyMissing;
    return PageRefusal::None;
}

std::vector<PlacedPageButton> placeNeededPageButtons(const NeededPagesInput& in) {
    std::vector<Page> needed;
    if (in.mouseHasLighting && !in.layoutShowsBreath) needed.push_back(Page::Breath);
    if (in.macroDevice && !in.layoutShowsMacro) needed.push_back(Page::Macro);
    std::vector<PlacedPageButton> placed;
    if (needed.empty() || in.shown.empty() || in.plateWidth <= 0) return placed;

    // The rows from the top, each with its buttons from the left.
    std::vector<std::vector<ButtonSpot>> rows;
    std::vector<ButtonSpot> spots = in.shown;
    std::sort(spots.begin(), spots.end(), [](const ButtonSpot& a, const ButtonSpot& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    for (const ButtonSpot& s : spots) {
        if (rows.empty() || rows.back().front().y != s.y) rows.emplace_back();
        rows.back().push_back(s);
    }

    std::size_t next = 0;
    for (auto& row : rows) {
        // The row's own spacing (its closest neighbours); a lone button is followed at one
        // plate's width.
        int spacing = 0;
        for (std::size_t i = 1; i < row.size(); ++i) {
            const int d = row[i].x - row[i - 1].x;
            if (d > 0 && (spacing == 0 || d < spacing)) spacing = d;
        }
        if (spacing == 0) spacing = in.plateWidth;
        // A wider added plate starts where the row's next plate would, and pushes the next
        // one on by what it is wider.
        int widerBy = 0, firstShift = 0;
        if (in.rowPlateBody > 0 && in.addedPlateBody > in.rowPlateBody) {
            widerBy = in.addedPlateBody - in.rowPlateBody;
            firstShift =
                (in.plateWidth - in.rowPlateBody) / 2 - (in.plateWidth - in.addedPlateBody) / 2;
        }
        ButtonSpot at = row.back();
        int step = spacing + firstShift;
        while (next < needed.size()) {
            at.x += step;
            step = spacing + widerBy;
            if (at.x + in.plateWidth > in.windowWidth) break;
            placed.push_back({needed[next++], at});
        }
        if (next == needed.size()) break;
    }
    return placed;
}

} // namespace orlix::pages
