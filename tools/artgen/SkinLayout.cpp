#include "SkinLayout.h"

#include "Theme.h"

#include "rules/PageRules.h"

namespace artgen {
namespace {

// The window's own placement, for a mouse with both lighting and macros.
void addNeededPageButtons(SkinLayout& l) {
    orlix::pages::NeededPagesInput in;
    for (const PageButton& b : l.pageButtons) {
        in.shown.push_back({b.pos.x, b.pos.y});
        in.layoutShowsBreath = in.layoutShowsBreath || b.number == 5;
        in.layoutShowsMacro = in.layoutShowsMacro || b.number == 11;
    }
    in.mouseHasLighting = true;
    in.macroDevice = true;
    in.plateWidth = 125;
    in.windowWidth = 800;
    in.rowPlateBody = pageButtonBodyFor(l);
    in.addedPlateBody = l.addedPageButtonBody;
    l.neededPageButtons.clear();
    for (const auto& placed : orlix::pages::placeNeededPageButtons(in))
        l.neededPageButtons.push_back(
            {placed.page == orlix::pages::Page::Breath ? 5 : 11, {placed.at.x, placed.at.y}});
}

using MC = MouseControl;

SkinLayout layoutOne() {
    SkinLayout l;
    l.web = {485, 30};
    l.windowButtons = {{{10, 120}, {10, 160}, {10, 200}, {10, 240}}};
    // B1, B2, B4, B6, B7, B8, B9 (B3, B5, B10, B11 hidden).
    l.pageButtons = {{1, {5, 515}},   {2, {129, 515}}, {4, {253, 515}}, {6, {5, 550}},
                     {7, {129, 550}}, {8, {253, 550}}, {9, {377, 550}}};
    l.errorText = {94, 254};

    l.p1 = {195, 104};
    l.keys = {{1, {130, 182}, MC::LeftButton}, {2, {552, 188}, MC::RightButton},
              {3, {552, 266}, MC::Wheel},      {5, {98, 318}, MC::SideFront},
              {6, {98, 368}, MC::SideRear},    {8, {552, 344}, MC::CpiDown},
              {9, {552, 304}, MC::CpiUp}};

    l.p2 = {88, 144};
    l.spd = {121, 191};
    l.dbSpd = {121, 282};
    l.scrSpd = {121, 373};
    l.dpi = {535, 222};
    l.rep1 = {510, 280};
    l.rep2 = {628, 280};
    l.fkPara = {{{557, 384}, {612, 384}, {665, 384}, {722, 384}}};
    l.fkMode = {{548, 430}, {601, 430}, {654, 430}}; // the fourth stands at x 900, off-window

    l.p3 = {112, 128};
    l.offTime = {476, 195};
    l.raiseTime = {476, 226};
    l.onTime = {476, 253};
    l.fallTime = {476, 278};
    l.ledMode = {{{352, 329}, {476, 329}, {582, 329}}};
    l.ledColorMode1 = {368, 379};
    l.r1 = {400, 410};
    l.ledColorMode2 = {556, 379};
    l.r2 = {588, 410};

    l.p4 = {112, 136};
    l.macroName = {132, 186};
    l.newButton = {598, 192};
    l.delButton = {598, 407};
    l.macroContent = {353, 183};
    l.delayGroup = {128, 314};
    l.recDelay = {20, 36};
    l.delayEdit = {137, 56};
    l.insertGroup = {128, 314};
    l.insertList = {68, 4};
    l.insertRecDelay = {20, 34};
    l.insertDelayEdit = {136, 55};
    l.insertStart = {114, 100};
    l.insertOk = {110, 126};
    return l;
}

} // namespace

SkinLayout editorLayout(int skin) {
    SkinLayout l = layoutOne();
    if (skin == 2) {
        l.scrSpd = {121, 376};
    } else if (skin == 3) {
        // Two rows of page buttons with Reset control, Breathing light, Macro and language 3,
        // 100 px apart so the longest English captions fit.
        l.pageButtons = {{1, {76, 484}},  {2, {176, 484}},  {3, {276, 484}}, {4, {376, 484}},
                         {5, {476, 484}}, {11, {576, 484}}, {6, {114, 520}}, {7, {214, 520}},
                         {8, {314, 520}}, {9, {414, 520}},  {10, {514, 520}}};
        l.keys = {{1, {130, 182}, MC::LeftButton}, {2, {562, 188}, MC::RightButton},
                  {3, {562, 266}, MC::Wheel},      {4, {98, 318}, MC::SideFront},
                  {5, {98, 368}, MC::SideRear},    {6, {562, 304}, MC::CpiUp},
                  {7, {562, 344}, MC::CpiDown},    {8, {98, 216}, MC::Fire}};
        l.spd = {136, 194};
        l.dbSpd = {136, 290};
        l.scrSpd = {136, 386};
        l.rep1 = {486, 294};
        l.rep2 = {588, 294};
        l.fkPara = {{{556, 384}, {612, 384}, {666, 384}, {720, 384}}};
        l.fkMode = {{538, 430}, {590, 430}, {644, 430}, {696, 430}};
    }
    addNeededPageButtons(l);
    return l;
}

SkinLayout editorSLayout() {
    SkinLayout l = layoutOne();
    // B1, B2, B4, B6, B7, B8.
    l.pageButtons = {{1, {5, 515}}, {2, {100, 515}}, {4, {195, 515}},
                     {6, {5, 550}}, {7, {100, 550}}, {8, {195, 550}}};
    l.keys = {{1, {130, 182}, MC::LeftButton}, {2, {562, 188}, MC::RightButton},
              {3, {562, 266}, MC::Wheel},      {4, {562, 304}, MC::CpiUp},
              {5, {98, 318}, MC::SideFront},   {6, {98, 368}, MC::SideRear},
              {7, {562, 344}, MC::CpiDown}};
    l.spd = {126, 196};
    l.dbSpd = {126, 288};
    l.scrSpd = {126, 380};
    l.dpi = {530, 226};
    l.rep1 = {500, 286};
    l.rep2 = {612, 286};
    l.fkPara = {{{552, 386}, {608, 386}, {662, 386}, {716, 386}}};
    l.fkMode = {{542, 432}, {596, 432}, {650, 432}, {704, 432}};
    // The lighting page as in layout 1, without colour swatches: the percentage edits at the
    // window's right edge take the colour.
    l.r1 = {930, 410};
    l.r2 = {1030, 410};
    // "Breathing Light" needs 88 px at the narrowest setting, and 4 px either side: the buttons
    // the window adds get plates of 96 px, which still end inside the deck.
    l.addedPageButtonBody = 96;
    addNeededPageButtons(l);
    return l;
}

} // namespace artgen
