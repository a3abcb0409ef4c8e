#pragma once

#include <QString>

class QWidget;

namespace orlix::pages {

// A control of the main window can be hidden for several reasons at once: the layout does not
// enable it, its page is not shown, the mouse lacks the feature. It is visible only while no
// reason holds, so each part of the window sets its own reason without undoing the others'.
namespace hide {
inline const QString kLayout = QStringLiteral("layout");
inline const QString kPage = QStringLiteral("page");
inline const QString kDevice = QStringLiteral("device");
} // namespace hide

void setHiddenFor(QWidget* widget, const QString& reason, bool hidden);
bool hiddenFor(const QWidget* widget, const QString& reason);

// Shows a control faded while it cannot be used, and as drawn again once it can. Whether it
// still takes input is the caller's choice.
void dim(QWidget* widget, bool dimmed);

} // namespace orlix::pages
