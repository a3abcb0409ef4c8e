#include "ArtSet.h"

#include "Backgrounds.h"
#include "Controls.h"
#include "Paint.h"

namespace artgen {
namespace {

void add(std::vector<Artwork>& out, std::string name, const QImage& image) {
    QImage img = image.convertToFormat(QImage::Format_ARGB32);
    // The dialogs of both editions key on the same colour, so keep it out of every image that
    // is not meant to be see-through there.
    avoidColour(img, kColourKey);
    out.push_back({std::move(name), std::move(img)});
}

std::string suffix(int n) {
    return n < 10 ? "_0" + std::to_string(n) : "_" + std::to_string(n);
}

} // namespace

std::vector<Artwork> renderEdition(const Edition& e) {
    std::vector<Artwork> out;
    for (const Skin& s : e.skins) {
        const std::string set = "L" + std::to_string(s.number);
        const QImage whole = wholeBackground(e, s);
        // The whole background carries its colour key on purpose; add it unfiltered.
        out.push_back({set + "_BackGround", whole});
        for (int page = 1; page <= 4; ++page)
            add(out, set + "_Back" + std::to_string(page), pageBackground(e, s, page, whole));
        // A skin whose layout leaves its page buttons more room gets wider plates of its own.
        if (s.pageButtonBody != e.pageButtonBody) {
            add(out, set + "_SetS" + suffix(1), pageButton(e, Look::Normal, s.pageButtonBody));
            add(out, set + "_SetS" + suffix(2), pageButton(e, Look::Selected, s.pageButtonBody));
            add(out, set + "_SetS" + suffix(3), pageButton(e, Look::Hover, s.pageButtonBody));
        }
    }

    // Window buttons: normal, under the pointer, pressed.
    add(out, "BtnS" + suffix(1), windowButton(e, Look::Normal));
    add(out, "BtnS" + suffix(2), windowButton(e, Look::Hover));
    add(out, "BtnS" + suffix(3), windowButton(e, Look::Pressed));
    // Page and language buttons: normal, selected, under the pointer.
    add(out, "SetS" + suffix(1), pageButton(e, Look::Normal));
    add(out, "SetS" + suffix(2), pageButton(e, Look::Selected));
    add(out, "SetS" + suffix(3), pageButton(e, Look::Hover));
    // The page buttons the window adds, where their captions want a wider plate.
    if (const int wide = e.skins[0].layout.addedPageButtonBody; wide > 0) {
        add(out, "SetSW" + suffix(1), pageButton(e, Look::Normal, wide));
        add(out, "SetSW" + suffix(2), pageButton(e, Look::Selected, wide));
        add(out, "SetSW" + suffix(3), pageButton(e, Look::Hover, wide));
    }
    // Key labels: normal, under the pointer, pressed.
    add(out, "KeyS" + suffix(1), keyLabel(e, Look::Normal));
    add(out, "KeyS" + suffix(2), keyLabel(e, Look::Hover));
    add(out, "KeyS" + suffix(3), keyLabel(e, Look::Pressed));
    // Web button: normal, clicked, under the pointer.
    add(out, "WebS" + suffix(1), webButton(e, Look::Normal));
    add(out, "WebS" + suffix(2), webButton(e, Look::Pressed));
    add(out, "WebS" + suffix(3), webButton(e, Look::Hover));
    if (e.swatchFrame) add(out, "Col_F", swatchFrame(e));
    add(out, "MacroS" + suffix(1), macroButton(e, Look::Normal));
    add(out, "MacroS" + suffix(2), macroButton(e, Look::Hover));
    add(out, "MacroS" + suffix(3), macroButton(e, Look::Pressed));
    add(out, "MacroBtnS" + suffix(1), macroSmallButton(e, Look::Normal));
    add(out, "MacroBtnS" + suffix(2), macroSmallButton(e, Look::Hover));
    add(out, "MacroBtnS" + suffix(3), macroSmallButton(e, Look::Pressed));
    add(out, "InsertDelayBase", insertBase(e, false));
    add(out, "InsertKeyBase", insertBase(e, true));
    add(out, "Bar1_E", stepBar(true));
    add(out, "Bar1_D", stepBar(false));
    add(out, "Bar2_E", levelBar(true));
    add(out, "Bar2_D", levelBar(false));
    add(out, "RdS_E", optionMark(true));
    add(out, "RdS_D", optionMark(false));
    return out;
}

} // namespace artgen
