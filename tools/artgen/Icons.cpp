#include "Icons.h"

#include "Paint.h"

#include <QPainterPath>

namespace artgen {
namespace {

// Icons are designed on a 24 x 24 grid and scaled into the box.
QPointF at(const QRectF& box, qreal x, qreal y) {
    return {box.left() + x * box.width() / 24.0, box.top() + y * box.height() / 24.0};
}

QPainterPath arcPath(const QRectF& box, qreal cx, qreal cy, qreal r, qreal fromDeg, qreal toDeg) {
    QPainterPath path;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const qreal a = fromDeg + (toDeg - fromDeg) * i / steps;
        const QPointF pt = at(box, cx + r * cosDeg(a), cy - r * sinDeg(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    return path;
}

void chevron(QPainter& p, const QRectF& box, qreal x, qreal y, qreal size) {
    QPainterPath c;
    c.moveTo(at(box, x - size / 2, y - size));
    c.lineTo(at(box, x + size / 2, y));
    c.lineTo(at(box, x - size / 2, y + size));
    p.drawPath(c);
}

} // namespace

void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& color, qreal width) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QColor fill = withAlpha(color, color.alpha() / 4);

    switch (icon) {
    case Icon::Pointer: {
        QPainterPath a;
        a.moveTo(at(box, 6, 3));
        a.lineTo(at(box, 6, 19));
        a.lineTo(at(box, 10, 15.5));
        a.lineTo(at(box, 13, 21.5));
        a.lineTo(at(box, 15.5, 20.3));
        a.lineTo(at(box, 12.6, 14.3));
        a.lineTo(at(box, 18, 14));
        a.closeSubpath();
        p.setBrush(fill);
        p.drawPath(a);
        break;
    }
    case Icon::DoubleClick: {
        QPainterPath a;
        a.moveTo(at(box, 9, 9));
        a.lineTo(at(box, 9, 22));
        a.lineTo(at(box, 12, 19));
        a.lineTo(at(box, 14.5, 23));
        a.lineTo(at(box, 16.5, 22));
        a.lineTo(at(box, 14.3, 18));
        a.lineTo(at(box, 18.5, 17.8));
        a.closeSubpath();
        p.setBrush(fill);
        p.drawPath(a);
        p.setBrush(Qt::NoBrush);
        p.drawPath(arcPath(box, 9, 9, 4.5, 100, 350));
        p.drawPath(arcPath(box, 9, 9, 8, 110, 340));
        break;
    }
    case Icon::Scroll: {
        p.drawRoundedRect(QRectF(at(box, 7, 3), at(box, 17, 21)), box.width() * 5 / 24,
                          box.width() * 5 / 24);
        p.drawLine(at(box, 12, 7), at(box, 12, 11));
        QPainterPath up;
        up.moveTo(at(box, 20, 7));
        up.lineTo(at(box, 22, 4.5));
        up.lineTo(at(box, 24, 7));
        p.drawPath(up);
        QPainterPath down;
        down.moveTo(at(box, 20, 17));
        down.lineTo(at(box, 22, 19.5));
        down.lineTo(at(box, 24, 17));
        p.drawPath(down);
        break;
    }
    case Icon::Sensor: {
        p.drawEllipse(QRectF(at(box, 5, 5), at(box, 19, 19)));
        p.drawLine(at(box, 12, 1.5), at(box, 12, 7.5));
        p.drawLine(at(box, 12, 16.5), at(box, 12, 22.5));
        p.drawLine(at(box, 1.5, 12), at(box, 7.5, 12));
        p.drawLine(at(box, 16.5, 12), at(box, 22.5, 12));
        p.setBrush(color);
        p.drawEllipse(at(box, 12, 12), box.width() / 24 * 1.6, box.width() / 24 * 1.6);
        break;
    }
    case Icon::Pulse: {
        QPainterPath w;
        w.moveTo(at(box, 1, 13));
        w.lineTo(at(box, 6, 13));
        w.lineTo(at(box, 8.5, 6));
        w.lineTo(at(box, 12, 20));
        w.lineTo(at(box, 15, 3));
        w.lineTo(at(box, 17.5, 13));
        w.lineTo(at(box, 23, 13));
        p.drawPath(w);
        break;
    }
    case Icon::Fire: {
        // A bolt with speed lines: rapid repeated clicks.
        QPainterPath bolt;
        bolt.moveTo(at(box, 15, 1.5));
        bolt.lineTo(at(box, 8, 13.5));
        bolt.lineTo(at(box, 13, 13.5));
        bolt.lineTo(at(box, 10.5, 22.5));
        bolt.lineTo(at(box, 19.5, 9.5));
        bolt.lineTo(at(box, 14.2, 9.5));
        bolt.closeSubpath();
        p.setBrush(fill);
        p.drawPath(bolt);
        p.drawLine(at(box, 1.5, 8), at(box, 6, 8));
        p.drawLine(at(box, 0.5, 13.5), at(box, 4, 13.5));
        p.drawLine(at(box, 1.5, 19), at(box, 6, 19));
        break;
    }
    case Icon::Repeat: {
        p.drawPath(arcPath(box, 12, 12, 7.5, 30, 160));
        p.drawPath(arcPath(box, 12, 12, 7.5, 210, 340));
        QPainterPath h1;
        h1.moveTo(at(box, 15.5, 3.2));
        h1.lineTo(at(box, 18.6, 8.2));
        h1.lineTo(at(box, 13.2, 8.8));
        p.drawPath(h1);
        QPainterPath h2;
        h2.moveTo(at(box, 8.5, 20.8));
        h2.lineTo(at(box, 5.4, 15.8));
        h2.lineTo(at(box, 10.8, 15.2));
        p.drawPath(h2);
        break;
    }
    case Icon::Timer: {
        p.drawEllipse(QRectF(at(box, 4, 5.5), at(box, 20, 21.5)));
        p.drawLine(at(box, 10, 2), at(box, 14, 2));
        p.drawLine(at(box, 12, 2), at(box, 12, 5.5));
        p.drawLine(at(box, 12, 13.5), at(box, 12, 9));
        p.drawLine(at(box, 12, 13.5), at(box, 15, 15.5));
        p.drawLine(at(box, 18.5, 5.5), at(box, 20, 7));
        break;
    }
    case Icon::Moon: {
        QPainterPath m = arcPath(box, 12, 12, 8.5, 60, 300);
        QPainterPath inner = arcPath(box, 15.5, 11, 6.5, 230, 130);
        m.connectPath(inner);
        m.closeSubpath();
        p.setBrush(fill);
        p.drawPath(m);
        break;
    }
    case Icon::RampUp:
    case Icon::RampDown: {
        const bool up = icon == Icon::RampUp;
        QPainterPath r;
        r.moveTo(at(box, 2, up ? 19 : 6));
        r.lineTo(at(box, 7, up ? 19 : 6));
        r.lineTo(at(box, 17, up ? 6 : 19));
        r.lineTo(at(box, 22, up ? 6 : 19));
        p.drawPath(r);
        p.setPen(QPen(withAlpha(color, color.alpha() / 2), width * 0.7, Qt::DotLine, Qt::RoundCap));
        p.drawLine(at(box, 2, 21.5), at(box, 22, 21.5));
        break;
    }
    case Icon::Sun: {
        p.setBrush(fill);
        p.drawEllipse(at(box, 12, 12), box.width() * 4.5 / 24, box.height() * 4.5 / 24);
        for (int i = 0; i < 8; ++i) {
            const qreal a = 45.0 * i;
            p.drawLine(at(box, 12 + 7.5 * cosDeg(a), 12 - 7.5 * sinDeg(a)),
                       at(box, 12 + 10.5 * cosDeg(a), 12 - 10.5 * sinDeg(a)));
        }
        break;
    }
    case Icon::Shuffle: {
        QPainterPath s1;
        s1.moveTo(at(box, 2, 7));
        s1.cubicTo(at(box, 10, 7), at(box, 12, 17), at(box, 20, 17));
        p.drawPath(s1);
        QPainterPath s2;
        s2.moveTo(at(box, 2, 17));
        s2.cubicTo(at(box, 10, 17), at(box, 12, 7), at(box, 20, 7));
        p.drawPath(s2);
        chevron(p, box, 20.5, 7, 3);
        chevron(p, box, 20.5, 17, 3);
        break;
    }
    case Icon::Spectrum: {
        const QColor hues[3] = {QColor(255, 70, 90), QColor(80, 230, 120), QColor(70, 140, 255)};
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(withAlpha(hues[i], color.alpha()), width, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(arcPath(box, 12, 17, 10.0 - 3.0 * i, 0, 180));
        }
        break;
    }
    case Icon::Droplet: {
        QPainterPath d;
        d.moveTo(at(box, 12, 2.5));
        d.cubicTo(at(box, 15, 7), at(box, 19, 11), at(box, 19, 15));
        d.cubicTo(at(box, 19, 19), at(box, 16, 22), at(box, 12, 22));
        d.cubicTo(at(box, 8, 22), at(box, 5, 19), at(box, 5, 15));
        d.cubicTo(at(box, 5, 11), at(box, 9, 7), at(box, 12, 2.5));
        p.setBrush(fill);
        p.drawPath(d);
        break;
    }
    case Icon::List: {
        for (int i = 0; i < 4; ++i) {
            const qreal y = 5.0 + 4.7 * i;
            p.drawPoint(at(box, 4, y));
            p.drawLine(at(box, 8, y), at(box, i % 2 ? 17 : 21, y));
        }
        break;
    }
    case Icon::Timeline: {
        p.drawLine(at(box, 5, 2), at(box, 5, 22));
        for (int i = 0; i < 3; ++i) {
            const qreal y = 5.5 + 6.5 * i;
            p.setBrush(i == 1 ? color : fill);
            p.drawEllipse(at(box, 5, y), box.width() * 2 / 24, box.width() * 2 / 24);
            p.drawLine(at(box, 10, y), at(box, i == 2 ? 16 : 21, y));
        }
        break;
    }
    case Icon::Insert: {
        p.drawLine(at(box, 3, 6), at(box, 14, 6));
        p.drawLine(at(box, 3, 18), at(box, 14, 18));
        p.drawLine(at(box, 3, 12), at(box, 9, 12));
        p.drawLine(at(box, 18, 8), at(box, 18, 16));
        p.drawLine(at(box, 14, 12), at(box, 22, 12));
        break;
    }
    case Icon::Globe: {
        p.drawEllipse(QRectF(at(box, 3, 3), at(box, 21, 21)));
        p.drawEllipse(QRectF(at(box, 8, 3), at(box, 16, 21)));
        p.drawLine(at(box, 3, 12), at(box, 21, 12));
        p.drawLine(at(box, 12, 3), at(box, 12, 21));
        p.drawPath(arcPath(box, 12, 26, 17, 60, 120));
        p.drawPath(arcPath(box, 12, -2, 17, 240, 300));
        break;
    }
    case Icon::LinkOut: {
        QPainterPath frame;
        frame.moveTo(at(box, 11, 5));
        frame.lineTo(at(box, 5, 5));
        frame.lineTo(at(box, 5, 19));
        frame.lineTo(at(box, 19, 19));
        frame.lineTo(at(box, 19, 13));
        p.drawPath(frame);
        p.drawLine(at(box, 11, 13), at(box, 20, 4));
        QPainterPath head;
        head.moveTo(at(box, 14, 4));
        head.lineTo(at(box, 20, 4));
        head.lineTo(at(box, 20, 10));
        p.drawPath(head);
        break;
    }
    case Icon::Slow:
        chevron(p, box, 12, 12, 5);
        break;
    case Icon::Fast:
        chevron(p, box, 6, 12, 5);
        chevron(p, box, 12, 12, 5);
        chevron(p, box, 18, 12, 5);
        break;
    }
    p.restore();
}

} // namespace artgen
