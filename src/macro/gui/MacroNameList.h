#pragma once

#include <QListWidget>

namespace orlix::macro::gui {

// LB_MacroName: the 32 macros by name, in rows of the layout's height. Each row shows the
// macro's number before its name, so unnamed macros can still be told apart.
class MacroNameList : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kNumberWidth = 26;

    explicit MacroNameList(QWidget* parent);

    void setNames(const QStringList& names);
    void setRowHeight(int height);
    int rowHeight() const { return rowHeight_; }
    void setColours(const QColor& text, const QColor& back, const QColor& accent);
    QColor accent() const { return accent_; }
    QColor textColour() const { return text_; }
    QColor backColour() const { return back_; }

private:
    int rowHeight_ = 20;
    QColor text_{0, 128, 0};
    QColor back_{Qt::black};
    QColor accent_{0, 160, 200};
};

} // namespace orlix::macro::gui
