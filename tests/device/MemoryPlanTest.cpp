// Planned writes: they leave on the mouse what a whole write leaves, touch no sector they do
// not name, end verified or interrupted whatever report fails, and move the counted reports.
#include "DeviceTestSupport.h"

#include "device/MemoryPlan.h"

#include <gtest/gtest.h>

#include <random>

using namespace orlix;
using namespace orlix::device;
using namespace orlix::device::testing;

namespace {

using Kind = SimulatedMouse::Kind;

struct EditionCase {
    const char* folder;
    Edition edition;
};
constexpr EditionCase kEditions[] = {{"orlix-editor", Edition::Editor},
                                     {"orlix-editor-s", Edition::EditorS}};

std::unique_ptr<Rig> rigFor(Kind kind, const EditionCase& e) {
    const auto resource = defaultResource(e.folder);
    std::array<std::uint8_t, 256> image{};
    std::copy_n(resource.begin(), image.size(), image.begin());
    return std::make_unique<Rig>(kind == Kind::Macro ? SimulatedMouse::macroMouse(image)
                                                     : SimulatedMouse::basicMouse(image),
                                 resource, e.edition);
}

// What the mouse's memory holds, read straight from the simulated memory.
MemoryContents contentsOf(const SimulatedMouse& mouse) {
    MemoryContents c;
    for (const MemoryBlock& b : memory::readOrder()) {
        const auto to = c.bytes(b);
        std::copy_n(mouse.memory().begin() + b.address, b.length, to.begin());
    }
    c.bodyKnown.set();
    return c;
}

// The areas a whole write leaves for the program: image, table, copies and every body in use.
std::vector<MemoryBlock> usedBlocks(const MemoryContents& target, bool macro) {
    std::vector<MemoryBlock> used{memory::readOrder().front()};
    if (!macro) return used;
    for (const MemoryBlock& b : memory::readOrder().subspan(1)) {
        const bool body = b.address >= kMacroBodyAddress;
        if (!body ||
            target.macros.usableBodyLength((b.address - kMacroBodyAddress) / kMacroBodyStride) != 0)
            used.push_back(b);
    }
    return used;
}

void expectUsedBytes(const SimulatedMouse& mouse, const MemoryContents& target, bool macro) {
    for (const MemoryBlock& b : usedBlocks(target, macro)) {
        const auto want = target.bytes(b);
        const auto got = mouse.memory().subspan(b.address, b.length);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), got.begin(), got.end()))
            << "block at " << std::hex << b.address;
    }
}

// A random memory for the mouse: any image that keeps the identity code, table entries
// empty, in use and out of range, bodies and copies of any bytes.
void randomMemory(SimulatedMouse& mouse, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    auto m = mouse.memory();
    const std::array<std::uint8_t, 2> id{m[protocol::kImageAddress + 83],
                                         m[protocol::kImageAddress + 84]};
    for (std::size_t i = protocol::kImageAddress; i < protocol::kImageAddress + kImageSize; ++i)
        m[i] = static_cast<std::uint8_t>(byte(rng));
    m[protocol::kImageAddress + 83] = id[0];
    m[protocol::kImageAddress + 84] = id[1];
    if (mouse.settings().kind == Kind::Basic) return;
    for (std::size_t i = kMacroTableAddress; i < kMacroTableAddress + kMacroTableSize; ++i)
        m[i] = static_cast<std::uint8_t>(byte(rng));
    for (std::size_t n = 0; n < kMacroCount; ++n) {
        const int pick = byte(rng) % 10;
        const int length = pick < 4 ? 0 : pick < 9 ? 1 + byte(rng) * 4 : 1025 + byte(rng);
        m[kMacroTableAddress + kMacroEntrySize * n + kMacroEntryBodyLength] =
            static_cast<std::uint8_t>(length >> 8);
        m[kMacroTableAddress + kMacroEntrySize * n + kMacroEntryBodyLength + 1] =
            static_cast<std::uint8_t>(length & 0xFF);
    }
    for (std::size_t i = protocol::kSectionBCopyAddress;
         i < protocol::kUserBreathCopyAddress + protocol::kUserBreathCopyLength; ++i)
        m[i] = static_cast<std::uint8_t>(byte(rng));
    for (std::size_t i = kMacroBodyAddress; i < 0x10000; ++i)
        m[i] = static_cast<std::uint8_t>(byte(rng));
}

// What is to be written: the mouse's contents with a few bytes changed (sometimes none).
MemoryContents randomTarget(MemoryContents c, bool macro, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    const int changes = std::array{0, 1, 1, 2, 3, 8}[static_cast<std::size_t>(byte(rng) % 6)];
    for (int k = 0; k < changes; ++k) {
        const int area = macro ? byte(rng) % 5 : 0;
        const auto value = static_cast<std::uint8_t>(byte(rng));
        const auto n = static_cast<std::size_t>(byte(rng) % 32);
        switch (area) {
        case 0:
            c.image[static_cast<std::size_t>(byte(rng))] = value;
            break;
        case 1:
            c.macros.table[32 * n + static_cast<std::size_t>(byte(rng) % 32)] = value;
            break;
        case 2:
            c.macros.setBodyLength(n, static_cast<std::uint16_t>(byte(rng) % 2 ? 0 : 1 + value));
            break;
        case 3:
            c.macros.bodies[n][static_cast<std::size_t>(byte(rng)) * 4] = value;
            break;
        default:
            c.sectionB[static_cast<std::size_t>(byte(rng) % 5)] = value;
            break;
        }
    }
    return c;
}

std::vector<std::uint8_t> memoryCopy(const SimulatedMouse& mouse) {
    return {mouse.memory().begin(), mouse.memory().end()};
}

} // namespace

TEST(PlannedWrite, LeavesWhatAWholeWriteLeavesAndNoOtherSector) {
    std::mt19937 rng(20261209);
    for (Kind kind : {Kind::Macro, Kind::Basic}) {
        const bool macro = kind == Kind::Macro;
        for (const auto& e : kEditions) {
            SCOPED_TRACE(std::string(e.folder) + (macro ? " macro" : " basic"));
            for (int pair = 0; pair < (macro ? 400 : 600); ++pair) {
                SCOPED_TRACE(pair);
                auto rig = rigFor(kind, e);
                randomMemory(rig->mouse, rng);
                const auto before = memoryCopy(rig->mouse);
                const MemoryContents held = contentsOf(rig->mouse);
                const MemoryContents target = randomTarget(held, macro, rng);
                rig->openIdentifyRead();
                const std::size_t erasesBefore = rig->mouse.erasedSectors().size();
                const auto out = rig->session.writeContents(target);
                ASSERT_EQ(out.result, TransferResult::Done);
                ASSERT_TRUE(rig->mouse.violations().empty()) << rig->mouse.violations().front();
                EXPECT_EQ(out.attempts, out.nothingToChange ? 0 : 1);
                expectUsedBytes(rig->mouse, target, macro);
                // Untouched: every sector the plan did not erase; each erased at most once.
                const auto after = memoryCopy(rig->mouse);
                for (std::uint32_t s = 0x60; s <= 0xF0; s += 0x10) {
                    const auto sector = static_cast<std::uint8_t>(s);
                    const auto erases = rig->mouse.eraseCount(sector);
                    ASSERT_LE(erases, erasesBefore == 0 ? 1u : 2u);
                    if (erases != 0 || !macro) continue;
                    EXPECT_TRUE(std::equal(before.begin() + s * 256,
                                           before.begin() + s * 256 + protocol::kSectorSize,
                                           after.begin() + s * 256));
                }
                if (!macro) {
                    EXPECT_TRUE(std::equal(before.begin(), before.begin() + protocol::kImageAddress,
                                           after.begin()));
                    EXPECT_TRUE(std::equal(before.begin() + protocol::kImageAddress + kImageSize,
                                           before.end(),
                                           after.begin() + protocol::kImageAddress + kImageSize));
                }
                const bool same = std::all_of(
                    memory::readOrder().begin(), memory::readOrder().end(), [&](auto& b) {
                        const auto x = held.bytes(b);
                        const auto y = target.bytes(b);
                        return !macro && b.address != protocol::kImageAddress
                                   ? true
                                   : std::equal(x.begin(), x.end(), y.begin(), y.end());
                    });
                // One that changes nothing the mouse is known to hold sends nothing at all.
                if (same) {
                    EXPECT_TRUE(out.nothingToChange);
                }
                if (out.nothingToChange) {
                    EXPECT_EQ(before, after);
                    EXPECT_EQ(out.reports, 0u);
                }
                if (pair % 16 != 0) continue;
                // The same pair written in full leaves the same bytes where the program looks.
                auto whole = rigFor(kind, e);
                std::copy(before.begin(), before.end(), whole->mouse.memory().begin());
                whole->openIdentifyRead();
                ASSERT_TRUE(whole->session.writeContents(target, {}, WriteMode::Full));
                for (const MemoryBlock& b : usedBlocks(target, macro)) {
                    EXPECT_TRUE(std::equal(after.begin() + b.address,
                                           after.begin() + b.address + b.length,
                                           whole->mouse.memory().begin() + b.address));
                }
            }
        }
    }
}

namespace {

// What the session was to write, from the configuration it wrote.
MemoryContents writtenTarget(const Rig& rig) {
    MemoryContents t;
    t.image = rig.config.working;
    t.macros = rig.config.macros;
    t.sectionB = rig.config.sections.b;
    t.userBreath = rig.config.sections.userBreath;
    return t;
}

// A program start against the mouse left in `memory`, read and with one button changed.
std::unique_ptr<Rig> changedRig(Kind kind, const std::vector<std::uint8_t>& memory) {
    auto rig = rigFor(kind, kEditions[0]);
    std::copy(memory.begin(), memory.end(), rig->mouse.memory().begin());
    rig->openIdentifyRead();
    EXPECT_TRUE(rig->config.setAssignment(0, 4, "09010000"));
    return rig;
}

} // namespace

TEST(PlannedWrite, EveryLostReportOrUnplugEndsVerifiedOrInterrupted) {
    for (Kind kind : {Kind::Macro, Kind::Basic}) {
        const bool macro = kind == Kind::Macro;
        auto probe = rigFor(kind, kEditions[0]);
        const auto memory = memoryCopy(probe->mouse);
        auto dry = changedRig(kind, memory);
        const std::uint64_t planned = dry->session.writeAll(dry->texts).reports;
        ASSERT_EQ(planned, macro ? 1 + 38 + 4 * 38 + 38 + 148 + 1 : 38 + 38 + 1);
        for (bool unplug : {false, true}) {
            for (std::uint64_t at = 0; at < planned; ++at) {
                SCOPED_TRACE(std::string(macro ? "macro" : "basic") +
                             (unplug ? " unplug " : " fail ") + std::to_string(at));
                auto rig = changedRig(kind, memory);
                const std::uint64_t start = rig->mouse.reportCount();
                if (unplug)
                    rig->mouse.unplugAfterReports(start + at);
                else
                    rig->mouse.failReport(start + at);
                const auto out = rig->session.writeAll(rig->texts);
                if (out.result == TransferResult::Done) {
                    EXPECT_FALSE(unplug);
                    EXPECT_TRUE(out.verified);
                    EXPECT_EQ(out.attempts, 2);
                    EXPECT_TRUE(out.fullWrite);
                    expectUsedBytes(rig->mouse, writtenTarget(*rig), macro);
                    EXPECT_EQ(rig->mouse.activeImage(), rig->config.working);
                } else {
                    EXPECT_TRUE(out.result == TransferResult::Interrupted ||
                                out.result == TransferResult::Refused);
                    EXPECT_TRUE(unplug || out.reloadFailed);
                }
            }
        }
    }
}

namespace {

struct CountCase {
    const char* what;
    Kind kind;
    int macrosInUse; // bodies of 1024 bytes in use on the mouse
    bool wholeRun;   // counted from the open, else only the write
    int operation;   // 0 connect, 1 rate 1000, 2 one button, 3 one macro, 4 nothing, 5 all
    std::uint64_t reports;
    std::size_t erases;
};

// clang-format off
constexpr CountCase kCounts[] = {
    // Opening probes 2, identification 12 (the second look at 0x6053 included), image 38,
    // table 148, copies 2 + 2, each body in use 148.
    {"connect, 2 macros", Kind::Macro, 2, true, 0, 14 + 190 + 2 * 148, 0},
    {"connect, 32 full macros", Kind::Macro, 32, true, 0, 14 + 190 + 32 * 148, 0},
    // Sectors 0x60 and 0x70: 2 erases, image, 4 table quarters, copies; read back image,
    // table, copies; 03 and 18.
    {"set rate 1000", Kind::Macro, 0, true, 1, 14 + 190 + 2 + 38 + 152 + 4 + 38 + 148 + 4 + 2, 2},
    {"Apply after one button change", Kind::Macro, 0, false, 2, 1 + 38 + 152 + 38 + 148 + 1, 1},
    // Sectors 0x60 and 0x80: the table and four bodies of 4 quarters each, read back whole.
    {"one macro set", Kind::Macro, 0, true, 3,
     14 + 190 + 2 + 38 + 152 + 16 * 38 + 38 + 148 + 4 * 148 + 1, 2},
    {"write of what the mouse holds", Kind::Macro, 0, true, 4, 14 + 190, 0},
    {"write of a file that differs everywhere", Kind::Macro, 0, false, 5, 5068 + 4926 + 1, 10},
    {"basic: one button change", Kind::Basic, 0, false, 2, 38 + 38 + 1, 0},
    {"basic: nothing changed", Kind::Basic, 0, true, 4, 10 + 38, 0},
};
// clang-format on

} // namespace

TEST(PlannedWrite, ReportCounts) {
    for (const CountCase& c : kCounts) {
        for (const auto& e : kEditions) {
            SCOPED_TRACE(std::string(c.what) + " " + e.folder);
            auto rig = rigFor(c.kind, e);
            if (c.operation == 4) {
                // A mouse this program wrote: its image is the assembled one (a factory image
                // may differ in bytes the assembly fills).
                auto writer = rigFor(c.kind, e);
                writer->openIdentifyRead();
                ASSERT_TRUE(writer->session.writeAll(writer->texts));
                std::copy(writer->mouse.memory().begin(), writer->mouse.memory().end(),
                          rig->mouse.memory().begin());
            }
            for (int n = 0; n < c.macrosInUse; ++n) {
                rig->mouse
                    .memory()[kMacroTableAddress + kMacroEntrySize * static_cast<std::size_t>(n) +
                              kMacroEntryBodyLength] = 0x04; // 1024
                rig->mouse
                    .memory()[kMacroTableAddress + kMacroEntrySize * static_cast<std::size_t>(n) +
                              kMacroEntryBodyLength + 1] = 0x00;
            }
            ASSERT_EQ(rig->openAndIdentify().result, IdentifyResult::Accepted);
            ASSERT_TRUE(rig->session.readAll(rig->texts));
            const std::uint64_t afterRead = rig->mouse.reportCount();
            TransferOutcome out;
            MemoryContents everything;
            switch (c.operation) {
            case 1:
                rig->config.page.resolution.reportRate = 1000;
                break;
            case 2:
                ASSERT_TRUE(rig->config.setAssignment(0, 4, "09010000"));
                break;
            case 3:
                rig->config.macros.bodies[2][0] = 0xA1;
                rig->config.macros.setBodyLength(2, 2);
                break;
            default:
                break;
            }
            if (c.operation == 5) {
                everything = contentsOf(rig->mouse);
                for (const MemoryBlock& b : memory::readOrder())
                    for (auto& v : everything.bytes(b))
                        v = static_cast<std::uint8_t>(~v);
                everything.image[image::kSectionBStart + image::kReportRate] =
                    rig->mouse.memory()[protocol::kImageAddress + image::kSectionBStart +
                                        image::kReportRate];
                for (std::size_t n = 0; n < kMacroCount; ++n)
                    everything.macros.setBodyLength(n, kMacroBodySize);
                out = rig->session.writeContents(everything);
            } else if (c.operation != 0) {
                out = rig->session.writeAll(rig->texts);
            }
            ASSERT_EQ(out.result, TransferResult::Done);
            const std::uint64_t counted = rig->mouse.reportCount() - (c.wholeRun ? 0 : afterRead);
            EXPECT_EQ(counted, c.reports);
            EXPECT_EQ(rig->mouse.erasedSectors().size(), c.erases);
            EXPECT_EQ(out.nothingToChange, c.operation == 4);
            EXPECT_TRUE(rig->mouse.violations().empty()) << rig->mouse.violations().front();
            if (c.operation == 1) {
                EXPECT_EQ(rig->mouse.reloads(), (std::vector<std::uint8_t>{0x03, 0x18}));
                // Another program start finds the same mouse, running at the new rate.
                Rig next(rig->mouse.settings(), rig->resourceBytes, e.edition);
                std::copy(rig->mouse.memory().begin(), rig->mouse.memory().end(),
                          next.mouse.memory().begin());
                next.openIdentifyRead();
                EXPECT_EQ(next.session.runningReportRate(), std::optional<int>(1000));
            }
        }
    }
}
