#include "widgets/Visibility.h"

#include <QGraphicsOpacityEffect>
#include <QStringList>
#include <QVariant>
#include <QWidget>

namespace orlix::pages {

namespace {
constexpr const char* kProperty = "orlixHiddenFor";
constexpr double kDimmedOpacity = 0.3;
} // namespace

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

void dim(QWidget* widget, bool dimmed) {
    if (!dimmed) {
        widget->setGraphicsEffect(nullptr);
        return;
    }
    if (widget->graphicsEffect() != nullptr) return;
    auto* effect = new QGraphicsOpacityEffect(widget);
    effect->setOpacity(kDimmedOpacity);
    widget->setGraphicsEffect(effect);
}

} // namespace orlix::pages
