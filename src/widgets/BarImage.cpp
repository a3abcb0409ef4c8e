#include "widgets/BarImage.h"

#include <QPainter>

#include <algorithm>

namespace orlix::pages {

namespace {
constexpr qreal kDisabledOpacity = 0.45;
}

BarImage::BarImage(const QString& name, int hitHeight, QWidget* parent)
    : SkinImage(name, parent), hitHeight_(hitHeight) {}

void BarImage::setImage(const QPixmap& pixmap) {
    setPixmap(pixmap);
    if (!pixmap.isNull()) resize(pixmap.width(), std::max(hitHeight_, pixmap.height()));
}

void BarImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!isEnabled()) p.setOpacity(kDisabledOpacity);
    p.drawPixmap(0, 0, pixmap());
}

} // namespace orlix::pages
