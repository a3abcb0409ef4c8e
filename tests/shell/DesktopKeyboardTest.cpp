// The keyboard on a real X11 desktop: keys come from the X server (xdotool, through XTEST) to
// whichever window has the focus, as a person's do, not straight to a widget. Runs under
// xvfb-run on the xcb platform.
#include "ShellHarness.h"

#include "model/ProfileFile.h"

#include <QApplication>
#include <QGuiApplication>
#include <QStandardPaths>

using namespace orlix;
using test::Harness;

namespace {

bool xdotool(const QStringList& args) {
    return test::xdotool(args) != QLatin1String("<failed>");
}

QString focused() {
    QWidget* w = QApplication::focusWidget();
    return w != nullptr ? w->objectName() : QStringLiteral("<none>");
}

// One key through the X server, and the time for it to arrive.
bool key(const char* name) {
    if (!xdotool({QStringLiteral("key"), QString::fromLatin1(name)})) return false;
    QTest::qWait(30);
    return true;
}

} // namespace

class TestDesktopKeyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void applyByKeyboardKeepsTheFocusAfterItsTransfer();
};

void TestDesktopKeyboard::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
}

void TestDesktopKeyboard::applyByKeyboardKeepsTheFocusAfterItsTransfer() {
    Harness h(Edition::Editor,
              device::SimulatedMouse::macroMouse(test::defaultImageOf(Edition::Editor)));
    QVERIFY(h.exposed);
    h.poll();
    QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                     QString::number(h.window->winId())}));
    QTRY_VERIFY(h.window->isActiveWindow());
    // Something to write: an unchanged configuration is not sent again.
    h.window->configuration().setAssignment(0, 4, "09010000");
    h.window->refreshUI();

    QStringList seen;
    for (int i = 0; i < 80 && focused() != QLatin1String("Btn_Apply"); ++i) {
        QVERIFY(key("Tab"));
        seen << focused();
    }
    QVERIFY2(focused() == QLatin1String("Btn_Apply"), qPrintable(seen.join(QLatin1Char(' '))));
    const auto before = h.mouse.reloads().size();
    QVERIFY(key("space"));
    QTRY_COMPARE(h.mouse.reloads().size(), before + 1);

    // The loading window came and went; the desktop gives the activation back to the main
    // window, and the keyboard goes on from Apply.
    QTRY_VERIFY(h.window->isActiveWindow());
    QTRY_COMPARE(focused(), QStringLiteral("Btn_Apply"));
    QVERIFY(key("Tab"));
    QCOMPARE(focused(), QStringLiteral("Btn_Reset"));
    QVERIFY(key("shift+Tab"));
    QCOMPARE(focused(), QStringLiteral("Btn_Apply"));
    const ImageBytes stored = h.storedImage();
    const std::size_t at = image::kProfileStart + profileCodeOffset(0, 4);
    QCOMPARE(stored[at], std::uint8_t{0x09});
    QCOMPARE(stored[at + 1], std::uint8_t{0x01});
}

QTEST_MAIN(TestDesktopKeyboard)
#include "DesktopKeyboardTest.moc"
