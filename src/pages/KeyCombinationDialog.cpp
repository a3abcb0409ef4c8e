#include "pages/KeyCombinationDialog.h"

#include "widgets/SkinStyle.h"
#include "widgets/VirtualKeys.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <tuple>

namespace orlix::pages {

namespace {

const QRect kTitle(22, 10, 280, 26);
const QRect kClose(318, 8, 26, 26);
const QRect kEdit(22, 46, 310, 28);
const QRect kConfirm(92, 130, 66, 30);
const QRect kClear(196, 130, 66, 30);
constexpr int kBoxTop = 88;
constexpr std::array<int, 4> kBoxLeft{22, 102, 182, 262};

} // namespace

KeyCaptureEdit::KeyCaptureEdit(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("Edt_Assembly"));
    setReadOnly(true);
}

bool KeyCaptureEdit::event(QEvent* event) {
    // Tab and Backtab would move the focus before keyPressEvent sees them.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void KeyCaptureEdit::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers();
    // A bare Esc closes the dialog, as Esc closes every dialog; with a modifier held it is
    // captured like any other key.
    if (event->key() == Qt::Key_Escape && (mods & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        emit escapePressed();
        return;
    }
    KeyCombination::Held held{mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier),
                              mods.testFlag(Qt::AltModifier)};
    event->accept();
    emit keyCaptured(virtualKeyOf(*event), held);
}

KeyCombinationDialog::KeyCombinationDialog(const SkinPixmaps& skin, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      skin_(skin), mainWindow_(mainWindow),
      background_(new SkinImage(QStringLiteral("Img_Assembly"), this)), title_(new QLabel(this)),
      edit_(new KeyCaptureEdit(this)),
      confirm_(new ButtonLabel(QStringLiteral("IB_Confirm"), this)),
      clear_(new ButtonLabel(QStringLiteral("IB_Cancel"), this)),
      close_(new ButtonLabel(QStringLiteral("IB_Close"), this)),
      confirmImage_(new SkinImage(QStringLiteral("Img_Confirm"), this)),
      clearImage_(new SkinImage(QStringLiteral("Img_Cancel"), this)) {
    setObjectName(QStringLiteral("TForm2"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildBackground();

    title_->setObjectName(QStringLiteral("lbl_Assembly"));
    title_->setGeometry(kTitle);
    QFont titleFont = title_->font();
    titleFont.setPointSize(11);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->setStyleSheet(QStringLiteral("color: white;"));

    edit_->setGeometry(kEdit);
    edit_->setStyleSheet(QStringLiteral("QLineEdit { background: #1c1f24; color: #ffffff; "
                                        "border: 1px solid #7a8594; padding: 0 4px; }"));
    connect(edit_, &KeyCaptureEdit::keyCaptured, this,
            [this](unsigned vk, KeyCombination::Held held) {
                model_.keyDown(vk, held);
                refreshEdit();
            });

    for (int m = 0; m < 4; ++m) {
        auto* box = new QCheckBox(
            QString::fromLatin1(KeyCombination::kModifierNames[static_cast<std::size_t>(m)]), this);
        box->setObjectName(QStringLiteral("CB_") + box->text());
        box->setGeometry(kBoxLeft[static_cast<std::size_t>(m)], kBoxTop, 76, 24);
        // Drawn in the skin: a dark box, the accent when checked, a tick that stands out.
        box->setStyle(skinStyle());
        QPalette pal = box->palette();
        pal.setColor(QPalette::WindowText, skinColours().text);
        box->setPalette(pal);
        box->setAttribute(Qt::WA_Hover);
        box->setFocusPolicy(Qt::NoFocus);
        boxes_[static_cast<std::size_t>(m)] = box;
        connect(box, &QCheckBox::clicked, this, [this, m](bool checked) {
            modifierClicked(static_cast<KeyCombination::Modifier>(m), checked);
        });
    }

    for (auto [label, image, area] :
         {std::tuple{confirm_, confirmImage_, kConfirm}, std::tuple{clear_, clearImage_, kClear}}) {
        image->setGeometry(area);
        image->setImage(skin_.pixmap("BtnS_02"));
        image->hide();
        label->setGeometry(area);
        label->raise();
        connect(label, &ButtonLabel::entered, image, &QWidget::show);
        connect(label, &ButtonLabel::left, image, &QWidget::hide);
    }
    close_->setGeometry(kClose);
    connect(confirm_, &ButtonLabel::clicked, this, &KeyCombinationDialog::confirm);
    connect(clear_, &ButtonLabel::clicked, this, &KeyCombinationDialog::clearAll);
    connect(close_, &ButtonLabel::clicked, this, &QWidget::hide);
    connect(edit_, &KeyCaptureEdit::escapePressed, this, &QWidget::hide);
}

void KeyCombinationDialog::buildBackground() {
    // The dialog's own picture: a rounded panel on the see-through colour, the two buttons'
    // resting images and the close mark drawn in.
    QImage picture(kWidth, kHeight, QImage::Format_ARGB32);
    picture.fill(kColourKey);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, kWidth - 1, kHeight - 1), 14, 14);
    QLinearGradient fill(0, 0, 0, kHeight);
    fill.setColorAt(0, QColor(58, 64, 74));
    fill.setColorAt(1, QColor(30, 33, 39));
    p.fillPath(outline, fill);
    p.setPen(QPen(QColor(120, 134, 150), 2));
    p.drawPath(outline);
    p.setPen(QColor(90, 100, 114));
    p.drawLine(14, 40, kWidth - 14, 40);
    const QPixmap rest = skin_.pixmap("BtnS_01");
    for (const QRect& area : {kConfirm, kClear}) {
        if (!rest.isNull())
            p.drawPixmap(area.topLeft(), rest);
        else
            p.fillRect(area, QColor(70, 78, 90));
    }
    p.setPen(QPen(QColor(220, 225, 232), 2));
    const QRect x = kClose.adjusted(8, 8, -8, -8);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
    p.end();
    background_->setGeometry(0, 0, kWidth, kHeight);
    background_->setImage(QPixmap::fromImage(picture));
    setMask(QBitmap::fromImage(picture.createMaskFromColor(kColourKey, Qt::MaskInColor)));
}

void KeyCombinationDialog::open(const TextSource& texts) {
    model_.clear();
    for (QCheckBox* box : boxes_)
        box->setChecked(false);
    refreshEdit();
    title_->setText(QString::fromStdString(texts.text("Str500")));
    confirm_->setText(QString::fromStdString(texts.text("Str501")));
    clear_->setText(QString::fromStdString(texts.text("Str502")));
    if (mainWindow_ != nullptr) {
        const QRect main = mainWindow_->frameGeometry();
        move(main.left() + (main.width() - kWidth) / 2,
             main.top() + (main.height() - kHeight) / 2 + 40);
    }
    show();
    raise();
    activateWindow();
    edit_->setFocus();
}

void KeyCombinationDialog::refreshEdit() {
    edit_->setText(QString::fromStdString(model_.text()));
}

void KeyCombinationDialog::modifierClicked(KeyCombination::Modifier m, bool checked) {
    model_.setModifier(m, checked);
    refreshEdit();
    edit_->setFocus();
}

void KeyCombinationDialog::confirm() {
    const QString text = edit_->text();
    const QString code = QString::fromStdString(model_.code());
    hide();
    emit confirmed(text, code);
}

void KeyCombinationDialog::clearAll() {
    model_.clear();
    for (QCheckBox* box : boxes_)
        box->setChecked(false);
    refreshEdit();
    edit_->setFocus();
}

} // namespace orlix::pages
