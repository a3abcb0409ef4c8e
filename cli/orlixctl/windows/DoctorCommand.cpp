// `doctor` on Windows: the HID interfaces of this mouse as the system lists them, and whether
// each can be opened. Looks at the system only; it sends nothing to the mouse.
#include "Commands.h"
#include "Context.h"

#include "device/HidBackend.h"

#include <ostream>

namespace orlixctl {

using namespace orlix;

int commandDoctor(Context& ctx, std::ostream& out, std::ostream&) {
    const std::uint16_t vid = ctx.config().targetVendorId();
    const std::uint16_t pid = ctx.config().targetProductId();
    out << "Mouse: vendor id " << hexValue(vid, 4) << ", product id " << hexValue(pid, 4) << "\n";
    auto backend = device::makeSystemHidBackend();
    int found = 0;
    int usable = 0;
    for (const device::HidInterfaceInfo& i : backend->enumerate()) {
        if (i.vendorId != vid || i.productId != pid) continue;
        ++found;
        out << i.path << ": feature reports " << i.featureReportLength
            << " bytes with the report id, ";
        const device::HidHandle h = backend->open(i.path);
        if (h == device::kNoHandle) {
            out << "cannot be opened\n";
            continue;
        }
        backend->close(h);
        ++usable;
        out << "can be opened\n";
    }
    if (found == 0) out << "HID interfaces: none of this mouse\n";
    if (usable > 0) {
        out << "result: the mouse can be used\n";
        return kOk;
    }
    out << "result: the mouse cannot be used yet\n";
    if (found == 0)
        out << "  - plug the mouse in (another USB port if it is in one already) and try again\n";
    else
        out << "  - close other programs that use the mouse's settings, then try again\n";
    return kNoDevice;
}

} // namespace orlixctl
