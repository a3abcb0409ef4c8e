// The Advanced page against the simulated mouse: its controls in every layout and language,
// the resolution, report-rate, fire-key and fire-mode rules through real clicks at window
// coordinates, and the bytes Apply lands in the mouse.
#include "ShellHarness.h"
#include "support/Checksums.h"

#include "appearance/Layout.h"
#include "model/Configuration.h"
#include "model/Hex.h"
#include "pages/AdvancedPage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QRadioButton>

using namespace orlix;
using test::checksumsValid;
using test::Harness;

namespace {

constexpr std::size_t kCurrentLevel = image::kSectionBStart + image::kCurrentCpiLevel;
constexpr std::size_t kReportRate = image::kSectionBStart + image::kReportRate;

// The edition's default image with some change, sealed as the mouse would hold it.
ImageBytes imageWith(Edition e, const std::function<void(ImageBytes&)>& change) {
    ImageBytes img = test::defaultImageOf(e);
    change(img);
    const std::span<std::uint8_t> all(img);
    sealSection(all.subspan(0, image::kSectionASize));
    sealSection(all.subspan(image::kSectionBStart, image::kSectionBSize));
    sealSection(all.subspan(image::kFireKeyStart, image::kFireKeySize));
    sealSection(all.subspan(image::kFireKeyStart + image::kFireKeySize, image::kProfileSize));
    return img;
}

void setCode(ImageBytes& img, int profile, int button, std::string_view code) {
    const auto bytes = fromHex(code);
    std::copy(bytes->begin(), bytes->end(),
              img.begin() + static_cast<std::ptrdiff_t>(image::kFireKeyStart + image::kFireKeySize +
                                                        profileCodeOffset(profile, button)));
}

std::string storedCode(const ImageBytes& img, int profile, int button) {
    const std::size_t at =
        image::kFireKeyStart + image::kFireKeySize + profileCodeOffset(profile, button);
    return toHex(std::span<const std::uint8_t>(img.data() + at, 4));
}

std::array<std::uint8_t, 4> levels(const ImageBytes& img) {
    const std::size_t l = image::kCpiLevel1;
    return {img[l], img[l + 1], img[l + 2], img[l + 3]};
}

// A mouse with this image, found and shown, the Advanced page open.
std::unique_ptr<Harness> advancedOn(Edition e, const ImageBytes& img) {
    auto h = std::make_unique<Harness>(e, device::SimulatedMouse::basicMouse(img));
    h->poll();
    h->click(QStringLiteral("Btn_Adv"));
    return h;
}

// A click where the control stands in the window: whatever lies on top there takes it.
void clickAt(const Harness& h, const QString& name) {
    QWidget* w = h.find(name);
    QVERIFY2(w != nullptr, qPrintable(name));
    QVERIFY2(w->isVisible(), qPrintable(name + QStringLiteral(" is not visible")));
    const QPoint at = w->mapTo(h.window.get(), w->rect().center());
    QTest::mouseClick(h.window->windowHandle(), Qt::LeftButton, {}, at);
}

pages::AdvancedPage& page(const Harness& h) {
    return h.window->advancedPage();
}

QColor colour(const std::optional<appearance::Rgb>& c) {
    return QColor(c->red, c->green, c->blue);
}

// Types into a field after clicking it, then leaves it with Tab.
void typeInto(const Harness& h, const QString& name, const QString& keys, bool leave = true) {
    clickAt(h, name);
    auto* edit = h.find<QLineEdit>(name);
    QTRY_VERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, keys);
    if (leave) QTest::keyClick(edit, Qt::Key_Tab);
}

} // namespace

class TestAdvancedPage : public QObject {
    Q_OBJECT
private slots:
    void controlsArePlacedInEveryLayoutAndLanguage_data();
    void controlsArePlacedInEveryLayoutAndLanguage();
    void resolutionValuesAndCurrentLevelReachTheMouse();
    void twoValuesStayOnAndAFifthIsRefused();
    void levelsWithoutALabelSurviveApply_data();
    void levelsWithoutALabelSurviveApply();
    void reportRateChangeEndsTheWriteWithTheRatePair();
    void fireKeyFieldsAcceptDigitsAndCorrectWhenLeft();
    void fireKeyFieldsAreCorrectedWhenApplyTakesNoFocus();
    void fireModeGroupFollowsTheLastFireModeButton();
    void coveredPageTakesNoClicks();
};

void TestAdvancedPage::controlsArePlacedInEveryLayoutAndLanguage_data() {
    QTest::addColumn<int>("edition");
    QTest::addColumn<int>("language");
    for (int e = 0; e < 2; ++e)
        for (int l = 1; l <= 3; ++l)
            QTest::addRow("%s-lang%d", e == 0 ? "orlix-editor" : "orlix-editor-s", l) << e << l;
}

void TestAdvancedPage::controlsArePlacedInEveryLayoutAndLanguage() {
    QFETCH(int, edition);
    QFETCH(int, language);
    const Edition e = edition == 0 ? Edition::Editor : Edition::EditorS;
    auto h = advancedOn(e, test::defaultImageOf(e));
    h->window->applyLanguage(language);
    const auto& layout = h->window->skin().layout();
    const auto& place = layout.lastPlacement();
    const auto& style = layout.style();
    const auto at = [&](const char* name, int n) {
        return h->find(QString::fromLatin1(name) + QString::number(n))->pos();
    };
    QVERIFY(place.dpi.has_value());
    const auto& config = h->window->configuration();
    for (int n = 1; n <= 8; ++n) {
        const auto bar = appearance::Layout::dpiImage(*place.dpi, n);
        const auto label = appearance::Layout::dpiLabel(*place.dpi, n);
        QCOMPARE(at("Img_DPI", n), QPoint(bar.x, bar.y));
        QCOMPARE(at("lbl_DPI", n), QPoint(label.x, label.y));
        auto* l = page(*h).valueLabel(n);
        QVERIFY(l->isVisible());
        QCOMPARE(l->text(), h->tr(("Str" + std::to_string(299 + n)).c_str()));
        const bool on = config.page.resolution.on[static_cast<std::size_t>(n - 1)];
        QCOMPARE(l->textColour(), on ? colour(style.selected) : colour(style.notSelected));
        QCOMPARE(page(*h).bar(n)->isEnabled(), on);
        // One size for the row, no larger than the layout's, and every caption fits.
        QVERIFY(l->drawnPointSize() <= *style.valueSize);
        QCOMPARE(l->drawnPointSize(), page(*h).valueLabel(1)->drawnPointSize());
        QFont drawn = l->font();
        drawn.setPointSizeF(l->drawnPointSize());
        QVERIFY(QFontMetrics(drawn).horizontalAdvance(l->text()) < l->width());
    }
    for (int n = 1; n <= 2; ++n) {
        const auto& p = place.reportRates[static_cast<std::size_t>(n - 1)];
        QCOMPARE(at("Img_Rep", n), QPoint(p->x, p->y));
        QCOMPARE(at("lbl_Rep", n), QPoint(p->x - 4, p->y - 2));
    }
    for (int n = 1; n <= 4; ++n) {
        const auto& f = place.fireKeyFields[static_cast<std::size_t>(n - 1)];
        const auto& m = place.fireModes[static_cast<std::size_t>(n - 1)];
        QCOMPARE(at("Edt_Repeat", n), QPoint(f->x, f->y));
        QCOMPARE(at("Edt_DelayTime", n), QPoint(f->x, f->y + 22));
        QCOMPARE(at("lbl_FKMode", n), QPoint(m->x, m->y));
        auto* edit = page(*h).repeatField(n);
        QCOMPARE(edit->palette().color(QPalette::Base), colour(style.fieldBack));
        QCOMPARE(edit->palette().color(QPalette::Text), colour(style.notSelected));
        QCOMPARE(edit->alignment() & Qt::AlignRight, Qt::AlignRight);
        QCOMPARE(page(*h).fireModeLabel(n)->text(),
                 h->tr(("Str" + std::to_string(309 + n)).c_str()));
    }
    // The page's controls go with the page.
    h->click(QStringLiteral("Btn_Main"));
    QVERIFY(!page(*h).valueLabel(1)->isVisible());
    QVERIFY(!page(*h).repeatField(1)->isVisible());
}

void TestAdvancedPage::resolutionValuesAndCurrentLevelReachTheMouse() {
    // orlix-editor's defaults: levels 04 06 08 0A (1000 1600 2400 4800), current 0.
    auto h = advancedOn(Edition::Editor, test::defaultImageOf(Edition::Editor));
    const auto& res = h->window->configuration().page.resolution;
    QCOMPARE(res.current, std::optional<int>(2));
    QVERIFY(h->find<QRadioButton>("rb_DPI3")->isChecked());

    clickAt(*h, "lbl_DPI1"); // a fifth value
    QVERIFY(!res.on[0]);
    clickAt(*h, "lbl_DPI3"); // the current one off: the lowest still on, 1600
    QVERIFY(!res.on[2]);
    QCOMPARE(res.current, std::optional<int>(4));
    QVERIFY(!page(*h).bar(3)->isEnabled());
    clickAt(*h, "Img_DPI3"); // a disabled bar
    QCOMPARE(res.current, std::optional<int>(4));
    clickAt(*h, "lbl_DPI1");
    QVERIFY(res.on[0]);
    clickAt(*h, "Img_DPI6"); // 2400, the third value on
    QCOMPARE(res.current, std::optional<int>(5));
    QVERIFY(h->find<QRadioButton>("rb_DPI6")->isChecked());
    QVERIFY(!h->find<QRadioButton>("rb_DPI5")->isChecked());
    QCOMPARE(page(*h).bar(6)->pixmap().toImage(), h->window->pixmaps().pixmap("Bar2_E").toImage());
    QCOMPARE(page(*h).bar(5)->pixmap().toImage(), h->window->pixmaps().pixmap("Bar2_D").toImage());

    h->click(QStringLiteral("Btn_Apply"));
    const ImageBytes stored = h->storedImage();
    QCOMPARE(levels(stored), (std::array<std::uint8_t, 4>{2, 6, 8, 10}));
    QCOMPARE(stored[kCurrentLevel], 2);
    QVERIFY(checksumsValid(stored));
    QCOMPARE(h->mouse.reloads(), std::vector<std::uint8_t>{0x19}); // the rate stayed
    QVERIFY(h->mouse.violations().empty());
}

void TestAdvancedPage::twoValuesStayOnAndAFifthIsRefused() {
    // orlix-editor-s: levels 2, 4 (600, 1000).
    auto img = imageWith(Edition::EditorS, [](ImageBytes& i) {
        i[image::kCpiLevel1] = 2;
        i[image::kCpiLevel1 + 1] = 4;
        i[image::kCpiLevel1 + 2] = 0xFF;
        i[image::kCpiLevel1 + 3] = 0xFF;
        i[kCurrentLevel] = 1;
    });
    auto h = advancedOn(Edition::EditorS, img);
    const auto& res = h->window->configuration().page.resolution;
    clickAt(*h, "lbl_DPI1");
    clickAt(*h, "lbl_DPI3");
    QVERIFY(res.on[0] && res.on[2]);
    QCOMPARE(res.current, std::optional<int>(2));
    clickAt(*h, "lbl_DPI5"); // "1600": index 7 in this edition
    h->click(QStringLiteral("Btn_Apply"));
    QCOMPARE(levels(h->storedImage()), (std::array<std::uint8_t, 4>{2, 4, 7, 0xFF}));
    QCOMPARE(h->storedImage()[kCurrentLevel], 1);
}

void TestAdvancedPage::levelsWithoutALabelSurviveApply_data() {
    QTest::addColumn<int>("edition");
    QTest::newRow("orlix-editor") << 0;
    QTest::newRow("orlix-editor-s") << 1;
}

void TestAdvancedPage::levelsWithoutALabelSurviveApply() {
    QFETCH(int, edition);
    const Edition e = edition == 0 ? Edition::Editor : Edition::EditorS;
    const std::uint8_t unlabelled = e == Edition::Editor ? 7 : 6; // "2000"
    auto img = imageWith(e, [&](ImageBytes& i) {
        i[image::kCpiLevel1] = 0;
        i[image::kCpiLevel1 + 1] = 1;
        i[image::kCpiLevel1 + 2] = unlabelled;
        i[image::kCpiLevel1 + 3] = 11;
        i[kCurrentLevel] = 2;
    });
    auto h = advancedOn(e, img);
    for (int n = 1; n <= 8; ++n)
        QVERIFY(!page(*h).bar(n)->isEnabled());
    clickAt(*h, "lbl_Rep1"); // the rate alone leaves the levels as they are
    h->click(QStringLiteral("Btn_Apply"));
    QCOMPARE(levels(h->storedImage()), (std::array<std::uint8_t, 4>{0, 1, unlabelled, 11}));
    QCOMPARE(h->storedImage()[kCurrentLevel], 2);
    QCOMPARE(h->storedImage()[kReportRate], 1);
    QVERIFY(checksumsValid(h->storedImage()));
}

void TestAdvancedPage::reportRateChangeEndsTheWriteWithTheRatePair() {
    auto h = advancedOn(Edition::Editor, test::defaultImageOf(Edition::Editor)); // 500
    QCOMPARE(h->mouse.runningReportRate(), 2);
    QVERIFY(h->find<QRadioButton>("rb_Rep2")->isChecked());
    clickAt(*h, "lbl_Rep1");
    QVERIFY(h->find<QRadioButton>("rb_Rep1")->isChecked());
    QVERIFY(!h->find<QRadioButton>("rb_Rep2")->isChecked());
    QCOMPARE(h->find<QLabel>("Img_Rep1")->pixmap().toImage(),
             h->window->pixmaps().pixmap("RdS_E").toImage());
    QCOMPARE(h->find<QLabel>("Img_Rep2")->pixmap().toImage(),
             h->window->pixmaps().pixmap("RdS_D").toImage());
    h->click(QStringLiteral("Btn_Apply"));
    QCOMPARE(h->storedImage()[kReportRate], 1);
    QCOMPARE(h->mouse.reloads(), (std::vector<std::uint8_t>{0x03, 0x18}));
    QCOMPARE(h->mouse.runningReportRate(), 1);
    QVERIFY(checksumsValid(h->storedImage()));
    // The same rate again, with something else to write, is an ordinary reload.
    h->window->configuration().setAssignment(0, 4, "09010000");
    h->window->refreshUI();
    h->click(QStringLiteral("Btn_Apply"));
    QCOMPARE(h->mouse.reloads(), (std::vector<std::uint8_t>{0x03, 0x18, 0x19}));
}

void TestAdvancedPage::fireKeyFieldsAcceptDigitsAndCorrectWhenLeft() {
    auto h = advancedOn(Edition::Editor, test::defaultImageOf(Edition::Editor));
    h->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
    auto text = [&](const char* name) { return h->find<QLineEdit>(name)->text(); };
    QCOMPARE(text("Edt_DelayTime3"), QStringLiteral("48"));
    typeInto(*h, "Edt_Repeat1", "a1b");
    QCOMPARE(text("Edt_Repeat1"), QStringLiteral("2"));
    typeInto(*h, "Edt_Repeat1", "20");
    QCOMPARE(text("Edt_Repeat1"), QStringLiteral("15"));
    typeInto(*h, "Edt_Repeat2", "00");
    QCOMPARE(text("Edt_Repeat2"), QStringLiteral("2"));
    typeInto(*h, "Edt_Repeat3", "123"); // two digits at most
    QCOMPARE(text("Edt_Repeat3"), QStringLiteral("12"));
    typeInto(*h, "Edt_DelayTime1", "2500");
    QCOMPARE(text("Edt_DelayTime1"), QStringLiteral("2000"));
    typeInto(*h, "Edt_DelayTime2", "x300");
    QCOMPARE(text("Edt_DelayTime2"), QStringLiteral("300"));

    h->click(QStringLiteral("Btn_Apply"));
    const ImageBytes s = h->storedImage();
    const std::array<std::uint8_t, 16> expected{0x06, 0x1F, 0x07, 0xD0, 0x06, 0x12, 0x01, 0x2C,
                                                0x06, 0x1C, 0x00, 0x30, 0x06, 0x12, 0x00, 0x40};
    QVERIFY(std::equal(expected.begin(), expected.end(), s.begin() + image::kFireKeyStart));
    QVERIFY(checksumsValid(s));
}

void TestAdvancedPage::fireKeyFieldsAreCorrectedWhenApplyTakesNoFocus() {
    auto h = advancedOn(Edition::Editor, test::defaultImageOf(Edition::Editor));
    h->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
    typeInto(*h, "Edt_Repeat4", "99", false);
    typeInto(*h, "Edt_DelayTime4", "9999", false);
    QVERIFY(h->find<QLineEdit>("Edt_DelayTime4")->hasFocus());
    h->click(QStringLiteral("Btn_Apply")); // the field keeps the focus
    const ImageBytes s = h->storedImage();
    QCOMPARE(s[93 + 12 + 1], 0x1F);
    QCOMPARE(s[93 + 12 + 2], 0x07);
    QCOMPARE(s[93 + 12 + 3], 0xD0);
    QVERIFY(checksumsValid(s));
}

void TestAdvancedPage::fireModeGroupFollowsTheLastFireModeButton() {
    auto img = imageWith(Edition::Editor, [](ImageBytes& i) {
        setCode(i, 0, 4, "0F010200");
        setCode(i, 1, 7, "0F030000");
    });
    auto h = advancedOn(Edition::Editor, img);
    const auto& group = h->window->configuration().page.fire.modeSelected;
    QCOMPARE(group, (std::array<bool, 4>{false, false, true, false}));
    const auto& style = h->window->skin().layout().style();
    QCOMPARE(page(*h).fireModeLabel(3)->textColour(), colour(style.selected));
    QCOMPARE(page(*h).fireModeLabel(1)->textColour(), colour(style.notSelected));
    clickAt(*h, "lbl_FKMode3"); // the last one stays
    QCOMPARE(group, (std::array<bool, 4>{false, false, true, false}));
    clickAt(*h, "lbl_FKMode1");
    QCOMPARE(page(*h).fireModeLabel(1)->textColour(), colour(style.selected));
    h->click(QStringLiteral("Btn_Apply"));
    QCOMPARE(storedCode(h->storedImage(), 0, 4), std::string("0F010300"));
    QCOMPARE(storedCode(h->storedImage(), 1, 7), std::string("0F010300"));
    QVERIFY(checksumsValid(h->storedImage()));
}

void TestAdvancedPage::coveredPageTakesNoClicks() {
    auto h = advancedOn(Edition::Editor, test::defaultImageOf(Edition::Editor));
    const auto before = h->window->configuration().page;
    h->window->disableEditing(); // the page cover is up
    clickAt(*h, "lbl_DPI5");
    clickAt(*h, "Img_DPI8");
    clickAt(*h, "lbl_Rep1");
    QCOMPARE(h->window->configuration().page.resolution.on, before.resolution.on);
    QCOMPARE(h->window->configuration().page.resolution.current, before.resolution.current);
    QCOMPARE(h->window->configuration().page.resolution.reportRate, before.resolution.reportRate);
    QVERIFY(page(*h).repeatField(1)->isReadOnly());
    h->window->enableEditing();
    QVERIFY(!page(*h).repeatField(1)->isReadOnly());
    h->window->lockWindow(); // a transfer runs
    QVERIFY(page(*h).delayField(2)->isReadOnly());
    clickAt(*h, "lbl_DPI5");
    QCOMPARE(h->window->configuration().page.resolution.on, before.resolution.on);
    h->window->unlockWindow();
    clickAt(*h, "lbl_DPI5");
    QVERIFY(!h->window->configuration().page.resolution.on[4]);
}

QTEST_MAIN(TestAdvancedPage)
#include "AdvancedPageTest.moc"
