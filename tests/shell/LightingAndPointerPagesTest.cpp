// The Breathing-light page and the pointer scales of the Advanced page, driven by clicks
// through the window against the simulated mouse.
#include "ShellHarness.h"

#include "pages/LightingPage.h"
#include "pages/PointerScalesView.h"

#include <QGraphicsEffect>
#include <QLineEdit>
#include <QRadioButton>

using namespace orlix;
using test::Harness;

namespace {

// The edition's default image with the lighting settings in use (flags byte as given) and
// the mode-1 colour as given, sealed as the mouse would hold it.
ImageBytes litImage(Edition e, std::uint8_t flags,
                    std::array<std::uint8_t, 3> mode1 = {10, 20, 30}) {
    ImageBytes img = test::defaultImageOf(e);
    img[image::kLightingFlags] = flags;
    std::copy(mode1.begin(), mode1.end(), img.begin() + image::kMode1Red);
    sealSection(std::span<std::uint8_t>(img.data(), image::kSectionASize));
    return img;
}

bool sectionsValid(const ImageBytes& img) {
    const std::span<const std::uint8_t> all(img);
    return sectionValid(all.subspan(0, image::kSectionASize)) &&
           sectionValid(all.subspan(image::kSectionBStart, image::kSectionBSize));
}

bool filled(const Harness& h, const QString& name) {
    return h.find<QLabel>(name)->pixmap().toImage() ==
           h.window->pixmaps().pixmap("Bar1_E").toImage();
}

// How many segments of a bar show the filled image.
int filledCount(const Harness& h, const QString& prefix) {
    int n = 0;
    for (int i = 1; i <= 10; ++i)
        n += filled(h, prefix + QString::number(i)) ? 1 : 0;
    return n;
}

bool dimmed(const Harness& h, const QString& name) {
    return h.find(name)->graphicsEffect() != nullptr;
}

void openBreathingPage(Harness& h) {
    // Only the third layout of orlix-editor offers the page's button (and the third
    // language's, so the first layouts cannot reach it by a click).
    h.window->applyLanguage(3);
    h.click("Btn_Breath");
    QVERIFY(h.find<QRadioButton>("rb_5")->isChecked());
}

} // namespace

class TestLightingAndPointerPages : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheLayoutSays();
    void pointerScalesReadAtStartAndAfterEachDeviceRead();
    void pointerStepsReachTheSystemOnlyWithApply();
    void confirmAppliesThePointerStepsBeforeClosing();
    void unsupportedScalesAreDrawnDisabled();
    void lightingWithoutSettingsIsDisabledAndCarried();
    void lightingEditsReachTheMouse();
    void colourDialogCancelChangesNothing();
    void lightingIgnoresClicksWhileEditingIsOff();
    void percentEditsOfTheSecondEdition();
    void swatchPaintsTheModeOneColourAsRead();
    void percentEditsTakeKeysOnlyInColourModeOne();
};

void TestLightingAndPointerPages::controlsStandWhereTheLayoutSays() {
    Harness h;
    h.poll();
    const auto& placement = h.window->skin().layout().lastPlacement();
    const auto spd = *placement.bars[0];
    QCOMPARE(h.find("Img_Spd1")->pos(), QPoint(spd.x, spd.y));
    QCOMPARE(h.find("Img_Spd10")->pos(), QPoint(spd.x + 216, spd.y));
    QCOMPARE(h.find("lbl_Spd10")->pos(), QPoint(spd.x + 212, spd.y + 8));
    QCOMPARE(h.find("Img_Spd1")->size(), QSize(23, 4));
    h.window->applyLanguage(3);
    const auto off = *h.window->skin().layout().lastPlacement().bars[3];
    QCOMPARE(h.find("Img_Off3")->pos(), QPoint(off.x + 48, off.y));
    QCOMPARE(h.find("Img_Random")->pos(), QPoint(352, 329));
    QCOMPARE(h.find("lbl_Random")->pos(), QPoint(348, 327));
    QCOMPARE(h.find("lbl_LEDColMode2")->pos(), QPoint(552, 375));
    QCOMPARE(h.find("Img_Mode1Color")->pos(), QPoint(400, 410));
    QCOMPARE(h.find("lbl_csmode1")->geometry(), QRect(400, 410, 48, 48));
    QCOMPARE(h.find("cs_Mode1")->geometry(), QRect(400, 410, 48, 48));
    // The hidden radio buttons never show, the percentage edits stand out of sight here.
    h.click("Btn_Breath");
    QVERIFY(!h.visible("rb_Random"));
    QVERIFY(h.find("Edt_Mode1R")->x() >= 800);
    QVERIFY(h.visible("Img_Fall10"));
    h.click("Btn_Main");
    QVERIFY(!h.visible("Img_Fall10"));
    QVERIFY(!h.visible("Img_Spd1"));
}

void TestLightingAndPointerPages::pointerScalesReadAtStartAndAfterEachDeviceRead() {
    Harness h;
    // Nothing known at start: every scale empty, nothing to apply.
    QCOMPARE(filledCount(h, "Img_Spd"), 0);
    QVERIFY(h.window->pointerScales().scales().pendingUpdate().empty());

    platform::PointerUpdate system;
    system.write = {10, 500, 3};
    QVERIFY(h.pointer.apply(system).ok());
    h.poll(); // the mouse is read, then the pointer settings
    QCOMPARE(filledCount(h, "Img_Spd"), 6);
    QCOMPARE(filledCount(h, "Img_DbSpd"), 0); // 500 ms is none of the table's
    QCOMPARE(filledCount(h, "Img_ScrSpd"), 3);
}

void TestLightingAndPointerPages::pointerStepsReachTheSystemOnlyWithApply() {
    Harness h;
    platform::PointerUpdate system;
    system.write = {10, 500, 3};
    QVERIFY(h.pointer.apply(system).ok());
    h.poll();
    h.click("Btn_Adv");
    h.click("Img_Spd9");
    h.click("lbl_ScrSpd7");
    QCOMPARE(filledCount(h, "Img_Spd"), 9);
    QCOMPARE(filledCount(h, "Img_ScrSpd"), 7);
    QCOMPARE(h.pointer.read(), (platform::PointerValues{10, 500, 3}));

    h.click("Btn_Apply");
    QVERIFY(h.prompts.messages.isEmpty());
    // The untouched double-click scale leaves the user's own 500 ms.
    QCOMPARE(h.pointer.read(), (platform::PointerValues{16, 500, 7}));
    h.click("Img_DbSpd10");
    h.click("Btn_Apply");
    QCOMPARE(h.pointer.read(), (platform::PointerValues{16, 270, 7}));
}

void TestLightingAndPointerPages::confirmAppliesThePointerStepsBeforeClosing() {
    // with a mouse setting changed too -> what the pointer settings hold after Confirm
    for (const bool mouseChange : {true, false}) {
        Harness h;
        platform::PointerUpdate system;
        system.write = {10, 500, 3};
        QVERIFY(h.pointer.apply(system).ok());
        h.poll();
        if (mouseChange) {
            h.window->configuration().setAssignment(0, 4, "09010000");
            h.window->refreshUI();
        }
        h.click("Btn_Adv");
        h.click("Img_Spd9");
        h.click("lbl_DbSpd10");
        QCOMPARE(h.pointer.read(), (platform::PointerValues{10, 500, 3}));
        h.click("Btn_Confirm");
        QVERIFY2(h.prompts.messages.isEmpty(), qPrintable(h.prompts.messages.join('|')));
        QCOMPARE(h.pointer.read(), (platform::PointerValues{16, 270, 3}));
        QVERIFY(!h.window->isVisible());
    }
}

void TestLightingAndPointerPages::unsupportedScalesAreDrawnDisabled() {
    platform::UnsupportedPointerSettingsStore none;
    device::SimulatedMouse mouse(
        device::SimulatedMouse::basicMouse(test::defaultImageOf(Edition::Editor)));
    test::RecordingPrompts prompts;
    shell::MainWindow window(Edition::Editor, test::bundleOf(Edition::Editor), mouse, prompts,
                             &none);
    window.device().setReopenDelay(std::chrono::milliseconds(0));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.device().poll();
    window.pageButtonClicked(pages::Page::Advanced);
    auto* image = window.findChild<QLabel*>("Img_Spd5");
    QVERIFY(image->isVisible());
    QVERIFY(!image->isEnabled());
    QVERIFY(image->graphicsEffect() != nullptr);
    QVERIFY(window.findChild<QWidget*>("lbl_ScrSpd1")->graphicsEffect() != nullptr);
    QTest::mouseClick(image, Qt::LeftButton, {}, image->rect().center());
    QCOMPARE(window.pointerScales().scales().pointerSpeedStep(), 0);
    QVERIFY(image->pixmap().toImage() == window.pixmaps().pixmap("Bar1_D").toImage());
}

void TestLightingAndPointerPages::lightingWithoutSettingsIsDisabledAndCarried() {
    Harness h; // both default images say the mouse has no lighting settings
    h.poll();
    const ImageBytes before = h.storedImage();
    openBreathingPage(h);
    for (const char* name :
         {"Img_Off1", "lbl_Custom", "Img_LEDColMode1", "lbl_csmode1", "cs_Mode2"})
        QVERIFY2(dimmed(h, name), name);
    h.click("lbl_Custom");
    h.click("lbl_Raise8");
    QVERIFY(!h.find<QRadioButton>("rb_Custom")->isChecked());
    QCOMPARE(filledCount(h, "Img_Raise"), 1);
    h.click("Btn_Apply");
    const ImageBytes after = h.storedImage();
    for (std::size_t b : {9, 18, 19, 20, 21, 22, 23, 24, 30})
        QCOMPARE(after[b], before[b]);
}

void TestLightingAndPointerPages::lightingEditsReachTheMouse() {
    // Colour mode 2, the other flag bits set: they must survive.
    Harness h(Edition::Editor, device::SimulatedMouse::basicMouse(litImage(Edition::Editor, 0xEE)));
    h.poll();
    openBreathingPage(h);
    QVERIFY(!dimmed(h, "Img_Off1"));
    QVERIFY(h.find<QRadioButton>("rb_LEDColMode2")->isChecked());
    QVERIFY(!h.find("lbl_csmode1")->isEnabled()); // the swatch waits for colour mode 1

    int asked = 0;
    h.window->lightingPage().setColourDialog([&](QWidget*, const QColor&) -> std::optional<QColor> {
        ++asked;
        return QColor(128, 64, 0);
    });
    h.click("lbl_Custom");
    h.click("Img_Off3");
    h.click("lbl_Raise10");
    h.click("lbl_On10");
    h.click("Img_Fall1");
    h.click("lbl_LEDColMode1");
    QVERIFY(h.find("lbl_csmode1")->isEnabled());
    h.click("lbl_csmode1");
    QCOMPARE(asked, 1);
    QVERIFY(h.find<QRadioButton>("rb_Custom")->isChecked());
    QVERIFY(!h.find<QRadioButton>("rb_Random")->isChecked());
    QCOMPARE(filledCount(h, "Img_Off"), 3);
    QCOMPARE(filledCount(h, "Img_Raise"), 10);
    QCOMPARE(h.find<QLineEdit>("Edt_Mode1R")->text(), QStringLiteral("50"));
    QCOMPARE(h.find<QLineEdit>("Edt_Mode1G")->text(), QStringLiteral("25"));
    QVERIFY(h.find<QLabel>("Img_Custom")->pixmap().toImage() ==
            h.window->pixmaps().pixmap("RdS_E").toImage());

    h.click("Btn_Apply");
    const ImageBytes img = h.storedImage();
    QCOMPARE(img[30], std::uint8_t{2});
    QCOMPARE(img[18], std::uint8_t{50});
    QCOMPARE(img[19], std::uint8_t{23});
    QCOMPARE(img[20], std::uint8_t{225});
    QCOMPARE(img[21], std::uint8_t{0});
    QCOMPARE(img[9], std::uint8_t{0xFE});
    QCOMPARE(img[22], std::uint8_t{50});
    QCOMPARE(img[23], std::uint8_t{25});
    QCOMPARE(img[24], std::uint8_t{0});
    QVERIFY(sectionsValid(img));
    QVERIFY(h.mouse.violations().empty());

    // Colour mode 2 again: the bit goes, the swatch closes.
    h.click("lbl_LEDColMode2");
    QVERIFY(!h.find("lbl_csmode1")->isEnabled());
    h.click("Btn_Apply");
    QCOMPARE(h.storedImage()[9], std::uint8_t{0xEE});
    QVERIFY(sectionsValid(h.storedImage()));
}

void TestLightingAndPointerPages::colourDialogCancelChangesNothing() {
    Harness h(Edition::Editor, device::SimulatedMouse::basicMouse(litImage(Edition::Editor, 0xFE)));
    h.poll();
    openBreathingPage(h);
    QColor offered;
    h.window->lightingPage().setColourDialog([&](QWidget*, const QColor& initial) {
        offered = initial;
        return std::optional<QColor>();
    });
    h.click("lbl_csmode1");
    QCOMPARE(offered, QColor(25, 51, 76)); // 10 %, 20 %, 30 % of 255
    QCOMPARE(h.find<QLineEdit>("Edt_Mode1R")->text(), QStringLiteral("10"));
    const ImageBytes before = h.storedImage();
    h.click("Btn_Apply");
    for (std::size_t b : {9, 22, 23, 24})
        QCOMPARE(h.storedImage()[b], before[b]);
}

void TestLightingAndPointerPages::lightingIgnoresClicksWhileEditingIsOff() {
    Harness h(Edition::Editor, device::SimulatedMouse::basicMouse(litImage(Edition::Editor, 0xFE)));
    h.poll();
    openBreathingPage(h);
    auto& rules = h.window->lightingPage().rules();
    const int rise = rules.step(pages::LightingRules::Bar::Raise);
    const int mode = rules.mode();
    QVERIFY(rise != 5 && mode != 1);
    h.window->disableEditing();
    h.click("lbl_Raise5");
    h.click("lbl_Colorful");
    QCOMPARE(rules.step(pages::LightingRules::Bar::Raise), rise);
    QCOMPARE(rules.mode(), mode);
    QVERIFY(!h.find("lbl_csmode1")->isEnabled());
    h.window->enableEditing();
    h.click("lbl_Raise5");
    QCOMPARE(filledCount(h, "Img_Raise"), 5);
}

void TestLightingAndPointerPages::percentEditsOfTheSecondEdition() {
    Harness h(Edition::EditorS, device::SimulatedMouse::basicMouse(
                                    litImage(Edition::EditorS, 0xFE, {150, 255, 100})));
    h.poll();
    // This edition's layout offers no button for the page; its edits are the colour's way in.
    h.window->pageButtonClicked(pages::Page::Breath);
    QVERIFY(h.window->findChild<QObject*>("cs_Mode1") == nullptr);
    auto* red = h.find<QLineEdit>("Edt_Mode1R");
    auto* green = h.find<QLineEdit>("Edt_Mode1G");
    auto* blue = h.find<QLineEdit>("Edt_Mode1B");
    QVERIFY(red->isVisible() && red->x() + red->width() <= 800);
    QVERIFY(!red->isReadOnly());
    QVERIFY(h.find<QLineEdit>("Edt_Mode2R")->isReadOnly());
    QCOMPARE(red->text(), QStringLiteral("150")); // shown as read, carried unless changed

    green->setFocus();
    green->selectAll();
    QTest::keyClicks(green, "ab-");
    QCOMPARE(green->text(), QStringLiteral("255")); // letters never get in
    blue->setFocus();
    blue->selectAll();
    QTest::keyClicks(blue, "999");
    QCOMPARE(blue->text(), QStringLiteral("100"));
    blue->selectAll();
    QTest::keyClick(blue, Qt::Key_Backspace);
    QCOMPARE(blue->text(), QStringLiteral("0"));
    QTest::keyClicks(blue, "7");
    QCOMPARE(blue->text(), QStringLiteral("7"));

    h.click("Btn_Apply");
    const ImageBytes img = h.storedImage();
    QCOMPARE(img[22], std::uint8_t{150});
    QCOMPARE(img[23], std::uint8_t{255});
    QCOMPARE(img[24], std::uint8_t{7});
    QVERIFY(sectionsValid(img));
}

void TestLightingAndPointerPages::swatchPaintsTheModeOneColourAsRead() {
    // mode-1 percentages as read -> the swatch's colour (every channel its own value)
    const std::pair<std::array<std::uint8_t, 3>, QColor> rows[] = {
        {{10, 20, 30}, QColor(25, 51, 76)},
        {{100, 0, 40}, QColor(255, 0, 102)},
        {{0, 60, 90}, QColor(0, 153, 229)},
    };
    for (const auto& [percent, paint] : rows) {
        Harness h(Edition::Editor,
                  device::SimulatedMouse::basicMouse(litImage(Edition::Editor, 0xFE, percent)));
        h.poll();
        openBreathingPage(h);
        QWidget* swatch = h.find("cs_Mode1");
        QVERIFY(swatch->isVisible());
        const QImage shown = swatch->grab().toImage();
        QCOMPARE(shown.pixelColor(shown.rect().center()), paint);
    }
}

void TestLightingAndPointerPages::percentEditsTakeKeysOnlyInColourModeOne() {
    // colour mode clicked, then "7" typed over the red edit -> red shown and stored
    const std::tuple<const char*, const char*, std::uint8_t> rows[] = {
        {"lbl_LEDColMode2", "150", 150},
        {"lbl_LEDColMode1", "7", 7},
    };
    for (const auto& [colourMode, shown, stored] : rows) {
        Harness h(Edition::EditorS, device::SimulatedMouse::basicMouse(
                                        litImage(Edition::EditorS, 0xFE, {150, 255, 100})));
        h.poll();
        h.window->pageButtonClicked(pages::Page::Breath);
        h.click(colourMode);
        auto* red = h.find<QLineEdit>("Edt_Mode1R");
        red->setFocus();
        red->selectAll();
        QTest::keyClicks(red, "7");
        QCOMPARE(red->text(), QString::fromLatin1(shown));
        h.click("Btn_Apply");
        QCOMPARE(h.storedImage()[image::kMode1Red], stored);
    }
}

QTEST_MAIN(TestLightingAndPointerPages)
#include "LightingAndPointerPagesTest.moc"
