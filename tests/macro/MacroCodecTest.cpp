#include "macro/MacroCodec.h"
#include "model/AssignmentCodes.h"
#include "model/Hex.h"
#include "model/KeyTables.h"

#include <gtest/gtest.h>

#include <random>

using namespace orlix;

namespace {

using Bytes = std::vector<std::uint8_t>;

MacroScript scriptOf(std::vector<std::string> events, std::string header = "10") {
    MacroScript s;
    s.header = std::move(header);
    s.events = std::move(events);
    return s;
}

Bytes encoded(std::vector<std::string> events) {
    auto out = encodeScript(scriptOf(std::move(events)));
    EXPECT_TRUE(out.ok());
    return out.bytes;
}

DecodedBody decoded(const Bytes& body) {
    return decodeBody(body, body.size());
}

} // namespace

TEST(MacroCodec, EmptyScriptIsTheEndCodeAloneAndDecodesAsNoDelay) {
    MacroStore store;
    store.bodies[3].fill(0x77);
    auto r = ScriptToMacroBody(MacroScript{}, store, 3);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.length, 1u);
    EXPECT_EQ(r.hex, "00");
    EXPECT_EQ(store.bodyLength(3), 1);
    EXPECT_EQ(store.bodies[3][0], 0x00);
    EXPECT_EQ(store.bodies[3][1], 0x77); // bytes after the count keep their values

    auto d = MacroBodyToScript(store, 3);
    EXPECT_FALSE(d.empty);
    EXPECT_TRUE(d.script.events.empty());
    EXPECT_EQ(d.script.header, "00");
    EXPECT_EQ(d.mode, DelayMode::NoDelay);
    EXPECT_EQ(d.hex, "00");
}

TEST(MacroCodec, SingleLinesEncodeToTheirCodes) {
    EXPECT_EQ(encoded({"1 LeftKey CODE:00A1"}), (Bytes{0xA1, 0x00}));
    EXPECT_EQ(encoded({"1 A CODE:8204"}), (Bytes{0x82, 0x04, 0x00}));
    EXPECT_EQ(encoded({"0 300"}), (Bytes{0xFE, 0x01, 0x2C, 0x00}));
    EXPECT_EQ(encoded({"2 Ctrl CODE:0101"}), (Bytes{0x01, 0x01, 0x00}));
    // Lower-case digits are read as well; the name is free text.
    EXPECT_EQ(encoded({"2 what ever CODE:02e1"}), (Bytes{0x02, 0xE1, 0x00}));
}

TEST(MacroCodec, DelaysAreClampedToWhatTwoBytesHold) {
    // A zero delay read from a body stays zero.
    EXPECT_EQ(encoded({"0 0", "1 A CODE:8204"}), (Bytes{0xFE, 0x00, 0x00, 0x82, 0x04, 0x00}));
    EXPECT_EQ(encoded({"0 1"}), (Bytes{0xFE, 0x00, 0x01, 0x00}));
    EXPECT_EQ(encoded({"0 65535"}), (Bytes{0xFE, 0xFF, 0xFF, 0x00}));
    // Five hex digits would shift every byte after the delay.
    EXPECT_EQ(encoded({"0 65536", "2 A CODE:0204"}), (Bytes{0xFE, 0xFF, 0xFF, 0x02, 0x04, 0x00}));
    EXPECT_EQ(encoded({"0 99999999999999"}), (Bytes{0xFE, 0xFF, 0xFF, 0x00}));
}

TEST(MacroCodec, TheTenMouseLinesAreFixedAndRoundTrip) {
    const std::vector<std::pair<std::string, std::uint8_t>> lines{
        {"1 LeftKey CODE:00A1", 0xA1},   {"2 LeftKey CODE:0021", 0x21},
        {"1 RightKey CODE:00A2", 0xA2},  {"2 RightKey CODE:0022", 0x22},
        {"1 MiddleKey CODE:00A4", 0xA4}, {"2 MiddleKey CODE:0024", 0x24},
        {"1 Forward CODE:00A8", 0xA8},   {"2 Forward CODE:0028", 0x28},
        {"1 Backward CODE:00B0", 0xB0},  {"2 Backward CODE:0030", 0x30},
    };
    const MouseButton buttons[] = {MouseButton::Left, MouseButton::Right, MouseButton::Middle,
                                   MouseButton::Forward, MouseButton::Backward};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool pressed = i % 2 == 0;
        EXPECT_EQ(mouseButtonLine(buttons[i / 2], pressed), lines[i].first);
        EXPECT_EQ(buttonCode(buttons[i / 2], pressed), lines[i].second);
        EXPECT_EQ(encoded({lines[i].first}), (Bytes{lines[i].second, 0x00}));
        auto d = decoded({lines[i].second, 0x00});
        ASSERT_EQ(d.script.events.size(), 1u);
        EXPECT_EQ(d.script.events[0], lines[i].first);
    }
}

TEST(MacroCodec, EveryKeyUsageAndModifierBitRoundTrips) {
    for (int usage = 1; usage < 256; ++usage) {
        for (bool pressed : {true, false}) {
            const auto u = static_cast<std::uint8_t>(usage);
            const Bytes body{static_cast<std::uint8_t>(pressed ? 0x82 : 0x02), u, 0x00};
            auto d = decoded(body);
            ASSERT_EQ(d.script.events.size(), 1u) << usage;
            EXPECT_EQ(d.script.events[0], keyLine(pressed, u, UsageName(u)));
            EXPECT_EQ(eventName(d.script.events[0]), UsageName(u));
            EXPECT_EQ(encoded(d.script.events), body);
        }
    }
    const std::vector<std::pair<std::uint8_t, std::string>> modifiers{{0x01, "Ctrl"},
                                                                      {0x02, "Shift"},
                                                                      {0x04, "Alt"},
                                                                      {0x08, "Left Windows"},
                                                                      {0x80, "Right Windows"}};
    for (const auto& [bit, name] : modifiers) {
        auto d = decoded({0x81, bit, 0x01, bit, 0x00});
        ASSERT_EQ(d.script.events.size(), 2u);
        EXPECT_EQ(d.script.events[0], "1 " + name + " CODE:81" + hexByte(bit));
        EXPECT_EQ(d.script.events[1], "2 " + name + " CODE:01" + hexByte(bit));
        EXPECT_EQ(encoded(d.script.events), (Bytes{0x81, bit, 0x01, bit, 0x00}));
    }
    for (int bit = 0; bit < 256; ++bit) {
        const bool listed = bit == 1 || bit == 2 || bit == 4 || bit == 8 || bit == 0x80;
        EXPECT_EQ(isModifierBit(static_cast<std::uint8_t>(bit)), listed) << bit;
    }
}

TEST(MacroCodec, DelayModeFollowsTheFirstFourDelays) {
    auto d = decoded({0xFE, 0,    50,   0xA1, 0xFE, 0,    50,   0x21, 0xFE, 0,
                      50,   0xA1, 0xFE, 0,    50,   0x21, 0xFE, 0x01, 0x00, 0x00});
    EXPECT_EQ(d.script.header, "0150");
    EXPECT_EQ(d.mode, DelayMode::DefaultDelay);
    EXPECT_EQ(d.defaultDelay, 50);

    d = decoded({0xFE, 0, 50, 0xA1, 0xFE, 0, 50, 0x21, 0xFE, 0, 50, 0xA1, 0x00});
    EXPECT_EQ(d.script.header, "10"); // the missing fourth counts as 0
    EXPECT_EQ(d.mode, DelayMode::RecordDelay);

    d = decoded({0xFE, 0, 50, 0xFE, 0, 51, 0xFE, 0, 50, 0xFE, 0, 50, 0x00});
    EXPECT_EQ(d.script.header, "10");

    d = decoded({0xA1, 0x21, 0x82, 0x04, 0x00});
    EXPECT_EQ(d.script.header, "00");
    EXPECT_EQ(d.mode, DelayMode::NoDelay);

    EXPECT_EQ(delayHeader(DelayMode::DefaultDelay, 120), "01120");
    EXPECT_EQ(delayHeader(DelayMode::RecordDelay, 120), "10");
    EXPECT_EQ(delayHeader(DelayMode::NoDelay, 120), "00");
}

TEST(MacroCodec, DeviceOnlyCodesAreSteppedOver) {
    auto d = decoded({0x03, 0xA1, 0xFC, 0xFD, 0x99, 0x04, 0x11, 0x22, 0x83, 0x33,
                      0x44, 0x81, 0x10, 0x21, 0x82, 0x00, 0xFE, 0x00, 0x07, 0x00});
    EXPECT_FALSE(d.truncated);
    EXPECT_EQ(d.skippedCodes, 5u); // 03, FC, FD, 04, 83
    // A modifier bit the program never writes and key usage 0 are events and stay.
    EXPECT_EQ(d.script.events,
              (std::vector<std::string>{"1 LeftKey CODE:00A1", "1  CODE:8110",
                                        "2 LeftKey CODE:0021", "1  CODE:8200", "0 7"}));
    EXPECT_EQ(encoded(d.script.events),
              (Bytes{0xA1, 0x81, 0x10, 0x21, 0x82, 0x00, 0xFE, 0x00, 0x07, 0x00}));
}

TEST(MacroCodec, DecoderStopsAtWhatDoesNotBelongAndNeverPassesTheLength) {
    // A 0x00 inside the body is stepped over: nothing after it is lost.
    auto d = decoded({0xA1, 0x00, 0x21, 0x00});
    EXPECT_FALSE(d.truncated);
    EXPECT_EQ(d.script.events,
              (std::vector<std::string>{"1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"}));
    // An unknown code ends it too.
    d = decoded({0xA1, 0x05, 0x21, 0x00});
    EXPECT_TRUE(d.truncated);
    EXPECT_EQ(d.script.events.size(), 1u);
    // A code that would run into the end code.
    d = decoded({0xA1, 0xFE, 0x01, 0x00});
    EXPECT_TRUE(d.truncated);
    EXPECT_EQ(d.script.events.size(), 1u);
    d = decoded({0x82, 0x00});
    EXPECT_TRUE(d.truncated);
    EXPECT_TRUE(d.script.events.empty());

    // Only `length` bytes are looked at: what follows makes no difference.
    Bytes body{0x82, 0x04, 0x02, 0x04, 0x00, 0xA1, 0x21};
    auto shortWalk = decodeBody(body, 3);
    EXPECT_EQ(shortWalk.hex, "820402");
    EXPECT_EQ(shortWalk.script.events, (std::vector<std::string>{"1 A CODE:8204"}));

    // Lengths the body cannot hold show an empty macro; so does a length past the bytes given.
    MacroStore store;
    store.bodies[0].fill(0xA1);
    for (int length : {0, 1025, 0xFFFF}) {
        store.setBodyLength(0, static_cast<std::uint16_t>(length));
        auto e = MacroBodyToScript(store, 0);
        EXPECT_TRUE(e.empty);
        EXPECT_TRUE(e.script.empty());
        EXPECT_TRUE(e.hex.empty());
    }
    EXPECT_TRUE(decodeBody(Bytes{0xA1, 0x00}, 3).empty);
    // A full 1024-byte body walks to its last byte.
    store.setBodyLength(0, 1024);
    auto full = MacroBodyToScript(store, 0);
    EXPECT_EQ(full.script.events.size(), 1023u);
    EXPECT_EQ(full.hex.size(), 2048u);
    EXPECT_TRUE(MacroBodyToScript(store, 32).empty);
}

TEST(MacroCodec, BodyNeverExceeds1024BytesAndAFailedEncodeChangesNothing) {
    // 341 delays take 1023 bytes: with the end code exactly 1024.
    std::vector<std::string> events(341, "0 10");
    auto fits = encodeScript(scriptOf(events));
    ASSERT_TRUE(fits.ok());
    EXPECT_EQ(fits.bytes.size(), 1024u);
    EXPECT_TRUE(scriptOf(events).fitsWith(0));
    EXPECT_FALSE(scriptOf(events).fitsWith(1));

    events.push_back("1 LeftKey CODE:00A1");
    auto over = encodeScript(scriptOf(events));
    EXPECT_FALSE(over.ok());
    EXPECT_TRUE(over.tooLong);
    EXPECT_EQ(over.badEntry, 341u);
    EXPECT_EQ(scriptOf(events).encodedSize(), 1025u);

    MacroStore store;
    store.setBodyLength(5, 2);
    store.bodies[5].fill(0x5A);
    const MacroStore before = store;
    auto r = ScriptToMacroBody(scriptOf(events), store, 5);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.tooLong);
    EXPECT_EQ(store.table, before.table);
    EXPECT_EQ(store.bodies, before.bodies);
}

TEST(MacroCodec, LinesThatAreNoEventLinesAreRefusedByEntry) {
    const std::vector<std::string> bad{
        "",
        "0",
        "0 ",
        "0 12a",
        "0 -5",
        "3 LeftKey CODE:00A1",
        "1LeftKey CODE:00A1",
        "1 LeftKey CODE:0021", // a release code on a press line
        "2 LeftKey CODE:00A1",
        "1 LeftKey CODE:00A3", // two buttons at once
        "1 LeftKey CODE:00C1",
        "1 A CODE:0204",
        "2 A CODE:8204",
        "1 X CODE:FE01",
        "1 X CODE:82G4",
        "1 X CODE 8204",
        "1 CODE:8204",
    };
    for (const auto& line : bad) {
        EXPECT_FALSE(parseEventLine(line).has_value()) << line;
        auto r = encodeScript(scriptOf({"0 5", line}));
        EXPECT_FALSE(r.ok()) << line;
        EXPECT_FALSE(r.tooLong);
        EXPECT_EQ(r.badEntry, 1u) << line;
    }
    // The shortest press line: an empty name.
    EXPECT_TRUE(parseEventLine("1  CODE:8232").has_value());
    // Codes a body may hold though the recorder never writes them are events all the same.
    const std::vector<std::pair<std::string, Bytes>> kept{
        {"1 A CODE:8200", {0x82, 0x00}}, // key usage 0
        {"2 A CODE:0200", {0x02, 0x00}},
        {"1 X CODE:8110", {0x81, 0x10}}, // a modifier bit the recorder never writes
        {"2 X CODE:0103", {0x01, 0x03}}, // two modifiers at once
    };
    for (const auto& [line, code] : kept) {
        auto e = parseEventLine(line);
        ASSERT_TRUE(e.has_value()) << line;
        EXPECT_EQ(e->code, code) << line;
    }
}

TEST(MacroCodec, ListTextsAndEventNames) {
    EXPECT_EQ(displayText("0 120"), "120 ms");
    EXPECT_EQ(displayText("1 Space bar CODE:822C"), "Space bar");
    EXPECT_EQ(displayText("2 LeftKey CODE:0021"), "LeftKey");
    EXPECT_EQ(eventName("1 Left Windows CODE:8108"), "Left Windows");
    EXPECT_EQ(eventName("1  CODE:8232"), "");
    EXPECT_EQ(encodedSizeOf("0 5"), 3u);
    EXPECT_EQ(encodedSizeOf("1 A CODE:8204"), 2u);
    EXPECT_EQ(encodedSizeOf("1 LeftKey CODE:00A1"), 1u);
    EXPECT_EQ(encodedSizeOf("junk"), 0u);
}

TEST(MacroCodec, PressAndReleasePairByCodeNotByName) {
    // Two keys without names share the empty name; only their codes tell them apart.
    auto s = scriptOf({"1  CODE:8232", "1  CODE:8264", "0 10", "2  CODE:0264", "2  CODE:0232"});
    EXPECT_EQ(s.partnerOf(0), 4u);
    EXPECT_EQ(s.partnerOf(1), 3u);
    EXPECT_EQ(s.partnerOf(3), 1u);
    EXPECT_EQ(s.partnerOf(4), 0u);
    EXPECT_FALSE(s.partnerOf(2).has_value()); // a delay pairs with nothing
    EXPECT_FALSE(s.partnerOf(5).has_value());

    // The nearest release after the press, the nearest press before the release.
    auto t = scriptOf({"1 LeftKey CODE:00A1", "2 LeftKey CODE:0021", "1 LeftKey CODE:00A1",
                       "2 LeftKey CODE:0021", "2 Ctrl CODE:0101"});
    EXPECT_EQ(t.partnerOf(2), 3u);
    EXPECT_EQ(t.partnerOf(1), 0u);
    EXPECT_FALSE(t.partnerOf(4).has_value());
    EXPECT_EQ(t.pressCount(), 2u);
    EXPECT_EQ(t.releaseCount(), 3u);
}

TEST(MacroCodec, RandomBodiesNeverCrashLoopOrReEncodeDifferently) {
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        std::mt19937 rng(seed);
        const std::size_t length = rng() % 1100;
        Bytes body(length);
        // Half the bodies are drawn from the code bytes, so longer walks happen.
        const Bytes codes{0x81, 0x01, 0x82, 0x02, 0xA1, 0x21, 0xA2, 0x22, 0xA4, 0x24, 0xA8,
                          0x28, 0xB0, 0x30, 0xFE, 0x03, 0xFC, 0xFD, 0x04, 0x83, 0x08, 0x04};
        for (auto& b : body)
            b = seed % 2 ? static_cast<std::uint8_t>(rng()) : codes[rng() % codes.size()];
        auto first = decodeBody(body, length);
        if (length == 0 || length > kMacroBodySize) {
            EXPECT_TRUE(first.empty);
            continue;
        }
        EXPECT_LE(first.script.events.size(), length);
        auto again = encodeScript(first.script);
        ASSERT_TRUE(again.ok()) << seed;
        EXPECT_LE(again.bytes.size(), length) << seed;
        // After one pass the text form is a fixed point: decode and encode agree.
        auto second = decodeBody(again.bytes, again.bytes.size());
        EXPECT_FALSE(second.truncated) << seed;
        EXPECT_EQ(encodeScript(second.script).bytes, again.bytes) << seed;
    }
}

TEST(MacroAssignmentCodes, CodeAndMacroIndexAreEachOthersReverse) {
    EXPECT_EQ(macroAssignmentCode(0), "10800000");
    EXPECT_EQ(macroAssignmentCode(2), "10880000");
    EXPECT_EQ(macroAssignmentCode(31), "10FC0000");
    EXPECT_EQ(macroAssignmentCode(32), "");
    for (std::size_t n = 0; n < kMacroCount; ++n) {
        const std::string code = macroAssignmentCode(n);
        EXPECT_EQ(code.substr(2, 4), hexByte(static_cast<std::uint8_t>(macroBodyAddress(n) >> 8)) +
                                         hexByte(static_cast<std::uint8_t>(macroBodyAddress(n))));
        EXPECT_EQ(macroIndexOfCode(code), n);
    }
    EXPECT_FALSE(macroIndexOfCode("10800100").has_value()); // not a body address
    EXPECT_FALSE(macroIndexOfCode("10810000").has_value());
    EXPECT_FALSE(macroIndexOfCode("11800000").has_value());
    EXPECT_FALSE(macroIndexOfCode("107C0000").has_value());
    EXPECT_FALSE(macroIndexOfCode("1080000").has_value());
    EXPECT_EQ(macroIndexOfCode("10880000"), 2u);
}
