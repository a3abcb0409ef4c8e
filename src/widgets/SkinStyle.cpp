#include "widgets/SkinStyle.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace orlix::pages {

namespace {

SkinColours& colours() {
    static SkinColours c;
    return c;
}

double channel(int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

} // namespace

QColor SkinColours::onAccent() const {
    return readableOn(accent);
}

const SkinColours& skinColours() {
    return colours();
}

void setSkinAccent(const QColor& accent) {
    if (accent.isValid()) colours().accent = accent;
}

QColor accentOf(const QImage& image, const QColor& fallback) {
    QColor best = fallback;
    int bestScore = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 255) continue;
            const int score = c.hsvSaturation() * c.value();
            if (score > bestScore) {
                bestScore = score;
                best = c;
            }
        }
    }
    return best;
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& back) {
    return contrastRatio(back, Qt::black) >= contrastRatio(back, Qt::white) ? QColor(Qt::black)
                                                                            : QColor(Qt::white);
}

QString skinListStyleSheet() {
    const SkinColours& c = skinColours();
    return QStringLiteral("QListWidget { background: %1; color: %2; border: 1px solid %3;"
                          " outline: none; }"
                          "QListWidget::item { height: 20px; padding-left: 4px; }"
                          "QListWidget::item:hover, QListWidget::item:selected { background: %4;"
                          " color: %5; }")
        .arg(c.panel.name(), c.text.name(), c.panelBorder.name(), c.accent.name(),
             c.onAccent().name());
}

QString skinMessageBoxStyleSheet() {
    const SkinColours& c = skinColours();
    return QStringLiteral("QMessageBox { background: %1; border: 1px solid %3; }"
                          "QMessageBox QLabel { color: %2; }"
                          "QPushButton { background: %1; color: %2; border: 1px solid %3;"
                          " border-radius: 3px; padding: 4px 14px; min-width: 60px; }"
                          "QPushButton:hover, QPushButton:pressed { background: %4; color: %5; }"
                          "QPushButton:focus { border: 2px solid %4; }")
        .arg(c.panel.name(), c.text.name(), c.panelBorder.name(), c.accent.name(),
             c.onAccent().name());
}

void paintFocusMark(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(skinColours().accent, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(area).adjusted(1, 1, -1, -1), 3, 3);
    painter.restore();
}

SkinProxyStyle::SkinProxyStyle() : QProxyStyle(nullptr) {}

void SkinProxyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    const SkinColours& c = skinColours();
    if (element == PE_IndicatorCheckBox) {
        const bool checked = option->state.testFlag(State_On);
        const bool hover = option->state.testFlag(State_MouseOver);
        const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(hover || checked ? c.accent : c.panelBorder, 1));
        painter->setBrush(checked ? c.accent : c.panel);
        painter->drawRoundedRect(box, 2, 2);
        if (checked) {
            QPainterPath tick;
            tick.moveTo(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
            tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.72);
            tick.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.30);
            painter->setPen(QPen(c.onAccent(), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->setBrush(Qt::NoBrush);
            painter->drawPath(tick);
        }
        painter->restore();
        return;
    }
    if (element == PE_FrameFocusRect) {
        paintFocusMark(*painter, option->rect);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QStyle* skinStyle() {
    static QPointer<SkinProxyStyle> style;
    if (style.isNull()) {
        style = new SkinProxyStyle();
        style->setParent(qApp);
    }
    return style.data();
}

} // namespace orlix::pages
