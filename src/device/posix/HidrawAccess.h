#pragma once

#include "device/ReportDescriptor.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orlix::device {

// Why a user can or cannot open the mouse's hidraw nodes on Linux, told from what the system
// shows: sysfs, the device nodes, the udev rules and the login session. `orlixctl doctor` and
// the window use it to say what to do instead of "no device".

// What udev's database says about a device node: whether udev has handled it since it
// appeared, and whether a rule tagged it "uaccess" (the login manager then gives the user at
// the seat an access list entry on it).
struct UdevNodeState {
    bool initialized = false;
    bool uaccess = false;
};

// The state libudev reports for the character device `devnum`; nothing when udev does not know
// it (no udev, or not a device node).
std::optional<UdevNodeState> udevStateOf(const std::string& node, unsigned long devnum);

// Whether a "system.posix_acl_access" value gives user `uid` read and write through a named
// user entry (within the mask): what uaccess adds for the seat's user.
bool aclGivesReadWrite(std::span<const std::uint8_t> xattr, unsigned uid);

// Where to look; tests give a tree of their own.
struct HidrawRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";
    std::vector<std::filesystem::path> udevRules = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                    "/usr/local/lib/udev/rules.d",
                                                    "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
    std::function<std::optional<UdevNodeState>(const std::string& node, unsigned long devnum)>
        udev = udevStateOf;
};

enum class NodeAccess {
    Usable,       // opened for reading and writing
    Missing,      // sysfs lists it but there is no device node
    NoPermission, // the node exists and this user may not open it
    Busy,         // another program holds it exclusively
    Failed,       // any other error
};

struct HidrawNode {
    std::string node;   // "/dev/hidraw3"
    std::string parent; // the physical device in sysfs; nodes with one parent are one mouse
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    bool descriptorRead = false;
    std::uint16_t featureReportLength = 0; // the largest of its collections, with the id byte
    bool commandAndDataReports = false;    // feature reports 0x40 and 0x41
    NodeAccess access = NodeAccess::Failed;
    std::string accessError; // the system's words when it could not be opened
    unsigned ownerUid = 0;
    unsigned groupGid = 0;
    unsigned mode = 0; // permission bits of the node
    bool acl = false;  // the node carries an access list (what uaccess gives the seat's user)
    bool aclGivesUser = false;         // ... with read and write for this user
    std::optional<UdevNodeState> udev; // nothing: udev does not know the node
};

struct HidrawAccess {
    std::vector<HidrawNode> nodes; // nodes of the mouse's vendor and product id
    // udev rules naming the mouse, each file once: one reached through two folders (/lib and
    // /usr/lib with a merged /usr) or hidden by a file of the same name in an earlier folder
    // is the one udev reads.
    std::vector<std::filesystem::path> rules;
    bool rulesGrantSeatAccess = false; // one of them tags it "uaccess"
    bool sessionHasSeat = false;       // XDG_SEAT: a local graphical or text login
    bool runningAsRoot = false;

    // A node of the mouse that opened, with the command and data reports of 8 bytes.
    bool usable() const;
    // Some node of the mouse exists but none could be opened.
    bool foundButNotOpened() const;
};

HidrawAccess inspectHidrawAccess(std::uint16_t vendorId, std::uint16_t productId,
                                 const HidrawRoots& roots = {});

// What the user should do, one sentence a line, most useful first; empty when all is well.
std::vector<std::string> hidrawAdvice(const HidrawAccess& access);

} // namespace orlix::device
