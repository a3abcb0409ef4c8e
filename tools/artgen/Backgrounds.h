#pragma once

#include "Theme.h"

#include <QImage>
#include <QPainterPath>
#include <QRectF>

namespace artgen {

// The regions of a skin's whole-window background.
struct BaseGeometry {
    QPainterPath silhouette; // inside of the window; everything else is see-through
    QRectF header;
    QRectF sidebar;
    QRectF content;  // where the pages appear
    QRectF deck;     // holds the page, profile and language buttons
    QRectF deckSide; // the rest of the deck's band, empty in some skins
};

BaseGeometry baseGeometry(const Edition& e, const Skin& s);

// The 800 x 600 whole-window background. With a colour key, every pixel outside the silhouette
// is exactly kColourKey and no pixel inside is.
QImage wholeBackground(const Edition& e, const Skin& s);

// Page n (1..4) background. It is cut from the whole-window background at the page's position,
// so that page edges never show, and the page's own panels are drawn over it.
QImage pageBackground(const Edition& e, const Skin& s, int page, const QImage& whole);

// The page's size and window position.
QRect pageRect(const Skin& s, int page);

} // namespace artgen
