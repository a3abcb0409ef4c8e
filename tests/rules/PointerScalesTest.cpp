// The pointer scales of the Advanced page over a store, without widgets.
#include "rules/PointerScales.h"
#include "platform/PointerSettings.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orlix;
using pages::PointerScales;
using platform::PointerSetting;
using platform::PointerUpdate;
using platform::PointerValues;

namespace {

// The system's side of the scales: values it holds, which settings it has, and every update
// it was asked to apply.
class RecordingStore : public platform::PointerSettingsStore {
public:
    bool supports(PointerSetting s) const override { return s != unsupported; }
    PointerValues read() override { return system; }
    platform::PointerResult apply(const PointerUpdate& update) override {
        applied.push_back(update);
        return {};
    }

    PointerValues system;
    std::optional<PointerSetting> unsupported;
    std::vector<PointerUpdate> applied;
};

PointerValues values(std::optional<int> speed, std::optional<int> doubleClick,
                     std::optional<int> wheel) {
    PointerValues v;
    v.speed = speed;
    v.doubleClick = doubleClick;
    v.wheelLines = wheel;
    return v;
}

} // namespace

TEST(PointerScales, TablesMapEveryStepBothWays) {
    const std::array<int, 10> speed{1, 2, 4, 6, 8, 10, 12, 14, 16, 18};
    const std::array<int, 10> doubleClick{900, 830, 760, 690, 620, 550, 480, 410, 340, 270};
    EXPECT_EQ(PointerScales::table(PointerSetting::Speed), speed);
    EXPECT_EQ(PointerScales::table(PointerSetting::DoubleClick), doubleClick);
    for (PointerSetting s : platform::kPointerSettings) {
        const auto& t = PointerScales::table(s);
        for (int step = 1; step <= 10; ++step)
            EXPECT_EQ(PointerScales::stepFor(s, t[static_cast<std::size_t>(step - 1)]), step);
    }
    for (int step = 1; step <= 10; ++step)
        EXPECT_EQ(
            PointerScales::table(PointerSetting::WheelLines)[static_cast<std::size_t>(step - 1)],
            step);
    // Values between and beyond the table's have no step.
    for (int v : {0, 3, 5, 11, 17, 19, 20})
        EXPECT_EQ(PointerScales::stepFor(PointerSetting::Speed, v), 0) << v;
    for (int v : {0, 269, 271, 500, 899, 901})
        EXPECT_EQ(PointerScales::stepFor(PointerSetting::DoubleClick, v), 0) << v;
    for (int v : {0, 11, -1})
        EXPECT_EQ(PointerScales::stepFor(PointerSetting::WheelLines, v), 0) << v;
}

TEST(PointerScales, StartUpReadShowsTableValuesAndLeavesOthersAtZero) {
    RecordingStore store;
    store.system = values(10, 500, 3);
    PointerScales scales(&store);
    EXPECT_EQ(scales.pointerSpeedStep(), 0);
    scales.read();
    EXPECT_EQ(scales.pointerSpeedStep(), 6);
    EXPECT_EQ(scales.doubleClickStep(), 0);
    EXPECT_EQ(scales.scrollLinesStep(), 3);
    EXPECT_EQ(scales.remembered(PointerSetting::DoubleClick), 500);

    // Apply without touching the double-click scale: its own value is only re-applied.
    ASSERT_TRUE(scales.apply().ok());
    ASSERT_EQ(store.applied.size(), 1u);
    EXPECT_EQ(store.applied[0].write, values(10, std::nullopt, 3));
    EXPECT_EQ(store.applied[0].reapply, values(std::nullopt, 500, std::nullopt));
}

TEST(PointerScales, ClickedStepIsWrittenOnlyAtApply) {
    RecordingStore store;
    store.system = values(10, 500, 3);
    PointerScales scales(&store);
    scales.read();
    EXPECT_TRUE(scales.click(PointerSetting::Speed, 9));
    EXPECT_TRUE(scales.click(PointerSetting::DoubleClick, 10));
    EXPECT_TRUE(store.applied.empty());
    scales.apply();
    ASSERT_EQ(store.applied.size(), 1u);
    EXPECT_EQ(store.applied[0].write, values(16, 270, 3));
    EXPECT_EQ(store.applied[0].reapply, PointerValues{});
    EXPECT_EQ(scales.remembered(PointerSetting::Speed), 16);

    scales.click(PointerSetting::DoubleClick, 1);
    scales.apply();
    EXPECT_EQ(store.applied.back().write.doubleClick, 900);
}

TEST(PointerScales, StepBoundsAndUnsupportedSettings) {
    RecordingStore store;
    store.unsupported = PointerSetting::WheelLines;
    store.system = values(std::nullopt, std::nullopt, 4);
    PointerScales scales(&store);
    scales.read();
    EXPECT_EQ(scales.scrollLinesStep(), 0); // not taken from an unsupported setting
    EXPECT_FALSE(scales.supported(PointerSetting::WheelLines));
    EXPECT_FALSE(scales.click(PointerSetting::WheelLines, 3));
    EXPECT_FALSE(scales.click(PointerSetting::Speed, 0));
    EXPECT_FALSE(scales.click(PointerSetting::Speed, 11));
    EXPECT_EQ(scales.pointerSpeedStep(), 0);
    EXPECT_TRUE(scales.click(PointerSetting::Speed, 1));
    EXPECT_TRUE(scales.click(PointerSetting::Speed, 10));
    EXPECT_EQ(scales.pointerSpeedStep(), 10);
    EXPECT_EQ(scales.pendingUpdate().write, values(18, std::nullopt, std::nullopt));

    PointerScales none(nullptr);
    EXPECT_FALSE(none.supported(PointerSetting::Speed));
    EXPECT_FALSE(none.click(PointerSetting::Speed, 5));
    EXPECT_TRUE(none.apply().ok());
}

TEST(PointerScales, NothingReadNothingChosenNothingApplied) {
    RecordingStore store; // the system has none of the values
    PointerScales scales(&store);
    scales.read();
    EXPECT_TRUE(scales.pendingUpdate().empty());
}

TEST(PointerScales, ForeignValueAfterAClickLeavesTheUsersValue) {
    RecordingStore store;
    store.system = values(10, 550, 3);
    PointerScales scales(&store);
    scales.read();
    EXPECT_EQ(scales.doubleClickStep(), 6);
    scales.click(PointerSetting::DoubleClick, 5);
    // The user changed the setting elsewhere before the next read from the mouse.
    store.system = values(std::nullopt, 505, std::nullopt);
    scales.read();
    EXPECT_EQ(scales.doubleClickStep(), 0);
    EXPECT_EQ(scales.pointerSpeedStep(), 6); // a missing value changes nothing
    EXPECT_EQ(scales.remembered(PointerSetting::Speed), 10);
    const auto update = scales.pendingUpdate();
    EXPECT_FALSE(update.write.doubleClick.has_value());
    EXPECT_EQ(update.reapply.doubleClick, 505);
}

TEST(PointerScales, FileStoreRoundTripAndClicksWithoutApplyWriteNothing) {
    const auto dir = test::scratchDir("pointer-scales");
    platform::FilePointerSettingsStore store(dir / "pointer-settings");
    PointerUpdate first;
    first.write = values(10, 500, 3);
    ASSERT_TRUE(store.apply(first).ok());

    PointerScales scales(&store);
    scales.read();
    scales.click(PointerSetting::WheelLines, 7);
    EXPECT_EQ(store.read(), values(10, 500, 3));
    scales.apply();
    EXPECT_EQ(store.read(), values(10, 500, 7));
}
