#include "widgets/Visibility.h"

#include <QStringList>
#include <QVariant>
#include <QWidget>

namespace orlix::pages {

namespace {
constexpr const char* kProperty = "orlixHiddenFor";
}

void setHiddenFor(QWidget* widget, const QString& reason, bool hidden) {
    if (widget == nullptr) return;
    QStringList reasons = widget->property(kProperty).toStringList();
    if (hidden && !reasons.contains(reason)) reasons << reason;
    if (!hidden) reasons.removeAll(reason);
    widget->setProperty(kProperty, reasons);
    widget->setVisible(reasons.isEmpty());
}

bool hiddenFor(const QWidget* widget, const QString& reason) {
    return widget != nullptr && widget->property(kProperty).toStringList().contains(reason);
}

} // namespace orlix::pages
