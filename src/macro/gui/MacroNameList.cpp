#include "macro/gui/MacroNameList.h"

#include "macro/gui/MacroEventList.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace orlix::macro::gui {

namespace {

class NameRowDelegate : public QStyledItemDelegate {
public:
    explicit NameRowDelegate(MacroNameList* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {list_->viewport()->width(), list_->rowHeight()};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect r = option.rect;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        p->fillRect(r, list_->backColour());
        if (selected) {
            QColor sel = list_->accent();
            sel.setAlpha(110);
            p->fillRect(r, sel);
        } else if (option.state.testFlag(QStyle::State_MouseOver) && list_->isEnabled()) {
            QColor hover = list_->accent();
            hover.setAlpha(40);
            p->fillRect(r, hover);
        }
        QColor text = list_->textColour();
        if (!list_->isEnabled()) text = text.darker(170);
        QFont f = list_->font();
        p->setFont(f);
        QColor number = selected ? QColor(Qt::white) : text;
        number.setAlpha(150);
        p->setPen(number);
        const QRect numberArea(r.left() + 2, r.top(), MacroNameList::kNumberWidth - 6, r.height());
        p->drawText(numberArea, Qt::AlignRight | Qt::AlignVCenter,
                    QString::number(index.row() + 1));
        p->setPen(selected ? QColor(Qt::white) : text);
        p->drawText(r.adjusted(MacroNameList::kNumberWidth + 2, 0, -2, 0),
                    Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    }

private:
    MacroNameList* list_;
};

} // namespace

MacroNameList::MacroNameList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("LB_MacroName"));
    setItemDelegate(new NameRowDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    styleMacroList(this, text_, back_, accent_);
}

void MacroNameList::setNames(const QStringList& names) {
    const int row = currentRow();
    const int top = verticalScrollBar()->value();
    if (count() != names.size()) {
        clear();
        addItems(names);
    } else {
        for (int i = 0; i < names.size(); ++i)
            item(i)->setText(names[i]);
    }
    if (row >= 0 && row < count()) setCurrentRow(row);
    verticalScrollBar()->setValue(top);
}

void MacroNameList::setRowHeight(int height) {
    rowHeight_ = std::max(8, height);
    doItemsLayout();
}

void MacroNameList::setColours(const QColor& text, const QColor& back, const QColor& accent) {
    text_ = text;
    back_ = back;
    accent_ = accent;
    styleMacroList(this, text, back, accent);
}

} // namespace orlix::macro::gui
