#include "MouseArt.h"

#include "Paint.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace artgen {
namespace {

constexpr qreal kLength = 302;
constexpr qreal kGap = 11; // half width of the channel between the main buttons

struct Frame {
    qreal cx;
    qreal top;
    QPointF operator()(qreal dx, qreal dy) const { return {cx + dx, top + dy}; }
};

QPainterPath bodyPath(const Frame& f) {
    QPainterPath path;
    path.moveTo(f(0, 0));
    path.cubicTo(f(34, -1), f(62, 4), f(72, 30));
    path.cubicTo(f(80, 52), f(76, 96), f(74, 128));
    path.cubicTo(f(72, 160), f(90, 190), f(88, 232));
    path.cubicTo(f(86, 276), f(54, kLength), f(0, kLength));
    path.cubicTo(f(-54, kLength), f(-86, 276), f(-88, 232));
    path.cubicTo(f(-90, 190), f(-72, 160), f(-74, 128));
    path.cubicTo(f(-76, 96), f(-80, 52), f(-72, 30));
    path.cubicTo(f(-62, 4), f(-34, -1), f(0, 0));
    path.closeSubpath();
    return path;
}

// The curve where the main buttons end and the palm rest begins.
QPainterPath boundaryCurve(const Frame& f) {
    QPainterPath c;
    c.moveTo(f(-100, 112));
    c.cubicTo(f(-40, 156), f(40, 156), f(100, 112));
    return c;
}

QPainterPath buttonsArea(const Frame& f) {
    QPainterPath above = boundaryCurve(f);
    above.lineTo(f(100, -20));
    above.lineTo(f(-100, -20));
    above.closeSubpath();
    return bodyPath(f).intersected(above);
}

QPainterPath halfPlane(const Frame& f, bool left, qreal inset) {
    QPainterPath r;
    if (left)
        r.addRect(QRectF(f(-120, -30), f(-kGap - inset, 200)));
    else
        r.addRect(QRectF(f(kGap + inset, -30), f(120, 200)));
    return r;
}

QPainterPath sideButton(const Frame& f, bool front) {
    QPainterPath path;
    if (front)
        path.addRoundedRect(QRectF(f(-89, 158), f(-72, 196)), 7, 7);
    else
        path.addRoundedRect(QRectF(f(-93, 201), f(-76, 241)), 7, 7);
    return path;
}

QPainterPath fireButton(const Frame& f) {
    QPainterPath path;
    path.moveTo(f(-58, 66));
    path.cubicTo(f(-50, 70), f(-49, 86), f(-55, 94));
    path.cubicTo(f(-60, 97), f(-66, 94), f(-66, 86));
    path.cubicTo(f(-67, 76), f(-64, 66), f(-58, 66));
    path.closeSubpath();
    return path;
}

QPainterPath cpiButton(const Frame& f, bool up) {
    QPainterPath path;
    const qreal y = up ? 97 : 120;
    path.addRoundedRect(QRectF(f(-6.5, y), f(6.5, y + 17)), 4, 4);
    return path;
}

QPainterPath wheelPath(const Frame& f) {
    QPainterPath path;
    path.addRoundedRect(QRectF(f(-7, 33), f(7, 84)), 6, 6);
    return path;
}

bool has(const std::vector<MouseControl>& v, MouseControl c) {
    return std::find(v.begin(), v.end(), c) != v.end();
}

void drawCap(QPainter& p, const QPainterPath& cap, const QColor& accent, bool litEdge) {
    const QRectF b = cap.boundingRect();
    // The light leaks out around the cap, so it goes underneath.
    if (litEdge) glow(p, cap, withAlpha(accent, 110), 3.5, 5);
    QLinearGradient g(b.topLeft(), b.bottomRight());
    g.setColorAt(0.0, QColor(84, 92, 106));
    g.setColorAt(1.0, QColor(28, 31, 37));
    p.fillPath(cap, g);
    strokeVertical(p, cap, QColor(170, 180, 196), QColor(12, 13, 16), 1.0);
}

} // namespace

QPointF controlAnchor(MouseControl control, const MousePlacement& at) {
    const Frame f{at.centreX, at.front};
    switch (control) {
    case MouseControl::LeftButton:
        return f(-44, 47);
    case MouseControl::RightButton:
        return f(44, 53);
    case MouseControl::Wheel:
        return f(0, 58);
    case MouseControl::CpiUp:
        return f(0, 105.5);
    case MouseControl::CpiDown:
        return f(0, 128.5);
    case MouseControl::SideFront:
        return f(-81, 177);
    case MouseControl::SideRear:
        return f(-85, 221);
    case MouseControl::Fire:
        return f(-58, 81);
    }
    return f(0, 0);
}

void drawMouse(QPainter& p, const MousePlacement& at, const std::vector<MouseControl>& controls,
               const QColor& accent, LightStyle lights) {
    const Frame f{at.centreX, at.front};
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);

    const QPainterPath body = bodyPath(f);

    // Cable, leaving the front and fading into the page.
    {
        QPainterPath cable;
        cable.moveTo(f(0, 2));
        cable.cubicTo(f(0, -14), f(10, -22), f(12, -34));
        cable.cubicTo(f(14, -44), f(6, -50), f(4, -60));
        QLinearGradient g(f(0, 0), f(0, -46));
        g.setColorAt(0.0, QColor(58, 64, 74));
        g.setColorAt(1.0, QColor(58, 64, 74, 0));
        p.setPen(QPen(QBrush(g), 4.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(cable);
        QLinearGradient h(f(0, 0), f(0, -46));
        h.setColorAt(0.0, QColor(140, 150, 166, 120));
        h.setColorAt(1.0, QColor(140, 150, 166, 0));
        p.setPen(QPen(QBrush(h), 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(cable.translated(-1, 0));
    }

    // Underglow from the lighting strip, then a contact shadow.
    glow(p, body, withAlpha(accent, 84), 24, 16);
    glow(p, body.translated(0, 5), QColor(0, 0, 0, 160), 7, 7);

    // Side buttons sit under the shell's edge and show as grips on the flank.
    for (bool front : {true, false}) {
        const MouseControl c = front ? MouseControl::SideFront : MouseControl::SideRear;
        if (has(controls, c)) drawCap(p, sideButton(f, front), accent, true);
    }

    // Shell.
    {
        QRadialGradient g(f(-24, 190), 210);
        g.setColorAt(0.0, QColor(50, 56, 66));
        g.setColorAt(0.6, QColor(30, 34, 40));
        g.setColorAt(1.0, QColor(15, 17, 20));
        p.fillPath(body, g);
    }

    // Palm rest: a soft reflection and a subtle hexagon texture.
    {
        p.save();
        p.setClipPath(body);
        radialSpot(p, f(-26, 200), 46, 78, QColor(255, 255, 255, 30));
        QPainterPath hexes;
        const qreal s = 7.0;
        for (int row = 0; row < 9; ++row) {
            for (int col = -4; col <= 4; ++col) {
                const qreal x = col * s * 1.75 + (row % 2 ? s * 0.875 : 0);
                const qreal y = 190 + row * s * 1.5;
                for (int k = 0; k <= 6; ++k) {
                    const qreal a = 30.0 + 60.0 * k;
                    const QPointF pt = f(x + s * 0.8 * cosDeg(a), y + s * 0.8 * sinDeg(a));
                    if (k == 0)
                        hexes.moveTo(pt);
                    else
                        hexes.lineTo(pt);
                }
            }
        }
        QRadialGradient fade(f(0, 245), 80);
        fade.setColorAt(0.0, QColor(255, 255, 255, 20));
        fade.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(QPen(QBrush(fade), 0.8));
        p.drawPath(hexes);
        p.restore();
    }

    // Main buttons.
    const QPainterPath buttons = buttonsArea(f);
    {
        QLinearGradient g(f(0, 0), f(0, 130));
        g.setColorAt(0.0, QColor(60, 66, 78));
        g.setColorAt(1.0, QColor(34, 38, 45));
        p.fillPath(buttons, g);
    }
    for (bool left : {true, false}) {
        const QPainterPath cap = buttons.intersected(halfPlane(f, left, 0.0));
        p.save();
        p.setClipPath(cap);
        radialSpot(p, f(left ? -40 : 40, 52), 26, 44, QColor(255, 255, 255, 26));
        p.restore();
    }

    // Seams: the curve at the end of the buttons and the channel between them.
    {
        p.save();
        p.setClipPath(body);
        p.setPen(QPen(QColor(6, 7, 9), 2.2));
        p.drawPath(boundaryCurve(f));
        p.setPen(QPen(QColor(255, 255, 255, 24), 1.0));
        p.drawPath(boundaryCurve(f).translated(0, 1.6));
        // The split between the buttons: a seam at the tip, then a channel for the wheel.
        p.setPen(QPen(QColor(6, 7, 9), 1.6));
        p.drawLine(f(0, -1), f(0, 20));
        QPainterPath channel;
        channel.addRoundedRect(QRectF(f(-kGap, 16), f(kGap, 170)), kGap, kGap);
        channel = channel.intersected(buttons);
        p.fillPath(channel, QColor(11, 12, 15));
        innerShadow(p, channel, 4, 160);
        // Lighting along both sides of the channel.
        for (qreal side : {-1.0, 1.0}) {
            QPainterPath strip;
            strip.moveTo(f(side * kGap, 26));
            strip.lineTo(f(side * kGap, 92));
            glow(p, strip, withAlpha(accent, 120), 4, 6);
            QLinearGradient g(f(0, 26), f(0, 92));
            g.setColorAt(0.0, withAlpha(accent, 0));
            g.setColorAt(0.5, accent);
            g.setColorAt(1.0, withAlpha(accent, 0));
            p.setPen(QPen(QBrush(g), 1.2));
            p.drawPath(strip);
        }
        p.restore();
    }

    // Wheel: a rubber cylinder with ribs.
    {
        const QPainterPath wheel = wheelPath(f);
        glow(p, wheel, withAlpha(accent, 150), 4, 6);
        QLinearGradient g(f(-7, 0), f(7, 0));
        g.setColorAt(0.0, QColor(14, 15, 18));
        g.setColorAt(0.45, QColor(82, 90, 104));
        g.setColorAt(1.0, QColor(14, 15, 18));
        p.fillPath(wheel, g);
        p.save();
        p.setClipPath(wheel);
        for (qreal y = 36; y < 84; y += 3.0) {
            const qreal shade = 1.0 - std::abs(y - 58.5) / 30.0;
            p.setPen(QPen(QColor(0, 0, 0, static_cast<int>(70 + 90 * (1.0 - shade))), 1.0));
            p.drawLine(f(-7, y), f(7, y));
        }
        p.restore();
        strokeVertical(p, wheel, QColor(120, 130, 146), QColor(10, 11, 14), 1.0);
    }

    // Resolution buttons behind the wheel, marked plus and minus.
    for (bool up : {true, false}) {
        if (!has(controls, up ? MouseControl::CpiUp : MouseControl::CpiDown)) continue;
        const QPainterPath cap = cpiButton(f, up);
        drawCap(p, cap, accent, false);
        const QPointF c = cap.boundingRect().center();
        p.setPen(QPen(withAlpha(accent, 230), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(-2.5, 0), c + QPointF(2.5, 0));
        if (up) p.drawLine(c + QPointF(0, -2.5), c + QPointF(0, 2.5));
    }

    if (has(controls, MouseControl::Fire)) {
        const QPainterPath cap = fireButton(f);
        drawCap(p, cap, accent, true);
        p.setPen(QPen(withAlpha(accent, 220), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(cap.boundingRect().center(), 2.4, 2.4);
    }

    // Lighting on the palm rest.
    {
        p.save();
        p.setClipPath(body);
        const QColor core = mix(accent, QColor(255, 255, 255), 0.45);
        std::vector<QPainterPath> strips;
        QPainterPath path;
        switch (lights) {
        case LightStyle::RearArc:
            path.moveTo(f(-46, 281));
            path.cubicTo(f(-24, 292), f(24, 292), f(46, 281));
            strips.push_back(path);
            break;
        case LightStyle::Chevron:
            path.moveTo(f(-40, 270));
            path.lineTo(f(0, 250));
            path.lineTo(f(40, 270));
            strips.push_back(path);
            for (qreal side : {-1.0, 1.0}) {
                QPainterPath slash;
                slash.moveTo(f(side * 70, 150));
                slash.lineTo(f(side * 80, 178));
                strips.push_back(slash);
            }
            break;
        case LightStyle::SideStrips:
            for (qreal side : {-1.0, 1.0}) {
                QPainterPath strip;
                strip.moveTo(f(side * 64, 168));
                strip.cubicTo(f(side * 76, 200), f(side * 78, 240), f(side * 62, 276));
                strips.push_back(strip);
            }
            path.addEllipse(f(0, 284), 3.0, 3.0);
            strips.push_back(path);
            break;
        }
        for (const QPainterPath& s : strips) {
            glow(p, s, withAlpha(accent, 170), 7, 8);
            p.setPen(QPen(core, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(s);
        }
        p.restore();
    }

    // Rim light along the shell.
    strokeVertical(p, body, QColor(160, 172, 190, 200), QColor(40, 44, 52, 200), 1.1);
    p.save();
    p.setClipRect(QRectF(f(-100, 140), f(100, 320)));
    p.setPen(QPen(withAlpha(accent, 70), 1.0));
    p.drawPath(body);
    p.restore();

    p.restore();
}

QPointF calloutEnd(const QPointF& anchor, const QRectF& label) {
    const qreal y = label.top() + 15.5;
    if (anchor.x() < label.left()) return {label.left(), y};
    return {label.right(), y};
}

void drawCallout(QPainter& p, const QPointF& anchor, const QRectF& label, const QColor& accent) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF end = calloutEnd(anchor, label);
    const bool toRight = end.x() > anchor.x();
    const qreal run = 24.0;
    const QPointF knee(end.x() + (toRight ? -run : run), end.y());

    QPainterPath line;
    line.moveTo(anchor);
    if (std::abs(knee.y() - anchor.y()) > 0.5) line.lineTo(knee);
    line.lineTo(end);

    glow(p, line, withAlpha(accent, 70), 3.0, 4);
    p.setPen(QPen(withAlpha(mix(accent, QColor(255, 255, 255), 0.25), 220), 1.2, Qt::SolidLine,
                  Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);

    // Knee dot and the anchor marker on the drawing.
    if (std::abs(knee.y() - anchor.y()) > 0.5) {
        p.setPen(Qt::NoPen);
        p.setBrush(mix(accent, QColor(255, 255, 255), 0.5));
        p.drawEllipse(knee, 1.6, 1.6);
    }
    p.setPen(QPen(QColor(0, 0, 0, 150), 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(anchor, 4.5, 4.5);
    p.setPen(QPen(accent, 1.4));
    p.drawEllipse(anchor, 4.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 248, 255));
    p.drawEllipse(anchor, 1.7, 1.7);
    p.restore();
}

} // namespace artgen
