// A mouse that is present but cannot be opened (on Linux: no access to its hidraw nodes) is
// told apart from no mouse at all, and the window picks it up once it can be opened.
#include "ShellHarness.h"

using namespace orlix;
using test::Harness;

class TestCannotOpen : public QObject {
    Q_OBJECT
private slots:
    void closedMouseIsToldApartFromNoMouse_data();
    void closedMouseIsToldApartFromNoMouse();
    void pollKeepsTryingUntilTheMouseOpens();
    void closedMouseThatGoesAwayIsNoMouse();
    void otherFeatureLengthIsNoMouse();
};

void TestCannotOpen::closedMouseIsToldApartFromNoMouse_data() {
    QTest::addColumn<Edition>("edition");
    QTest::addRow("orlix-editor") << Edition::Editor;
    QTest::addRow("orlix-editor-s") << Edition::EditorS;
}

void TestCannotOpen::closedMouseIsToldApartFromNoMouse() {
    QFETCH(Edition, edition);
    Harness h(edition);
    h.mouse.refuseOpen(true);
    h.poll();
    QVERIFY(!h.window->device().linkOpen());
    QVERIFY(h.window->device().mouseCannotBeOpened());
    QVERIFY(h.visible("lbl_NoDev"));
    QVERIFY(h.visible("lbl_CheckDev"));
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str104"));
    QCOMPARE(h.text("lbl_CheckDev"), h.tr("Str105"));
    QVERIFY(h.text("lbl_NoDev") != h.tr("Str100"));
    for (int n = 1; n <= 4; ++n)
        QVERIFY(!h.visible(QStringLiteral("Img_P%1").arg(n)));
    QVERIFY(h.window->device().devTimer()->isActive());

    // Commands are refused as with no mouse.
    h.click("Btn_Apply");
    QCOMPARE(h.prompts.messages, QStringList{h.tr("Str022")});

    // The texts follow the language (the layouts offer different language buttons; their
    // handler is the same).
    for (int n : {2, 3, 1}) {
        h.window->applyLanguage(n);
        QCOMPARE(h.text("lbl_NoDev"), h.tr("Str104"));
        QCOMPARE(h.text("lbl_CheckDev"), h.tr("Str105"));
        // For a look at the texts in every language.
        h.window->grab().save(QStringLiteral("%1/cannot-open-%2-%3.png")
                                  .arg(qEnvironmentVariable("ORLIX_TEST_SCRATCH", QDir::tempPath()),
                                       QString::fromLatin1(traitsOf(edition).programName))
                                  .arg(n));
    }

    // Really gone: the plain no-device texts, also after a language switch.
    h.mouse.unplug();
    h.poll();
    QVERIFY(!h.window->device().mouseCannotBeOpened());
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str100"));
    QCOMPARE(h.text("lbl_CheckDev"), h.tr("Str101"));
    h.window->applyLanguage(2);
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str100"));
}

void TestCannotOpen::pollKeepsTryingUntilTheMouseOpens() {
    Harness h;
    h.mouse.refuseOpen(true);
    h.poll();
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str104"));
    // Nothing changes on the system: each tick tries the mouse again, and sends it nothing.
    for (int tick = 0; tick < 3; ++tick) {
        h.poll();
        QCOMPARE(h.text("lbl_NoDev"), h.tr("Str104"));
        QCOMPARE(h.mouse.reportCount(), std::uint64_t{0});
        QCOMPARE(h.mouse.openHandles(), std::size_t{0});
    }
    // Access granted (a udev rule, a new login): the next tick opens and reads it, though
    // the number of interfaces stayed the same.
    h.mouse.refuseOpen(false);
    h.poll();
    QVERIFY(h.window->device().canTransfer());
    QVERIFY(!h.window->device().mouseCannotBeOpened());
    QVERIFY(!h.visible("lbl_NoDev"));
    QVERIFY(!h.visible("lbl_CheckDev"));
    QVERIFY(h.visible("Img_P1"));
    QCOMPARE(h.text("Key2"), QStringLiteral("Right Key"));
    QVERIFY(h.prompts.messages.isEmpty());
    QVERIFY(h.mouse.violations().empty());

    // Read and shown, it stays so on later ticks.
    const auto reports = h.mouse.reportCount();
    h.poll();
    QCOMPARE(h.mouse.reportCount(), reports);
}

void TestCannotOpen::closedMouseThatGoesAwayIsNoMouse() {
    Harness h;
    h.mouse.refuseOpen(true);
    h.poll();
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str104"));
    // The mouse leaves as another device arrives: the count stays, the retry notices.
    const int mouseInterfaces = static_cast<int>(h.mouse.enumerate().size());
    h.mouse.unplug();
    h.mouse.setOtherInterfaces(mouseInterfaces);
    h.poll();
    QVERIFY(!h.window->device().mouseCannotBeOpened());
    QVERIFY(h.visible("lbl_NoDev"));
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str100"));
    QCOMPARE(h.text("lbl_CheckDev"), h.tr("Str101"));
}

void TestCannotOpen::otherFeatureLengthIsNoMouse() {
    // An interface with the ids but other than 8-byte feature reports is not this mouse.
    auto settings = device::SimulatedMouse::basicMouse(test::defaultImageOf(Edition::Editor));
    settings.layout = device::SimulatedMouse::Layout::WrongFeatureLength;
    Harness h(Edition::Editor, settings);
    h.mouse.refuseOpen(true);
    h.poll();
    QVERIFY(!h.window->device().mouseCannotBeOpened());
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str100"));
}

QTEST_MAIN(TestCannotOpen)
#include "test_cannot_open.moc"
