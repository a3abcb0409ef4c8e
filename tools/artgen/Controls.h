#pragma once

#include "Theme.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace artgen {

// How a button plate looks; which resource suffix shows which look depends on the control.
enum class Look { Normal, Hover, Selected, Pressed };

QPainterPath plateShape(Corners corners, const QRectF& r, qreal size);
void drawPlate(QPainter& p, const QPainterPath& body, Look look);

QImage windowButton(const Edition& e, Look look); // kWindowButtonWidth x 30
// 125 x 33, the plate `body` pixels wide (the edition's shared width when 0).
QImage pageButton(const Edition& e, Look look, int body = 0);
QImage keyLabel(const Edition& e, Look look);         // 104 x 31
QImage webButton(const Edition& e, Look look);        // 264 x 21
QImage swatchFrame(const Edition& e);                 // 48 x 48
QImage macroButton(const Edition& e, Look look);      // 80 x 25
QImage macroSmallButton(const Edition& e, Look look); // 40 x 25
QImage insertBase(const Edition& e, bool keyKinds);   // 207 x 162
QImage stepBar(bool lit);                             // 23 x 4
QImage levelBar(bool current);                        // 20 x 4
QImage optionMark(bool chosen);                       // 17 x 18

// The delay-options plate shared by the macro page's delay group and the insert box:
// origin is the group's top-left corner, rows are the three option rows (indicator at x).
struct DelayPlate {
    QPointF origin;
    QPointF optionsAt; // first option row, relative to origin
    QPointF editAt;    // delay edit, relative to origin
    bool comboSlot = false;
    bool optionRows = true;
    QPointF recordAt; // record button (80 x 25), when shown
    bool recordSlot = false;
    QPointF okAt; // OK / Cancel pair, when shown
    bool okSlots = false;
};
void drawDelayPlate(QPainter& p, const Edition& e, const DelayPlate& plate);

// A recessed slot under a control image, a little larger than the image itself.
void drawSocket(QPainter& p, Corners corners, const QRectF& r);

} // namespace artgen
