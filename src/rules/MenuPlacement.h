#pragma once

namespace orlix::pages {

// Window coordinates, as the layout gives them.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    friend bool operator==(const Box&, const Box&) = default;
};

struct Spot {
    int x = 0;
    int y = 0;
    friend bool operator==(const Spot&, const Spot&) = default;
};

namespace placement {
constexpr int kWindowHeight = 600;
constexpr int kOpenLeftFrom = 400; // labels and menus at or right of this open leftwards
} // namespace placement

// Where a key label's menu opens: its top-left corner at the label's centre, moved left by
// the width of Pnl_Main for labels in the right half; Pnl_Main (never Pnl_LRM) moves up by
// its own height when it would reach the window's bottom.
Spot keyMenuPosition(const Box& label, bool primaryMenu, int mainPanelHeight);

// A group panel opened from an entry of Pnl_Main (`entry` relative to the panel): beside the
// entry, on the side away from the window's edge, raised to end with the entry when it would
// reach the window's bottom.
Spot groupPanelPosition(const Box& mainPanel, const Box& entry, int panelHeight);

// Pnl_ACPI or Pnl_Fire beside their entry of Pnl_Special (`entry` relative to that panel);
// they open leftwards when Pnl_Main does.
Spot specialSubPanelPosition(const Box& specialPanel, const Box& entry, const Box& mainPanel);

} // namespace orlix::pages
