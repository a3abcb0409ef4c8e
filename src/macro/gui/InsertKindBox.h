#pragma once

#include <QComboBox>

namespace orlix::macro::gui {

// CB_Insert: the insert panel's kind list, drawn in the skin's colours with an arrow of its
// own in place of the platform's.
class InsertKindBox : public QComboBox {
    Q_OBJECT
public:
    explicit InsertKindBox(QWidget* parent);

    void setColours(const QColor& text, const QColor& accent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor accent_{0, 160, 200};
};

} // namespace orlix::macro::gui
