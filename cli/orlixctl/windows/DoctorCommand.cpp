// `doctor` on Windows: the HID interfaces of this mouse as the system lists them, and whether
// each can be opened. Looks at the system only; it sends nothing to the mouse.
#include "Commands.h"
#include "Context.h"

#include "device/HidBackend.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace orlixctl {

using namespace orlix;

namespace {

struct Interface {
    std::string path;
    std::size_t featureReportLength = 0;
    bool opens = false;
};

std::vector<Interface> interfacesOf(std::uint16_t vid, std::uint16_t pid) {
    auto backend = device::makeSystemHidBackend();
    std::vector<Interface> found;
    for (const device::HidInterfaceInfo& i : backend->enumerate()) {
        if (i.vendorId != vid || i.productId != pid) continue;
        Interface f{i.path, i.featureReportLength, false};
        const device::HidHandle h = backend->open(i.path);
        if (h != device::kNoHandle) {
            backend->close(h);
            f.opens = true;
        }
        found.push_back(f);
    }
    return found;
}

std::string advice(const std::vector<Interface>& found) {
    return found.empty()
               ? "plug the mouse in (another USB port if it is in one already) and try again"
               : "close other programs that use the mouse's settings, then try again";
}

} // namespace

int commandDoctor(Context& ctx, std::ostream& out, std::ostream&) {
    const std::uint16_t vid = ctx.config().targetVendorId();
    const std::uint16_t pid = ctx.config().targetProductId();
    const std::vector<Interface> found = interfacesOf(vid, pid);
    bool usable = false;
    for (const Interface& i : found)
        usable = usable || i.opens;
    if (ctx.options().json) {
        using J = nlohmann::ordered_json;
        J interfaces = J::array();
        for (const Interface& i : found)
            interfaces.push_back({{"path", i.path},
                                  {"featureReportLength", i.featureReportLength},
                                  {"opens", i.opens}});
        const J j{{"vendorId", hexValue(vid, 4)},
                  {"productId", hexValue(pid, 4)},
                  {"interfaces", interfaces},
                  {"usable", usable},
                  {"advice", usable ? J::array() : J::array({advice(found)})}};
        out << j.dump(2) << "\n";
        return usable ? kOk : kNoDevice;
    }
    out << "Mouse: vendor id " << hexValue(vid, 4) << ", product id " << hexValue(pid, 4) << "\n";
    for (const Interface& i : found)
        out << i.path << ": feature reports " << i.featureReportLength
            << " bytes with the report id, " << (i.opens ? "can be opened" : "cannot be opened")
            << "\n";
    if (found.empty()) out << "HID interfaces: none of this mouse\n";
    if (usable) {
        out << "result: the mouse can be used\n";
        return kOk;
    }
    out << "result: the mouse cannot be used yet\n  - " << advice(found) << "\n";
    return kNoDevice;
}

} // namespace orlixctl
