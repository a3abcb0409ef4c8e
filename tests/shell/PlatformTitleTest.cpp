// The title the desktop shows for the window, read from the X server as a task bar reads it
// (_NET_WM_NAME through xprop). Runs under xvfb-run on the xcb platform.
#include "ShellHarness.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>

using namespace orlix;
using test::Harness;

namespace {

// The window's property as xprop prints it, unquoted; empty when it is not set.
QString xprop(const QWidget& window, const char* property) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window.winId()),
                                      QString::fromLatin1(property)});
    if (!p.waitForFinished(5000) || p.exitCode() != 0) return QStringLiteral("<xprop failed>");
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    const auto m = QRegularExpression(QStringLiteral("= \"(.*)\"$")).match(out);
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

class TestPlatformTitle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void taskBarShowsTheLanguagesTitle();
    void secondEditionShowsItsOwnTitles();
};

void TestPlatformTitle::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb");
}

void TestPlatformTitle::taskBarShowsTheLanguagesTitle() {
    Harness h(Edition::Editor);
    QVERIFY(h.exposed);
    const QString title = h.tr("Title");
    QCOMPARE(title, QStringLiteral("RAVKEL Gaming mouse"));
    QTRY_COMPARE(xprop(*h.window, "_NET_WM_NAME"), title);
    // The window's own caption, by which a second copy finds it, does not change.
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Gaming Mouse v1.0"));

    h.click("Btn_Lang2");
    const QString russian = h.tr("Title");
    QVERIFY(russian != title);
    QTRY_COMPARE(xprop(*h.window, "_NET_WM_NAME"), russian);
    QVERIFY(!xprop(*h.window, "_NET_WM_NAME").contains(QStringLiteral("Gaming Mouse v1.0")));
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Gaming Mouse v1.0"));

    h.click("Btn_Lang1");
    QTRY_COMPARE(xprop(*h.window, "_NET_WM_NAME"), title);
}

void TestPlatformTitle::secondEditionShowsItsOwnTitles() {
    Harness h(Edition::EditorS);
    QVERIFY(h.exposed);
    QTRY_COMPARE(xprop(*h.window, "_NET_WM_NAME"), QStringLiteral("ravkel Gaming Mouse"));
    // Its other languages are reached by the language handler alone (one button shows).
    h.window->applyLanguage(2);
    QTRY_COMPARE(xprop(*h.window, "_NET_WM_NAME"), QStringLiteral("ravkel 電競滑鼠"));
    h.window->applyLanguage(3);
    QTRY_COMPARE(xprop(*h.window, "_NET_WM_NAME"), QStringLiteral("ravkel 电竞鼠标"));
}

QTEST_MAIN(TestPlatformTitle)
#include "PlatformTitleTest.moc"
