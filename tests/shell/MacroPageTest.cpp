// The macro page in the main window against the simulated macro mouse: recording with real
// key presses and clicks and a fake clock, the delay choices, the insert panel, delete, the
// name dialog, files, and what reaches the mouse on Apply.
#include "ShellHarness.h"

#include "macro/gui/MacroDialogs.h"
#include "macro/gui/MacroEventList.h"
#include "macro/gui/MacroNameDialog.h"
#include "macro/gui/MacroPage.h"
#include "model/Configuration.h"
#include "model/MacroStore.h"
#include "rules/PageRules.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

using namespace orlix;
using test::Harness;

namespace {

class FakeDialogs : public macro::gui::MacroDialogs {
public:
    void message(QWidget*, const QString& text) override { messages << text; }
    bool ask(QWidget*, const QString& text) override {
        questions << text;
        return answerYes;
    }
    QString saveFileName(QWidget*, const QString&) override { return take(); }
    QString openFileName(QWidget*, const QString&) override { return take(); }

    QStringList messages;
    QStringList questions;
    bool answerYes = true;
    QStringList files;

private:
    QString take() { return files.isEmpty() ? QString() : files.takeFirst(); }
};

// A window on the macro page of a macro mouse, its clock and dialogs in the test's hand.
struct MacroHarness : Harness {
    MacroHarness(Edition e = Edition::Editor)
        : Harness(e, device::SimulatedMouse::macroMouse(test::defaultImageOf(e))) {
        page().setClock([this] { return now; });
        page().setDialogs(&dialogs);
        poll();
        window->pageButtonClicked(pages::Page::Macro);
    }
    macro::gui::MacroPage& page() { return window->macroPage(); }
    QListWidget* names() { return find<QListWidget>(QStringLiteral("LB_MacroName")); }
    macro::gui::MacroEventList* events() {
        return find<macro::gui::MacroEventList>(QStringLiteral("LB_macro"));
    }
    void clickRow(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void chooseMacro(int n) { clickRow(names(), n); }
    void key(Qt::Key k, QEvent::Type type, quint32 scanCode = 0) {
        QKeyEvent e(type, k, Qt::NoModifier, scanCode, 0, 0);
        QCoreApplication::sendEvent(QApplication::focusWidget() != nullptr
                                        ? static_cast<QObject*>(QApplication::focusWidget())
                                        : window.get(),
                                    &e);
    }
    void tap(Qt::Key k, std::uint32_t holdMs = 0) {
        QTest::keyPress(window.get(), k);
        now += holdMs;
        QTest::keyRelease(window.get(), k);
    }
    QStringList shown() {
        QStringList out;
        for (int i = 0; i < events()->count(); ++i)
            out << events()->item(i)->text();
        return out;
    }
    std::vector<std::uint8_t> body(std::size_t n) const {
        const auto& store = window->configuration().macros;
        return {store.bodies[n].begin(), store.bodies[n].begin() + store.bodyLength(n)};
    }
    // Names macro `n` through the name dialog, as a person does.
    void nameMacro(int n, const QString& name) {
        chooseMacro(n);
        click(QStringLiteral("Btn_New"));
        QLineEdit* edit = page().nameDialog().edit();
        edit->clear();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void chooseKind(int kind) {
        auto* box = find<QComboBox>(QStringLiteral("CB_Insert"));
        box->setCurrentIndex(kind);
        emit box->activated(kind);
    }

    std::uint32_t now = 10'000;
    FakeDialogs dialogs;
};

using Bytes = std::vector<std::uint8_t>;

} // namespace

class TestMacroPage : public QObject {
    Q_OBJECT
private slots:
    void everyControlIsPlacedByTheLayout();
    void recordDelayMeasuresTheTimeBetweenEvents();
    void defaultDelayPutsTheFieldsDelayBeforeEveryEventButTheFirst();
    void noDelayWritesNoDelays();
    void keysAreSwallowedAndTheStopClickIsNotRecorded();
    void physicalKeyGivesTheUsageAndTheLayoutTheName();
    void insertKeyFrontAndBack();
    void insertDelayAndTheFullBodyRefusal();
    void cancelRestoresListScrollAndSelection();
    void deleteRemovesPressAndReleaseTogether();
    void theHundredthReleaseStopsTheRecording();
    void aFullMacroStopsTheRecordingWithItsMessage();
    void languageSwitchWhileRecording();
    void recordingStopsBeforeWindowCommandsAndDetach();
    void renameFollowsAtOnceAndIsBoundToItsMacro();
    void clearAsksFirst();
    void exportAndImportThroughTheFileDialogs();
    void fileFailuresAreToldInTheCurrentLanguage();
    void aStoredDefaultDelayIsShownWhenTheMacroIsChosen();
    void macroOnKey5ReachesTheMouseOnApply();
};

void TestMacroPage::everyControlIsPlacedByTheLayout() {
    for (Edition e : {Edition::Editor, Edition::EditorS}) {
        MacroHarness h(e);
        for (int lang = 1; lang <= 3; ++lang) {
            h.window->applyLanguage(lang);
            h.window->pageButtonClicked(pages::Page::Macro);
            // Layout 1 of orlix-editor: MacroName (132, 186), New (598, 192), Del (598, 407),
            // MacroContent (353, 183), DelayTime (128, 314), DelayEdit (137, 56) in the group.
            QCOMPARE(h.find("LB_MacroName")->pos(), QPoint(132, 186));
            QCOMPARE(h.find("LB_macro")->pos(), QPoint(353, 183));
            const char* column[] = {"New",    "Start",     "Clear", "ExportOne",
                                    "Export", "ImportOne", "Import"};
            for (int i = 0; i < 7; ++i) {
                QCOMPARE(h.find(QStringLiteral("Btn_") + column[i])->pos(),
                         QPoint(598, 192 + 26 * i));
                QCOMPARE(h.find(QStringLiteral("Img_") + column[i])->pos(),
                         QPoint(598, 192 + 26 * i));
                QVERIFY(h.visible(QStringLiteral("Btn_") + column[i]));
            }
            QCOMPARE(h.find("Btn_Del")->pos(), QPoint(598, 407));
            QCOMPARE(h.find("Btn_Insert")->pos(), QPoint(598, 433));
            QCOMPARE(h.find("Gb_Delay")->pos(), QPoint(128, 314));
            QCOMPARE(h.find("Edt_Delay")->pos(), QPoint(137, 56));
            QCOMPARE(h.find("lbl_DelayUnit")->pos(), QPoint(181, 58));
            QCOMPARE(h.text("lbl_DelayUnit"), h.tr("Str418"));
            // The unit greys with its field: only the default delay takes a number.
            const auto unitColour = [&h] {
                return h.find("lbl_DelayUnit")->palette().color(QPalette::WindowText);
            };
            h.click("IB_RecDelay");
            const QColor grey = unitColour();
            h.click("IB_DelayTime");
            QVERIFY(unitColour() != grey);
            h.click("IB_NoDelay");
            QCOMPARE(unitColour(), grey);
            h.click("IB_RecDelay");
            QCOMPARE(h.find("LED_DelayTime")->pos(), QPoint(20, 59));
            QCOMPARE(h.find("IB_NoDelay")->pos(), QPoint(18, 82));
            QVERIFY(h.visible("Gb_Delay"));
            QVERIFY(!h.visible("Gb_Insert"));
            QCOMPARE(h.text("Btn_Start"), h.tr("Str400"));
            QCOMPARE(h.text("IB_DelayTime"), h.tr("Str415"));
            // The insert panel, opened on an entry of a recorded macro.
            h.chooseMacro(0);
            if (h.events()->count() == 0) {
                h.click("Btn_Start");
                h.tap(Qt::Key_A);
                h.click("Btn_Start");
            }
            h.click("Btn_Insert");
            QVERIFY(h.visible("Gb_Insert"));
            QVERIFY(h.visible("Img_InsertBase"));
            QVERIFY(!h.visible("Gb_Delay"));
            QCOMPARE(h.find("Img_InsertBase")->pos(), QPoint(128, 314));
            QCOMPARE(h.find("CB_Insert")->pos(), QPoint(68, 4));
            QCOMPARE(h.find("Edt_InsertDelay")->pos(), QPoint(136, 55));
            QCOMPARE(h.find("lbl_Delay")->pos(), QPoint(62, 57));
            QCOMPARE(h.find("lbl_s_A")->pos(), QPoint(180, 57));
            QCOMPARE(h.find("Gb_Insert")->findChild<QWidget*>("Img_OK")->pos(), QPoint(82, 126));
            QCOMPARE(h.find("Gb_Insert")->findChild<QWidget*>("Img_Cancel")->pos(),
                     QPoint(142, 126));
            QCOMPARE(h.find("Gb_Insert")->findChild<QWidget*>("Img_InsertStart")->pos(),
                     QPoint(114, 100));
            h.click("Btn_Cancel");
            QVERIFY(!h.visible("Gb_Insert"));
        }
    }
}

void TestMacroPage::recordDelayMeasuresTheTimeBetweenEvents() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("Btn_Start");
    QVERIFY(h.page().recording());
    QCOMPARE(h.text("Btn_Start"), h.tr("Str401"));
    QVERIFY(!h.find("Btn_Clear")->isEnabled());
    QVERIFY(!h.find("LB_MacroName")->isEnabled());
    h.tap(Qt::Key_A, 250);
    // Holding B: its auto-repeat is not recorded.
    h.now += 1000;
    QTest::keyPress(h.window.get(), Qt::Key_B);
    QTest::keyEvent(QTest::Press, h.window.get(), Qt::Key_B, Qt::NoModifier, -1);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(h.window.get(), &repeat);
    h.now += 70'000; // more than a delay can hold
    QTest::keyRelease(h.window.get(), Qt::Key_B);
    h.click("Btn_Start");
    QVERIFY(!h.page().recording());
    QCOMPARE(h.shown(), (QStringList{"A", "250 ms", "A", "1000 ms", "B", "65535 ms", "B"}));
    QCOMPARE(h.body(0), (Bytes{0x82, 0x04, 0xFE, 0x00, 0xFA, 0x02, 0x04, 0xFE, 0x03, 0xE8, 0x82,
                               0x05, 0xFE, 0xFF, 0xFF, 0x02, 0x05, 0x00}));
    QCOMPARE(h.page().editor().script().header, std::string("10"));
    QCOMPARE(h.find<QPlainTextEdit>("mmo_wrscript")->toPlainText(),
             QStringLiteral("8204FE00FA0204FE03E88205FEFFFF020500"));
    QVERIFY(h.find("Btn_Clear")->isEnabled());
}

void TestMacroPage::defaultDelayPutsTheFieldsDelayBeforeEveryEventButTheFirst() {
    MacroHarness h;
    h.chooseMacro(1);
    h.click("IB_DelayTime");
    auto* field = h.find<QLineEdit>("Edt_Delay");
    QVERIFY(!field->isReadOnly());
    QVERIFY(h.visible("LED_DelayTime") && !h.visible("LED_RecDelay"));
    // The field holds 1..65530 and is never left empty.
    field->selectAll();
    QTest::keyClicks(field, "99999");
    QCOMPARE(field->text(), QStringLiteral("65530"));
    field->clear();
    emit field->editingFinished();
    QCOMPARE(field->text(), QStringLiteral("1"));
    field->selectAll();
    QTest::keyClicks(field, "50");
    QCOMPARE(field->text(), QStringLiteral("50"));

    h.click("Btn_Start");
    QVERIFY(field->isReadOnly());
    h.tap(Qt::Key_A, 300);
    QTest::mouseClick(h.find("LB_macro"), Qt::RightButton);
    h.click("Btn_Start");
    QCOMPARE(h.shown(), (QStringList{"A", "50 ms", "A", "50 ms", "RightKey", "50 ms", "RightKey"}));
    QCOMPARE(h.page().editor().script().header, std::string("0150"));
    QCOMPARE(h.body(1),
             (Bytes{0x82, 4, 0xFE, 0, 50, 2, 4, 0xFE, 0, 50, 0xA2, 0xFE, 0, 50, 0x22, 0}));
    // Chosen again, the macro shows itself as a default-delay recording: three delays of 50
    // and nothing else make the first four 50, 50, 50 and 0, so it reads as Record Delay.
    h.chooseMacro(0);
    h.chooseMacro(1);
    QVERIFY(h.visible("LED_RecDelay"));
}

void TestMacroPage::noDelayWritesNoDelays() {
    MacroHarness h;
    h.chooseMacro(2);
    h.click("IB_NoDelay");
    QVERIFY(h.find<QLineEdit>("Edt_Delay")->isReadOnly());
    h.click("Btn_Start");
    h.tap(Qt::Key_A, 120);
    h.now += 500;
    QTest::mouseClick(h.find("LB_macro"), Qt::MiddleButton);
    h.click("Btn_Start");
    QCOMPARE(h.shown(), (QStringList{"A", "A", "MiddleKey", "MiddleKey"}));
    QCOMPARE(h.page().editor().script().header, std::string("00"));
    QCOMPARE(h.body(2), (Bytes{0x82, 4, 0x02, 4, 0xA4, 0x24, 0}));
}

void TestMacroPage::keysAreSwallowedAndTheStopClickIsNotRecorded() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("IB_NoDelay");
    QVERIFY(!h.visible("lbl_RecordScope"));
    h.click("Btn_Start");
    // This platform's capture sees this window only, and the page says so while it runs.
    QVERIFY(h.visible("lbl_RecordScope"));
    QCOMPARE(h.text("lbl_RecordScope"), h.tr("Str116"));
    h.window->applyLanguage(2);
    QCOMPARE(h.text("lbl_RecordScope"), h.tr("Str116"));
    QVERIFY(h.text("lbl_RecordScope") !=
            QString::fromStdString(h.window->languages().table(1).text("Str116")));
    h.window->applyLanguage(1);
    QWidget* focus = QApplication::focusWidget();
    // Tab would move the focus, Enter and Space would press it: they are only recorded.
    for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Space})
        h.tap(k);
    QCOMPARE(QApplication::focusWidget(), focus);
    QVERIFY(h.page().recording());
    // Right, back and forward clicks on Stop are recorded; the left click stops.
    QWidget* stop = h.find("Btn_Start");
    QTest::mouseClick(stop, Qt::RightButton, {}, QPoint(40, 12));
    QTest::mouseClick(stop, Qt::BackButton, {}, QPoint(40, 12));
    QTest::mouseClick(stop, Qt::ForwardButton, {}, QPoint(40, 12));
    QVERIFY(h.page().recording());
    h.click("Btn_Start");
    QVERIFY(!h.page().recording());
    QVERIFY(!h.visible("lbl_RecordScope"));
    QCOMPARE(h.shown(),
             (QStringList{"Tab", "Tab", "Enter", "Enter", "Space bar", "Space bar", "RightKey",
                          "RightKey", "Backward", "Backward", "Forward", "Forward"}));
    QCOMPARE(h.body(0), (Bytes{0x82, 0x2B, 0x02, 0x2B, 0x82, 0x28, 0x02, 0x28, 0x82, 0x2C, 0x02,
                               0x2C, 0xA2, 0x22, 0xB0, 0x30, 0xA8, 0x28, 0}));
    // Outside a recording the keys reach the controls again.
    QTest::keyClick(h.window.get(), Qt::Key_A);
    QCOMPARE(h.shown().size(), 12);
}

void TestMacroPage::physicalKeyGivesTheUsageAndTheLayoutTheName() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("IB_NoDelay");
    h.click("Btn_Start");
    // The key where a US keyboard has Q (XKB keycode 24) types A on an AZERTY layout: the
    // list names it A, the mouse plays the key at Q's place (usage 0x14).
    h.key(Qt::Key_A, QEvent::KeyPress, 24);
    h.key(Qt::Key_A, QEvent::KeyRelease, 24);
    h.click("Btn_Start");
    QCOMPARE(h.shown(), (QStringList{"A", "A"}));
    QCOMPARE(h.body(0), (Bytes{0x82, 0x14, 0x02, 0x14, 0}));
}

void TestMacroPage::insertKeyFrontAndBack() {
    for (int kind : {2, 3}) {
        MacroHarness h;
        h.chooseMacro(0);
        h.click("IB_NoDelay");
        h.click("Btn_Start");
        h.tap(Qt::Key_A);
        h.tap(Qt::Key_B);
        h.click("Btn_Start");
        h.clickRow(h.events(), 2); // press B
        h.click("Btn_Insert");
        QVERIFY(!h.find("Btn_Del")->isEnabled());
        QVERIFY(!h.find("LB_MacroName")->isEnabled());
        h.chooseKind(kind);
        QCOMPARE(h.text("Btn_OK"), h.tr("Str421"));
        QVERIFY(h.visible("Btn_InsertStart"));
        QVERIFY(!h.visible("lbl_Delay"));
        h.click("IB_InsertNoDelay");
        h.click("Btn_InsertStart");
        QCOMPARE(h.text("Btn_InsertStart"), h.tr("Str401"));
        QVERIFY(!h.find("Btn_OK")->isEnabled());
        QVERIFY(!h.find("CB_Insert")->isEnabled());
        QVERIFY(h.visible("GB_Dis"));
        h.tap(Qt::Key_C);
        h.tap(Qt::Key_D);
        h.click("Btn_InsertStart");
        QVERIFY(!h.page().recording());
        // Not in the body before OK.
        QCOMPARE(h.body(0).size(), std::size_t{9});
        h.click("Btn_OK");
        QVERIFY(!h.visible("Gb_Insert"));
        QVERIFY(h.visible("Gb_Delay"));
        if (kind == 2)
            QCOMPARE(h.shown(), (QStringList{"A", "A", "C", "C", "D", "D", "B", "B"}));
        else
            QCOMPARE(h.shown(), (QStringList{"A", "A", "B", "C", "C", "D", "D", "B"}));
        QCOMPARE(h.body(0).size(), std::size_t{17});
    }
}

void TestMacroPage::insertDelayAndTheFullBodyRefusal() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("IB_NoDelay");
    h.click("Btn_Start");
    for (Qt::Key k : {Qt::Key_A, Qt::Key_B})
        h.tap(k);
    h.click("Btn_Start");
    h.clickRow(h.events(), 3);
    h.click("Btn_Insert");
    QCOMPARE(h.text("Btn_OK"), h.tr("Str420"));
    QVERIFY(h.visible("lbl_Delay"));
    auto* field = h.find<QLineEdit>("Edt_InsertDelay");
    field->selectAll();
    QTest::keyClicks(field, "200");
    h.chooseKind(1); // Insert Delay Back: after entry 3
    h.click("Btn_OK");
    QCOMPARE(h.shown(), (QStringList{"A", "A", "B", "B", "200 ms"}));
    QCOMPARE(h.events()->currentRow(), 4);
    h.clickRow(h.events(), 3);
    h.click("Btn_Insert");
    h.chooseKind(0); // Insert Delay Front: before entry 3
    h.click("Btn_OK");
    QCOMPARE(h.shown(), (QStringList{"A", "A", "B", "200 ms", "B", "200 ms"}));
    QCOMPARE(h.events()->currentRow(), 3);

    // A macro of 1023 bytes takes no further delay: refused with a message, nothing changes.
    auto& store = h.window->configuration().macros;
    MacroScript full;
    full.header = "10";
    full.events.assign(340, "0 7");
    full.events.push_back(keyLine(true, 0x04, "A"));
    QVERIFY(ScriptToMacroBody(full, store, 5).ok);
    h.chooseMacro(5);
    const Bytes before = h.body(5);
    h.clickRow(h.events(), 0);
    h.click("Btn_Insert");
    h.click("Btn_OK");
    QCOMPARE(h.dialogs.messages, QStringList{h.tr("Str028")});
    QVERIFY(h.visible("Gb_Insert"));
    QCOMPARE(h.body(5), before);
    h.click("Btn_Cancel");
}

void TestMacroPage::cancelRestoresListScrollAndSelection() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("IB_NoDelay");
    h.click("Btn_Start");
    for (int i = 0; i < 12; ++i)
        h.tap(i % 2 == 0 ? Qt::Key_A : Qt::Key_B);
    h.click("Btn_Start");
    QCOMPARE(h.events()->count(), 24);
    h.events()->verticalScrollBar()->setValue(5);
    h.clickRow(h.events(), 8);
    const int top = h.events()->verticalScrollBar()->value();
    const QStringList before = h.shown();
    const Bytes body = h.body(0);

    h.click("Btn_Insert");
    h.chooseKind(3);
    h.click("Btn_InsertStart");
    h.tap(Qt::Key_C);
    h.click("Btn_InsertStart");
    QCOMPARE(h.shown().size(), 26);
    h.click("Btn_Cancel");
    QCOMPARE(h.shown(), before);
    QCOMPARE(h.body(0), body);
    QCOMPARE(h.events()->currentRow(), 8);
    QCOMPARE(h.events()->verticalScrollBar()->value(), top);
    QVERIFY(h.find("Btn_Del")->isEnabled());
}

void TestMacroPage::deleteRemovesPressAndReleaseTogether() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("IB_DelayTime");
    h.click("Btn_Start");
    QTest::keyPress(h.window.get(), Qt::Key_A);
    h.tap(Qt::Key_B);
    QTest::keyRelease(h.window.get(), Qt::Key_A);
    h.click("Btn_Start");
    // A, 50, B, 50, B, 50, A
    QCOMPARE(h.shown(), (QStringList{"A", "50 ms", "B", "50 ms", "B", "50 ms", "A"}));
    h.clickRow(h.events(), 0);
    h.click("Btn_Del");
    QCOMPARE(h.shown(), (QStringList{"50 ms", "B", "50 ms", "B", "50 ms"}));
    QCOMPARE(h.events()->currentRow(), 0);
    h.clickRow(h.events(), 3); // release B: its press goes too
    h.click("Btn_Del");
    QCOMPARE(h.shown(), (QStringList{"50 ms", "50 ms", "50 ms"}));
    QCOMPARE(h.events()->currentRow(), 1);
    QCOMPARE(h.body(0), (Bytes{0xFE, 0, 50, 0xFE, 0, 50, 0xFE, 0, 50, 0}));
    for (int i = 0; i < 3; ++i)
        h.click("Btn_Del");
    QVERIFY(h.shown().isEmpty());
    QCOMPARE(h.body(0), (Bytes{0x00}));
}

void TestMacroPage::theHundredthReleaseStopsTheRecording() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("IB_NoDelay");
    h.click("Btn_Start");
    for (int i = 0; i < 99; ++i)
        h.tap(i % 2 == 0 ? Qt::Key_A : Qt::Key_B);
    QVERIFY(h.page().recording());
    QVERIFY(!h.events()->lastRowRed());
    h.tap(Qt::Key_C);
    // Stopped by itself and encoded; the last row is red while both counts are at 100.
    QVERIFY(!h.page().recording());
    QCOMPARE(h.text("Btn_Start"), h.tr("Str400"));
    QCOMPARE(h.events()->count(), 200);
    QVERIFY(h.events()->lastRowRed());
    QCOMPARE(h.window->configuration().macros.bodyLength(0), 401);
    QVERIFY(h.find("Btn_Clear")->isEnabled());
    // A further key is not recorded; choosing the macro again clears the red row.
    h.tap(Qt::Key_D);
    QCOMPARE(h.events()->count(), 200);
    h.chooseMacro(1);
    h.chooseMacro(0);
    QVERIFY(!h.events()->lastRowRed());
    QVERIFY(h.dialogs.messages.isEmpty());
}

void TestMacroPage::aFullMacroStopsTheRecordingWithItsMessage() {
    MacroHarness h;
    h.chooseMacro(6);
    h.click("IB_DelayTime");
    auto* field = h.find<QLineEdit>("Edt_Delay");
    field->selectAll();
    QTest::keyClicks(field, "1");
    h.click("Btn_Start");
    // Each right click takes 8 bytes with its delays (the first 5): the 129th would pass 1024.
    int clicks = 0;
    while (h.page().recording() && clicks < 300) {
        QTest::mouseClick(h.find("LB_macro"), Qt::RightButton);
        ++clicks;
    }
    QVERIFY(!h.page().recording());
    QCOMPARE(h.text("Btn_Start"), h.tr("Str400"));
    QCoreApplication::processEvents();
    QCOMPARE(h.dialogs.messages, QStringList{h.tr("Str027")});
    const Bytes body = h.body(6);
    QVERIFY(body.size() <= 1024);
    QCOMPARE(body.size(), std::size_t{1022});
    QCOMPARE(body.back(), std::uint8_t{0x00});
    QCOMPARE(h.events()->count(), 3 + 127 * 4); // the first click has no delay before it
}

void TestMacroPage::languageSwitchWhileRecording() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("IB_NoDelay");
    h.click("Btn_Start");
    h.tap(Qt::Key_A);
    // The window re-captions every control on a switch; the button still says Stop and acts
    // as Stop.
    h.window->applyLanguage(2);
    QVERIFY(h.page().recording());
    QCOMPARE(h.text("Btn_Start"), h.tr("Str401"));
    h.click("Btn_Start");
    QVERIFY(!h.page().recording());
    QCOMPARE(h.text("Btn_Start"), h.tr("Str400"));
    QCOMPARE(h.body(0), (Bytes{0x82, 4, 0x02, 4, 0}));

    // The language buttons end a recording first, and the next click starts a new one.
    h.click("Btn_Start");
    h.tap(Qt::Key_B);
    h.click("Btn_Lang1");
    QVERIFY(!h.page().recording());
    // The click on the language button was recorded; the switch came after it.
    QCOMPARE(h.body(0), (Bytes{0x82, 5, 0x02, 5, 0xA1, 0x21, 0}));
    QCOMPARE(h.text("Btn_Start"), h.tr("Str400"));
    h.window->pageButtonClicked(pages::Page::Macro);
    h.click("Btn_Start");
    QVERIFY(h.page().recording());
    h.click("Btn_Start");
}

void TestMacroPage::recordingStopsBeforeWindowCommandsAndDetach() {
    MacroHarness h;
    h.chooseMacro(3);
    h.click("IB_NoDelay");
    h.click("Btn_Start");
    h.tap(Qt::Key_A);
    h.click("Btn_Apply");
    QVERIFY(!h.page().recording());
    // The recording was in the store before the store went to the mouse.
    const auto mem = h.mouse.memory();
    QCOMPARE(Bytes(mem.begin() + 0x8000 + 0x400 * 3, mem.begin() + 0x8000 + 0x400 * 3 + 7),
             (Bytes{0x82, 4, 0x02, 4, 0xA1, 0x21, 0}));
    QVERIFY(h.mouse.violations().empty());

    // A page switch, then the mouse going away.
    h.window->pageButtonClicked(pages::Page::Macro);
    h.chooseMacro(3);
    h.click("Btn_Start");
    h.click("Btn_Main");
    QVERIFY(!h.page().recording());
    h.window->pageButtonClicked(pages::Page::Macro);
    h.click("Btn_Start");
    QVERIFY(h.page().recording());
    h.mouse.unplug();
    h.poll();
    QVERIFY(!h.page().recording());
    QCOMPARE(h.names()->count(), 0);
    QCOMPARE(h.events()->count(), 0);
}

void TestMacroPage::renameFollowsAtOnceAndIsBoundToItsMacro() {
    MacroHarness h;
    // The menu offers named macros only: macros 1 and 3 get names, and its second row is macro 3.
    h.nameMacro(0, QStringLiteral("First"));
    h.nameMacro(2, QStringLiteral("Burst"));
    // Key 5 plays macro 3.
    h.window->pageButtonClicked(pages::Page::Main);
    h.click("Key5");
    h.hover("Key_Macro");
    auto* menuList = h.find<QListWidget>("LB_Name");
    QVERIFY(menuList->isVisible());
    QCOMPARE(menuList->count(), 2);
    QCOMPARE(menuList->item(1)->text(), QStringLiteral("Burst"));
    h.clickRow(menuList, 1);
    QCOMPARE(h.window->configuration().assignments[0][4], std::string("10880000"));
    QCOMPARE(h.text("Key5"), QStringLiteral("Burst"));

    h.window->pageButtonClicked(pages::Page::Macro);
    h.chooseMacro(2);
    h.click("Btn_New");
    auto& dialog = h.page().nameDialog();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.size(), QSize(354, 179));
    QCOMPARE(dialog.edit()->maxLength(), 14);
    // Another macro chosen while the dialog is open does not take the name.
    h.chooseMacro(7);
    dialog.edit()->clear();
    QTest::keyClicks(dialog.edit(), "Rapid fire burst");
    QCOMPARE(dialog.edit()->text(), QStringLiteral("Rapid fire bur"));
    QTest::mouseClick(dialog.findChild<QWidget*>("IB_Confirm"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(h.names()->item(2)->text(), QStringLiteral("Rapid fire bur"));
    QCOMPARE(h.names()->item(7)->text(), QString());
    QCOMPARE(menuList->count(), 2);
    QCOMPARE(menuList->item(1)->text(), QStringLiteral("Rapid fire bur"));
    // In the store at once: an export carries it.
    QCOMPARE(h.window->configuration().macros.name(2), std::string("Rapid fire bur"));
    h.window->pageButtonClicked(pages::Page::Main);
    QCOMPARE(h.text("Key5"), QStringLiteral("Rapid fire bur"));

    // Cancel only empties the field; the close area closes without a change.
    h.window->pageButtonClicked(pages::Page::Macro);
    h.chooseMacro(2);
    h.click("Btn_New");
    QTest::mouseClick(dialog.findChild<QWidget*>("IB_Cancel"), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.edit()->text().isEmpty());
    QTest::keyClicks(dialog.edit(), "Other");
    QTest::mouseClick(dialog.findChild<QWidget*>("IB_Close"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(h.names()->item(2)->text(), QStringLiteral("Rapid fire bur"));
}

void TestMacroPage::clearAsksFirst() {
    MacroHarness h;
    h.chooseMacro(0);
    h.click("Btn_Start");
    h.tap(Qt::Key_A);
    h.click("Btn_Start");
    h.dialogs.answerYes = false;
    h.click("Btn_Clear");
    QCOMPARE(h.dialogs.questions, QStringList{h.tr("Str430")});
    QCOMPARE(h.body(0).size(), std::size_t{5});
    h.dialogs.answerYes = true;
    h.click("Btn_Clear");
    QVERIFY(h.shown().isEmpty());
    QCOMPARE(h.window->configuration().macros.bodyLength(0), 0);
    QCOMPARE(h.window->configuration().macros.bodies[0][0], 0xFF);
}

void TestMacroPage::exportAndImportThroughTheFileDialogs() {
    MacroHarness h;
    const QString dir = test::scratchFolder(QStringLiteral("macro-files"));
    h.chooseMacro(4);
    h.click("IB_NoDelay");
    h.click("Btn_Start");
    h.tap(Qt::Key_A);
    h.click("Btn_Start");
    h.click("Btn_New");
    QTest::keyClicks(h.page().nameDialog().edit(), "Five");
    QTest::keyClick(h.page().nameDialog().edit(), Qt::Key_Return);

    h.dialogs.files = {dir + QStringLiteral("/one"), QString(), dir + QStringLiteral("/one.bin")};
    h.click("Btn_ExportOne");
    QFile one(dir + QStringLiteral("/one.bin"));
    QVERIFY(one.open(QIODevice::ReadOnly));
    const QByteArray bytes = one.readAll();
    QCOMPARE(bytes.size(), 1056);
    QCOMPARE(bytes.mid(0, 8), QByteArray("\x00\x05\x00\x08\x00\x46\x00\x69", 8));
    QCOMPARE(bytes.mid(32, 5), QByteArray("\x82\x04\x02\x04\x00", 5));

    h.chooseMacro(9);
    h.click("Btn_ImportOne"); // cancelled: nothing happens
    QVERIFY(h.shown().isEmpty());
    h.click("Btn_ImportOne");
    QCOMPARE(h.shown(), (QStringList{"A", "A"}));
    QCOMPARE(h.names()->item(9)->text(), QStringLiteral("Five"));
    QCOMPARE(h.names()->item(4)->text(), QStringLiteral("Five"));
    QVERIFY(h.dialogs.messages.isEmpty());

    // A file that cannot be read is reported and changes nothing.
    h.dialogs.files = {dir + QStringLiteral("/missing.bin")};
    h.click("Btn_Import");
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.names()->item(9)->text(), QStringLiteral("Five"));
}

void TestMacroPage::fileFailuresAreToldInTheCurrentLanguage() {
    const QString dir = test::scratchFolder(QStringLiteral("macro-file-failures"));
    QFile shortFile(dir + QStringLiteral("/short.bin"));
    QVERIFY(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(100, '\0'));
    shortFile.close();
    QDir(dir).mkdir(QStringLiteral("folder.bin"));
    // command, the file the dialog answers, the text that starts the message
    struct Row {
        const char* command;
        QString file;
        const char* textId;
    };
    const Row rows[] = {
        {"Btn_ImportOne", dir + QStringLiteral("/missing.bin"), "Str111"},
        {"Btn_Import", dir + QStringLiteral("/missing.bin"), "Str111"},
        {"Btn_ImportOne", dir + QStringLiteral("/short.bin"), "Str112"},
        {"Btn_Import", dir + QStringLiteral("/short.bin"), "Str113"},
        {"Btn_ExportOne", dir + QStringLiteral("/folder"), "Str110"},
        {"Btn_Export", dir + QStringLiteral("/folder"), "Str110"},
    };
    for (int language : {1, 2, 3}) {
        for (const Row& row : rows) {
            MacroHarness h;
            h.window->applyLanguage(language);
            h.chooseMacro(2);
            h.dialogs.files = {row.file};
            h.click(row.command);
            QCOMPARE(h.dialogs.messages.size(), 1);
            const QString& m = h.dialogs.messages.front();
            QVERIFY2(m.startsWith(h.tr(row.textId) + QLatin1Char('\n')), qPrintable(m));
            QVERIFY2(m.contains(QFileInfo(row.file).fileName()), qPrintable(m));
        }
    }
}

void TestMacroPage::aStoredDefaultDelayIsShownWhenTheMacroIsChosen() {
    MacroHarness h;
    // Four delays of 120 ms: the body was recorded with a default delay of 120.
    const Bytes body{0xA1, 0xFE, 0,   120,  0x21, 0xFE, 0,   120,  0xA1,
                     0xFE, 0,    120, 0x21, 0xFE, 0,    120, 0xA2, 0x00};
    auto& store = h.window->configuration().macros;
    std::copy(body.begin(), body.end(), store.bodies[6].begin());
    store.setBodyLength(6, static_cast<std::uint16_t>(body.size()));
    h.click("IB_NoDelay");
    h.chooseMacro(6);
    QCOMPARE(h.find<QLineEdit>("Edt_Delay")->text(), QStringLiteral("120"));
    QVERIFY(h.visible("LED_DelayTime") && !h.visible("LED_NoDelay"));
}

void TestMacroPage::macroOnKey5ReachesTheMouseOnApply() {
    MacroHarness h;
    h.chooseMacro(2);
    h.click("IB_NoDelay");
    h.click("Btn_Start");
    h.tap(Qt::Key_A);
    QTest::mouseClick(h.find("LB_macro"), Qt::RightButton);
    h.click("Btn_Start");
    // Only a named macro is offered in the menu: the one row there is macro 3.
    h.nameMacro(2, QStringLiteral("Burst"));
    h.window->pageButtonClicked(pages::Page::Main);
    h.click("Key5");
    h.hover("Key_Macro");
    auto* menuList = h.find<QListWidget>("LB_Name");
    QCOMPARE(menuList->count(), 1);
    h.clickRow(menuList, 0);
    h.click("Btn_Apply");
    QVERIFY(h.mouse.violations().empty());
    const ImageBytes stored = h.storedImage();
    const std::size_t at = image::kFireKeyStart + image::kFireKeySize + profileCodeOffset(0, 4);
    QCOMPARE(Bytes(stored.begin() + static_cast<std::ptrdiff_t>(at),
                   stored.begin() + static_cast<std::ptrdiff_t>(at) + 4),
             (Bytes{0x10, 0x88, 0x00, 0x00}));
    const auto mem = h.mouse.memory();
    QCOMPARE(Bytes(mem.begin() + 0x8800, mem.begin() + 0x8800 + 7),
             (Bytes{0x82, 0x04, 0x02, 0x04, 0xA2, 0x22, 0x00}));
    QCOMPARE(Bytes(mem.begin() + 0x6400 + 64, mem.begin() + 0x6400 + 66), (Bytes{0x00, 0x07}));
}

QTEST_MAIN(TestMacroPage)
#include "MacroPageTest.moc"
