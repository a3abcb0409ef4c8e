#include "shell/ScreenshotTour.h"

#include "device/SimulatedMouse.h"
#include "macro/gui/MacroNameDialog.h"
#include "macro/gui/MacroPage.h"
#include "rules/PageRules.h"
#include "shell/DeviceController.h"
#include "shell/LoadingWindow.h"
#include "shell/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace orlix::shell {

using pages::Page;

namespace {

struct PageShot {
    Page page;
    const char* name;
};
constexpr PageShot kPages[] = {
    {Page::Main, "main"},         {Page::Switch, "alternate"},       {Page::Fixed, "reset-control"},
    {Page::Advanced, "advanced"}, {Page::Breath, "breathing-light"}, {Page::Macro, "macro"},
};

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A top-level pop-up of the window, drawn where it stands and cut to its own outline.
void drawPopup(QPainter& p, MainWindow& window, QWidget* popup) {
    if (popup == nullptr || !popup->isVisible()) return;
    const QPoint at = popup->pos() - window.pos();
    p.save();
    if (!popup->mask().isEmpty()) p.setClipRegion(popup->mask().translated(at));
    p.drawPixmap(at, popup->grab());
    p.restore();
}

// Whether a control draws text of its own, in which another platform's font shows.
bool drawsText(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) return !label->text().isEmpty();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return !button->text().isEmpty();
    return qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr ||
           qobject_cast<const QAbstractItemView*>(w) != nullptr;
}

} // namespace

QStringList ScreenshotTour::controlLines(MainWindow& window, const QString& shot) {
    QStringList lines;
    const QList<QWidget*> tops{&window, &window.keyDialog(), &window.macroPage().nameDialog(),
                               &window.loadingWindow()};
    for (QWidget* top : tops) {
        if (!top->isVisible()) continue;
        const QPoint origin = top == &window ? QPoint() : top->pos() - window.pos();
        QList<QWidget*> shown{top};
        shown << top->findChildren<QWidget*>();
        for (QWidget* w : shown) {
            const QString name = w->objectName();
            // A pop-up is listed as a top of its own, where it stands over the window.
            if ((w != top && w->isWindow()) || name.isEmpty() ||
                name.startsWith(QLatin1String("qt_")) || !w->isVisible())
                continue;
            if (top == &window && w == top) continue;
            const QRect r(w == top ? origin : origin + w->mapTo(top, QPoint()), w->size());
            lines << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                         .arg(shot, name)
                         .arg(r.x())
                         .arg(r.y())
                         .arg(r.width())
                         .arg(r.height())
                         .arg(drawsText(w) || w == &window.loadingWindow()
                                  ? QStringLiteral("text")
                                  : QStringLiteral("plain"));
        }
    }
    return lines;
}

ScreenshotTour::ScreenshotTour(MainWindow& window, QString folder)
    : window_(window), folder_(std::move(folder)),
      prefix_(QString::fromLatin1(window.traits().programName.data(),
                                  static_cast<qsizetype>(window.traits().programName.size()))) {}

QImage ScreenshotTour::capture(MainWindow& window) {
    QImage shot(window.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    QPainter p(&shot);
    if (!window.mask().isEmpty()) p.setClipRegion(window.mask());
    p.drawPixmap(0, 0, window.grab());
    p.setClipping(false);
    drawPopup(p, window, &window.keyDialog());
    drawPopup(p, window, &window.macroPage().nameDialog());
    drawPopup(p, window, &window.loadingWindow());
    return shot;
}

bool ScreenshotTour::save(const QString& name) {
    settle();
    const QString file =
        QDir(folder_).filePath(prefix_ + QLatin1Char('-') + name + QStringLiteral(".png"));
    if (!capture(window_).save(file)) {
        error_ = QStringLiteral("cannot write ") + file;
        return false;
    }
    written_ << file;
    controls_ << controlLines(window_, name);
    return true;
}

bool ScreenshotTour::run() {
    if (!QDir().mkpath(folder_)) {
        error_ = QStringLiteral("cannot create ") + folder_;
        return false;
    }
    const bool ok = tour();
    const QString list = QDir(folder_).filePath(prefix_ + QStringLiteral("-controls.txt"));
    QFile file(list);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) ||
        file.write((controls_.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 ||
        !file.flush()) {
        error_ = QStringLiteral("cannot write ") + list;
        return false;
    }
    return ok;
}

bool ScreenshotTour::tour() {
    bool ok = save(QStringLiteral("lang1-startup"));

    // Find the mouse at once instead of after the first 3.5 s tick.
    DeviceController& device = window_.device();
    device.setReopenDelay(std::chrono::milliseconds(0));
    device.poll();
    settle();

    for (int lang = 1; lang <= 3; ++lang) {
        window_.applyLanguage(lang);
        const QString l = QStringLiteral("lang%1-").arg(lang);
        for (const PageShot& shot : kPages) {
            if (shot.page == Page::Macro && !device.macroDevice()) continue;
            window_.pageButtonClicked(shot.page);
            if (shot.page == Page::Macro) {
                // A recorded macro with an event chosen, the insert panel, the name dialog.
                auto& macros = window_.macroPage();
                macros.showMacro(0);
                macros.showEntry(2);
                ok = save(l + QString::fromLatin1(shot.name)) && ok;
                macros.showInsertPanel(InsertKind::KeyBack);
                ok = save(l + QStringLiteral("macro-insert")) && ok;
                macros.closePanels();
                macros.showNameDialog();
                ok = save(l + QStringLiteral("macro-name")) && ok;
                macros.closePanels();
                continue;
            }
            ok = save(l + QString::fromLatin1(shot.name)) && ok;
        }
        if (!device.linkOpen()) continue;

        // The menus of a label in the left and one in the right half, each with a group open.
        window_.pageButtonClicked(Page::Main);
        auto& menus = window_.menus();
        for (auto [rightHalf, group, sub, name] :
             {std::tuple{false, "Key_Special", "Key_Fire", "menu-left"},
              std::tuple{true, "Key_Media", "", "menu-right"}}) {
            int key = 0;
            for (int n = 4; n <= 12 && key == 0; ++n) {
                const QWidget* label = window_.assignmentPage().keyLabel(n);
                if (label->isVisible() && (label->x() >= 400) == rightHalf) key = n;
            }
            if (key == 0) continue;
            menus.openFor(key, window_.assignmentPage().keyLabel(key)->geometry());
            emit menus.entry(group)->entered();
            if (*sub != '\0') emit menus.entry(sub)->entered();
            ok = save(l + QString::fromLatin1(name)) && ok;
            menus.hideAll();
        }

        window_.keyDialog().open(window_.languages());
        ok = save(l + QStringLiteral("key-combination")) && ok;
        window_.keyDialog().hide();

        if (lang != 1) continue; // the loading window has no text of its own
        window_.lockWindow();
        window_.loadingWindow().showOver(&window_);
        window_.loadingWindow().setPercent(42);
        ok = save(l + QStringLiteral("loading")) && ok;
        window_.loadingWindow().hide();
        window_.unlockWindow();
    }

    // The mouse taken away: the next poll shows the no-device state.
    if (auto* mouse = dynamic_cast<device::SimulatedMouse*>(&device.link().backend())) {
        mouse->unplug();
        device.poll();
        for (int lang = 1; lang <= 3; ++lang) {
            window_.applyLanguage(lang);
            ok = save(QStringLiteral("lang%1-no-device").arg(lang)) && ok;
        }
    }
    return ok;
}

} // namespace orlix::shell
