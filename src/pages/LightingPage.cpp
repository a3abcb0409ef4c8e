#include "pages/LightingPage.h"

#include "appearance/Languages.h"
#include "appearance/Layout.h"
#include "pages/SectionTitles.h"
#include "widgets/Visibility.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace orlix::pages {

namespace {

constexpr std::array<const char*, 4> kBarNames{"Off", "Raise", "On", "Fall"};
// The percentage edits of orlix-editor-s stand at the window's right edge; orlix-editor keeps
// them out of sight, since its swatch is the way to the colour.
constexpr int kEditsInsideX = 800 - LightingPage::kEditWidth - 18;
constexpr int kEditsOutsideX = 820;
constexpr std::array<int, 2> kEditsTop{200, 300};
constexpr int kEditPitch = 24;

std::size_t at(int n) {
    return static_cast<std::size_t>(n);
}

QRadioButton* hiddenRadio(const QString& name, QWidget* window) {
    auto* radio = new QRadioButton(window);
    radio->setObjectName(name);
    radio->setAutoExclusive(false);
    radio->hide();
    return radio;
}

QString colourCss(const QColor& c) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QColor colourOf(const appearance::Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

} // namespace

LightingPage::LightingPage(PageContainer& page, const SkinPixmaps& skin, Configuration& config,
                           QWidget* window)
    : QObject(window), skin_(skin), rules_(config),
      percentEdits_(traitsOf(config.edition).colourEntry == ColourEntry::PercentEdits),
      window_(window) {
    dialog_ = [](QWidget* parent, const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        if (!chosen.isValid()) return std::nullopt;
        return chosen;
    };
    buildModes(page, window);
    buildBars(page, window);
    buildColours(page, window);
    redraw();
}

void LightingPage::buildModes(PageContainer& page, QWidget* window) {
    for (int m = 0; m < 3; ++m) {
        const QString name = QString::fromLatin1(LightingRules::kModeNames[at(m)].data());
        auto* image = new SkinImage(QStringLiteral("Img_") + name, window);
        image->setImage(skin_.pixmap("RdS_D"));
        image->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* label = new ButtonLabel(QStringLiteral("lbl_") + name, window);
        label->resize(26, 22);
        modeImages_[at(m)] = image;
        modeRadios_[at(m)] = hiddenRadio(QStringLiteral("rb_") + name, window);
        connect(label, &ButtonLabel::clicked, this, [this, m] { modeClicked(m); });
        for (QWidget* w : {static_cast<QWidget*>(image), static_cast<QWidget*>(label)}) {
            page.addControl(w);
            controls_ << w;
        }
    }
    for (int c = 1; c <= 2; ++c) {
        auto* image = new SkinImage(QStringLiteral("Img_LEDColMode%1").arg(c), window);
        image->setImage(skin_.pixmap("RdS_D"));
        image->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* label = new ButtonLabel(QStringLiteral("lbl_LEDColMode%1").arg(c), window);
        label->resize(26, 26);
        colourModeImages_[at(c - 1)] = image;
        colourModeRadios_[at(c - 1)] =
            hiddenRadio(QStringLiteral("rb_LEDColMode%1").arg(c), window);
        connect(label, &ButtonLabel::clicked, this, [this, c] { colourModeClicked(c); });
        for (QWidget* w : {static_cast<QWidget*>(image), static_cast<QWidget*>(label)}) {
            page.addControl(w);
            controls_ << w;
        }
    }
}

void LightingPage::buildBars(PageContainer& page, QWidget* window) {
    for (Bar bar : LightingRules::kBars) {
        const auto name = QString::fromLatin1(kBarNames[at(static_cast<int>(bar))]);
        for (int n = 1; n <= LightingRules::kSteps; ++n) {
            auto* image = new SkinImage(QStringLiteral("Img_") + name + QString::number(n), window);
            image->setImage(skin_.pixmap("Bar1_D"));
            auto* label =
                new ButtonLabel(QStringLiteral("lbl_") + name + QString::number(n), window);
            label->resize(kLabelWidth, kLabelHeight);
            label->setText(QString::number(n));
            label->setTextArea(QRect(4, 0, 23, kLabelHeight));
            connect(image, &SkinImage::pressed, this, [this, bar, n] { stepClicked(bar, n); });
            connect(label, &ButtonLabel::clicked, this, [this, bar, n] { stepClicked(bar, n); });
            barImages_[at(static_cast<int>(bar))][at(n - 1)] = image;
            for (QWidget* w : {static_cast<QWidget*>(image), static_cast<QWidget*>(label)}) {
                page.addControl(w);
                controls_ << w;
            }
        }
    }
}

void LightingPage::buildColours(PageContainer& page, QWidget* window) {
    if (!percentEdits_) {
        for (int c = 1; c <= 2; ++c) {
            // The painted shape lies under the frame; the click area over both.
            auto* shape = new QWidget(window);
            shape->setObjectName(QStringLiteral("cs_Mode%1").arg(c));
            shape->setAttribute(Qt::WA_StyledBackground);
            shape->setAttribute(Qt::WA_TransparentForMouseEvents);
            shape->resize(48, 48);
            auto* frame = new SkinImage(QStringLiteral("Img_Mode%1Color").arg(c), window);
            frame->setImage(skin_.pixmap("Col_F"));
            frame->setAttribute(Qt::WA_TransparentForMouseEvents);
            auto* area = new ButtonLabel(QStringLiteral("lbl_csmode%1").arg(c), window);
            area->resize(frame->size());
            swatches_[at(c - 1)] = shape;
            if (c == 1) {
                swatchArea_ = area;
                connect(area, &ButtonLabel::clicked, this, &LightingPage::swatchClicked);
            } else {
                area->setAttribute(Qt::WA_TransparentForMouseEvents);
            }
            for (QWidget* w : {shape, static_cast<QWidget*>(frame), static_cast<QWidget*>(area)}) {
                page.addControl(w);
                controls_ << w;
            }
        }
    }
    const char* channels = "RGB";
    for (int c = 1; c <= 2; ++c) {
        for (int i = 0; i < 3; ++i) {
            auto* edit = new QLineEdit(window);
            edit->setObjectName(
                QStringLiteral("Edt_Mode%1%2").arg(c).arg(QLatin1Char(channels[i])));
            edit->setMaxLength(3);
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]{0,3}")), edit));
            edit->setAlignment(Qt::AlignCenter);
            edit->setGeometry(percentEdits_ ? kEditsInsideX : kEditsOutsideX,
                              kEditsTop[at(c - 1)] + kEditPitch * i, kEditWidth, kEditHeight);
            if (!percentEdits_ || c == 2) {
                edit->setReadOnly(true);
                edit->setFocusPolicy(Qt::NoFocus);
            }
            if (percentEdits_ && c == 1)
                connect(edit, &QLineEdit::textEdited, this,
                        [this, i](const QString& text) { percentEdited(i, text); });
            edits_[at(c - 1)][at(i)] = edit;
            page.addControl(edit);
            controls_ << edit;
        }
    }
    if (!percentEdits_) return;
    // At the window's edge the edits need saying what they hold: the colour above each three,
    // the channel left of each edit.
    for (int c = 1; c <= 2; ++c) {
        auto* title = new QLabel(window);
        title->setObjectName(QStringLiteral("lbl_TitleEdits%1").arg(c));
        title->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        title->setGeometry(kEditsInsideX - 60, kEditsTop[at(c - 1)] - 16, kEditWidth + 60, 14);
        styleAsSectionTitle(title);
        page.addControl(title);
        editTitles_[at(c - 1)] = title;
        for (int i = 0; i < 3; ++i) {
            auto* channel = new QLabel(QString(QLatin1Char(channels[i])), window);
            channel->setObjectName(
                QStringLiteral("lbl_Mode%1%2").arg(c).arg(QLatin1Char(channels[i])));
            channel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            channel->setGeometry(kEditsInsideX - 16, kEditsTop[at(c - 1)] + kEditPitch * i, 12,
                                 kEditHeight);
            styleAsSectionTitle(channel);
            page.addControl(channel);
        }
    }
}

void LightingPage::refresh() {
    rules_.refresh();
    redraw();
}

void LightingPage::applyLanguage(const appearance::Languages& languages,
                                 const appearance::Layout& layout) {
    if (!percentEdits_) return;
    for (std::size_t c = 0; c < 2; ++c)
        editTitles_[c]->setText(
            QString::fromStdString(languages.text(c == 0 ? "Str125" : "Str126")));
    // Background and border in the layout's colour; the text in the step numbers' colour.
    const auto& style = layout.style();
    const QColor back = style.colourEditBack ? colourOf(*style.colourEditBack) : QColor(Qt::black);
    const QColor text =
        style.lightingSteps.colour ? colourOf(*style.lightingSteps.colour) : QColor(Qt::white);
    const QString css =
        QStringLiteral("QLineEdit { background: %1; border: 1px solid %1; color: %2; }")
            .arg(colourCss(back), colourCss(text));
    for (const auto& row : edits_)
        for (QLineEdit* edit : row)
            edit->setStyleSheet(css);
}

void LightingPage::setEditing(bool on) {
    editing_ = on;
    redraw();
}

void LightingPage::setLocked(bool on) {
    locked_ = on;
    redraw();
}

void LightingPage::redraw() {
    const bool editable = rules_.editable();
    const QPixmap chosen = skin_.pixmap("RdS_E");
    const QPixmap other = skin_.pixmap("RdS_D");
    for (int m = 0; m < 3; ++m) {
        modeImages_[at(m)]->setImage(m == rules_.mode() ? chosen : other);
        modeRadios_[at(m)]->setChecked(m == rules_.mode());
    }
    const QPixmap filled = skin_.pixmap("Bar1_E");
    const QPixmap empty = skin_.pixmap("Bar1_D");
    for (Bar bar : LightingRules::kBars) {
        const int step = rules_.step(bar);
        for (int n = 1; n <= LightingRules::kSteps; ++n)
            barImages_[at(static_cast<int>(bar))][at(n - 1)]->setImage(n <= step ? filled : empty);
    }
    const int colourMode = rules_.colourMode();
    for (int c = 1; c <= 2; ++c) {
        colourModeImages_[at(c - 1)]->setImage(c == colourMode ? chosen : other);
        colourModeRadios_[at(c - 1)]->setChecked(c == colourMode);
        const auto colour = rules_.colour(c);
        for (int i = 0; i < 3; ++i) {
            QLineEdit* edit = edits_[at(c - 1)][at(i)];
            const QString text = QString::number(colour[at(i)]);
            if (edit->text() != text) edit->setText(text);
        }
        if (QWidget* shape = swatches_[at(c - 1)]) {
            const QColor paint(LightingRules::swatchChannel(colour[0]),
                               LightingRules::swatchChannel(colour[1]),
                               LightingRules::swatchChannel(colour[2]));
            shape->setStyleSheet(
                QStringLiteral("background: %1; border: 1px solid %1;").arg(colourCss(paint)));
        }
    }
    const bool input = editable && acceptsInput();
    if (swatchArea_ != nullptr) swatchArea_->setEnabled(input && colourMode == 1);
    if (percentEdits_)
        for (QLineEdit* edit : edits_[0])
            edit->setReadOnly(!(input && colourMode == 1));
    for (QWidget* w : controls_)
        dim(w, !editable);
}

void LightingPage::modeClicked(int mode) {
    if (acceptsInput() && rules_.chooseMode(mode)) redraw();
}

void LightingPage::stepClicked(Bar bar, int n) {
    if (acceptsInput() && rules_.setStep(bar, n)) redraw();
}

void LightingPage::colourModeClicked(int colourMode) {
    if (acceptsInput() && rules_.chooseColourMode(colourMode)) redraw();
}

void LightingPage::swatchClicked() {
    if (!acceptsInput() || !rules_.editable() || rules_.colourMode() != 1) return;
    const auto colour = rules_.colour(1);
    const QColor initial(LightingRules::swatchChannel(colour[0]),
                         LightingRules::swatchChannel(colour[1]),
                         LightingRules::swatchChannel(colour[2]));
    const auto picked = dialog_(window_, initial);
    if (!picked) return;
    if (rules_.pickColour(picked->red(), picked->green(), picked->blue())) redraw();
}

void LightingPage::percentEdited(int channel, const QString& text) {
    if (!acceptsInput()) return;
    const auto shown = rules_.editPercent(channel, text.toStdString());
    if (!shown) return;
    QLineEdit* edit = edits_[0][at(channel)];
    if (edit->text() != QString::fromStdString(*shown))
        edit->setText(QString::fromStdString(*shown));
}

} // namespace orlix::pages
