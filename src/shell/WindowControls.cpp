#include "shell/WindowControls.h"

#include <QButtonGroup>

namespace orlix::shell {

using pages::ButtonLabel;
using pages::SkinImage;

namespace {

const QSize kWindowButtonSize(66, 30);
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
    auto* image = new SkinImage(QStringLiteral("Img_") + suffix, window_);
    image->resize(size);
    image->setImage(skin_.pixmap(restImage));
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* label = new ButtonLabel(QStringLiteral("Btn_") + suffix, window_);
    label->resize(size);
    // Images of buttons that stand close together leave see-through margins; the caption
    // and the clicks keep to the part that is drawn.
    const QRect drawn = skin_.opaqueBounds(restImage);
    if (!drawn.isEmpty() && drawn != QRect(QPoint(0, 0), size)) label->setTextArea(drawn);
    connect(label, &ButtonLabel::clicked, this,
            [this, label] { emit clicked(label->objectName()); });
    return label;
}

void WindowControls::buildButtons() {
    // Window commands: hover "BtnS_02", rest "BtnS_01", pressed "BtnS_03".
    for (const char* b : kWindowButtons) {
        ButtonLabel* label = makeButton(QString::fromLatin1(b), "BtnS_01", kWindowButtonSize);
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

void WindowControls::showImage(const QString& imageName, std::string_view skinImage) {
    if (SkinImage* img = image(imageName)) img->setImage(skin_.pixmap(skinImage));
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
    for (int i = 1; i <= 3; ++i)
        showImage(QStringLiteral("Img_Lang%1").arg(i), i == n ? "SetS_02" : "SetS_01");
    languageRadio(n)->setChecked(true);
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

namespace orlix::shell {

void WindowControls::fitCaptions() {
    auto row = [this](std::initializer_list<const char*> names) {
        QList<ButtonLabel*> labels;
        for (const char* n : names)
            labels << button(name("Btn_", n));
        pages::fitUniformly(labels);
    };
    row({"Confirm", "Apply", "Reset", "Exit"});
    row({"Main", "Switch", "Fixed", "Adv", "Breath", "Macro", "Save", "Load"});
    row({"Lang1", "Lang2", "Lang3"});
}

} // namespace orlix::shell
