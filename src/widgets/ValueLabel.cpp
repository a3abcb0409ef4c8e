#include "widgets/ValueLabel.h"

#include "widgets/KeyboardFocus.h"
#include "widgets/SkinStyle.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace orlix::pages {

namespace {
constexpr qreal kSmallestPointSize = 6.5;
constexpr int kSideRoom = 3;
} // namespace

ValueLabel::ValueLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void ValueLabel::setTextColour(const QColor& colour) {
    if (colour_ == colour) return;
    colour_ = colour;
    update();
}

void ValueLabel::setIndent(int pixels) {
    indent_ = pixels;
    update();
}

QFont ValueLabel::fittedFont() const {
    QFont f = font();
    // Centred captions keep a little room on both sides, so neighbours never run together.
    const int room = width() - (indent_ > 0 ? indent_ : 2 * kSideRoom);
    qreal size = f.pointSizeF() > 0 ? f.pointSizeF() : 9.0;
    while (true) {
        f.setPointSizeF(size);
        if (QFontMetrics(f).horizontalAdvance(text()) <= room || size <= kSmallestPointSize)
            return f;
        size -= 0.5;
    }
}

qreal ValueLabel::drawnPointSize() const {
    return fittedFont().pointSizeF();
}

void fitUniformly(const QList<ValueLabel*>& labels) {
    qreal smallest = 0;
    for (const ValueLabel* label : labels) {
        const qreal size = label->drawnPointSize();
        if (smallest == 0 || size < smallest) smallest = size;
    }
    for (ValueLabel* label : labels) {
        QFont f = label->font();
        f.setPointSizeF(smallest);
        label->setFont(f);
    }
}

void ValueLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (hasFocus()) paintFocusMark(p, rect());
    if (text().isEmpty()) return;
    p.setFont(fittedFont());
    p.setPen(colour_);
    const int align = Qt::AlignVCenter | (indent_ > 0 ? Qt::AlignLeft : Qt::AlignHCenter);
    p.drawText(rect().adjusted(indent_, 0, 0, 0), align, text());
}

void ValueLabel::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ValueLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressedInside_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressedInside_ = false;
    event->accept();
    if (click) emit clicked();
}

void ValueLabel::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(*event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat() && reachableAt(this, rect().center())) emit clicked();
}

void ValueLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    update();
}

void ValueLabel::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    update();
}

} // namespace orlix::pages
