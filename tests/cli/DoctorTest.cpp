// `doctor` against a device tree of the test's own: sysfs, device nodes, rule folders (one
// reached twice, as /lib and /usr/lib are with a merged /usr) and what udev says of a node.
#include "Commands.h"
#include "support/CliHarness.h"

#include <nlohmann/json.hpp>

#include <sys/stat.h>

using namespace orlix::test;
using orlix::device::UdevNodeState;

namespace {

const std::vector<std::uint8_t> kMouseDescriptor = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x40, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0x85, 0x41, 0x09, 0x02, 0x95, 0x07, 0xB1, 0x02, 0xC0};

class Doctor : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        saved = orlixctl::doctorRoots();
        auto& roots = orlixctl::doctorRoots();
        roots.sysfs = dir / "sys";
        roots.dev = dir / "dev";
        fs::create_directories(dir / "usr-lib-rules");
        fs::create_directory_symlink(dir / "usr-lib-rules", dir / "lib-rules");
        fs::create_directories(dir / "etc-rules");
        roots.udevRules = {dir / "etc-rules", dir / "usr-lib-rules", dir / "lib-rules"};
        roots.udev = [this](const std::string& node, unsigned long) {
            return node.ends_with("hidraw0") ? udev : std::nullopt;
        };
        const fs::path hid = roots.sysfs / "devices/usb1/1-1/1-1:1.0/0003:1";
        fs::create_directories(hid);
        std::ofstream(hid / "uevent") << "HID_ID=0003:00001BCF:000008A6\n";
        writeAll((hid / "report_descriptor").string(), kMouseDescriptor);
        fs::create_directories(roots.sysfs / "class/hidraw/hidraw0");
        fs::create_directory_symlink(hid, roots.sysfs / "class/hidraw/hidraw0/device");
        fs::create_directories(roots.dev);
        std::ofstream(roots.dev / "hidraw0");
        ::chmod((roots.dev / "hidraw0").c_str(), 0660);
        std::ofstream(dir / "usr-lib-rules/70-orlix-mouse.rules")
            << "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"1bcf\", ATTRS{idProduct}==\"08a6\", "
               "TAG+=\"uaccess\"\n";
    }
    void TearDown() override { orlixctl::doctorRoots() = saved; }

    nlohmann::json report() {
        const CliResult r = run({"doctor", "--json"});
        return nlohmann::json::parse(r.out);
    }

    orlix::device::HidrawRoots saved;
    std::optional<UdevNodeState> udev = UdevNodeState{true, true};
};

} // namespace

TEST_F(Doctor, EachRuleFileOnceAndTheModeInOctal) {
    const nlohmann::json j = report();
    ASSERT_EQ(j["rules"].size(), 1u) << j.dump();
    EXPECT_NE(j["rules"][0].get<std::string>().find("usr-lib-rules"), std::string::npos);
    ASSERT_EQ(j["nodes"].size(), 1u);
    EXPECT_EQ(j["nodes"][0]["mode"], "0660");
    EXPECT_TRUE(j["rulesGrantSeatAccess"].get<bool>());
    EXPECT_TRUE(j["nodes"][0]["udev"]["uaccess"].get<bool>());

    const CliResult text = run({"doctor"});
    EXPECT_EQ(text.code, 0) << text.out;
    EXPECT_NE(text.out.find("tagged uaccess: the rule applied"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("lib-rules/70"), text.out.rfind("lib-rules/70")) << text.out;

    // A file of the same name in an earlier folder is the one udev reads.
    std::ofstream(dir / "etc-rules/70-orlix-mouse.rules") << "# switched off here\n";
    EXPECT_EQ(report()["rules"].size(), 0u);
}

TEST_F(Doctor, SaysWhetherUdevAppliedTheRuleToTheNode) {
    struct Row {
        std::optional<UdevNodeState> udev;
        const char* says;
    };
    for (const Row& r : {Row{UdevNodeState{true, false}, "not tagged uaccess"},
                         Row{std::nullopt, "udev does not know this node"},
                         Row{UdevNodeState{false, false}, "not finished"}}) {
        udev = r.udev;
        const CliResult text = run({"doctor"});
        EXPECT_NE(text.out.find(r.says), std::string::npos) << text.out;
        EXPECT_EQ(report()["nodes"][0]["udev"].is_null(), !r.udev.has_value());
    }
}

TEST(DoctorAdvice, FitsTheUaccessRuleAndNeverSuggestsAGroup) {
    using namespace orlix::device;
    HidrawNode denied;
    denied.node = "/dev/hidraw0";
    denied.access = NodeAccess::NoPermission;
    denied.featureReportLength = 8;
    denied.commandAndDataReports = true;
    HidrawAccess a;
    a.nodes = {denied};
    a.rules = {"/usr/lib/udev/rules.d/70-orlix-mouse.rules"};
    a.rulesGrantSeatAccess = true;
    struct Row {
        bool seat;
        std::optional<UdevNodeState> udev;
        bool acl;
        const char* advice;
    };
    for (const Row& r : {Row{false, UdevNodeState{true, true}, false, "no seat"},
                         Row{true, UdevNodeState{true, false}, false, "plug it in again"},
                         Row{true, UdevNodeState{true, false}, false, "udevadm trigger"},
                         Row{true, UdevNodeState{true, true}, false, "access list"},
                         Row{true, std::nullopt, false, "plug it in again"}}) {
        a.sessionHasSeat = r.seat;
        a.nodes[0].udev = r.udev;
        a.nodes[0].aclGivesUser = r.acl;
        const auto advice = hidrawAdvice(a);
        ASSERT_FALSE(advice.empty());
        EXPECT_NE(advice[0].find(r.advice), std::string::npos) << advice[0];
        EXPECT_EQ(advice[0].find("group"), std::string::npos) << advice[0];
    }
}

TEST(DoctorAcl, ReadAndWriteForThisUserWithinTheMask) {
    using orlix::device::aclGivesReadWrite;
    // Entries: tag, permissions, id; tags 1 owner, 2 named user, 4 group, 0x10 mask, 0x20 other.
    const auto acl = [](std::vector<std::array<unsigned, 3>> entries) {
        std::vector<std::uint8_t> b = {2, 0, 0, 0};
        for (const auto& [tag, perm, id] : entries)
            for (unsigned v : {tag & 0xFF, tag >> 8, perm & 0xFF, perm >> 8, id & 0xFF,
                               (id >> 8) & 0xFF, (id >> 16) & 0xFF, id >> 24})
                b.push_back(static_cast<std::uint8_t>(v));
        return b;
    };
    struct Row {
        std::vector<std::uint8_t> xattr;
        bool gives;
    };
    for (const Row& r : std::vector<Row>{
             {acl({{1, 6, 0}, {2, 6, 1000}, {4, 6, 0}, {0x10, 6, 0}, {0x20, 0, 0}}), true},
             {acl({{1, 6, 0}, {2, 6, 1000}, {4, 6, 0}, {0x10, 4, 0}, {0x20, 0, 0}}), false},
             {acl({{1, 6, 0}, {2, 4, 1000}, {4, 6, 0}, {0x20, 0, 0}}), false},
             {acl({{1, 6, 0}, {2, 6, 1001}, {4, 6, 0}, {0x20, 6, 0}}), false},
             {acl({{1, 6, 1000}, {4, 6, 0}, {0x20, 0, 0}}), false},
             {{2, 0, 0}, false},
             {{}, false},
         }) {
        EXPECT_EQ(aclGivesReadWrite(r.xattr, 1000), r.gives);
    }
    auto truncated = acl({{2, 6, 1000}});
    truncated.pop_back();
    EXPECT_FALSE(aclGivesReadWrite(truncated, 1000));
}
