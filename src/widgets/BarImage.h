#pragma once

#include "widgets/SkinImage.h"

namespace orlix::pages {

// A segment of the resolution bar (Img_DPI1 .. Img_DPI8): its skin image at the top of a
// control a little taller than the image, so the thin bar is easy to hit. A disabled segment
// (its value is off) is drawn faint instead of in the platform's disabled look, which would
// make it brighter than the segments that take clicks.
class BarImage : public SkinImage {
    Q_OBJECT
public:
    BarImage(const QString& name, int hitHeight, QWidget* parent);

    void setImage(const QPixmap& pixmap);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int hitHeight_;
};

} // namespace orlix::pages
