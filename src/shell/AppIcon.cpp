#include "shell/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace orlix::shell {

namespace {

QPixmap drawIcon(int size, const QColor& accent) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QPointF centre(s / 2, s / 2);

    QPainterPath hexagon;
    for (int i = 0; i < 6; ++i) {
        const double angle = (60.0 * i - 90.0) * M_PI / 180.0;
        const QPointF corner(centre.x() + 0.47 * s * std::cos(angle),
                             centre.y() + 0.47 * s * std::sin(angle));
        if (i == 0)
            hexagon.moveTo(corner);
        else
            hexagon.lineTo(corner);
    }
    hexagon.closeSubpath();
    QLinearGradient body(0, 0, 0, s);
    body.setColorAt(0, QColor(44, 48, 56));
    body.setColorAt(1, QColor(16, 18, 22));
    p.fillPath(hexagon, body);
    p.setPen(QPen(accent, std::max(1.0, s / 16)));
    p.drawPath(hexagon);

    // The mouse: a rounded shell with the split between the two main buttons and a wheel.
    const QRectF shell(s * 0.34, s * 0.24, s * 0.32, s * 0.52);
    p.setPen(QPen(QColor(230, 236, 242), std::max(1.0, s / 20)));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(shell, shell.width() / 2, shell.width() / 2);
    p.drawLine(QPointF(centre.x(), shell.top()),
               QPointF(centre.x(), shell.top() + shell.height() * 0.38));
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRoundedRect(QRectF(centre.x() - s * 0.03, shell.top() + shell.height() * 0.12, s * 0.06,
                             shell.height() * 0.18),
                      s * 0.03, s * 0.03);
    return pixmap;
}

} // namespace

QIcon applicationIcon(Edition edition) {
    // Cyan for orlix-editor, emerald for orlix-editor-s: the accents of their first skins.
    const QColor accent = edition == Edition::Editor ? QColor(0, 214, 255) : QColor(40, 230, 140);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawIcon(size, accent));
    return icon;
}

} // namespace orlix::shell
