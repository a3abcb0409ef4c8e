#pragma once

#include "MouseArt.h"
#include "SkinLayout.h"

#include <QColor>
#include <QRgb>

#include <array>
#include <string>

namespace artgen {

// The window's transparent colour: the platform colour value 0x000080, which is red 128,
// green 0, blue 0 (colour values are red + 256 x green + 65536 x blue). Pixels of exactly this
// colour in the whole-window background are see-through; no other pixel may have it.
inline constexpr QRgb kColourKey = qRgb(128, 0, 0);

// The window silhouette a skin cuts out of the 800 x 600 rectangle.
enum class Outline { Chamfered, Winged, Console, Rectangle };
// The corner style of the buttons an edition shares among its skins.
enum class Corners { Chamfered, Rounded };

// The window buttons' image: as wide as the sidebar allows, so that their captions stand at
// the layout's text size.
inline constexpr int kWindowButtonWidth = 77;
inline constexpr int kWindowButtonHeight = 30;

struct Skin {
    int number = 1; // background set 1..3: files L<number>_...
    QColor accent;
    Outline outline = Outline::Chamfered;
    LightStyle lights = LightStyle::RearArc;
    SkinLayout layout;
    // Visible width of the page-button plate in this skin's layout; the skin gets page-button
    // images of its own ("L1_SetS_01") when it differs from the edition's shared one.
    int pageButtonBody = 88;
};

struct Edition {
    std::string name; // resource folder name
    bool colourKey = false;
    bool swatchFrame = false; // carries Col_F
    Corners corners = Corners::Chamfered;
    int pageButtonBody = 88; // plate of the shared "SetS" images: the narrowest skin's
    std::array<Skin, 3> skins;
};

// The widest plate that leaves a gap between the page buttons of one row of a layout.
int pageButtonBodyFor(const SkinLayout& layout);

Edition editorEdition();
Edition editorSEdition();

} // namespace artgen
