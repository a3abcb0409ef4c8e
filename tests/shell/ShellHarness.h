#pragma once

// A main window on the offscreen platform against a simulated mouse, with every dialog
// answered in advance.

#include "appearance/EmbeddedResources.h"
#include "appearance/Languages.h"
#include "device/SimulatedMouse.h"
#include "model/Configuration.h"
#include "model/ParameterImage.h"
#include "platform/PointerSettings.h"
#include "shell/DeviceController.h"
#include "shell/MainWindow.h"
#include "shell/Prompts.h"
#include "widgets/ButtonLabel.h"

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <deque>
#include <memory>

namespace orlix::test {

// xdotool with its arguments (X server tests); its standard output, trimmed, or "<failed>".
inline QString xdotool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0) return QStringLiteral("<failed>");
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

class RecordingPrompts : public shell::Prompts {
public:
    void message(QWidget*, const QString& text) override { messages << text; }
    QString saveFileName(QWidget*, const QString& filter) override {
        filters << filter;
        return take();
    }
    QString openFileName(QWidget*, const QString& filter) override {
        filters << filter;
        return take();
    }
    void openUrl(const QUrl& url) override { urls << url; }
    bool confirm(QWidget*, const QString& text) override {
        questions << text;
        if (confirmAnswers.empty()) return false;
        const bool yes = confirmAnswers.front();
        confirmAnswers.pop_front();
        return yes;
    }
    int choose(QWidget*, const QString& text, const QStringList& answers) override {
        questions << text;
        choices << answers;
        if (chooseAnswers.empty()) return -1;
        const int chosen = chooseAnswers.front();
        chooseAnswers.pop_front();
        return chosen;
    }

    QStringList messages;
    QStringList questions;           // confirm and choose, in order
    QList<QStringList> choices;      // the answers each choose offered
    std::deque<bool> confirmAnswers; // empty: No
    std::deque<int> chooseAnswers;   // empty: Cancel
    QStringList filters;
    QList<QUrl> urls;
    std::deque<QString> fileAnswers; // empty answer: the user cancels

private:
    QString take() {
        if (fileAnswers.empty()) return {};
        QString f = fileAnswers.front();
        fileAnswers.pop_front();
        return f;
    }
};

inline QString scratchFolder(const QString& name) {
    const QString base = qEnvironmentVariable("ORLIX_TEST_SCRATCH", QDir::tempPath());
    QDir dir(base + QLatin1Char('/') + name);
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.path();
}

// Every window starts from empty data and configuration folders of its own, so that nothing a
// run before left (backups, settings) changes what it finds.
inline bool useEmptyUserFolders() {
    qputenv("XDG_DATA_HOME", scratchFolder(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", scratchFolder(QStringLiteral("config")).toLocal8Bit());
    return true;
}

inline const appearance::ResourceBundle& bundleOf(Edition edition) {
    return edition == Edition::Editor ? appearance::orlixEditorResources()
                                      : appearance::orlixEditorSResources();
}

inline ImageBytes defaultImageOf(Edition edition) {
    ImageBytes image{};
    auto data = bundleOf(edition).find("OrlixData");
    if (data && data->size() >= image.size())
        std::copy_n(data->begin(), image.size(), image.begin());
    return image;
}

// The default image of the edition with its lighting in use (bit 0 of the flags clear): the
// window then offers the Breathing-light page in every layout.
inline ImageBytes lightingImageOf(Edition edition) {
    const auto texts = appearance::Languages::load(bundleOf(edition), traitsOf(edition)).languages;
    Configuration c(edition);
    c.startUp(defaultImageOf(edition), texts);
    c.sections.a[image::kLightingFlags] &= static_cast<std::uint8_t>(~kLightingUnused);
    c.assemble(texts, false);
    return c.working;
}

struct Harness {
    explicit Harness(Edition e = Edition::Editor,
                     std::optional<device::SimulatedMouse::Settings> s = std::nullopt)
        : emptyFolders(useEmptyUserFolders()), edition(e),
          mouse(s ? *s : device::SimulatedMouse::basicMouse(defaultImageOf(e))),
          pointer((scratchFolder(QStringLiteral("pointer")) + QStringLiteral("/pointer-settings"))
                      .toStdString()),
          window(std::make_unique<shell::MainWindow>(e, bundleOf(e), mouse, prompts, &pointer)) {
        window->device().setReopenDelay(std::chrono::milliseconds(0));
        window->show();
        exposed = QTest::qWaitForWindowExposed(window.get());
    }

    // One tick of DevTimer.
    void poll() { window->device().poll(); }

    template <typename T = QWidget> T* find(const QString& name) const {
        return window->findChild<T*>(name);
    }
    // The middle of the named control's clickable part, in its top-level window.
    QPoint centreOf(const QString& name) const {
        QWidget* w = find(name);
        if (w == nullptr) return {};
        QPoint at = w->rect().center();
        if (auto* label = qobject_cast<pages::ButtonLabel*>(w)) at = label->textArea().center();
        return w->mapTo(w->window(), at);
    }
    // What a person's click at a window point would reach: the topmost visible control there
    // that takes mouse events (covers included), or the window itself.
    static QWidget* hit(QWidget* topLevel, QPoint at) {
        QWidget* target = topLevel->childAt(at);
        return target != nullptr ? target : topLevel;
    }
    QWidget* hitAt(QPoint inWindow) const { return hit(window.get(), inWindow); }
    // A click as a person makes it: at the point where the named control is drawn, delivered
    // to whatever lies on top there. A covered control is not reached.
    void click(const QString& name) const {
        QWidget* w = find(name);
        QVERIFY2(w != nullptr, qPrintable(name));
        QVERIFY2(w->isVisible(), qPrintable(name + QStringLiteral(" is not visible")));
        clickAt(w->window(), centreOf(name));
    }
    // A click at a point of a control, through its window's hit-testing like any other.
    static void clickOn(QWidget* w, QPoint local) {
        clickAt(w->window(), w->mapTo(w->window(), local));
    }
    static void clickOn(QWidget* w) { clickOn(w, w->rect().center()); }
    // A click at a point of the main window.
    void clickAt(QPoint inWindow) const { clickAt(window.get(), inWindow); }
    static void clickAt(QWidget* topLevel, QPoint at) {
        QWidget* target = hit(topLevel, at);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(topLevel, at));
    }
    // Whether a click on the named control would reach it (or a part of it).
    bool reachable(const QString& name) const {
        QWidget* w = find(name);
        if (w == nullptr || !w->isVisible()) return false;
        QWidget* target = hit(w->window(), centreOf(name));
        return target == w || w->isAncestorOf(target);
    }
    void hover(const QString& name) const {
        QWidget* w = find(name);
        QVERIFY2(w != nullptr, qPrintable(name));
        QTest::mouseMove(w, w->rect().center());
    }
    QString text(const QString& name) const {
        if (auto* label = qobject_cast<QLabel*>(find(name))) return label->text();
        return QStringLiteral("<no label %1>").arg(name);
    }
    bool visible(const QString& name) const {
        QWidget* w = find(name);
        return w != nullptr && w->isVisible();
    }
    QString tr(const char* id) const {
        return QString::fromStdString(window->languages().text(id));
    }

    // The mouse's stored image, as the device memory holds it.
    ImageBytes storedImage() const {
        ImageBytes image{};
        auto mem = mouse.memory();
        std::copy_n(mem.begin() + 0x6000, image.size(), image.begin());
        return image;
    }

    bool emptyFolders;
    Edition edition;
    device::SimulatedMouse mouse;
    RecordingPrompts prompts;
    platform::FilePointerSettingsStore pointer;
    std::unique_ptr<shell::MainWindow> window;
    bool exposed = false;
};

} // namespace orlix::test
