#include "macro/MacroRecorder.h"
#include "macro/MacroCodec.h"

#include <gtest/gtest.h>

using namespace orlix;

namespace {

using Lines = std::vector<std::string>;

// A recorder on a clock the test moves by hand.
struct Rig {
    std::uint32_t now = 1000;
    MacroRecorder recorder{[this] { return now; }};

    RecordStep down(TKeyboardHookKey key, TKeyboardHookKey named = kh_None) {
        return recorder.key({key, named == kh_None ? key : named, KeyTransition::Down});
    }
    RecordStep up(TKeyboardHookKey key, TKeyboardHookKey named = kh_None) {
        return recorder.key({key, named == kh_None ? key : named, KeyTransition::Up});
    }
    RecordStep tap(TKeyboardHookKey key) {
        down(key);
        return up(key);
    }
    RecordStep button(MouseButton b, bool pressed) { return recorder.mouseButton({b, pressed}); }
    const Lines& events() const { return recorder.script().events; }
};

RecordingSettings mode(DelayMode m, int delay = 50) {
    return {m, delay};
}

const std::string kPressA = "1 A CODE:8204";
const std::string kReleaseA = "2 A CODE:0204";
const std::string kPressB = "1 B CODE:8205";
const std::string kReleaseB = "2 B CODE:0205";

} // namespace

TEST(MacroRecorder, RecordDelayWritesTheMeasuredTimeBetweenEvents) {
    Rig r;
    ASSERT_TRUE(r.recorder.startNormal(mode(DelayMode::RecordDelay)));
    r.down(kh_A);
    r.now += 250;
    r.up(kh_A);
    EXPECT_EQ(r.recorder.script().header, "10");
    EXPECT_EQ(r.events(), (Lines{kPressA, "0 250", kReleaseA}));

    // No time passed: no delay entry.
    r.down(kh_B);
    r.up(kh_B);
    EXPECT_EQ(r.events(), (Lines{kPressA, "0 250", kReleaseA, kPressB, kReleaseB}));
}

TEST(MacroRecorder, ATickOfZeroIsAnOrdinaryTimeAndTheClockMayWrap) {
    Rig r;
    r.now = 0;
    r.recorder.startNormal(mode(DelayMode::RecordDelay));
    r.down(kh_A);
    r.now = 100;
    r.up(kh_A);
    EXPECT_EQ(r.events(), (Lines{kPressA, "0 100", kReleaseA}));

    Rig w;
    w.now = 0xFFFFFFF0u;
    w.recorder.startNormal(mode(DelayMode::RecordDelay));
    w.down(kh_A);
    w.now = 0x10;
    w.up(kh_A);
    EXPECT_EQ(w.events(), (Lines{kPressA, "0 32", kReleaseA}));
}

TEST(MacroRecorder, PausesAboveTheCapBecomeOneDelayOf65535) {
    Rig r;
    r.recorder.startNormal(mode(DelayMode::RecordDelay));
    r.down(kh_A);
    r.now += 65535;
    r.up(kh_A);
    r.now += 65536;
    r.button(MouseButton::Right, true);
    r.now += 3'600'000;
    r.button(MouseButton::Right, false);
    EXPECT_EQ(r.events(), (Lines{kPressA, "0 65535", kReleaseA, "0 65535", "1 RightKey CODE:00A2",
                                 "0 65535", "2 RightKey CODE:0022"}));
}

TEST(MacroRecorder, DefaultDelayPrecedesEveryEventButTheFirst) {
    Rig r;
    r.recorder.startNormal(mode(DelayMode::DefaultDelay, 50));
    r.down(kh_A);
    r.now += 7;
    r.button(MouseButton::Middle, true);
    r.button(MouseButton::Middle, false);
    r.now += 900;
    r.up(kh_A);
    EXPECT_EQ(r.recorder.script().header, "0150");
    EXPECT_EQ(r.events(), (Lines{kPressA, "0 50", "1 MiddleKey CODE:00A4", "0 50",
                                 "2 MiddleKey CODE:0024", "0 50", kReleaseA}));
    // The encoded body decodes back into the same mode.
    auto body = encodeScript(r.recorder.script());
    auto d = decodeBody(body.bytes, body.bytes.size());
    EXPECT_EQ(d.mode, DelayMode::RecordDelay); // three delays only: the fourth counts as 0
    EXPECT_EQ(d.script.events, r.events());

    // The default delay is kept within the field's bounds.
    Rig low;
    low.recorder.startNormal(mode(DelayMode::DefaultDelay, 0));
    low.tap(kh_A);
    EXPECT_EQ(low.recorder.script().header, "011");
    EXPECT_EQ(low.events()[1], "0 1");
    Rig high;
    high.recorder.startNormal(mode(DelayMode::DefaultDelay, 70000));
    high.tap(kh_A);
    EXPECT_EQ(high.events()[1], "0 65530");
}

TEST(MacroRecorder, NoDelayWritesNoDelaysAndHeader00) {
    Rig r;
    r.recorder.startNormal(mode(DelayMode::NoDelay));
    r.down(kh_A);
    r.now += 300;
    r.button(MouseButton::Forward, true);
    r.now += 300;
    r.button(MouseButton::Forward, false);
    r.up(kh_A);
    EXPECT_EQ(r.recorder.script().header, "00");
    EXPECT_EQ(r.events(),
              (Lines{kPressA, "1 Forward CODE:00A8", "2 Forward CODE:0028", kReleaseA}));
}

TEST(MacroRecorder, KeysRollPressOnlyWhenUpReleaseOnlyWhenHeld) {
    Rig r;
    // A key held before the start: its release is not recorded.
    r.recorder.startNormal(mode(DelayMode::NoDelay));
    r.up(kh_Z);
    // Auto-repeat, as a repeat or as further downs, records one press.
    r.down(kh_A);
    r.recorder.key({kh_A, kh_A, KeyTransition::Repeat});
    r.down(kh_A);
    r.down(kh_A);
    // Holding A, B pressed and released, then A released.
    r.down(kh_B);
    r.up(kh_B);
    r.up(kh_A);
    r.up(kh_A); // a second release of a key no longer held
    EXPECT_EQ(r.events(), (Lines{kPressA, kPressB, kReleaseB, kReleaseA}));

    // Overlapping keys: A down, B down, A up, B up.
    Rig o;
    o.recorder.startNormal(mode(DelayMode::NoDelay));
    o.down(kh_A);
    o.down(kh_B);
    o.up(kh_A);
    o.up(kh_B);
    EXPECT_EQ(o.events(), (Lines{kPressA, kPressB, kReleaseA, kReleaseB}));
    EXPECT_EQ(o.recorder.pressCount(), 2u);
    EXPECT_EQ(o.recorder.releaseCount(), 2u);
}

TEST(MacroRecorder, ModifiersAreCodesOfTheirOwnAndBothSidesAreOneModifier) {
    Rig r;
    r.recorder.startNormal(mode(DelayMode::NoDelay));
    r.down(kh_LControl, kh_Control);
    r.down(kh_RControl, kh_Control); // the same modifier: already held
    r.up(kh_LControl, kh_Control);
    r.up(kh_RControl, kh_Control);
    r.down(kh_RShift, kh_Shift);
    r.up(kh_RShift, kh_Shift);
    r.down(kh_RAlt, kh_Alt);
    r.up(kh_RAlt, kh_Alt);
    r.down(kh_LWIN);
    r.up(kh_LWIN);
    r.down(kh_RWIN);
    r.up(kh_RWIN);
    EXPECT_EQ(r.events(), (Lines{"1 Ctrl CODE:8101", "2 Ctrl CODE:0101", "1 Shift CODE:8102",
                                 "2 Shift CODE:0102", "1 Alt CODE:8104", "2 Alt CODE:0104",
                                 "1 Left Windows CODE:8108", "2 Left Windows CODE:0108",
                                 "1 Right Windows CODE:8180", "2 Right Windows CODE:0180"}));
}

TEST(MacroRecorder, UsageComesFromThePositionAndTheNameFromTheLayout) {
    Rig r;
    r.recorder.startNormal(mode(DelayMode::NoDelay));
    // AZERTY: the key at the Q position types A.
    r.down(kh_Q, kh_A);
    r.up(kh_Q, kh_A);
    // German: the key at the Y position types Z.
    r.down(kh_Y, kh_Z);
    r.up(kh_Y, kh_Z);
    // Keys without a usage are not recorded; a key the layout cannot name takes the
    // usage's name; an unknown position falls back to the layout's key.
    r.tap(kh_OEM_8);
    r.tap(kh_Launch_App1);
    r.recorder.key({kh_Separator, kh_Return_KP, KeyTransition::Down});
    r.recorder.key({kh_None, kh_B, KeyTransition::Down});
    EXPECT_EQ(r.events(), (Lines{"1 A CODE:8214", "2 A CODE:0214", "1 Z CODE:821C", "2 Z CODE:021C",
                                 "1 Separator (numeric pad) CODE:8258", kPressB}));
}

TEST(MacroRecorder, LeftClicksOverTheRecordButtonAreNotRecorded) {
    Rig r;
    r.recorder.startNormal(mode(DelayMode::NoDelay));
    r.recorder.setPointerOverRecordButton(true);
    r.button(MouseButton::Left, true);
    r.button(MouseButton::Left, false);
    r.button(MouseButton::Right, true);
    r.button(MouseButton::Right, false);
    r.recorder.setPointerOverRecordButton(false);
    r.button(MouseButton::Left, true);
    r.button(MouseButton::Backward, true);
    EXPECT_EQ(r.events(), (Lines{"1 RightKey CODE:00A2", "2 RightKey CODE:0022",
                                 "1 LeftKey CODE:00A1", "1 Backward CODE:00B0"}));
}

TEST(MacroRecorder, The101stPressAndItsReleaseAreDroppedAndThe100thReleaseStops) {
    Rig r;
    r.recorder.startNormal(mode(DelayMode::NoDelay));
    const TKeyboardHookKey keys[] = {kh_C, kh_D, kh_E};
    for (int i = 0; i < 99; ++i)
        EXPECT_FALSE(r.tap(keys[i % 3]).stopped);
    EXPECT_EQ(r.recorder.pressCount(), 99u);
    r.down(kh_A); // the 100th press
    auto refused = r.down(kh_B);
    EXPECT_EQ(refused.linesAdded, 0u);
    EXPECT_EQ(r.up(kh_B).linesAdded, 0u);
    // Mouse buttons are not counted.
    r.button(MouseButton::Right, true);
    r.button(MouseButton::Right, false);
    EXPECT_TRUE(r.recorder.active());
    auto last = r.up(kh_A);
    EXPECT_TRUE(last.stopped);
    EXPECT_FALSE(r.recorder.active());
    EXPECT_EQ(r.recorder.stopReason(), StopReason::ReleaseLimit);
    EXPECT_EQ(r.recorder.stopMessageId(), nullptr);
    EXPECT_TRUE(r.recorder.atLimits());
    EXPECT_EQ(r.recorder.script().pressCount(), 101u); // 100 keys and the right button
    EXPECT_EQ(r.events().back(), kReleaseA);
    // Nothing is recorded after the stop.
    r.tap(kh_B);
    EXPECT_EQ(r.events().back(), kReleaseA);
}

TEST(MacroRecorder, StopsBeforeAnEventThatWouldNotFitTheBody) {
    // No Delay: 511 right clicks take 1022 bytes; the 512th press would leave no room for its
    // release, so the recording stops before it and every press keeps its release.
    Rig r;
    r.recorder.startNormal(mode(DelayMode::NoDelay));
    for (int i = 0; i < 1022; ++i) {
        auto step = r.button(MouseButton::Right, i % 2 == 0);
        ASSERT_FALSE(step.stopped) << i;
    }
    auto step = r.button(MouseButton::Right, true);
    EXPECT_TRUE(step.stopped);
    EXPECT_EQ(step.linesAdded, 0u);
    EXPECT_FALSE(r.recorder.active());
    EXPECT_EQ(r.recorder.stopReason(), StopReason::Full);
    EXPECT_STREQ(r.recorder.stopMessageId(), "Str027");
    EXPECT_EQ(r.events().size(), 1022u);
    EXPECT_EQ(r.events().back(), mouseButtonLine(MouseButton::Right, false));
    EXPECT_EQ(encodeScript(r.recorder.script()).bytes.size(), 1023u);

    // Record Delay: a code and its delay go in together or not at all, and a press only with
    // room for its release and that release's delay.
    Rig d;
    d.recorder.startNormal(mode(DelayMode::RecordDelay));
    d.button(MouseButton::Right, true); // 1 byte
    for (int i = 0; i < 202; ++i) {     // 202 x (delay + button) = 808 bytes, right held
        d.now += 5;
        d.button(MouseButton::Right, i % 2 != 0);
    }
    for (int i = 0; i < 42; ++i) { // 42 x (delay + key) = 210 bytes: 1 + 808 + 210 + 1 = 1020
        d.now += 5;
        ASSERT_FALSE((i % 2 == 0 ? d.down(kh_A) : d.up(kh_A)).stopped) << i;
    }
    d.now += 5;
    // 5 more for A and 5 for its release would leave no room for the release of Right.
    auto full = d.down(kh_A);
    EXPECT_TRUE(full.stopped);
    EXPECT_EQ(full.linesAdded, 1u); // the release of Right, added at the stop
    EXPECT_EQ(d.events().back(), mouseButtonLine(MouseButton::Right, false));
    auto body = encodeScript(d.recorder.script());
    ASSERT_TRUE(body.ok());
    EXPECT_EQ(body.bytes.size(), 1021u);
}

TEST(MacroRecorder, ARecordingThatStopsBySelfLeavesNothingHeld) {
    // Each row fills the body (No Delay) while some keys and buttons are down, then the next
    // press does not fit: every press in the script has its release after it.
    struct Row {
        const char* name;
        int filler; // right clicks before the held events
        std::vector<TKeyboardHookKey> keysHeld;
        std::vector<MouseButton> buttonsHeld;
    };
    const Row rows[] = {
        {"nothing held", 510, {}, {}},
        {"one key", 509, {kh_A}, {}},
        {"a modifier and a key", 507, {kh_LShift, kh_B}, {}},
        {"a button and a key", 508, {kh_A}, {MouseButton::Middle}},
        {"two buttons", 509, {}, {MouseButton::Left, MouseButton::Backward}},
    };
    for (const Row& row : rows) {
        Rig r;
        r.recorder.startNormal(mode(DelayMode::NoDelay));
        for (int i = 0; i < row.filler; ++i) {
            r.button(MouseButton::Right, true);
            r.button(MouseButton::Right, false);
        }
        for (MouseButton b : row.buttonsHeld)
            r.button(b, true);
        for (TKeyboardHookKey k : row.keysHeld)
            r.down(k);
        RecordStep step;
        for (int i = 0; i < 8 && r.recorder.active(); ++i) {
            step = r.button(MouseButton::Forward, true);
            if (r.recorder.active()) r.button(MouseButton::Forward, false);
        }
        EXPECT_FALSE(r.recorder.active()) << row.name;
        EXPECT_EQ(r.recorder.stopReason(), StopReason::Full) << row.name;
        EXPECT_EQ(step.linesAdded, row.keysHeld.size() + row.buttonsHeld.size()) << row.name;
        const MacroScript& script = r.recorder.script();
        EXPECT_LE(script.encodedSize(), 1024u) << row.name;
        for (std::size_t k = 0; k < script.events.size(); ++k) {
            if (!script.events[k].starts_with('1')) continue;
            EXPECT_TRUE(script.partnerOf(k).has_value()) << row.name << " entry " << k;
        }
        EXPECT_EQ(script.pressCount(), script.releaseCount()) << row.name;
    }

    // The 100th key release stops the recording: a button still down is released with it.
    Rig limit;
    limit.recorder.startNormal(mode(DelayMode::NoDelay));
    limit.button(MouseButton::Right, true);
    for (int i = 0; i < 100; ++i)
        limit.tap(kh_A);
    EXPECT_EQ(limit.recorder.stopReason(), StopReason::ReleaseLimit);
    EXPECT_EQ(limit.events().back(), mouseButtonLine(MouseButton::Right, false));
}

TEST(MacroRecorder, EveryMeasuredMillisecondBecomesADelay) {
    // elapsed ms -> the delay line between press and release of A (none for 0)
    const std::pair<std::uint32_t, const char*> rows[] = {
        {0, nullptr}, {1, "0 1"}, {2, "0 2"}, {65535, "0 65535"}, {70000, "0 65535"}};
    for (const auto& [elapsed, line] : rows) {
        Rig r;
        r.recorder.startNormal(mode(DelayMode::RecordDelay));
        r.down(kh_A);
        r.now += elapsed;
        r.up(kh_A);
        const Lines expected = line ? Lines{kPressA, line, kReleaseA} : Lines{kPressA, kReleaseA};
        EXPECT_EQ(r.events(), expected) << elapsed;
    }
}

TEST(MacroRecorder, InsertFrontAndBackPlaceEventsInTheOrderTheyHappen) {
    MacroScript base;
    base.header = "10";
    base.events = {kPressA, "0 100", kReleaseA};

    Rig front;
    ASSERT_TRUE(
        front.recorder.startInsert(base, 1, InsertSide::Front, mode(DelayMode::RecordDelay)));
    EXPECT_TRUE(front.recorder.inserting());
    auto s1 = front.down(kh_B);
    EXPECT_EQ(s1.select, 2u); // the chosen entry, moved on by one
    front.now += 40;
    auto s2 = front.up(kh_B);
    EXPECT_EQ(s2.linesAdded, 2u);
    EXPECT_EQ(front.events(), (Lines{kPressA, kPressB, "0 40", kReleaseB, "0 100", kReleaseA}));
    EXPECT_EQ(front.recorder.pressCount(), 2u); // counted from the whole script

    Rig back;
    ASSERT_TRUE(back.recorder.startInsert(base, 1, InsertSide::Back, mode(DelayMode::NoDelay)));
    auto b1 = back.down(kh_B);
    EXPECT_EQ(b1.select, 2u); // the new entry
    auto b2 = back.button(MouseButton::Middle, true);
    EXPECT_EQ(b2.select, 3u);
    back.up(kh_B);
    EXPECT_EQ(back.events(),
              (Lines{kPressA, "0 100", kPressB, "1 MiddleKey CODE:00A4", kReleaseB, kReleaseA}));
    back.recorder.stop();
    EXPECT_EQ(back.recorder.stopReason(), StopReason::User);
    EXPECT_FALSE(back.recorder.inserting());
    EXPECT_EQ(back.recorder.takeScript().events.size(), 6u);
}

TEST(MacroRecorder, InsertNeedsAnEntryAndRoomInTheCounts) {
    MacroScript base;
    base.header = "00";
    base.events = {kPressA, kReleaseA};
    Rig r;
    EXPECT_FALSE(r.recorder.startInsert(base, 2, InsertSide::Back, {}));
    EXPECT_FALSE(r.recorder.startInsert(MacroScript{}, 0, InsertSide::Back, {}));

    MacroScript full;
    full.header = "00";
    for (int i = 0; i < 100; ++i)
        full.events.push_back(i % 2 ? "2 LeftKey CODE:0021" : "1 LeftKey CODE:00A1");
    full.events.push_back(kPressA);
    full.events.push_back(kReleaseA);
    EXPECT_TRUE(r.recorder.startInsert(full, 0, InsertSide::Back, {})); // 51 and 51
    r.recorder.stop();
    for (int i = 0; i < 49; ++i)
        full.events.push_back("1 RightKey CODE:00A2");
    EXPECT_FALSE(r.recorder.startInsert(full, 0, InsertSide::Back, {})); // 100 presses
    EXPECT_FALSE(r.recorder.active());

    // An insert recording stops at the script's 100th release.
    MacroScript near;
    near.header = "00";
    for (int i = 0; i < 99; ++i)
        near.events.push_back("2 LeftKey CODE:0021");
    Rig n;
    ASSERT_TRUE(n.recorder.startInsert(near, 98, InsertSide::Back, mode(DelayMode::NoDelay)));
    n.down(kh_A);
    auto step = n.up(kh_A);
    EXPECT_TRUE(step.stopped);
    EXPECT_EQ(n.recorder.stopReason(), StopReason::ReleaseLimit);
    EXPECT_EQ(n.recorder.releaseCount(), 100u);
}

TEST(MacroRecorder, StartAndStopFollowTheRecordersOwnState) {
    Rig r;
    EXPECT_FALSE(r.recorder.active());
    EXPECT_EQ(r.tap(kh_A).linesAdded, 0u); // nothing before a start
    ASSERT_TRUE(r.recorder.startNormal(mode(DelayMode::NoDelay)));
    EXPECT_FALSE(r.recorder.startNormal(mode(DelayMode::NoDelay))); // never a second one
    r.tap(kh_A);
    r.recorder.stop();
    r.recorder.stop();
    EXPECT_EQ(r.recorder.stopReason(), StopReason::User);
    EXPECT_EQ(r.events(), (Lines{kPressA, kReleaseA}));
    // A new recording starts from an empty script, and a recording without events stays empty.
    ASSERT_TRUE(r.recorder.startNormal(mode(DelayMode::NoDelay)));
    EXPECT_TRUE(r.recorder.script().empty());
    r.recorder.stop();
    EXPECT_TRUE(r.recorder.script().empty());
}
