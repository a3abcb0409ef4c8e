#include "macro/gui/MacroNameDialog.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <tuple>

namespace orlix::macro::gui {

using pages::ButtonLabel;
using pages::SkinImage;

namespace {

const QRect kTitle(22, 10, 280, 26);
const QRect kClose(318, 6, 30, 30);
const QRect kEdit(22, 64, 310, 30);
const QRect kConfirm(92, 130, 66, 30);
const QRect kCancel(196, 130, 66, 30);

} // namespace

MacroNameDialog::MacroNameDialog(const pages::SkinPixmaps& skin, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      skin_(skin), mainWindow_(mainWindow),
      background_(new SkinImage(QStringLiteral("Img_MacroName"), this)), title_(new QLabel(this)),
      edit_(new QLineEdit(this)), confirm_(new ButtonLabel(QStringLiteral("IB_Confirm"), this)),
      cancel_(new ButtonLabel(QStringLiteral("IB_Cancel"), this)),
      close_(new ButtonLabel(QStringLiteral("IB_Close"), this)),
      confirmImage_(new SkinImage(QStringLiteral("Img_Confirm"), this)),
      cancelImage_(new SkinImage(QStringLiteral("Img_Cancel"), this)) {
    setObjectName(QStringLiteral("TForm3"));
    setFixedSize(kWidth, kHeight);
    buildBackground();

    title_->setObjectName(QStringLiteral("lbl_MacroName"));
    title_->setGeometry(kTitle);
    QFont titleFont = title_->font();
    titleFont.setPointSize(11);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->setStyleSheet(QStringLiteral("color: white;"));

    edit_->setObjectName(QStringLiteral("Edt_MacroName"));
    edit_->setMaxLength(kMaxChars);
    edit_->setGeometry(kEdit);
    edit_->setStyleSheet(QStringLiteral("QLineEdit { background: #1c1f24; color: #ffffff; "
                                        "border: 1px solid #7a8594; padding: 0 6px; }"));
    connect(edit_, &QLineEdit::returnPressed, this, &MacroNameDialog::confirm);

    for (auto [label, image, area] : {std::tuple{confirm_, confirmImage_, kConfirm},
                                      std::tuple{cancel_, cancelImage_, kCancel}}) {
        image->setGeometry(area);
        image->setImage(skin_.pixmap("BtnS_02"));
        image->hide();
        label->setGeometry(area);
        label->raise();
        // The highlight shows while the pointer is over its label.
        connect(label, &ButtonLabel::entered, image, &QWidget::show);
        connect(label, &ButtonLabel::left, image, &QWidget::hide);
    }
    close_->setGeometry(kClose);
    connect(confirm_, &ButtonLabel::clicked, this, &MacroNameDialog::confirm);
    // Cancel only empties the field; the dialog stays open.
    connect(cancel_, &ButtonLabel::clicked, this, [this] {
        edit_->clear();
        edit_->setFocus();
    });
    connect(close_, &ButtonLabel::clicked, this, &QWidget::hide);
}

void MacroNameDialog::buildBackground() {
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
    for (const QRect& area : {kConfirm, kCancel}) {
        if (!rest.isNull())
            p.drawPixmap(area.topLeft(), rest);
        else
            p.fillRect(area, QColor(70, 78, 90));
    }
    p.setPen(QPen(QColor(220, 225, 232), 2));
    const QRect x = kClose.adjusted(9, 9, -9, -9);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
    p.end();
    background_->setGeometry(0, 0, kWidth, kHeight);
    background_->setImage(QPixmap::fromImage(picture));
    setMask(QBitmap::fromImage(picture.createMaskFromColor(kColourKey, Qt::MaskInColor)));
}

void MacroNameDialog::open(std::size_t macro, const QString& currentName, const TextSource& texts) {
    macro_ = macro;
    title_->setText(QString::fromStdString(texts.text("Str510")));
    confirm_->setText(QString::fromStdString(texts.text("Str511")));
    cancel_->setText(QString::fromStdString(texts.text("Str512")));
    edit_->setText(currentName.left(kMaxChars));
    edit_->selectAll();
    confirmImage_->hide();
    cancelImage_->hide();
    if (mainWindow_ != nullptr) {
        const QRect main = mainWindow_->frameGeometry();
        move(main.left() + (main.width() - kWidth) / 2, main.top() + (main.height() - kHeight) / 2);
    }
    show();
    raise();
    activateWindow();
    edit_->setFocus();
}

void MacroNameDialog::confirm() {
    const QString name = edit_->text().left(kMaxChars);
    hide();
    if (!name.isEmpty()) emit confirmed(macro_, name);
}

void MacroNameDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace orlix::macro::gui
