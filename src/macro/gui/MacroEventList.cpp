#include "macro/gui/MacroEventList.h"

#include "macro/MacroScript.h"

#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace orlix::macro::gui {

namespace {

constexpr int kIconSize = 24;

QPixmap drawIcon(int kind) {
    QPixmap pm(kIconSize, kIconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(240, 190, 60), QColor(80, 210, 120), QColor(90, 170, 255)};
    const QColor c = colours[kind];
    if (kind == 0) {
        // A stopwatch.
        p.setPen(QPen(c, 2.2));
        p.drawEllipse(QRectF(4, 5, 16, 16));
        p.drawLine(QPointF(12, 13), QPointF(12, 8.5));
        p.drawLine(QPointF(12, 13), QPointF(15.5, 14.5));
        p.drawLine(QPointF(10, 2.5), QPointF(14, 2.5));
    } else {
        // A key cap with an arrow: down for a press, up for a release.
        p.setPen(QPen(c, 1.8));
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 4, 4);
        QPainterPath arrow;
        if (kind == 1) {
            arrow.moveTo(12, 17);
            arrow.lineTo(7, 11);
            arrow.lineTo(17, 11);
        } else {
            arrow.moveTo(12, 7);
            arrow.lineTo(7, 13);
            arrow.lineTo(17, 13);
        }
        arrow.closeSubpath();
        p.fillPath(arrow, c);
    }
    return pm;
}

class EventRowDelegate : public QStyledItemDelegate {
public:
    explicit EventRowDelegate(MacroEventList* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {list_->viewport()->width(), MacroEventList::kRowHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect r = option.rect;
        const bool last = index.row() == list_->count() - 1;
        QColor back = list_->backColour();
        if (last && list_->lastRowRed()) back = QColor(255, 0, 0);
        p->fillRect(r, back);
        if (option.state.testFlag(QStyle::State_Selected)) {
            QColor sel = list_->accent();
            sel.setAlpha(110);
            p->fillRect(r, sel);
        }
        const QString line = index.data(Qt::UserRole).toString();
        const int kind = line.isEmpty() ? 0 : std::clamp(line.at(0).digitValue(), 0, 2);
        const int side = r.height() - 2;
        p->drawPixmap(QRect(r.left() + 2, r.top() + 2, side, side), MacroEventList::icon(kind));
        p->setPen(option.state.testFlag(QStyle::State_Selected) ? QColor(Qt::white)
                                                                : list_->textColour());
        p->setFont(list_->font());
        p->drawText(r.adjusted(MacroEventList::kTextLeft, 0, -2, 0),
                    Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    }

private:
    MacroEventList* list_;
};

} // namespace

MacroEventList::MacroEventList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("LB_macro"));
    setItemDelegate(new EventRowDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::ClickFocus);
    styleMacroList(this, text_, back_, accent_);
}

const QPixmap& MacroEventList::icon(int kind) {
    static const std::array<QPixmap, 3> icons{drawIcon(0), drawIcon(1), drawIcon(2)};
    return icons[static_cast<std::size_t>(std::clamp(kind, 0, 2))];
}

void MacroEventList::setLines(const std::vector<std::string>& events) {
    const int top = verticalScrollBar() != nullptr ? verticalScrollBar()->value() : 0;
    clear();
    for (const std::string& line : events) {
        auto* item = new QListWidgetItem(QString::fromStdString(displayText(line)));
        item->setData(Qt::UserRole, QString::fromStdString(line));
        addItem(item);
    }
    verticalScrollBar()->setValue(top);
}

void MacroEventList::setLastRowRed(bool red) {
    if (red == lastRowRed_) return;
    lastRowRed_ = red;
    viewport()->update();
}

void MacroEventList::setSelectedRow(std::optional<std::size_t> row) {
    if (row && static_cast<int>(*row) < count()) {
        setCurrentRow(static_cast<int>(*row));
        scrollToItem(item(static_cast<int>(*row)));
    } else {
        clearSelection();
        setCurrentRow(-1);
    }
}

std::optional<std::size_t> MacroEventList::selectedRow() const {
    const int row = currentRow();
    if (row < 0 || !item(row)->isSelected()) return std::nullopt;
    return static_cast<std::size_t>(row);
}

void MacroEventList::setColours(const QColor& text, const QColor& back, const QColor& accent) {
    text_ = text;
    back_ = back;
    accent_ = accent;
    styleMacroList(this, text, back, accent);
}

void styleMacroList(QListWidget* list, const QColor& text, const QColor& back,
                    const QColor& accent) {
    list->setFrameShape(QFrame::NoFrame);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    const QString a = accent.name();
    list->setStyleSheet(
        QStringLiteral(
            "QListWidget { border: none; outline: none; color: %2; background-color: %3; }"
            "QScrollBar:vertical { background: #0d1014; width: 8px; margin: 0; border: none; }"
            "QScrollBar::handle:vertical { background: %1; min-height: 20px; border-radius: 3px;"
            " margin: 1px; }"
            "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: "
            "none;"
            " background: none; }"
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
            .arg(a, text.name(), back.name()));
}

} // namespace orlix::macro::gui
