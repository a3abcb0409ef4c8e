#pragma once

#include <QLabel>

namespace orlix::pages {

// A clickable value caption of the Advanced page (lbl_DPI3, lbl_FKMode2, lbl_Rep1): a
// transparent label whose colour is its state. The caption is centred, or set after an
// indent when the label stands beside an option image, and drawn smaller when the label
// is too narrow for it, since the layout spaces these labels tightly. Tab reaches it and Space
// or Enter presses it, like a click; the focus shows in the skin's accent colour.
class ValueLabel : public QLabel {
    Q_OBJECT
public:
    ValueLabel(const QString& name, QWidget* parent);

    void setTextColour(const QColor& colour);
    QColor textColour() const { return colour_; }
    // Left-aligned after `pixels`; 0 centres the caption.
    void setIndent(int pixels);
    // The point size the caption is drawn with now.
    qreal drawnPointSize() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QFont fittedFont() const;

    QColor colour_{Qt::white};
    int indent_ = 0;
    bool pressedInside_ = false;
};

// Labels of one row read alike: all are set in the size the widest caption fits.
void fitUniformly(const QList<ValueLabel*>& labels);

} // namespace orlix::pages
