// The key-combination dialog driven by real key presses and clicks.
#include "pages/KeyCombinationDialog.h"
#include "appearance/EmbeddedResources.h"
#include "model/TextSource.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace orlix;
using namespace orlix::pages;

class TestKeyCombinationDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void modifiersAndTwoKeys();
    void modifierKeysAndHeldModifiersChangeNothing();
    void aThirdKeyStartsAgain();
    void uncheckingRemovesTheModifier();
    void confirmWithNothingChosen();
    void clearThenOneKey();
    void unknownKeyAndTab();
    void closeGivesNoResult();
    void openingStartsAfreshAndShapesTheDialog();

private:
    void press(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(dialog->edit(), key, mods);
    }
    void toggle(const char* box) {
        QTest::mouseClick(dialog->findChild<QCheckBox*>(box), Qt::LeftButton);
    }
    void clickLabel(const char* name) {
        auto* w = dialog->findChild<ButtonLabel*>(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    QString text() const { return dialog->edit()->text(); }

    MapTextSource texts{{{"Str500", "Assembly Key"}, {"Str501", "Confirm"}, {"Str502", "Clear"}}};
    SkinPixmaps* skin = nullptr;
    QWidget* main = nullptr;
    KeyCombinationDialog* dialog = nullptr;
    QSignalSpy* confirmed = nullptr;
};

void TestKeyCombinationDialog::init() {
    skin = new SkinPixmaps(appearance::orlixEditorResources());
    main = new QWidget;
    main->setGeometry(100, 100, 800, 600);
    main->show();
    dialog = new KeyCombinationDialog(*skin, main);
    confirmed = new QSignalSpy(dialog, &KeyCombinationDialog::confirmed);
    dialog->open(texts);
}

void TestKeyCombinationDialog::cleanup() {
    delete confirmed;
    delete main; // owns the dialog
    delete skin;
}

void TestKeyCombinationDialog::modifiersAndTwoKeys() {
    toggle("CB_Ctrl");
    toggle("CB_Alt");
    QCOMPARE(text(), QStringLiteral("Ctrl+Alt"));
    press(Qt::Key_A);
    press(Qt::Key_Z);
    QCOMPARE(text(), QStringLiteral("Ctrl+Alt+A+Z"));
    clickLabel("IB_Confirm");
    QCOMPARE(confirmed->size(), 1);
    QCOMPARE(confirmed->at(0).at(0).toString(), QStringLiteral("Ctrl+Alt+A+Z"));
    QCOMPARE(confirmed->at(0).at(1).toString(), QStringLiteral("0205041D"));
    QVERIFY(!dialog->isVisible());
}

void TestKeyCombinationDialog::modifierKeysAndHeldModifiersChangeNothing() {
    press(Qt::Key_Shift);
    press(Qt::Key_Control);
    press(Qt::Key_Alt);
    press(Qt::Key_Meta);
    press(Qt::Key_B, Qt::ShiftModifier);
    press(Qt::Key_B, Qt::ControlModifier);
    press(Qt::Key_F4, Qt::AltModifier);
    QCOMPARE(text(), QString());
    QCOMPARE(dialog->combination().capturedKeys(), 0);
}

void TestKeyCombinationDialog::aThirdKeyStartsAgain() {
    toggle("CB_Win");
    press(Qt::Key_A);
    press(Qt::Key_B);
    press(Qt::Key_C);
    QCOMPARE(text(), QStringLiteral("Win+C"));
    clickLabel("IB_Confirm");
    QCOMPARE(confirmed->at(0).at(1).toString(), QStringLiteral("02080600"));
}

void TestKeyCombinationDialog::uncheckingRemovesTheModifier() {
    toggle("CB_Ctrl");
    toggle("CB_Shift");
    press(Qt::Key_F1);
    QCOMPARE(text(), QStringLiteral("Ctrl+Shift+F1"));
    toggle("CB_Shift");
    QCOMPARE(text(), QStringLiteral("Ctrl+F1"));
    toggle("CB_Ctrl");
    QCOMPARE(text(), QStringLiteral("F1"));
    QTRY_VERIFY(dialog->edit()->hasFocus());
}

void TestKeyCombinationDialog::confirmWithNothingChosen() {
    clickLabel("IB_Confirm");
    QCOMPARE(confirmed->size(), 1);
    QCOMPARE(confirmed->at(0).at(0).toString(), QString());
    QCOMPARE(confirmed->at(0).at(1).toString(), QStringLiteral("02000000"));
}

void TestKeyCombinationDialog::clearThenOneKey() {
    toggle("CB_Shift");
    press(Qt::Key_A);
    press(Qt::Key_B);
    clickLabel("IB_Cancel");
    QVERIFY(dialog->isVisible());
    QCOMPARE(text(), QString());
    QVERIFY(!dialog->findChild<QCheckBox*>("CB_Shift")->isChecked());
    press(Qt::Key_Escape);
    clickLabel("IB_Confirm");
    QCOMPARE(confirmed->at(0).at(0).toString(), QStringLiteral("Esc"));
    QCOMPARE(confirmed->at(0).at(1).toString(), QStringLiteral("02002900"));
}

void TestKeyCombinationDialog::unknownKeyAndTab() {
    press(Qt::Key_Tab); // captured, not a focus move
    press(Qt::Key_Launch5);
    QCOMPARE(text(), QStringLiteral("Tab+None"));
    QCOMPARE(dialog->combination().usage2(), 0);
    QTRY_VERIFY(dialog->edit()->hasFocus());
}

void TestKeyCombinationDialog::closeGivesNoResult() {
    press(Qt::Key_A);
    clickLabel("IB_Close");
    QVERIFY(!dialog->isVisible());
    QCOMPARE(confirmed->size(), 0);
}

void TestKeyCombinationDialog::openingStartsAfreshAndShapesTheDialog() {
    toggle("CB_Ctrl");
    press(Qt::Key_A);
    dialog->open(texts);
    QCOMPARE(text(), QString());
    QVERIFY(!dialog->findChild<QCheckBox*>("CB_Ctrl")->isChecked());
    QCOMPARE(dialog->findChild<QLabel*>("lbl_Assembly")->text(), QStringLiteral("Assembly Key"));
    QCOMPARE(dialog->size(), QSize(354, 179));
    // Centred on the main window, 40 pixels below its middle.
    const QRect m = main->frameGeometry();
    QCOMPARE(dialog->pos(),
             QPoint(m.left() + (m.width() - 354) / 2, m.top() + (m.height() - 179) / 2 + 40));
    QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!dialog->isModal());
    QVERIFY(!dialog->mask().contains(QPoint(0, 0)));
    QVERIFY(dialog->mask().contains(QPoint(177, 90)));
}

QTEST_MAIN(TestKeyCombinationDialog)
#include "KeyCombinationDialogTest.moc"
