// The two programs as processes: a second copy raises the first, the screenshot run writes
// every page, bad command lines are refused.
#include "shell/SingleInstance.h"

#include <QDir>
#include <QImage>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

#include <csignal>

class TestPrograms : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aSecondCopyRaisesTheFirstAndEnds();
    void aCopyThatDiedDoesNotBlockTheNext();
    void screenshotRunWritesEveryPage_data();
    void screenshotRunWritesEveryPage();
    void badCommandLinesAreRefused();
    void helpAndVersionNeedNoDisplay_data();
    void helpAndVersionNeedNoDisplay();

private:
    QProcess* start(const QString& program, const QStringList& args);
    bool waitForListener();

    QString runtime_;
    QList<QProcess*> processes_;
};

void TestPrograms::init() {
    // A runtime folder of its own per test, so the copies meet only each other.
    static int number = 0;
    runtime_ = qEnvironmentVariable("ORLIX_TEST_SCRATCH") + QStringLiteral("/rt%1").arg(++number);
    QDir(runtime_).removeRecursively();
    QDir().mkpath(runtime_);
    QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestPrograms::cleanup() {
    for (QProcess* p : processes_) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
        delete p;
    }
    processes_.clear();
}

QProcess* TestPrograms::start(const QString& program, const QStringList& args) {
    auto* p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime_ + QStringLiteral("/config"));
    p->setProcessEnvironment(env);
    p->start(program, args);
    processes_ << p;
    return p;
}

bool TestPrograms::waitForListener() {
    const QString name = QDir(runtime_).filePath(QStringLiteral("orlix-gaming-mouse-v1.0"));
    for (int i = 0; i < 100; ++i) {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(100)) return true;
        QTest::qWait(100);
    }
    return false;
}

void TestPrograms::aSecondCopyRaisesTheFirstAndEnds() {
    QProcess* first = start(QStringLiteral(ORLIX_EDITOR_BINARY), {QStringLiteral("--simulate")});
    QVERIFY(waitForListener());

    // Either edition finds the copy that holds the mouse.
    QProcess* second = start(QStringLiteral(ORLIX_EDITOR_S_BINARY), {QStringLiteral("--simulate")});
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(second->readAllStandardOutput().contains("already running"));
    QCOMPARE(first->state(), QProcess::Running);

    // The first copy answers only after it raised its window.
    orlix::shell::SingleInstance client(
        QDir(runtime_).filePath(QStringLiteral("orlix-gaming-mouse-v1.0")));
    QVERIFY(client.raiseRunningCopy(5000));
}

void TestPrograms::aCopyThatDiedDoesNotBlockTheNext() {
    QProcess* crashed = start(QStringLiteral(ORLIX_EDITOR_BINARY), {QStringLiteral("--simulate")});
    QVERIFY(waitForListener());
    ::kill(static_cast<pid_t>(crashed->processId()), SIGKILL); // leaves its socket file behind
    QVERIFY(crashed->waitForFinished(5000));

    QProcess* next = start(QStringLiteral(ORLIX_EDITOR_BINARY), {QStringLiteral("--simulate")});
    QVERIFY(waitForListener());
    QTest::qWait(200);
    QCOMPARE(next->state(), QProcess::Running);
    QProcess* third = start(QStringLiteral(ORLIX_EDITOR_BINARY), {});
    QVERIFY(third->waitForFinished(10000));
    QVERIFY(third->readAllStandardOutput().contains("already running"));
}

void TestPrograms::screenshotRunWritesEveryPage_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("orlix-editor") << QStringLiteral(ORLIX_EDITOR_BINARY)
                                  << QStringLiteral("orlix-editor-");
    QTest::newRow("orlix-editor-s")
        << QStringLiteral(ORLIX_EDITOR_S_BINARY) << QStringLiteral("orlix-editor-s-");
}

void TestPrograms::screenshotRunWritesEveryPage() {
    QFETCH(QString, program);
    QFETCH(QString, prefix);
    const QString folder = runtime_ + QStringLiteral("/shots");
    QProcess* run = start(
        program, {QStringLiteral("--simulate=macro"), QStringLiteral("--screenshot"), folder});
    QVERIFY(run->waitForFinished(60000));
    QCOMPARE(run->exitCode(), 0);
    for (int lang = 1; lang <= 3; ++lang) {
        for (const char* page :
             {"main", "alternate", "reset-control", "advanced", "breathing-light", "macro",
              "macro-insert", "macro-name", "menu-left", "menu-right", "key-combination"}) {
            const QString file = folder + QLatin1Char('/') + prefix +
                                 QStringLiteral("lang%1-").arg(lang) + QString::fromLatin1(page) +
                                 QStringLiteral(".png");
            const QImage shot(file);
            QVERIFY2(!shot.isNull(), qPrintable(file));
            QCOMPARE(shot.size(), QSize(800, 600));
        }
    }
    for (const char* state : {"startup", "loading", "no-device"}) {
        const QString file = folder + QLatin1Char('/') + prefix + QStringLiteral("lang1-") +
                             QString::fromLatin1(state) + QStringLiteral(".png");
        QVERIFY2(QFile::exists(file), qPrintable(file));
    }
}

void TestPrograms::badCommandLinesAreRefused() {
    QProcess* run =
        start(QStringLiteral(ORLIX_EDITOR_BINARY), {QStringLiteral("--simulate=wireless")});
    QVERIFY(run->waitForFinished(10000));
    QCOMPARE(run->exitCode(), 2);
    QVERIFY(run->readAllStandardError().contains("basic or macro"));
}

void TestPrograms::helpAndVersionNeedNoDisplay_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stream"); // where the text is expected
    QTest::addColumn<QString>("expected");
    const QString editor = QStringLiteral(ORLIX_EDITOR_BINARY);
    const QString editorS = QStringLiteral(ORLIX_EDITOR_S_BINARY);
    QTest::newRow("help") << editor << "--help" << 0 << "out"
                          << "Usage: orlix-editor ";
    QTest::newRow("help-s") << editorS << "--help" << 0 << "out"
                            << "Usage: orlix-editor-s ";
    QTest::newRow("version") << editor << "--version" << 0 << "out"
                             << "orlix-editor 1.";
    QTest::newRow("version-s") << editorS << "--version" << 0 << "out"
                               << "orlix-editor-s 1.";
    QTest::newRow("refused") << editor << "--simulate=usb" << 2 << "err"
                             << "basic or macro";
}

void TestPrograms::helpAndVersionNeedNoDisplay() {
    QFETCH(QString, program);
    QFETCH(QString, option);
    QFETCH(int, exitCode);
    QFETCH(QString, stream);
    QFETCH(QString, expected);
    // No display of any kind and Qt's default platform: making the Qt application would
    // abort here.
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
    p.setProcessEnvironment(env);
    p.start(program, {option});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), exitCode);
    const QByteArray text =
        stream == QLatin1String("out") ? p.readAllStandardOutput() : p.readAllStandardError();
    QVERIFY2(text.startsWith(expected.toUtf8()) || stream == QLatin1String("err"),
             text.constData());
    QVERIFY2(text.contains(expected.toUtf8()), text.constData());
}

QTEST_MAIN(TestPrograms)
#include "ProgramsTest.moc"
