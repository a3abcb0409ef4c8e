#include "pages/AssignmentMenus.h"

#include "appearance/Languages.h"
#include "rules/MenuPlacement.h"

#include <QPainter>

namespace orlix::pages {

namespace {

const QColor kPanelColour(240, 240, 240);
const QColor kHoverColour(0, 128, 128);

Box boxOf(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// A menu entry; group entries carry the ">>" mark at their right end.
class MenuEntryLabel : public ButtonLabel {
public:
    MenuEntryLabel(const QString& name, bool group, QWidget* parent)
        : ButtonLabel(name, parent), group_(group) {
        setAlignLeft(true);
        setTextColour(Qt::black);
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
    macroList_->setStyleSheet(
        QStringLiteral("QListWidget { background: #f0f0f0; color: black; "
                       "border: 1px solid #505050; }"
                       "QListWidget::item { height: 20px; padding-left: 4px; }"
                       "QListWidget::item:hover { background: #008080; "
                       "color: white; }"));
    macroList_->setMouseTracking(true);
    macroList_->hide();
    connect(macroList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int index = macroList_->row(item);
        const int key = key_;
        hideAll();
        emit macroChosen(key, index);
    });
    setMacroDevice(false);
    setStartUpDataType(0x1D);
}

void AssignmentMenus::build(MenuPanel p) {
    auto* frame = new QFrame(window_);
    frame->setObjectName(
        QString::fromLatin1(panelName(p).data(), static_cast<qsizetype>(panelName(p).size())));
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, kPanelColour);
    frame->setPalette(pal);
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
        connect(label, &ButtonLabel::entered, this,
                [this, p, e, label] { entryEntered(p, e, label); });
        connect(label, &ButtonLabel::left, this, [label] {
            label->setBackground(QColor());
            label->setTextColour(Qt::black);
        });
        connect(label, &ButtonLabel::clicked, this, [this, p, e, label] {
            if (e.action == EntryAction::OpenGroup) {
                entryEntered(p, e, label); // a click opens the group as hovering does
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
    macroList_->addItems(names);
}

void AssignmentMenus::raiseAndShow(QWidget* w) {
    w->raise();
    w->show();
}

void AssignmentMenus::openFor(int key, const QRect& labelGeometry) {
    hideAll();
    key_ = key;
    const bool primary = key >= 1 && key <= 3;
    QFrame* menu = panels_.at(primary ? MenuPanel::LRM : MenuPanel::Main);
    const int mainHeight = panels_.at(MenuPanel::Main)->height();
    const Spot at = keyMenuPosition(boxOf(labelGeometry), primary, mainHeight);
    menu->move(at.x, at.y);
    raiseAndShow(menu);
}

void AssignmentMenus::hideAll() {
    for (auto& [p, frame] : panels_) {
        frame->hide();
        for (ButtonLabel* label : frame->findChildren<ButtonLabel*>()) {
            label->setBackground(QColor());
            label->setTextColour(Qt::black);
        }
    }
    macroList_->hide();
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
        panels_.at(p)->hide();
    }
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
    raiseAndShow(panel);
}

void AssignmentMenus::entryEntered(MenuPanel p, const MenuEntry& e, ButtonLabel* label) {
    label->setBackground(kHoverColour);
    label->setTextColour(Qt::white);
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
