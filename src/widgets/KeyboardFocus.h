#pragma once

#include <QList>
#include <QPoint>

class QKeyEvent;
class QWidget;

namespace orlix::pages {

// Space, Enter and Return (keypad too) press a focused control as a click does.
bool isActivationKey(const QKeyEvent& event);

// Whether a click at `local` in `control` would reach it: nothing else of its window, such as a
// cover label, lies on top there. Key presses obey the covers that swallow clicks.
bool reachableAt(const QWidget* control, QPoint local);

// The controls' tab order in reading order: rows from top to bottom (controls whose vertical
// middles lie within half the taller one's height share a row), left to right in a row.
// Positions are taken in the controls' window.
void setReadingTabOrder(QList<QWidget*> controls);

// Every control inside `top` that takes focus by Tab, in reading order.
void setReadingTabOrder(QWidget* top);

} // namespace orlix::pages
