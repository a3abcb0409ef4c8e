#pragma once

#include "device/ReportDescriptor.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orlix::device {

// Why a user can or cannot open the mouse's hidraw nodes on Linux, told from what the system
// shows: sysfs, the device nodes, the udev rules and the login session. `orlixctl doctor` and
// the window use it to say what to do instead of "no device".

// Where to look; tests give a tree of their own.
struct HidrawRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";
    std::vector<std::filesystem::path> udevRules = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                    "/usr/local/lib/udev/rules.d",
                                                    "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
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
};

struct HidrawAccess {
    std::vector<HidrawNode> nodes;            // nodes of the mouse's vendor and product id
    std::vector<std::filesystem::path> rules; // udev rules naming the mouse
    bool rulesGrantSeatAccess = false;        // one of them tags it "uaccess"
    bool sessionHasSeat = false;              // XDG_SEAT: a local graphical or text login
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
