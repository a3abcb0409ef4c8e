// The window's safety net: no write without a backup unless the user agrees, no write of a
// profile that cannot click, and a half-written mouse told with a way back.
#include "ShellHarness.h"
#include "model/Backups.h"
#include "model/ProfileFile.h"

#include <QtTest>

#include <fstream>

using namespace orlix;
using namespace orlix::test;

namespace {

// Each test keeps its backups in a folder of its own. A window starts from empty folders of
// its own, so this is called once the window exists.
std::filesystem::path freshDataHome(const QString& name) {
    const QString data = scratchFolder(name);
    qputenv("XDG_DATA_HOME", data.toUtf8());
    return defaultBackupFolder();
}

// The default image with every checked section's checksum broken, as a write cut short
// after a few pieces can leave it.
ImageBytes everySectionBroken(Edition e) {
    ImageBytes image = defaultImageOf(e);
    for (std::size_t checksum : {26u, 31u, 109u, 254u})
        image[checksum] ^= 0x55;
    return image;
}

// The default image whose button 5 of the main profile is CPI +: a configuration of the
// user's own.
ImageBytes imageWith5AsCpiUp() {
    const Edition e = Edition::Editor;
    const auto texts = appearance::Languages::load(bundleOf(e), traitsOf(e)).languages;
    Configuration c(e);
    c.startUp(*bundleOf(e).find("OrlixData"), texts);
    c.setAssignment(0, 4, "09010000");
    c.assemble(texts, false);
    return c.working;
}

} // namespace

class TestSafetyNet : public QObject {
    Q_OBJECT
private slots:
    void noBackupMeansAQuestionAndNoMeansNothingWritten();
    void aProfileWithoutLeftKeyIsNotWritten();
    void aHalfWrittenMouseIsToldAndRepairedAsChosen();
};

void TestSafetyNet::noBackupMeansAQuestionAndNoMeansNothingWritten() {
    struct Case {
        const char* button;
        bool answer;
    };
    const Case cases[] = {
        {"Btn_Apply", false}, {"Btn_Apply", true}, {"Btn_Reset", false}, {"Btn_Reset", true}};
    for (const Case& c : cases) {
        const QString tag = QString::fromLatin1(c.button) + (c.answer ? " yes" : " no");
        Harness h(Edition::Editor, device::SimulatedMouse::basicMouse(imageWith5AsCpiUp()));
        const auto folder = freshDataHome(QStringLiteral("no-backup"));
        std::filesystem::create_directories(folder.parent_path());
        std::ofstream(folder) << "a file where the folder should be";
        h.poll();
        h.window->configuration().setAssignment(0, 4, "09020000");
        const auto before = h.storedImage();
        const auto reports = h.mouse.reportCount();
        h.prompts.confirmAnswers = {c.answer};
        h.click(QString::fromLatin1(c.button));
        QCOMPARE(h.prompts.questions.size(), 1);
        QVERIFY2(h.prompts.questions[0].startsWith(
                     h.tr("Str106").left(h.tr("Str106").indexOf(QLatin1String("%1")))),
                 qPrintable(tag));
        QVERIFY2(h.prompts.questions[0].contains(QLatin1String("not a folder")), qPrintable(tag));
        QCOMPARE(h.mouse.reportCount() != reports, c.answer);
        QCOMPARE(h.storedImage() != before, c.answer);
    }
}

void TestSafetyNet::aProfileWithoutLeftKeyIsNotWritten() {
    for (int profile : {0, 1}) {
        Harness h;
        freshDataHome(QStringLiteral("clickless"));
        h.poll();
        // As an imported file can hold it: button 1 is Right Key too.
        QVERIFY(h.window->configuration().setAssignment(profile, 0, "01020000"));
        const auto reports = h.mouse.reportCount();
        h.click(QStringLiteral("Btn_Apply"));
        QCOMPARE(h.mouse.reportCount(), reports);
        QCOMPARE(h.prompts.messages.size(), 1);
        QVERIFY(h.prompts.messages[0].contains(h.tr(profile == 0 ? "Str004" : "Str005")));
        QVERIFY(h.prompts.messages[0].contains(h.tr("Str210")));
        QVERIFY(BackupStore(defaultBackupFolder()).list().empty()); // nothing happened
    }
}

void TestSafetyNet::aHalfWrittenMouseIsToldAndRepairedAsChosen() {
    const ImageBytes sound = imageWith5AsCpiUp();
    struct Case {
        const char* name;
        bool backupExists;
        int answer; // -1: cancel
        std::optional<ImageBytes> after;
    };
    const Case cases[] = {
        {"restore", true, 0, sound},
        {"reset", true, 1, defaultImageOf(Edition::Editor)},
        {"reset, no backup", false, 0, defaultImageOf(Edition::Editor)},
        {"cancel", true, -1, std::nullopt},
    };
    for (const Case& c : cases) {
        Harness h(Edition::Editor,
                  device::SimulatedMouse::basicMouse(everySectionBroken(Edition::Editor)));
        const auto folder = freshDataHome(QStringLiteral("half-written"));
        if (c.backupExists) {
            MacroStore none;
            none.fill(0xFF);
            QVERIFY(BackupStore(folder).save(profileBytes(sound, none)));
            // A newer backup of a half-written mouse is not the one to go back to.
            QVERIFY(
                BackupStore(folder).save(profileBytes(everySectionBroken(Edition::Editor), none)));
        }
        const auto broken = h.storedImage();
        h.prompts.chooseAnswers = {c.answer};
        h.poll();
        QTRY_COMPARE(h.prompts.questions.size(), 1);
        QCOMPARE(h.prompts.questions[0], h.tr("Str107"));
        const QStringList offered = c.backupExists ? QStringList{h.tr("Str108"), h.tr("Str002")}
                                                   : QStringList{h.tr("Str002")};
        QCOMPARE(h.prompts.choices[0], offered);
        QTRY_VERIFY2(h.storedImage() == (c.after ? *c.after : broken), c.name);
        QCOMPARE(h.prompts.messages.size(), 0);
        // A mouse that reads sound again asks nothing.
        if (c.after) {
            h.mouse.unplug();
            h.poll();
            h.mouse.plugIn();
            h.poll();
            QTest::qWait(10);
            QCOMPARE(h.prompts.questions.size(), 1);
        }
    }
}

QTEST_MAIN(TestSafetyNet)
#include "SafetyNetTest.moc"
