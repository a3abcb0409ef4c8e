#include "widgets/PageContainer.h"

#include "widgets/Visibility.h"

namespace orlix::pages {

PageContainer::PageContainer(int number, QWidget* window)
    : QObject(window), number_(number),
      background_(new SkinImage(QStringLiteral("Img_P%1").arg(number), window)) {
    controls_ << background_;
}

void PageContainer::addControl(QWidget* control) {
    controls_ << control;
    setHiddenFor(control, hide::kPage, !shown_);
}

void PageContainer::setShown(bool shown) {
    shown_ = shown;
    for (const auto& c : controls_)
        setHiddenFor(c, hide::kPage, !shown);
}

} // namespace orlix::pages
