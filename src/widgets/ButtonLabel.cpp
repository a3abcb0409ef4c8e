#include "widgets/ButtonLabel.h"

#include "widgets/CaptionFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SkinStyle.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace orlix::pages {

ButtonLabel::ButtonLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
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

void ButtonLabel::setScrolling(bool on) {
    scrolling_ = on;
    update();
}

QRect ButtonLabel::captionRect() const {
    return textArea().adjusted(kCaptionMargin, 0, -kCaptionMargin, 0);
}

int ButtonLabel::ownStretch() const {
    return fittedStretch(font(), text(), captionRect().width());
}

int ButtonLabel::drawnStretch() const {
    if (!row_) return ownStretch();
    int stretch = kCondensedStretch;
    for (const QPointer<ButtonLabel>& member : *row_)
        if (!member.isNull() && !member->scrolling_)
            stretch = std::min(stretch, member->ownStretch());
    return stretch;
}

QFont ButtonLabel::drawnFont() const {
    if (scrolling_) return font();
    return stretchedCaptionFont(font(), drawnStretch());
}

void condenseAlike(const QList<ButtonLabel*>& labels) {
    auto row = std::make_shared<std::vector<QPointer<ButtonLabel>>>();
    for (ButtonLabel* label : labels) {
        if (label == nullptr) continue;
        row->emplace_back(label);
        label->row_ = row;
    }
}

qreal ButtonLabel::drawnPointSize() const {
    return drawnFont().pointSizeF();
}

bool ButtonLabel::captionFits() const {
    return fitsIn(drawnFont(), text(), captionRect().width());
}

bool ButtonLabel::event(QEvent* event) {
    // A shortened caption shows its whole text as the tooltip.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (!scrolling_ && !text().isEmpty() && !captionFits())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void ButtonLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (background_.isValid()) p.fillRect(rect(), background_);
    if (hasFocus()) paintFocusMark(p, textArea());
    if (text().isEmpty()) return;
    const QFont f = drawnFont();
    p.setFont(f);
    p.setPen(colour_);
    // The caption never runs into the margins: a marquee or a caption too long for its key
    // is cut at the edge of the room, never with an ellipsis.
    const QRect area = captionRect();
    p.setClipRect(area);
    const bool whole = fitsIn(f, text(), area.width());
    const int align = scrolling_ || !whole ? Qt::AlignLeft
                      : alignLeft_         ? Qt::AlignLeft
                                           : Qt::AlignHCenter;
    p.drawText(area, Qt::AlignVCenter | align | Qt::TextSingleLine, text());
}

void ButtonLabel::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(*event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    // A covered control is not pressed by the keyboard either.
    if (!event->isAutoRepeat() && reachableAt(this, textArea().center())) emit clicked();
}

void ButtonLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    update();
}

void ButtonLabel::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    update();
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
