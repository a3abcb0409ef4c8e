#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace artgen {

// Line icons that stand in for section titles: the program draws all words itself, so the
// artwork says what a panel is for with pictures only.
enum class Icon {
    Pointer,     // pointer speed
    DoubleClick, // double-click speed
    Scroll,      // wheel scroll lines
    Sensor,      // resolution (CPI)
    Pulse,       // report rate
    Fire,        // fire keys
    Repeat,      // repeat count
    Timer,       // delay time
    Moon,        // light off hold
    RampUp,      // light rise step
    Sun,         // light on hold
    RampDown,    // light fall step
    Shuffle,     // random lighting
    Spectrum,    // colourful lighting
    Droplet,     // custom colour
    List,        // macro list
    Timeline,    // macro events
    Insert,      // insert into a macro
    Globe,       // support web page
    LinkOut,     // opens outside the program
    Slow,        // the low end of a scale
    Fast,        // the high end of a scale
};

void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& color, qreal width = 1.6);

} // namespace artgen
