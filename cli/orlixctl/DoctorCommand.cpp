// `doctor`: can this user reach the mouse, and if not, why not and what to do. Looks at the
// system only; it sends nothing to the mouse.
#include "Commands.h"
#include "Context.h"

#include "device/posix/HidrawAccess.h"

#include <ostream>

namespace orlixctl {

using namespace orlix;
using namespace orlix::device;

namespace {

std::string accessText(const HidrawNode& n) {
    switch (n.access) {
    case NodeAccess::Usable:
        return "can be opened";
    case NodeAccess::Missing:
        return "has no device node (" + n.accessError + ")";
    case NodeAccess::NoPermission:
        return "cannot be opened: " + n.accessError + " (owner uid " + std::to_string(n.ownerUid) +
               ", group gid " + std::to_string(n.groupGid) + ", mode " +
               hexValue(n.mode, 4).replace(0, 2, "0") +
               (n.acl ? ", with an access list" : ", no access list") + ")";
    case NodeAccess::Busy:
        return "is held by another program (" + n.accessError + ")";
    case NodeAccess::Failed:
        break;
    }
    return "cannot be opened: " + n.accessError;
}

} // namespace

int commandDoctor(Context& ctx, std::ostream& out, std::ostream&) {
    const std::uint16_t vid = ctx.config().targetVendorId();
    const std::uint16_t pid = ctx.config().targetProductId();
    const HidrawAccess a = inspectHidrawAccess(vid, pid);
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
