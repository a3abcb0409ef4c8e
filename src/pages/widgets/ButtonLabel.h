#pragma once

#include <QLabel>

namespace orlix::pages {

// A transparent text label that acts as a button over its skin image (Btn_Apply over
// Img_Apply, Key5 over Img_Key5, the menu entries). The caption is drawn centred; a caption
// too wide for the control is set in a smaller size, then over two lines, so it never runs
// out of the control.
class ButtonLabel : public QLabel {
    Q_OBJECT
public:
    explicit ButtonLabel(const QString& name, QWidget* parent);

    void setTextColour(const QColor& colour);
    QColor textColour() const { return colour_; }
    // An invalid colour leaves the label transparent.
    void setBackground(const QColor& colour);
    QColor background() const { return background_; }
    void setAlignLeft(bool left) { alignLeft_ = left; }
    // The part of the control its image really covers; the caption stays inside it and
    // only that part takes clicks. An empty rectangle means the whole control.
    void setTextArea(const QRect& area);
    QRect textArea() const;
    // Off while a caption scrolls, so its size does not change on every step.
    void setFitting(bool on);

    // The point size the caption is drawn with now (after fitting).
    qreal drawnPointSize() const;
    // The caption is drawn no larger than this (0: as large as the font says).
    void setPointSizeCap(qreal cap);

signals:
    void entered();
    void left();
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QFont fittedFont(bool* wrap) const;

    QColor colour_{Qt::white};
    QColor background_;
    QRect area_;
    bool alignLeft_ = false;
    bool fitting_ = true;
    bool pressedInside_ = false;
    qreal cap_ = 0;
};

// Buttons of one row look alike: all are drawn at the size the tightest caption fits.
void fitUniformly(const QList<ButtonLabel*>& labels);

} // namespace orlix::pages
