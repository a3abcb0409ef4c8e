// `doctor`: can this user reach the mouse, and if not, why not and what to do. Looks at the
// system only; it sends nothing to the mouse.
#include "Commands.h"
#include "Context.h"

#include "device/posix/HidrawAccess.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <ostream>

namespace orlixctl {

using namespace orlix;
using namespace orlix::device;

namespace {

// "0660": permission bits as chmod takes them.
std::string octal(unsigned mode) {
    char text[16];
    std::snprintf(text, sizeof text, "%04o", mode & 07777u);
    return text;
}

const char* accessName(NodeAccess a) {
    switch (a) {
    case NodeAccess::Usable:
        return "usable";
    case NodeAccess::Missing:
        return "missing";
    case NodeAccess::NoPermission:
        return "no-permission";
    case NodeAccess::Busy:
        return "busy";
    case NodeAccess::Failed:
        break;
    }
    return "failed";
}

std::string udevText(const HidrawNode& n) {
    if (!n.udev) return "udev does not know this node (is udev running?)";
    if (!n.udev->initialized) return "udev has not finished with this node yet";
    return n.udev->uaccess ? "tagged uaccess: the rule applied"
                           : "not tagged uaccess: no rule giving it to the seat's user applied";
}

std::string aclText(const HidrawNode& n) {
    if (!n.acl) return "none";
    return n.aclGivesUser ? "gives you read and write" : "does not give you read and write";
}

int doctorJson(const HidrawAccess& a, std::uint16_t vid, std::uint16_t pid, std::ostream& out) {
    using J = nlohmann::ordered_json;
    J nodes = J::array();
    for (const HidrawNode& n : a.nodes) {
        J udev = n.udev ? J{{"initialized", n.udev->initialized}, {"uaccess", n.udev->uaccess}}
                        : J(nullptr);
        nodes.push_back({{"node", n.node},
                         {"device", n.parent},
                         {"access", accessName(n.access)},
                         {"error", n.accessError},
                         {"owner", n.ownerUid},
                         {"group", n.groupGid},
                         {"mode", octal(n.mode)},
                         {"acl", n.acl},
                         {"aclGivesUser", n.aclGivesUser},
                         {"udev", udev},
                         {"descriptorRead", n.descriptorRead},
                         {"featureReportLength", n.featureReportLength},
                         {"commandAndDataReports", n.commandAndDataReports}});
    }
    J rules = J::array();
    for (const auto& r : a.rules)
        rules.push_back(r.string());
    const J j{{"vendorId", hexValue(vid, 4)},
              {"productId", hexValue(pid, 4)},
              {"nodes", nodes},
              {"rules", rules},
              {"rulesGrantSeatAccess", a.rulesGrantSeatAccess},
              {"sessionHasSeat", a.sessionHasSeat},
              {"runningAsRoot", a.runningAsRoot},
              {"usable", a.usable()},
              {"advice", hidrawAdvice(a)}};
    out << j.dump(2) << "\n";
    return a.usable() ? kOk : kNoDevice;
}

std::string accessText(const HidrawNode& n) {
    switch (n.access) {
    case NodeAccess::Usable:
        return "can be opened";
    case NodeAccess::Missing:
        return "has no device node (" + n.accessError + ")";
    case NodeAccess::NoPermission:
        return "cannot be opened: " + n.accessError + " (owner uid " + std::to_string(n.ownerUid) +
               ", group gid " + std::to_string(n.groupGid) + ", mode " + octal(n.mode) +
               (n.acl ? ", with an access list" : ", no access list") + ")";
    case NodeAccess::Busy:
        return "is held by another program (" + n.accessError + ")";
    case NodeAccess::Failed:
        break;
    }
    return "cannot be opened: " + n.accessError;
}

} // namespace

HidrawRoots& doctorRoots() {
    static HidrawRoots roots;
    return roots;
}

int commandDoctor(Context& ctx, std::ostream& out, std::ostream&) {
    const std::uint16_t vid = ctx.config().targetVendorId();
    const std::uint16_t pid = ctx.config().targetProductId();
    const HidrawAccess a = inspectHidrawAccess(vid, pid, doctorRoots());
    if (ctx.options().json) return doctorJson(a, vid, pid, out);
    out << "Mouse: vendor id " << hexValue(vid, 4) << ", product id " << hexValue(pid, 4) << "\n";
    if (a.nodes.empty()) out << "hidraw nodes: none of this mouse\n";
    for (const HidrawNode& n : a.nodes) {
        out << n.node << ": " << accessText(n) << "\n";
        if (!n.parent.empty()) out << "    device " << n.parent << "\n";
        out << "    ";
        if (!n.descriptorRead)
            out << "report descriptor could not be read";
        else
            out << "feature reports " << n.featureReportLength << " bytes"
                << (n.featureReportLength == 8 ? "" : " (8 expected)")
                << (n.commandAndDataReports ? ", command and data reports"
                                            : ", no command and data reports");
        out << "\n";
        if (n.access != NodeAccess::Missing)
            out << "    udev: " << udevText(n) << "\n    access list: " << aclText(n) << "\n";
    }
    if (a.rules.empty()) out << "udev rule: none names this mouse\n";
    for (const auto& rule : a.rules)
        out << "udev rule: " << rule.string()
            << (a.rulesGrantSeatAccess ? " (gives the mouse to the user at the seat)" : "") << "\n";
    out << "session: "
        << (a.sessionHasSeat ? "has a seat (local login)" : "no seat (remote or container?)")
        << (a.runningAsRoot ? ", running as root" : "") << "\n";
    if (a.usable()) {
        out << "result: the mouse can be used\n";
        return kOk;
    }
    out << "result: the mouse cannot be used yet\n";
    for (const std::string& line : hidrawAdvice(a))
        out << "  - " << line << "\n";
    return kNoDevice;
}

} // namespace orlixctl
