#include "shell/NeededPageButtons.h"

#include "rules/PageRules.h"
#include "widgets/Visibility.h"

#include <QWidget>

#include <algorithm>

namespace orlix::shell {

namespace {

// Btn_B5 and Btn_B11 of the layout.
constexpr std::size_t kBreathToggle = 4;
constexpr std::size_t kMacroToggle = 10;

} // namespace

QStringList showNeededPageButtons(QWidget* window, const appearance::LayoutPlacement& layout,
                                  bool mouseShown, bool macroDevice, bool mouseHasLighting,
                                  int rowPlate, int addedPlate) {
    pages::NeededPagesInput in;
    for (const appearance::Toggle& t : layout.pageButtons)
        if (t.shown() && t.position) in.shown.push_back({t.position->x, t.position->y});
    in.layoutShowsBreath = layout.pageButtons[kBreathToggle].shown();
    in.layoutShowsMacro = layout.pageButtons[kMacroToggle].shown();
    in.mouseHasLighting = mouseShown && mouseHasLighting;
    in.macroDevice = mouseShown && macroDevice;
    in.windowWidth = window->width();
    if (const auto* plate = window->findChild<QWidget*>(QStringLiteral("Img_Macro")))
        in.plateWidth = plate->width();
    in.rowPlateBody = rowPlate;
    in.addedPlateBody = addedPlate;
    const auto placed = pages::placeNeededPageButtons(in);
    QStringList added;

    for (const auto& [page, layoutShows] : {std::pair{pages::Page::Breath, in.layoutShowsBreath},
                                            std::pair{pages::Page::Macro, in.layoutShowsMacro}}) {
        if (layoutShows) continue; // where the layout has it, it stays
        const auto& info = pages::pageInfo(page);
        auto* button = window->findChild<QWidget*>(
            QString::fromLatin1(info.button.data(), info.button.size()));
        auto* image =
            window->findChild<QWidget*>(QString::fromLatin1(info.image.data(), info.image.size()));
        const auto spot = std::find_if(placed.begin(), placed.end(),
                                       [page](const auto& p) { return p.page == page; });
        for (QWidget* w : {button, image}) {
            if (w == nullptr) continue;
            if (spot != placed.end()) w->move(spot->at.x, spot->at.y);
            pages::setHiddenFor(w, pages::hide::kLayout, spot == placed.end());
        }
        if (spot != placed.end() && image != nullptr) added << image->objectName();
    }
    return added;
}

} // namespace orlix::shell
