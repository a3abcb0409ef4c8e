#include "shell/WindowControls.h"

#include <QButtonGroup>

namespace orlix::shell {

using pages::ButtonLabel;
using pages::SkinImage;

namespace {

const QSize kPageButtonSize(125, 33);
const QSize kWebButtonSize(264, 21);

QString name(const char* prefix, const char* suffix) {
    return QString::fromLatin1(prefix) + QString::fromLatin1(suffix);
}

} // namespace

WindowControls::WindowControls(QWidget* window, const pages::SkinPixmaps& skin)
    : QObject(window), window_(window), skin_(skin),
      base_(new SkinImage(QStringLiteral("Img_Base"), window)) {
    base_->setGeometry(0, 0, 800, 600);
}

ButtonLabel* WindowControls::makeButton(const QString& suffix, std::string_view restImage,
                                        QSize size) {
    // The button takes its image's size; the table size stands in for a missing image.
    const QPixmap rest = skin_.pixmap(restImage);
    if (!rest.isNull()) size = rest.size();
    auto* image = new SkinImage(QStringLiteral("Img_") + suffix, window_);
    image->resize(size);
    image->setImage(rest);
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* label = new ButtonLabel(QStringLiteral("Btn_") + suffix, window_);
    label->resize(size);
    fitTextArea(label, restImage);
    connect(label, &ButtonLabel::clicked, this,
            [this, label] { emit clicked(label->objectName()); });
    return label;
}

void WindowControls::fitTextArea(ButtonLabel* label, std::string_view restImage) {
    // Images of buttons that stand close together leave see-through margins; the caption
    // and the clicks keep to the part that is drawn.
    const QRect drawn = skin_.opaqueBounds(restImage);
    if (!drawn.isEmpty() && drawn != label->rect())
        label->setTextArea(drawn);
    else
        label->setTextArea(QRect());
}

void WindowControls::buildButtons() {
    buildCommandAndPageButtons();
    buildWebButton();
    buildStatesAndCovers();
}

void WindowControls::buildCommandAndPageButtons() {
    // Window commands: hover "BtnS_02", rest "BtnS_01", pressed "BtnS_03".
    for (const char* b : kWindowButtons) {
        ButtonLabel* label = makeButton(QString::fromLatin1(b), "BtnS_01", QSize(66, 30));
        const QString img = name("Img_", b);
        connect(label, &ButtonLabel::entered, this, [this, img] { showImage(img, "BtnS_02"); });
        connect(label, &ButtonLabel::left, this, [this, img] { showImage(img, "BtnS_01"); });
    }
    // Page and profile-file buttons: hover "SetS_03"; the current page keeps "SetS_02".
    for (const auto& list : {std::vector<const char*>(kPageButtons.begin(), kPageButtons.end()),
                             std::vector<const char*>(kFileButtons.begin(), kFileButtons.end())}) {
        for (const char* b : list) {
            ButtonLabel* label = makeButton(QString::fromLatin1(b), "SetS_01", kPageButtonSize);
            const QString img = name("Img_", b);
            connect(label, &ButtonLabel::entered, this, [this, img] { showImage(img, "SetS_03"); });
            connect(label, &ButtonLabel::left, this, [this, img] {
                showImage(img, img == selectedPageImage_ ? "SetS_02" : "SetS_01");
            });
        }
    }
    // Language buttons: hover "SetS_03"; on leave the chosen language shows "SetS_02" again.
    for (const char* b : kLanguageButtons) {
        ButtonLabel* label = makeButton(QString::fromLatin1(b), "SetS_01", kPageButtonSize);
        const QString img = name("Img_", b);
        connect(label, &ButtonLabel::entered, this, [this, img] { showImage(img, "SetS_03"); });
        connect(label, &ButtonLabel::left, this, [this, img] {
            showImage(img, "SetS_01");
            for (int n = 1; n <= 3; ++n)
                if (languageRadio(n)->isChecked())
                    showImage(QStringLiteral("Img_Lang%1").arg(n), "SetS_02");
        });
    }
    // The command column and the rows of page buttons each read alike.
    QList<ButtonLabel*> commands;
    for (const char* b : kWindowButtons)
        commands << button(name("Btn_", b));
    pages::condenseAlike(commands);
    QList<ButtonLabel*> rows;
    for (const auto& list :
         {std::vector<const char*>(kPageButtons.begin(), kPageButtons.end()),
          std::vector<const char*>(kFileButtons.begin(), kFileButtons.end()),
          std::vector<const char*>(kLanguageButtons.begin(), kLanguageButtons.end())})
        for (const char* b : list)
            rows << button(name("Btn_", b));
    pages::condenseAlike(rows);
}

void WindowControls::buildWebButton() {
    ButtonLabel* web = makeButton(QStringLiteral("Web"), "WebS_01", kWebButtonSize);
    // The web button shows its address in the bar between the globe and the arrow.
    web->setTextArea(QRect(28, 0, kWebButtonSize.width() - 56, kWebButtonSize.height()));
    web->setAlignLeft(true);
    web->setTextColour(QColor(170, 180, 192));
    QFont small = web->font();
    small.setPointSize(8);
    web->setFont(small);
    connect(web, &ButtonLabel::entered, this,
            [this] { showImage(QStringLiteral("Img_Web"), "WebS_03"); });
    connect(web, &ButtonLabel::left, this,
            [this] { showImage(QStringLiteral("Img_Web"), "WebS_01"); });
}

// The status texts, the hidden radio buttons that hold the current page and language, and
// the covers.
void WindowControls::buildStatesAndCovers() {
    for (const char* l : {"lbl_NoDev", "lbl_CheckDev", "lbl_IDError", "lbl_TypeError"}) {
        auto* status = new QLabel(window_);
        status->setObjectName(QString::fromLatin1(l));
        status->setWordWrap(true);
        status->setAttribute(Qt::WA_TransparentForMouseEvents);
        status->hide();
    }

    auto* pageGroup = new QButtonGroup(this);
    for (int n = 1; n <= 6; ++n) {
        auto* rb = new QRadioButton(window_);
        rb->setObjectName(QStringLiteral("rb_%1").arg(n));
        rb->hide();
        pageGroup->addButton(rb);
        pageRadios_[static_cast<std::size_t>(n - 1)] = rb;
    }
    pageRadios_[0]->setChecked(true);
    auto* langGroup = new QButtonGroup(this);
    for (int n = 1; n <= 3; ++n) {
        auto* rb = new QRadioButton(window_);
        rb->setObjectName(QStringLiteral("rb_Lang%1").arg(n));
        rb->hide();
        langGroup->addButton(rb);
        langRadios_[static_cast<std::size_t>(n - 1)] = rb;
    }
    langRadios_[0]->setChecked(true);

    // Covers swallow clicks on everything beneath them: Disable over the page area while
    // editing is off, Disable_All over the whole window during a transfer.
    disable_ = new QLabel(window_);
    disable_->setObjectName(QStringLiteral("Disable"));
    disable_->hide();
    disableAll_ = new QLabel(window_);
    disableAll_->setObjectName(QStringLiteral("Disable_All"));
    disableAll_->setGeometry(0, 0, 800, 600);
    disableAll_->hide();
}

ButtonLabel* WindowControls::button(const QString& n) const {
    return window_->findChild<ButtonLabel*>(n, Qt::FindDirectChildrenOnly);
}

SkinImage* WindowControls::image(const QString& n) const {
    return window_->findChild<SkinImage*>(n, Qt::FindDirectChildrenOnly);
}

QLabel* WindowControls::label(const QString& n) const {
    return window_->findChild<QLabel*>(n, Qt::FindDirectChildrenOnly);
}

std::string WindowControls::pageButtonImage(const QString& imageName, std::string_view look) const {
    if (addedPageImages_.contains(imageName)) {
        const std::string wide = "SetSW" + std::string(look.substr(4));
        if (skin_.has(wide)) return wide;
    }
    // Page-button images may come per skin set, as the layouts space those buttons apart.
    return skin_.forSet(skinSet_, look);
}

void WindowControls::showImage(const QString& imageName, std::string_view skinImage) {
    const std::string name = skinImage.starts_with("SetS") ? pageButtonImage(imageName, skinImage)
                                                           : std::string(skinImage);
    if (SkinImage* img = image(imageName)) img->setImage(skin_.pixmap(name));
}

void WindowControls::setAddedPageImages(const QStringList& imageNames) {
    if (imageNames == addedPageImages_) return;
    addedPageImages_ = imageNames;
    // Their plates and their captions' room change with it.
    setSelectedPageImage(selectedPageImage_);
    for (const char* b : kPageButtons)
        fitTextArea(button(name("Btn_", b)), pageButtonImage(name("Img_", b), "SetS_01"));
}

int WindowControls::pagePlateBody() const {
    return skin_.plateBody(skin_.forSet(skinSet_, "SetS_01")).width();
}

int WindowControls::addedPagePlateBody() const {
    return skin_.has("SetSW_01") ? skin_.plateBody("SetSW_01").width() : 0;
}

void WindowControls::setSelectedPageImage(const QString& imageName) {
    selectedPageImage_ = imageName;
    for (const char* b : kPageButtons) {
        const QString img = name("Img_", b);
        showImage(img, img == imageName ? "SetS_02" : "SetS_01");
    }
}

void WindowControls::clearPageImages() {
    setSelectedPageImage(QString());
}

void WindowControls::setLanguage(int n) {
    skinSet_ = n;
    for (int i = 1; i <= 3; ++i)
        showImage(QStringLiteral("Img_Lang%1").arg(i), i == n ? "SetS_02" : "SetS_01");
    languageRadio(n)->setChecked(true);
    // The skin's own page-button plates: their images and the captions' room.
    setSelectedPageImage(selectedPageImage_);
    const std::string rest = skin_.forSet(n, "SetS_01");
    for (const char* b : kPageButtons)
        fitTextArea(button(name("Btn_", b)), pageButtonImage(name("Img_", b), "SetS_01"));
    for (const char* b : kFileButtons) {
        showImage(name("Img_", b), "SetS_01");
        fitTextArea(button(name("Btn_", b)), rest);
    }
    for (const char* b : kLanguageButtons)
        fitTextArea(button(name("Btn_", b)), rest);
}

void WindowControls::showPressed(const QString& buttonName) {
    QString img = buttonName;
    img.replace(0, 4, QStringLiteral("Img_"));
    const bool windowButton =
        buttonName == QLatin1String("Btn_Confirm") || buttonName == QLatin1String("Btn_Apply") ||
        buttonName == QLatin1String("Btn_Reset") || buttonName == QLatin1String("Btn_Exit");
    showImage(img, windowButton                             ? "BtnS_03"
                   : buttonName == QLatin1String("Btn_Web") ? "WebS_02"
                                                            : "SetS_02");
}

} // namespace orlix::shell
