#pragma once

#include "widgets/PageContainer.h"
#include "widgets/PageView.h"

#include <QObject>

#include <array>

class QLabel;

namespace orlix::pages {

// Gives a label the look of a section title: small, light grey, not taking clicks or focus.
void styleAsSectionTitle(QLabel* label);

// The short titles of the sections of the Advanced and Breathing-light pages, whose artwork
// marks each section with an icon only. Each title stands where the artwork leaves it room:
// on the heading rule beside a section's icon, or in a card's free corner; the places follow
// the layout's positions of the section's controls, as the artwork's cards do.
class SectionTitles : public QObject, public PageView {
    Q_OBJECT
public:
    // Text id and objectName of each title, in page order.
    struct Title {
        const char* name;
        const char* textId;
        int page; // the page container: 2 Advanced, 3 Breathing light
    };
    static constexpr std::array<Title, 10> kTitles{{
        {"lbl_TitleSpd", "Str117", 2},
        {"lbl_TitleDbSpd", "Str118", 2},
        {"lbl_TitleScrSpd", "Str119", 2},
        {"lbl_TitleDPI", "Str120", 2},
        {"lbl_TitleRep", "Str121", 2},
        {"lbl_TitleFire", "Str122", 2},
        {"lbl_TitleBreath", "Str123", 3},
        {"lbl_TitleLEDMode", "Str124", 3},
        {"lbl_TitleColour1", "Str125", 3},
        {"lbl_TitleColour2", "Str126", 3},
    }};

    SectionTitles(PageContainer& advanced, PageContainer& breathing, QWidget* window);

    void applyLanguage(const appearance::Languages& languages,
                       const appearance::Layout& layout) override;
    QLabel* title(std::size_t i) const { return labels_[i]; }

private:
    std::array<QLabel*, kTitles.size()> labels_{};
};

} // namespace orlix::pages
