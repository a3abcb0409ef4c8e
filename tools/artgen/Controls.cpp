#include "Controls.h"

#include "Icons.h"
#include "Paint.h"

#include "appearance/Layout.h"

#include <QLinearGradient>

namespace artgen {

QPainterPath plateShape(Corners corners, const QRectF& r, qreal size) {
    if (corners == Corners::Rounded) return roundRect(r, size);
    return chamferRect(r, size, 0, size, 0);
}

void drawPlate(QPainter& p, const QPainterPath& body, Look look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF b = body.boundingRect();
    switch (look) {
    case Look::Normal:
        fillVertical(p, body, QColor(44, 49, 58), QColor(24, 27, 32));
        break;
    case Look::Hover:
        glow(p, body, QColor(190, 215, 240, 70), 2.5, 5);
        fillVertical(p, body, QColor(58, 65, 77), QColor(31, 35, 42));
        break;
    case Look::Selected:
        glow(p, body, QColor(200, 225, 255, 90), 2.5, 5);
        fillVertical(p, body, QColor(66, 74, 88), QColor(36, 41, 49));
        break;
    case Look::Pressed:
        fillVertical(p, body, QColor(15, 17, 20), QColor(29, 32, 38));
        innerShadow(p, body, 3.0, 150);
        break;
    }

    // A faint sheen on the upper half makes the plate read as a physical key.
    if (look != Look::Pressed) {
        p.save();
        p.setClipPath(body, Qt::IntersectClip);
        QLinearGradient sheen(b.topLeft(), QPointF(b.left(), b.center().y()));
        sheen.setColorAt(0.0, QColor(255, 255, 255, 22));
        sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(b.left(), b.top(), b.width(), b.height() / 2), sheen);
        p.restore();
    }

    const QPainterPath edge = body.translated(0, 0);
    switch (look) {
    case Look::Normal:
        strokeVertical(p, edge, QColor(88, 97, 110), QColor(34, 38, 45));
        break;
    case Look::Hover:
        strokeVertical(p, edge, QColor(170, 186, 206), QColor(72, 80, 92));
        break;
    case Look::Selected:
        strokeVertical(p, edge, QColor(225, 234, 245), QColor(110, 122, 138));
        break;
    case Look::Pressed:
        strokeVertical(p, edge, QColor(30, 33, 39), QColor(84, 92, 104));
        break;
    }

    if (look == Look::Selected) {
        // The lit bar that marks the chosen page.
        const qreal w = std::round(b.width() * 0.56);
        const QRectF bar(std::round(b.center().x() - w / 2), b.bottom() - 4.0, w, 2.0);
        QPainterPath barPath;
        barPath.addRect(bar);
        glow(p, barPath, QColor(210, 232, 255, 120), 3.0, 6);
        QLinearGradient g(bar.topLeft(), bar.topRight());
        g.setColorAt(0.0, QColor(200, 225, 255, 0));
        g.setColorAt(0.2, QColor(230, 242, 255, 255));
        g.setColorAt(0.8, QColor(230, 242, 255, 255));
        g.setColorAt(1.0, QColor(200, 225, 255, 0));
        p.fillRect(bar, g);
    }
    p.restore();
}

namespace {

QImage plateImage(const Edition& e, int w, int h, const QRectF& body, qreal corner, Look look) {
    QImage img = canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    drawPlate(p, plateShape(e.corners, body, corner), look);
    return img;
}

} // namespace

QImage windowButton(const Edition& e, Look look) {
    return plateImage(e, kWindowButtonWidth, kWindowButtonHeight,
                      QRectF(1.5, 1.5, kWindowButtonWidth - 3, kWindowButtonHeight - 3), 6, look);
}

QImage pageButton(const Edition& e, Look look, int body) {
    const qreal w = body > 0 ? body : e.pageButtonBody;
    const qreal left = std::floor((125 - w) / 2) + 0.5;
    return plateImage(e, 125, 33, QRectF(left, 1.5, w - 1, 30), 7, look);
}

QImage keyLabel(const Edition& e, Look look) {
    QImage img = canvas(104, 31);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body(4.5, 1.5, 95, 28);
    drawPlate(p, plateShape(e.corners, body, 5), look);
    // Connector nubs on both ends: the callout lines of the mouse drawing end here.
    const QColor nub = look == Look::Normal    ? QColor(96, 106, 120)
                       : look == Look::Pressed ? QColor(70, 78, 90)
                                               : QColor(225, 236, 248);
    for (qreal x : {1.0, 100.0}) {
        const QRectF r(x, 11.5, 3, 8);
        QPainterPath nubPath = roundRect(r, 1.2);
        if (look == Look::Hover) glow(p, nubPath, QColor(210, 230, 255, 110), 2.0, 4);
        p.fillPath(nubPath, nub);
    }
    return img;
}

QImage webButton(const Edition& e, Look look) {
    QImage img = canvas(264, 21);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body(1.5, 1.5, 261, 18);
    drawPlate(p, plateShape(e.corners, body, 4), look);
    const QColor iconColour = look == Look::Normal    ? QColor(150, 162, 178)
                              : look == Look::Pressed ? QColor(120, 130, 144)
                                                      : QColor(232, 240, 250);
    drawIcon(p, Icon::Globe, QRectF(7, 3, 15, 15), iconColour, 1.3);
    drawIcon(p, Icon::LinkOut, QRectF(242, 3.5, 14, 14), iconColour, 1.3);
    // A dotted track between the two icons, like an address line.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 36; ++i) {
        const qreal x = 32 + i * 5.8;
        const int a = look == Look::Normal ? 70 : 130;
        const int fade = i < 6 ? (i + 1) * a / 7 : i > 29 ? (36 - i) * a / 7 : a;
        p.setBrush(withAlpha(iconColour, fade));
        p.drawRect(QRectF(std::round(x), 10, 2, 1));
    }
    return img;
}

QImage swatchFrame(const Edition& e) {
    QImage img = canvas(48, 48);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF outer(0.5, 0.5, 47, 47);
    const QRectF window(6, 6, 36, 36);
    QPainterPath ring = plateShape(e.corners, outer, 8);
    QPainterPath hole = plateShape(e.corners, window, 4);
    QPainterPath frame = ring.subtracted(hole);
    fillVertical(p, frame, QColor(60, 67, 79), QColor(22, 25, 30));
    strokeVertical(p, ring, QColor(110, 121, 137), QColor(30, 34, 40));
    strokeVertical(p, hole, QColor(8, 9, 11), QColor(90, 99, 112));
    // Glass over the colour: a soft reflection across the upper part of the window.
    p.save();
    p.setClipPath(hole);
    QPainterPath glare;
    glare.moveTo(6, 6);
    glare.lineTo(42, 6);
    glare.lineTo(42, 16);
    glare.cubicTo(30, 22, 18, 24, 6, 26);
    glare.closeSubpath();
    QLinearGradient g(QPointF(0, 6), QPointF(0, 26));
    g.setColorAt(0.0, QColor(255, 255, 255, 70));
    g.setColorAt(1.0, QColor(255, 255, 255, 8));
    p.fillPath(glare, g);
    p.restore();
    // Small corner ticks on the frame.
    p.setPen(QPen(QColor(150, 163, 180), 1.0));
    p.drawLine(QPointF(3.5, 14), QPointF(3.5, 34));
    p.drawLine(QPointF(44.5, 14), QPointF(44.5, 34));
    return img;
}

QImage macroButton(const Edition& e, Look look) {
    return plateImage(e, 80, 25, QRectF(1.5, 1.5, 77, 22), 5, look);
}

QImage macroSmallButton(const Edition& e, Look look) {
    using namespace orlix::appearance;
    return plateImage(e, kInsertButtonWidth, kInsertButtonHeight,
                      QRectF(1.5, 1.5, kInsertButtonWidth - 3, kInsertButtonHeight - 3), 4, look);
}

QImage stepBar(bool lit) {
    QImage img = canvas(23, 4);
    QPainter p(&img);
    if (lit) {
        p.fillRect(0, 0, 23, 1, QColor(250, 252, 255));
        p.fillRect(0, 1, 23, 2, QColor(214, 226, 240));
        p.fillRect(0, 3, 23, 1, QColor(140, 156, 176));
    } else {
        p.fillRect(0, 0, 23, 1, QColor(14, 16, 19));
        p.fillRect(0, 1, 23, 2, QColor(38, 43, 51));
        p.fillRect(0, 3, 23, 1, QColor(58, 65, 76));
    }
    return img;
}

QImage levelBar(bool current) {
    QImage img = canvas(20, 4);
    QPainter p(&img);
    if (current) {
        p.fillRect(0, 0, 20, 1, QColor(255, 255, 255));
        p.fillRect(0, 1, 20, 2, QColor(226, 236, 248));
        p.fillRect(0, 3, 20, 1, QColor(150, 166, 186));
    } else {
        p.fillRect(0, 0, 20, 1, QColor(14, 16, 19));
        p.fillRect(0, 1, 20, 2, QColor(44, 50, 59));
        p.fillRect(0, 3, 20, 1, QColor(64, 72, 84));
    }
    return img;
}

QImage optionMark(bool chosen) {
    QImage img = canvas(17, 18);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(8.5, 9.0);
    QPainterPath ring;
    ring.addEllipse(c, 7.0, 7.0);
    fillVertical(p, ring, QColor(14, 16, 19), QColor(34, 38, 45));
    strokeVertical(p, ring, QColor(40, 45, 53), QColor(120, 132, 148), 1.2);
    if (chosen) {
        QPainterPath dot;
        dot.addEllipse(c, 3.6, 3.6);
        glow(p, dot, QColor(200, 228, 255, 140), 2.6, 5);
        QRadialGradient g(c + QPointF(-1, -1), 4.2);
        g.setColorAt(0.0, QColor(255, 255, 255));
        g.setColorAt(1.0, QColor(176, 196, 220));
        p.fillPath(dot, g);
    } else {
        QPainterPath dot;
        dot.addEllipse(c, 2.2, 2.2);
        p.fillPath(dot, QColor(46, 52, 61));
    }
    return img;
}

void drawSocket(QPainter& p, Corners corners, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPainterPath path = plateShape(corners, r, corners == Corners::Rounded ? 8 : 7);
    fillVertical(p, path, QColor(8, 9, 11, 200), QColor(14, 16, 19, 200));
    innerShadow(p, path, 3, 120);
    strokeVertical(p, path, QColor(0, 0, 0, 140), QColor(255, 255, 255, 26));
    p.restore();
}

void drawDelayPlate(QPainter& p, const Edition& e, const DelayPlate& d) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(d.origin);
    const QRectF outer(0.5, 0.5, 206, 161);
    const QPainterPath body = plateShape(e.corners, outer, 10);
    fillVertical(p, body, QColor(27, 30, 36), QColor(17, 19, 23));
    strokeVertical(p, body, QColor(76, 84, 96), QColor(30, 34, 40));

    const QColor iconInk(132, 144, 160);
    if (d.comboSlot) {
        drawIcon(p, Icon::Insert, QRectF(8, 4, 18, 18), iconInk);
        // Header strip holding the insert-kind list.
        p.fillRect(QRectF(1, 27, 205, 1), QColor(0, 0, 0, 110));
        p.fillRect(QRectF(1, 28, 205, 1), QColor(255, 255, 255, 16));
    } else {
        drawIcon(p, Icon::Timer, QRectF(8, 7, 17, 17), iconInk);
        fadeLine(p, QPointF(30, 16.5), QPointF(200, 16.5), QColor(110, 122, 138, 130));
    }

    if (d.optionRows) {
        // Three option rows: a socket for the indicator, and a calm strip for the caption.
        for (int i = 0; i < 3; ++i) {
            const QPointF at = d.optionsAt + QPointF(0, 23.0 * i);
            QPainterPath strip = roundRect(QRectF(at.x() - 6, at.y() - 2, 118, 22), 4);
            p.fillPath(strip, QColor(255, 255, 255, 7));
            QPainterPath socket;
            socket.addEllipse(at + QPointF(8.5, 9), 9.5, 9.5);
            p.fillPath(socket, QColor(0, 0, 0, 90));
        }
    }

    // Delay edit: a recessed field; the unit caption stands right of it, 44 px from its left.
    drawSocket(p, e.corners, QRectF(d.editAt.x() - 3, d.editAt.y() - 3, 46, 26));
    // Record sits directly above OK and Cancel, so these bays hug their buttons.
    if (d.recordSlot)
        drawSocket(p, e.corners, QRectF(d.recordAt.x() - 1, d.recordAt.y() - 1, 82, 26));
    if (d.okSlots) {
        if (!d.recordSlot) {
            p.fillRect(QRectF(8, d.okAt.y() - 7, 191, 1), QColor(0, 0, 0, 110));
            p.fillRect(QRectF(8, d.okAt.y() - 6, 191, 1), QColor(255, 255, 255, 14));
        }
        // OK and Cancel, where the window puts them for the layout's InsertOK position.
        using namespace orlix::appearance;
        const Point ok{static_cast<int>(d.okAt.x()), static_cast<int>(d.okAt.y())};
        for (const Point at : {insertOkPosition(ok), insertCancelPosition(ok)})
            drawSocket(p, e.corners, QRectF(at.x - 1, at.y, kInsertButtonWidth + 2, 26));
    }
    p.restore();
}

QImage insertBase(const Edition& e, bool keyKinds) {
    const SkinLayout& l = e.skins[0].layout;
    QImage img = canvas(207, 162);
    QPainter p(&img);
    DelayPlate d;
    d.origin = {0, 0};
    d.comboSlot = true;
    d.optionRows = keyKinds;
    d.optionsAt = QPointF(l.insertRecDelay.x, l.insertRecDelay.y);
    d.editAt = QPointF(l.insertDelayEdit.x, l.insertDelayEdit.y);
    d.recordSlot = keyKinds;
    d.recordAt = QPointF(l.insertStart.x, l.insertStart.y);
    d.okSlots = true;
    d.okAt = QPointF(l.insertOk.x, l.insertOk.y);
    drawDelayPlate(p, e, d);
    return img;
}

} // namespace artgen
