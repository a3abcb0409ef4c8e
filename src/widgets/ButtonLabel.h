#pragma once

#include <QLabel>
#include <QList>
#include <QPointer>

#include <memory>
#include <vector>

namespace orlix::pages {

// A transparent text label that acts as a button over its skin image (Btn_Apply over
// Img_Apply, Key5 over Img_Key5, the menu entries). The caption is drawn centred; a caption
// too wide for the control is set in a smaller size, then over two lines, so it never runs
// out of the control. It takes the keyboard like a button: Tab reaches it, Space and Enter
// press it, and the focus shows as an outline in the skin's accent colour.
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
    // Whether the caption fits on one line inside the text area, its margins kept.
    bool captionFits() const;
    // The room the caption has: the text area less the margin on either side.
    QRect captionRect() const;
    // The stretch the caption itself needs (kCondensedStretch: none).
    int ownStretch() const;

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
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend void condenseAlike(const QList<ButtonLabel*>& labels);
    int drawnStretch() const;

    QColor colour_{Qt::white};
    QColor background_;
    QRect area_;
    bool alignLeft_ = false;
    bool scrolling_ = false;
    bool pressedInside_ = false;
    // The labels condensed alike with this one, when it belongs to such a row.
    std::shared_ptr<std::vector<QPointer<ButtonLabel>>> row_;
};

// Buttons of one row read alike: every label of the row is drawn at the narrowest stretch any
// of their captions needs, whatever their captions become later.
void condenseAlike(const QList<ButtonLabel*>& labels);

} // namespace orlix::pages
