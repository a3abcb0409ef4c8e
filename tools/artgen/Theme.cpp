#include "Theme.h"

namespace artgen {

Edition editorEdition() {
    Edition e;
    e.name = "orlix-editor";
    e.colourKey = true;
    e.swatchFrame = true;
    e.corners = Corners::Chamfered;
    // Layout 3 puts page buttons 90 px apart, so the plate must stay narrower than that.
    e.pageButtonBody = 88;
    e.skins = {
        {{1, QColor(0, 214, 255), Outline::Chamfered, LightStyle::RearArc, editorLayout(1)},
         {2, QColor(255, 40, 72), Outline::Winged, LightStyle::Chevron, editorLayout(2)},
         {3, QColor(255, 170, 20), Outline::Console, LightStyle::SideStrips, editorLayout(3)}}};
    return e;
}

Edition editorSEdition() {
    Edition e;
    e.name = "orlix-editor-s";
    e.colourKey = false;
    e.swatchFrame = false;
    e.corners = Corners::Rounded;
    // Its page buttons stand 95 px apart.
    e.pageButtonBody = 92;
    const SkinLayout l = editorSLayout();
    e.skins = {{{1, QColor(40, 230, 140), Outline::Rectangle, LightStyle::SideStrips, l},
                {2, QColor(168, 110, 255), Outline::Rectangle, LightStyle::Chevron, l},
                {3, QColor(255, 122, 40), Outline::Rectangle, LightStyle::RearArc, l}}};
    return e;
}

} // namespace artgen
