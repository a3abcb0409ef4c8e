// The main window against the simulated mouse: start-up, the poll, window states, menus,
// assignments reaching the mouse, profile files, languages and the window commands.
#include "ShellHarness.h"
#include "support/Checksums.h"

#include "model/Backups.h"

#include "model/Configuration.h"
#include "model/ProfileFile.h"
#include "pages/KeyCombinationDialog.h"
#include "shell/DemoMouse.h"
#include "shell/LoadingWindow.h"
#include "shell/WindowControls.h"
#include "widgets/SkinStyle.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

using namespace orlix;
using test::checksumsValid;
using test::Harness;

namespace {

// The edition's default image with some change, sealed as the mouse would hold it.
ImageBytes imageWith(Edition e, const std::function<void(Configuration&)>& change) {
    const auto texts = appearance::Languages::load(test::bundleOf(e), traitsOf(e)).languages;
    Configuration c(e);
    c.startUp(*test::bundleOf(e).find("OrlixData"), texts);
    change(c);
    c.assemble(texts, false);
    return c.working;
}

std::string storedCode(const ImageBytes& img, int profile, int button) {
    const std::size_t at = image::kProfileStart + profileCodeOffset(profile, button);
    char out[9];
    std::snprintf(out, sizeof out, "%02X%02X%02X%02X", img[at], img[at + 1], img[at + 2],
                  img[at + 3]);
    return out;
}

bool showsPixmap(const QLabel* label, const QPixmap& expected) {
    return label->pixmap().toImage() == expected.toImage();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpShowsDefaultsAndRefusesDeviceCommands();
    void windowShapeAndCaptionPerEdition();
    void pollFindsTheMouseAndShowsItsActiveProfile();
    void activeAlternateProfileWithoutItsKeyIsRefusedAfterTheRead();
    void macroDeviceGetsTheMacroEntryAndTheTallerMenu();
    void rejectedMouseShowsItsErrorLabel_data();
    void rejectedMouseShowsItsErrorLabel();
    void unpluggedMouseGivesTheNoDeviceState();
    void incompleteReadShowsItsLabelAndWritesNothing();
    void menusOpenAtTheirPlaces();
    void eachOfTheFirstThreeButtonsOpensTheLeftRightMiddleMenu();
    void specialCpiPlusOnKey5ReachesTheMouseOnApply();
    void primaryButtonSwap();
    void macroFromTheMenuList();
    void refusedWriteIsReportedAndConfirmStaysOpen();
    void keyCombinationFromTheMenuIsStored();
    void alternateAndResetPagesFollowTheirKeys();
    void hoverScrollsTheCaptionAndPausesThePoll();
    void confirmClosesOnlyWithAMouse();
    void exitWritesNothing();
    void resetWritesTheDefaults();
    void theDemoMouseKeepsItsBackupsApart();
    void transferShowsTheLoadingWindowAndSwallowsClicks();
    void mouseVanishingDuringApplyLeavesTheWindowUsable();
    void profileSaveAndLoadRoundTrip();
    void profileLoadRefusesForeignFilesAndSaveKeepsTheUsersFile();
    void profileButtonsNeedAMouse();
    void languageSwitchRecaptionsAndKeepsThePage();
    void buttonsShowTheirHoverAndSelectedImages();
    void webButtonOpensTheLayoutsAddress();
    void draggingTheBackgroundMovesTheWindow();
};

void TestMainWindow::startUpShowsDefaultsAndRefusesDeviceCommands() {
    Harness h;
    QCOMPARE(h.text("Key1"), QStringLiteral("Left Key"));
    QVERIFY(h.visible("Img_P1"));
    QVERIFY(h.visible("Key5"));
    QVERIFY(!h.visible("Key4")); // the layout leaves it out
    for (const char* l : {"lbl_NoDev", "lbl_CheckDev", "lbl_IDError", "lbl_TypeError"})
        QVERIFY2(!h.visible(l), l);
    QVERIFY(h.visible("Disable")); // nothing to edit before a mouse was read
    QCOMPARE(h.find("Disable")->geometry(), h.find("Img_P2")->geometry());
    QCOMPARE(h.find("Img_P2")->size(), QSize(700, 324));
    // The cover lies over the page, not over the key labels: they show their hover image
    // and marquee, and a click on them is refused.
    QVERIFY(h.reachable("Key5"));
    QCOMPARE(h.hitAt(h.find("Img_P1")->geometry().topLeft() + QPoint(236, 100)), h.find("Disable"));
    h.hover("Key5");
    QVERIFY(h.window->assignmentPage().hovering());
    QVERIFY(showsPixmap(h.find<QLabel>("Img_Key5"), h.window->pixmaps().pixmap("KeyS_02")));
    QTRY_VERIFY(h.text("Key5") != h.tr("Str213"));
    h.click("Key5");
    QVERIFY(!h.window->menus().anyOpen());
    QCOMPARE(h.text("Key5"), h.tr("Str213"));
    QCOMPARE(h.find<QRadioButton>("rb_1")->isChecked(), true);
    QTimer* devTimer = h.window->device().devTimer();
    QVERIFY(devTimer->isActive());
    QCOMPARE(devTimer->interval(), 3500);
    QCOMPARE(QGuiApplication::applicationDisplayName(), h.tr("Title"));

    h.click("Btn_Adv");
    QCOMPARE(h.prompts.messages, QStringList{h.tr("Str022")});
    QVERIFY(h.find<QRadioButton>("rb_1")->isChecked());
    h.click("Btn_Apply");
    QCOMPARE(h.prompts.messages.size(), 2);
    QCOMPARE(h.prompts.messages.last(), h.tr("Str022"));
    QCOMPARE(h.mouse.reportCount(), 0u);
}

void TestMainWindow::windowShapeAndCaptionPerEdition() {
    {
        Harness h(Edition::Editor);
        QCOMPARE(h.window->windowTitle(), QStringLiteral("Gaming Mouse v1.0"));
        QCOMPARE(h.window->size(), QSize(800, 600));
        QVERIFY(h.window->windowFlags() & Qt::FramelessWindowHint);
        // The outline comes from the background's colour key: the corners are cut away.
        const QRegion shape = h.window->mask();
        QVERIFY(!shape.isEmpty());
        QVERIFY(!shape.contains(QPoint(1, 1)));
        QVERIFY(shape.contains(QPoint(400, 300)));
    }
    {
        Harness h(Edition::EditorS);
        QCOMPARE(h.window->windowTitle(), QStringLiteral("Gaming Mouse v1.0"));
        QVERIFY(h.window->mask().isEmpty());
    }
}

void TestMainWindow::pollFindsTheMouseAndShowsItsActiveProfile() {
    Harness h;
    h.poll();
    QVERIFY(h.window->device().linkOpen());
    QVERIFY(!h.window->errorState());
    QVERIFY(!h.visible("Disable"));
    QVERIFY(h.visible("Img_P1"));
    QVERIFY(h.find<QRadioButton>("rb_1")->isChecked());
    QCOMPARE(h.text("Key2"), QStringLiteral("Right Key"));
    // A basic mouse: no macro entry, the shorter menu.
    QCOMPARE(h.find("Pnl_Main")->height(), 122);
    QVERIFY(h.find("Btn_Macro")->isHidden());
    QVERIFY(h.prompts.messages.isEmpty());

    // A mouse whose alternate profile is active opens on that page.
    Harness alt(Edition::Editor,
                device::SimulatedMouse::basicMouse(imageWith(Edition::Editor, [](Configuration& c) {
                    c.setAssignment(0, 8, "07000000");
                    c.setAssignment(1, 4, "09010000");
                    c.page.activeProfile = 1;
                })));
    alt.poll();
    QVERIFY(alt.find<QRadioButton>("rb_2")->isChecked());
    QCOMPARE(alt.text("Key5"), QStringLiteral("CPI +"));
    QVERIFY(alt.prompts.messages.isEmpty());
}

void TestMainWindow::activeAlternateProfileWithoutItsKeyIsRefusedAfterTheRead() {
    Harness h(Edition::Editor,
              device::SimulatedMouse::basicMouse(imageWith(Edition::Editor, [](Configuration& c) {
                  c.page.activeProfile = 1; // no button of profile 1 holds "Alternate profile"
              })));
    h.poll();
    QCOMPARE(h.prompts.messages, QStringList{h.tr("Str020")});
    QVERIFY(h.find<QRadioButton>("rb_2")->isChecked());
    QVERIFY(h.visible("Img_P1"));
}

void TestMainWindow::macroDeviceGetsTheMacroEntryAndTheTallerMenu() {
    Harness h(Edition::Editor,
              device::SimulatedMouse::macroMouse(test::defaultImageOf(Edition::Editor)));
    h.poll();
    QVERIFY(h.window->device().macroDevice());
    QCOMPARE(h.find("Pnl_Main")->height(), 146);
    h.click("Key5");
    QVERIFY(h.visible("Key_Macro"));
    // Layout 1 hides the Macro page button: this kind of mouse gets it after Advanced, in the
    // first row; layout 3 shows it where it stands there.
    QVERIFY(h.reachable("Btn_Macro"));
    QCOMPARE(h.find("Btn_Macro")->pos(), QPoint(377, 515));
    // Layouts 1 and 2 do not offer the third language's button; its handler does the same.
    QVERIFY(!h.visible("Btn_Lang3"));
    h.window->applyLanguage(3);
    QVERIFY(h.visible("Btn_Macro"));
    h.click("Btn_Macro");
    QVERIFY(h.find<QRadioButton>("rb_6")->isChecked());
    QVERIFY(h.visible("Img_P4"));

    Harness basic;
    basic.poll();
    basic.window->applyLanguage(3);
    QVERIFY(!basic.visible("Btn_Macro"));
    QVERIFY(basic.visible("Btn_Fixed"));
}

void TestMainWindow::rejectedMouseShowsItsErrorLabel_data() {
    QTest::addColumn<bool>("wrongType");
    QTest::newRow("data type") << true;
    QTest::newRow("identity") << false;
}

void TestMainWindow::rejectedMouseShowsItsErrorLabel() {
    QFETCH(bool, wrongType);
    auto settings = device::SimulatedMouse::basicMouse(test::defaultImageOf(Edition::Editor));
    if (wrongType)
        settings.dataType = 0x3A;
    else
        settings.idCode = {0x12, 0x34};
    Harness h(Edition::Editor, settings);
    h.poll();
    QCOMPARE(h.visible("lbl_TypeError"), wrongType);
    QCOMPARE(h.visible("lbl_IDError"), !wrongType);
    QCOMPARE(h.text(wrongType ? "lbl_TypeError" : "lbl_IDError"),
             h.tr(wrongType ? "Str102" : "Str103"));
    QVERIFY(!h.visible("lbl_NoDev"));
    QVERIFY(!h.visible("Img_P1"));
    QVERIFY(!h.window->device().linkOpen());
    h.click("Btn_Main");
    QCOMPARE(h.prompts.messages, QStringList{h.tr("Str022")});
}

void TestMainWindow::unpluggedMouseGivesTheNoDeviceState() {
    Harness h;
    h.poll();
    h.mouse.unplug();
    h.poll();
    QVERIFY(h.visible("lbl_NoDev"));
    QVERIFY(h.visible("lbl_CheckDev"));
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str100"));
    for (int n = 1; n <= 4; ++n)
        QVERIFY(!h.visible(QStringLiteral("Img_P%1").arg(n)));
    h.click("Btn_Adv");
    QCOMPARE(h.prompts.messages, QStringList{h.tr("Str022")});
    // Plugged in again: the next poll reads it and the pages come back.
    h.mouse.plugIn();
    h.poll();
    QVERIFY(!h.visible("lbl_NoDev"));
    QVERIFY(h.visible("Img_P1"));
}

void TestMainWindow::eachOfTheFirstThreeButtonsOpensTheLeftRightMiddleMenu() {
    // button clicked -> the menu that opens (the other one stays closed)
    const std::pair<const char*, const char*> rows[] = {
        {"Key1", "Pnl_LRM"},
        {"Key2", "Pnl_LRM"},
        {"Key3", "Pnl_LRM"},
        {"Key5", "Pnl_Main"},
    };
    Harness h;
    h.poll();
    for (const auto& [button, menu] : rows) {
        h.click(button);
        const QString other = QLatin1String(menu) == QLatin1String("Pnl_LRM")
                                  ? QStringLiteral("Pnl_Main")
                                  : QStringLiteral("Pnl_LRM");
        QVERIFY2(h.visible(menu), button);
        QVERIFY2(!h.visible(other), button);
        Harness::clickOn(h.find("Img_P1"), QPoint(300, 20));
        QVERIFY2(!h.visible(menu), button);
    }
}

void TestMainWindow::menusOpenAtTheirPlaces() {
    Harness h;
    h.poll();
    // Key5 of layout 1 at (98, 318): the menu's corner at the label's centre.
    h.click("Key5");
    QWidget* main = h.find("Pnl_Main");
    QVERIFY(main->isVisible());
    QCOMPARE(main->pos(), QPoint(98 + 52, 318 + 15));
    h.click("Key_Special");
    QWidget* special = h.find("Pnl_Special");
    QVERIFY(special->isVisible());
    QCOMPARE(special->pos(), QPoint(main->x() + 188, main->y() + 25));
    QCOMPARE(special->height(), 218);
    QVERIFY(!h.visible("Key_CPID")); // only for data type 0x3A
    QVERIFY(h.visible("Key_CPII"));
    QVERIFY(h.find("Key_AIM") == nullptr); // not offered by this edition

    // A click on the page background closes everything.
    Harness::clickOn(h.find("Img_P1"), QPoint(300, 20));
    QVERIFY(!main->isVisible());
    QVERIFY(!special->isVisible());

    // Key8 at (552, 344) lies in the right half: everything opens leftwards, and the special
    // menu, which would reach the window's bottom, is raised to end with its entry.
    h.click("Key8");
    QCOMPARE(main->pos(), QPoint(604 - 190, 359));
    h.click("Key_Special");
    QCOMPARE(special->pos(), QPoint(main->x() - 188 + 26, main->y() + 25 + 24 - 218));
    h.hover("Key_Fire");
    QWidget* fire = h.find("Pnl_Fire");
    QVERIFY(fire->isVisible());
    auto* fireEntry = h.find<pages::ButtonLabel>("Key_Fire");
    // Lit in the skin's accent, its caption in the colour that stands out on it.
    QCOMPARE(fireEntry->background(), pages::skinColours().accent);
    QCOMPARE(fireEntry->textColour(), pages::skinColours().onAccent());
    QVERIFY(pages::contrastRatio(fireEntry->background(), fireEntry->textColour()) >= 4.5);
    QCOMPARE(fire->pos(), QPoint(special->x() - 162, special->y() + 25));
    // A leaf of the special menu closes the fire group again.
    h.hover("Key_CPI");
    QVERIFY(!fire->isVisible());
    QVERIFY(!fireEntry->background().isValid());
    QCOMPARE(fireEntry->textColour(), pages::skinColours().text);

    // Keys 1 to 3 get the primary menu, which never opens upwards.
    h.click("Key2");
    QVERIFY(!main->isVisible());
    QWidget* lrm = h.find("Pnl_LRM");
    QVERIFY(lrm->isVisible());
    QCOMPARE(lrm->pos(), QPoint(604 - 190, 188 + 15));
}

void TestMainWindow::specialCpiPlusOnKey5ReachesTheMouseOnApply() {
    Harness h;
    h.poll();
    h.click("Key5");
    h.click("Key_Special");
    h.click("Key_CPII");
    QCOMPARE(h.text("Key5"), QStringLiteral("CPI +"));
    QVERIFY(!h.visible("Pnl_Main"));
    QCOMPARE(storedCode(h.storedImage(), 0, 4), std::string("01080000")); // not yet written

    QSignalSpy progress(&h.window->device(), &shell::DeviceController::progressed);
    QSignalSpy locks(&h.window->device(), &shell::DeviceController::lockChanged);
    h.click("Btn_Apply");
    QCOMPARE(storedCode(h.storedImage(), 0, 4), std::string("09010000"));
    QVERIFY(checksumsValid(h.storedImage()));
    QVERIFY(!h.mouse.reloads().empty());
    QVERIFY(h.mouse.violations().empty());
    QVERIFY(h.prompts.messages.isEmpty());
    // The window was locked for the transfer and showed it coming to its end.
    QCOMPARE(locks.size(), 2);
    QVERIFY(progress.size() >= 2);
    QCOMPARE(progress.last().at(0).toInt(), 100);
    QVERIFY(!h.visible("Disable_All"));
    QVERIFY(!h.window->loadingWindow().isVisible());
    QVERIFY(h.window->device().devTimer()->isActive());
}

void TestMainWindow::primaryButtonSwap() {
    Harness h;
    h.poll();
    h.click("Key1");
    QVERIFY(h.visible("Pnl_LRM"));
    h.click("Key_R");
    QCOMPARE(h.text("Key1"), QStringLiteral("Right Key"));
    QCOMPARE(h.text("Key2"), QStringLiteral("Left Key"));
    QCOMPARE(h.text("Key3"), QStringLiteral("Middle Key"));
    const auto& table = h.window->configuration().assignments[0];
    QCOMPARE(table[0], std::string("01020000"));
    QCOMPARE(table[1], std::string("01010000"));
    QCOMPARE(table[2], std::string("01040000"));
}

void TestMainWindow::macroFromTheMenuList() {
    const auto texts =
        appearance::Languages::load(test::bundleOf(Edition::Editor), traitsOf(Edition::Editor))
            .languages;
    auto demo = shell::makeDemoMouse(
        Edition::Editor, *test::bundleOf(Edition::Editor).find("OrlixData"), true, texts);
    Harness h(Edition::Editor, demo->settings());
    std::copy(demo->memory().begin(), demo->memory().end(), h.mouse.memory().begin());
    h.poll();
    h.click("Key5");
    h.hover("Key_Macro");
    auto* list = h.find<QListWidget>("LB_Name");
    QVERIFY(list->isVisible());
    // Placed like a group beside its entry, raised to end with it near the bottom.
    QWidget* main = h.find("Pnl_Main");
    QCOMPARE(list->pos(), QPoint(main->x() + 188, main->y() + 121 + 24 - list->height()));
    QCOMPARE(list->item(1)->text(), QStringLiteral("Double click"));
    Harness::clickOn(list->viewport(), list->visualItemRect(list->item(1)).center());
    QVERIFY(!list->isVisible());
    QVERIFY(!h.visible("Pnl_Main"));
    QCOMPARE(h.text("Key5"), QStringLiteral("Double click"));
    QCOMPARE(h.window->configuration().assignments[0][4], std::string("10840000"));
}

void TestMainWindow::refusedWriteIsReportedAndConfirmStaysOpen() {
    Harness h;
    h.poll();
    // The mouse refuses the block command that starts the write, and again when it is sent
    // once more.
    h.mouse.failReport(h.mouse.reportCount());
    h.mouse.failReport(h.mouse.reportCount() + 1);
    h.window->configuration().setAssignment(0, 4, "09010000"); // something to write
    h.window->refreshUI();
    h.click("Btn_Confirm");
    QCOMPARE(h.prompts.messages, QStringList{h.tr("Str023")});
    QVERIFY(h.window->isVisible());
    QVERIFY(h.mouse.reloads().empty());
}

void TestMainWindow::keyCombinationFromTheMenuIsStored() {
    Harness h;
    h.poll();
    h.click("Key5");
    h.click("Key_Assembly");
    auto& dialog = h.window->keyDialog();
    QVERIFY(dialog.isVisible());
    QVERIFY(!h.visible("Pnl_Main"));
    Harness::clickOn(dialog.findChild<QCheckBox*>("CB_Ctrl"));
    Harness::clickOn(dialog.findChild<QCheckBox*>("CB_Alt"));
    QTest::keyClick(dialog.edit(), Qt::Key_A);
    QTest::keyClick(dialog.edit(), Qt::Key_Z);
    QCOMPARE(dialog.edit()->text(), QStringLiteral("Ctrl+Alt+A+Z"));
    Harness::clickOn(dialog.findChild<pages::ButtonLabel*>("IB_Confirm"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(h.text("Key5"), QStringLiteral("Ctrl+Alt+A+Z"));
    QCOMPARE(h.window->configuration().assignments[0][4], std::string("0205041D"));
}

void TestMainWindow::alternateAndResetPagesFollowTheirKeys() {
    Harness h;
    h.poll();
    h.click("Btn_Switch");
    QCOMPARE(h.prompts.messages, QStringList{h.tr("Str020")});
    QVERIFY(h.find<QRadioButton>("rb_1")->isChecked());

    h.click("Key5");
    h.click("Key_Special");
    h.click("Key_Profile");
    h.click("Btn_Switch");
    QVERIFY(h.find<QRadioButton>("rb_2")->isChecked());
    QCOMPARE(h.text("Key5"), QStringLiteral("Backward")); // profile 2 of the default image

    // On an editable page a click reaches the label and opens its menu.
    h.click("Key5");
    QVERIFY(h.visible("Pnl_Main"));
    h.window->hideAllMenus();

    h.window->applyLanguage(3); // the Reset-control button exists in layout 3
    h.click("Btn_Fixed");
    QCOMPARE(h.prompts.messages.last(), h.tr("Str021"));
    h.click("Key6");
    h.click("Key_Special");
    h.click("Key_Default");
    h.click("Btn_Fixed");
    QVERIFY(h.find<QRadioButton>("rb_3")->isChecked());
    // The reset-control profile is shown read-only: the cover lies over the page, the labels
    // above it still take the pointer (hover image, marquee) but their clicks open no menu.
    QVERIFY(h.visible("Disable"));
    QVERIFY(h.reachable("Key5"));
    QCOMPARE(h.hitAt(h.find("Img_P1")->geometry().topLeft() + QPoint(236, 100)), h.find("Disable"));
    h.click("Key5");
    QVERIFY(!h.visible("Pnl_Main"));
    QVERIFY(!h.window->menus().anyOpen());
    h.hover("Key5");
    QVERIFY(h.window->assignmentPage().hovering());
    QVERIFY(h.window->assignmentPage().labelRun()->isActive());
}

void TestMainWindow::hoverScrollsTheCaptionAndPausesThePoll() {
    Harness h;
    h.poll();
    QTimer* devTimer = h.window->device().devTimer();
    auto* key1 = h.find<QLabel>("Key1");
    emit h.window->assignmentPage().keyLabel(1)->entered();
    QVERIFY(!devTimer->isActive());
    QVERIFY(h.window->assignmentPage().labelRun()->isActive());
    QVERIFY(showsPixmap(h.find<QLabel>("Img_Key1"), h.window->pixmaps().pixmap("KeyS_02")));
    QTRY_COMPARE(key1->text(), QStringLiteral("eft Key    L"));
    emit h.window->assignmentPage().keyLabel(1)->left();
    QCOMPARE(key1->text(), QStringLiteral("Left Key"));
    QVERIFY(devTimer->isActive());
    QVERIFY(!h.window->assignmentPage().labelRun()->isActive());
    QVERIFY(showsPixmap(h.find<QLabel>("Img_Key1"), h.window->pixmaps().pixmap("KeyS_01")));
}

void TestMainWindow::confirmClosesOnlyWithAMouse() {
    Harness h;
    h.click("Btn_Confirm");
    QCOMPARE(h.prompts.messages, QStringList{h.tr("Str022")});
    QVERIFY(h.window->isVisible());
    h.poll();
    h.window->configuration().setAssignment(0, 4, "09010000"); // something to write
    h.window->refreshUI();
    h.click("Btn_Confirm");
    QVERIFY(!h.window->isVisible());
    QCOMPARE(h.mouse.reloads().size(), 1u);
    QVERIFY(!h.window->device().linkOpen());
}

void TestMainWindow::exitWritesNothing() {
    Harness h;
    h.poll();
    const auto reports = h.mouse.reportCount();
    h.click("Btn_Exit");
    QVERIFY(!h.window->isVisible());
    QCOMPARE(h.mouse.reportCount(), reports);
}

void TestMainWindow::resetWritesTheDefaults() {
    Harness h(Edition::Editor,
              device::SimulatedMouse::basicMouse(imageWith(
                  Edition::Editor, [](Configuration& c) { c.setAssignment(0, 4, "09020000"); })));
    h.poll();
    QCOMPARE(h.text("Key5"), QString::fromStdString(h.window->languages().text("Str248")));
    const auto before = h.storedImage();
    const auto keptBefore = BackupStore(defaultBackupFolder()).list().size();
    h.click("Btn_Reset");
    QVERIFY(h.storedImage() == test::defaultImageOf(Edition::Editor));
    QCOMPARE(h.text("Key5"), QStringLiteral("Backward"));
    // What the reset replaced is kept: the newest backup starts with the image as it was.
    QVERIFY(h.window->device().backupError().empty());
    const auto kept = BackupStore(defaultBackupFolder()).list();
    // (Earlier tests of this program share the folder; it keeps the newest kKeep.)
    QCOMPARE(kept.size(), std::min(keptBefore + 1, BackupStore::kKeep));
    QFile file(QString::fromStdString(kept.front().path.string()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 34048);
    QVERIFY(std::equal(before.begin(), before.end(),
                       reinterpret_cast<const std::uint8_t*>(bytes.constData())));
}

void TestMainWindow::theDemoMouseKeepsItsBackupsApart() {
    Harness h(Edition::Editor,
              device::SimulatedMouse::basicMouse(imageWith(
                  Edition::Editor, [](Configuration& c) { c.setAssignment(0, 4, "09020000"); })));
    h.window->device().setBackupsOf(BackupsOf::SimulatedMouse);
    h.poll();
    const auto mouseBefore = BackupStore(defaultBackupFolder()).list();
    const auto demoBefore = BackupStore(defaultBackupFolder(BackupsOf::SimulatedMouse)).list();
    h.click("Btn_Reset");
    QVERIFY(h.window->device().backupError().empty());
    QCOMPARE(BackupStore(defaultBackupFolder(BackupsOf::SimulatedMouse)).list().size(),
             std::min(demoBefore.size() + 1, BackupStore::kKeep));
    // A real mouse's backups are neither added to nor rotated away.
    QCOMPARE(BackupStore(defaultBackupFolder()).list().size(), mouseBefore.size());
}

void TestMainWindow::transferShowsTheLoadingWindowAndSwallowsClicks() {
    Harness h(Edition::Editor,
              device::SimulatedMouse::macroMouse(test::defaultImageOf(Edition::Editor)));
    h.poll();
    // The 5,000 reports of a macro mouse then take at least 0.3 s, almost four animation steps,
    // however fast the machine: a slower one only takes longer.
    h.mouse.setLatency(std::chrono::microseconds(60));
    static_assert(5000 * 60 / 1000 > 3 * shell::LoadingWindow::kFrameIntervalMs);
    auto& loading = h.window->loadingWindow();
    const int ticksBefore = loading.ticks();
    bool sawLoading = false;
    bool clickedExit = false;
    connect(&h.window->device(), &shell::DeviceController::progressed, this, [&](int percent) {
        if (percent < 50 || clickedExit) return;
        sawLoading = loading.isVisible() && h.visible("Disable_All") && h.window->locked();
        // The cover takes a click meant for Exit.
        clickedExit = true;
        QTest::mouseClick(h.window->windowHandle(), Qt::LeftButton, {},
                          h.find("Btn_Exit")->geometry().center());
    });
    h.click("Btn_Apply");
    QVERIFY(clickedExit);
    QTest::qWait(20); // a close put off until the end of the transfer would have run by now
    QVERIFY(h.window->isVisible());
    QVERIFY(sawLoading);
    QVERIFY(loading.ticks() > ticksBefore); // it animated: events ran during the transfer
    const QRect main = h.window->frameGeometry();
    QCOMPARE(loading.pos(), QPoint(main.left() + (main.width() - 206) / 2,
                                   main.top() + (main.height() - 196) / 2 + 40));
    QVERIFY(!loading.isVisible());
    QVERIFY(h.mouse.violations().empty());
}

void TestMainWindow::mouseVanishingDuringApplyLeavesTheWindowUsable() {
    {
        // Gone in the middle of the first read: nothing of it is taken, nothing stays locked.
        Harness h;
        h.mouse.unplugAfterReports(40);
        h.poll();
        QVERIFY(!h.window->locked());
        QVERIFY(!h.visible("Disable_All"));
        QVERIFY(h.window->device().devTimer()->isActive());
        QCOMPARE(h.text("Key1"), QStringLiteral("Left Key"));
        h.poll();
        QVERIFY(h.visible("lbl_NoDev"));
    }
    Harness h;
    h.poll();
    h.mouse.unplugAfterReports(h.mouse.reportCount() + 10);
    h.window->configuration().setAssignment(0, 4, "09010000"); // something to write
    h.window->refreshUI();
    h.click("Btn_Apply");
    QVERIFY(!h.visible("Disable_All"));
    QVERIFY(!h.window->locked());
    QVERIFY(!h.window->loadingWindow().isVisible());
    QVERIFY(h.window->device().devTimer()->isActive());
    h.poll();
    QVERIFY(h.visible("lbl_NoDev"));
    h.click("Btn_Apply");
    QCOMPARE(h.prompts.messages.last(), h.tr("Str022"));
}

void TestMainWindow::profileSaveAndLoadRoundTrip() {
    Harness h;
    h.poll();
    h.click("Key5");
    h.click("Key_Special");
    h.click("Key_CPII");

    const QString folder = test::scratchFolder(QStringLiteral("profiles"));
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/abc"));
    h.click("Btn_Save");
    QCOMPARE(h.prompts.filters, QStringList{QStringLiteral("SaveFile (*.bin)")});
    QFile saved(folder + QStringLiteral("/abc.bin"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QCOMPARE(bytes.size(), qsizetype(kProfileFileSize));
    // A mouse without macro memory leaves the macro part all 0xFF.
    QVERIFY(std::all_of(bytes.begin() + kImageSize, bytes.end(),
                        [](char c) { return static_cast<unsigned char>(c) == 0xFF; }));

    h.click("Key5");
    h.click("Key_Special");
    h.click("Key_CPI");
    QCOMPARE(h.window->configuration().assignments[0][4], std::string("09000000"));
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/abc.bin"));
    h.click("Btn_Load");
    QCOMPARE(h.prompts.filters.last(), QStringLiteral("LoadFile (*.bin)"));
    QCOMPARE(h.text("Key5"), QStringLiteral("CPI +"));
    QCOMPARE(h.window->configuration().assignments[0][4], std::string("09010000"));

    // Choosing the existing abc.bin writes abc.bin again, not abc.bin.bin.
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/abc.bin"));
    h.click("Btn_Save");
    QVERIFY(!QFile::exists(folder + QStringLiteral("/abc.bin.bin")));

    // A file that cannot be read leaves everything as it was and says why.
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/missing.bin"));
    h.click("Btn_Load");
    QCOMPARE(h.prompts.messages.size(), 1);
    QVERIFY(h.prompts.messages.last().contains(QStringLiteral("missing.bin")));
    QCOMPARE(h.text("Key5"), QStringLiteral("CPI +"));
}

void TestMainWindow::profileLoadRefusesForeignFilesAndSaveKeepsTheUsersFile() {
    Harness h;
    h.poll();
    const QString folder = test::scratchFolder(QStringLiteral("profiles-refused"));
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/good.bin"));
    h.click("Btn_Save");
    QFile saved(folder + QStringLiteral("/good.bin"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray good = saved.readAll();
    saved.close();
    QCOMPARE(good.size(), qsizetype(kProfileFileSize));
    QVERIFY(h.prompts.messages.isEmpty());

    const auto writeFile = [&](const QString& name, const QByteArray& bytes) {
        QFile f(folder + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    const QString key5 = h.text("Key5");
    QByteArray foreign = good;
    foreign[5] = char(0xA7); // product id 0x08A7
    writeFile(QStringLiteral("foreign.bin"), foreign);
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/foreign.bin"));
    h.click("Btn_Load");
    QCOMPARE(h.prompts.messages.size(), 1);
    QString expected = h.tr("Str026");
    expected.replace(QStringLiteral("%1"), QStringLiteral("product id"))
        .replace(QStringLiteral("%2"), QStringLiteral("0x08A7"))
        .replace(QStringLiteral("%3"), QStringLiteral("0x08A6"));
    QVERIFY2(h.prompts.messages.last().startsWith(expected), qPrintable(h.prompts.messages.last()));
    QCOMPARE(h.text("Key5"), key5);

    writeFile(QStringLiteral("short.bin"), good.left(255));
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/short.bin"));
    h.click("Btn_Load");
    QCOMPARE(h.prompts.messages.size(), 2);
    QVERIFY(h.prompts.messages.last().contains(QStringLiteral("fewer than the 256")));

    // A repaired section is repaired silently, as before.
    QByteArray damaged = good;
    damaged[254] = char(damaged[254] ^ 0x01);
    writeFile(QStringLiteral("damaged.bin"), damaged);
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/damaged.bin"));
    h.click("Btn_Load");
    QCOMPARE(h.prompts.messages.size(), 2);

    // A read-only file is not replaced; a link is written through.
    writeFile(QStringLiteral("locked.bin"), QByteArray("abc"));
    QFile::setPermissions(folder + QStringLiteral("/locked.bin"), QFile::ReadOwner);
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/locked.bin"));
    h.click("Btn_Save");
    QCOMPARE(h.prompts.messages.size(), 3);
    QVERIFY(h.prompts.messages.last().contains(QStringLiteral("locked.bin")));
    QFile locked(folder + QStringLiteral("/locked.bin"));
    QVERIFY(locked.open(QIODevice::ReadOnly));
    QCOMPARE(locked.readAll(), QByteArray("abc"));
    QVERIFY(
        QFile::link(folder + QStringLiteral("/good.bin"), folder + QStringLiteral("/link.bin")));
    h.prompts.fileAnswers.push_back(folder + QStringLiteral("/link.bin"));
    h.click("Btn_Save");
    QCOMPARE(h.prompts.messages.size(), 3);
    QVERIFY(QFileInfo(folder + QStringLiteral("/link.bin")).isSymLink());
}

void TestMainWindow::profileButtonsNeedAMouse() {
    Harness h;
    h.prompts.fileAnswers.push_back(QStringLiteral("/nonexistent/never"));
    h.click("Btn_Save");
    h.click("Btn_Load");
    QCOMPARE(h.prompts.messages, (QStringList{h.tr("Str022"), h.tr("Str022")}));
    QVERIFY(h.prompts.filters.isEmpty()); // no dialog opened
}

void TestMainWindow::languageSwitchRecaptionsAndKeepsThePage() {
    Harness h;
    h.poll();
    h.click("Key6");
    h.click("Key_Assembly");
    QTest::keyClick(h.window->keyDialog().edit(), Qt::Key_F5);
    Harness::clickOn(h.window->keyDialog().findChild<pages::ButtonLabel*>("IB_Confirm"));
    QCOMPARE(h.text("Key6"), QStringLiteral("F5"));

    const auto& langs = h.window->languages();
    const QString left2 = QString::fromStdString(langs.table(2).text("Str210"));
    QVERIFY(left2 != QStringLiteral("Left Key"));
    h.click("Btn_Lang2");
    QCOMPARE(h.text("Key1"), left2);
    QCOMPARE(h.text("Key6"), QStringLiteral("F5")); // no table knows it: unchanged
    QCOMPARE(h.text("Btn_Apply"), QString::fromStdString(langs.table(2).text("Str001")));
    QCOMPARE(QGuiApplication::applicationDisplayName(),
             QString::fromStdString(langs.table(2).text("Title")));
    QVERIFY(h.find<QRadioButton>("rb_Lang2")->isChecked());
    h.click("Btn_Lang1");
    QCOMPARE(h.text("Key1"), QStringLiteral("Left Key"));

    // The page shown survives a switch; only its background follows the language.
    h.click("Btn_Adv");
    h.click("Btn_Lang2");
    QVERIFY(h.find<QRadioButton>("rb_4")->isChecked());
    QVERIFY(h.visible("Img_P2"));
    QVERIFY(!h.visible("Img_P1"));
    QVERIFY(showsPixmap(h.find<QLabel>("Img_P2"), h.window->pixmaps().pixmap("L2_Back2")));
}

void TestMainWindow::buttonsShowTheirHoverAndSelectedImages() {
    Harness h;
    h.poll();
    const auto& skin = h.window->pixmaps();
    // Layout 1 spaces its page buttons wide: skin set 1 brings its own page-button plates.
    auto shows = [&](const char* image, const char* skinImage) {
        return showsPixmap(h.find<QLabel>(image), skin.pixmap(skin.forSet(1, skinImage)));
    };
    const QPoint away(400, 8); // the bare background at the top
    QVERIFY(shows("Img_Main", "SetS_02"));
    h.hover("Btn_Adv");
    QVERIFY(shows("Img_Adv", "SetS_03"));
    h.hover("Btn_Main");
    QVERIFY(shows("Img_Adv", "SetS_01"));
    QVERIFY(shows("Img_Main", "SetS_03"));
    QTest::mouseMove(h.window.get(), away);
    QVERIFY(shows("Img_Main", "SetS_02")); // the current page's button stays selected

    h.hover("Btn_Apply");
    QVERIFY(shows("Img_Apply", "BtnS_02"));
    QTest::mouseMove(h.window.get(), away);
    QVERIFY(shows("Img_Apply", "BtnS_01"));

    h.hover("Btn_Lang2");
    QVERIFY(shows("Img_Lang2", "SetS_03"));
    QTest::mouseMove(h.window.get(), away);
    QVERIFY(shows("Img_Lang2", "SetS_01"));
    QVERIFY(shows("Img_Lang1", "SetS_02"));

    h.hover("Btn_Web");
    QVERIFY(shows("Img_Web", "WebS_03"));
    QTest::mouseMove(h.window.get(), away);
    QVERIFY(shows("Img_Web", "WebS_01"));
}

void TestMainWindow::webButtonOpensTheLayoutsAddress() {
    Harness h;
    h.click("Btn_Web");
    QCOMPARE(h.prompts.urls.size(), 1);
    QCOMPARE(h.prompts.urls.first().toString().toStdString(),
             h.window->skin().layout().webAddress());
}

void TestMainWindow::draggingTheBackgroundMovesTheWindow() {
    Harness h;
    QWidget* base = h.find("Img_Base");
    const QPoint start = h.window->pos();
    const QPoint grip(400, 8);
    QTest::mousePress(base, Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(30, 20)),
                     QPointF(base->mapToGlobal(grip + QPoint(30, 20))), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(base, &move);
    QTest::mouseRelease(base, Qt::LeftButton, {}, grip + QPoint(30, 20));
    QCOMPARE(h.window->pos(), start + QPoint(30, 20));
}

// One report of the first read fails. Apply would have written the start-up contents over
// the mouse's macros; instead the window says the mouse was not read, and every write waits
// for the complete read of the next poll.
void TestMainWindow::incompleteReadShowsItsLabelAndWritesNothing() {
    Harness h(Edition::Editor,
              device::SimulatedMouse::macroMouse(test::defaultImageOf(Edition::Editor)));
    h.mouse.memory()[0x8000] = 0x42; // the first macro body
    h.mouse.memory()[0x6400] = 0x00; // its table entry: 2 bytes long
    h.mouse.memory()[0x6401] = 0x02;
    h.mouse.failReport(100); // inside the read of the macro table
    h.poll();
    QVERIFY(h.window->device().linkOpen());
    QVERIFY(h.window->device().needsRead());
    QVERIFY(h.visible("lbl_ReadError"));
    QCOMPARE(h.text("lbl_ReadError"), h.tr("Str025"));
    QVERIFY(!h.visible("Img_P1"));
    QVERIFY(!h.visible("lbl_IDError"));
    h.mouse.clearViolations(); // the read the lost report cut short

    const std::vector<std::uint8_t> before(h.mouse.memory().begin(), h.mouse.memory().end());
    const auto reports = h.mouse.reportCount();
    h.click("Btn_Apply");
    h.click("Btn_Reset");
    h.click("Btn_Confirm");
    QCOMPARE(h.prompts.messages, (QStringList{h.tr("Str025"), h.tr("Str025"), h.tr("Str025")}));
    QVERIFY(h.window->isVisible());
    QCOMPARE(h.mouse.reportCount(), reports);
    QVERIFY(std::equal(before.begin(), before.end(), h.mouse.memory().begin()));

    // The label follows the language.
    h.click("Btn_Lang2");
    QCOMPARE(h.text("lbl_ReadError"), h.tr("Str025"));
    h.click("Btn_Lang1");

    // The next tick reads the mouse again; the complete read clears the state.
    h.poll();
    QVERIFY(!h.window->device().needsRead());
    QVERIFY(!h.visible("lbl_ReadError"));
    QVERIFY(h.visible("Img_P1"));
    h.click("Btn_Apply");
    QCOMPARE(h.prompts.messages.size(), 3);
    QCOMPARE(h.mouse.memory()[0x8000], std::uint8_t{0x42}); // the macro survived the write
    QVERIFY(h.mouse.violations().empty());
}

QTEST_MAIN(TestMainWindow)
#include "MainWindowTest.moc"
