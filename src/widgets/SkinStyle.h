#pragma once

#include <QColor>
#include <QProxyStyle>
#include <QString>

class QImage;
class QPainter;
class QRect;
class QWidget;

namespace orlix::pages {

// The colours of everything the skin's artwork does not draw itself: the pop-up menus, the
// macro-name list, message boxes, the dialogs' check boxes and the keyboard focus mark. The
// panels are dark like the skin; hover, checked and focus take the skin's accent colour.
struct SkinColours {
    QColor panel{30, 33, 39};
    QColor panelBorder{92, 102, 116};
    QColor text{232, 236, 241};
    QColor accent{0, 160, 200};
    // Text and marks drawn on the accent colour.
    QColor onAccent() const;
};

// The colours in use; the window sets the accent from its page background.
const SkinColours& skinColours();
void setSkinAccent(const QColor& accent);

// The skin's accent: the most vivid colour of a page background image.
QColor accentOf(const QImage& image, const QColor& fallback = QColor(0, 160, 200));

// WCAG contrast ratio of two colours, 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);
// Black or white, whichever stands out more on `back`.
QColor readableOn(const QColor& back);

// Style sheets in the current colours.
QString skinListStyleSheet();
QString skinMessageBoxStyleSheet();

// The keyboard focus mark: an accent outline just inside `area`.
void paintFocusMark(QPainter& painter, const QRect& area);

// Check boxes and focus rectangles in the skin's colours: a dark box, filled with the accent
// when checked, its tick in readableOn(accent). Other elements come from the base style.
class SkinProxyStyle : public QProxyStyle {
public:
    SkinProxyStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

// The one proxy style the skinned controls share (owned by the application).
QStyle* skinStyle();

} // namespace orlix::pages
