#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

using namespace orlix::device;
using namespace orlix::device::testing;
namespace image = orlix::image;

namespace {

struct OpenMouse {
    explicit OpenMouse(SimulatedMouse::Settings s) : mouse(std::move(s)), link(mouse) {
        EXPECT_TRUE(link.openDevice(mouse.settings().vendorId, mouse.settings().productId));
        EXPECT_TRUE(link.isOpen());
    }
    SimulatedMouse mouse;
    DeviceLink link;
};

std::filesystem::path scratch(const std::string& name) {
    std::filesystem::path dir = ORLIX_TEST_SCRATCH;
    std::filesystem::create_directories(dir);
    return dir / name;
}

} // namespace

TEST(SimulatedMouse, FlashKeepsOnlyClearedBitsUntilErased) {
    OpenMouse m(SimulatedMouse::macroMouse(defaultImage()));
    const std::array<std::uint8_t, 10> low{0x0F, 0x0F, 0x0F, 0x0F, 0x0F,
                                           0x0F, 0x0F, 0x0F, 0x0F, 0x0F};
    const std::array<std::uint8_t, 10> high{0xF0, 0xF0, 0xF0, 0xF0, 0xF0,
                                            0xF0, 0xF0, 0xF0, 0xF0, 0xF0};
    ASSERT_TRUE(m.link.writeBlock(BlockWrite::LongAddress, 0x8000, 10, low));
    EXPECT_EQ(m.mouse.memory()[0x8009], 0x0F);
    EXPECT_TRUE(m.mouse.violations().empty());

    // Written again without an erase: the stored bytes are the AND of both.
    ASSERT_TRUE(m.link.writeBlock(BlockWrite::LongAddress, 0x8000, 10, high));
    EXPECT_EQ(m.mouse.memory()[0x8000], 0x00);
    ASSERT_EQ(m.mouse.violations().size(), 1u);
    EXPECT_NE(m.mouse.violations()[0].find("without erase"), std::string::npos);

    m.mouse.clearViolations();
    ASSERT_TRUE(m.link.sendCommand(0x11, 0x80, 0, 0, 0));
    EXPECT_EQ(m.mouse.memory()[0x8000], 0xFF);
    EXPECT_EQ(m.mouse.memory()[0x8FFF], 0xFF);
    ASSERT_TRUE(m.link.writeBlock(BlockWrite::LongAddress, 0x8000, 10, high));
    EXPECT_EQ(m.mouse.memory()[0x8005], 0xF0);
    EXPECT_TRUE(m.mouse.violations().empty());
    EXPECT_EQ(m.mouse.erasedSectors(), std::vector<std::uint8_t>{0x80});
}

TEST(SimulatedMouse, OneByteAddressFormsReallyLoseTheHighByte) {
    OpenMouse m(SimulatedMouse::basicMouse(defaultImage()));
    const std::array<std::uint8_t, 3> bytes{0x11, 0x22, 0x33};
    const auto beforeHigh = m.mouse.memory()[0x6410];
    ASSERT_TRUE(m.link.writeBlock(BlockWrite::ShortAddress, 0x6410, 3, bytes));
    EXPECT_EQ(m.mouse.memory()[0x6010], 0x11);
    EXPECT_EQ(m.mouse.memory()[0x6012], 0x33);
    EXPECT_EQ(m.mouse.memory()[0x6410], beforeHigh);

    std::array<std::uint8_t, 3> back{};
    ASSERT_TRUE(m.link.readBlock(BlockRead::ShortAddress, 0x7710, 3, back));
    EXPECT_EQ(back, bytes);
}

TEST(SimulatedMouse, BasicMouseKnowsNoTwoByteCommandsAndSaysSo) {
    OpenMouse m(SimulatedMouse::basicMouse(defaultImage()));
    // The command fails, and so would a fetch after it: there is nothing to answer.
    std::array<std::uint8_t, 6> out{};
    EXPECT_FALSE(m.link.readBlock(BlockRead::LongAddress, 0x6057, 6, out));
    m.link.readDataReport();
    EXPECT_EQ(m.link.reply(), (std::array<std::uint8_t, 7>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                           0xFF})); // no zeros made up
    ASSERT_EQ(m.mouse.violations().size(), 2u);
    EXPECT_NE(m.mouse.violations()[0].find("not known"), std::string::npos);
    EXPECT_NE(m.mouse.violations()[1].find("nothing to answer"), std::string::npos);

    m.mouse.clearViolations();
    EXPECT_FALSE(m.link.sendCommand(0x11, 0x60, 0, 0, 0));
    EXPECT_FALSE(m.mouse.violations().empty());
    EXPECT_TRUE(m.mouse.erasedSectors().empty());
}

TEST(SimulatedMouse, WrongCommandOrderShowsAsViolation) {
    OpenMouse m(SimulatedMouse::macroMouse(defaultImage()));
    // A write announced for 20 bytes, abandoned after 7.
    ASSERT_TRUE(m.link.sendCommand(0x12, 0x90, 0x00, 0x00, 20));
    const std::array<std::uint8_t, 7> piece{1, 2, 3, 4, 5, 6, 7};
    ASSERT_TRUE(m.link.writeDataReport(piece));
    ASSERT_TRUE(m.link.sendCommand(0x19, 0, 0, 0, 0));
    ASSERT_EQ(m.mouse.violations().size(), 1u);
    EXPECT_NE(m.mouse.violations()[0].find("cut short after 7"), std::string::npos);

    // The second reload command alone is refused and changes nothing.
    m.mouse.clearViolations();
    EXPECT_FALSE(m.link.sendCommand(0x18, 0, 0, 0, 0));
    EXPECT_EQ(m.mouse.violations().size(), 1u);
    EXPECT_EQ(m.mouse.reloads(), (std::vector<std::uint8_t>{0x19}));
}

TEST(SimulatedMouse, ActiveImageChangesOnlyWithReload) {
    OpenMouse m(SimulatedMouse::basicMouse(defaultImage()));
    std::array<std::uint8_t, 256> changed = defaultImage();
    changed[image::kSectionBStart + image::kReportRate] = 0x01;
    ASSERT_TRUE(m.link.writeBlock(BlockWrite::ShortAddress, protocol::kImageAddress,
                                  orlix::kImageSize, changed));
    EXPECT_EQ(m.mouse.activeImage()[image::kSectionBStart + image::kReportRate],
              defaultImage()[image::kSectionBStart + image::kReportRate]);
    ASSERT_TRUE(m.link.sendCommand(0x03, 0x00, 0x01, 0x00, 0x00));
    ASSERT_TRUE(m.link.sendCommand(0x18, 0, 0, 0, 0));
    EXPECT_EQ(m.mouse.activeImage(), changed);
    EXPECT_TRUE(m.mouse.violations().empty());
}

TEST(SimulatedMouse, MemoryPersistsInAFileAndBadFilesChangeNothing) {
    const auto file = scratch("sim-memory.bin");
    {
        SimulatedMouse mouse(SimulatedMouse::macroMouse(defaultImage()));
        mouse.memory()[0x8123] = 0x42;
        ASSERT_FALSE(mouse.saveMemory(file));
    }
    EXPECT_EQ(std::filesystem::file_size(file), SimulatedMouse::kStateSize);
    SimulatedMouse mouse(SimulatedMouse::macroMouse(defaultImage()));
    ASSERT_FALSE(mouse.loadMemory(file));
    EXPECT_EQ(mouse.memory()[0x8123], 0x42);

    const auto shortFile = scratch("short.bin");
    std::ofstream(shortFile, std::ios::binary) << "too short";
    mouse.memory()[0x8123] = 0x17;
    auto error = mouse.loadMemory(shortFile);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("(9 bytes"), std::string::npos);
    EXPECT_EQ(mouse.memory()[0x8123], 0x17);
    EXPECT_TRUE(mouse.loadMemory(scratch("missing.bin")));
    EXPECT_TRUE(mouse.saveMemory(scratch("no-such-dir") / "x.bin"));
}

TEST(SimulatedMouse, UnplugAfterReportsKillsHandlesUntilReopened) {
    OpenMouse m(SimulatedMouse::basicMouse(defaultImage()));
    m.mouse.unplugAfterReports(m.mouse.reportCount() + 2);
    EXPECT_TRUE(m.link.sendCommand(0x19, 0, 0, 0, 0));
    EXPECT_TRUE(m.link.sendCommand(0x19, 0, 0, 0, 0));
    EXPECT_FALSE(m.link.sendCommand(0x19, 0, 0, 0, 0));
    EXPECT_FALSE(m.mouse.pluggedIn());
    for (const auto& info : m.mouse.enumerate())
        EXPECT_EQ(info.path.find("sim:mouse"), std::string::npos);

    m.mouse.unplugAfterReports(std::nullopt);
    m.mouse.plugIn();
    EXPECT_FALSE(m.link.sendCommand(0x19, 0, 0, 0, 0)); // the old handle stays dead
    ASSERT_TRUE(m.link.openDevice(0x1BCF, 0x08A6));
    EXPECT_TRUE(m.link.sendCommand(0x19, 0, 0, 0, 0));
}

TEST(SimulatedMouse, RefusingToOpenKeepsItListedAndOpenHandlesAlive) {
    OpenMouse m(SimulatedMouse::basicMouse(defaultImage()));
    m.mouse.refuseOpen(true);
    // A handle opened before the refusal still works: only new opens fail.
    EXPECT_TRUE(m.link.sendCommand(0x19, 0, 0, 0, 0));
    const auto listed = m.mouse.enumerate();
    ASSERT_FALSE(listed.empty());
    for (const auto& info : listed) {
        EXPECT_EQ(info.vendorId, 0x1BCF);
        EXPECT_EQ(m.mouse.open(info.path), kNoHandle) << info.path;
    }
    DeviceLink other(m.mouse);
    EXPECT_FALSE(other.openDevice(0x1BCF, 0x08A6));
    EXPECT_EQ(m.mouse.openHandles(), 1u);

    m.mouse.refuseOpen(false);
    ASSERT_TRUE(other.openDevice(0x1BCF, 0x08A6));
    EXPECT_TRUE(other.sendCommand(0x19, 0, 0, 0, 0));
}

TEST(SimulatedMouse, SingleFailedReportAndLatency) {
    OpenMouse m(SimulatedMouse::basicMouse(defaultImage()));
    m.mouse.failReport(m.mouse.reportCount() + 1);
    EXPECT_TRUE(m.link.sendCommand(0x19, 0, 0, 0, 0));
    EXPECT_FALSE(m.link.sendCommand(0x19, 0, 0, 0, 0));
    EXPECT_TRUE(m.link.sendCommand(0x19, 0, 0, 0, 0));

    // The one test with latency: three reports at 2 ms take at least 6 ms.
    m.mouse.setLatency(std::chrono::milliseconds(2));
    const auto start = std::chrono::steady_clock::now();
    std::array<std::uint8_t, 10> out{};
    ASSERT_TRUE(m.link.readBlock(BlockRead::ShortAddress, protocol::kImageAddress, 10, out));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(6));
}

TEST(SimulatedMouse, ReadsAndWritesOutsideTheMemoryMapAreViolations) {
    struct Row {
        std::uint16_t address;
        std::uint16_t length;
        bool inMap;
    };
    const Row rows[] = {
        {0x6000, 256, true}, {0x6057, 6, true},    {0x6400, 1024, true}, {0x7000, 9, true},
        {0x7005, 4, true},   {0xFC00, 1024, true}, {0x6100, 16, false},  {0x60F0, 32, false},
        {0x6800, 1, false},  {0x7009, 1, false},   {0x5FFF, 2, false},   {0x0000, 4, false},
    };
    for (const Row& row : rows) {
        for (bool write : {false, true}) {
            SCOPED_TRACE(std::to_string(row.address) + (write ? " write" : " read"));
            OpenMouse m(SimulatedMouse::macroMouse(defaultImage()));
            std::vector<std::uint8_t> bytes(row.length, 0x00);
            if (write)
                ASSERT_TRUE(
                    m.link.writeBlock(BlockWrite::LongAddress, row.address, row.length, bytes));
            else
                ASSERT_TRUE(
                    m.link.readBlock(BlockRead::LongAddress, row.address, row.length, bytes));
            const auto& v = m.mouse.violations();
            const bool flagged = std::any_of(v.begin(), v.end(), [](const std::string& t) {
                return t.find("outside the memory map") != std::string::npos;
            });
            EXPECT_EQ(flagged, !row.inMap);
        }
    }
    // Erases are counted per sector.
    OpenMouse m(SimulatedMouse::macroMouse(defaultImage()));
    for (std::uint8_t sector : std::array<std::uint8_t, 3>{0x60, 0x80, 0x60})
        ASSERT_TRUE(m.link.sendCommand(0x11, sector, 0, 0, 0));
    EXPECT_EQ(m.mouse.eraseCount(0x60), 2u);
    EXPECT_EQ(m.mouse.eraseCount(0x80), 1u);
    EXPECT_EQ(m.mouse.eraseCount(0x70), 0u);
}
