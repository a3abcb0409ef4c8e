#include "pages/AdvancedPage.h"

#include "appearance/Languages.h"
#include "appearance/Layout.h"
#include "model/ImageCodec.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace orlix::pages {

namespace {

QColor colourOf(const std::optional<appearance::Rgb>& c, QColor fallback) {
    return c ? QColor(c->red, c->green, c->blue) : fallback;
}

// A hidden option button that names the chosen entry, as the page's radio buttons do.
QRadioButton* hiddenRadio(const QString& name, QWidget* window) {
    auto* radio = new QRadioButton(window);
    radio->setObjectName(name);
    radio->setAutoExclusive(false);
    radio->hide();
    return radio;
}

QLineEdit* field(const QString& name, int digits, QWidget* window) {
    auto* edit = new QLineEdit(window);
    edit->setObjectName(name);
    edit->setMaxLength(digits);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), edit));
    edit->resize(AdvancedPage::kFieldWidth, AdvancedPage::kFieldHeight);
    return edit;
}

} // namespace

AdvancedPage::AdvancedPage(Configuration& config, PageContainer& page, const SkinPixmaps& skin,
                           QWidget* window)
    : QObject(window), config_(config), skin_(skin), resolution_(config.page.resolution),
      fire_(config.page.fire) {
    for (int n = 1; n <= 8; ++n) {
        auto* barImage = new BarImage(QStringLiteral("Img_DPI%1").arg(n), kBarHitHeight, window);
        barImage->setImage(skin_.pixmap("Bar2_D"));
        auto* label = new ValueLabel(QStringLiteral("lbl_DPI%1").arg(n), window);
        label->resize(kValueLabelWidth, kValueLabelHeight);
        bars_[index(n)] = barImage;
        dpiLabels_[index(n)] = label;
        dpiRadios_[index(n)] = hiddenRadio(QStringLiteral("rb_DPI%1").arg(n), window);
        page.addControl(barImage);
        page.addControl(label);
        connect(label, &ValueLabel::clicked, this, [this, n] { DPILevel_OnClick(n); });
        connect(barImage, &SkinImage::pressed, this, [this, n] { CurrentDPI_OnClick(n); });
    }
    for (int n = 1; n <= 2; ++n) {
        auto* image = new SkinImage(QStringLiteral("Img_Rep%1").arg(n), window);
        image->setImage(skin_.pixmap("RdS_D"));
        auto* label = new ValueLabel(QStringLiteral("lbl_Rep%1").arg(n), window);
        label->resize(kRateLabelWidth, kRateLabelHeight);
        label->setIndent(image->width() + 10);
        label->setText(n == 1 ? QStringLiteral("1000 Hz") : QStringLiteral("500 Hz"));
        rateImages_[index(n)] = image;
        rateLabels_[index(n)] = label;
        rateRadios_[index(n)] = hiddenRadio(QStringLiteral("rb_Rep%1").arg(n), window);
        page.addControl(image);
        page.addControl(label);
        connect(label, &ValueLabel::clicked, this, [this, n] { ReportRate_OnClick(n); });
    }
    for (int n = 1; n <= 4; ++n) {
        auto* repeat = field(QStringLiteral("Edt_Repeat%1").arg(n), fire::kRepeatDigits, window);
        auto* delay = field(QStringLiteral("Edt_DelayTime%1").arg(n), fire::kDelayDigits, window);
        auto* mode = new ValueLabel(QStringLiteral("lbl_FKMode%1").arg(n), window);
        mode->resize(kModeLabelWidth, kModeLabelHeight);
        repeatFields_[index(n)] = repeat;
        delayFields_[index(n)] = delay;
        modeLabels_[index(n)] = mode;
        for (QWidget* w : {static_cast<QWidget*>(repeat), static_cast<QWidget*>(delay),
                           static_cast<QWidget*>(mode)})
            page.addControl(w);
        connect(repeat, &QLineEdit::textEdited, this,
                [this, n](const QString& t) { fire_.typeRepeat(n - 1, t.toStdString()); });
        connect(delay, &QLineEdit::textEdited, this,
                [this, n](const QString& t) { fire_.typeDelay(n - 1, t.toStdString()); });
        connect(repeat, &QLineEdit::editingFinished, this, [this, n] { fieldLeft(n, true); });
        connect(delay, &QLineEdit::editingFinished, this, [this, n] { fieldLeft(n, false); });
        connect(mode, &ValueLabel::clicked, this, [this, n] { fireModeClicked(n); });
    }
    setEditing(false);
}

// ---- what the page shows -------------------------------------------------------------------

void AdvancedPage::refresh() {
    showResolution();
    showReportRate();
    showFireKeys();
    RefreshFireKeyMode();
}

void AdvancedPage::showResolution() {
    for (int n = 1; n <= 8; ++n) {
        const bool on = resolution_.isOn(n - 1);
        const bool current = resolution_.isCurrent(n - 1);
        dpiLabels_[index(n)]->setTextColour(on ? selected_ : notSelected_);
        bars_[index(n)]->setEnabled(resolution_.barEnabled(n - 1));
        bars_[index(n)]->setImage(skin_.pixmap(current ? "Bar2_E" : "Bar2_D"));
        dpiRadios_[index(n)]->setChecked(current);
    }
}

void AdvancedPage::showReportRate() {
    const auto& rate = config_.page.resolution.reportRate;
    for (int n = 1; n <= 2; ++n) {
        const bool chosen = rate == (n == 1 ? 1000 : 500);
        rateRadios_[index(n)]->setChecked(chosen);
        rateImages_[index(n)]->setImage(skin_.pixmap(chosen ? "RdS_E" : "RdS_D"));
    }
}

void AdvancedPage::showFireKeys() {
    for (int n = 1; n <= 4; ++n) {
        repeatFields_[index(n)]->setText(QString::number(fire_.repeat(n - 1)));
        delayFields_[index(n)]->setText(QString::number(fire_.delay(n - 1)));
    }
}

void AdvancedPage::showFireModes() {
    for (int n = 1; n <= 4; ++n)
        modeLabels_[index(n)]->setTextColour(fire_.inGroup(n - 1) ? selected_ : notSelected_);
}

void AdvancedPage::RefreshFireKeyMode() {
    orlix::RefreshFireKeyMode(config_.assignments, config_.page.fire);
    showFireModes();
}

void AdvancedPage::applyLanguage(const appearance::Languages& languages,
                                 const appearance::Layout& layout) {
    selected_ = colourOf(layout.style().selected, QColor(255, 0, 0));
    notSelected_ = colourOf(layout.style().notSelected, QColor(255, 255, 255));
    // The stored index is found by comparing captions with the value list of the language
    // in force, so both follow the language.
    for (std::size_t i = 0; i < config_.page.resolution.captions.size(); ++i)
        config_.page.resolution.captions[i] = languages.text("Str" + std::to_string(300 + i));
    for (int n = 1; n <= 4; ++n)
        for (QLineEdit* edit : {repeatFields_[index(n)], delayFields_[index(n)]}) {
            // The layout sets the fields' text and back colours; the selection keeps them.
            QPalette p = edit->palette();
            p.setColor(QPalette::Highlight, p.color(QPalette::Text));
            p.setColor(QPalette::HighlightedText, p.color(QPalette::Base));
            edit->setPalette(p);
        }
    // The rate options have no size key of their own: they read like the values above them.
    for (ValueLabel* label : rateLabels_)
        label->setFont(dpiLabels_[0]->font());
    fitUniformly({dpiLabels_.begin(), dpiLabels_.end()});
    showResolution();
    showFireModes();
}

void AdvancedPage::setEditing(bool editing) {
    editing_ = editing;
    updateFields();
}

void AdvancedPage::setLocked(bool locked) {
    locked_ = locked;
    updateFields();
}

void AdvancedPage::updateFields() {
    // The cover keeps clicks off the fields; a field that has the focus must not take keys
    // either while editing is off or a transfer runs.
    for (int n = 1; n <= 4; ++n) {
        repeatFields_[index(n)]->setReadOnly(!accepting());
        delayFields_[index(n)]->setReadOnly(!accepting());
    }
}

// ---- handlers --------------------------------------------------------------------------------

void AdvancedPage::DPILevel_OnClick(int n) {
    if (accepting() && resolution_.toggle(n - 1)) showResolution();
}

void AdvancedPage::CurrentDPI_OnClick(int n) {
    if (accepting() && resolution_.makeCurrent(n - 1)) showResolution();
}

void AdvancedPage::ReportRate_OnClick(int n) {
    if (accepting() && resolution_.chooseRate(n)) showReportRate();
}

void AdvancedPage::fireModeClicked(int n) {
    if (accepting() && fire_.toggleMode(n - 1)) showFireModes();
}

void AdvancedPage::fieldLeft(int n, bool repeat) {
    QLineEdit* edit = repeat ? repeatFields_[index(n)] : delayFields_[index(n)];
    const int value = repeat ? fire_.leaveRepeat(n - 1) : fire_.leaveDelay(n - 1);
    edit->setText(QString::number(value));
}

} // namespace orlix::pages
