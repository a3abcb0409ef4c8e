#include "pages/SectionTitles.h"

#include "appearance/Languages.h"
#include "appearance/Layout.h"
#include "widgets/CaptionFont.h"
#include "widgets/Visibility.h"

#include <QLabel>

#include <algorithm>
#include <optional>

namespace orlix::pages {

namespace {

using appearance::Point;

constexpr int kTitlePointSize = 8;
const QColor kTitleColour(176, 186, 198);
const QSize kPageThree(620, 356);

std::optional<QRect> at(const std::optional<Point>& p, int dx, int dy, int w, int h) {
    if (!p) return std::nullopt;
    return QRect(p->x + dx, p->y + dy, w, h);
}

} // namespace

void styleAsSectionTitle(QLabel* label) {
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setFocusPolicy(Qt::NoFocus);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, kTitleColour);
    label->setPalette(pal);
    setCaptionSize(label, kTitlePointSize);
}

SectionTitles::SectionTitles(PageContainer& advanced, PageContainer& breathing, QWidget* window)
    : QObject(window) {
    for (std::size_t i = 0; i < kTitles.size(); ++i) {
        auto* label = new QLabel(window);
        label->setObjectName(QString::fromLatin1(kTitles[i].name));
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        styleAsSectionTitle(label);
        (kTitles[i].page == 2 ? advanced : breathing).addControl(label);
        labels_[i] = label;
    }
}

void SectionTitles::applyLanguage(const appearance::Languages& languages,
                                  const appearance::Layout& layout) {
    const appearance::LayoutPlacement& p = layout.lastPlacement();
    std::array<std::optional<QRect>, kTitles.size()> places{};

    // Pointer scales: on the rule that runs right of each scale's icon.
    for (std::size_t b = 0; b < 3; ++b)
        places[b] = at(p.bars[b], 24, -34, 174, 13);

    // Resolution, report rate and fire keys share one left edge, as their cards do.
    const auto& rep1 = p.reportRates[0];
    const auto& rep2 = p.reportRates[1];
    const auto& field1 = p.fireKeyFields[0];
    if (p.dpi && rep1 && field1) {
        const int firstMode = p.fireModes[0] ? p.fireModes[0]->x : field1->x;
        const int iconColumn = std::min(field1->x, firstMode - 8) - 32;
        const int left = std::min({p.dpi->x - 22, rep1->x - 40, iconColumn - 10});
        const int repY = rep2 ? std::min(rep1->y, rep2->y) : rep1->y;
        const int cpiTop = p.dpi->y - 64;
        const int fireTop = repY + 26 + 10;
        places[3] = QRect(left + 36, cpiTop + 3, 150, 13);
        places[4] = QRect(rep1->x - 32, repY - 24, 200, 13);
        places[5] = QRect(left + 36, fireTop + 3, 150, 13);
    }

    // Breathing light, when the layout places its controls on the page.
    const auto& page = p.pages[2];
    const auto inside = [&](const std::optional<Point>& c, int w, int h) {
        return page && c &&
               QRect(QPoint(page->x, page->y), kPageThree).contains(QRect(c->x, c->y, w, h));
    };
    const auto& off = p.bars[3];
    const auto& fall = p.bars[6];
    const auto& m1 = p.ledModes[0];
    if (inside(off, 240, 20) && inside(fall, 240, 20) && inside(m1, 17, 18) &&
        inside(p.ledModes[2], 17, 18)) {
        // The cycle's picture left of the timing bars: its top-left corner, above the grid.
        places[6] = QRect(page->x + 28, off->y - 12, 200, 13);
        // The modes' card: the strip above its three options.
        places[7] = at(m1, -27, -12, 200, 11);
        // Each colour mode's card, beside its option; orlix-editor-s has no swatch there.
        for (std::size_t c = 0; c < 2; ++c)
            if (inside(p.colourModes[c], 17, 18))
                places[8 + c] = at(p.colourModes[c], 24, 0, 110, 18);
    }

    for (std::size_t i = 0; i < kTitles.size(); ++i) {
        QLabel* label = labels_[i];
        label->setText(QString::fromStdString(languages.text(kTitles[i].textId)));
        if (places[i]) label->setGeometry(*places[i]);
        setHiddenFor(label, hide::kLayout, !places[i]);
    }
}

} // namespace orlix::pages
