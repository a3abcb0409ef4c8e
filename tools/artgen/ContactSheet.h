#pragma once

#include "ArtSet.h"
#include "Theme.h"

#include <QImage>

#include <vector>

namespace artgen {

// A mock-up of the window as the program will assemble it from the images: whole background,
// the page background at its position and the control images at the layout's positions, with
// stand-in captions. Colour-keyed pixels are shown as `seeThrough`.
QImage previewWindow(const Edition& e, const Skin& s, int page, const std::vector<Artwork>& art,
                     const QColor& seeThrough);

// The images smaller than a page, enlarged `zoom` times, in rows of at most `width` pixels.
QImage controlsSheet(const std::vector<Artwork>& art, int zoom, int width);

// All images of an edition on a neutral background, with window previews of every page of every
// skin, so that a person can judge the look and the alignment.
QImage contactSheet(const Edition& e, const std::vector<Artwork>& art);

} // namespace artgen
