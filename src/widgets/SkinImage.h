#pragma once

#include <QLabel>
#include <QPixmap>

namespace orlix::pages {

// An image control of the skin (Img_Base, Img_P1, Img_Main ...): shows one skin image at its
// natural size and reports presses, so backgrounds can close menus and drag the window.
class SkinImage : public QLabel {
    Q_OBJECT
public:
    explicit SkinImage(const QString& name, QWidget* parent);

    // Shows the image and takes its size; a null pixmap keeps the current size.
    void setImage(const QPixmap& pixmap);

signals:
    void pressed(QPoint globalPos);
    void dragged(QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace orlix::pages
