#pragma once

#include <QListWidget>
#include <QPixmap>

#include <array>
#include <string>
#include <vector>

namespace orlix::macro::gui {

// LB_macro: the events of the macro as owner-drawn rows of 20 pixels, each with the icon of
// its kind (delay, press, release) and its text 45 pixels from the left. The last row is
// drawn red while the recording limits are reached.
class MacroEventList : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 20;
    static constexpr int kTextLeft = 45;

    explicit MacroEventList(QWidget* parent);

    // One row per script event line; the selection is left to the caller.
    void setLines(const std::vector<std::string>& events);
    void setLastRowRed(bool red);
    bool lastRowRed() const { return lastRowRed_; }
    void setSelectedRow(std::optional<std::size_t> row);
    std::optional<std::size_t> selectedRow() const;
    // ImageList1: 0 delay, 1 press, 2 release.
    static const QPixmap& icon(int kind);
    // The layout's text and background colours, and the skin's accent for the selected row
    // and the scroll bar.
    void setColours(const QColor& text, const QColor& back, const QColor& accent);
    QColor accent() const { return accent_; }
    QColor textColour() const { return text_; }
    QColor backColour() const { return back_; }

private:
    bool lastRowRed_ = false;
    QColor text_{0, 128, 0};
    QColor back_{Qt::black};
    QColor accent_{0, 160, 200};
};

// The look both macro lists share: the layout's colours, a thin scroll bar in the skin's
// accent instead of the platform's grey one.
void styleMacroList(QListWidget* list, const QColor& text, const QColor& back,
                    const QColor& accent);

} // namespace orlix::macro::gui
