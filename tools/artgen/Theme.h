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

struct Skin {
    int number = 1; // background set 1..3: files L<number>_...
    QColor accent;
    Outline outline = Outline::Chamfered;
    LightStyle lights = LightStyle::RearArc;
    SkinLayout layout;
};

struct Edition {
    std::string name; // resource folder name
    bool colourKey = false;
    bool swatchFrame = false; // carries Col_F
    Corners corners = Corners::Chamfered;
    int pageButtonBody = 88; // visible width of the page-button plate inside its 125 px image
    std::array<Skin, 3> skins;
};

Edition editorEdition();
Edition editorSEdition();

} // namespace artgen
