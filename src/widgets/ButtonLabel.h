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
    // On while a caption scrolls: drawn from the left, as it runs, without an ellipsis.
    void setScrolling(bool on);
    bool scrolling() const { return scrolling_; }

    // The face the caption is drawn with now: the label's font, narrower where the caption
    // needs it (never a smaller point size).
    QFont drawnFont() const;
    qreal drawnPointSize() const;
    // Whether the caption fits on one line inside the text area.
    bool captionFits() const;

signals:
    void entered();
    void left();
    void clicked();

protected:
    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect captionRect() const;

    QColor colour_{Qt::white};
    QColor background_;
    QRect area_;
    bool alignLeft_ = false;
    bool scrolling_ = false;
    bool pressedInside_ = false;
};

} // namespace orlix::pages
