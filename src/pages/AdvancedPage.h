#pragma once

#include "model/Configuration.h"
#include "rules/FireKeyRules.h"
#include "rules/ResolutionRules.h"
#include "widgets/BarImage.h"
#include "widgets/PageContainer.h"
#include "widgets/PageView.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinPixmaps.h"
#include "widgets/ValueLabel.h"

#include <QColor>
#include <QObject>

#include <array>

class QLineEdit;
class QRadioButton;

namespace orlix::pages {

// The mouse controls of the Advanced page: the eight resolution values with their bars, the
// report-rate options, the four fire keys' repeat and delay fields and the Fire Mode group.
// The controls render the page state of the configuration; every rule is in ResolutionRules
// and FireKeyRules. The layout places the controls by their names.
class AdvancedPage : public QObject, public PageView {
    Q_OBJECT
public:
    static constexpr int kValueLabelWidth = 32;
    static constexpr int kValueLabelHeight = 18;
    static constexpr int kBarHitHeight = 12; // the 4-pixel bar takes clicks a little below it
    static constexpr int kRateLabelWidth = 96;
    static constexpr int kRateLabelHeight = 22;
    static constexpr int kModeLabelWidth = 48;
    static constexpr int kModeLabelHeight = 20;
    static constexpr int kFieldWidth = 40;
    static constexpr int kFieldHeight = 19;

    AdvancedPage(Configuration& config, PageContainer& page, const SkinPixmaps& skin,
                 QWidget* window);

    void refresh() override;
    void applyLanguage(const appearance::Languages& languages,
                       const appearance::Layout& layout) override;
    void setEditing(bool editing) override;
    void setLocked(bool locked) override;

    // Handlers of the controls; n counts from 1 as the controls' names do.
    void DPILevel_OnClick(int n);
    void CurrentDPI_OnClick(int n);
    void ReportRate_OnClick(int n);
    void fireModeClicked(int n);
    // Shows the group of the last Fire Mode button, as the button pages' refresh does.
    void RefreshFireKeyMode();

    ValueLabel* valueLabel(int n) const { return dpiLabels_[index(n)]; }
    BarImage* bar(int n) const { return bars_[index(n)]; }
    QLineEdit* repeatField(int n) const { return repeatFields_[index(n)]; }
    QLineEdit* delayField(int n) const { return delayFields_[index(n)]; }
    ValueLabel* fireModeLabel(int n) const { return modeLabels_[index(n)]; }

private:
    static std::size_t index(int n) { return static_cast<std::size_t>(n - 1); }
    bool accepting() const { return editing_ && !locked_; }
    void showResolution();
    void showReportRate();
    void showFireKeys();
    void showFireModes();
    void fieldLeft(int n, bool repeat);
    void updateFields();

    Configuration& config_;
    const SkinPixmaps& skin_;
    ResolutionRules resolution_;
    FireKeyRules fire_;

    std::array<ValueLabel*, 8> dpiLabels_{};
    std::array<BarImage*, 8> bars_{};
    std::array<QRadioButton*, 8> dpiRadios_{};
    std::array<ValueLabel*, 2> rateLabels_{};
    std::array<SkinImage*, 2> rateImages_{};
    std::array<QRadioButton*, 2> rateRadios_{};
    std::array<QLineEdit*, 4> repeatFields_{};
    std::array<QLineEdit*, 4> delayFields_{};
    std::array<ValueLabel*, 4> modeLabels_{};

    QColor selected_{255, 0, 0};
    QColor notSelected_{255, 255, 255};
    bool editing_ = false;
    bool locked_ = false;
};

} // namespace orlix::pages
