#pragma once

#include "model/Configuration.h"
#include "rules/LightingRules.h"
#include "widgets/ButtonLabel.h"
#include "widgets/PageContainer.h"
#include "widgets/PageView.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinPixmaps.h"

#include <QColor>
#include <QObject>

#include <array>
#include <functional>
#include <optional>

class QLineEdit;
class QRadioButton;

namespace orlix::pages {

// The Breathing-light page: lighting mode options (lbl_Random, lbl_Colorful, lbl_Custom over
// Img_* marks, hidden rb_*), four ten-step bars (Img_Off1..10, Img_Raise.., Img_On..,
// Img_Fall.. with number labels lbl_Off1..), colour mode options (lbl_LEDColMode1/2) and the
// colours: in orlix-editor a swatch (cs_Mode1 under Img_Mode1Color, click area lbl_csmode1)
// that opens the colour dialog; in orlix-editor-s the percentage edits Edt_Mode1R/G/B. The
// mode-2 colour (cs_Mode2, Edt_Mode2R/G/B) is shown, never edited. While the image says the
// mouse has no lighting settings the whole page is drawn disabled.
class LightingPage : public QObject, public PageView {
    Q_OBJECT
public:
    using Bar = LightingRules::Bar;
    // Runs the colour dialog; nullopt when the user cancels. Tests answer in advance.
    using ColourDialog =
        std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)>;

    static constexpr int kLabelWidth = 31;
    static constexpr int kLabelHeight = 16;
    static constexpr int kEditWidth = 40;
    static constexpr int kEditHeight = 20;

    LightingPage(PageContainer& page, const SkinPixmaps& skin, Configuration& config,
                 QWidget* window);

    LightingRules& rules() { return rules_; }
    void setColourDialog(ColourDialog dialog) { dialog_ = std::move(dialog); }
    bool percentEdits() const { return percentEdits_; }

    void refresh() override;
    void applyLanguage(const appearance::Languages& languages,
                       const appearance::Layout& layout) override;
    void setEditing(bool on) override;
    void setLocked(bool on) override;

private:
    void buildModes(PageContainer& page, QWidget* window);
    void buildBars(PageContainer& page, QWidget* window);
    void buildColours(PageContainer& page, QWidget* window);
    void redraw();
    bool acceptsInput() const { return editing_ && !locked_; }

    void modeClicked(int mode);
    void stepClicked(Bar bar, int n);
    void colourModeClicked(int colourMode);
    void swatchClicked();
    void percentEdited(int channel, const QString& text);

    const SkinPixmaps& skin_;
    LightingRules rules_;
    bool percentEdits_;
    ColourDialog dialog_;
    QWidget* window_;

    std::array<SkinImage*, 3> modeImages_{};
    std::array<QRadioButton*, 3> modeRadios_{};
    std::array<std::array<SkinImage*, LightingRules::kSteps>, 4> barImages_{};
    std::array<SkinImage*, 2> colourModeImages_{};
    std::array<QRadioButton*, 2> colourModeRadios_{};
    std::array<QWidget*, 2> swatches_{};  // cs_Mode1, cs_Mode2 (orlix-editor)
    ButtonLabel* swatchArea_ = nullptr;   // lbl_csmode1
    std::array<QLabel*, 2> editTitles_{}; // over the percentage edits (orlix-editor-s)
    std::array<std::array<QLineEdit*, 3>, 2> edits_{};
    QList<QWidget*> controls_; // everything drawn, for the disabled look
    bool editing_ = false;
    bool locked_ = false;
};

} // namespace orlix::pages
