#include "pages/widgets/ButtonLabel.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace orlix::pages {

namespace {
constexpr qreal kSmallestPointSize = 7.0;
constexpr int kMargin = 5;
} // namespace

ButtonLabel::ButtonLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_Hover);
}

void ButtonLabel::setTextColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void ButtonLabel::setBackground(const QColor& colour) {
    background_ = colour;
    update();
}

void ButtonLabel::setTextArea(const QRect& area) {
    area_ = area;
    if (area.isEmpty())
        clearMask();
    else
        setMask(QRegion(area));
    update();
}

QRect ButtonLabel::textArea() const {
    return area_.isEmpty() ? rect() : area_;
}

void ButtonLabel::setPointSizeCap(qreal cap) {
    cap_ = cap;
    update();
}

void fitUniformly(const QList<ButtonLabel*>& labels) {
    qreal smallest = 0;
    for (ButtonLabel* label : labels) {
        label->setPointSizeCap(0);
        if (label->text().isEmpty() || label->isHidden()) continue;
        const qreal size = label->drawnPointSize();
        if (smallest == 0 || size < smallest) smallest = size;
    }
    for (ButtonLabel* label : labels)
        label->setPointSizeCap(smallest);
}

void ButtonLabel::setFitting(bool on) {
    fitting_ = on;
    update();
}

QFont ButtonLabel::fittedFont(bool* wrap) const {
    *wrap = false;
    QFont f = font();
    if (!fitting_ || text().isEmpty()) return f;
    const int room = textArea().width() - 2 * kMargin;
    qreal size = f.pointSizeF() > 0 ? f.pointSizeF() : 9.0;
    if (cap_ > 0 && cap_ < size) size = cap_;
    while (true) {
        f.setPointSizeF(size);
        const QFontMetrics fm(f);
        if (fm.horizontalAdvance(text()) <= room) return f;
        if (size <= kSmallestPointSize) break;
        size -= 0.5;
    }
    // Still too wide at the smallest size: two lines, if the control is tall enough.
    const QFontMetrics fm(f);
    *wrap = fm.lineSpacing() * 2 <= textArea().height() + 2;
    return f;
}

qreal ButtonLabel::drawnPointSize() const {
    bool wrap = false;
    return fittedFont(&wrap).pointSizeF();
}

void ButtonLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (background_.isValid()) p.fillRect(rect(), background_);
    if (text().isEmpty()) return;
    bool wrap = false;
    p.setFont(fittedFont(&wrap));
    p.setPen(colour_);
    const QRect area = textArea().adjusted(kMargin, 0, -kMargin, 0);
    int flags = Qt::AlignVCenter | (alignLeft_ ? Qt::AlignLeft : Qt::AlignHCenter);
    if (wrap) flags |= Qt::TextWordWrap;
    if (!fitting_) flags = Qt::AlignVCenter | Qt::AlignLeft;
    p.setClipRect(textArea());
    p.drawText(fitting_ ? area : textArea().adjusted(kMargin, 0, 0, 0), flags, text());
}

void ButtonLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit entered();
}

void ButtonLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit left();
}

void ButtonLabel::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ButtonLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool inside = rect().contains(event->position().toPoint());
    const bool click = pressedInside_ && event->button() == Qt::LeftButton && inside;
    pressedInside_ = false;
    event->accept();
    if (click) emit clicked();
}

} // namespace orlix::pages
