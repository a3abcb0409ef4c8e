#pragma once

#include <QTimer>
#include <QWidget>

namespace orlix::shell {

// TFormLoadingUI: the small topmost window shown while the mouse is read or written. It spins
// while events run and shows how far the whole sequence has come.
class LoadingWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 206;
    static constexpr int kHeight = 196;
    static constexpr int kFrameIntervalMs = 80; // one animation step

    explicit LoadingWindow(QWidget* mainWindow);

    // Centred on the main window, 40 pixels below its middle, on top, animating.
    void showOver(const QWidget* mainWindow);
    void setPercent(int percent);
    int percent() const { return percent_; }
    int frame() const { return frame_; }
    // Animation steps taken since the window was made: unlike the frame, it never wraps.
    int ticks() const { return ticks_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer animation_;
    int frame_ = 0;
    int ticks_ = 0;
    int percent_ = 0;
};

} // namespace orlix::shell
