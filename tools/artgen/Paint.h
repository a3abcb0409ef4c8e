#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace artgen {

// The neutral greys every skin shares; the accent colour is the only thing that changes hue.
namespace ink {
inline const QColor void0{7, 8, 10};
inline const QColor deep{12, 14, 17};
inline const QColor base{17, 19, 23};
inline const QColor panel{24, 27, 32};
inline const QColor raised{33, 37, 44};
inline const QColor edge{50, 56, 65};
inline const QColor hairline{74, 82, 94};
inline const QColor steel{128, 138, 152};
inline const QColor frost{214, 222, 232};
} // namespace ink

QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(const QColor& c, int alpha);

// Sine and cosine of an angle in degrees, snapped to a fine grid so that the last-bit
// differences between libm variants can never reach the pixels.
double sinDeg(double degrees);
double cosDeg(double degrees);

// A premultiplied canvas filled with one colour; painting happens on these.
QImage canvas(int width, int height, const QColor& fill = Qt::transparent);

QPainterPath chamferRect(const QRectF& r, qreal topLeft, qreal topRight, qreal bottomRight,
                         qreal bottomLeft);
QPainterPath chamferRect(const QRectF& r, qreal cut);
QPainterPath roundRect(const QRectF& r, qreal radius);

// Fills a path with a vertical gradient spanning the path's bounds.
void fillVertical(QPainter& p, const QPainterPath& path, const QColor& top, const QColor& bottom);
// Strokes the outline with a pen that runs from `top` at the upper edge to `bottom` at the lower.
void strokeVertical(QPainter& p, const QPainterPath& path, const QColor& top, const QColor& bottom,
                    qreal width = 1.0);
// A soft halo around a path, built from stacked translucent strokes.
void glow(QPainter& p, const QPainterPath& path, const QColor& color, qreal radius, int steps = 10);
// Darkens the inside of a path along its edges, for recessed wells.
void innerShadow(QPainter& p, const QPainterPath& path, qreal depth, int alpha);
// A radial spot of colour fading to nothing.
void radialSpot(QPainter& p, const QPointF& centre, qreal radiusX, qreal radiusY,
                const QColor& color);
// A faint square grid of dots, clipped to `area`.
void dotGrid(QPainter& p, const QRectF& area, qreal step, const QColor& color);
// Thin diagonal slots, like a vent grille, inside `area`.
void ventSlots(QPainter& p, const QRectF& area, qreal pitch, const QColor& dark,
               const QColor& light);
// A horizontal hairline that is brightest in the middle and fades out to both ends.
void fadeLine(QPainter& p, const QPointF& from, const QPointF& to, const QColor& color,
              qreal width = 1.0);

// Replaces every opaque pixel of exactly `key` by a neighbouring shade, so that a colour key
// never punches holes into artwork that is meant to be solid.
void avoidColour(QImage& image, QRgb key);

} // namespace artgen
