// A full read and a full write of a macro mouse, once as orlixctl runs them and once through
// the main window, the way the window's commands run them: window locked, loading window up
// and animating, the percentage updated and pending events run while the reports go.
#include "Orlixctl.h"

#include "appearance/EmbeddedResources.h"
#include "appearance/Languages.h"
#include "device/SimulatedMouse.h"
#include "model/Configuration.h"
#include "model/ParameterImage.h"
#include "shell/DeviceController.h"
#include "shell/MainWindow.h"
#include "shell/Prompts.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

using namespace orlix;

std::string scratchFile(const char* name) {
    return QDir::temp()
        .filePath(
            QStringLiteral("orlix-bench-%1-%2").arg(QCoreApplication::applicationPid()).arg(name))
        .toStdString();
}

int orlixctl(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    return orlixctl::run(args, out, err);
}

void OrlixctlReadMacro(benchmark::State& state) {
    const std::string file = scratchFile("read.bin");
    for (auto _ : state) {
        if (orlixctl({"--simulate=macro", "read", "-o", file}) != 0)
            state.SkipWithError("orlixctl read failed");
    }
}
BENCHMARK(OrlixctlReadMacro)->Unit(benchmark::kMillisecond);

void OrlixctlWriteMacro(benchmark::State& state) {
    const std::string file = scratchFile("write.bin");
    if (orlixctl({"--simulate=macro", "read", "-o", file}) != 0)
        state.SkipWithError("orlixctl read failed");
    for (auto _ : state) {
        if (orlixctl({"--simulate=macro", "write", file}) != 0)
            state.SkipWithError("orlixctl write failed");
    }
}
BENCHMARK(OrlixctlWriteMacro)->Unit(benchmark::kMillisecond);

// The sequences alone, on an open link, as both orlixctl and the window run them: the floor
// under both figures above.
struct BareRig {
    BareRig() {
        auto data = *appearance::orlixEditorResources().find("OrlixData");
        texts = appearance::Languages::load(appearance::orlixEditorResources(),
                                            traitsOf(Edition::Editor))
                    .languages;
        config.startUp(data, texts);
        mouse = std::make_unique<device::SimulatedMouse>(
            device::SimulatedMouse::macroMouse(config.defaults));
        link = std::make_unique<device::DeviceLink>(*mouse);
        session = std::make_unique<device::DeviceSession>(*link, config);
        session->takeTargetsFromDefaults();
        ok = link->openDevice(config.targetVendorId(), config.targetProductId()) &&
             session->identify().result == device::IdentifyResult::Accepted;
    }
    appearance::Languages texts;
    Configuration config{Edition::Editor};
    std::unique_ptr<device::SimulatedMouse> mouse;
    std::unique_ptr<device::DeviceLink> link;
    std::unique_ptr<device::DeviceSession> session;
    bool ok = false;
};

// The reports of one iteration, so that a figure says what it moved.
void countReports(benchmark::State& state, const device::SimulatedMouse& mouse,
                  std::uint64_t before) {
    if (state.iterations() > 0)
        state.counters["reports"] = static_cast<double>(mouse.reportCount() - before) /
                                    static_cast<double>(state.iterations());
}

void SessionReadMacro(benchmark::State& state) {
    BareRig rig;
    if (!rig.ok) state.SkipWithError("no mouse");
    const std::uint64_t before = rig.mouse->reportCount();
    for (auto _ : state) {
        if (rig.session->identify().result != device::IdentifyResult::Accepted ||
            !rig.session->readAll(rig.texts, {}, device::ReadScope::Everything))
            state.SkipWithError("read failed");
    }
    countReports(state, *rig.mouse, before);
}
BENCHMARK(SessionReadMacro)->Unit(benchmark::kMillisecond);

void SessionWriteMacro(benchmark::State& state) {
    BareRig rig;
    if (!rig.ok) state.SkipWithError("no mouse");
    // A mouse that was never read is not written over, so the write starts from a read.
    if (rig.ok && !rig.session->readAll(rig.texts)) state.SkipWithError("read failed");
    // Every sector each time: a planned write of what the mouse already holds sends nothing.
    const std::uint64_t before = rig.mouse->reportCount();
    for (auto _ : state) {
        if (!rig.session->writeAll(rig.texts, {}, {}, device::WriteMode::Full))
            state.SkipWithError("write failed");
    }
    countReports(state, *rig.mouse, before);
}
BENCHMARK(SessionWriteMacro)->Unit(benchmark::kMillisecond);

class SilentPrompts : public shell::Prompts {
public:
    void message(QWidget*, const QString&) override {}
};

// A shown main window that has found a macro mouse.
struct WindowRig {
    explicit WindowRig(bool pumpEveryReport) {
        ImageBytes image{};
        auto data = *appearance::orlixEditorResources().find("OrlixData");
        std::copy_n(data.begin(), image.size(), image.begin());
        mouse = std::make_unique<device::SimulatedMouse>(device::SimulatedMouse::macroMouse(image));
        window = std::make_unique<shell::MainWindow>(
            Edition::Editor, appearance::orlixEditorResources(), *mouse, prompts);
        window->device().setReopenDelay(std::chrono::milliseconds(0));
        window->device().setPumpEveryReport(pumpEveryReport);
        window->show();
        QCoreApplication::processEvents();
        window->device().poll();
        ok = window->device().macroDevice();
    }
    SilentPrompts prompts;
    std::unique_ptr<device::SimulatedMouse> mouse;
    std::unique_ptr<shell::MainWindow> window;
    bool ok = false;
};

void WindowReadMacro(benchmark::State& state) {
    WindowRig rig(state.range(0) != 0);
    if (!rig.ok) state.SkipWithError("no mouse in the window");
    for (auto _ : state) {
        rig.window->device().identifyAndRead();
        if (!rig.window->device().linkOpen()) state.SkipWithError("read failed");
    }
}
BENCHMARK(WindowReadMacro)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("pump_every_report")
    ->Unit(benchmark::kMillisecond);

void WindowWriteMacro(benchmark::State& state) {
    WindowRig rig(state.range(0) != 0);
    if (!rig.ok) state.SkipWithError("no mouse in the window");
    // Apply after one change, as a user makes it: the report rate goes back and forth, so
    // each iteration has something to write (an Apply of what the mouse holds sends nothing).
    Configuration& config = rig.window->configuration();
    bool fast = false;
    const std::uint64_t before = rig.mouse->reportCount();
    for (auto _ : state) {
        fast = !fast;
        // After the pages were assembled into the image: its section B, sealed again.
        const auto changeRate = [&] {
            const std::span<std::uint8_t> b =
                std::span(config.working).subspan(image::kSectionBStart, image::kSectionBSize);
            b[image::kReportRate] = *reportRateByte(fast ? 1000 : 500);
            sealSection(b);
        };
        if (!rig.window->device().writeAll(changeRate)) state.SkipWithError("write failed");
    }
    countReports(state, *rig.mouse, before);
}
BENCHMARK(WindowWriteMacro)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("pump_every_report")
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
