// The window driven by key presses only: Tab in reading order, Space and Enter on the skinned
// buttons, the function menus and the macro list by arrows, Esc on menus and dialogs, the focus
// mark, and covers that stop the keyboard as they stop clicks.
#include "ShellHarness.h"

#include "model/Configuration.h"
#include "pages/KeyCombinationDialog.h"
#include "rules/MenuCatalog.h"
#include "shell/DemoMouse.h"
#include "widgets/PageContainer.h"
#include "widgets/SkinStyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyleOption>

#include <algorithm>
#include <map>
#include <memory>

using namespace orlix;
using pages::menuEntries;
using pages::MenuPanel;
using test::Harness;

namespace {

// A key as a person presses it: to whatever has the focus (the window when nothing has).
void press(Harness& h, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : h.window.get(), key, mods);
}

QString focused() {
    QWidget* w = QApplication::focusWidget();
    return w != nullptr ? w->objectName() : QStringLiteral("<none>");
}

// Presses Tab until the focus reaches `name`; false when a whole round does not find it.
bool tabTo(Harness& h, const QString& name) {
    QStringList seen;
    for (int i = 0; i < 200 && focused() != name; ++i) {
        press(h, Qt::Key_Tab);
        seen << focused();
    }
    if (focused() != name) qWarning() << "Tab went" << seen.mid(0, 40);
    return focused() == name;
}

// The offscreen platform leaves the hidden loading window active after a read; a desktop gives
// the activation back to the main window.
bool activate(Harness& h) {
    QApplication::setActiveWindow(h.window.get());
    return QApplication::activeWindow() == h.window.get();
}

int menuIndex(MenuPanel panel, std::string_view control) {
    const auto entries = menuEntries(panel, Edition::Editor);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].control == control) return static_cast<int>(i);
    return -1;
}

std::unique_ptr<Harness> macroHarness() {
    const auto texts =
        appearance::Languages::load(test::bundleOf(Edition::Editor), traitsOf(Edition::Editor))
            .languages;
    auto demo = shell::makeDemoMouse(
        Edition::Editor, *test::bundleOf(Edition::Editor).find("OrlixData"), true, texts);
    auto h = std::make_unique<Harness>(Edition::Editor, demo->settings());
    std::copy(demo->memory().begin(), demo->memory().end(), h->mouse.memory().begin());
    h->poll();
    return h;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void tabWalksEachPageInReadingOrder_data();
    void tabWalksEachPageInReadingOrder();
    void spaceAndEnterPressButtons();
    void coversStopTheKeyboard();
    void functionMenuByArrows();
    void macroListByArrowsOffersNamedMacrosOnly();
    void escapeClosesMenusAndDialogs();
    void focusMarkAndCheckMarksStandOut();
    void noInterfaceAtAllShowsNoDevice();
};

void TestKeyboard::tabWalksEachPageInReadingOrder_data() {
    QTest::addColumn<Edition>("edition");
    QTest::addColumn<QString>("pageButton");
    for (Edition e : {Edition::Editor, Edition::EditorS})
        for (const char* b : {"Btn_Main", "Btn_Adv", "Btn_Breath", "Btn_Macro"})
            QTest::addRow("%s %s", e == Edition::Editor ? "orlix-editor" : "orlix-editor-s", b)
                << e << QString::fromLatin1(b);
}

void TestKeyboard::tabWalksEachPageInReadingOrder() {
    QFETCH(Edition, edition);
    QFETCH(QString, pageButton);
    // A mouse with lighting, so the Breathing-light page is offered too.
    Harness h(edition, device::SimulatedMouse::macroMouse(test::lightingImageOf(edition)));
    h.poll();
    QVERIFY(activate(h));
    auto* button = h.find<pages::ButtonLabel>(pageButton);
    if (button == nullptr || !button->isVisible()) QSKIP("the layout does not show this page");
    QVERIFY(tabTo(h, pageButton));
    press(h, Qt::Key_Space);

    // One round of Tab: every stop is a shown control, in rows from the top, left to right.
    const QString start = focused();
    QList<QWidget*> stops;
    do {
        stops << QApplication::focusWidget();
        press(h, Qt::Key_Tab);
    } while (focused() != start && stops.size() < 300);
    QVERIFY(stops.size() > 10);
    // The round from the web button: the header, the command column, the page, the deck.
    auto pos = [&](QWidget* w) { return w->mapTo(h.window.get(), QPoint(0, 0)); };
    const qsizetype web = stops.indexOf(h.find("Btn_Web"));
    QVERIFY(web >= 0);
    std::rotate(stops.begin(), stops.begin() + web, stops.end());
    QStringList names;
    for (QWidget* w : stops)
        names << w->objectName();
    QCOMPARE(names.mid(1, 4), (QStringList{"Btn_Confirm", "Btn_Apply", "Btn_Reset", "Btn_Exit"}));
    // The page's own stops, in rows from the top, left to right in a row: the controls of the
    // shown page and what they hold (the macro page's commands are window children too).
    auto onShownPage = [&](QWidget* w) {
        for (int n = 1; n <= 4; ++n) {
            const pages::PageContainer& page = h.window->page(n);
            if (!page.isShown()) continue;
            for (const QPointer<QWidget>& c : page.controls())
                if (!c.isNull() && (c.data() == w || c->isAncestorOf(w))) return true;
        }
        return false;
    };
    QList<QWidget*> own;
    for (QWidget* w : stops.mid(5))
        if (onShownPage(w)) own << w;
    QVERIFY(!own.isEmpty());
    QCOMPARE(stops.mid(5, own.size()), own); // the page comes before the deck
    for (qsizetype i = 1; i < own.size(); ++i) {
        QWidget* a = own[i - 1];
        QWidget* b = own[i];
        QVERIFY2(b->isVisible() && b->isEnabled(), qPrintable(b->objectName()));
        const int rowTolerance = std::max(a->height(), b->height()) / 2;
        const int ya = pos(a).y() + a->height() / 2;
        const int yb = pos(b).y() + b->height() / 2;
        const bool sameRow = std::abs(yb - ya) <= rowTolerance;
        QVERIFY2(sameRow ? pos(b).x() >= pos(a).x() : yb > ya,
                 qPrintable(a->objectName() + QStringLiteral(" before ") + b->objectName() +
                            QStringLiteral(" (%1,%2) (%3,%4)")
                                .arg(pos(a).x())
                                .arg(ya)
                                .arg(pos(b).x())
                                .arg(yb)));
    }
    // The commands and the page's own controls are all on the way.
    for (const char* name : {"Btn_Confirm", "Btn_Apply", "Btn_Reset", "Btn_Exit", "Btn_Main"})
        QVERIFY2(stops.contains(h.find(QString::fromLatin1(name))), name);
    const char* ownControl = pageButton == QLatin1String("Btn_Main")     ? "Key1"
                             : pageButton == QLatin1String("Btn_Adv")    ? "lbl_DPI1"
                             : pageButton == QLatin1String("Btn_Breath") ? "lbl_Random"
                                                                         : "Btn_New";
    QVERIFY2(stops.contains(h.find(QString::fromLatin1(ownControl))), ownControl);
}

void TestKeyboard::spaceAndEnterPressButtons() {
    Harness h;
    h.poll();
    QVERIFY(activate(h));
    const struct {
        const char* button;
        Qt::Key key;
        const char* radio;
    } rows[] = {{"Btn_Adv", Qt::Key_Space, "rb_4"},
                {"Btn_Main", Qt::Key_Return, "rb_1"},
                {"Btn_Adv", Qt::Key_Enter, "rb_4"}};
    for (const auto& r : rows) {
        QVERIFY(tabTo(h, QString::fromLatin1(r.button)));
        press(h, r.key);
        QVERIFY2(h.find<QRadioButton>(QString::fromLatin1(r.radio))->isChecked(), r.button);
    }
    // Space on Apply writes, as a click does (given something to write: an unchanged
    // configuration is not sent again).
    h.window->configuration().setAssignment(0, 4, "09010000");
    h.window->refreshUI();
    const auto before = h.mouse.reloads().size();
    QVERIFY(tabTo(h, QStringLiteral("Btn_Apply")));
    press(h, Qt::Key_Space);
    QCOMPARE(h.mouse.reloads().size(), before + 1);
    // The window was locked for the transfer; afterwards the keyboard goes on from Apply.
    QCOMPARE(QApplication::focusWidget(), h.find("Btn_Apply"));
    const ImageBytes stored = h.storedImage();
    const std::size_t at = image::kProfileStart + profileCodeOffset(0, 4);
    QCOMPARE(std::vector<std::uint8_t>(stored.begin() + static_cast<std::ptrdiff_t>(at),
                                       stored.begin() + static_cast<std::ptrdiff_t>(at) + 4),
             (std::vector<std::uint8_t>{0x09, 0x01, 0x00, 0x00}));
    QVERIFY(h.mouse.violations().empty());
}

void TestKeyboard::coversStopTheKeyboard() {
    Harness h;
    h.poll();
    QVERIFY(activate(h));
    QVERIFY(tabTo(h, QStringLiteral("Btn_Adv")));
    h.window->lockWindow();
    press(h, Qt::Key_Space);
    QVERIFY(h.find<QRadioButton>("rb_1")->isChecked());
    h.window->unlockWindow();
    press(h, Qt::Key_Space);
    QVERIFY(h.find<QRadioButton>("rb_4")->isChecked());
}

void TestKeyboard::functionMenuByArrows() {
    Harness h;
    h.poll();
    QVERIFY(activate(h));
    QVERIFY(tabTo(h, QStringLiteral("Key5")));
    press(h, Qt::Key_Return);
    QVERIFY(h.visible("Pnl_Main"));
    const auto entries = menuEntries(MenuPanel::Main, Edition::Editor);
    QCOMPARE(focused(), QString::fromLatin1(entries[0].control.data(), entries[0].control.size()));
    // Up from the first entry wraps to the last shown one; Down comes back.
    press(h, Qt::Key_Up);
    QVERIFY(focused() != QString::fromLatin1(entries[0].control.data(), entries[0].control.size()));
    press(h, Qt::Key_Down);
    for (int i = 0; i < menuIndex(MenuPanel::Main, "Key_Special"); ++i)
        press(h, Qt::Key_Down);
    QCOMPARE(focused(), QStringLiteral("Key_Special"));
    QVERIFY(h.visible("Pnl_Special")); // opened by the focus, as by the pointer
    auto* lit = h.find<pages::ButtonLabel>("Key_Special");
    QCOMPARE(lit->background(), pages::skinColours().accent);
    press(h, Qt::Key_Right);
    const auto special = menuEntries(MenuPanel::Special, Edition::Editor);
    QCOMPARE(focused(), QString::fromLatin1(special[0].control.data(), special[0].control.size()));
    press(h, Qt::Key_Left);
    QCOMPARE(focused(), QStringLiteral("Key_Special"));
    press(h, Qt::Key_Right);
    for (int i = 0; i < menuIndex(MenuPanel::Special, "Key_CPII"); ++i)
        press(h, Qt::Key_Down);
    QCOMPARE(focused(), QStringLiteral("Key_CPII"));
    press(h, Qt::Key_Space);
    QVERIFY(!h.visible("Pnl_Main"));
    QVERIFY(!h.visible("Pnl_Special"));
    QCOMPARE(h.text("Key5"), h.tr("Str247"));
    QCOMPARE(focused(), QStringLiteral("Key5"));
}

void TestKeyboard::macroListByArrowsOffersNamedMacrosOnly() {
    auto h = macroHarness();
    QVERIFY(activate(*h));
    auto* list = h->find<QListWidget>("LB_Name");
    QVERIFY(tabTo(*h, QStringLiteral("Key5")));
    press(*h, Qt::Key_Enter);
    for (int i = 0; i < menuIndex(MenuPanel::Main, "Key_Macro"); ++i)
        press(*h, Qt::Key_Down);
    QCOMPARE(focused(), QStringLiteral("Key_Macro"));
    press(*h, Qt::Key_Right);
    QCOMPARE(focused(), QStringLiteral("LB_Name"));
    QCOMPARE(list->currentRow(), 0);
    press(*h, Qt::Key_Down);
    press(*h, Qt::Key_Return);
    QVERIFY(!list->isVisible());
    QCOMPARE(h->text("Key5"), QStringLiteral("Double click"));
    QCOMPARE(h->window->configuration().assignments[0][4], std::string("10840000"));

    // Rows are the named macros; each keeps its own number.
    const struct {
        QStringList names;
        int row;
        int chosen; // macro number, -1: no such row
    } rows[] = {{{"A", "", "C"}, 1, 2}, {{"", " ", "x", "y"}, 0, 2}, {{"", ""}, 0, -1}};
    QSignalSpy chosen(&h->window->menus(), &pages::AssignmentMenus::macroChosen);
    for (const auto& r : rows) {
        h->window->menus().setMacroNames(r.names);
        qsizetype named = 0;
        for (const QString& n : r.names)
            named += n.trimmed().isEmpty() ? 0 : 1;
        QCOMPARE(list->count(), named);
        chosen.clear();
        if (QListWidgetItem* item = list->item(r.row)) emit list->itemActivated(item);
        QCOMPARE(chosen.isEmpty() ? -1 : chosen.takeFirst().at(1).toInt(), r.chosen);
    }
}

void TestKeyboard::escapeClosesMenusAndDialogs() {
    Harness h;
    h.poll();
    QVERIFY(activate(h));
    QVERIFY(tabTo(h, QStringLiteral("Key5")));
    press(h, Qt::Key_Space);
    press(h, Qt::Key_Right); // from the first entry into its group, the mouse keys
    QVERIFY(h.visible("Pnl_MseKey"));
    press(h, Qt::Key_Escape);
    QVERIFY(!h.window->menus().anyOpen());
    QCOMPARE(focused(), QStringLiteral("Key5"));

    // The key-combination dialog captures Esc, with or without a modifier, as a key a button can
    // send; a second bare Esc in a row closes it.
    auto& dialog = h.window->keyDialog();
    dialog.open(h.window->languages());
    auto* edit = dialog.findChild<QLineEdit*>("Edt_Assembly");
    QTest::keyClick(edit, Qt::Key_Escape, Qt::ControlModifier);
    QVERIFY(dialog.isVisible());
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QCOMPARE(edit->text().endsWith(QStringLiteral("Esc")), true);
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

void TestKeyboard::focusMarkAndCheckMarksStandOut() {
    Harness h;
    h.poll();
    QVERIFY(activate(h));
    // The focused button shows a mark in the accent colour; without the focus it is gone.
    auto* apply = h.find<pages::ButtonLabel>("Btn_Apply");
    auto accentPixels = [&] {
        const QImage img = apply->grab().toImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixelColor(x, y) == pages::skinColours().accent ? 1 : 0;
        return n;
    };
    QVERIFY(tabTo(h, QStringLiteral("Btn_Apply")));
    QVERIFY(accentPixels() > 2 * apply->height());
    press(h, Qt::Key_Tab);
    QCOMPARE(accentPixels(), 0);

    // Check boxes of the key-combination dialog: the tick stands out from its box by 4.5:1.
    auto& dialog = h.window->keyDialog();
    dialog.open(h.window->languages());
    for (const char* name : {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"}) {
        auto* box = dialog.findChild<QCheckBox*>(QString::fromLatin1(name));
        QVERIFY2(box != nullptr, name);
        box->setChecked(true);
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator =
            box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        const QImage img = box->grab(indicator).toImage();
        // The box's fill is its commonest colour; the tick its most distant one.
        std::map<QRgb, int> counts;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ++counts[img.pixel(x, y)];
        const QColor fill =
            QColor::fromRgb(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                return a.second < b.second;
                            })->first);
        double best = 1;
        for (const auto& [rgb, n] : counts)
            best = std::max(best, pages::contrastRatio(QColor::fromRgb(rgb), fill));
        QVERIFY2(fill == pages::skinColours().accent, name);
        QVERIFY2(best >= 4.5, qPrintable(QStringLiteral("%1: %2").arg(name).arg(best)));
    }
}

void TestKeyboard::noInterfaceAtAllShowsNoDevice() {
    Harness h;
    h.mouse.unplug(); // and nothing else: no HID interface on the machine
    QVERIFY(!h.visible("lbl_NoDev"));
    h.poll();
    QVERIFY(h.visible("lbl_NoDev"));
    QCOMPARE(h.text("lbl_NoDev"), h.tr("Str100"));
    QVERIFY(h.window->errorState());
}

QTEST_MAIN(TestKeyboard)
#include "KeyboardTest.moc"
