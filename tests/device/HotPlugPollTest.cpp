#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

using namespace orlix::device;
using namespace orlix::device::testing;

namespace {

// A system whose interface count follows a script, one entry per count taken; the mouse
// brings its two collections, the rest are other devices.
struct ScriptedSystem {
    ScriptedSystem() : mouse(SimulatedMouse::basicMouse(defaultImage())), link(mouse) {
        link.targets()[0] = TargetId{0x1BCF, 0x08A6};
        mouse.onEnumerate([this](SimulatedMouse& m) {
            if (script.empty()) return;
            const int total = script[std::min(step, script.size() - 1)];
            ++step;
            const int mouseInterfaces = m.pluggedIn() ? 2 : 0;
            m.setOtherInterfaces(std::max(0, total - mouseInterfaces));
        });
        hooks.wait = [this](std::chrono::milliseconds ms) { waits.push_back(ms); };
        hooks.showNoDevice = [this] { ++noDevice; };
        hooks.identify = [this] { ++identified; };
    }
    void run(std::vector<int> counts) {
        script = std::move(counts);
        step = 0;
    }

    SimulatedMouse mouse;
    DeviceLink link;
    PollHooks hooks;
    std::vector<int> script;
    std::size_t step = 0;
    std::vector<std::chrono::milliseconds> waits;
    int noDevice = 0;
    int identified = 0;
};

} // namespace

TEST(HotPlugPoll, FiveSamplesOfTwoCountsDecide) {
    ScriptedSystem sys;
    sys.run({8});
    ASSERT_EQ(sys.link.poll(sys.hooks), PollResult::Acted);
    EXPECT_EQ(sys.link.lastInterfaceCount(), 8);
    EXPECT_EQ(sys.identified, 1);

    // (8,8) (8,9) (9,9) (9,9) (9,9): count 9, four samples agree: acts.
    sys.run({8, 8, 8, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Acted);
    EXPECT_EQ(sys.link.lastInterfaceCount(), 9);
    EXPECT_EQ(sys.identified, 2);

    // Counts that differ inside four of the five samples: judged again at the next tick.
    sys.run({9, 10, 10, 9, 9, 10, 10, 9, 10, 10});
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Unchanged);
    EXPECT_EQ(sys.link.lastInterfaceCount(), 9);

    // Exactly two agreeing samples are enough.
    sys.run({9, 10, 10, 9, 9, 10, 10, 10, 10, 10});
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Acted);
    EXPECT_EQ(sys.link.lastInterfaceCount(), 10);

    // The same count as last time changes nothing, however stable.
    sys.run({10});
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Unchanged);
    EXPECT_EQ(sys.identified, 3);
}

TEST(HotPlugPoll, NoInterfaceAtAllShowsNoDeviceOnce) {
    ScriptedSystem sys;
    sys.mouse.unplug();
    EXPECT_EQ(sys.link.lastInterfaceCount(), DeviceLink::kNotCounted);
    // The first count of zero is a change from "not counted": the window leaves start-up.
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Acted);
    EXPECT_EQ(sys.noDevice, 1);
    EXPECT_EQ(sys.identified, 0);
    EXPECT_EQ(sys.link.lastInterfaceCount(), 0);
    // Still nothing: the state stays, without a second pause or message.
    const auto waits = sys.waits.size();
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Unchanged);
    EXPECT_EQ(sys.noDevice, 1);
    EXPECT_EQ(sys.waits.size(), waits);
}

TEST(HotPlugPoll, MouseAbsentOtherDevicesPresentShowsNoDevice) {
    ScriptedSystem sys;
    ASSERT_TRUE(sys.link.openDevice(0x1BCF, 0x08A6));
    sys.mouse.unplug();
    sys.mouse.setOtherInterfaces(5);
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Acted);
    EXPECT_EQ(sys.waits, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(2000)});
    EXPECT_EQ(sys.noDevice, 1); // the empty second entry
    EXPECT_EQ(sys.identified, 0);
    EXPECT_FALSE(sys.link.isOpen());
    EXPECT_EQ(sys.mouse.openHandles(), 0u);
}

TEST(HotPlugPoll, TableIsWalkedInOrder) {
    ScriptedSystem sys;
    sys.link.targets()[1] = sys.link.targets()[0];
    sys.link.targets()[0] = TargetId{};
    std::vector<std::string> order;
    sys.hooks.showNoDevice = [&] { order.push_back("no device"); };
    sys.hooks.wait = [&](std::chrono::milliseconds) { order.push_back("wait"); };
    sys.hooks.identify = [&] { order.push_back(sys.link.isOpen() ? "identify open" : "identify"); };
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Acted);
    EXPECT_EQ(order, (std::vector<std::string>{"no device", "wait", "identify open"}));
}

TEST(HotPlugPoll, TickDuringAPollReturnsAtOnce) {
    ScriptedSystem sys;
    int nested = 0;
    sys.hooks.identify = [&] {
        EXPECT_TRUE(sys.link.pollRunning());
        EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Busy);
        ++nested;
    };
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Acted);
    EXPECT_EQ(nested, 1);
    EXPECT_FALSE(sys.link.pollRunning());
    EXPECT_EQ(sys.link.lastInterfaceCount(), 2);

    sys.mouse.unplug();
    sys.hooks.showNoDevice = [&] {
        const auto countsBefore = sys.link.lastInterfaceCount();
        EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Busy);
        EXPECT_EQ(sys.link.lastInterfaceCount(), countsBefore);
        ++nested;
    };
    sys.mouse.setOtherInterfaces(1);
    EXPECT_EQ(sys.link.poll(sys.hooks), PollResult::Acted);
    EXPECT_EQ(nested, 2);
}
