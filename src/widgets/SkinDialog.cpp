#include "widgets/SkinDialog.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

#include <tuple>

namespace orlix::pages {

namespace {

const QRect kTitle(22, 10, 280, 26);
const QRect kClose(318, 6, 30, 30);
constexpr int kCloseInset = 9; // the mark is the close area less this on every side
const QRect kConfirm(92, 130, 66, 30);
const QRect kSecond(196, 130, 66, 30);

} // namespace

SkinDialog::SkinDialog(const SkinPixmaps& skin, QWidget* mainWindow, const QString& backgroundName,
                       const QString& titleName)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      skin_(skin), mainWindow_(mainWindow), background_(new SkinImage(backgroundName, this)),
      title_(new QLabel(this)), confirm_(new ButtonLabel(QStringLiteral("IB_Confirm"), this)),
      second_(new ButtonLabel(QStringLiteral("IB_Cancel"), this)),
      close_(new ButtonLabel(QStringLiteral("IB_Close"), this)),
      confirmImage_(new SkinImage(QStringLiteral("Img_Confirm"), this)),
      secondImage_(new SkinImage(QStringLiteral("Img_Cancel"), this)) {
    setFixedSize(kWidth, kHeight);
    buildBackground();

    title_->setObjectName(titleName);
    title_->setGeometry(kTitle);
    QFont titleFont = title_->font();
    titleFont.setPointSize(11);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->setStyleSheet(QStringLiteral("color: white;"));

    for (auto [label, image, area] : {std::tuple{confirm_, confirmImage_, kConfirm},
                                      std::tuple{second_, secondImage_, kSecond}}) {
        image->setGeometry(area);
        image->setImage(skin_.pixmap("BtnS_02"));
        image->hide();
        label->setGeometry(area);
        label->raise();
        connect(label, &ButtonLabel::entered, image, &QWidget::show);
        connect(label, &ButtonLabel::left, image, &QWidget::hide);
    }
    close_->setGeometry(kClose);
    connect(close_, &ButtonLabel::clicked, this, &QWidget::hide);
}

void SkinDialog::buildBackground() {
    // A rounded panel on the see-through colour, the two buttons' resting images and the
    // close mark drawn in.
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
    for (const QRect& area : {kConfirm, kSecond}) {
        if (!rest.isNull())
            p.drawPixmap(area.topLeft(), rest);
        else
            p.fillRect(area, QColor(70, 78, 90));
    }
    p.setPen(QPen(QColor(220, 225, 232), 2));
    const QRect x = kClose.adjusted(kCloseInset, kCloseInset, -kCloseInset, -kCloseInset);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
    p.end();
    background_->setGeometry(0, 0, kWidth, kHeight);
    background_->setImage(QPixmap::fromImage(picture));
    setMask(QBitmap::fromImage(picture.createMaskFromColor(kColourKey, Qt::MaskInColor)));
}

void SkinDialog::showOverMainWindow(int below) {
    confirmImage_->hide();
    secondImage_->hide();
    if (mainWindow_ != nullptr) {
        const QRect main = mainWindow_->frameGeometry();
        move(main.left() + (main.width() - kWidth) / 2,
             main.top() + (main.height() - kHeight) / 2 + below);
    }
    show();
    raise();
    activateWindow();
}

} // namespace orlix::pages
