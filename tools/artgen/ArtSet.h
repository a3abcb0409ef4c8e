#pragma once

#include "Theme.h"

#include <QImage>

#include <string>
#include <vector>

namespace artgen {

struct Artwork {
    std::string name; // resource name, also the file name without ".png"
    QImage image;     // Format_ARGB32
};

// Every image resource of one edition, in a fixed order.
std::vector<Artwork> renderEdition(const Edition& e);

} // namespace artgen
