#include "pages/PointerScalesView.h"

#include "widgets/Visibility.h"

#include <QDebug>

namespace orlix::pages {

namespace {

constexpr std::array<const char*, 3> kPrefix{"Spd", "DbSpd", "ScrSpd"};

std::size_t indexOf(platform::PointerSetting s) {
    return static_cast<std::size_t>(s);
}

// The control is faded and takes no input.
void disable(QWidget* w, bool disabled) {
    w->setEnabled(!disabled);
    dim(w, disabled);
}

} // namespace

PointerScalesView::PointerScalesView(PageContainer& page, const SkinPixmaps& skin,
                                     platform::PointerSettingsStore* store, QWidget* window)
    : QObject(window), skin_(skin), scales_(store) {
    for (Setting s : platform::kPointerSettings) {
        const auto prefix = QString::fromLatin1(kPrefix[indexOf(s)]);
        for (int n = 1; n <= PointerScales::kSteps; ++n) {
            auto* image =
                new SkinImage(QStringLiteral("Img_") + prefix + QString::number(n), window);
            image->setImage(skin_.pixmap("Bar1_D"));
            auto* label =
                new ButtonLabel(QStringLiteral("lbl_") + prefix + QString::number(n), window);
            label->resize(kLabelWidth, kLabelHeight);
            label->setText(QString::number(n));
            // Neighbouring numbers overlap; each takes clicks only over its own segment.
            label->setTextArea(QRect(4, 0, 23, kLabelHeight));
            page.addControl(image);
            page.addControl(label);
            connect(image, &SkinImage::pressed, this, [this, s, n] { clicked(s, n); });
            connect(label, &ButtonLabel::clicked, this, [this, s, n] { clicked(s, n); });
            images_[indexOf(s)][static_cast<std::size_t>(n - 1)] = image;
            labels_[indexOf(s)][static_cast<std::size_t>(n - 1)] = label;
        }
    }
    redraw();
}

SkinImage* PointerScalesView::image(Setting s, int n) const {
    return images_[indexOf(s)][static_cast<std::size_t>(n - 1)];
}

ButtonLabel* PointerScalesView::label(Setting s, int n) const {
    return labels_[indexOf(s)][static_cast<std::size_t>(n - 1)];
}

void PointerScalesView::readSystem() {
    scales_.read();
    redraw();
}

platform::PointerResult PointerScalesView::apply() {
    auto result = scales_.apply();
    for (const auto& failure : result.failures)
        qWarning().noquote() << "pointer settings:" << QString::fromStdString(failure);
    return result;
}

void PointerScalesView::redraw() {
    const QPixmap filled = skin_.pixmap("Bar1_E");
    const QPixmap empty = skin_.pixmap("Bar1_D");
    for (Setting s : platform::kPointerSettings) {
        const bool supported = scales_.supported(s);
        const int step = supported ? scales_.step(s) : 0;
        for (int n = 1; n <= PointerScales::kSteps; ++n) {
            image(s, n)->setImage(n <= step ? filled : empty);
            disable(image(s, n), !supported);
            disable(label(s, n), !supported);
        }
    }
}

void PointerScalesView::clicked(Setting s, int n) {
    if (!editing_ || locked_) return;
    if (scales_.click(s, n)) redraw();
}

void PointerScalesView::setEditing(bool on) {
    editing_ = on;
}

void PointerScalesView::setLocked(bool on) {
    locked_ = on;
}

} // namespace orlix::pages
