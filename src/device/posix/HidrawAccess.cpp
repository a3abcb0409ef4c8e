#include "device/posix/HidrawAccess.h"

#if defined(ORLIX_HAVE_LIBUDEV)
#include <libudev.h>
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace orlix::device {

namespace {

namespace fs = std::filesystem;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string hex4(std::uint16_t v) {
    static const char* digits = "0123456789abcdef";
    std::string s(4, '0');
    for (int i = 3; i >= 0; --i, v = static_cast<std::uint16_t>(v >> 4))
        s[static_cast<std::size_t>(i)] = digits[v & 0xF];
    return s;
}

// "HID_ID=0003:00001BCF:000008A6" in the HID device's uevent.
bool readIds(const fs::path& uevent, std::uint16_t& vendor, std::uint16_t& product) {
    std::ifstream in(uevent);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("HID_ID=", 0) != 0) continue;
        unsigned bus = 0;
        unsigned long v = 0, p = 0;
        if (std::sscanf(line.c_str() + 7, "%x:%lx:%lx", &bus, &v, &p) != 3) return false;
        vendor = static_cast<std::uint16_t>(v & 0xFFFF);
        product = static_cast<std::uint16_t>(p & 0xFFFF);
        return true;
    }
    return false;
}

std::vector<std::uint8_t> readBytes(const fs::path& file, std::size_t limit) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes;
    char c;
    while (bytes.size() < limit && in.get(c))
        bytes.push_back(static_cast<std::uint8_t>(c));
    return bytes;
}

void probeNode(HidrawNode& n, const HidrawRoots& roots) {
    struct stat st {};
    if (::stat(n.node.c_str(), &st) != 0) {
        n.access = NodeAccess::Missing;
        n.accessError = std::strerror(errno);
        return;
    }
    n.ownerUid = st.st_uid;
    n.groupGid = st.st_gid;
    n.mode = st.st_mode & 07777;
    if (roots.udev) n.udev = roots.udev(n.node, S_ISCHR(st.st_mode) ? st.st_rdev : 0);
    std::vector<std::uint8_t> acl(1024);
    const ssize_t size =
        ::getxattr(n.node.c_str(), "system.posix_acl_access", acl.data(), acl.size());
    n.acl = size > 0;
    if (size > 0) {
        acl.resize(static_cast<std::size_t>(size));
        n.aclGivesUser = aclGivesReadWrite(acl, ::getuid());
    }
    const int fd = ::open(n.node.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        n.access = NodeAccess::Usable;
        return;
    }
    const int e = errno;
    n.accessError = std::strerror(e);
    n.access = (e == EACCES || e == EPERM) ? NodeAccess::NoPermission
               : e == EBUSY                ? NodeAccess::Busy
               : e == ENOENT               ? NodeAccess::Missing
                                           : NodeAccess::Failed;
}

std::uint32_t little(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

} // namespace

std::optional<UdevNodeState> udevStateOf(const std::string&, unsigned long devnum) {
#if defined(ORLIX_HAVE_LIBUDEV)
    if (devnum == 0) return std::nullopt;
    udev* u = udev_new();
    if (u == nullptr) return std::nullopt;
    udev_device* d = udev_device_new_from_devnum(u, 'c', static_cast<dev_t>(devnum));
    if (d == nullptr) {
        udev_unref(u);
        return std::nullopt;
    }
    UdevNodeState state;
    state.initialized = udev_device_get_is_initialized(d) > 0;
    for (udev_list_entry* e = udev_device_get_tags_list_entry(d); e != nullptr;
         e = udev_list_entry_get_next(e)) {
        if (std::strcmp(udev_list_entry_get_name(e), "uaccess") == 0) state.uaccess = true;
    }
    udev_device_unref(d);
    udev_unref(u);
    return state;
#else
    (void)devnum;
    return std::nullopt;
#endif
}

bool aclGivesReadWrite(std::span<const std::uint8_t> xattr, unsigned uid) {
    // Version 2 header, then entries of tag (2 bytes), permissions (2) and id (4).
    constexpr std::uint32_t kVersion = 2, kUser = 0x02, kMask = 0x10, kRead = 4, kWrite = 2;
    if (xattr.size() < 4 || (xattr.size() - 4) % 8 != 0 || little(xattr, 0, 4) != kVersion)
        return false;
    bool user = false;
    std::uint32_t mask = kRead | kWrite;
    for (std::size_t at = 4; at + 8 <= xattr.size(); at += 8) {
        const std::uint32_t tag = little(xattr, at, 2), perm = little(xattr, at + 2, 2);
        if (tag == kUser && little(xattr, at + 4, 4) == uid)
            user = (perm & (kRead | kWrite)) == (kRead | kWrite);
        if (tag == kMask) mask = perm;
    }
    return user && (mask & (kRead | kWrite)) == (kRead | kWrite);
}

bool HidrawAccess::usable() const {
    return std::any_of(nodes.begin(), nodes.end(), [](const HidrawNode& n) {
        return n.access == NodeAccess::Usable && n.featureReportLength == 8 &&
               n.commandAndDataReports;
    });
}

bool HidrawAccess::foundButNotOpened() const {
    return !nodes.empty() && std::none_of(nodes.begin(), nodes.end(), [](const HidrawNode& n) {
        return n.access == NodeAccess::Usable;
    });
}

HidrawAccess inspectHidrawAccess(std::uint16_t vendorId, std::uint16_t productId,
                                 const HidrawRoots& roots) {
    HidrawAccess result;
    result.runningAsRoot = ::geteuid() == 0;
    const char* seat = std::getenv("XDG_SEAT");
    result.sessionHasSeat = seat != nullptr && seat[0] != '\0';

    std::error_code ec;
    const fs::path classDir = roots.sysfs / "class" / "hidraw";
    for (fs::directory_iterator it(classDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("hidraw", 0) != 0) continue;
        HidrawNode n;
        if (!readIds(it->path() / "device" / "uevent", n.vendorId, n.productId)) continue;
        if (n.vendorId != vendorId || n.productId != productId) continue;
        n.node = (roots.dev / name).string();
        std::error_code pec;
        const fs::path hid = fs::canonical(it->path() / "device", pec);
        if (!pec) n.parent = hid.parent_path().parent_path().string();
        const auto descriptor = readBytes(it->path() / "device" / "report_descriptor", 4096);
        if (!descriptor.empty()) {
            const ParsedDescriptor parsed = parseReportDescriptor(descriptor);
            n.descriptorRead = !parsed.error.has_value();
            bool command = false, data = false;
            for (const CollectionCaps& c : parsed.collections) {
                n.featureReportLength = std::max(n.featureReportLength, c.featureReportLength);
                for (std::uint8_t id : c.featureReportIds) {
                    command = command || id == 0x40;
                    data = data || id == 0x41;
                }
            }
            n.commandAndDataReports = command && data;
        }
        probeNode(n, roots);
        result.nodes.push_back(std::move(n));
    }
    std::sort(result.nodes.begin(), result.nodes.end(),
              [](const HidrawNode& a, const HidrawNode& b) { return a.node < b.node; });

    const std::string vid = hex4(vendorId), pid = hex4(productId);
    // udev reads one file of each name, from the first folder that has it; the same folder
    // reached twice (merged /usr) gives the same names again.
    std::set<std::string> seenNames;
    for (const fs::path& dir : roots.udevRules) {
        std::vector<fs::path> files;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".rules") files.push_back(it->path());
        ec.clear();
        std::sort(files.begin(), files.end());
        std::vector<std::string> namesHere;
        for (const fs::path& file : files) {
            if (seenNames.count(file.filename().string()) != 0) continue;
            namesHere.push_back(file.filename().string());
            std::ifstream in(file);
            bool names = false, seatAccess = false;
            for (std::string line; std::getline(in, line);) {
                const std::string l = lower(line);
                if (l.find(vid) == std::string::npos || l.find(pid) == std::string::npos ||
                    l.find('#') < l.find(vid))
                    continue;
                names = true;
                seatAccess = seatAccess || l.find("uaccess") != std::string::npos;
            }
            if (names) {
                result.rules.push_back(file);
                result.rulesGrantSeatAccess = result.rulesGrantSeatAccess || seatAccess;
            }
        }
        seenNames.insert(namesHere.begin(), namesHere.end());
    }
    return result;
}

std::vector<std::string> hidrawAdvice(const HidrawAccess& a) {
    std::vector<std::string> advice;
    if (a.usable()) return advice;
    if (a.nodes.empty()) {
        advice.push_back("No mouse of this kind is plugged in: plug it into a USB port (not "
                         "through a hub that needs its own power) and run this again.");
        return advice;
    }
    const bool denied = std::any_of(a.nodes.begin(), a.nodes.end(), [](const HidrawNode& n) {
        return n.access == NodeAccess::NoPermission;
    });
    if (denied) {
        if (a.rules.empty()) {
            advice.push_back("Install the udev rule that lets you open the mouse: install the "
                             "package, or copy packaging/linux/70-orlix-mouse.rules to "
                             "/etc/udev/rules.d/ as root; then unplug the mouse and plug it in "
                             "again.");
        } else if (!a.rulesGrantSeatAccess) {
            advice.push_back("A udev rule names the mouse but does not give it to the logged-in "
                             "user: add TAG+=\"uaccess\" to it, then unplug the mouse and plug it "
                             "in again.");
        } else if (!a.sessionHasSeat) {
            advice.push_back("The udev rule gives the mouse to the user logged in at the computer "
                             "(TAG+=\"uaccess\"), but this session has no seat (a remote, SSH "
                             "or container login): run the program from a desktop or text login "
                             "at the computer itself.");
        } else if (std::any_of(a.nodes.begin(), a.nodes.end(),
                               [](const HidrawNode& n) { return n.udev && !n.udev->uaccess; })) {
            advice.push_back("The udev rule is installed but did not apply to the mouse's node "
                             "(udev has not tagged it uaccess; the rule was added after the mouse "
                             "appeared): unplug the mouse and plug it in again, or run sudo "
                             "udevadm trigger --subsystem-match=hidraw.");
        } else if (std::any_of(a.nodes.begin(), a.nodes.end(), [](const HidrawNode& n) {
                       return n.udev && n.udev->uaccess && !n.aclGivesUser;
                   })) {
            advice.push_back("udev tagged the node uaccess but its access list does not give you "
                             "read and write: the access goes to the active session at the seat; "
                             "switch to that session, or log out and in again at the computer, "
                             "then unplug the mouse and plug it in again.");
        } else {
            advice.push_back("The udev rule is installed but the node did not get your access: "
                             "unplug the mouse and plug it in again (the rule applies when the "
                             "mouse appears), or log out and in.");
        }
    }
    if (std::any_of(a.nodes.begin(), a.nodes.end(),
                    [](const HidrawNode& n) { return n.access == NodeAccess::Busy; })) {
        advice.push_back("Another program holds the mouse: close other mouse tools and try "
                         "again.");
    }
    if (std::any_of(a.nodes.begin(), a.nodes.end(),
                    [](const HidrawNode& n) { return n.access == NodeAccess::Missing; })) {
        advice.push_back("The kernel lists the mouse but its device node is missing: is udev "
                         "running?");
    }
    if (std::all_of(a.nodes.begin(), a.nodes.end(), [](const HidrawNode& n) {
            return n.access == NodeAccess::Usable &&
                   (n.featureReportLength != 8 || !n.commandAndDataReports);
        })) {
        advice.push_back("The mouse opens but none of its interfaces has the 8-byte command "
                         "and data reports this program speaks: it is not a mouse this program "
                         "can configure, or its firmware differs.");
    }
    return advice;
}

} // namespace orlix::device
