// The mouse pulled out at every report of the window's read, write and reset (a basic mouse)
// and at sampled reports of them (a macro mouse): the window never stays locked, says what
// happened, falls back to the no-device state with the poll running, and the mouse comes
// back when it is plugged in again, holding what was last written in full.
#include "ShellHarness.h"

#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "shell/LoadingWindow.h"

#include <QRadioButton>

#include <algorithm>
#include <set>

using namespace orlix;
using test::Harness;

namespace {

using Memory = std::vector<std::uint8_t>;

constexpr std::size_t kImageAt = 0x6000;
constexpr std::size_t kTableAt = 0x6400;
constexpr std::size_t kBodiesAt = 0x8000;

// Cut points within a sequence of `n` reports: all of them, or the first and last ten and
// every 97th between.
std::vector<std::uint64_t> cutsFor(std::uint64_t n, bool everyReport) {
    std::set<std::uint64_t> cuts;
    for (std::uint64_t i = 0; i < n; ++i) {
        if (everyReport || i < 10 || i + 10 >= n || i % 97 == 0) cuts.insert(i);
    }
    return {cuts.begin(), cuts.end()};
}

enum class Sequence { Read, Write, Reset };

const char* nameOf(Sequence s) {
    switch (s) {
    case Sequence::Read:
        return "read";
    case Sequence::Write:
        return "write";
    case Sequence::Reset:
        return "reset";
    }
    return "?";
}

// One window and one mouse for a whole matrix: each cut starts from the state the recovery
// of the one before left (the mouse read and shown).
class Matrix {
public:
    explicit Matrix(bool macro)
        : macro_(macro),
          h_(Edition::Editor,
             macro ? device::SimulatedMouse::macroMouse(test::defaultImageOf(Edition::Editor))
                   : device::SimulatedMouse::basicMouse(test::defaultImageOf(Edition::Editor))) {
        if (macro_) {
            // One macro, so that a cut write or reset has a macro store to lose.
            h_.mouse.memory()[kBodiesAt] = 0x42;
            h_.mouse.memory()[kTableAt] = 0x00;
            h_.mouse.memory()[kTableAt + 1] = 0x02;
        }
    }

    Harness& h() { return h_; }
    int forcedResets() const { return forcedResets_; }
    int halfWrittenRejected() const { return halfWrittenRejected_; }
    std::uint64_t length(Sequence s) const { return lengths_.at(s); }

    // Uncut runs of each sequence: their lengths and the memory each leaves.
    bool prepare() {
        h_.poll();
        if (!shown()) return false;
        const std::uint64_t read = replugAndRead();
        if (read == 0) return false;
        lengths_[Sequence::Read] = read;
        lengths_[Sequence::Write] = apply(kCodeX);
        snapX_ = memory();
        apply(kCodeY);
        snapY_ = memory();
        lengths_[Sequence::Reset] = clickCounted("Btn_Reset");
        snapDefaults_ = memory();
        return h_.prompts.messages.isEmpty() && snapX_ != snapY_ && snapY_ != snapDefaults_;
    }

    // One cut; the QVERIFYs name the sequence and the report.
    void cutAt(Sequence s, std::uint64_t cut) {
        const QByteArray where = QByteArray(nameOf(s)) + " cut at report " +
                                 QByteArray::number(static_cast<qulonglong>(cut));
        h_.prompts.messages.clear();
        h_.mouse.clearViolations();

        if (s == Sequence::Read && macro_) {
            // The read takes the bodies in use: the macro is put back after a reset emptied
            // it, so that every read is as long as the one measured.
            h_.mouse.memory()[kBodiesAt] = 0x42;
            h_.mouse.memory()[kTableAt] = 0x00;
            h_.mouse.memory()[kTableAt + 1] = 0x02;
        }
        Memory before = memory();
        Memory target = before;
        if (s == Sequence::Read) {
            h_.mouse.unplug();
            h_.poll();
            h_.mouse.plugIn();
            armCut(cut);
            h_.poll();
            // Cut in the identification: nothing is said and the no-device state stays;
            // cut in the read: the read-failed status. Either way no page, nothing locked.
            verifyUnlocked(where);
            const bool readFailed = h_.visible("lbl_ReadError");
            QVERIFY2(readFailed != h_.visible("lbl_NoDev"), where);
            if (readFailed) QCOMPARE(h_.text("lbl_ReadError"), h_.tr("Str025"));
            verifyNoPage(where);
            QVERIFY2(h_.prompts.messages.isEmpty(), where);
            h_.poll(); // the tick after: the mouse is gone
        } else {
            if (s == Sequence::Write) {
                // Write what the mouse does not hold, so that a cut can leave it half-done.
                const bool holdsX = before == snapX_;
                setKey5(holdsX ? kCodeY : kCodeX);
                target = holdsX ? snapY_ : snapX_;
            } else {
                if (before == snapDefaults_) {
                    // A reset over defaults would change nothing: the mouse gets a stored
                    // configuration of its own first (the window's state does not matter
                    // to a reset).
                    std::copy(snapX_.begin(), snapX_.end(), h_.mouse.memory().begin());
                    before = snapX_;
                    // Written behind the window's back: it reads the mouse again, as a
                    // write plans against what it last read.
                    if (replugAndRead() == 0) QFAIL(where + ": not read again");
                }
                target = snapDefaults_;
            }
            armCut(cut);
            h_.click(s == Sequence::Write ? "Btn_Apply" : "Btn_Reset");
            verifyUnlocked(where);
            // Cut at the first block command nothing was written (Str023); later, the
            // mouse may hold part of it (Str024).
            const QStringList said = h_.prompts.messages;
            if (h_.mouse.pluggedIn()) {
                // Fewer reports than the cut: the mouse held all but bytes no macro uses, and
                // the write was done (or had nothing to change) before the cut came.
                QVERIFY2(said.isEmpty(), where + ": " + said.join(QLatin1Char('|')).toUtf8());
                h_.mouse.unplug();
                h_.poll();
            } else {
                QVERIFY2(said == QStringList{h_.tr("Str024")} ||
                             said == QStringList{h_.tr("Str023")},
                         where + ": " + said.join(QLatin1Char('|')).toUtf8());
            }
        }
        verifyNoDeviceState(where);

        // Back in: found, identified, read.
        h_.mouse.unplugAfterReports(std::nullopt);
        h_.mouse.plugIn();
        h_.mouse.clearViolations();
        h_.poll();
        verifyUnlocked(where);
        QVERIFY2(h_.mouse.violations().empty(), where + ": recovery broke the protocol");
        const Memory now = memory();
        if (now != before && now != target) {
            // Half-written. Erased flash has lost the identity code: the identity error
            // state. Otherwise the mouse is read and shown as it is.
            if (h_.visible("lbl_IDError")) {
                ++halfWrittenRejected_;
                verifyNoPage(where);
                QVERIFY2(!h_.window->device().linkOpen(), where);
            } else {
                QVERIFY2(shown(), where + ": neither shown nor rejected");
            }
            // One forced reset in the device layer makes it whole again.
            forceReset(where);
            if (QTest::currentTestFailed()) return;
            h_.mouse.unplug();
            h_.poll();
            h_.mouse.plugIn();
            h_.poll();
        }
        verifyShows(memory(), where);
    }

private:
    static constexpr const char* kCodeX = "09010000"; // key 5: CPI +
    static constexpr const char* kCodeY = "09020000"; // key 5: CPI -

    Memory memory() const { return {h_.mouse.memory().begin(), h_.mouse.memory().end()}; }
    bool shown() const { return h_.visible("Img_P1") && !h_.window->errorState(); }

    void armCut(std::uint64_t cut) { h_.mouse.unplugAfterReports(h_.mouse.reportCount() + cut); }

    std::uint64_t replugAndRead() {
        h_.mouse.unplug();
        h_.poll();
        h_.mouse.plugIn();
        const std::uint64_t start = h_.mouse.reportCount();
        h_.poll();
        return shown() ? h_.mouse.reportCount() - start : 0;
    }

    void setKey5(const char* code) {
        h_.window->configuration().setAssignment(0, 4, code);
        h_.window->refreshUI();
    }

    std::uint64_t clickCounted(const char* button) {
        const std::uint64_t start = h_.mouse.reportCount();
        h_.click(QString::fromLatin1(button));
        return h_.mouse.reportCount() - start;
    }

    std::uint64_t apply(const char* code) {
        setKey5(code);
        return clickCounted("Btn_Apply");
    }

    // What `orlixctl reset --force` does: a link and session of their own, identification
    // forced past a broken identity code, the defaults written.
    void forceReset(const QByteArray& where) {
        ++forcedResets_;
        device::DeviceLink link(h_.mouse);
        Configuration config(Edition::Editor);
        config.startUp(h_.window->defaultResource(), h_.window->languages());
        device::DeviceSession session(link, config);
        session.takeTargetsFromDefaults();
        const device::TargetId target = link.targets()[0];
        QVERIFY2(link.openDevice(target.vendorId, target.productId), where);
        QVERIFY2(session.identify(true).result == device::IdentifyResult::Accepted, where);
        QVERIFY2(session.readAll(h_.window->languages()).result == device::TransferResult::Done,
                 where);
        const auto outcome =
            session.resetToDefaults(h_.window->defaultResource(), h_.window->languages());
        QVERIFY2(outcome.result == device::TransferResult::Done, where);
        link.dropLink();
    }

    void verifyUnlocked(const QByteArray& where) {
        QVERIFY2(!h_.window->locked(), where);
        QVERIFY2(!h_.visible("Disable_All"), where);
        QVERIFY2(!h_.window->loadingWindow().isVisible(), where);
        QVERIFY2(!h_.window->device().transferring(), where);
        QVERIFY2(h_.window->device().devTimer()->isActive(), where);
    }

    void verifyNoPage(const QByteArray& where) {
        for (int n = 1; n <= 4; ++n)
            QVERIFY2(!h_.visible(QStringLiteral("Img_P%1").arg(n)), where);
        QVERIFY2(h_.window->errorState(), where);
    }

    void verifyNoDeviceState(const QByteArray& where) {
        QVERIFY2(h_.visible("lbl_NoDev") && h_.visible("lbl_CheckDev"), where);
        QCOMPARE(h_.text("lbl_NoDev"), h_.tr("Str100"));
        QCOMPARE(h_.text("lbl_CheckDev"), h_.tr("Str101"));
        QVERIFY2(!h_.visible("lbl_ReadError") && !h_.visible("lbl_IDError") &&
                     !h_.visible("lbl_TypeError"),
                 where);
        verifyNoPage(where);
        QVERIFY2(!h_.window->device().linkOpen(), where);
        QVERIFY2(!h_.window->device().macroDevice(), where);
        QVERIFY2(!h_.window->device().canTransfer(), where);
        // The commands say there is no mouse, and send nothing. A press takes a tenth of a
        // second of pressed look, so not every cut tries it.
        if (++noDeviceChecks_ % 10 != 1) return;
        const std::uint64_t reports = h_.mouse.reportCount();
        const qsizetype said = h_.prompts.messages.size();
        h_.click("Btn_Apply");
        QVERIFY2(h_.prompts.messages.size() == said + 1 &&
                     h_.prompts.messages.last() == h_.tr("Str022"),
                 where);
        QVERIFY2(h_.mouse.reportCount() == reports, where);
    }

    // The window shows the mouse, and what it took is what the mouse holds.
    void verifyShows(const Memory& mem, const QByteArray& where) {
        QVERIFY2(shown(), where + ": the mouse was not shown again");
        QVERIFY2(h_.window->device().canTransfer(), where);
        QVERIFY2(!h_.visible("lbl_NoDev") && !h_.visible("lbl_ReadError") &&
                     !h_.visible("lbl_IDError"),
                 where);
        QVERIFY2(h_.window->device().macroDevice() == macro_, where);
        const Configuration& c = h_.window->configuration();
        QVERIFY2(std::equal(c.working.begin(), c.working.end(), mem.begin() + kImageAt), where);
        if (macro_) {
            QVERIFY2(
                std::equal(c.macros.table.begin(), c.macros.table.end(), mem.begin() + kTableAt),
                where);
            // Bodies in use as the mouse holds them; the others were not read and are empty.
            for (std::size_t n = 0; n < c.macros.bodies.size(); ++n) {
                const auto& body = c.macros.bodies[n];
                const bool inUse = c.macros.usableBodyLength(n) != 0;
                QVERIFY2(inUse ? std::equal(body.begin(), body.end(),
                                            mem.begin() + static_cast<std::ptrdiff_t>(
                                                              kBodiesAt + n * body.size()))
                               : std::all_of(body.begin(), body.end(),
                                             [](std::uint8_t b) { return b == 0; }),
                         where);
            }
        }
    }

    bool macro_;
    Harness h_;
    std::map<Sequence, std::uint64_t> lengths_;
    Memory snapX_, snapY_, snapDefaults_;
    int forcedResets_ = 0;
    int noDeviceChecks_ = 0;
    int halfWrittenRejected_ = 0;
};

} // namespace

class TestUnplugMatrix : public QObject {
    Q_OBJECT
private slots:
    void cutAtEveryReport_data();
    void cutAtEveryReport();
};

void TestUnplugMatrix::cutAtEveryReport_data() {
    QTest::addColumn<bool>("macro");
    QTest::addColumn<int>("sequence");
    for (bool macro : {false, true}) {
        for (Sequence s : {Sequence::Read, Sequence::Write, Sequence::Reset}) {
            QTest::addRow("%s %s", macro ? "macro" : "basic", nameOf(s))
                << macro << static_cast<int>(s);
        }
    }
}

void TestUnplugMatrix::cutAtEveryReport() {
    QFETCH(bool, macro);
    QFETCH(int, sequence);
    const auto s = static_cast<Sequence>(sequence);
    Matrix m(macro);
    QVERIFY(m.h().exposed);
    QVERIFY(m.prepare());
    const std::uint64_t n = m.length(s);
    // A basic read is identification plus 38 reports; a macro mouse's image, table and copies
    // 190 more than that, and a write its sectors and their read-back.
    QVERIFY(n > (macro ? device::reports::kReadMacroInUse : device::reports::kReadBasic));
    const auto cuts = cutsFor(n, !macro);
    for (std::uint64_t cut : cuts) {
        m.cutAt(s, cut);
        if (QTest::currentTestFailed()) return;
    }
    qInfo("%s %s: %zu reports, %zu cuts, %d left half-written (%d of them rejected by the "
          "identity test), each mended by one forced reset",
          macro ? "macro" : "basic", nameOf(s), static_cast<std::size_t>(n), cuts.size(),
          m.forcedResets(), m.halfWrittenRejected());
}

QTEST_MAIN(TestUnplugMatrix)
#include "UnplugMatrixTest.moc"
