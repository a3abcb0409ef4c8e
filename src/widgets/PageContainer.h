#pragma once

#include "widgets/SkinImage.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace orlix::pages {

// One of the four page areas of the main window: its background image Img_P<n> and the
// controls that belong to it. The controls are children of the window itself, since the
// layout places them in window coordinates; the page only shows and hides them together.
// The settings pages add their controls here.
class PageContainer : public QObject {
    Q_OBJECT
public:
    PageContainer(int number, QWidget* window);

    int number() const { return number_; }
    SkinImage* background() const { return background_; }

    // The control follows the page's visibility from now on.
    void addControl(QWidget* control);
    const QList<QPointer<QWidget>>& controls() const { return controls_; }

    void setShown(bool shown);
    bool isShown() const { return shown_; }

private:
    int number_;
    SkinImage* background_;
    QList<QPointer<QWidget>> controls_;
    bool shown_ = true;
};

} // namespace orlix::pages
