// Per-report overhead of the device link and whole transfers, against the simulated mouse.

#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/SimulatedMouse.h"
#include "model/Configuration.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

using namespace orlix;
using namespace orlix::device;

namespace {

std::vector<std::uint8_t> defaultResource() {
    std::ifstream in(std::string(ORLIX_SOURCE_DIR) + "/resources/orlix-editor/OrlixData.bin",
                     std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    if (bytes.size() < 256) throw std::runtime_error("default image missing");
    return bytes;
}

// An identified macro mouse, ready for transfers.
struct Rig {
    explicit Rig(std::chrono::microseconds latency = {})
        : resource(defaultResource()), mouse(settings(resource)), link(mouse),
          config(Edition::Editor), session(link, config) {
        config.startUp(resource, texts);
        session.takeTargetsFromDefaults();
        if (!link.openDevice(0x1BCF, 0x08A6) ||
            session.identify().result != IdentifyResult::Accepted || !session.readAll(texts)) {
            throw std::runtime_error("simulated mouse not accepted");
        }
        mouse.setLatency(latency);
    }
    static SimulatedMouse::Settings settings(const std::vector<std::uint8_t>& bytes) {
        std::array<std::uint8_t, 256> image{};
        std::copy_n(bytes.begin(), image.size(), image.begin());
        return SimulatedMouse::macroMouse(image);
    }

    std::vector<std::uint8_t> resource;
    SimulatedMouse mouse;
    DeviceLink link;
    MapTextSource texts;
    Configuration config;
    DeviceSession session;
};

void CommandReport(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rig.link.sendCommand(0x04, 0x90, 0xE7, 0x00, 0x00));
        rig.link.readDataReport();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 2);
}
BENCHMARK(CommandReport);

void BlockRead1024(benchmark::State& state) {
    Rig rig;
    std::array<std::uint8_t, 1024> buffer{};
    for (auto _ : state) {
        rig.link.readBlock(BlockRead::LongAddress, 0x8000, 1024, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 148);
}
BENCHMARK(BlockRead1024);

void WholeReadMacro(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        const auto out = rig.session.readAll(rig.texts, {}, ReadScope::Everything);
        if (out.reports != reports::kReadMacro) state.SkipWithError("wrong report count");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * reports::kReadMacro));
}
BENCHMARK(WholeReadMacro)->Unit(benchmark::kMillisecond);

void WholeWriteMacro(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        const auto out = rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full);
        if (out.reports != reports::kWriteMacro + reports::kVerifyMacro + 1) {
            state.SkipWithError("wrong report count");
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(
        state.iterations() * (reports::kWriteMacro + reports::kVerifyMacro + 1)));
}
BENCHMARK(WholeWriteMacro)->Unit(benchmark::kMillisecond);

// With 1 ms per report the whole read is dominated by the mouse; the counter says how far
// above reports x 1 ms it comes, in per cent.
void WholeReadMacroAt1ms(benchmark::State& state) {
    Rig rig(std::chrono::milliseconds(1));
    double worst = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto out = rig.session.readAll(rig.texts, {}, ReadScope::Everything);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        const double ideal = static_cast<double>(out.reports); // ms
        worst = std::max(worst, (took.count() - ideal) / ideal * 100.0);
    }
    state.counters["over_ideal_pct"] = worst;
}
BENCHMARK(WholeReadMacroAt1ms)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
