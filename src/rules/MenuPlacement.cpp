#include "rules/MenuPlacement.h"

#include "rules/MenuCatalog.h"

namespace orlix::pages {

namespace {

// The leftward offset of a group panel: it overlaps Pnl_Main by this much.
constexpr int kGroupOverlap = 26;

} // namespace

Spot keyMenuPosition(const Box& label, bool primaryMenu, int mainPanelHeight) {
    const int cx = label.x + label.width / 2;
    const int cy = label.y + label.height / 2;
    Spot at{cx, cy};
    if (label.x >= placement::kOpenLeftFrom) at.x = cx - menu::kMainPanelWidth;
    if (!primaryMenu && label.y + mainPanelHeight >= placement::kWindowHeight)
        at.y = cy - mainPanelHeight;
    return at;
}

Spot groupPanelPosition(const Box& mainPanel, const Box& entry, int panelHeight) {
    Spot at;
    if (mainPanel.x >= placement::kOpenLeftFrom)
        at.x = mainPanel.x - entry.right() + kGroupOverlap;
    else
        at.x = mainPanel.x + entry.right();
    at.y = mainPanel.y + entry.y;
    if (at.y + panelHeight >= placement::kWindowHeight)
        at.y = mainPanel.y + entry.bottom() - panelHeight;
    return at;
}

Spot specialSubPanelPosition(const Box& specialPanel, const Box& entry, const Box& mainPanel) {
    Spot at;
    if (mainPanel.x >= placement::kOpenLeftFrom)
        at.x = specialPanel.x - entry.right();
    else
        at.x = specialPanel.x + entry.right();
    at.y = specialPanel.y + entry.y;
    return at;
}

} // namespace orlix::pages
