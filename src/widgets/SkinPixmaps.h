#pragma once

#include "appearance/ResourceBundle.h"

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <string_view>

namespace orlix::pages {

// The skin's PNG resources as pixmaps, decoded once and kept. A resource that is missing or
// damaged gives a null pixmap and one warning on stderr; the control then shows nothing.
class SkinPixmaps {
public:
    explicit SkinPixmaps(const appearance::ResourceBundle& resources) : resources_(resources) {}

    QPixmap pixmap(std::string_view name) const;
    bool has(std::string_view name) const { return resources_.contains(name); }
    // A button image of skin set n: the set's own ("L2_SetS_01") where the skin brings one,
    // else the shared one ("SetS_01").
    std::string forSet(int n, std::string_view name) const;
    QImage image(std::string_view name) const;
    // The smallest rectangle holding every pixel of the image that is not fully transparent;
    // empty for a missing image.
    QRect opaqueBounds(std::string_view name) const;
    // A plate's solid body: the run of mostly opaque pixels through the middle of its middle
    // row, at the image's full height; the whole image when that row is not solid at its centre.
    QRect plateBody(std::string_view name) const;

private:
    const appearance::ResourceBundle& resources_;
    mutable QHash<QString, QPixmap> cache_;
};

} // namespace orlix::pages
