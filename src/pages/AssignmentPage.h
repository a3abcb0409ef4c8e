#pragma once

#include "model/SectionBuffers.h"
#include "rules/Marquee.h"
#include "widgets/ButtonLabel.h"
#include "widgets/PageContainer.h"
#include "widgets/SkinPixmaps.h"

#include <QObject>
#include <QRect>
#include <QTimer>

#include <array>
#include <string>

namespace orlix::pages {

// The button labels Key1 .. Key12 of the three button-assignment pages, each over its image
// Img_Key1 .. Img_Key12. A label shows the function of its button; hovering it scrolls the
// caption (the LabelRun timer) and the window pauses its device poll meanwhile.
class AssignmentPage : public QObject {
    Q_OBJECT
public:
    static constexpr int kLabelWidth = 104; // the size of the KeyS images
    static constexpr int kLabelHeight = 31;
    // The plate's body inside the KeyS images, without the connector nubs at both ends: the
    // caption and its marquee stay inside it.
    static constexpr QRect kPlateBody{5, 2, 94, 27};
    static constexpr int kMarqueeInterval = 200;

    AssignmentPage(PageContainer& page, const SkinPixmaps& skin, QWidget* window);

    ButtonLabel* keyLabel(int n) const { return labels_[static_cast<std::size_t>(n - 1)]; }
    SkinImage* keyImage(int n) const { return images_[static_cast<std::size_t>(n - 1)]; }
    QTimer* labelRun() const { return labelRun_; }

    void setCaptions(const std::array<std::string, kButtonCount>& names);
    void setCaption(int n, const QString& caption);
    // The label's caption; while it scrolls, the caption it will show again.
    QString caption(int n) const;

    // Puts the labels and their images on top of whatever was raised before (the page cover),
    // so they keep their hover look and marquee while editing is off.
    void raiseKeys();

    bool hovering() const { return hovered_ != 0; }
    // Ends a running hover effect: image, caption and timer back to rest.
    void endHover();

signals:
    void keyClicked(int n);
    void hoverStarted();
    void hoverEnded();

private:
    void startHover(int n);
    void step();

    const SkinPixmaps& skin_;
    std::array<ButtonLabel*, kButtonCount> labels_{};
    std::array<SkinImage*, kButtonCount> images_{};
    QTimer* labelRun_;
    Marquee marquee_;
    int hovered_ = 0;
    QString restCaption_;
};

} // namespace orlix::pages
