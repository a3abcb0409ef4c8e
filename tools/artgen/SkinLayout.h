#pragma once

#include <array>
#include <vector>

namespace artgen {

struct Pt {
    int x = 0;
    int y = 0;
};

// Which physical control of the mouse drawing a key label stands for.
enum class MouseControl {
    LeftButton,
    RightButton,
    Wheel,
    CpiUp,
    CpiDown,
    SideFront,
    SideRear,
    Fire
};

struct PageButton {
    int number = 0; // the layout's B<number>
    Pt pos;
};

struct KeySlot {
    int number = 0; // 1..12, the label Key<number>
    Pt pos;         // window coordinates of the label's top-left corner
    MouseControl control = MouseControl::LeftButton;
};

// The window positions of everything a skin's images must line up with: the controls that sit
// on the whole-window background, the page origins and the controls placed on each page.
// Values are window coordinates, as the layout resources give them.
struct SkinLayout {
    Pt web;
    std::array<Pt, 4> windowButtons;
    std::vector<PageButton> pageButtons; // shown page, profile and language buttons
    // Where the window puts the Breathing-light (B5) and Macro (B11) buttons for a mouse that
    // has lighting or macros while this layout hides them; the deck has room for them.
    std::vector<PageButton> neededPageButtons;
    // Their plate where it is wider than the row's, for their captions ("SetSW" images); 0:
    // they take the row's plate.
    int addedPageButtonBody = 0;
    Pt errorText;

    Pt p1, p2, p3, p4;
    std::vector<KeySlot> keys; // shown key labels only

    Pt spd, dbSpd, scrSpd, dpi, rep1, rep2;
    std::array<Pt, 4> fkPara;
    std::vector<Pt> fkMode; // fire-mode labels inside the window

    Pt offTime, raiseTime, onTime, fallTime;
    std::array<Pt, 3> ledMode;
    Pt ledColorMode1, r1, ledColorMode2, r2;

    Pt macroName, newButton, delButton, macroContent, delayGroup, recDelay, delayEdit;
    Pt insertGroup, insertList, insertRecDelay, insertDelayEdit, insertStart, insertOk;
};

// Layouts 1..3 of orlix-editor.
SkinLayout editorLayout(int skin);
// The single layout of orlix-editor-s.
SkinLayout editorSLayout();

} // namespace artgen
