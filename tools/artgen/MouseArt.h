#pragma once

#include "SkinLayout.h"

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>

#include <vector>

namespace artgen {

// The shape of the mouse's lighting, which differs from skin to skin.
enum class LightStyle { RearArc, Chevron, SideStrips };

// Where the mouse drawing sits on a page: the centre line and the front tip, in page pixels.
struct MousePlacement {
    qreal centreX = 200;
    qreal front = 46;
};

// The point on the drawing that stands for a control; callouts start there.
QPointF controlAnchor(MouseControl control, const MousePlacement& at);

// Draws the top-down mouse. Only the controls listed get their own cap; a skin whose layout has
// no label for a control shows a mouse without it.
void drawMouse(QPainter& p, const MousePlacement& at, const std::vector<MouseControl>& controls,
               const QColor& accent, LightStyle lights);

// A callout from a control's anchor to the edge of its label; `label` is in page pixels.
void drawCallout(QPainter& p, const QPointF& anchor, const QRectF& label, const QColor& accent);

// The point where a callout meets its label: the label's edge that faces the anchor.
QPointF calloutEnd(const QPointF& anchor, const QRectF& label);

} // namespace artgen
