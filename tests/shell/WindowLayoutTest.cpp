// The running window against its layout resources, read here on their own: where every
// control stands, how big it is, whether it shows, and the text size of every caption, in all
// layouts and languages of both editions. Also the edition differences a user meets in the
// window of orlix-editor-s, and Qt's own texts in the current language.
#include "ShellHarness.h"

#include "pages/SectionTitles.h"
#include "shell/Prompts.h"
#include "shell/QtTranslations.h"
#include "widgets/CaptionFont.h"
#include "widgets/SkinImage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QRadioButton>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

using namespace orlix;
using test::Harness;

namespace {

// key (lower case) -> value of one INI-style resource, first occurrence; ASCII keys only.
std::map<QString, QString> readKeys(Edition e, const char* resource) {
    std::map<QString, QString> keys;
    const auto bytes = test::bundleOf(e).find(resource);
    if (!bytes) return keys;
    const QByteArray text(reinterpret_cast<const char*>(bytes->data()),
                          static_cast<qsizetype>(bytes->size()));
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0 || line.startsWith(';') || line.startsWith("//")) continue;
        const QString key = QString::fromLatin1(line.left(eq).trimmed()).toLower();
        if (!keys.count(key)) keys[key] = QString::fromLatin1(line.mid(eq + 1).trimmed());
    }
    return keys;
}

struct LayoutText {
    std::map<QString, QString> placement; // positions and _Enable keys
    std::map<QString, QString> style;     // Size_ and Color_ keys
    std::optional<int> number(const QString& key, bool fromStyle = false) const {
        const auto& m = fromStyle ? style : placement;
        auto it = m.find(key.toLower());
        bool ok = false;
        const int v = it == m.end() ? 0 : it->second.toInt(&ok);
        return ok ? std::optional<int>(v) : std::nullopt;
    }
    bool enabled(const QString& prefix) const { return number(prefix + "_Enable") == 1; }
    QPoint at(const QString& prefix) const {
        return {number(prefix + "_X").value_or(-1), number(prefix + "_Y").value_or(-1)};
    }
};

// What language n of an edition places and sizes: orlix-editor takes both from ORG<n>;
// orlix-editor-s its positions from ORG and its sizes from the language table.
LayoutText layoutFor(Edition e, int n) {
    const QByteArray numbered = "ORG" + QByteArray::number(n);
    const QByteArray lang = "LANG" + QByteArray::number(n);
    if (e == Edition::Editor) {
        auto keys = readKeys(e, numbered.constData());
        return {keys, keys};
    }
    return {readKeys(e, "ORG"), readKeys(e, lang.constData())};
}

const char* const kPageButtons[] = {"Main", "Switch", "Fixed", "Adv",   "Breath", "Save",
                                    "Load", "Lang1",  "Lang2", "Lang3", "Macro"}; // B1..B11

// How much a caption lacks, for the failure message.
QString roomOf(QWidget* w) {
    auto* label = qobject_cast<pages::ButtonLabel*>(w);
    if (label == nullptr) return {};
    const int need =
        QFontMetrics(pages::stretchedCaptionFont(label->font(), pages::kNarrowestStretch))
            .horizontalAdvance(label->text());
    return QStringLiteral(" (%1 px at the narrowest, room %2)")
        .arg(need)
        .arg(label->captionRect().width());
}

QSize pixmapSize(const Harness& h, std::string_view name) {
    return h.window->pixmaps().pixmap(name).size();
}

} // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void everyControlStandsWhereTheLayoutSays_data();
    void everyControlStandsWhereTheLayoutSays();
    void captionsAreDrawnAtTheLayoutsSizes_data();
    void captionsAreDrawnAtTheLayoutsSizes();
    void everyCaptionKeepsItsMarginOnItsPlate_data();
    void everyCaptionKeepsItsMarginOnItsPlate();
    void neededPageButtonsAreReachable_data();
    void neededPageButtonsAreReachable();
    void tooLongKeyLabelsScrollTheRest();
    void editorSSpecialMenuOrder();
    void editorSHasOneLanguageButton();
    void backgroundPressClosesMenusOnlyInTheShapedEdition();
    void messageBoxButtonsFollowTheLanguage();
};

void TestWindowLayout::everyControlStandsWhereTheLayoutSays_data() {
    QTest::addColumn<Edition>("edition");
    QTest::addColumn<int>("language");
    for (int n = 1; n <= 3; ++n)
        QTest::addRow("orlix-editor layout %d", n) << Edition::Editor << n;
    QTest::addRow("orlix-editor-s") << Edition::EditorS << 1;
}

void TestWindowLayout::everyControlStandsWhereTheLayoutSays() {
    QFETCH(Edition, edition);
    QFETCH(int, language);
    // A macro mouse, so that the Macro page button shows wherever the layout enables it.
    Harness h(edition, device::SimulatedMouse::macroMouse(test::defaultImageOf(edition)));
    h.poll();
    h.window->applyLanguage(language);
    const LayoutText l = layoutFor(edition, language);
    auto check = [&](const QString& name, QPoint at, QSize size, bool shown) {
        QWidget* w = h.find(name);
        QVERIFY2(w != nullptr, qPrintable(name));
        QCOMPARE(w->isVisible(), shown);
        if (!shown) return; // a hidden control's position keys are not read
        QCOMPARE(w->mapTo(h.window.get(), QPoint(0, 0)), at);
        QCOMPARE(w->size(), size);
    };

    const char* windowButtons[] = {"Confirm", "Apply", "Reset", "Exit"};
    for (int i = 1; i <= 4; ++i) {
        const QString prefix = QStringLiteral("Btn_A%1").arg(i);
        for (const char* kind : {"Btn_", "Img_"})
            check(QString::fromLatin1(kind) + QString::fromLatin1(windowButtons[i - 1]),
                  l.at(prefix), pixmapSize(h, "BtnS_01"), l.enabled(prefix));
    }
    for (int i = 1; i <= 11; ++i) {
        const QString prefix = QStringLiteral("Btn_B%1").arg(i);
        // Breathing light and Macro where the layout hides them: neededPageButtonsAreReachable.
        if ((i == 5 || i == 11) && !l.enabled(prefix)) continue;
        for (const char* kind : {"Btn_", "Img_"})
            check(QString::fromLatin1(kind) + QString::fromLatin1(kPageButtons[i - 1]),
                  l.at(prefix), QSize(125, 33), l.enabled(prefix));
    }
    // Page 1 is shown after the read: its keys by their _Enable, the other pages hidden.
    QVERIFY(h.find<QRadioButton>("rb_1")->isChecked());
    for (int k = 1; k <= 12; ++k) {
        const QString prefix = QStringLiteral("Key%1").arg(k);
        check(prefix, l.at(prefix), QSize(104, 31), l.enabled(prefix));
        check(QStringLiteral("Img_") + prefix, l.at(prefix), QSize(104, 31), l.enabled(prefix));
    }
    const QSize pageSizes[] = {{472, 379}, {700, 324}, {620, 356}, {600, 346}};
    for (int p = 1; p <= 4; ++p)
        check(QStringLiteral("Img_P%1").arg(p), l.at(QStringLiteral("P%1").arg(p)),
              pageSizes[p - 1], p == 1);
    // The page cover keeps the Advanced page's place and size, shown or not.
    QCOMPARE(h.find("Disable")->geometry(), QRect(l.at("P2"), pageSizes[1]));

    // The status labels and the web button.
    QCOMPARE(h.find("lbl_NoDev")->pos(), l.at("Error_text"));
    QCOMPARE(h.find("lbl_CheckDev")->pos(), l.at("Error_text") + QPoint(0, 50));
    const LayoutText org{readKeys(edition, "ORG"), {}};
    check("Img_Web", org.at("Web"), QSize(264, 21), true);
    check("Btn_Web", org.at("Web"), QSize(264, 21), true);
}

void TestWindowLayout::captionsAreDrawnAtTheLayoutsSizes_data() {
    QTest::addColumn<Edition>("edition");
    QTest::addColumn<int>("language");
    for (Edition e : {Edition::Editor, Edition::EditorS})
        for (int n = 1; n <= 3; ++n)
            QTest::addRow("%s language %d",
                          e == Edition::Editor ? "orlix-editor" : "orlix-editor-s", n)
                << e << n;
}

void TestWindowLayout::captionsAreDrawnAtTheLayoutsSizes() {
    QFETCH(Edition, edition);
    QFETCH(int, language);
    Harness h(edition, device::SimulatedMouse::macroMouse(test::defaultImageOf(edition)));
    h.poll();
    h.window->applyLanguage(language);
    const LayoutText l = layoutFor(edition, language);
    const auto sizeA = l.number("Size_A", true);
    const auto sizeB = l.number("Size_B", true);
    const auto sizeC = l.number("Size_C", true);
    const auto sizeH = l.number("Size_H", true);
    QVERIFY(sizeA && sizeB && sizeC && sizeH);

    auto drawnAt = [&](const QString& name, int size, bool mustFit) {
        QWidget* w = h.find(name);
        QVERIFY2(w != nullptr, qPrintable(name));
        QCOMPARE(pages::captionPointSize(w), qreal(size));
        // A caption of a shown button stands whole on one line, never cut short.
        if (mustFit && w->isVisible())
            QVERIFY2(pages::captionFits(w), qPrintable(name + QStringLiteral(": ") + h.text(name) +
                                                       QStringLiteral(" cut") + roomOf(w)));
    };
    for (const char* b : {"Btn_Confirm", "Btn_Apply", "Btn_Reset", "Btn_Exit"})
        drawnAt(QString::fromLatin1(b), *sizeA, true);
    for (const char* b : kPageButtons)
        drawnAt(QStringLiteral("Btn_") + QString::fromLatin1(b), *sizeB, true);
    // Key labels keep their size too; a long function name scrolls instead (see below).
    for (int k = 1; k <= 12; ++k)
        drawnAt(QStringLiteral("Key%1").arg(k), *sizeC, false);
    for (const char* s : {"lbl_NoDev", "lbl_CheckDev", "lbl_IDError", "lbl_TypeError"})
        drawnAt(QString::fromLatin1(s), *sizeH, false);

    // The same sizes on every function a key label can show.
    auto* key = h.window->assignmentPage().keyLabel(1);
    for (int id = 210; id <= 266; ++id) {
        const std::string text = h.window->languages().text("Str" + std::to_string(id));
        if (text.empty()) continue;
        key->setText(QString::fromStdString(text));
        QCOMPARE(pages::captionPointSize(key), qreal(*sizeC));
    }
}

void TestWindowLayout::everyCaptionKeepsItsMarginOnItsPlate_data() {
    captionsAreDrawnAtTheLayoutsSizes_data();
}

// Every button caption against the plate drawn under it: the plate's body is measured on the
// image itself (its solid run through the middle; key plates above their connector nubs), and
// the caption, at the face it is drawn with, must stand inside it with 4 px to spare on both
// sides, condensed to no less than 85 %, alike along each row. Key labels may be longer: they
// scroll, clipped to the same room. Section titles and status texts fit their labels.
void TestWindowLayout::everyCaptionKeepsItsMarginOnItsPlate() {
    QFETCH(Edition, edition);
    QFETCH(int, language);
    // A macro mouse with lighting: every page button the window can add is shown.
    Harness h(edition, device::SimulatedMouse::macroMouse(test::lightingImageOf(edition)));
    h.poll();
    h.window->applyLanguage(language);
    int measured = 0;
    std::map<int, QList<pages::ButtonLabel*>> rows; // the rows of page buttons, by their y
    QSet<pages::ButtonLabel*> seen;
    // Every page the window can show, each in turn: a page's controls are hidden on the others.
    for (const char* page : {"Btn_Main", "Btn_Adv", "Btn_Breath", "Btn_Macro"}) {
        if (!h.reachable(QString::fromLatin1(page))) continue;
        h.click(QString::fromLatin1(page));
        for (auto* label : h.window->findChildren<pages::ButtonLabel*>()) {
            if (label->text().isEmpty() || label->isHidden() || seen.contains(label)) continue;
            seen.insert(label);
            QString imageName = label->objectName();
            imageName.replace(0, imageName.indexOf(QLatin1Char('_')) + 1, QStringLiteral("Img_"));
            if (label->objectName().startsWith(QLatin1String("Key")) &&
                label->objectName().size() <= 5)
                imageName = QStringLiteral("Img_") + label->objectName();
            auto* plate = label->parentWidget()->findChild<pages::SkinImage*>(
                imageName, Qt::FindDirectChildrenOnly);
            if (plate == nullptr || plate->pixmap().isNull())
                continue; // menu entries and captions on the page's own artwork
            const QImage img = plate->pixmap().toImage();
            const bool key = imageName.startsWith(QLatin1String("Img_Key"));
            const int row = key ? 8 : img.height() / 2;
            int left = img.width() / 2;
            int right = left;
            while (left > 0 && qAlpha(img.pixel(left - 1, row)) >= 100)
                --left;
            while (right < img.width() - 1 && qAlpha(img.pixel(right + 1, row)) >= 100)
                ++right;
            // The caption's room in the plate's own pixels.
            const QRect room = label->captionRect().translated(label->pos() - plate->pos());
            const QString what =
                label->objectName() + QStringLiteral(" \"") + label->text() + QStringLiteral("\"");
            QVERIFY2(room.left() >= left + pages::kCaptionMargin &&
                         room.right() <= right - pages::kCaptionMargin,
                     qPrintable(what + QStringLiteral(": room %1..%2 on a body %3..%4")
                                           .arg(room.left())
                                           .arg(room.right())
                                           .arg(left)
                                           .arg(right)));
            const QFont drawn = label->drawnFont();
            const int stretch =
                drawn.stretch() == QFont::AnyStretch ? pages::kCondensedStretch : drawn.stretch();
            QVERIFY2(stretch >= pages::kNarrowestStretch, qPrintable(what));
            if (!key) {
                const bool deckRow = label->objectName() != QLatin1String("Btn_Web") &&
                                     plate->width() == pixmapSize(h, "SetS_01").width();
                if (deckRow) rows[label->y()] << label;
                QVERIFY2(QFontMetrics(drawn).horizontalAdvance(label->text()) <= room.width(),
                         qPrintable(what + roomOf(label)));
            }
            ++measured;
        }
    }
    QVERIFY(measured >= 12);
    for (const auto& [y, row] : rows)
        for (auto* label : row)
            QCOMPARE(label->drawnFont().stretch(), row.front()->drawnFont().stretch());

    // Section titles and status texts: whole inside their labels.
    for (const auto& t : pages::SectionTitles::kTitles) {
        auto* title = h.find<QLabel>(QString::fromLatin1(t.name));
        QVERIFY2(title != nullptr, t.name);
        if (title->isHidden()) continue;
        QVERIFY2(!title->text().isEmpty(), t.name);
        QVERIFY2(QFontMetrics(title->font()).horizontalAdvance(title->text()) <= title->width(),
                 qPrintable(QString::fromLatin1(t.name) + QStringLiteral(": ") + title->text()));
        QVERIFY2(QFontMetrics(title->font()).height() <= title->height() + 2, t.name);
    }

    // orlix-editor-s's percentage edits say what they hold: its colour over each three, the
    // channel beside each edit. orlix-editor keeps its edits out of sight and has neither.
    for (int c = 1; c <= 2; ++c) {
        auto* title = h.find<QLabel>(QStringLiteral("lbl_TitleEdits%1").arg(c));
        QCOMPARE(title != nullptr, edition == Edition::EditorS);
        if (title == nullptr) continue;
        QCOMPARE(title->text(), h.tr(c == 1 ? "Str125" : "Str126"));
        QVERIFY(QFontMetrics(title->font()).horizontalAdvance(title->text()) <= title->width());
        for (const char channel : {'R', 'G', 'B'}) {
            const QString suffix = QStringLiteral("Mode%1%2").arg(c).arg(QLatin1Char(channel));
            const QWidget* edit = h.find(QStringLiteral("Edt_") + suffix);
            auto* name = h.find<QLabel>(QStringLiteral("lbl_") + suffix);
            QVERIFY2(name != nullptr && edit != nullptr, qPrintable(suffix));
            QCOMPARE(name->text(), QString(QLatin1Char(channel)));
            QVERIFY(name->geometry().right() < edit->x());
            QCOMPARE(name->y(), edit->y());
            QVERIFY(title->geometry().bottom() < edit->y());
            QVERIFY(QRect(0, 0, shell::MainWindow::kWidth, 600).contains(name->geometry()));
        }
    }
}

void TestWindowLayout::neededPageButtonsAreReachable_data() {
    QTest::addColumn<Edition>("edition");
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("macro");
    QTest::addColumn<bool>("lighting");
    for (Edition e : {Edition::Editor, Edition::EditorS})
        for (int n = 1; n <= 3; ++n)
            for (bool macro : {true, false})
                for (bool lighting : {false, true})
                    QTest::addRow("%s lang%d %s%s", e == Edition::Editor ? "editor" : "editor-s", n,
                                  macro ? "macro" : "basic", lighting ? " lighting" : "")
                        << e << n << macro << lighting;
}

void TestWindowLayout::neededPageButtonsAreReachable() {
    QFETCH(Edition, edition);
    QFETCH(int, language);
    QFETCH(bool, macro);
    QFETCH(bool, lighting);
    const ImageBytes image =
        lighting ? test::lightingImageOf(edition) : test::defaultImageOf(edition);
    Harness h(edition, macro ? device::SimulatedMouse::macroMouse(image)
                             : device::SimulatedMouse::basicMouse(image));
    h.window->applyLanguage(language);
    const LayoutText l = layoutFor(edition, language);
    // Start-up: only what the layout shows.
    QCOMPARE(h.visible("Btn_Macro"), l.enabled("Btn_B11"));
    QCOMPARE(h.visible("Btn_Breath"), l.enabled("Btn_B5"));

    h.poll();
    const bool breathShown = l.enabled("Btn_B5") || lighting;
    QCOMPARE(h.reachable("Btn_Macro"), macro);
    QCOMPARE(h.reachable("Btn_Breath"), breathShown);

    // The layout's first row of page, profile and language buttons, from the left.
    QList<int> firstRow;
    int top = 10000;
    for (int i = 1; i <= 11; ++i)
        if (l.enabled(QStringLiteral("Btn_B%1").arg(i)))
            top = std::min(top, l.at(QStringLiteral("Btn_B%1").arg(i)).y());
    for (int i = 1; i <= 11; ++i)
        if (l.enabled(QStringLiteral("Btn_B%1").arg(i)) &&
            l.at(QStringLiteral("Btn_B%1").arg(i)).y() == top)
            firstRow << l.at(QStringLiteral("Btn_B%1").arg(i)).x();
    std::sort(firstRow.begin(), firstRow.end());
    QVERIFY(firstRow.size() >= 2);
    // The drawn plate of a page-button image, in window coordinates, from its middle row.
    const auto plateSpan = [](const pages::SkinImage* img) {
        const QImage pic = img->pixmap().toImage();
        int left = -1, right = -1;
        for (int x = 0; x < pic.width(); ++x)
            if (qAlpha(pic.pixel(x, pic.height() / 2)) > 128) {
                if (left < 0) left = x;
                right = x;
            }
        return std::pair{img->x() + left, img->x() + right};
    };
    // The plates shown in the first row, from the left: the layout's, then the added ones.
    QList<const pages::SkinImage*> plates;
    for (const auto* img : h.window->findChildren<pages::SkinImage*>())
        if (img->isVisible() && img->y() == top && img->size() == QSize(125, 33)) plates << img;
    std::sort(plates.begin(), plates.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    int added = 0;
    for (const auto& [name, key, shown] :
         {std::tuple{"Breath", "Btn_B5", breathShown}, std::tuple{"Macro", "Btn_B11", macro}}) {
        const QString button = QStringLiteral("Btn_") + QString::fromLatin1(name);
        const QString plate = QStringLiteral("Img_") + QString::fromLatin1(name);
        if (!shown) continue;
        if (l.enabled(QString::fromLatin1(key))) {
            QCOMPARE(h.find(button)->pos(), l.at(QString::fromLatin1(key)));
            continue;
        }
        // Next in the first row, after the layout's buttons and any added before it.
        const int at = static_cast<int>(firstRow.size()) + added++;
        QVERIFY(at < plates.size());
        QCOMPARE(plates[at]->objectName(), plate);
        QCOMPARE(h.find(button)->pos(), h.find(plate)->pos());
        QCOMPARE(h.find(button)->size(), QSize(125, 33));
        QVERIFY(h.find(button)->geometry().right() < shell::MainWindow::kWidth);
        // Its neighbours' plate, or a wider one where its edition draws one for the captions.
        const auto own = plateSpan(plates[at]);
        const auto neighbour = plateSpan(h.find<pages::SkinImage>(QStringLiteral("Img_Adv")));
        if (edition == Edition::EditorS)
            QVERIFY(own.second - own.first > neighbour.second - neighbour.first);
        else
            QCOMPARE(h.find<pages::SkinImage>(plate)->pixmap().toImage(),
                     h.find<pages::SkinImage>(QStringLiteral("Img_Adv"))->pixmap().toImage());
    }
    // Every plate of the row keeps the gap the layout's first two keep, added ones included.
    QVERIFY(plates.size() >= 2);
    const int gap = plateSpan(plates[1]).first - plateSpan(plates[0]).second;
    QVERIFY(gap > 0);
    for (int i = 1; i < plates.size(); ++i)
        QVERIFY2(plateSpan(plates[i]).first - plateSpan(plates[i - 1]).second == gap,
                 qPrintable(plates[i]->objectName()));
    // Kept for a look at every combination.
    const QString shots = qEnvironmentVariable("ORLIX_TEST_SCRATCH", QDir::tempPath()) +
                          QStringLiteral("/needed-buttons");
    QDir().mkpath(shots);
    h.window->grab().save(
        shots + QStringLiteral("/%1-lang%2-%3%4.png")
                    .arg(QLatin1String(edition == Edition::Editor ? "editor" : "editor-s"))
                    .arg(language)
                    .arg(QLatin1String(macro ? "macro" : "basic"))
                    .arg(QLatin1String(lighting ? "-lighting" : "")));

    // Through the window: each shown button opens its page.
    if (macro) {
        h.click("Btn_Macro");
        QVERIFY(h.find<QRadioButton>("rb_6")->isChecked());
        QVERIFY(h.visible("Img_P4"));
    }
    if (breathShown) {
        h.click("Btn_Breath");
        QVERIFY(h.find<QRadioButton>("rb_5")->isChecked());
        QVERIFY(h.visible("Img_P3"));
    }
    // A language change keeps them where they belong.
    h.window->applyLanguage(language == 1 ? 2 : 1);
    h.window->applyLanguage(language);
    QCOMPARE(h.reachable("Btn_Macro"), macro);
    QCOMPARE(h.reachable("Btn_Breath"), breathShown);

    // The mouse goes: the no-device state shows the layout's buttons only, as at start-up.
    h.mouse.unplug();
    h.poll();
    h.poll();
    QVERIFY(h.visible("lbl_NoDev"));
    QCOMPARE(h.visible("Btn_Breath"), l.enabled("Btn_B5"));
    if (!l.enabled("Btn_B11")) QVERIFY(!h.visible("Btn_Macro"));
}

void TestWindowLayout::tooLongKeyLabelsScrollTheRest() {
    Harness h;
    h.poll();
    h.click("Btn_Lang2");
    auto& page = h.window->assignmentPage();
    // "LED mode" in Russian does not fit a key label at 11 pt, even in the narrowest face.
    const QString longName = h.tr("Str246");
    page.setCaption(5, longName);
    auto* key5 = page.keyLabel(5);
    QVERIFY(!key5->captionFits());
    QCOMPARE(key5->drawnPointSize(), 11.0);
    h.hover("Key5");
    QVERIFY(key5->scrolling());
    // The marquee brings the hidden end of the name into view, one character a step.
    const QString tail = longName.right(4);
    const int wait = static_cast<int>(longName.size() + 2) * 200 + 1000;
    QTRY_VERIFY_WITH_TIMEOUT(key5->text().startsWith(tail), wait);
    QCOMPARE(key5->drawnPointSize(), 11.0);
    QTest::mouseMove(h.window.get(), QPoint(400, 8));
    QCOMPARE(key5->text(), longName);
    QVERIFY(!key5->scrolling());
}

void TestWindowLayout::editorSSpecialMenuOrder() {
    Harness h(Edition::EditorS);
    h.poll();
    h.click("Key5");
    h.click("Key_Special");
    QWidget* special = h.find("Pnl_Special");
    QVERIFY(special->isVisible());
    // From the top, 24 px apart: AIM Key between Fire Mode and Alternate profile.
    const char* order[] = {"Key_ACPI",    "Key_Fire",       "Key_FireMode", "Key_AIM",
                           "Key_Profile", "Key_ReportRate", "Key_Default",  "Key_LEDMode",
                           "Key_CPI",     "Key_CPII",       "Key_CPID"};
    for (int i = 0; i < 11; ++i) {
        QWidget* entry = h.find(QString::fromLatin1(order[i]));
        QVERIFY2(entry != nullptr, order[i]);
        QCOMPARE(entry->y(), 1 + 24 * i);
    }
    // The default image's data type 0x1D gives the 218 px menu: it ends after CPI.
    QCOMPARE(special->height(), 218);
    QVERIFY(h.reachable("Key_CPI"));
    QVERIFY(!h.reachable("Key_CPII"));
    h.click("Key_AIM");
    QCOMPARE(h.text("Key5"), h.tr("Str241"));
    QCOMPARE(h.window->configuration().assignments[0][4], std::string("05000000"));
}

void TestWindowLayout::editorSHasOneLanguageButton() {
    Harness h(Edition::EditorS);
    QVERIFY(h.reachable("Btn_Lang1"));
    QCOMPARE(h.text("Btn_Lang1"), h.tr("Str011"));
    QVERIFY(!h.visible("Btn_Lang2"));
    QVERIFY(!h.visible("Btn_Lang3"));
    QVERIFY(!h.visible("Img_Lang2"));
    QVERIFY(!h.visible("Img_Lang3"));
    h.click("Btn_Lang1");
    QVERIFY(h.find<QRadioButton>("rb_Lang1")->isChecked());
    QCOMPARE(h.window->languages().current(), 1);
}

void TestWindowLayout::backgroundPressClosesMenusOnlyInTheShapedEdition() {
    for (Edition e : {Edition::Editor, Edition::EditorS}) {
        Harness h(e);
        h.poll();
        h.click("Key5");
        QVERIFY(h.visible("Pnl_Main"));
        // The window's background at the top, away from every control.
        const QPoint grip(400, 8);
        QCOMPARE(h.hitAt(grip), h.find("Img_Base"));
        QTest::mousePress(h.hitAt(grip), Qt::LeftButton, {}, grip);
        QTest::mouseRelease(h.hitAt(grip), Qt::LeftButton, {}, grip);
        QCOMPARE(h.visible("Pnl_Main"), e == Edition::EditorS);
    }
}

void TestWindowLayout::messageBoxButtonsFollowTheLanguage() {
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(dir + QStringLiteral("/qtbase_ru.qm")))
        QSKIP("Qt's Russian translation is not installed (qt6-translations-l10n)");
    Harness h;
    shell::Prompts standard;
    auto okButtonText = [&] {
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            QCOMPARE(box->buttons().size(), 1); // one button, whatever its caption
            QAbstractButton* ok = box->buttons().first();
            text = ok->text();
            Harness::clickOn(ok);
        });
        standard.message(h.window.get(), h.tr("Str022"));
        return text;
    };
    standard.setOkText(QStringLiteral("Fine"));
    QCOMPARE(okButtonText(), QStringLiteral("Fine"));
    standard.setOkText({});
    QCOMPARE(okButtonText(), QStringLiteral("OK")); // Qt's own, English
    // The window captions the prompts it was given; Qt's Russian keeps a Latin "OK", so the
    // caption comes from the table.
    h.click("Btn_Lang2");
    QCOMPARE(h.prompts.okText(), QString::fromUtf8("\xd0\x9e\xd0\x9a")); // Cyrillic "ОК"
    standard.setOkText(h.prompts.okText());
    QCOMPARE(okButtonText(), QString::fromUtf8("\xd0\x9e\xd0\x9a"));
    // Qt's other buttons follow the language too.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"),
             QString::fromUtf8("&\xd0\x94\xd0\xb0"));
    h.click("Btn_Lang1");
    QCOMPARE(h.prompts.okText(), QStringLiteral("OK"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));

    QCOMPARE(shell::QtTranslations::localeFor(Edition::EditorS, 2), QStringLiteral("zh_TW"));
    QCOMPARE(shell::QtTranslations::localeFor(Edition::EditorS, 3), QStringLiteral("zh_CN"));
    QCOMPARE(shell::QtTranslations::localeFor(Edition::Editor, 3), QString());
}

QTEST_MAIN(TestWindowLayout)
#include "WindowLayoutTest.moc"
