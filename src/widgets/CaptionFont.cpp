#include "widgets/CaptionFont.h"

#include "widgets/ButtonLabel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace orlix::pages {

namespace {
constexpr int kStretchStep = 1;
} // namespace

QFont captionFont(const QFont& base, int pointSize) {
    QFont f = base;
    // Chinese glyphs come from the CJK face, which the condensed Latin face lacks.
    f.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("WenQuanYi Micro Hei")});
    f.setStretch(QFont::AnyStretch);
    if (pointSize > 0) f.setPointSize(pointSize);
    return f;
}

void setCaptionSize(QWidget* control, int pointSize) {
    if (control == nullptr) return;
    control->setFont(captionFont(control->font(), pointSize));
}

bool fitsIn(const QFont& font, const QString& text, int room) {
    return QFontMetrics(font).horizontalAdvance(text) <= room;
}

int fittedStretch(const QFont& font, const QString& text, int room) {
    if (text.isEmpty() || fitsIn(font, text, room)) return kCondensedStretch;
    QFont f = font;
    for (int stretch = kCondensedStretch - kStretchStep; stretch > kNarrowestStretch;
         stretch -= kStretchStep) {
        f.setStretch(stretch);
        if (fitsIn(f, text, room)) return stretch;
    }
    return kNarrowestStretch;
}

QFont stretchedCaptionFont(const QFont& font, int stretch) {
    if (stretch >= kCondensedStretch) return font;
    QFont f = font;
    f.setStretch(std::max(stretch, kNarrowestStretch));
    return f;
}

QFont fittedCaptionFont(const QFont& font, const QString& text, int room) {
    return stretchedCaptionFont(font, fittedStretch(font, text, room));
}

qreal captionPointSize(const QWidget* control) {
    if (auto* label = qobject_cast<const ButtonLabel*>(control)) return label->drawnPointSize();
    return control != nullptr ? control->font().pointSizeF() : 0;
}

bool captionFits(const QWidget* control) {
    if (auto* label = qobject_cast<const ButtonLabel*>(control)) return label->captionFits();
    if (auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->wordWrap()) return true;
        const int room = label->width() - 2 * kCaptionMargin;
        return fitsIn(fittedCaptionFont(label->font(), label->text(), room), label->text(), room);
    }
    return true;
}

} // namespace orlix::pages
