#include "shell/LayoutApplier.h"

#include "widgets/ButtonLabel.h"
#include "widgets/CaptionFont.h"
#include "widgets/Visibility.h"

#include <QWidget>

namespace orlix::shell {

namespace {

QColor colourOf(const appearance::Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

void applyText(QWidget* w, const appearance::ControlLayout& c) {
    if (c.fontSize) pages::setCaptionSize(w, *c.fontSize);
    if (c.textColour) {
        if (auto* label = qobject_cast<pages::ButtonLabel*>(w)) {
            label->setTextColour(colourOf(*c.textColour));
        } else {
            QPalette p = w->palette();
            p.setColor(QPalette::WindowText, colourOf(*c.textColour));
            p.setColor(QPalette::Text, colourOf(*c.textColour));
            w->setPalette(p);
        }
    }
    if (c.backColour) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, colourOf(*c.backColour));
        p.setColor(QPalette::Window, colourOf(*c.backColour));
        w->setPalette(p);
    }
}

} // namespace

void applyLayout(const appearance::Layout& layout, QWidget* window) {
    for (const auto& [name, c] : layout.controls()) {
        const QString controlName = QString::fromStdString(name);
        // A control of a group is looked for in its group first: dialogs of the window carry
        // controls of the same names (Img_Cancel).
        QWidget* group = c.parent.empty()
                             ? nullptr
                             : window->findChild<QWidget*>(QString::fromStdString(c.parent));
        QWidget* w = group != nullptr ? group->findChild<QWidget*>(controlName) : nullptr;
        if (w == nullptr) w = window->findChild<QWidget*>(controlName);
        if (w == nullptr) continue;
        if (c.position) {
            QPoint at(c.position->x, c.position->y);
            // Relative to a group: as it stands when the control is its child, else
            // translated into the control's own parent (which must share the group's window).
            if (group != nullptr && w->parentWidget() != group) {
                if (w->window() != group->window()) continue;
                at = group->mapTo(w->window(), at);
                if (w->parentWidget() != w->window())
                    at = w->parentWidget()->mapFrom(w->window(), at);
            }
            w->move(at);
        }
        if (!c.sizeFrom.empty()) {
            if (QWidget* from = window->findChild<QWidget*>(QString::fromStdString(c.sizeFrom)))
                w->resize(from->size());
        }
        applyText(w, c);
        if (c.visible) pages::setHiddenFor(w, pages::hide::kLayout, !*c.visible);
    }
}

} // namespace orlix::shell
