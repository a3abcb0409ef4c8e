#include "device/posix/HidrawAccess.h"

#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace orlix::device;
namespace fs = std::filesystem;

namespace {

// The vendor collection of the mouse: feature reports 0x40 and 0x41 of 7 data bytes.
const std::vector<std::uint8_t> kMouseDescriptor = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x40, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0x85, 0x41, 0x09, 0x02, 0x95, 0x07, 0xB1, 0x02, 0xC0};
// A boot mouse: no feature reports at all.
const std::vector<std::uint8_t> kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01,
    0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0xC0, 0xC0};

class HidrawAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = orlix::test::scratchDir(
            std::string("hidraw-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        roots.sysfs = root / "sys";
        roots.dev = root / "dev";
        roots.udevRules = {root / "etc-rules", root / "lib-rules"};
        for (const auto& d : roots.udevRules)
            fs::create_directories(d);
        fs::create_directories(roots.dev);
    }

    // hidrawN of a USB device at `usbPath`, with the ids and descriptor given; `node` makes
    // its /dev entry.
    void addNode(int n, const std::string& usbPath, const std::string& hidId,
                 const std::vector<std::uint8_t>& descriptor, bool node = true) {
        const fs::path hid =
            roots.sysfs / "devices" / usbPath / "1-1:1.0" / ("0003:" + std::to_string(n));
        fs::create_directories(hid);
        std::ofstream(hid / "uevent")
            << "DRIVER=hid-generic\nHID_ID=" << hidId << "\nHID_NAME=Mouse\n";
        std::ofstream(hid / "report_descriptor", std::ios::binary)
            .write(reinterpret_cast<const char*>(descriptor.data()),
                   static_cast<std::streamsize>(descriptor.size()));
        const fs::path cls = roots.sysfs / "class" / "hidraw" / ("hidraw" + std::to_string(n));
        fs::create_directories(cls);
        fs::create_directory_symlink(hid, cls / "device");
        if (node) std::ofstream(roots.dev / ("hidraw" + std::to_string(n)));
    }

    void addRule(int dir, const std::string& name, const std::string& text) {
        std::ofstream(roots.udevRules[static_cast<std::size_t>(dir)] / name) << text;
    }

    fs::path root;
    HidrawRoots roots;
};

} // namespace

TEST_F(HidrawAccessTest, FindsOnlyTheMouseNodesAndGroupsThemByDevice) {
    addNode(0, "usb1/1-1", "0003:00001BCF:000008A6", kMouseDescriptor);
    addNode(1, "usb1/1-1", "0003:00001BCF:000008A6", kBootMouse);
    addNode(2, "usb1/1-2", "0003:0000046D:0000C077", kBootMouse);       // another vendor's mouse
    addNode(3, "usb2/2-1", "0003:00001BCF:000008A7", kMouseDescriptor); // another product
    const HidrawAccess a = inspectHidrawAccess(0x1BCF, 0x08A6, roots);
    ASSERT_EQ(a.nodes.size(), 2u);
    EXPECT_EQ(a.nodes[0].node, (roots.dev / "hidraw0").string());
    EXPECT_EQ(a.nodes[0].featureReportLength, 8);
    EXPECT_TRUE(a.nodes[0].commandAndDataReports);
    EXPECT_FALSE(a.nodes[1].commandAndDataReports);
    EXPECT_EQ(a.nodes[1].featureReportLength, 0);
    EXPECT_EQ(a.nodes[0].parent, a.nodes[1].parent);
    EXPECT_NE(a.nodes[0].parent.find("usb1/1-1"), std::string::npos) << a.nodes[0].parent;
    // The node is a plain file here, so it opens (the tests run with access to their files).
    EXPECT_EQ(a.nodes[0].access, NodeAccess::Usable);
    EXPECT_TRUE(a.usable());
    EXPECT_TRUE(hidrawAdvice(a).empty());
}

TEST_F(HidrawAccessTest, AMissingNodeIsNamedAndTheMouseIsNotUsable) {
    addNode(4, "usb1/1-1", "0003:00001BCF:000008A6", kMouseDescriptor, false);
    const HidrawAccess a = inspectHidrawAccess(0x1BCF, 0x08A6, roots);
    ASSERT_EQ(a.nodes.size(), 1u);
    EXPECT_EQ(a.nodes[0].access, NodeAccess::Missing);
    EXPECT_FALSE(a.usable());
    EXPECT_TRUE(a.foundButNotOpened());
    const auto advice = hidrawAdvice(a);
    ASSERT_FALSE(advice.empty());
    EXPECT_NE(advice[0].find("udev running"), std::string::npos) << advice[0];
}

TEST_F(HidrawAccessTest, RulesAreFoundByTheIdsAndTheirUaccessTag) {
    addRule(0, "50-other.rules",
            "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"046d\", TAG+=\"uaccess\"\n");
    addRule(0, "60-commented.rules", "# ATTRS{idVendor}==\"1bcf\", ATTRS{idProduct}==\"08a6\"\n");
    addRule(1, "70-orlix-mouse.rules",
            "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"1BCF\", ATTRS{idProduct}==\"08A6\", "
            "TAG+=\"uaccess\"\n");
    addRule(1, "70-orlix-mouse.txt", "ATTRS{idVendor}==\"1bcf\", ATTRS{idProduct}==\"08a6\"\n");
    HidrawAccess a = inspectHidrawAccess(0x1BCF, 0x08A6, roots);
    ASSERT_EQ(a.rules.size(), 1u);
    EXPECT_EQ(a.rules[0].filename(), "70-orlix-mouse.rules");
    EXPECT_TRUE(a.rulesGrantSeatAccess);

    addRule(0, "99-mode.rules",
            "ATTRS{idVendor}==\"1bcf\", ATTRS{idProduct}==\"08a6\", GROUP=\"plugdev\"\n");
    fs::remove(roots.udevRules[1] / "70-orlix-mouse.rules");
    a = inspectHidrawAccess(0x1BCF, 0x08A6, roots);
    ASSERT_EQ(a.rules.size(), 1u);
    EXPECT_FALSE(a.rulesGrantSeatAccess);
}

TEST(HidrawAdvice, NamesTheFixForEachReasonANodeCannotBeOpened) {
    HidrawNode denied;
    denied.node = "/dev/hidraw0";
    denied.access = NodeAccess::NoPermission;
    denied.featureReportLength = 8;
    denied.commandAndDataReports = true;

    HidrawAccess a;
    EXPECT_NE(hidrawAdvice(a).at(0).find("No mouse"), std::string::npos);

    a.nodes = {denied};
    EXPECT_NE(hidrawAdvice(a).at(0).find("Install the udev rule"), std::string::npos);
    a.rules = {"/etc/udev/rules.d/99-mine.rules"};
    EXPECT_NE(hidrawAdvice(a).at(0).find("TAG+=\"uaccess\""), std::string::npos);
    a.rulesGrantSeatAccess = true;
    EXPECT_NE(hidrawAdvice(a).at(0).find("no seat"), std::string::npos);
    a.sessionHasSeat = true;
    EXPECT_NE(hidrawAdvice(a).at(0).find("plug it in again"), std::string::npos);

    a.nodes[0].access = NodeAccess::Busy;
    EXPECT_NE(hidrawAdvice(a).at(0).find("Another program"), std::string::npos);

    a.nodes[0].access = NodeAccess::Usable;
    EXPECT_TRUE(hidrawAdvice(a).empty());
    a.nodes[0].featureReportLength = 64; // the wrong interface or firmware
    EXPECT_FALSE(a.usable());
    EXPECT_NE(hidrawAdvice(a).at(0).find("8-byte"), std::string::npos);
}
