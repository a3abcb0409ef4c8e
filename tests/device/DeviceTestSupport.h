#pragma once

#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/SimulatedMouse.h"
#include "model/Configuration.h"
#include "support/DefaultImages.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace orlix::device::testing {

using orlix::test::defaultImage;
using orlix::test::defaultResource;

// The frames of the simulated mouse as "set 40 04 ..." lines, for readable comparisons.
inline std::string frameText(const SimulatedMouse::Frame& f) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s = f.set ? "set" : "get";
    for (std::uint8_t b : f.bytes) {
        s += ' ';
        s += kDigits[b >> 4];
        s += kDigits[b & 0x0F];
    }
    if (!f.ok) s += " failed";
    return s;
}

inline std::vector<std::string> frameTexts(const SimulatedMouse& mouse) {
    std::vector<std::string> out;
    for (const auto& f : mouse.frames())
        out.push_back(frameText(f));
    return out;
}

inline std::size_t countFrames(const SimulatedMouse& mouse) {
    return mouse.frames().size();
}

// A program with its configuration, link and session around one simulated mouse, started
// the way the window starts: default resource loaded, targets taken from it.
struct Rig {
    explicit Rig(SimulatedMouse::Settings settings,
                 std::vector<std::uint8_t> resource = defaultResource(),
                 Edition edition = Edition::Editor)
        : resourceBytes(std::move(resource)), mouse(std::move(settings)), link(mouse),
          config(edition), session(link, config) {
        config.startUp(resourceBytes, texts);
        session.takeTargetsFromDefaults();
    }

    // Opens, identifies and reads, as the window does with a mouse it found.
    void openIdentifyRead() {
        ASSERT_EQ(openAndIdentify().result, IdentifyResult::Accepted);
        ASSERT_EQ(session.readAll(texts).result, TransferResult::Done);
        mouse.clearFrames();
    }

    bool open() { return link.openDevice(link.targets()[0].vendorId, link.targets()[0].productId); }

    // Opens and identifies; the frames recorded afterwards belong to what the test does next.
    Identification openAndIdentify() {
        EXPECT_TRUE(open());
        Identification id = session.identify();
        mouse.recordFrames(true);
        mouse.clearFrames();
        return id;
    }

    std::vector<std::uint8_t> resourceBytes;
    SimulatedMouse mouse;
    DeviceLink link;
    MapTextSource texts;
    Configuration config;
    DeviceSession session;
};

} // namespace orlix::device::testing
