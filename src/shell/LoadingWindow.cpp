#include "shell/LoadingWindow.h"

#include <QPainter>
#include <QRegion>

namespace orlix::shell {

namespace {
constexpr int kSpokes = 12;
const QRect kDisc(3, 0, 200, 192);
} // namespace

LoadingWindow::LoadingWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("TFormLoadingUI"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Black is see-through: only the disc of the animation is the window.
    setMask(QRegion(kDisc, QRegion::Ellipse));
    animation_.setInterval(kFrameIntervalMs);
    connect(&animation_, &QTimer::timeout, this, [this] {
        ++ticks_;
        frame_ = (frame_ + 1) % kSpokes;
        update();
    });
}

void LoadingWindow::showOver(const QWidget* mainWindow) {
    if (mainWindow != nullptr) {
        const QRect main = mainWindow->frameGeometry();
        move(main.left() + (main.width() - kWidth) / 2,
             main.top() + (main.height() - kHeight) / 2 + 40);
    }
    if (!isVisible()) {
        percent_ = 0;
        show();
    }
    raise();
    if (!animation_.isActive()) animation_.start();
}

void LoadingWindow::setPercent(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    update();
}

void LoadingWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::black);
    p.setBrush(QColor(24, 27, 32));
    p.setPen(QPen(QColor(70, 78, 90), 3));
    p.drawEllipse(QRectF(kDisc).adjusted(2, 2, -2, -2));

    const QPointF centre = QRectF(kDisc).center();
    for (int i = 0; i < kSpokes; ++i) {
        const int age = (frame_ - i + kSpokes) % kSpokes;
        QColor c(0, 190, 200);
        c.setAlpha(255 - age * 18);
        p.save();
        p.translate(centre);
        p.rotate(360.0 * i / kSpokes);
        p.setPen(QPen(c, 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, -62), QPointF(0, -80));
        p.restore();
    }
    QFont f = font();
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(kDisc, Qt::AlignCenter, QStringLiteral("%1 %").arg(percent_));
}

} // namespace orlix::shell
