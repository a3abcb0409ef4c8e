#pragma once

#include "rules/PointerScales.h"
#include "widgets/ButtonLabel.h"
#include "widgets/PageContainer.h"
#include "widgets/PageView.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinPixmaps.h"

#include <QObject>

#include <array>

namespace orlix::pages {

// The three pointer scales of the Advanced page: step images Img_Spd1..10, Img_DbSpd1..10,
// Img_ScrSpd1..10 ("Bar1_E" up to the step, "Bar1_D" after it) with their number labels
// lbl_Spd1.. and so on. A click on an image or its number sets the step; the system is
// changed only by apply(). A scale the system does not have is drawn disabled.
class PointerScalesView : public QObject, public PageView {
    Q_OBJECT
public:
    using Setting = platform::PointerSetting;
    static constexpr int kLabelWidth = 31; // centred under the 23-pixel segment
    static constexpr int kLabelHeight = 16;

    PointerScalesView(PageContainer& page, const SkinPixmaps& skin,
                      platform::PointerSettingsStore* store, QWidget* window);

    PointerScales& scales() { return scales_; }
    SkinImage* image(Setting s, int n) const;
    ButtonLabel* label(Setting s, int n) const;

    // The system's values into the scales (start-up and after each read from the mouse).
    void readSystem();
    // The chosen values to the system (Apply and Confirm); failures go to the log.
    platform::PointerResult apply();
    void redraw();

    void setEditing(bool on) override;
    void setLocked(bool on) override;

private:
    void clicked(Setting s, int n);

    const SkinPixmaps& skin_;
    PointerScales scales_;
    std::array<std::array<SkinImage*, PointerScales::kSteps>, 3> images_{};
    std::array<std::array<ButtonLabel*, PointerScales::kSteps>, 3> labels_{};
    bool editing_ = false;
    bool locked_ = false;
};

} // namespace orlix::pages
