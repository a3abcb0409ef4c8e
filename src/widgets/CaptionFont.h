#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace orlix::pages {

// Captions of the skinned window (buttons, key labels, page texts) are drawn at exactly the
// text size the layout gives: never a smaller size, never a second line. The face is a
// condensed sans; a caption still wider than its control is set narrower (down to
// kNarrowestStretch per cent of the regular width, the height unchanged), and only beyond
// that it ends in an ellipsis (key labels then show the rest in their marquee).
//
// Pages give their captioned controls the layout's size with setCaptionSize() and draw a
// caption with fittedCaptionFont(); ButtonLabel does both.

inline constexpr int kNarrowestStretch = 68;

// The caption face at the layout's point size (Size_A, Size_B, ...).
QFont captionFont(const QFont& base, int pointSize);
// Gives a control its caption face at the layout's point size.
void setCaptionSize(QWidget* control, int pointSize);
// The caption face for one text in `room` pixels: as set, or narrower until the text fits
// or the narrowest width is reached. The point size is never changed.
QFont fittedCaptionFont(const QFont& font, const QString& text, int room);
bool fitsIn(const QFont& font, const QString& text, int room);
// The point size the control's caption is drawn with.
qreal captionPointSize(const QWidget* control);
// Whether the control's caption is drawn whole on one line (no ellipsis).
bool captionFits(const QWidget* control);

} // namespace orlix::pages
