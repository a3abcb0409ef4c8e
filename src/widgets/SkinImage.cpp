#include "widgets/SkinImage.h"

#include <QMouseEvent>

namespace orlix::pages {

SkinImage::SkinImage(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SkinImage::setImage(const QPixmap& pixmap) {
    setPixmap(pixmap);
    if (!pixmap.isNull()) resize(pixmap.size());
}

void SkinImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit pressed(event->globalPosition().toPoint());
    event->accept();
}

void SkinImage::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) emit dragged(event->globalPosition().toPoint());
    event->accept();
}

} // namespace orlix::pages
