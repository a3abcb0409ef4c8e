#include "macro/gui/InsertKindBox.h"

#include <QPainter>
#include <QPainterPath>

namespace orlix::macro::gui {

InsertKindBox::InsertKindBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("CB_Insert"));
    setFocusPolicy(Qt::NoFocus);
}

void InsertKindBox::setColours(const QColor& text, const QColor& accent) {
    accent_ = accent;
    setStyleSheet(
        QStringLiteral("QComboBox { background: #15181d; color: %1; border: 1px solid %2;"
                       " border-radius: 3px; padding: 0 18px 0 4px; }"
                       "QComboBox:disabled { color: #727171; border-color: #3a3f47; }"
                       "QComboBox::drop-down { border: none; width: 16px; }"
                       "QComboBox::down-arrow { image: none; width: 0; height: 0; }"
                       "QComboBox QAbstractItemView { background: #15181d; color: %1;"
                       " selection-background-color: %2; border: 1px solid %2; outline: none; }")
            .arg(text.name(), accent.name()));
}

void InsertKindBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(width() - 10.0, height() / 2.0 + 1);
    QPainterPath arrow;
    arrow.moveTo(c.x() - 4, c.y() - 2.5);
    arrow.lineTo(c.x() + 4, c.y() - 2.5);
    arrow.lineTo(c.x(), c.y() + 2.5);
    arrow.closeSubpath();
    p.fillPath(arrow, isEnabled() ? accent_ : QColor(114, 113, 113));
}

} // namespace orlix::macro::gui
