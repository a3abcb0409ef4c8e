#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

#include <string_view>

namespace artgen {

// A 5 x 7 pixel font for the captions of the contact sheets. It is part of this program so the
// sheets look the same on every machine; lower case is drawn as upper case.
void drawTinyText(QImage& image, QPoint at, std::string_view text, const QColor& color,
                  int scale = 1);
int tinyTextWidth(std::string_view text, int scale = 1);

} // namespace artgen
