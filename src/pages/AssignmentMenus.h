#pragma once

#include "model/Edition.h"
#include "rules/MenuCatalog.h"
#include "widgets/ButtonLabel.h"

#include <QFrame>
#include <QListWidget>
#include <QObject>
#include <QRect>

#include <cstdint>
#include <map>
#include <vector>

namespace orlix::appearance {
class Languages;
}

namespace orlix::pages {

// The cascading function menus of the button labels: Pnl_LRM for keys 1 to 3, Pnl_Main for
// the others, the group panels and the macro list LB_Name. The menus only choose; storing the
// choice is the window's part, through the signals. By keyboard: Up and Down move along a
// panel, Right (or Space, Enter) opens a group and enters it, Left goes back to the entry that
// opened it, Esc closes them all (the window's part).
class AssignmentMenus : public QObject {
    Q_OBJECT
public:
    static constexpr int kMacroListRows = 8;
    static constexpr int kMacroRowHeight = 20;

    AssignmentMenus(Edition edition, QWidget* window);

    // Captions of every entry in the current language.
    void setTexts(const appearance::Languages& languages);
    // A macro-capable mouse gets the "Macro" entry and the taller Pnl_Main.
    void setMacroDevice(bool macroDevice);
    // The data type of the start-up image decides how much of Pnl_Special is offered.
    void setStartUpDataType(std::uint8_t dataType);
    // The names of the 32 macros by number; the list offers the named ones only.
    void setMacroNames(const QStringList& names);
    // The panels and the list in the skin's current colours.
    void applySkinColours();

    // Hides every menu, then opens the one of key n at the label; with `focusFirst` (opened
    // by keyboard) its first entry takes the focus.
    void openFor(int key, const QRect& labelGeometry, bool focusFirst = false);
    void hideAll();
    bool anyOpen() const;
    int currentKey() const { return key_; }

    QFrame* panel(MenuPanel p) const { return panels_.at(p); }
    QListWidget* macroList() const { return macroList_; }
    ButtonLabel* entry(std::string_view control) const;

signals:
    void leafChosen(int key, int tag, const QString& caption);
    void swapChosen(int key, int tag);
    void keyCombinationRequested(int key);
    void macroChosen(int key, int index);
    // The menus closed while the keyboard focus was in them: it goes back to key n.
    void focusLeft(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(MenuPanel p);
    void entryEntered(MenuPanel p, const MenuEntry& e, ButtonLabel* label);
    void entryClicked(const MenuEntry& e, const QString& caption);
    void showBeside(QWidget* panel, MenuPanel from, const MenuEntry& e, ButtonLabel* label);
    void hideGroups(bool keepSpecial);
    void raiseAndShow(QWidget* w);
    void unhighlight(ButtonLabel* label);
    void dropFocusFrom(QWidget* w);
    bool menuHasFocus() const;
    bool stepFocus(ButtonLabel* from, int step);
    bool enterGroup(ButtonLabel* opener);
    void chooseMacroRow(int row);

    Edition edition_;
    QWidget* window_;
    std::map<MenuPanel, QFrame*> panels_;
    std::map<std::string, ButtonLabel*, std::less<>> entries_;
    std::map<std::string, QString, std::less<>> names_; // function name per entry
    std::map<QWidget*, ButtonLabel*> openers_;          // sub-panel -> the entry that opened it
    std::map<ButtonLabel*, MenuPanel> panelOf_;
    QListWidget* macroList_;
    int key_ = 0;
};

} // namespace orlix::pages
