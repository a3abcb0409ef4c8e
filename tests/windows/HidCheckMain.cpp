// orlix-hidcheck: the Windows build's smoke test. It lists the HID interfaces the native
// backend sees, and runs identification, a full read, a write and a read-back against the
// simulated mouse of a macro kind. Exit status 0 when every step behaved.

#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/SimulatedMouse.h"
#include "device/windows/WindowsHidBackend.h"
#include "model/Configuration.h"

#include <cstdio>
#include <cstring>
#include <vector>

using namespace orlix;
using namespace orlix::device;

namespace {

// A small valid image: the mouse's ids, data type 0x1D, identity FF FF, sealed sections.
std::vector<std::uint8_t> checkImage() {
    std::vector<std::uint8_t> img(256, 0x00);
    img[1] = 0x1D;
    img[2] = 0x1B;
    img[3] = 0xCF;
    img[4] = 0x08;
    img[5] = 0xA6;
    img[9] = 0xFF; // lighting not used
    for (std::size_t i = 10; i < 14; ++i)
        img[i] = static_cast<std::uint8_t>(2 * i - 16);
    img[28] = 0x02;
    img[83] = 0xFF;
    img[84] = 0xFF;
    for (std::size_t n = 0; n < 4; ++n) {
        img[93 + 4 * n] = 0x06;
        img[94 + 4 * n] = 0x12;
        img[96 + 4 * n] = static_cast<std::uint8_t>(0x10 * (n + 1));
    }
    for (std::size_t k = 0; k < 36; ++k)
        img[110 + 4 * k] = 0x01, img[111 + 4 * k] = 0x01;
    const std::pair<std::size_t, std::size_t> sections[] = {{0, 26}, {27, 4},  {85, 3},
                                                            {89, 3}, {93, 16}, {110, 144}};
    for (auto [start, length] : sections) {
        sealSection(std::span<std::uint8_t>(img.data() + start, length + 1));
    }
    img[255] = 0xFF;
    return img;
}

bool step(bool ok, const char* what) {
    std::printf("%-44s %s\n", what, ok ? "ok" : "FAILED");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const bool listOnly = argc > 1 && std::strcmp(argv[1], "--list") == 0;

    WindowsHidBackend hid;
    std::printf("setupapi.dll: %s, hid.dll: %s\n",
                WindowsHidBackend::setupApiLoaded() ? "loaded" : "missing",
                WindowsHidBackend::hidLoaded() ? "loaded" : "missing");
    std::printf("HID interfaces that open: %d\n", hid.countInterfaces());
    for (const HidInterfaceInfo& info : hid.enumerate()) {
        std::printf("  %04X:%04X feature %3u  %s\n", info.vendorId, info.productId,
                    info.featureReportLength, info.path.c_str());
    }
    if (listOnly) return 0;

    const std::vector<std::uint8_t> resource = checkImage();
    std::array<std::uint8_t, 256> image{};
    std::copy(resource.begin(), resource.end(), image.begin());
    SimulatedMouse mouse(SimulatedMouse::macroMouse(image));
    DeviceLink link(mouse);
    Configuration config(Edition::Editor);
    MapTextSource texts;
    config.startUp(resource, texts);
    DeviceSession session(link, config);
    session.takeTargetsFromDefaults();

    bool ok = step(link.openDevice(0x1BCF, 0x08A6) && link.isOpen(), "open the simulated mouse");
    ok = ok && step(session.identify().result == IdentifyResult::Accepted, "identify");
    ok =
        ok && step(session.readAll(texts, {}, ReadScope::Everything).reports == reports::kReadMacro,
                   "read 4926 reports");
    ok = ok && step(config.setAssignment(0, 4, "09010000"), "assign CPI + to key 5");
    // Sector 0x60 only: an erase, image and table quarters, their read-back, the reload.
    ok = ok && step(session.writeAll(texts).reports == 1 + 38 + 4 * 38 + 38 + 148 + 1,
                    "write the image's sector, read it back, reload");
    ok = ok && step(mouse.violations().empty(), "no protocol violation");
    ok = ok && step(mouse.memory()[0x6000 + 126] == 0x09, "key 5 stored in the mouse");
    return ok ? 0 : 1;
}
