// Recording from the whole X11 desktop: keys and buttons that xdotool sends (through XTEST,
// as a person's input arrives) while another program's window has the focus reach the
// macro. Runs under xvfb-run on the xcb platform.
#include "ShellHarness.h"

#include "macro/gui/MacroEventList.h"
#include "macro/gui/MacroPage.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>

using namespace orlix;
using test::Harness;
using test::xdotool;

namespace {

QStringList shown(const Harness& h) {
    QStringList out;
    const auto* list = h.find<QListWidget>(QStringLiteral("LB_macro"));
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// The pointer to the middle of a control of the window, on the screen.
void pointAt(const Harness& h, const QString& name) {
    const QWidget* w = h.find(name);
    const QPoint at = w->mapToGlobal(w->rect().center());
    QCOMPARE(
        xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}),
        QString());
}

} // namespace

class TestX11Recording : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void keysAndButtonsInAnotherProgramAreRecorded();

private:
    QProcess other_;
};

void TestX11Recording::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb");
    for (const char* tool : {"xdotool", "xev"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
}

void TestX11Recording::cleanup() {
    other_.kill();
    other_.waitForFinished(5000);
}

void TestX11Recording::keysAndButtonsInAnotherProgramAreRecorded() {
    Harness h(Edition::Editor,
              device::SimulatedMouse::macroMouse(test::defaultImageOf(Edition::Editor)));
    QVERIFY(h.exposed);
    h.poll();
    h.click("Btn_Macro");
    auto* names = h.find<QListWidget>(QStringLiteral("LB_MacroName"));
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                      names->visualItemRect(names->item(0)).center());
    h.click("IB_NoDelay"); // no delays: the lines do not depend on the machine's speed
    h.click("Btn_Start");
    QVERIFY(h.window->macroPage().recording());
    // The whole desktop is seen: no note on the page.
    QVERIFY(!h.visible("lbl_RecordScope"));

    // Another program's window, away from the editor's, takes the focus and the pointer.
    other_.start(QStringLiteral("xev"),
                 {QStringLiteral("-geometry"), QStringLiteral("200x150+1000+800")});
    QVERIFY(other_.waitForStarted(5000));
    QString id;
    for (int i = 0; i < 50 && (id.isEmpty() || id == QLatin1String("<failed>")); ++i) {
        QTest::qWait(100);
        id = xdotool(
            {QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("Event Tester")});
    }
    id = id.section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(!id.isEmpty() && id != QLatin1String("<failed>"), "no xev window");
    xdotool({QStringLiteral("windowfocus"), id});
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), id, QStringLiteral("50"),
             QStringLiteral("50")});
    QTRY_VERIFY(!h.window->isActiveWindow());

    QCOMPARE(xdotool({QStringLiteral("key"), QStringLiteral("a")}), QString());
    QCOMPARE(xdotool({QStringLiteral("click"), QStringLiteral("3")}), QString());
    QTRY_COMPARE(shown(h), (QStringList{"A", "A", "RightKey", "RightKey"}));

    // Held Shift around B, key by key.
    QCOMPARE(xdotool({QStringLiteral("keydown"), QStringLiteral("shift"), QStringLiteral("keydown"),
                      QStringLiteral("b"), QStringLiteral("keyup"), QStringLiteral("b"),
                      QStringLiteral("keyup"), QStringLiteral("shift")}),
             QString());
    QCOMPARE(xdotool({QStringLiteral("click"), QStringLiteral("2")}), QString());
    QTRY_COMPARE(shown(h).size(), 10);
    QCOMPARE(shown(h).mid(4), (QStringList{"Shift", "B", "B", "Shift", "MiddleKey", "MiddleKey"}));

    // Over Stop a right click is recorded, the left click only stops the recording.
    pointAt(h, QStringLiteral("Btn_Start"));
    QCOMPARE(xdotool({QStringLiteral("click"), QStringLiteral("3")}), QString());
    QTRY_COMPARE(shown(h).size(), 12);
    QCOMPARE(xdotool({QStringLiteral("click"), QStringLiteral("1")}), QString());
    QTRY_VERIFY(!h.window->macroPage().recording());
    QCOMPARE(shown(h).mid(10), (QStringList{"RightKey", "RightKey"}));

    // Not recording: nothing more is taken.
    QCOMPARE(xdotool({QStringLiteral("key"), QStringLiteral("c")}), QString());
    QTest::qWait(300);
    QCOMPARE(shown(h).size(), 12);
}

QTEST_MAIN(TestX11Recording)
#include "X11RecordingTest.moc"
