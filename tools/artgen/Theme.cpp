#include "Theme.h"

#include <algorithm>
#include <cstdlib>

namespace artgen {

int pageButtonBodyFor(const SkinLayout& layout) {
    constexpr int kImageWidth = 125;
    int spacing = kImageWidth;
    for (const PageButton& a : layout.pageButtons)
        for (const PageButton& b : layout.pageButtons)
            if (a.number != b.number && a.pos.y == b.pos.y)
                spacing = std::min(spacing, std::abs(a.pos.x - b.pos.x));
    // Plates of neighbours keep two pixels apart, and the plate keeps a little of the image
    // free for the hover glow.
    return std::min(spacing - 2, kImageWidth - 7);
}

namespace {
void sizePlates(Edition& e) {
    int narrowest = 1000;
    for (Skin& s : e.skins) {
        s.pageButtonBody = pageButtonBodyFor(s.layout);
        narrowest = std::min(narrowest, s.pageButtonBody);
    }
    e.pageButtonBody = narrowest;
}
} // namespace

Edition editorEdition() {
    Edition e;
    e.name = "orlix-editor";
    e.colourKey = true;
    e.swatchFrame = true;
    e.corners = Corners::Chamfered;
    e.skins = {
        {{1, QColor(0, 214, 255), Outline::Chamfered, LightStyle::RearArc, editorLayout(1)},
         {2, QColor(255, 40, 72), Outline::Winged, LightStyle::Chevron, editorLayout(2)},
         {3, QColor(255, 170, 20), Outline::Console, LightStyle::SideStrips, editorLayout(3)}}};
    // Layouts 1 and 2 put page buttons 124 px apart, layout 3 only 90.
    sizePlates(e);
    return e;
}

Edition editorSEdition() {
    Edition e;
    e.name = "orlix-editor-s";
    e.colourKey = false;
    e.swatchFrame = false;
    e.corners = Corners::Rounded;
    const SkinLayout l = editorSLayout();
    e.skins = {{{1, QColor(40, 230, 140), Outline::Rectangle, LightStyle::SideStrips, l},
                {2, QColor(168, 110, 255), Outline::Rectangle, LightStyle::Chevron, l},
                {3, QColor(255, 122, 40), Outline::Rectangle, LightStyle::RearArc, l}}};
    // Its page buttons stand 95 px apart.
    sizePlates(e);
    return e;
}

} // namespace artgen
