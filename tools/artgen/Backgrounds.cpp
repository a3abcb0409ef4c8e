#include "Backgrounds.h"

#include "Controls.h"
#include "Icons.h"
#include "MouseArt.h"
#include "Paint.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>

namespace artgen {
namespace {

constexpr int kPageButtonWidth = 125;
constexpr int kPageButtonHeight = 33;

QRectF pageButtonBody(int body, const Pt& at) {
    const qreal left = at.x + std::floor((kPageButtonWidth - body) / 2.0);
    return {left, static_cast<qreal>(at.y), static_cast<qreal>(body),
            static_cast<qreal>(kPageButtonHeight)};
}

// The drawn plates of the layout's page buttons and of those the window adds.
std::vector<QRectF> pageButtonBodies(const Skin& s) {
    std::vector<QRectF> out;
    for (const PageButton& b : s.layout.pageButtons)
        out.push_back(pageButtonBody(s.pageButtonBody, b.pos));
    const int added =
        s.layout.addedPageButtonBody > 0 ? s.layout.addedPageButtonBody : s.pageButtonBody;
    for (const PageButton& b : s.layout.neededPageButtons)
        out.push_back(pageButtonBody(added, b.pos));
    return out;
}

QRectF unitedBodies(const Skin& s) {
    QRectF r;
    for (const QRectF& body : pageButtonBodies(s))
        r = r.isNull() ? body : r.united(body);
    return r;
}

QPointF rel(const Pt& window, const Pt& origin) {
    return {static_cast<qreal>(window.x - origin.x), static_cast<qreal>(window.y - origin.y)};
}

QColor soft(const QColor& accent, int alpha) {
    return withAlpha(accent, alpha);
}

QColor bright(const QColor& accent) {
    return mix(accent, QColor(255, 255, 255), 0.35);
}

// A card: a slightly raised, translucent panel with a hairline edge and accent corner ticks.
void drawCard(QPainter& p, const Edition& e, const QRectF& r, const QColor& accent) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPainterPath path =
        e.corners == Corners::Rounded ? roundRect(r, 9) : chamferRect(r, 10, 0, 10, 0);
    fillVertical(p, path, QColor(30, 34, 41, 225), QColor(19, 21, 26, 235));
    strokeVertical(p, path, QColor(70, 78, 90), QColor(30, 34, 40));
    // Accent ticks on the top-left and bottom-right.
    p.setPen(QPen(soft(accent, 200), 1.5, Qt::SolidLine, Qt::FlatCap));
    if (e.corners == Corners::Rounded) {
        p.drawLine(QPointF(r.left() + 12, r.top() + 0.5), QPointF(r.left() + 38, r.top() + 0.5));
        p.drawLine(QPointF(r.right() - 38, r.bottom() - 0.5),
                   QPointF(r.right() - 12, r.bottom() - 0.5));
    } else {
        p.drawLine(QPointF(r.left() + 0.5, r.top() + 10), QPointF(r.left() + 10, r.top() + 0.5));
        p.drawLine(QPointF(r.left() + 10, r.top() + 0.5), QPointF(r.left() + 34, r.top() + 0.5));
        p.drawLine(QPointF(r.right() - 0.5, r.bottom() - 10),
                   QPointF(r.right() - 10, r.bottom() - 0.5));
        p.drawLine(QPointF(r.right() - 10, r.bottom() - 0.5),
                   QPointF(r.right() - 34, r.bottom() - 0.5));
    }
    p.restore();
}

// A recessed groove under a row of ten-step or level bar images.
void drawBarGroove(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPainterPath path = roundRect(r, 2.5);
    p.fillPath(path, QColor(4, 5, 6));
    strokeVertical(p, path, QColor(0, 0, 0, 200), QColor(255, 255, 255, 30));
    p.restore();
}

// A caption-free heading: an icon with an accent hairline running off to the right.
void drawHeading(QPainter& p, Icon icon, const QPointF& at, qreal length, const QColor& accent) {
    drawIcon(p, icon, QRectF(at.x(), at.y(), 18, 18), bright(accent), 1.5);
    QLinearGradient g(QPointF(at.x() + 26, 0), QPointF(at.x() + 26 + length, 0));
    g.setColorAt(0.0, soft(accent, 170));
    g.setColorAt(1.0, soft(accent, 0));
    p.fillRect(QRectF(at.x() + 26, at.y() + 9, length, 1), g);
}

// Small motifs that give each skin its own texture in the header and the deck.
void drawMotif(QPainter& p, Outline outline, const QRectF& area, const QColor& accent) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setClipRect(area, Qt::IntersectClip);
    switch (outline) {
    case Outline::Chamfered: {
        // A level meter: columns of small cells, their heights a slow interference pattern.
        const qreal bottom = area.bottom() - 10;
        int column = 0;
        for (qreal x = area.left() + 6; x + 6 < area.right(); x += 9, ++column) {
            const double wave = 0.5 + 0.5 * sinDeg(column * 37.0) * cosDeg(column * 13.0);
            const int cells = 1 + static_cast<int>(std::lround(wave * 8.0));
            const qreal fade = 1.0 - (x - area.left()) / area.width();
            for (int c = 0; c < cells; ++c) {
                const int a = static_cast<int>((c == cells - 1 ? 150 : 70) * fade) + 8;
                p.fillRect(QRectF(std::round(x), bottom - c * 6.0 - 3, 6, 3), soft(accent, a));
            }
        }
        break;
    }
    case Outline::Winged: {
        // Raked slashes.
        for (int i = 0; i < 14; ++i) {
            const qreal x = area.left() + 14 + i * 13.0;
            const int a = 70 - i * 4;
            p.setPen(QPen(soft(accent, std::max(a, 10)), 3.0, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(x, area.bottom() - 10), QPointF(x + 14, area.top() + 10));
        }
        break;
    }
    case Outline::Console: {
        // Honeycomb of dots.
        for (int row = 0; row < 12; ++row) {
            for (int col = 0; col < 40; ++col) {
                const qreal x = area.left() + 8 + col * 9.0 + (row % 2 ? 4.5 : 0);
                const qreal y = area.top() + 8 + row * 7.8;
                const qreal fade = 1.0 - std::min(1.0, (x - area.left()) / area.width());
                p.setPen(Qt::NoPen);
                p.setBrush(soft(accent, static_cast<int>(10 + 50 * fade)));
                p.drawEllipse(QPointF(x, y), 1.3, 1.3);
            }
        }
        break;
    }
    case Outline::Rectangle: {
        // Fine engineering grid.
        p.setPen(QPen(soft(accent, 26), 1.0));
        for (qreal x = area.left() + 0.5; x < area.right(); x += 12)
            p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        for (qreal y = area.top() + 0.5; y < area.bottom(); y += 12)
            p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        break;
    }
    }
    p.restore();
}

void drawEmblem(QPainter& p, const QPointF& c, const QColor& accent) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath hex;
    for (int k = 0; k <= 6; ++k) {
        const qreal a = 90.0 + 60.0 * k;
        const QPointF pt(c.x() + 25 * cosDeg(a), c.y() - 25 * sinDeg(a));
        if (k == 0)
            hex.moveTo(pt);
        else
            hex.lineTo(pt);
    }
    glow(p, hex, soft(accent, 120), 6, 8);
    fillVertical(p, hex, QColor(40, 45, 53), QColor(16, 18, 22));
    p.setPen(QPen(accent, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hex);
    // A lens with a cross-hair: the sensor, the heart of the mouse.
    QPainterPath lens;
    lens.addEllipse(c, 10, 10);
    QRadialGradient g(c + QPointF(-3, -3), 12);
    g.setColorAt(0.0, bright(accent));
    g.setColorAt(0.5, accent);
    g.setColorAt(1.0, mix(accent, QColor(0, 0, 0), 0.7));
    p.fillPath(lens, g);
    p.setPen(QPen(QColor(10, 12, 14, 200), 1.2));
    p.drawLine(c + QPointF(-6, 0), c + QPointF(6, 0));
    p.drawLine(c + QPointF(0, -6), c + QPointF(0, 6));
    p.setPen(QPen(soft(accent, 160), 1.0));
    p.drawEllipse(c, 16, 16);
    p.restore();
}

QPainterPath silhouetteFor(Outline outline, const QRectF& deck) {
    const QRectF all(0, 0, 800, 600);
    switch (outline) {
    case Outline::Chamfered:
        // The lower left corner is cut less: a page button stands close to it.
        return chamferRect(all, 26, 26, 26, 20);
    case Outline::Winged: {
        QPainterPath path;
        path.moveTo(44, 0);
        path.lineTo(300, 0);
        path.lineTo(308, 6);
        path.lineTo(492, 6);
        path.lineTo(500, 0);
        path.lineTo(756, 0);
        path.lineTo(800, 44);
        path.lineTo(800, 286);
        path.lineTo(795, 296);
        path.lineTo(795, 330);
        path.lineTo(800, 340);
        path.lineTo(800, 548);
        path.lineTo(748, 600);
        path.lineTo(18, 600);
        path.lineTo(0, 582);
        path.lineTo(0, 44);
        path.closeSubpath();
        return path;
    }
    case Outline::Console: {
        QPainterPath top = roundRect(QRectF(0, 0, 800, 500), 20);
        QPainterPath console = roundRect(deck.adjusted(-16, -40, 16, 12), 18);
        return top.united(console).simplified();
    }
    case Outline::Rectangle:
        break;
    }
    QPainterPath path;
    path.addRect(all);
    return path;
}

} // namespace

QRect pageRect(const Skin& s, int page) {
    const SkinLayout& l = s.layout;
    switch (page) {
    case 1:
        return {l.p1.x, l.p1.y, 472, 379};
    case 2:
        return {l.p2.x, l.p2.y, 700, 324};
    case 3:
        return {l.p3.x, l.p3.y, 620, 356};
    default:
        return {l.p4.x, l.p4.y, 600, 346};
    }
}

BaseGeometry baseGeometry(const Edition& /*edition*/, const Skin& s) {
    BaseGeometry g;
    const QRectF bodies = unitedBodies(s);
    // Layout 3 puts its page buttons right under the pages (the macro page's delay box ends at
    // y 476, the first button row starts at 484), so there the deck hugs its buttons.
    const bool tight = s.outline == Outline::Console;
    g.deck = bodies.adjusted(-12, tight ? -4 : -9, 12, 9);
    if (g.deck.left() < 6) g.deck.setLeft(6);
    g.header = QRectF(0, 0, 800, 92);
    // The sidebar takes the wide window buttons; the content well starts where Img_P2 does.
    g.content = QRectF(88, 98, 706, g.deck.top() - (tight ? 101 : 104));
    // As wide as the buttons' sockets, short of the content well.
    g.sidebar = QRectF(6, 98, std::min<qreal>(kWindowButtonWidth + 6, g.content.left() - 7),
                       g.content.height());
    if (s.outline == Outline::Console) {
        g.deckSide = QRectF();
    } else {
        g.deckSide =
            QRectF(g.deck.right() + 8, g.deck.top(), 794 - g.deck.right() - 8, g.deck.height());
    }
    g.silhouette = silhouetteFor(s.outline, g.deck);
    return g;
}

QImage wholeBackground(const Edition& e, const Skin& s) {
    const BaseGeometry g = baseGeometry(e, s);
    const SkinLayout& l = s.layout;
    const QColor accent = s.accent;
    QImage img = canvas(800, 600, ink::deep);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setClipPath(g.silhouette);

        // Body.
        fillVertical(p, g.silhouette, QColor(25, 28, 34), QColor(14, 16, 19));
        radialSpot(p, QPointF(400, 0), 520, 160, soft(accent, 22));

        // Header.
        {
            // Two armour plates: the emblem with the skin's motif, and the web button's bay.
            const bool round = e.corners == Corners::Rounded;
            const QRectF leftRect(12, 10, l.web.x - 34, 72);
            const QRectF rightRect(l.web.x - 14, l.web.y - 14, 800 - 10 - (l.web.x - 14), 50);
            const QPainterPath left =
                round ? roundRect(leftRect, 12) : chamferRect(leftRect, 14, 0, 26, 0);
            const QPainterPath right =
                round ? roundRect(rightRect, 12) : chamferRect(rightRect, 18, 0, 10, 0);
            for (const QPainterPath& plate : {left, right}) {
                fillVertical(p, plate, QColor(33, 37, 44), QColor(20, 22, 27));
                strokeVertical(p, plate, QColor(74, 82, 95), QColor(24, 27, 32));
            }
            p.save();
            p.setClipPath(left, Qt::IntersectClip);
            drawMotif(p, s.outline, QRectF(96, 12, leftRect.right() - 110, 68), accent);
            p.restore();
            drawEmblem(p, QPointF(52, 46), accent);
            const QRectF groove(l.web.x - 4, l.web.y - 4, 272, 29);
            drawSocket(p, e.corners, groove);
            // Status pips at the end of the web bay.
            for (int i = 0; i < 3; ++i) {
                QPainterPath pip;
                pip.addEllipse(QPointF(rightRect.right() - 14, rightRect.top() + 14 + i * 11.0),
                               1.8, 1.8);
                p.fillPath(pip, soft(accent, i == 0 ? 230 : 80));
            }
            // Accent rail under the header.
            fadeLine(p, QPointF(0, 92.5), QPointF(800, 92.5), soft(accent, 230), 1.0);
            QPainterPath rail;
            rail.moveTo(220, 92.5);
            rail.lineTo(580, 92.5);
            glow(p, rail, soft(accent, 80), 4, 6);
            p.fillRect(QRectF(0, 93, 800, 1), QColor(0, 0, 0, 120));
        }

        // Sidebar with sockets for the window buttons.
        {
            QPainterPath side = e.corners == Corners::Rounded
                                    ? roundRect(g.sidebar, 10)
                                    : chamferRect(g.sidebar, 0, 12, 0, 12);
            fillVertical(p, side, QColor(30, 34, 40), QColor(18, 20, 24));
            strokeVertical(p, side, QColor(64, 71, 82), QColor(26, 29, 34));
            for (const Pt& b : l.windowButtons)
                drawSocket(p, e.corners, QRectF(b.x - 2, b.y - 3, kWindowButtonWidth + 2, 36));
            // A level meter of dim segments under the buttons.
            const qreal top = l.windowButtons[3].y + 52.0;
            const qreal bottom = g.sidebar.bottom() - 18;
            int i = 0;
            for (qreal y = top; y + 4 < bottom; y += 9, ++i) {
                const qreal t = (y - top) / std::max<qreal>(1.0, bottom - top);
                const int a = static_cast<int>(150 * (1.0 - t) + 14);
                p.fillRect(QRectF(g.sidebar.left() + 22, y, g.sidebar.width() - 44, 3),
                           soft(accent, i % 4 == 0 ? a : a / 2));
            }
        }

        // Content well.
        {
            const QRectF c = g.content;
            QPainterPath well =
                e.corners == Corners::Rounded ? roundRect(c, 12) : chamferRect(c, 14, 0, 14, 0);
            fillVertical(p, well, QColor(11, 12, 15), QColor(15, 17, 21));
            p.save();
            p.setClipPath(well, Qt::IntersectClip);
            radialSpot(p, QPointF(c.center().x(), c.top() + 30), 360, 150, soft(accent, 16));
            dotGrid(p, c.adjusted(4, 4, -4, -4), 16, QColor(255, 255, 255, 9));
            p.restore();
            innerShadow(p, well, 8, 170);
            strokeVertical(p, well, QColor(0, 0, 0, 200), QColor(255, 255, 255, 30));
            // Corner brackets.
            p.setPen(QPen(soft(accent, 150), 1.5, Qt::SolidLine, Qt::FlatCap));
            const qreal k = 16;
            p.drawLine(QPointF(c.right() - k - 6, c.top() + 5.5),
                       QPointF(c.right() - 5.5, c.top() + 5.5));
            p.drawLine(QPointF(c.right() - 5.5, c.top() + 5.5),
                       QPointF(c.right() - 5.5, c.top() + k + 6));
            p.drawLine(QPointF(c.left() + 5.5, c.bottom() - k - 6),
                       QPointF(c.left() + 5.5, c.bottom() - 5.5));
            p.drawLine(QPointF(c.left() + 5.5, c.bottom() - 5.5),
                       QPointF(c.left() + k + 6, c.bottom() - 5.5));
        }

        // Deck with sockets for the page buttons.
        {
            QPainterPath deck = e.corners == Corners::Rounded ? roundRect(g.deck, 12)
                                                              : chamferRect(g.deck, 12, 0, 12, 0);
            fillVertical(p, deck, QColor(31, 35, 42), QColor(18, 20, 24));
            strokeVertical(p, deck, QColor(70, 78, 90), QColor(24, 27, 32));
            for (const QRectF& body : pageButtonBodies(s))
                drawSocket(p, e.corners, body.adjusted(-3, -1, 3, 1));
            if (!g.deckSide.isNull() && g.deckSide.width() > 40) {
                const QRectF d = g.deckSide;
                QPainterPath side =
                    e.corners == Corners::Rounded ? roundRect(d, 12) : chamferRect(d, 0, 12, 0, 12);
                fillVertical(p, side, QColor(24, 27, 32), QColor(15, 17, 20));
                strokeVertical(p, side, QColor(58, 65, 75), QColor(22, 25, 30));
                drawMotif(p, s.outline, d.adjusted(10, 6, -150, -6), accent);
                ventSlots(p, QRectF(d.right() - 112, d.top() + 16, 92, d.height() - 32), 7,
                          QColor(0, 0, 0, 170), QColor(255, 255, 255, 18));
                for (int i = 0; i < 3; ++i) {
                    QPainterPath led;
                    led.addEllipse(QPointF(d.right() - 128, d.top() + 22 + i * 12.0), 2.2, 2.2);
                    glow(p, led, soft(accent, i == 0 ? 150 : 50), 3, 4);
                    p.fillPath(led, i == 0 ? bright(accent) : soft(accent, 90));
                }
            }
        }

        // Rim: a lit edge along the silhouette, brightest at the top.
        p.setClipping(false);
        {
            QLinearGradient rimGrad(QPointF(0, 0), QPointF(0, 600));
            rimGrad.setColorAt(0.0, mix(accent, QColor(255, 255, 255), 0.2));
            rimGrad.setColorAt(0.25, soft(accent, 150));
            rimGrad.setColorAt(1.0, soft(accent, 90));
            QPainterPathStroker stroker;
            stroker.setWidth(3.0);
            stroker.setJoinStyle(Qt::MiterJoin);
            QPainterPath rim = stroker.createStroke(g.silhouette).intersected(g.silhouette);
            p.fillPath(rim, QColor(8, 9, 11));
            QPainterPathStroker thin;
            thin.setWidth(1.6);
            thin.setJoinStyle(Qt::MiterJoin);
            p.fillPath(thin.createStroke(g.silhouette).intersected(g.silhouette), rimGrad);
        }
    }

    img = img.convertToFormat(QImage::Format_ARGB32);
    if (e.colourKey) {
        // A hard-edged mask: a pixel belongs to the window when its centre lies inside.
        QImage mask(800, 600, QImage::Format_ARGB32);
        mask.fill(Qt::transparent);
        {
            QPainter m(&mask);
            m.setRenderHint(QPainter::Antialiasing, false);
            m.fillPath(g.silhouette, Qt::white);
        }
        avoidColour(img, kColourKey);
        for (int y = 0; y < 600; ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            const auto* in = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            for (int x = 0; x < 800; ++x) {
                if (qAlpha(in[x]) == 0)
                    line[x] = kColourKey;
                else
                    line[x] |= 0xFF000000u;
            }
        }
    }
    return img;
}

namespace {

// The lowest page row that panels may use: above the page's bottom and above the lower edge of
// the window's page well, which in some skins is higher than the page's bottom.
qreal panelFloor(const Edition& e, const Skin& s, const QRect& page) {
    const qreal well = baseGeometry(e, s).content.bottom() - page.y() - 8;
    return std::min<qreal>(page.height() - 10, well);
}

void pageOne(QPainter& p, const Edition& e, const Skin& s, const QRect& page) {
    (void)e;
    const SkinLayout& l = s.layout;
    const QColor accent = s.accent;

    // Centre the mouse between the left and right label columns.
    qreal leftEdge = 0;
    qreal rightEdge = page.width();
    for (const KeySlot& k : l.keys) {
        const qreal x = k.pos.x - page.x();
        if (x + 52 < page.width() / 2.0)
            leftEdge = std::max(leftEdge, x + 104);
        else
            rightEdge = std::min(rightEdge, x);
    }
    MousePlacement at;
    at.centreX = std::round((leftEdge + rightEdge) / 2.0);
    at.front = 46;

    // A faint targeting ring behind the mouse.
    {
        const QPointF c(at.centreX, at.front + 150);
        radialSpot(p, c, 170, 190, soft(accent, 26));
        p.setPen(QPen(soft(accent, 40), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 150.0, 165.0);
        p.setPen(QPen(soft(accent, 22), 1.0, Qt::DashLine));
        p.drawEllipse(c, 128.0, 142.0);
        for (int i = 0; i < 72; ++i) {
            const qreal a = 5.0 * i;
            const qreal len = i % 6 == 0 ? 8.0 : 4.0;
            const QPointF o(c.x() + 150 * cosDeg(a), c.y() - 165 * sinDeg(a));
            const QPointF in(c.x() + (150 - len) * cosDeg(a), c.y() - (165 - len) * sinDeg(a));
            p.setPen(QPen(soft(accent, i % 6 == 0 ? 90 : 40), 1.0));
            p.drawLine(o, in);
        }
    }

    std::vector<MouseControl> controls;
    for (const KeySlot& k : l.keys)
        controls.push_back(k.control);
    drawMouse(p, at, controls, accent, s.lights);

    for (const KeySlot& k : l.keys) {
        const QRectF label(k.pos.x - page.x(), k.pos.y - page.y(), 104, 31);
        drawCallout(p, controlAnchor(k.control, at), label, accent);
    }
}

void tenStepRow(QPainter& p, const QPointF& at, Icon icon, const QColor& accent, bool scale) {
    drawBarGroove(p, QRectF(at.x() - 2, at.y() - 2, 243, 8));
    if (scale) {
        drawIcon(p, icon, QRectF(at.x() - 2, at.y() - 30, 18, 18), bright(accent), 1.5);
        QLinearGradient g(QPointF(at.x() + 24, 0), QPointF(at.x() + 200, 0));
        g.setColorAt(0.0, soft(accent, 150));
        g.setColorAt(1.0, soft(accent, 0));
        p.fillRect(QRectF(at.x() + 24, at.y() - 21, 176, 1), g);
        drawIcon(p, Icon::Slow, QRectF(at.x() + 200, at.y() - 27, 12, 12), ink::steel, 1.3);
        drawIcon(p, Icon::Fast, QRectF(at.x() + 218, at.y() - 27, 22, 12), ink::steel, 1.3);
    }
}

void pageTwo(QPainter& p, const Edition& e, const Skin& s, const QRect& page) {
    const SkinLayout& l = s.layout;
    const Pt o{page.x(), page.y()};
    const QColor accent = s.accent;

    // Pointer settings: three ten-step scales.
    const QPointF spd = rel(l.spd, o);
    const QPointF dbl = rel(l.dbSpd, o);
    const QPointF scr = rel(l.scrSpd, o);
    const QRectF pointerCard(spd.x() - 22, spd.y() - 40, 243 + 40, scr.y() - spd.y() + 40 + 36);
    drawCard(p, e, pointerCard, accent);
    tenStepRow(p, spd, Icon::Pointer, accent, true);
    tenStepRow(p, dbl, Icon::DoubleClick, accent, true);
    tenStepRow(p, scr, Icon::Scroll, accent, true);
    for (const QPointF& row : {dbl, scr})
        fadeLine(p, QPointF(pointerCard.left() + 10, row.y() - 40.5),
                 QPointF(pointerCard.right() - 10, row.y() - 40.5), QColor(255, 255, 255, 22));

    // Right column: resolution, report rate and fire keys share one left edge.
    const QPointF dpi = rel(l.dpi, o);
    const QPointF rep1 = rel(l.rep1, o);
    const QPointF rep2 = rel(l.rep2, o);
    const qreal firstColumn = l.fkPara[0].x - o.x;
    const qreal firstMode = l.fkMode.empty() ? firstColumn : l.fkMode.front().x - o.x;
    // Row icons of the fire keys stand in one column left of the fields and the mode labels.
    const qreal iconColumn = std::min(firstColumn, firstMode - 8) - 32;
    const qreal left = std::min({dpi.x() - 22, rep1.x() - 40, iconColumn - 10});
    const qreal right = page.width() - 12.0;

    const QRectF cpiCard(left, dpi.y() - 64, right - left, 86);
    drawCard(p, e, cpiCard, accent);
    drawHeading(p, Icon::Sensor, QPointF(left + 10, cpiCard.top() + 8), 150, accent);
    drawBarGroove(p, QRectF(dpi.x() - 2, dpi.y() - 2, 7 * 29 + 20 + 4, 8));
    for (int n = 0; n < 8; ++n) {
        const qreal x = dpi.x() + 29 * n + 9.5;
        QLinearGradient g(QPointF(0, dpi.y() - 14), QPointF(0, dpi.y() - 4));
        g.setColorAt(0.0, QColor(255, 255, 255, 0));
        g.setColorAt(1.0, QColor(255, 255, 255, 50));
        p.fillRect(QRectF(x, dpi.y() - 14, 1, 10), g);
    }

    const qreal repY = std::min(rep1.y(), rep2.y());
    const QRectF rateCard(left, repY - 26, right - left, 52);
    drawCard(p, e, rateCard, accent);
    drawIcon(p, Icon::Pulse, QRectF(rep1.x() - 32, repY, 18, 18), bright(accent), 1.5);
    for (const QPointF& r : {rep1, rep2}) {
        QPainterPath lane = roundRect(QRectF(r.x() - 6, r.y() - 4, 104, 26), 5);
        p.fillPath(lane, QColor(255, 255, 255, 8));
    }

    const qreal paraY = l.fkPara[0].y - o.y;
    const qreal modeY = l.fkMode.empty() ? paraY + 46 : l.fkMode[0].y - o.y;
    const QRectF fireCard(left, rateCard.bottom() + 10, right - left,
                          modeY + 28 - rateCard.bottom() - 10);
    drawCard(p, e, fireCard, accent);
    drawHeading(p, Icon::Fire, QPointF(left + 10, fireCard.top() + 8), 150, accent);
    drawIcon(p, Icon::Repeat, QRectF(iconColumn, paraY + 1, 17, 17), ink::steel, 1.4);
    drawIcon(p, Icon::Timer, QRectF(iconColumn, paraY + 23, 17, 17), ink::steel, 1.4);
    for (int n = 0; n < 4; ++n) {
        const QPointF c = rel(l.fkPara[static_cast<std::size_t>(n)], o);
        QPainterPath band = roundRect(QRectF(c.x() - 4, c.y() - 22, 50, 66), 5);
        p.fillPath(band, QColor(255, 255, 255, 9));
        // Pips numbering the fire key above its column.
        for (int k = 0; k <= n; ++k) {
            const qreal x = c.x() + 21 - 3.5 * n + 7.0 * k;
            QPainterPath pip;
            pip.addEllipse(QPointF(x, c.y() - 12), 1.9, 1.9);
            p.fillPath(pip, soft(accent, 210));
        }
    }
    if (!l.fkMode.empty()) {
        const qreal x0 = l.fkMode.front().x - o.x - 8.0;
        const qreal x1 = l.fkMode.back().x - o.x + 46.0;
        QPainterPath strip = roundRect(QRectF(x0, modeY - 4, x1 - x0, 22), 5);
        p.fillPath(strip, QColor(0, 0, 0, 90));
        strokeVertical(p, strip, QColor(0, 0, 0, 120), QColor(255, 255, 255, 22));
        drawIcon(p, Icon::Shuffle, QRectF(iconColumn, modeY, 17, 17), ink::steel, 1.4);
    }
}

void breathingWave(QPainter& p, const QRectF& r, const QColor& accent) {
    // One breathing cycle: off hold, rise, on hold, fall, and the start of the next.
    const qreal low = r.bottom() - 26;
    const qreal high = r.top() + 30;
    const qreal x0 = r.left() + 16;
    const qreal w = r.width() - 32;
    const qreal xs[] = {x0, x0 + w * 0.16, x0 + w * 0.42, x0 + w * 0.60, x0 + w * 0.86, x0 + w};
    // Grid.
    p.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    for (int i = 0; i <= 4; ++i) {
        const qreal y = std::round(high + (low - high) * i / 4.0) + 0.5;
        p.drawLine(QPointF(x0, y), QPointF(x0 + w, y));
    }
    for (const qreal x : xs)
        p.drawLine(QPointF(std::round(x) + 0.5, high - 8), QPointF(std::round(x) + 0.5, low + 4));

    QPainterPath wave;
    wave.moveTo(xs[0], low);
    wave.lineTo(xs[1], low);
    wave.cubicTo(QPointF(xs[1] + (xs[2] - xs[1]) * 0.5, low),
                 QPointF(xs[1] + (xs[2] - xs[1]) * 0.5, high), QPointF(xs[2], high));
    wave.lineTo(xs[3], high);
    wave.cubicTo(QPointF(xs[3] + (xs[4] - xs[3]) * 0.5, high),
                 QPointF(xs[3] + (xs[4] - xs[3]) * 0.5, low), QPointF(xs[4], low));
    wave.lineTo(xs[5], low);

    QPainterPath area = wave;
    area.lineTo(xs[5], low + 4);
    area.lineTo(xs[0], low + 4);
    area.closeSubpath();
    QLinearGradient fill(QPointF(0, high), QPointF(0, low));
    fill.setColorAt(0.0, soft(accent, 90));
    fill.setColorAt(1.0, soft(accent, 0));
    p.fillPath(area, fill);
    glow(p, wave, soft(accent, 110), 5, 7);
    p.setPen(QPen(bright(accent), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);

    const Icon icons[] = {Icon::Moon, Icon::RampUp, Icon::Sun, Icon::RampDown};
    for (int i = 0; i < 4; ++i) {
        const qreal cx = (xs[i] + xs[i + 1]) / 2;
        drawIcon(p, icons[i], QRectF(cx - 8, low + 6, 16, 16), ink::steel, 1.3);
    }
}

bool insidePage(const QPointF& at, const QRect& page, qreal w, qreal h) {
    return at.x() >= 0 && at.y() >= 0 && at.x() + w <= page.width() && at.y() + h <= page.height();
}

void lightRing(QPainter& p, const Edition& e, const QRectF& r, const QColor& accent) {
    drawCard(p, e, r, accent);
    const QPointF c = r.center();
    const qreal rad = std::min(r.width(), r.height()) / 2 - 22;
    radialSpot(p, c, rad + 18, rad + 18, soft(accent, 60));
    for (int i = 0; i < 3; ++i) {
        QPainterPath ring;
        ring.addEllipse(c, rad - i * 14.0, rad - i * 14.0);
        glow(p, ring, soft(accent, 90 - 25 * i), 5, 6);
        p.setPen(QPen(i == 0 ? bright(accent) : soft(accent, 150 - 40 * i), i == 0 ? 2.0 : 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(ring);
    }
    drawIcon(p, Icon::Sun, QRectF(c.x() - 14, c.y() - 14, 28, 28), QColor(255, 255, 255, 200), 1.6);
}

void pageThree(QPainter& p, const Edition& e, const Skin& s, const QRect& page) {
    const SkinLayout& l = s.layout;
    const Pt o{page.x(), page.y()};
    const QColor accent = s.accent;

    const QPointF off = rel(l.offTime, o);
    const QPointF rise = rel(l.raiseTime, o);
    const QPointF on = rel(l.onTime, o);
    const QPointF fall = rel(l.fallTime, o);
    const QPointF m1 = rel(l.ledMode[0], o);
    const QPointF m3 = rel(l.ledMode[2], o);
    const bool barsShown = insidePage(off, page, 240, 20) && insidePage(fall, page, 240, 20);
    const bool modesShown = insidePage(m1, page, 17, 18) && insidePage(m3, page, 17, 18);

    if (!barsShown || !modesShown) {
        // A layout without this page: keep the picture, leave out the control slots.
        const QRectF wave(12, 36, page.width() - 24, 150);
        drawCard(p, e, wave, accent);
        breathingWave(p, wave, accent);
        lightRing(p, e, QRectF(page.width() / 2.0 - 110, 200, 220, 140), accent);
        return;
    }

    const qreal timingRight = std::min(off.x() + 243 + 14, page.width() - 8.0);
    const QRectF timingCard(off.x() - 34, off.y() - 18, timingRight - (off.x() - 34),
                            fall.y() - off.y() + 18 + 28);
    drawCard(p, e, timingCard, accent);
    const std::pair<QPointF, Icon> rows[] = {
        {off, Icon::Moon}, {rise, Icon::RampUp}, {on, Icon::Sun}, {fall, Icon::RampDown}};
    for (const auto& [at, icon] : rows) {
        drawBarGroove(p, QRectF(at.x() - 2, at.y() - 2, 243, 8));
        drawIcon(p, icon, QRectF(at.x() - 27, at.y() - 7, 17, 17), ink::steel, 1.4);
    }

    const QRectF waveCard(12, timingCard.top(), timingCard.left() - 24, timingCard.height());
    drawCard(p, e, waveCard, accent);
    breathingWave(p, waveCard, accent);

    // Lighting modes.
    const QRectF modeCard(m1.x() - 36, m1.y() - 12, m3.x() + 100 - (m1.x() - 36), 42);
    drawCard(p, e, modeCard, accent);
    const Icon modeIcons[] = {Icon::Shuffle, Icon::Spectrum, Icon::Droplet};
    for (int i = 0; i < 3; ++i) {
        const QPointF m = rel(l.ledMode[static_cast<std::size_t>(i)], o);
        drawIcon(p, modeIcons[i], QRectF(m.x() - 27, m.y(), 18, 18),
                 i == 1 ? QColor(255, 255, 255, 220) : ink::steel, 1.4);
    }

    // Colour modes with their swatches.
    const std::pair<Pt, Pt> swatches[] = {{l.ledColorMode1, l.r1}, {l.ledColorMode2, l.r2}};
    for (const auto& [mode, swatch] : swatches) {
        const QPointF m = rel(mode, o);
        const QPointF sw = rel(swatch, o);
        if (!insidePage(sw, page, 48, 48)) {
            // A colour mode without a swatch: its option alone on a card.
            if (insidePage(m, page, 17, 18))
                drawCard(p, e, QRectF(m.x() - 14, m.y() - 10, 158, 38), accent);
            continue;
        }
        const qreal bottom = std::min(sw.y() + 48 + 12, panelFloor(e, s, page));
        const QRectF card(m.x() - 14, m.y() - 10, 158, bottom - (m.y() - 10));
        drawCard(p, e, card, accent);
        QPainterPath socket = roundRect(QRectF(sw.x() - 3, sw.y() - 3, 54, 54), 7);
        p.fillPath(socket, QColor(0, 0, 0, 160));
        strokeVertical(p, socket, QColor(0, 0, 0, 200), QColor(255, 255, 255, 34));
        // A spectrum rule beside the swatch.
        QLinearGradient rainbow(QPointF(sw.x() + 60, 0), QPointF(card.right() - 10, 0));
        const QColor hues[] = {QColor(255, 60, 80), QColor(255, 200, 40), QColor(60, 230, 120),
                               QColor(60, 160, 255), QColor(190, 90, 255)};
        for (int i = 0; i < 5; ++i)
            rainbow.setColorAt(i / 4.0, withAlpha(hues[i], 150));
        p.fillRect(QRectF(sw.x() + 60, sw.y() + 22, card.right() - 10 - sw.x() - 60, 3), rainbow);
    }

    // A lit ring, the mouse's light seen from above, fills the lower left.
    lightRing(p, e,
              QRectF(12, modeCard.top(), std::max<qreal>(120, modeCard.left() - 24),
                     panelFloor(e, s, page) - modeCard.top()),
              accent);
}

void pageFour(QPainter& p, const Edition& e, const Skin& s, const QRect& page) {
    const SkinLayout& l = s.layout;
    const Pt o{page.x(), page.y()};
    const QColor accent = s.accent;

    const QPointF names = rel(l.macroName, o);
    const QPointF events = rel(l.macroContent, o);
    const QPointF group = rel(l.delayGroup, o);
    const QPointF first = rel(l.newButton, o);
    const QPointF del = rel(l.delButton, o);

    const auto well = [&](const QRectF& r) {
        QPainterPath path = roundRect(r, 5);
        p.fillPath(path, QColor(0, 0, 0));
        innerShadow(p, path, 4, 120);
        strokeVertical(p, path, QColor(0, 0, 0, 220), QColor(255, 255, 255, 36));
    };

    // Macro names.
    const QRectF namesCard(names.x() - 12, names.y() - 38, group.x() + 207 - (names.x() - 12),
                           group.y() - 8 - (names.y() - 38));
    drawCard(p, e, namesCard, accent);
    drawHeading(p, Icon::List, QPointF(namesCard.left() + 10, namesCard.top() + 7), 140, accent);
    well(QRectF(names.x() - 3, names.y() - 3, namesCard.right() - 9 - (names.x() - 3),
                namesCard.bottom() - 7 - (names.y() - 3)));

    // Events of the chosen macro.
    const QRectF eventsCard(events.x() - 10, events.y() - 35, first.x() - 12 - (events.x() - 10),
                            panelFloor(e, s, page) - (events.y() - 35));
    drawCard(p, e, eventsCard, accent);
    drawHeading(p, Icon::Timeline, QPointF(eventsCard.left() + 10, eventsCard.top() + 7), 150,
                accent);
    well(QRectF(events.x() - 3, events.y() - 3, eventsCard.right() - 8 - (events.x() - 3),
                eventsCard.bottom() - 8 - (events.y() - 3)));

    // Command column.
    const QRectF column(first.x() - 10, eventsCard.top(), 100, eventsCard.height());
    drawCard(p, e, column, accent);
    for (int i = 0; i < 7; ++i)
        drawSocket(p, e.corners, QRectF(first.x() - 2, first.y() + 26 * i - 2, 84, 29));
    for (int i = 0; i < 2; ++i)
        drawSocket(p, e.corners, QRectF(del.x() - 2, del.y() + 26 * i - 2, 84, 29));
    fadeLine(p, QPointF(column.left() + 8, (first.y() + 26 * 6 + 25 + del.y()) / 2 + 0.5),
             QPointF(column.right() - 8, (first.y() + 26 * 6 + 25 + del.y()) / 2 + 0.5),
             soft(accent, 150));
    for (int i = 0; i < 3; ++i) {
        QPainterPath dot;
        dot.addEllipse(QPointF(column.center().x() - 12 + 12 * i, column.top() + 15), 2, 2);
        p.fillPath(dot, i == 1 ? bright(accent) : soft(accent, 110));
    }

    // Delay options of a recording.
    DelayPlate d;
    d.origin = group;
    d.optionsAt = QPointF(l.recDelay.x, l.recDelay.y);
    d.editAt = QPointF(l.delayEdit.x, l.delayEdit.y);
    d.comboSlot = false;
    d.optionRows = true;
    drawDelayPlate(p, e, d);
}

} // namespace

QImage pageBackground(const Edition& e, const Skin& s, int page, const QImage& whole) {
    const QRect r = pageRect(s, page);
    QImage img = whole.copy(r).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
        switch (page) {
        case 1:
            pageOne(p, e, s, r);
            break;
        case 2:
            pageTwo(p, e, s, r);
            break;
        case 3:
            pageThree(p, e, s, r);
            break;
        default:
            pageFour(p, e, s, r);
            break;
        }
    }
    img = img.convertToFormat(QImage::Format_ARGB32);
    if (e.colourKey) avoidColour(img, kColourKey);
    return img;
}

} // namespace artgen
