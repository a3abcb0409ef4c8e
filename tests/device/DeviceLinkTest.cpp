#include "DeviceTestSupport.h"
#include "device/SimulatedMice.h"
#include "device/posix/HidapiBackend.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace orlix::device;
using namespace orlix::device::testing;
namespace image = orlix::image;

namespace {

SimulatedMouse::Settings withLayout(SimulatedMouse::Layout layout) {
    auto s = SimulatedMouse::basicMouse(defaultImage());
    s.layout = layout;
    return s;
}

} // namespace

TEST(DeviceLinkOpen, OneCollectionTakesBothIdsOnOneHandle) {
    SimulatedMouse mouse(withLayout(SimulatedMouse::Layout::OneCollection));
    mouse.setOtherInterfaces(3);
    mouse.recordFrames(true);
    DeviceLink link(mouse);
    ASSERT_TRUE(link.openDevice(0x1BCF, 0x08A6));
    EXPECT_TRUE(link.isOpen());
    EXPECT_TRUE(link.commandAndDataShareHandle());
    EXPECT_EQ(link.featureLength(), 8);
    EXPECT_EQ(link.currentVendorId(), 0x1BCF);
    EXPECT_EQ(mouse.openHandles(), 1u); // the keyboards and the pointer collection were closed
    EXPECT_EQ(frameTexts(mouse), (std::vector<std::string>{
                                     "set 40 04 00 11 00 01 00 00",
                                     "set 41 00 00 00 00 00 00 00",
                                 }));
    link.dropLink();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.currentVendorId(), 0);
    EXPECT_EQ(mouse.openHandles(), 0u);
}

TEST(DeviceLinkOpen, SplitCollectionsGiveTwoHandlesBothKept) {
    SimulatedMouse mouse(withLayout(SimulatedMouse::Layout::SplitCollections));
    DeviceLink link(mouse);
    ASSERT_TRUE(link.openDevice(0x1BCF, 0x08A6));
    EXPECT_TRUE(link.isOpen());
    EXPECT_FALSE(link.commandAndDataShareHandle());
    EXPECT_EQ(mouse.openHandles(), 2u);
    // Commands and data really travel on their own collections.
    std::array<std::uint8_t, 6> id{};
    ASSERT_TRUE(link.readBlock(BlockRead::ShortAddress, 0x6053, 6, id));
    EXPECT_EQ(id[0], 0xFF);
    EXPECT_EQ(link.failedReports(), 2u); // only the probes that the wrong collection refused
}

TEST(DeviceLinkOpen, UnusableInterfacesAreSkippedOrLeftWithoutPaths) {
    {
        // 64-byte feature reports: closed and skipped although the ids match.
        SimulatedMouse mouse(withLayout(SimulatedMouse::Layout::WrongFeatureLength));
        DeviceLink link(mouse);
        EXPECT_FALSE(link.openDevice(0x1BCF, 0x08A6));
        EXPECT_FALSE(link.hasCommandPath());
        EXPECT_EQ(mouse.openHandles(), 0u);
        EXPECT_EQ(mouse.reportCount(), 0u);
    }
    {
        // Matches, accepts neither probe: found, but no path for commands or data.
        SimulatedMouse mouse(withLayout(SimulatedMouse::Layout::RefusesProbes));
        DeviceLink link(mouse);
        EXPECT_TRUE(link.openDevice(0x1BCF, 0x08A6));
        EXPECT_FALSE(link.hasCommandPath());
        EXPECT_FALSE(link.hasDataPath());
        EXPECT_EQ(mouse.openHandles(), 0u);
        const auto before = mouse.reportCount();
        EXPECT_FALSE(link.sendCommand(0x04, 0x90, 0xE7, 0, 0));
        link.readDataReport();
        EXPECT_EQ(link.reply(),
                  (std::array<std::uint8_t, 7>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
        EXPECT_EQ(mouse.reportCount(), before); // refused before anything was sent
    }
    {
        auto settings = withLayout(SimulatedMouse::Layout::OneCollection);
        settings.productId = 0x08A7;
        SimulatedMouse mouse(settings);
        DeviceLink link(mouse);
        EXPECT_FALSE(link.openDevice(0x1BCF, 0x08A6));
        EXPECT_EQ(mouse.openHandles(), 0u);
    }
}

TEST(DeviceLinkBlocks, PiecesAndLengthsOnTheWire) {
    SimulatedMouse mouse(SimulatedMouse::macroMouseCodeAt6057(defaultImage()));
    DeviceLink link(mouse);
    ASSERT_TRUE(link.openDevice(0x1BCF, 0x08A6));
    mouse.recordFrames(true);

    // Six bytes: one command with length 00 06, one data report, nothing written past them.
    std::array<std::uint8_t, 8> six{};
    six.fill(0xAA);
    ASSERT_TRUE(link.readBlock(BlockRead::LongAddress, 0x6057, 6, six));
    ASSERT_EQ(mouse.frames().size(), 2u);
    EXPECT_EQ(frameText(mouse.frames()[0]), "set 40 0E 60 57 00 06 00 00");
    EXPECT_EQ(six[6], 0xAA);
    EXPECT_EQ(six[7], 0xAA);
    EXPECT_EQ(six[0], 0xFF); // the identity code placed at 0x6057

    const std::pair<std::uint16_t, std::size_t> sizes[] = {{256, 37}, {1024, 147}, {5, 1}, {4, 1},
                                                           {7, 1},    {8, 2},      {0, 0}};
    for (auto [length, pieces] : sizes) {
        mouse.clearFrames();
        std::vector<std::uint8_t> buffer(length);
        int ticks = 0;
        ASSERT_TRUE(
            link.readBlock(BlockRead::LongAddress, 0x8000, length, buffer, [&] { ++ticks; }));
        EXPECT_EQ(mouse.frames().size(), pieces + 1) << length;
        EXPECT_EQ(ticks, static_cast<int>(pieces));
    }

    // A write's last piece carries the remaining bytes and 0xFF after them.
    ASSERT_TRUE(link.sendCommand(0x11, 0x90, 0, 0, 0));
    mouse.clearFrames();
    std::vector<std::uint8_t> ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    ASSERT_TRUE(link.writeBlock(BlockWrite::LongAddress, 0x9000, 10, ten));
    EXPECT_EQ(frameTexts(mouse), (std::vector<std::string>{
                                     "set 40 12 90 00 00 0A 00 00",
                                     "set 41 01 02 03 04 05 06 07",
                                     "set 41 08 09 0A FF FF FF FF",
                                 }));
    EXPECT_EQ(mouse.memory()[0x9009], 10);
    EXPECT_EQ(mouse.memory()[0x900A], 0xFF);
    EXPECT_TRUE(mouse.violations().empty());

    // A buffer shorter than the length asked for is refused before anything is sent.
    mouse.clearFrames();
    std::array<std::uint8_t, 4> small{};
    EXPECT_FALSE(link.readBlock(BlockRead::LongAddress, 0x8000, 5, small));
    EXPECT_FALSE(link.writeBlock(BlockWrite::LongAddress, 0x8000, 5, small));
    EXPECT_TRUE(mouse.frames().empty());
}

TEST(DeviceLinkBlocks, FailuresReadAsFFAndAreCounted) {
    SimulatedMouse mouse(SimulatedMouse::basicMouse(defaultImage()));
    DeviceLink link(mouse);
    ASSERT_TRUE(link.openDevice(0x1BCF, 0x08A6));
    const auto failedBefore = link.failedReports();

    // The second data piece fails: its seven bytes read 0xFF, and since the mouse never
    // sent it, the next piece brings what the lost one held. Nothing here can tell.
    mouse.failReport(mouse.reportCount() + 2);
    std::array<std::uint8_t, 21> out{};
    ASSERT_TRUE(link.readBlock(BlockRead::ShortAddress, protocol::kImageAddress, 21, out));
    EXPECT_EQ(out[image::kDataType], 0x1D);
    for (std::size_t i = protocol::kPayloadSize; i < 2 * protocol::kPayloadSize; ++i)
        EXPECT_EQ(out[i], 0xFF) << i;
    EXPECT_EQ(out[2 * protocol::kPayloadSize], defaultImage()[protocol::kPayloadSize]);
    EXPECT_EQ(link.failedReports(), failedBefore + 1);

    // A failed block command ends the block before any data report.
    mouse.failReport(mouse.reportCount());
    const auto reportsBefore = mouse.reportCount();
    out.fill(0);
    EXPECT_FALSE(link.readBlock(BlockRead::ShortAddress, protocol::kImageAddress, 21, out));
    EXPECT_EQ(mouse.reportCount(), reportsBefore + 1);
    EXPECT_EQ(out[0], 0xFF);
}

TEST(HidapiBackend, CollectionPathsAndAnEmptySystem) {
    EXPECT_EQ(splitCollectionPath("/dev/hidraw3#2"),
              (std::pair<std::string, std::size_t>{"/dev/hidraw3", 2}));
    EXPECT_EQ(splitCollectionPath("/dev/hidraw3"),
              (std::pair<std::string, std::size_t>{"/dev/hidraw3", 0}));
    EXPECT_EQ(splitCollectionPath("/dev/odd#name"),
              (std::pair<std::string, std::size_t>{"/dev/odd#name", 0}));
    EXPECT_FALSE(readHidrawDescriptor("/dev/not-a-hid-node"));

    // Whatever this machine has attached, enumeration and a failed open behave.
    HidapiBackend hid;
    for (const auto& info : hid.enumerate())
        EXPECT_FALSE(info.path.empty());
    EXPECT_EQ(hid.open("/dev/no-such-hidraw"), kNoHandle);
    std::array<std::uint8_t, 8> report{0x41};
    EXPECT_FALSE(hid.getFeature(12345, report));
}

// Two mice with the same ids: the second one's data collection does not take the probe.
// Probed together, the command handle would end on the second mouse and the data handle on
// the first; grouped by device, both stay on one mouse.
TEST(DeviceLinkOpen, TwoMiceNeverShareOneLink) {
    auto first = SimulatedMouse::basicMouse(defaultImage());
    auto second = first;
    second.layout = SimulatedMouse::Layout::SplitCollections;
    SimulatedMice mice({first, second});
    mice.mouse(1).failReport(3); // collection B's data probe
    mice.mouse(0).recordFrames(true);
    mice.mouse(1).recordFrames(true);
    DeviceLink link(mice);
    ASSERT_TRUE(link.openDevice(0x1BCF, 0x08A6));
    EXPECT_TRUE(link.isOpen());
    EXPECT_TRUE(link.commandAndDataShareHandle());
    EXPECT_TRUE(mice.mouse(1).frames().empty()); // the second mouse was not even probed
    std::array<std::uint8_t, 6> id{};
    ASSERT_TRUE(link.readBlock(BlockRead::ShortAddress, 0x6053, 6, id));
    EXPECT_EQ(id[0], 0xFF);
    EXPECT_EQ(link.failedReports(), 0u);

    // The second mouse, chosen by the path of one of its interfaces.
    link.chooseDevice("sim2:sim:mouse/2");
    mice.mouse(1).clearFrames();
    mice.mouse(0).clearFrames();
    ASSERT_TRUE(link.openDevice(0x1BCF, 0x08A6));
    EXPECT_TRUE(mice.mouse(0).frames().empty());
    EXPECT_TRUE(link.hasCommandPath());
    EXPECT_FALSE(link.hasDataPath()); // its data collection failed the probe: not the first's
    EXPECT_EQ(mice.mouse(0).openHandles(), 0u);

    // A path that names no mouse opens nothing.
    link.chooseDevice("sim3:sim:mouse/1");
    EXPECT_FALSE(link.openDevice(0x1BCF, 0x08A6));
    EXPECT_FALSE(link.hasCommandPath());
}

TEST(DeviceLinkOpen, GroupsAndPaths) {
    std::vector<HidInterfaceInfo> list = {
        {"/dev/hidraw1", 1, 2, 8, "usb1/1-2"},
        {"/dev/hidraw4#0", 1, 2, 8, "usb1/1-3"},
        {"/dev/hidraw2", 1, 2, 8, "usb1/1-2"},
        {"/dev/hidraw4#1", 1, 2, 8, "usb1/1-3"},
    };
    const auto groups = groupByParent(list);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].parent, "usb1/1-2");
    ASSERT_EQ(groups[0].interfaces.size(), 2u);
    EXPECT_EQ(groups[0].interfaces[1].path, "/dev/hidraw2");
    EXPECT_EQ(groups[1].interfaces.size(), 2u);

    EXPECT_TRUE(pathNames("/dev/hidraw4", list[1]));
    EXPECT_TRUE(pathNames("/dev/hidraw4#1", list[3]));
    EXPECT_FALSE(pathNames("/dev/hidraw4#1", list[1]));
    EXPECT_FALSE(pathNames("/dev/hidraw", list[1]));
    EXPECT_FALSE(pathNames("/dev/hidraw", list[0]));
    EXPECT_FALSE(pathNames("", list[0]));
}

#ifdef __linux__
// A sysfs tree as the kernel lays it out for two USB mice, one of them with two HID
// interfaces.
TEST(HidapiParentDevice, TakenFromAFakeSysfsTree) {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(ORLIX_TEST_SCRATCH) / "fake-sysfs";
    fs::remove_all(root);
    const fs::path usb = root / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1";
    const auto hidDevice = [&](const std::string& device, const std::string& interface,
                               const std::string& hid, const std::string& node) {
        const fs::path dir = usb / device / interface / hid;
        fs::create_directories(dir / "hidraw" / node);
        fs::create_directories(root / "class" / "hidraw" / node);
        fs::create_directory_symlink(dir, root / "class" / "hidraw" / node / "device");
    };
    hidDevice("1-2", "1-2:1.0", "0003:1BCF:08A6.0001", "hidraw0");
    hidDevice("1-2", "1-2:1.1", "0003:1BCF:08A6.0002", "hidraw1");
    hidDevice("1-3", "1-3:1.0", "0003:1BCF:08A6.0003", "hidraw2");

    const std::string a = hidrawParentDevice("/dev/hidraw0", root);
    EXPECT_EQ(a, fs::canonical(usb / "1-2").string());
    EXPECT_EQ(hidrawParentDevice("/dev/hidraw1", root), a);
    EXPECT_EQ(hidrawParentDevice("/dev/hidraw2", root), fs::canonical(usb / "1-3").string());
    EXPECT_EQ(hidrawParentDevice("/dev/hidraw7", root), ""); // no such node
    EXPECT_EQ(hidrawParentDevice("/dev/input/event3", root), "");
    EXPECT_EQ(hidrawParentDevice("", root), "");
}
#endif
