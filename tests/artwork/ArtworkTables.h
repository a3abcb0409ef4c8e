#pragma once

// The image table and the layout positions the artwork must meet, written out for the tests on
// their own: they are not taken from the generator, so that the tests can hold it to them.

#include <QRgb>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace artwork_tables {

inline constexpr QRgb kKey = 0x800000; // platform colour 0x000080: red 128, green 0, blue 0

struct Size {
    int w;
    int h;
};

// The image table, per edition: resource name -> size.
inline std::map<std::string, Size> expectedImages(bool editorS) {
    std::map<std::string, Size> m;
    for (int set = 1; set <= 3; ++set) {
        const std::string l = "L" + std::to_string(set);
        m[l + "_BackGround"] = {800, 600};
        m[l + "_Back1"] = {472, 379};
        m[l + "_Back2"] = {700, 324};
        m[l + "_Back3"] = {620, 356};
        m[l + "_Back4"] = {600, 346};
    }
    for (const char* s : {"_01", "_02", "_03"}) {
        // The window buttons fill the sidebar, so that their captions stand at the layout's
        // size; layouts 1 and 2 of orlix-editor space their page buttons wide enough for
        // page-button plates of their own.
        if (!editorS) {
            m[std::string("L1_SetS") + s] = {125, 33};
            m[std::string("L2_SetS") + s] = {125, 33};
        } else {
            // orlix-editor-s's added page buttons: a wider plate for "Breathing Light".
            m[std::string("SetSW") + s] = {125, 33};
        }
        m[std::string("BtnS") + s] = {77, 30};
        m[std::string("SetS") + s] = {125, 33};
        m[std::string("KeyS") + s] = {104, 31};
        m[std::string("WebS") + s] = {264, 21};
        m[std::string("MacroS") + s] = {80, 25};
        m[std::string("MacroBtnS") + s] = {54, 25};
    }
    if (!editorS) m["Col_F"] = {48, 48};
    m["InsertDelayBase"] = {207, 162};
    m["InsertKeyBase"] = {207, 162};
    m["Bar1_E"] = {23, 4};
    m["Bar1_D"] = {23, 4};
    m["Bar2_E"] = {20, 4};
    m["Bar2_D"] = {20, 4};
    m["RdS_E"] = {17, 18};
    m["RdS_D"] = {17, 18};
    return m;
}

// --- Layout positions the artwork has to meet, window coordinates. ---

struct Pt {
    int x;
    int y;
};

// Positions by layout key stem ("P1", "Spd", "FKPara2", "Key3", "Btn_B4"): the key's _X and
// _Y values. Keys and buttons also carry their _Enable value; only shown ones are listed here.
struct Layout {
    std::map<std::string, Pt> at;
    std::set<std::string> shown; // "Key1", "Btn_B1", ...
    std::set<std::string> hidden;

    Pt operator[](const std::string& k) const { return at.at(k); }
};

inline void place(Layout& l, const std::string& k, int x, int y) {
    l.at[k] = {x, y};
}

inline void show(Layout& l, const std::string& k, int x, int y) {
    place(l, k, x, y);
    l.shown.insert(k);
    l.hidden.erase(k);
}

inline void hide(Layout& l, const std::string& k) {
    l.at.erase(k);
    l.shown.erase(k);
    l.hidden.insert(k);
}

inline Layout layoutOne() {
    Layout l;
    for (int n = 1; n <= 4; ++n)
        show(l, "Btn_A" + std::to_string(n), 10, 80 + 40 * n);
    for (int n = 1; n <= 12; ++n)
        hide(l, "Key" + std::to_string(n));
    for (int n : {3, 5, 10, 11})
        hide(l, "Btn_B" + std::to_string(n));
    show(l, "Btn_B1", 5, 515);
    show(l, "Btn_B2", 129, 515);
    show(l, "Btn_B4", 253, 515);
    show(l, "Btn_B6", 5, 550);
    show(l, "Btn_B7", 129, 550);
    show(l, "Btn_B8", 253, 550);
    show(l, "Btn_B9", 377, 550);
    place(l, "P1", 195, 104);
    show(l, "Key1", 130, 182);
    show(l, "Key2", 552, 188);
    show(l, "Key3", 552, 266);
    show(l, "Key5", 98, 318);
    show(l, "Key6", 98, 368);
    show(l, "Key8", 552, 344);
    show(l, "Key9", 552, 304);
    place(l, "P2", 88, 144);
    place(l, "Spd", 121, 191);
    place(l, "DbSpd", 121, 282);
    place(l, "ScrSpd", 121, 373);
    place(l, "DPI", 535, 222);
    place(l, "Rep1", 510, 280);
    place(l, "Rep2", 628, 280);
    const int para[] = {557, 612, 665, 722};
    const int mode[] = {548, 601, 654, 900};
    for (int n = 0; n < 4; ++n) {
        place(l, "FKPara" + std::to_string(n + 1), para[n], 384);
        place(l, "FKMode" + std::to_string(n + 1), mode[n], 430);
    }
    place(l, "P3", 112, 128);
    place(l, "OffTime", 476, 195);
    place(l, "RaiseTime", 476, 226);
    place(l, "OnTime", 476, 253);
    place(l, "FallTime", 476, 278);
    place(l, "LEDMode1", 352, 329);
    place(l, "LEDMode2", 476, 329);
    place(l, "LEDMode3", 582, 329);
    place(l, "LEDColorMode1", 368, 379);
    place(l, "R1", 400, 410);
    place(l, "LEDColorMode2", 556, 379);
    place(l, "R2", 588, 410);
    place(l, "P4", 112, 136);
    place(l, "MacroName", 132, 186);
    place(l, "New", 598, 192);
    place(l, "Del", 598, 407);
    place(l, "MacroContent", 353, 183);
    place(l, "DelayTime", 128, 314);
    place(l, "RecDelay", 20, 36);
    place(l, "DelayEdit", 137, 56);
    place(l, "Insert", 128, 314);
    place(l, "InsertList", 68, 4);
    place(l, "InsertRecDelay", 20, 34);
    place(l, "InsertDelayEdit", 136, 55);
    place(l, "InsertStart", 114, 100);
    place(l, "InsertOK", 110, 126);
    return l;
}

inline Layout editorLayout(int n) {
    Layout l = layoutOne();
    if (n == 2) {
        place(l, "ScrSpd", 121, 376);
    } else if (n == 3) {
        const std::pair<int, Pt> buttons[] = {{1, {76, 484}},  {2, {176, 484}}, {3, {276, 484}},
                                              {4, {376, 484}}, {5, {476, 484}}, {11, {576, 484}},
                                              {6, {114, 520}}, {7, {214, 520}}, {8, {314, 520}},
                                              {9, {414, 520}}, {10, {514, 520}}};
        for (const auto& [b, at] : buttons)
            show(l, "Btn_B" + std::to_string(b), at.x, at.y);
        for (int k = 1; k <= 12; ++k)
            hide(l, "Key" + std::to_string(k));
        show(l, "Key1", 130, 182);
        show(l, "Key2", 562, 188);
        show(l, "Key3", 562, 266);
        show(l, "Key4", 98, 318);
        show(l, "Key5", 98, 368);
        show(l, "Key6", 562, 304);
        show(l, "Key7", 562, 344);
        show(l, "Key8", 98, 216);
        place(l, "Spd", 136, 194);
        place(l, "DbSpd", 136, 290);
        place(l, "ScrSpd", 136, 386);
        place(l, "Rep1", 486, 294);
        place(l, "Rep2", 588, 294);
        const int para[] = {556, 612, 666, 720};
        const int mode[] = {538, 590, 644, 696};
        for (int k = 0; k < 4; ++k) {
            place(l, "FKPara" + std::to_string(k + 1), para[k], 384);
            place(l, "FKMode" + std::to_string(k + 1), mode[k], 430);
        }
    }
    return l;
}

// orlix-editor-s: its own positions; the lighting page is not offered (controls off-window).
inline Layout editorSLayout() {
    Layout l = layoutOne();
    hide(l, "Btn_B9");
    show(l, "Btn_B2", 100, 515);
    show(l, "Btn_B4", 195, 515);
    show(l, "Btn_B7", 100, 550);
    show(l, "Btn_B8", 195, 550);
    for (int k = 1; k <= 12; ++k)
        hide(l, "Key" + std::to_string(k));
    show(l, "Key1", 130, 182);
    show(l, "Key2", 562, 188);
    show(l, "Key3", 562, 266);
    show(l, "Key4", 562, 304);
    show(l, "Key5", 98, 318);
    show(l, "Key6", 98, 368);
    show(l, "Key7", 562, 344);
    place(l, "Spd", 126, 196);
    place(l, "DbSpd", 126, 288);
    place(l, "ScrSpd", 126, 380);
    place(l, "DPI", 530, 226);
    place(l, "Rep1", 500, 286);
    place(l, "Rep2", 612, 286);
    const int para[] = {552, 608, 662, 716};
    const int mode[] = {542, 596, 650, 704};
    for (int k = 0; k < 4; ++k) {
        place(l, "FKPara" + std::to_string(k + 1), para[k], 386);
        place(l, "FKMode" + std::to_string(k + 1), mode[k], 432);
    }
    // No colour swatches: the percentage edits at the right edge take the colour.
    place(l, "R1", 930, 410);
    place(l, "R2", 1030, 410);
    return l;
}

// Rectangles (x, y, w, h) of everything the program places on the whole background.
inline std::vector<std::array<int, 4>> controlRects(const Layout& l) {
    std::vector<std::array<int, 4>> r = {{485, 30, 264, 21},
                                         {l["P1"].x, l["P1"].y, 472, 379},
                                         {l["P2"].x, l["P2"].y, 700, 324},
                                         {l["P3"].x, l["P3"].y, 620, 356},
                                         {l["P4"].x, l["P4"].y, 600, 346}};
    for (const std::string& k : l.shown) {
        const Pt p = l[k];
        if (k.rfind("Btn_A", 0) == 0)
            r.push_back({p.x, p.y, 66, 30});
        else if (k.rfind("Btn_B", 0) == 0)
            r.push_back({p.x, p.y, 125, 33});
        else
            r.push_back({p.x, p.y, 104, 31});
    }
    return r;
}

} // namespace artwork_tables
