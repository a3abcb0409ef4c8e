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

namespace {

// The controls in reading order.
QList<QWidget*> readingOrder(const QList<QWidget*>& controls) {
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
    // Rows: a control joins a row when its middle is close to that of the row's first control.
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
    QList<QWidget*> ordered;
    for (auto& row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const Placed& a, const Placed& b) { return a.r.x() < b.r.x(); });
        for (const Placed& p : row)
            ordered << p.w;
    }
    return ordered;
}

} // namespace

void setReadingTabOrder(QList<QWidget*> controls) {
    setReadingTabOrder(QList<QList<QWidget*>>{controls});
}

QList<QWidget*> readingOrder(const QList<QList<QWidget*>>& groups) {
    QList<QWidget*> ordered;
    for (const QList<QWidget*>& group : groups)
        ordered << readingOrder(group);
    return ordered;
}

void setReadingTabOrder(const QList<QList<QWidget*>>& groups) {
    QWidget* previous = nullptr;
    for (QWidget* w : readingOrder(groups)) {
        if (previous != nullptr) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QList<QWidget*> tabStops(const QList<QWidget*>& candidates) {
    QList<QWidget*> stops;
    auto take = [&](QWidget* w) {
        if ((w->focusPolicy() & Qt::TabFocus) && !stops.contains(w)) stops << w;
    };
    for (QWidget* c : candidates) {
        if (c == nullptr) continue;
        take(c);
        for (QWidget* w : c->findChildren<QWidget*>())
            if (w->window() == c->window()) take(w);
    }
    return stops;
}

} // namespace orlix::pages
