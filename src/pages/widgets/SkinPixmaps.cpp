#include "pages/widgets/SkinPixmaps.h"

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

} // namespace orlix::pages
