#include "widgets/KeyboardFocus.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace orlix::pages {

bool isActivationKey(const QKeyEvent& event) {
    const auto mods = event.modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier) return false;
    switch (event.key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        return true;
    default:
        return false;
    }
}

bool reachableAt(const QWidget* control, QPoint local) {
    if (control == nullptr || !control->isVisible() || !control->isEnabled()) return false;
    QWidget* top = control->window();
    QWidget* hit = top->childAt(control->mapTo(top, local));
    return hit == control || (hit != nullptr && control->isAncestorOf(hit));
}

void setReadingTabOrder(QList<QWidget*> controls) {
    struct Placed {
        QWidget* w;
        QRect r;
    };
    std::vector<Placed> placed;
    for (QWidget* w : controls)
        if (w != nullptr)
            placed.push_back({w, QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size())});
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.r.center().y() < b.r.center().y();
    });
    // Rows: a control joins the row of the one before it when their middles are close.
    std::vector<std::vector<Placed>> rows;
    for (const Placed& p : placed) {
        if (!rows.empty()) {
            const Placed& first = rows.back().front();
            const int tolerance = std::max(first.r.height(), p.r.height()) / 2;
            if (p.r.center().y() - first.r.center().y() <= tolerance) {
                rows.back().push_back(p);
                continue;
            }
        }
        rows.push_back({p});
    }
    QWidget* previous = nullptr;
    for (auto& row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const Placed& a, const Placed& b) { return a.r.x() < b.r.x(); });
        for (const Placed& p : row) {
            if (previous != nullptr) QWidget::setTabOrder(previous, p.w);
            previous = p.w;
        }
    }
}

void setReadingTabOrder(QWidget* top) {
    if (top == nullptr) return;
    QList<QWidget*> controls;
    for (QWidget* w : top->findChildren<QWidget*>())
        if (w->window() == top && (w->focusPolicy() & Qt::TabFocus)) controls << w;
    setReadingTabOrder(controls);
}

} // namespace orlix::pages
