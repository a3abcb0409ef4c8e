#include "widgets/ButtonLabel.h"

#include "widgets/CaptionFont.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace orlix::pages {

namespace {
constexpr int kMargin = 3;
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

void ButtonLabel::setScrolling(bool on) {
    scrolling_ = on;
    update();
}

QRect ButtonLabel::captionRect() const {
    return textArea().adjusted(kMargin, 0, -kMargin, 0);
}

QFont ButtonLabel::drawnFont() const {
    if (scrolling_) return font();
    return fittedCaptionFont(font(), text(), captionRect().width());
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
    if (text().isEmpty()) return;
    const QFont f = drawnFont();
    p.setFont(f);
    p.setPen(colour_);
    p.setClipRect(textArea());
    const QRect area = captionRect();
    if (scrolling_) {
        p.drawText(area, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text());
        return;
    }
    // Whole when it fits (measured as the fitting measured it); else cut with an ellipsis.
    const QString shown = fitsIn(f, text(), area.width())
                              ? text()
                              : QFontMetrics(f).elidedText(text(), Qt::ElideRight, area.width());
    const int align = alignLeft_ ? Qt::AlignLeft : Qt::AlignHCenter;
    p.drawText(area, Qt::AlignVCenter | align | Qt::TextSingleLine, shown);
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
