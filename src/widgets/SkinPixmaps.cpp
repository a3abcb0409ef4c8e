#include "widgets/SkinPixmaps.h"

#include "appearance/Png.h"

#include <QDebug>

namespace orlix::pages {

QImage SkinPixmaps::image(std::string_view name) const {
    auto decoded = appearance::decodePngResource(resources_, name);
    if (!decoded.ok()) {
        qWarning().noquote() << QString::fromStdString(decoded.error);
        return {};
    }
    const auto& rgba = decoded.image;
    QImage view(rgba.pixels.data(), rgba.width, rgba.height, rgba.width * 4,
                QImage::Format_RGBA8888);
    return view.copy(); // the view does not own the decoded pixels
}

QPixmap SkinPixmaps::pixmap(std::string_view name) const {
    const QString key =
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toLower();
    auto it = cache_.constFind(key);
    if (it != cache_.constEnd()) return *it;
    QPixmap pm = QPixmap::fromImage(image(name));
    cache_.insert(key, pm);
    return pm;
}

std::string SkinPixmaps::forSet(int n, std::string_view name) const {
    const std::string own = "L" + std::to_string(n) + "_" + std::string(name);
    return has(own) ? own : std::string(name);
}

} // namespace orlix::pages

namespace orlix::pages {

QRect SkinPixmaps::opaqueBounds(std::string_view name) const {
    const QImage img = pixmap(name).toImage().convertToFormat(QImage::Format_ARGB32);
    QRect bounds;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(row[x]) != 0) bounds |= QRect(x, y, 1, 1);
    }
    return bounds;
}

QRect SkinPixmaps::plateBody(std::string_view name) const {
    const QImage img = pixmap(name).toImage().convertToFormat(QImage::Format_ARGB32);
    if (img.isNull()) return {};
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(img.height() / 2));
    const auto solid = [row](int x) { return qAlpha(row[x]) >= 128; };
    int left = img.width() / 2;
    if (!solid(left)) return img.rect();
    int right = left;
    while (left > 0 && solid(left - 1))
        --left;
    while (right < img.width() - 1 && solid(right + 1))
        ++right;
    return QRect(left, 0, right - left + 1, img.height());
}

} // namespace orlix::pages
