#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace orlix::pages {

// Captions of the skinned window (buttons, key labels, page texts) are drawn at exactly the
// text size the layout gives: never a smaller size, never a second line, never an ellipsis.
// The face is a condensed sans; a caption still wider than its control is set narrower, down
// to 85 % of the face's own width (the height unchanged). Key labels show a longer caption in
// their marquee; every other caption fits its plate (the artwork gives wider plates where a
// language needs them).
//
// Pages give their captioned controls the layout's size with setCaptionSize() and draw a
// caption with fittedCaptionFont(); ButtonLabel does both.

// The condensed face's own width, and the narrowest setting: 85 % of it.
inline constexpr int kCondensedStretch = 87;
inline constexpr int kNarrowestStretch = (kCondensedStretch * 85 + 99) / 100;
// Room kept free between a caption and its plate's outline on either side.
inline constexpr int kCaptionMargin = 4;

// The caption face at the layout's point size (Size_A, Size_B, ...).
QFont captionFont(const QFont& base, int pointSize);
// Gives a control its caption face at the layout's point size.
void setCaptionSize(QWidget* control, int pointSize);
// The caption face for one text in `room` pixels: as set, or narrower until the text fits
// or the narrowest width is reached. The point size is never changed.
QFont fittedCaptionFont(const QFont& font, const QString& text, int room);
bool fitsIn(const QFont& font, const QString& text, int room);
// The stretch fittedCaptionFont() chooses: kCondensedStretch when the text fits as set, else
// the widest setting that fits, else kNarrowestStretch.
int fittedStretch(const QFont& font, const QString& text, int room);
// The caption face at a stretch (kCondensedStretch: the face as set).
QFont stretchedCaptionFont(const QFont& font, int stretch);
// The point size the control's caption is drawn with.
qreal captionPointSize(const QWidget* control);
// Whether the control's caption is drawn whole on one line (no ellipsis).
bool captionFits(const QWidget* control);

} // namespace orlix::pages
