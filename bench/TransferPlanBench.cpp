// The operations a user runs, as planned transfers and as whole-memory transfers, against the
// simulated macro mouse: reports each one moves and its wall time, at a chosen latency per
// report, against the floor of reports x latency.

#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/SimulatedMouse.h"
#include "model/Configuration.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

using namespace orlix;
using namespace orlix::device;

namespace {

enum class Operation {
    Connect2,       // the window finds a mouse holding 2 macros
    Connect32,      // ... holding 32 macros of 1024 bytes
    SetRate,        // orlixctl set rate 1000, a whole run
    ApplyOneButton, // the window's Apply after one button change
    MacroSet,       // orlixctl macro set N FILE, a whole run
    WriteUnchanged, // orlixctl write of what the mouse holds, a whole run
    WriteAll,       // a write that differs everywhere
};
constexpr std::array<const char*, 7> kNames{
    "connect_2_macros", "connect_32_macros", "set_rate_1000",   "apply_one_button",
    "macro_set",        "write_unchanged",   "write_everything"};

std::vector<std::uint8_t> defaultResource() {
    std::ifstream in(std::string(ORLIX_SOURCE_DIR) + "/resources/orlix-editor/OrlixData.bin",
                     std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    if (bytes.size() < 256) throw std::runtime_error("default image missing");
    return bytes;
}

SimulatedMouse::Settings macroMouse(const std::vector<std::uint8_t>& resource) {
    std::array<std::uint8_t, 256> image{};
    std::copy_n(resource.begin(), image.size(), image.begin());
    return SimulatedMouse::macroMouse(image);
}

struct Program {
    explicit Program(const std::vector<std::uint8_t>& resource)
        : mouse(macroMouse(resource)), link(mouse), config(Edition::Editor), session(link, config) {
        config.startUp(resource, texts);
        session.takeTargetsFromDefaults();
    }
    void connect(ReadScope scope) {
        if (!link.openDevice(link.targets()[0].vendorId, link.targets()[0].productId) ||
            session.identify().result != IdentifyResult::Accepted ||
            !session.readAll(texts, {}, scope))
            throw std::runtime_error("simulated mouse not read");
    }
    SimulatedMouse mouse;
    DeviceLink link;
    MapTextSource texts;
    Configuration config;
    DeviceSession session;
};

// A mouse as the operation finds it: macros in use, and an image this program wrote.
void prepare(Program& p, Operation op) {
    const int macros = op == Operation::Connect2 ? 2 : op == Operation::Connect32 ? 32 : 0;
    for (int n = 0; n < macros; ++n) {
        p.mouse.memory()[0x6400 + 32 * static_cast<std::size_t>(n)] = 0x04; // 1024 bytes
        p.mouse.memory()[0x6401 + 32 * static_cast<std::size_t>(n)] = 0x00;
    }
}

// Runs `op` once; the reports it moved.
std::uint64_t runOnce(Program& p, Operation op, bool planned, std::chrono::microseconds latency,
                      double& ms) {
    const ReadScope scope = planned ? ReadScope::InUse : ReadScope::Everything;
    const WriteMode mode = planned ? WriteMode::Planned : WriteMode::Full;
    const bool writeOnly = op == Operation::ApplyOneButton || op == Operation::WriteAll;
    if (writeOnly) p.connect(scope);
    p.mouse.setLatency(latency);
    const std::uint64_t before = p.mouse.reportCount();
    const auto start = std::chrono::steady_clock::now();
    if (!writeOnly) p.connect(scope);
    TransferOutcome out;
    switch (op) {
    case Operation::Connect2:
    case Operation::Connect32:
        break;
    case Operation::SetRate:
        p.config.page.resolution.reportRate = 1000;
        out = p.session.writeAll(p.texts, {}, {}, mode);
        break;
    case Operation::ApplyOneButton:
        p.config.setAssignment(0, 4, "09010000");
        out = p.session.writeAll(p.texts, {}, {}, mode);
        break;
    case Operation::MacroSet:
        p.config.macros.bodies[2][0] = 0xA1;
        p.config.macros.setBodyLength(2, 2);
        out = p.session.writeAll(p.texts, {}, {}, mode);
        break;
    case Operation::WriteUnchanged:
        out = p.session.writeAll(p.texts, {}, {}, mode);
        break;
    case Operation::WriteAll: {
        MemoryContents target;
        target.image = p.config.working;
        target.image[200] = static_cast<std::uint8_t>(~target.image[200]);
        for (std::size_t n = 0; n < kMacroCount; ++n) {
            target.macros.bodies[n].fill(0x5A);
            target.macros.setBodyLength(n, kMacroBodySize);
        }
        target.sectionB = p.config.sections.b;
        target.userBreath = p.config.sections.userBreath;
        target.userBreath[0] = static_cast<std::uint8_t>(~target.userBreath[0]);
        out = p.session.writeContents(target, {}, mode);
        break;
    }
    }
    ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!out) throw std::runtime_error("the write failed");
    return p.mouse.reportCount() - before;
}

// Arguments: the operation, planned (1) or whole-memory (0), microseconds per report.
void Operations(benchmark::State& state) {
    const auto op = static_cast<Operation>(state.range(0));
    const bool planned = state.range(1) != 0;
    const std::chrono::microseconds latency(state.range(2));
    const auto resource = defaultResource();
    std::uint64_t reports = 0;
    double worstMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Program program(resource);
        if (op == Operation::WriteUnchanged) {
            // A mouse this program wrote before: its image is the assembled one.
            program.connect(ReadScope::InUse);
            program.session.writeAll(program.texts);
            Program next(resource);
            std::copy(program.mouse.memory().begin(), program.mouse.memory().end(),
                      next.mouse.memory().begin());
            state.ResumeTiming();
            double ms = 0;
            reports = runOnce(next, op, planned, latency, ms);
            worstMs = std::max(worstMs, ms);
            continue;
        }
        prepare(program, op);
        state.ResumeTiming();
        double ms = 0;
        reports = runOnce(program, op, planned, latency, ms);
        worstMs = std::max(worstMs, ms);
    }
    const double floorMs =
        static_cast<double>(reports) * static_cast<double>(latency.count()) / 1000.0;
    state.SetLabel(std::string(kNames[static_cast<std::size_t>(op)]) +
                   (planned ? " planned" : " whole"));
    state.counters["reports"] = static_cast<double>(reports);
    state.counters["floor_ms"] = floorMs;
    state.counters["worst_ms"] = worstMs;
    if (floorMs > 0) state.counters["over_floor_pct"] = (worstMs - floorMs) / floorMs * 100.0;
}

void operationArgs(benchmark::internal::Benchmark* b, int latencyMicros) {
    for (int op = 0; op < static_cast<int>(kNames.size()); ++op)
        for (int planned : {1, 0})
            b->Args({op, planned, latencyMicros});
}

BENCHMARK(Operations)
    ->Apply([](benchmark::internal::Benchmark* b) { operationArgs(b, 0); })
    ->Unit(benchmark::kMillisecond);
// At the real mouse's pace of about one report per millisecond; one run each.
BENCHMARK(Operations)
    ->Apply([](benchmark::internal::Benchmark* b) { operationArgs(b, 1000); })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
