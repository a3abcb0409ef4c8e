#include "pages/AssignmentMenus.h"

#include "appearance/Languages.h"
#include "rules/MenuPlacement.h"
#include "widgets/SkinStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace orlix::pages {

namespace {

constexpr int kMacroIndexRole = Qt::UserRole + 1;

Box boxOf(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// A menu entry; group entries carry the ">>" mark at their right end.
class MenuEntryLabel : public ButtonLabel {
public:
    MenuEntryLabel(const QString& name, bool group, QWidget* parent)
        : ButtonLabel(name, parent), group_(group) {
        setAlignLeft(true);
        setTextColour(skinColours().text);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        ButtonLabel::paintEvent(event);
        if (!group_) return;
        QPainter p(this);
        p.setPen(textColour());
        p.drawText(rect().adjusted(0, 0, -4, 0), Qt::AlignVCenter | Qt::AlignRight,
                   QStringLiteral(">>"));
    }

private:
    bool group_;
};

} // namespace

AssignmentMenus::AssignmentMenus(Edition edition, QWidget* window)
    : QObject(window), edition_(edition), window_(window), macroList_(new QListWidget(window)) {
    for (MenuPanel p : {MenuPanel::LRM, MenuPanel::Main, MenuPanel::MouseKeys, MenuPanel::Special,
                        MenuPanel::Acpi, MenuPanel::Media, MenuPanel::Www, MenuPanel::Fire})
        build(p);
    macroList_->setObjectName(QStringLiteral("LB_Name"));
    macroList_->resize(menu::kPanelWidth, kMacroListRows * kMacroRowHeight + 4);
    macroList_->setMouseTracking(true);
    macroList_->setFocusPolicy(Qt::StrongFocus);
    macroList_->installEventFilter(this);
    macroList_->hide();
    connect(macroList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseMacroRow(macroList_->row(item)); });
    // Enter or Return on the current row, by keyboard.
    connect(macroList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chooseMacroRow(macroList_->row(item)); });
    setMacroDevice(false);
    setStartUpDataType(0x1D);
    applySkinColours();
}

void AssignmentMenus::chooseMacroRow(int row) {
    QListWidgetItem* item = macroList_->item(row);
    if (item == nullptr) return;
    const int index = item->data(kMacroIndexRole).toInt();
    const int key = key_;
    hideAll();
    emit macroChosen(key, index);
}

void AssignmentMenus::applySkinColours() {
    const SkinColours& c = skinColours();
    for (auto& [p, frame] : panels_) {
        QPalette pal = frame->palette();
        pal.setColor(QPalette::Window, c.panel);
        pal.setColor(QPalette::WindowText, c.panelBorder);
        frame->setPalette(pal);
        for (ButtonLabel* label : frame->findChildren<ButtonLabel*>())
            unhighlight(label);
    }
    macroList_->setStyleSheet(skinListStyleSheet());
}

void AssignmentMenus::unhighlight(ButtonLabel* label) {
    label->setBackground(QColor());
    label->setTextColour(skinColours().text);
}

void AssignmentMenus::build(MenuPanel p) {
    auto* frame = new QFrame(window_);
    frame->setObjectName(
        QString::fromLatin1(panelName(p).data(), static_cast<qsizetype>(panelName(p).size())));
    frame->setAutoFillBackground(true);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    frame->resize(panelWidth(p), naturalPanelHeight(p, edition_));
    frame->hide();
    panels_[p] = frame;

    const auto entries = menuEntries(p, edition_);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& e = entries[i];
        auto* label = new MenuEntryLabel(
            QString::fromLatin1(e.control.data(), static_cast<qsizetype>(e.control.size())),
            e.action == EntryAction::OpenGroup, frame);
        label->setGeometry(menu::kEntryLeft, entryTop(static_cast<int>(i)), entryWidth(p),
                           menu::kEntryHeight);
        label->setProperty("tag", e.tag);
        entries_[std::string(e.control)] = label;
        panelOf_[label] = p;
        label->installEventFilter(this);
        connect(label, &ButtonLabel::entered, this,
                [this, p, e, label] { entryEntered(p, e, label); });
        connect(label, &ButtonLabel::left, this, [this, label] {
            if (!label->hasFocus()) unhighlight(label);
        });
        connect(label, &ButtonLabel::clicked, this, [this, p, e, label] {
            if (e.action == EntryAction::OpenGroup || e.action == EntryAction::MacroList) {
                // A click opens the group as hovering does; from the keyboard it also enters.
                entryEntered(p, e, label);
                if (label->hasFocus()) enterGroup(label);
                return;
            }
            entryClicked(e, names_[std::string(e.control)]);
        });
    }
}

ButtonLabel* AssignmentMenus::entry(std::string_view control) const {
    auto it = entries_.find(control);
    return it == entries_.end() ? nullptr : it->second;
}

void AssignmentMenus::setTexts(const appearance::Languages& languages) {
    for (MenuPanel p : {MenuPanel::LRM, MenuPanel::Main, MenuPanel::MouseKeys, MenuPanel::Special,
                        MenuPanel::Acpi, MenuPanel::Media, MenuPanel::Www, MenuPanel::Fire}) {
        for (const MenuEntry& e : menuEntries(p, edition_)) {
            ButtonLabel* label = entry(e.control);
            label->setText(QString::fromStdString(languages.menuEntryCaption(e.textId)));
            names_[std::string(e.control)] = QString::fromStdString(languages.text(e.textId));
        }
    }
}

void AssignmentMenus::setMacroDevice(bool macroDevice) {
    panels_.at(MenuPanel::Main)->resize(menu::kMainPanelWidth, mainPanelHeight(macroDevice));
    entry("Key_Macro")->setVisible(macroDevice);
}

void AssignmentMenus::setStartUpDataType(std::uint8_t dataType) {
    const int height = specialPanelHeight(dataType);
    QFrame* special = panels_.at(MenuPanel::Special);
    special->resize(menu::kPanelWidth, height);
    const auto entries = menuEntries(MenuPanel::Special, edition_);
    for (std::size_t i = 0; i < entries.size(); ++i)
        entry(entries[i].control)->setVisible(entryFits(static_cast<int>(i), height));
}

void AssignmentMenus::setMacroNames(const QStringList& names) {
    macroList_->clear();
    // A macro without a name has nothing to be chosen by; its number stays with the row.
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].trimmed().isEmpty()) continue;
        auto* item = new QListWidgetItem(names[i], macroList_);
        item->setData(kMacroIndexRole, i);
    }
}

void AssignmentMenus::raiseAndShow(QWidget* w) {
    w->raise();
    w->show();
}

void AssignmentMenus::openFor(int key, const QRect& labelGeometry, bool focusFirst) {
    hideAll();
    key_ = key;
    const bool primary = key >= 1 && key <= 3;
    QFrame* menu = panels_.at(primary ? MenuPanel::LRM : MenuPanel::Main);
    const int mainHeight = panels_.at(MenuPanel::Main)->height();
    const Spot at = keyMenuPosition(boxOf(labelGeometry), primary, mainHeight);
    menu->move(at.x, at.y);
    raiseAndShow(menu);
    if (focusFirst) {
        for (ButtonLabel* label : menu->findChildren<ButtonLabel*>()) {
            if (label->isVisible()) {
                label->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
}

void AssignmentMenus::dropFocusFrom(QWidget* w) {
    // Hidden with the focus inside, a panel would hand it to the next entry in the chain,
    // which would open its group again.
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && (focus == w || w->isAncestorOf(focus))) focus->clearFocus();
}

void AssignmentMenus::hideAll() {
    const bool hadFocus = menuHasFocus();
    for (auto& [p, frame] : panels_)
        dropFocusFrom(frame);
    dropFocusFrom(macroList_);
    for (auto& [p, frame] : panels_) {
        frame->hide();
        for (ButtonLabel* label : frame->findChildren<ButtonLabel*>())
            unhighlight(label);
    }
    macroList_->hide();
    openers_.clear();
    if (hadFocus) emit focusLeft(key_);
}

bool AssignmentMenus::menuHasFocus() const {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) return false;
    if (focus == macroList_ || macroList_->isAncestorOf(focus)) return true;
    for (const auto& [p, frame] : panels_)
        if (frame->isAncestorOf(focus)) return true;
    return false;
}

bool AssignmentMenus::stepFocus(ButtonLabel* from, int step) {
    QList<ButtonLabel*> shown;
    for (ButtonLabel* label : from->parentWidget()->findChildren<ButtonLabel*>())
        if (label->isVisible()) shown << label;
    std::sort(shown.begin(), shown.end(),
              [](const ButtonLabel* a, const ButtonLabel* b) { return a->y() < b->y(); });
    const qsizetype at = shown.indexOf(from);
    if (at < 0 || shown.isEmpty()) return false;
    const qsizetype n = shown.size();
    shown[((at + step) % n + n) % n]->setFocus(Qt::TabFocusReason);
    return true;
}

bool AssignmentMenus::enterGroup(ButtonLabel* opener) {
    for (const auto& [panel, from] : openers_) {
        if (from != opener || !panel->isVisible()) continue;
        if (panel == macroList_) {
            macroList_->setFocus(Qt::TabFocusReason);
            if (macroList_->currentRow() < 0) macroList_->setCurrentRow(0);
            return true;
        }
        for (ButtonLabel* label : panel->findChildren<ButtonLabel*>()) {
            if (label->isVisible()) {
                label->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return false;
}

bool AssignmentMenus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == macroList_) {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Left) {
            auto it = openers_.find(macroList_);
            if (it != openers_.end()) it->second->setFocus(Qt::TabFocusReason);
            return true;
        }
        return false;
    }
    auto* label = qobject_cast<ButtonLabel*>(watched);
    auto where = label != nullptr ? panelOf_.find(label) : panelOf_.end();
    if (where == panelOf_.end()) return false;
    if (event->type() == QEvent::FocusIn) {
        // The keyboard's entry is highlighted, and opens its group, as the pointer's is.
        for (const MenuEntry& e : menuEntries(where->second, edition_))
            if (e.control == label->objectName().toStdString())
                entryEntered(where->second, e, label);
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        if (!label->underMouse()) unhighlight(label);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Down:
        return stepFocus(label, 1);
    case Qt::Key_Up:
        return stepFocus(label, -1);
    case Qt::Key_Right:
        enterGroup(label);
        return true;
    case Qt::Key_Left: {
        auto it = openers_.find(label->parentWidget());
        if (it != openers_.end()) it->second->setFocus(Qt::TabFocusReason);
        return true;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Tab does not wander out of an open menu into the page beneath.
        return stepFocus(label, static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab ? 1 : -1);
    default:
        return false;
    }
}

bool AssignmentMenus::anyOpen() const {
    for (const auto& [p, frame] : panels_)
        if (frame->isVisible()) return true;
    return macroList_->isVisible();
}

void AssignmentMenus::hideGroups(bool keepSpecial) {
    for (MenuPanel p : {MenuPanel::MouseKeys, MenuPanel::Special, MenuPanel::Media, MenuPanel::Www,
                        MenuPanel::Acpi, MenuPanel::Fire}) {
        if (keepSpecial && p == MenuPanel::Special) continue;
        dropFocusFrom(panels_.at(p));
        panels_.at(p)->hide();
    }
    dropFocusFrom(macroList_);
    macroList_->hide();
}

void AssignmentMenus::showBeside(QWidget* panel, MenuPanel from, const MenuEntry&,
                                 ButtonLabel* label) {
    const Box mainBox = boxOf(panels_.at(MenuPanel::Main)->geometry());
    Spot at;
    if (from == MenuPanel::Special) {
        at = specialSubPanelPosition(boxOf(panels_.at(MenuPanel::Special)->geometry()),
                                     boxOf(label->geometry()), mainBox);
    } else {
        at = groupPanelPosition(mainBox, boxOf(label->geometry()), panel->height());
    }
    panel->move(at.x, at.y);
    openers_[panel] = label;
    raiseAndShow(panel);
}

void AssignmentMenus::entryEntered(MenuPanel p, const MenuEntry& e, ButtonLabel* label) {
    // One entry of a panel is lit at a time, whether the pointer or the keyboard chose it.
    for (ButtonLabel* other : label->parentWidget()->findChildren<ButtonLabel*>())
        if (other != label) unhighlight(other);
    label->setBackground(skinColours().accent);
    label->setTextColour(skinColours().onAccent());
    switch (e.action) {
    case EntryAction::OpenGroup:
        if (p == MenuPanel::Special) {
            hideGroups(true);
        } else {
            hideGroups(false);
        }
        showBeside(panels_.at(*e.opens), p, e, label);
        break;
    case EntryAction::MacroList:
        hideGroups(false);
        if (macroList_->count() > 0) showBeside(macroList_, p, e, label);
        break;
    case EntryAction::KeyCombination:
        hideGroups(false);
        break;
    case EntryAction::Leaf:
        if (p == MenuPanel::Special) {
            panels_.at(MenuPanel::Acpi)->hide();
            panels_.at(MenuPanel::Fire)->hide();
        }
        break;
    case EntryAction::SwapPrimary:
        break;
    }
}

void AssignmentMenus::entryClicked(const MenuEntry& e, const QString& caption) {
    const int key = key_;
    hideAll();
    switch (e.action) {
    case EntryAction::Leaf:
        emit leafChosen(key, e.tag, caption);
        break;
    case EntryAction::SwapPrimary:
        emit swapChosen(key, e.tag);
        break;
    case EntryAction::KeyCombination:
    case EntryAction::MacroList:
        emit keyCombinationRequested(key);
        break;
    case EntryAction::OpenGroup:
        break;
    }
}

} // namespace orlix::pages
