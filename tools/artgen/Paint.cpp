#include "Paint.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace artgen {

QColor mix(const QColor& a, const QColor& b, double t) {
    const auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor withAlpha(const QColor& c, int alpha) {
    QColor out = c;
    out.setAlpha(std::clamp(alpha, 0, 255));
    return out;
}

namespace {
double snap(double v) {
    constexpr double grid = 1048576.0;
    return std::round(v * grid) / grid;
}
} // namespace

double sinDeg(double degrees) {
    return snap(std::sin(degrees * std::numbers::pi / 180.0));
}

double cosDeg(double degrees) {
    return snap(std::cos(degrees * std::numbers::pi / 180.0));
}

QImage canvas(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QPainterPath chamferRect(const QRectF& r, qreal topLeft, qreal topRight, qreal bottomRight,
                         qreal bottomLeft) {
    QPainterPath path;
    path.moveTo(r.left() + topLeft, r.top());
    path.lineTo(r.right() - topRight, r.top());
    path.lineTo(r.right(), r.top() + topRight);
    path.lineTo(r.right(), r.bottom() - bottomRight);
    path.lineTo(r.right() - bottomRight, r.bottom());
    path.lineTo(r.left() + bottomLeft, r.bottom());
    path.lineTo(r.left(), r.bottom() - bottomLeft);
    path.lineTo(r.left(), r.top() + topLeft);
    path.closeSubpath();
    return path;
}

QPainterPath chamferRect(const QRectF& r, qreal cut) {
    return chamferRect(r, cut, cut, cut, cut);
}

QPainterPath roundRect(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void fillVertical(QPainter& p, const QPainterPath& path, const QColor& top, const QColor& bottom) {
    const QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0.0, top);
    g.setColorAt(1.0, bottom);
    p.fillPath(path, g);
}

void strokeVertical(QPainter& p, const QPainterPath& path, const QColor& top, const QColor& bottom,
                    qreal width) {
    const QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0.0, top);
    g.setColorAt(1.0, bottom);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(g), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(path);
    p.restore();
}

void glow(QPainter& p, const QPainterPath& path, const QColor& color, qreal radius, int steps) {
    p.save();
    p.setBrush(Qt::NoBrush);
    const int perStep = std::max(1, color.alpha() / steps);
    for (int i = steps; i >= 1; --i) {
        const qreal w = 2.0 * radius * i / steps;
        p.setPen(QPen(withAlpha(color, perStep), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    p.restore();
}

void innerShadow(QPainter& p, const QPainterPath& path, qreal depth, int alpha) {
    p.save();
    p.setClipPath(path, Qt::IntersectClip);
    p.setBrush(Qt::NoBrush);
    const int steps = std::max(2, static_cast<int>(depth));
    const int perStep = std::max(1, alpha / steps);
    for (int i = steps; i >= 1; --i) {
        const qreal w = 2.0 * depth * i / steps;
        p.setPen(QPen(QColor(0, 0, 0, perStep), w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPath(path);
    }
    p.restore();
}

void radialSpot(QPainter& p, const QPointF& centre, qreal radiusX, qreal radiusY,
                const QColor& color) {
    p.save();
    p.translate(centre);
    p.scale(1.0, radiusY / radiusX);
    QRadialGradient g(QPointF(0, 0), radiusX);
    g.setColorAt(0.0, color);
    g.setColorAt(0.5, withAlpha(color, color.alpha() * 2 / 5));
    g.setColorAt(1.0, withAlpha(color, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), radiusX, radiusX);
    p.restore();
}

void dotGrid(QPainter& p, const QRectF& area, qreal step, const QColor& color) {
    p.save();
    p.setClipRect(area, Qt::IntersectClip);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (qreal y = area.top() + step / 2; y < area.bottom(); y += step)
        for (qreal x = area.left() + step / 2; x < area.right(); x += step)
            p.drawRect(QRectF(std::floor(x), std::floor(y), 1, 1));
    p.restore();
}

void ventSlots(QPainter& p, const QRectF& area, qreal pitch, const QColor& dark,
               const QColor& light) {
    p.save();
    p.setClipRect(area, Qt::IntersectClip);
    const qreal h = area.height();
    for (qreal x = area.left() - h; x < area.right() + h; x += pitch) {
        p.setPen(QPen(dark, 2.0));
        p.drawLine(QPointF(x, area.bottom()), QPointF(x + h * 0.6, area.top()));
        p.setPen(QPen(light, 1.0));
        p.drawLine(QPointF(x + 1.5, area.bottom()), QPointF(x + 1.5 + h * 0.6, area.top()));
    }
    p.restore();
}

void fadeLine(QPainter& p, const QPointF& from, const QPointF& to, const QColor& color,
              qreal width) {
    QLinearGradient g(from, to);
    g.setColorAt(0.0, withAlpha(color, 0));
    g.setColorAt(0.5, color);
    g.setColorAt(1.0, withAlpha(color, 0));
    p.save();
    p.setPen(QPen(QBrush(g), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, to);
    p.restore();
}

void avoidColour(QImage& image, QRgb key) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 255 && (line[x] & 0xFFFFFFu) == (key & 0xFFFFFFu)) {
                const int red = qRed(key) < 255 ? qRed(key) + 1 : qRed(key) - 1;
                line[x] = qRgba(red, qGreen(key), qBlue(key), 255);
            }
        }
    }
}

} // namespace artgen
