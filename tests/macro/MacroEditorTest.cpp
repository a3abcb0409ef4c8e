// The macro page's rules without widgets: selection, delete pairing, the insert panel,
// recording into the selected macro with a fake clock, renames reaching the store, files.
#include "macro/MacroEditor.h"

#include "macro/MacroFiles.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace orlix;

namespace {

struct EditorFixture : ::testing::Test {
    MacroStore store;
    MacroNames names;
    std::uint32_t now = 1000;
    MacroEditor editor{store, names, [this] { return now; }};

    // Puts events into macro n's body and selects it.
    void load(std::size_t n, std::vector<std::string> events) {
        MacroScript s;
        s.header = "10";
        s.events = std::move(events);
        ASSERT_TRUE(ScriptToMacroBody(s, store, n).ok);
        editor.selectMacro(n);
    }
    std::vector<std::string> shown() const { return editor.script().events; }
    std::vector<std::uint8_t> body(std::size_t n) const {
        const auto len = store.bodyLength(n);
        return {store.bodies[n].begin(), store.bodies[n].begin() + len};
    }
    static RecorderKeyEvent keyEvent(TKeyboardHookKey k, KeyTransition t) { return {k, k, t}; }
};

const std::string pressA = keyLine(true, 0x04, "A"), releaseA = keyLine(false, 0x04, "A");
const std::string pressB = keyLine(true, 0x05, "B"), releaseB = keyLine(false, 0x05, "B");
const std::string leftDown = mouseButtonLine(MouseButton::Left, true);
const std::string leftUp = mouseButtonLine(MouseButton::Left, false);

} // namespace

TEST_F(EditorFixture, SelectingAMacroDecodesItAndSelectsTheLastEntry) {
    load(2, {pressA, delayLine(120), releaseA});
    EXPECT_EQ(editor.selectedMacro(), 2u);
    EXPECT_EQ(shown(), (std::vector<std::string>{pressA, "0 120", releaseA}));
    EXPECT_EQ(editor.selectedEntry(), 2u);
    EXPECT_EQ(editor.hexText(), "8204FE0078020400");
    // An empty macro shows nothing and has nothing selected.
    editor.selectMacro(3);
    EXPECT_TRUE(shown().empty());
    EXPECT_FALSE(editor.selectedEntry());
}

TEST_F(EditorFixture, DeletingAPressTakesItsReleaseAndViceVersa) {
    load(0, {pressA, delayLine(10), pressB, delayLine(20), releaseB, releaseA});
    editor.selectEntry(0);
    EXPECT_EQ(editor.deleteEntry(), EditRefusal::None);
    EXPECT_EQ(shown(), (std::vector<std::string>{"0 10", pressB, "0 20", releaseB}));
    EXPECT_EQ(editor.selectedEntry(), 0u); // the new first entry
    EXPECT_EQ(body(0), (std::vector<std::uint8_t>{0xFE, 0, 10, 0x82, 5, 0xFE, 0, 20, 2, 5, 0}));

    editor.selectEntry(3); // release B: its press before it goes too
    EXPECT_EQ(editor.deleteEntry(), EditRefusal::None);
    EXPECT_EQ(shown(), (std::vector<std::string>{"0 10", "0 20"}));
    EXPECT_EQ(editor.selectedEntry(), 1u); // k - 2

    editor.selectEntry(1); // a delay goes alone
    editor.deleteEntry();
    EXPECT_EQ(shown(), (std::vector<std::string>{"0 10"}));
    EXPECT_EQ(editor.selectedEntry(), 0u);
    editor.deleteEntry();
    EXPECT_TRUE(shown().empty());
    EXPECT_FALSE(editor.selectedEntry());
    EXPECT_EQ(store.bodyLength(0), 1);
    EXPECT_EQ(store.bodies[0][0], 0x00);
}

TEST_F(EditorFixture, DeletePairsWithTheNearestMatchingCodeNotTheName) {
    // Two presses of A in a row are paired each with its own release; a mouse button of the
    // same name in between does not count.
    load(0, {pressA, releaseA, leftDown, pressA, leftUp, releaseA});
    editor.selectEntry(3);
    editor.deleteEntry();
    EXPECT_EQ(shown(), (std::vector<std::string>{pressA, releaseA, leftDown, leftUp}));
    EXPECT_EQ(editor.selectedEntry(), 2u);
    // After a release and its press, the entry two above the release is chosen.
    load(2, {pressA, releaseA, pressB, "0 1", releaseB, "0 2", "0 3"});
    editor.selectEntry(4);
    editor.deleteEntry();
    EXPECT_EQ(shown(), (std::vector<std::string>{pressA, releaseA, "0 1", "0 2", "0 3"}));
    EXPECT_EQ(editor.selectedEntry(), 2u);
    // A release with no press before it goes alone.
    load(1, {releaseA, pressB});
    editor.selectEntry(0);
    editor.deleteEntry();
    EXPECT_EQ(shown(), (std::vector<std::string>{pressB}));
    EXPECT_EQ(editor.selectedEntry(), 0u);
}

TEST_F(EditorFixture, DeleteNeedsAMacroAndAnEntry) {
    EXPECT_EQ(editor.deleteEntry(), EditRefusal::NoMacro);
    load(0, {pressA, releaseA});
    editor.selectEntry(std::nullopt);
    EXPECT_EQ(editor.deleteEntry(), EditRefusal::NoEntry);
    EXPECT_EQ(shown().size(), 2u);
}

TEST_F(EditorFixture, InsertDelayFrontAndBackAtTheSelectedEntry) {
    load(0, {pressA, "0 5", releaseA, pressB, releaseB});
    editor.selectEntry(3);
    editor.openInsert(InsertKind::DelayBack);
    EXPECT_EQ(editor.confirmInsert(200), EditRefusal::None);
    EXPECT_EQ(shown()[4], "0 200");
    EXPECT_EQ(editor.selectedEntry(), 4u);
    EXPECT_FALSE(editor.insertOpen());
    EXPECT_EQ(store.bodyLength(0), 2 + 3 + 2 + 2 + 3 + 2 + 1);

    editor.selectEntry(3);
    editor.openInsert(InsertKind::DelayFront);
    editor.confirmInsert(200);
    EXPECT_EQ(shown()[3], "0 200");
    EXPECT_EQ(shown()[4], pressB);
    EXPECT_EQ(editor.selectedEntry(), 3u);
}

TEST_F(EditorFixture, InsertedDelaysAreClampedToTheFieldsRange) {
    load(0, {pressA});
    for (auto [typed, stored] :
         {std::pair{0, 1}, {1, 1}, {65530, 65530}, {65531, 65530}, std::pair{-5, 1}}) {
        editor.selectEntry(0);
        editor.openInsert(InsertKind::DelayFront);
        editor.confirmInsert(typed);
        EXPECT_EQ(shown()[0], "0 " + std::to_string(stored)) << typed;
        editor.selectEntry(0);
        editor.deleteEntry();
    }
}

TEST_F(EditorFixture, InsertDelayWithoutEntryKeepsThePanelOpen) {
    load(0, {});
    editor.openInsert(InsertKind::DelayFront);
    EXPECT_EQ(editor.confirmInsert(50), EditRefusal::NoEntry);
    EXPECT_TRUE(editor.insertOpen());
    EXPECT_FALSE(editor.startInsertRecording({}));
}

TEST_F(EditorFixture, AnInsertThatWouldNotFitIsRefusedAndTheBodyKept) {
    // 340 delays and a press: 1020 + 2 + end code = 1023 bytes. One more delay does not fit.
    std::vector<std::string> lines(340, "0 7");
    lines.push_back(pressA);
    load(0, lines);
    const auto before = body(0);
    editor.selectEntry(0);
    editor.openInsert(InsertKind::DelayBack);
    EXPECT_EQ(editor.confirmInsert(9), EditRefusal::WouldNotFit);
    EXPECT_EQ(body(0), before);
    EXPECT_EQ(shown().size(), 341u);
    editor.cancelInsert();

    // At 1021 bytes a three-byte delay fits exactly.
    lines.pop_back();
    load(1, lines);
    editor.selectEntry(0);
    editor.openInsert(InsertKind::DelayBack);
    EXPECT_EQ(editor.confirmInsert(9), EditRefusal::None);
    EXPECT_EQ(store.bodyLength(1), 1024);
}

TEST_F(EditorFixture, CancelShowsTheStoredBodyAndTheRememberedEntry) {
    load(0, {pressA, releaseA, pressB, releaseB});
    editor.selectEntry(1);
    editor.openInsert(InsertKind::KeyFront);
    ASSERT_TRUE(editor.startInsertRecording({DelayMode::NoDelay, 50}));
    editor.key(keyEvent(kh_C, KeyTransition::Down));
    editor.key(keyEvent(kh_C, KeyTransition::Up));
    editor.stopRecording();
    EXPECT_EQ(shown().size(), 6u);
    editor.selectEntry(4);
    editor.cancelInsert();
    EXPECT_EQ(shown(), (std::vector<std::string>{pressA, releaseA, pressB, releaseB}));
    EXPECT_EQ(editor.selectedEntry(), 1u);
    EXPECT_FALSE(editor.insertOpen());
}

TEST_F(EditorFixture, InsertKeyRecordingFrontAndBackKeepsEventOrderAndOkEncodes) {
    const std::string pressC = keyLine(true, 0x06, "C"), releaseC = keyLine(false, 0x06, "C");
    for (auto [kind, expected] :
         {std::pair{InsertKind::KeyFront,
                    std::vector<std::string>{pressA, pressC, releaseC, releaseA}},
          std::pair{InsertKind::KeyBack,
                    std::vector<std::string>{pressA, releaseA, pressC, releaseC}}}) {
        load(0, {pressA, releaseA});
        editor.selectEntry(1);
        editor.openInsert(kind);
        ASSERT_TRUE(editor.startInsertRecording({DelayMode::NoDelay, 50}));
        EXPECT_TRUE(editor.insertRecording());
        editor.key(keyEvent(kh_C, KeyTransition::Down));
        editor.key(keyEvent(kh_C, KeyTransition::Up));
        editor.stopRecording();
        EXPECT_EQ(shown(), expected);
        // Not in the body before OK.
        EXPECT_EQ(store.bodyLength(0), 5);
        EXPECT_EQ(editor.confirmInsert(0), EditRefusal::None);
        EXPECT_EQ(store.bodyLength(0), 9);
    }
}

TEST_F(EditorFixture, NormalRecordingWithMeasuredDelaysIsEncodedWhenItStops) {
    load(4, {pressB, releaseB});
    ASSERT_TRUE(editor.startRecording({DelayMode::RecordDelay, 50}));
    EXPECT_TRUE(shown().empty());
    editor.key(keyEvent(kh_A, KeyTransition::Down));
    now += 250;
    editor.key(keyEvent(kh_A, KeyTransition::Repeat));
    editor.key(keyEvent(kh_A, KeyTransition::Up));
    EXPECT_EQ(editor.selectedEntry(), 2u);
    // Still the old body until Stop.
    EXPECT_EQ(store.bodyLength(4), 5);
    editor.stopRecording();
    EXPECT_EQ(editor.script().header, "10");
    EXPECT_EQ(shown(), (std::vector<std::string>{pressA, "0 250", releaseA}));
    EXPECT_EQ(body(4), (std::vector<std::uint8_t>{0x82, 4, 0xFE, 0, 250, 2, 4, 0}));
    EXPECT_EQ(editor.pressCount(), 1u);
}

TEST_F(EditorFixture, WithoutASelectedMacroNothingIsRecordedOrEncoded) {
    const MacroStore before = store;
    EXPECT_FALSE(editor.startRecording({}));
    editor.key(keyEvent(kh_A, KeyTransition::Down));
    editor.stopRecording();
    EXPECT_EQ(editor.clearMacro(), EditRefusal::NoMacro);
    editor.openInsert(InsertKind::DelayFront);
    EXPECT_EQ(editor.confirmInsert(50), EditRefusal::NoMacro);
    EXPECT_EQ(store.table, before.table);
    EXPECT_EQ(store.bodies, before.bodies);
}

TEST_F(EditorFixture, ARecordingThatFillsTheBodyStopsWithItsMessage) {
    load(0, {});
    ASSERT_TRUE(editor.startRecording({DelayMode::NoDelay, 50}));
    int clicks = 0;
    while (editor.recording() && clicks < 2000) {
        editor.mouseButton({MouseButton::Right, clicks % 2 == 0});
        ++clicks;
    }
    EXPECT_FALSE(editor.recording());
    EXPECT_STREQ(editor.stopMessageId(), "Str027");
    // 511 clicks: a 512th press would have had no room for its release.
    EXPECT_EQ(shown().size(), 1022u);
    EXPECT_EQ(store.bodyLength(0), 1023);
    EXPECT_EQ(store.bodies[0][1021], 0x22);
    EXPECT_EQ(store.bodies[0][1022], 0x00);
}

TEST_F(EditorFixture, TheLastRowTurnsRedOnlyAtBothLimits) {
    load(0, {});
    ASSERT_TRUE(editor.startRecording({DelayMode::NoDelay, 50}));
    const TKeyboardHookKey keys[] = {kh_A, kh_B};
    for (int i = 0; i < 100; ++i) {
        editor.key(keyEvent(keys[i % 2], KeyTransition::Down));
        EXPECT_FALSE(editor.atLimits());
        editor.key(keyEvent(keys[i % 2], KeyTransition::Up));
    }
    // The 100th release stopped the recording and encoded it.
    EXPECT_FALSE(editor.recording());
    EXPECT_TRUE(editor.atLimits());
    EXPECT_EQ(store.bodyLength(0), 401);
    // Choosing the macro again starts the counts afresh.
    editor.selectMacro(0);
    EXPECT_FALSE(editor.atLimits());
}

TEST_F(EditorFixture, RenameReachesTheStoreAtOnceAndSurvivesAnImport) {
    EXPECT_TRUE(editor.rename(3, "Fifteen chars!!"));
    EXPECT_EQ(names[3], "Fifteen chars!");
    EXPECT_EQ(store.name(3), "Fifteen chars!");
    EXPECT_EQ(store.entry(3)[kMacroEntryNameLength], 28);
    EXPECT_FALSE(editor.rename(3, ""));
    EXPECT_EQ(names[3], "Fifteen chars!");

    // Export All carries the new name; Import One into another macro keeps every other name.
    const auto dir = test::scratchDir("macro-editor-rename");
    load(5, {pressA, releaseA});
    ASSERT_TRUE(editor.rename(5, "Burst"));
    ASSERT_TRUE(editor.exportOne(dir / "one.bin"));
    editor.selectMacro(9);
    ASSERT_TRUE(editor.importOne(dir / "one.bin"));
    EXPECT_EQ(names[9], "Burst");
    EXPECT_EQ(names[3], "Fifteen chars!");
    EXPECT_EQ(shown(), (std::vector<std::string>{pressA, releaseA}));
    ASSERT_TRUE(editor.exportAll(dir / "all.bin"));
    MacroStore copy;
    ASSERT_TRUE(importAllMacros(dir / "all.bin", copy));
    EXPECT_EQ(copy.name(3), "Fifteen chars!");
    EXPECT_EQ(copy.table, store.table);
}

TEST_F(EditorFixture, ClearEmptiesTheBodyAndKeepsTheName) {
    load(1, {pressA, releaseA});
    editor.rename(1, "Keep");
    EXPECT_EQ(editor.clearMacro(), EditRefusal::None);
    EXPECT_EQ(store.bodyLength(1), 0);
    for (auto b : store.bodies[1])
        ASSERT_EQ(b, 0xFF);
    EXPECT_EQ(store.name(1), "Keep");
    EXPECT_TRUE(shown().empty());
}

TEST_F(EditorFixture, AFailedImportChangesNothing) {
    load(0, {pressA, releaseA});
    const MacroStore before = store;
    EXPECT_FALSE(editor.importOne(test::scratchDir("macro-editor-missing") / "nothing.bin"));
    EXPECT_FALSE(editor.importAll(test::scratchDir("macro-editor-missing") / "nothing.bin"));
    EXPECT_EQ(store.table, before.table);
    EXPECT_EQ(store.bodies, before.bodies);
    EXPECT_EQ(shown(), (std::vector<std::string>{pressA, releaseA}));
}

TEST(MacroEditorFields, DelayFieldsAreNeverEmptyAndClampedAtTheirEdges) {
    EXPECT_EQ(MacroEditor::delayFieldValue(""), 1);
    EXPECT_EQ(MacroEditor::delayFieldValue("0"), 1);
    EXPECT_EQ(MacroEditor::delayFieldValue("1"), 1);
    EXPECT_EQ(MacroEditor::delayFieldValue("50"), 50);
    EXPECT_EQ(MacroEditor::delayFieldValue("65530"), 65530);
    EXPECT_EQ(MacroEditor::delayFieldValue("65531"), 65530);
    EXPECT_EQ(MacroEditor::delayFieldValue("99999999999999999999"), 65530);
    EXPECT_EQ(MacroEditor::delayFieldValue("12a"), 1);
}

TEST_F(EditorFixture, EveryEventOfABodySurvivesEveryEdit) {
    using Bytes = std::vector<std::uint8_t>;
    // body as the mouse holds it, the edit, the body afterwards
    struct Row {
        const char* name;
        Bytes before;
        std::function<void(MacroEditor&)> edit;
        Bytes after;
    };
    const auto insertDelayBefore = [](std::size_t k, int ms) {
        return [k, ms](MacroEditor& e) {
            e.selectEntry(k);
            e.openInsert(InsertKind::DelayFront);
            e.confirmInsert(ms);
        };
    };
    const auto deleteAt = [](std::size_t k) {
        return [k](MacroEditor& e) {
            e.selectEntry(k);
            e.deleteEntry();
        };
    };
    const Row rows[] = {
        {"inner end code, insert",
         {0x82, 0x04, 0x00, 0x02, 0x04, 0x00},
         insertDelayBefore(1, 100),
         {0x82, 0x04, 0xFE, 0x00, 0x64, 0x02, 0x04, 0x00}},
        {"inner end codes, delete",
         {0xA1, 0x00, 0x00, 0x21, 0xA2, 0x00, 0x22, 0x00},
         deleteAt(0),
         {0xA2, 0x22, 0x00}},
        {"zero delay, insert",
         {0xA1, 0xFE, 0x00, 0x00, 0x21, 0x00},
         insertDelayBefore(0, 7),
         {0xFE, 0x00, 0x07, 0xA1, 0xFE, 0x00, 0x00, 0x21, 0x00}},
        {"key usage 0, delete",
         {0x82, 0x00, 0xA4, 0x24, 0x02, 0x00, 0x00},
         deleteAt(1),
         {0x82, 0x00, 0x02, 0x00, 0x00}},
    };
    for (const Row& row : rows) {
        std::copy(row.before.begin(), row.before.end(), store.bodies[4].begin());
        store.setBodyLength(4, static_cast<std::uint16_t>(row.before.size()));
        editor.selectMacro(4);
        row.edit(editor);
        EXPECT_EQ(body(4), row.after) << row.name;
    }
}
