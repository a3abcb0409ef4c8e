#include "pages/AssignmentPage.h"

namespace orlix::pages {

AssignmentPage::AssignmentPage(PageContainer& page, const SkinPixmaps& skin, QWidget* window)
    : QObject(window), skin_(skin), labelRun_(new QTimer(this)) {
    labelRun_->setObjectName(QStringLiteral("LabelRun"));
    labelRun_->setInterval(kMarqueeInterval);
    connect(labelRun_, &QTimer::timeout, this, &AssignmentPage::step);

    for (int n = 1; n <= kButtonCount; ++n) {
        auto* image = new SkinImage(QStringLiteral("Img_Key%1").arg(n), window);
        image->resize(kLabelWidth, kLabelHeight);
        image->setImage(skin_.pixmap("KeyS_01"));
        image->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* label = new ButtonLabel(QStringLiteral("Key%1").arg(n), window);
        label->resize(kLabelWidth, kLabelHeight);
        label->setTextArea(kPlateBody);
        images_[static_cast<std::size_t>(n - 1)] = image;
        labels_[static_cast<std::size_t>(n - 1)] = label;
        page.addControl(image);
        page.addControl(label);
        connect(label, &ButtonLabel::entered, this, [this, n] { startHover(n); });
        connect(label, &ButtonLabel::left, this, [this, n] {
            if (hovered_ == n) endHover();
        });
        connect(label, &ButtonLabel::clicked, this, [this, n] {
            endHover();
            emit keyClicked(n);
        });
    }
}

void AssignmentPage::setCaptions(const std::array<std::string, kButtonCount>& names) {
    for (int n = 1; n <= kButtonCount; ++n)
        setCaption(n, QString::fromStdString(names[static_cast<std::size_t>(n - 1)]));
}

void AssignmentPage::setCaption(int n, const QString& caption) {
    if (hovered_ == n) {
        restCaption_ = caption;
        marquee_.start(caption.toStdU32String());
    }
    keyLabel(n)->setText(caption);
}

void AssignmentPage::raiseKeys() {
    for (int n = 1; n <= kButtonCount; ++n) {
        keyImage(n)->raise();
        keyLabel(n)->raise();
    }
}

QString AssignmentPage::caption(int n) const {
    return hovered_ == n ? restCaption_ : keyLabel(n)->text();
}

void AssignmentPage::startHover(int n) {
    if (hovered_ != 0) endHover();
    hovered_ = n;
    restCaption_ = keyLabel(n)->text();
    marquee_.start(restCaption_.toStdU32String());
    keyImage(n)->setImage(skin_.pixmap("KeyS_02"));
    keyLabel(n)->setScrolling(true);
    labelRun_->start();
    emit hoverStarted();
}

void AssignmentPage::endHover() {
    if (hovered_ == 0) return;
    const int n = hovered_;
    hovered_ = 0;
    labelRun_->stop();
    keyImage(n)->setImage(skin_.pixmap("KeyS_01"));
    keyLabel(n)->setScrolling(false);
    keyLabel(n)->setText(restCaption_);
    emit hoverEnded();
}

void AssignmentPage::step() {
    if (hovered_ == 0) return;
    keyLabel(hovered_)->setText(QString::fromStdU32String(marquee_.tick()));
}

} // namespace orlix::pages
