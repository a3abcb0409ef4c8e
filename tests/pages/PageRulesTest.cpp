// Rules of the button-assignment pages, checked without widgets.
#include "rules/PageRules.h"
#include "model/AssignmentCodes.h"
#include "model/Configuration.h"
#include "model/Hex.h"
#include "rules/AssignmentEditor.h"
#include "rules/KeyCombination.h"
#include "rules/Marquee.h"
#include "rules/MenuCatalog.h"
#include "rules/MenuPlacement.h"
#include "support/DefaultImages.h"
#include "support/FunctionTagRows.h"
#include "support/Language1Texts.h"
#include "widgets/VirtualKeys.h"

#include <QtCore/qnamespace.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace orlix;
using namespace orlix::pages;

namespace {

std::vector<std::string_view> offeredSpecialEntries(Edition edition, std::uint8_t dataType) {
    std::vector<std::string_view> out;
    const auto entries = menuEntries(MenuPanel::Special, edition);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entryFits(static_cast<int>(i), specialPanelHeight(dataType)))
            out.push_back(entries[i].control);
    return out;
}

bool contains(const std::vector<std::string_view>& v, std::string_view s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

} // namespace

TEST(MenuCatalog, CpiDownIsOfferedOnlyForTheLongerSpecialMenu) {
    for (Edition e : {Edition::Editor, Edition::EditorS}) {
        EXPECT_FALSE(contains(offeredSpecialEntries(e, 0x1D), "Key_CPID"));
        EXPECT_TRUE(contains(offeredSpecialEntries(e, 0x3A), "Key_CPID"));
        EXPECT_TRUE(contains(offeredSpecialEntries(e, 0x3A), "Key_CPII"));
    }
    // orlix-editor: nine entries up to "CPI +"; orlix-editor-s, with the AIM key fourth,
    // ends after "CPI".
    auto editor = offeredSpecialEntries(Edition::Editor, 0x1D);
    ASSERT_EQ(editor.size(), 9u);
    EXPECT_EQ(editor.back(), "Key_CPII");
    auto editorS = offeredSpecialEntries(Edition::EditorS, 0x1D);
    ASSERT_EQ(editorS.size(), 9u);
    EXPECT_EQ(editorS[3], "Key_AIM");
    EXPECT_EQ(editorS.back(), "Key_CPI");
    EXPECT_EQ(offeredSpecialEntries(Edition::EditorS, 0x3A).size(), 11u);
}

TEST(MenuCatalog, AimKeyExistsOnlyInTheSecondEdition) {
    auto has = [](Edition e) {
        for (const auto& entry : menuEntries(MenuPanel::Special, e))
            if (entry.control == "Key_AIM") return true;
        return false;
    };
    EXPECT_FALSE(has(Edition::Editor));
    EXPECT_TRUE(has(Edition::EditorS));
}

TEST(MenuCatalog, PanelSizesFollowTheKindOfMouse) {
    EXPECT_EQ(mainPanelHeight(true), 146);
    EXPECT_EQ(mainPanelHeight(false), 122);
    // The taller menu has room for exactly the six entries, the shorter one hides "Macro".
    EXPECT_TRUE(entryFits(5, mainPanelHeight(true)));
    EXPECT_FALSE(entryFits(5, mainPanelHeight(false)));
    EXPECT_EQ(menuEntries(MenuPanel::Main, Edition::Editor)[5].control, "Key_Macro");
}

// Every leaf stores a code whose name, read back the way a label shows it, is the entry's
// own caption: a wrong tag or text id in the table shows up here.
TEST(MenuCatalog, EveryLeafNamesItsOwnCode) {
    for (Edition e : {Edition::Editor, Edition::EditorS}) {
        const auto texts = test::language1Texts(e);
        const MacroNames macroNames{};
        const CodeContext ctx{texts, e, FireKeySettings{{2, 3, 4, 5}, {16, 32, 48, 64}, {}},
                              macroNames};
        for (MenuPanel p : {MenuPanel::LRM, MenuPanel::MouseKeys, MenuPanel::Special,
                            MenuPanel::Acpi, MenuPanel::Media, MenuPanel::Www, MenuPanel::Fire}) {
            for (const MenuEntry& entry : menuEntries(p, e)) {
                if (entry.action != EntryAction::Leaf && entry.action != EntryAction::SwapPrimary)
                    continue;
                const std::string code = CodeForTag(entry.tag, ctx);
                ASSERT_EQ(code.size(), 8u) << entry.control;
                EXPECT_EQ(NameForCode(code, ctx), texts.text(entry.textId)) << entry.control;
            }
        }
    }
}

TEST(MenuCatalog, AnEntryIsOfferedOnlyWhenItLiesWhollyInsideThePanel) {
    // The first entry spans 1..24: a panel of 25 pixels holds it, one of 24 does not.
    EXPECT_TRUE(entryFits(0, 25));
    EXPECT_FALSE(entryFits(0, 24));
    EXPECT_TRUE(entryFits(9, entryTop(9) + menu::kEntryHeight));
    EXPECT_FALSE(entryFits(9, entryTop(9) + menu::kEntryHeight - 1));
}

// Every function entry of the menus carries the tag and caption of the written-out tag table.
TEST(MenuCatalog, EveryFunctionEntryHasItsTagAndCaption) {
    for (Edition e : {Edition::Editor, Edition::EditorS}) {
        for (const auto& row : test::kFunctionTags) {
            const MenuEntry* found = nullptr;
            for (MenuPanel p : {MenuPanel::MouseKeys, MenuPanel::Special, MenuPanel::Acpi,
                                MenuPanel::Media, MenuPanel::Www, MenuPanel::Fire})
                for (const MenuEntry& entry : menuEntries(p, e))
                    if (entry.control == row.control) found = &entry;
            if (row.secondEditionOnly && e == Edition::Editor) {
                EXPECT_EQ(found, nullptr) << row.control;
                continue;
            }
            ASSERT_NE(found, nullptr) << row.control;
            EXPECT_EQ(found->tag, row.tag) << row.control;
            EXPECT_EQ(found->textId, row.nameId) << row.control;
            EXPECT_EQ(found->action, EntryAction::Leaf) << row.control;
        }
    }
}

TEST(MenuPlacement, MenusOpenAtTheLabelCentreAndLeftwardsFromTheRightHalf) {
    // Key5 of layout 1 at (98, 318), 104 x 31.
    EXPECT_EQ(keyMenuPosition({98, 318, 104, 31}, false, 122), (Spot{150, 333}));
    // Key8 at (552, 344): the menu ends 190 pixels left of the centre.
    EXPECT_EQ(keyMenuPosition({552, 344, 104, 31}, false, 122), (Spot{604 - 190, 359}));
    // Exactly at 400 counts as the right half.
    EXPECT_EQ(keyMenuPosition({400, 100, 104, 31}, true, 122).x, 452 - 190);
}

TEST(MenuPlacement, OnlyTheMainMenuOpensUpwardsNearTheBottom) {
    const Box low{98, 460, 104, 31}; // 460 + 146 reaches 600
    EXPECT_EQ(keyMenuPosition(low, false, 146).y, 475 - 146);
    EXPECT_EQ(keyMenuPosition(low, true, 146).y, 475);
    EXPECT_EQ(keyMenuPosition({98, 453, 104, 31}, false, 146).y, 468); // 599: stays
}

TEST(MenuPlacement, GroupPanelsOpenBesideTheirEntry) {
    const Box entry{2, 25, 186, 24};
    // Main menu on the left: the group opens to its right, level with the entry.
    EXPECT_EQ(groupPanelPosition({150, 333, 190, 146}, entry, 218), (Spot{150 + 188, 358}));
    // Main menu on the right: the group opens to its left, overlapping by 26 pixels.
    EXPECT_EQ(groupPanelPosition({414, 100, 190, 146}, entry, 122), (Spot{414 - 188 + 26, 125}));
    // Raised so its bottom meets the entry's bottom when it would reach the window's bottom.
    EXPECT_EQ(groupPanelPosition({150, 333, 190, 146}, entry, 266).y, 333 + 49 - 266);
}

TEST(MenuPlacement, AcpiAndFireOpenBesideTheSpecialMenu) {
    const Box special{338, 100, 164, 218};
    const Box fireEntry{2, 25, 160, 24};
    EXPECT_EQ(specialSubPanelPosition(special, fireEntry, {150, 80, 190, 146}),
              (Spot{338 + 162, 125}));
    EXPECT_EQ(specialSubPanelPosition({252, 100, 164, 218}, fireEntry, {414, 80, 190, 146}),
              (Spot{252 - 162, 125}));
}

TEST(PageRules, PageButtonsAreRefusedWithoutDeviceAndSilentInTheErrorState) {
    std::array<std::string, kButtonCount> none{};
    PageContext c{false, false, &none, &none, "Alternate profile", "Alternate key reset"};
    EXPECT_EQ(checkPageButton(Page::Advanced, c), PageRefusal::DeviceNotFound);
    c.linkOpen = true;
    c.errorState = true;
    EXPECT_EQ(checkPageButton(Page::Main, c), PageRefusal::ErrorState);
    c.errorState = false;
    EXPECT_EQ(checkPageButton(Page::Main, c), PageRefusal::None);
}

TEST(PageRules, AlternateAndResetPagesNeedTheirFunctionOnSomeButton) {
    std::array<std::string, kButtonCount> p1{}, p2{};
    PageContext c{true, false, &p1, &p2, "Alternate profile", "Alternate key reset"};
    EXPECT_EQ(checkPageButton(Page::Switch, c), PageRefusal::AlternateMissing);
    EXPECT_EQ(checkPageButton(Page::Fixed, c), PageRefusal::ResetKeyMissing);
    p1[8] = "Alternate profile";
    p2[8] = "Alternate key reset";
    EXPECT_EQ(checkPageButton(Page::Switch, c), PageRefusal::None);
    EXPECT_EQ(checkPageButton(Page::Fixed, c), PageRefusal::None);
    // The comparison is exact, and an empty looked-for name matches no empty label.
    p1[8] = "alternate profile";
    EXPECT_EQ(checkPageButton(Page::Switch, c), PageRefusal::AlternateMissing);
    c.alternateProfileName = "";
    EXPECT_EQ(checkPageButton(Page::Switch, c), PageRefusal::AlternateMissing);
}

TEST(PageRules, OnlyMainAndAlternateProfilesAreEditable) {
    EXPECT_TRUE(profileEditable(Page::Main));
    EXPECT_TRUE(profileEditable(Page::Switch));
    EXPECT_FALSE(profileEditable(Page::Fixed));
    EXPECT_FALSE(pageInfo(Page::Fixed).editing);
    EXPECT_EQ(pageForProfile(1), Page::Switch);
    EXPECT_FALSE(pageForProfile(3).has_value());
}

class AssignmentEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        config.startUp(test::defaultResource(Edition::Editor), texts);
        config.setAssignment(0, 0, "01010000");
        config.setAssignment(0, 1, "01020000");
        config.setAssignment(0, 2, "01040000");
    }
    std::string bytesOf(int profile, int button) const {
        std::string out;
        for (int i = 0; i < 4; ++i)
            out += hexByte(config.sections.profiles[profileCodeOffset(profile, button) +
                                                    static_cast<std::size_t>(i)]);
        return out;
    }
    MapTextSource texts = test::language1Texts();
    Configuration config{Edition::Editor};
    AssignmentEditor editor{config, texts};
};

TEST_F(AssignmentEditorTest, ChoosingRightForKeyOneSwapsItWithKeyTwo) {
    ASSERT_TRUE(editor.swapPrimary(0, 0, tag::kRight));
    EXPECT_EQ(config.assignments[0][0], "01020000");
    EXPECT_EQ(config.assignments[0][1], "01010000");
    EXPECT_EQ(config.assignments[0][2], "01040000");
    EXPECT_EQ(bytesOf(0, 0), "01020000");
    EXPECT_EQ(bytesOf(0, 1), "01010000");
    auto names = editor.names(0);
    EXPECT_EQ(names[0], "Right Key");
    EXPECT_EQ(names[1], "Left Key");
}

TEST_F(AssignmentEditorTest, SwapFromAnotherFunctionHandsThatFunctionOn) {
    config.setAssignment(0, 0, "09010000"); // CPI + on the left button
    ASSERT_TRUE(editor.swapPrimary(0, 0, tag::kMiddle));
    EXPECT_EQ(config.assignments[0][0], "01040000");
    EXPECT_EQ(config.assignments[0][2], "09010000");
    EXPECT_EQ(config.assignments[0][1], "01020000");
}

TEST_F(AssignmentEditorTest, ResetControlProfileIsNeverWritten) {
    const auto before = config.sections.profiles;
    EXPECT_FALSE(editor.chooseLeaf(2, 4, tag::kCpiUp));
    EXPECT_FALSE(editor.swapPrimary(2, 0, tag::kRight));
    EXPECT_FALSE(editor.storeCode(2, 4, "02010400"));
    EXPECT_EQ(config.sections.profiles, before);
}

TEST_F(AssignmentEditorTest, LeavesCombinationsAndMacrosReachTheProfileSection) {
    ASSERT_TRUE(editor.chooseLeaf(0, 4, tag::kCpiUp));
    EXPECT_EQ(bytesOf(0, 4), "09010000");
    ASSERT_TRUE(editor.storeCode(1, 5, "0205041D"));
    EXPECT_EQ(bytesOf(1, 5), "0205041D");
    EXPECT_FALSE(editor.storeCode(1, 5, "0205041")); // not eight digits: nothing stored
    EXPECT_EQ(bytesOf(1, 5), "0205041D");
    EXPECT_EQ(AssignmentEditor::macroCode(0), "10800000");
    EXPECT_EQ(AssignmentEditor::macroCode(31), "10FC0000");
    EXPECT_EQ(AssignmentEditor::macroCode(32), "");
    // The AIM key has no code in orlix-editor: nothing is stored for it.
    EXPECT_FALSE(editor.chooseLeaf(0, 4, tag::kAim));
    EXPECT_EQ(bytesOf(0, 4), "09010000");
}

TEST(Marquee, FirstTickOpensAGapAndLaterTicksRotate) {
    Marquee m;
    m.start(U"Left Key");
    EXPECT_EQ(m.tick(), U"eft Key    L");
    EXPECT_EQ(m.tick(), U"ft Key    Le");
    m.start(U"Кнопка");
    EXPECT_EQ(m.tick(), U"нопка    К");
}

TEST(Marquee, TheCounterWrapsToTwoSoTheGapNeverReappears) {
    Marquee m;
    m.start(U"abc");
    m.setCounter(Marquee::kWrapAfter);
    EXPECT_EQ(m.tick(), U"bca");
    EXPECT_EQ(m.counter(), 2);
    EXPECT_EQ(m.tick(), U"cab");
}

namespace {
constexpr KeyCombination::Held kFree{};
constexpr unsigned kVkA = 0x41, kVkB = 0x42, kVkC = 0x43, kVkZ = 0x5A, kVkF1 = 0x70;
} // namespace

TEST(KeyCombination, ModifiersAndTwoKeysMakeATypeTwoCode) {
    KeyCombination k;
    k.setModifier(KeyCombination::Ctrl, true);
    k.setModifier(KeyCombination::Alt, true);
    EXPECT_TRUE(k.keyDown(kVkA, kFree));
    EXPECT_TRUE(k.keyDown(kVkZ, kFree));
    EXPECT_EQ(k.text(), "Ctrl+Alt+A+Z");
    EXPECT_EQ(k.code(), "0205041D");
}

TEST(KeyCombination, ModifierKeysWindowsKeysAndHeldModifiersAreSwallowed) {
    KeyCombination k;
    for (unsigned vk : {0x10u, 0x11u, 0x12u, 0xA0u, 0xA3u, 0x5Bu, 0x5Cu})
        EXPECT_FALSE(k.keyDown(vk, kFree)) << vk;
    EXPECT_FALSE(k.keyDown(kVkA, {true, false, false}));
    EXPECT_FALSE(k.keyDown(kVkA, {false, true, false}));
    EXPECT_FALSE(k.keyDown(kVkA, {false, false, true}));
    EXPECT_EQ(k.text(), "");
    EXPECT_EQ(k.capturedKeys(), 0);
}

TEST(KeyCombination, AThirdKeyStartsANewCapture) {
    KeyCombination k;
    k.setModifier(KeyCombination::Shift, true);
    k.keyDown(kVkA, kFree);
    k.keyDown(kVkB, kFree);
    k.keyDown(kVkC, kFree);
    EXPECT_EQ(k.text(), "Shift+C");
    EXPECT_EQ(k.usage1(), 0x06);
    EXPECT_EQ(k.usage2(), 0);
    // A swallowed third key still ends the old capture.
    k.keyDown(kVkA, kFree);
    k.keyDown(0x10, kFree);
    EXPECT_EQ(k.text(), "Shift");
    EXPECT_EQ(k.code(), "02020000");
}

TEST(KeyCombination, UncheckingAModifierRemovesItsWord) {
    KeyCombination k;
    k.setModifier(KeyCombination::Ctrl, true);
    k.setModifier(KeyCombination::Shift, true);
    k.keyDown(kVkF1, kFree);
    EXPECT_EQ(k.text(), "Ctrl+Shift+F1");
    k.setModifier(KeyCombination::Shift, false);
    EXPECT_EQ(k.text(), "Ctrl+F1");
    k.setModifier(KeyCombination::Ctrl, false);
    EXPECT_EQ(k.text(), "F1");
    EXPECT_EQ(k.code(), "02003A00");
}

TEST(KeyCombination, EmptyClearedAndUnknownKeys) {
    KeyCombination k;
    EXPECT_EQ(k.code(), "02000000");
    EXPECT_EQ(k.text(), "");
    k.keyDown(kVkA, kFree);
    k.keyDown(kVkB, kFree);
    k.setModifier(KeyCombination::Win, true);
    k.clear();
    EXPECT_FALSE(k.modifier(KeyCombination::Win));
    k.keyDown(kVkC, kFree);
    EXPECT_EQ(k.usage2(), 0);
    EXPECT_EQ(k.code(), "02000600");
    KeyCombination unknown;
    unknown.keyDown(0x07, kFree); // an unassigned virtual key
    EXPECT_EQ(unknown.text(), "None");
    EXPECT_EQ(unknown.usage1(), 0);
}

TEST(VirtualKeys, QtKeysMapToTheWindowsCodesOfTheSameKey) {
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_A, false), 0x41u);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Z, false), 0x5Au);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_5, false), 0x35u);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_5, true), 0x65u); // keypad 5
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_F1, false), 0x70u);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_F24, false), 0x87u);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Plus, true), 0x6Bu);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Plus, false), 0xBBu);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Meta, false), 0x5Bu);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Tab, false), 0x09u);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Exclam, false), 0x31u); // the key that types it
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_unknown, false), 0u);
    // Through the key tables: a Qt key press names the key and gives the mouse's usage.
    KeyCombination k;
    k.keyDown(virtualKeyFromQtKey(Qt::Key_Escape, false), kFree);
    EXPECT_EQ(k.usage1(), 0x29);
}

// Every bound of the menu placement at its exact edge, from both sides.
TEST(MenuPlacement, TheMainMenuOpensUpwardsExactlyWhenItWouldReachTheWindowBottom) {
    for (int height : {menu::kMainHeightBasic, menu::kMainHeightMacro}) {
        SCOPED_TRACE(height);
        const int edge = placement::kWindowHeight - height; // top + height == 600
        const Box at{98, edge, 104, 31};
        const Box above{98, edge - 1, 104, 31};
        EXPECT_EQ(keyMenuPosition(at, false, height).y, edge + 15 - height);
        EXPECT_EQ(keyMenuPosition(above, false, height).y, edge - 1 + 15);
        EXPECT_EQ(keyMenuPosition(at, true, height).y, edge + 15); // Pnl_LRM never moves up
    }
    // 454 + 146 is 600: the macro mouse's main menu opens upwards from there.
    EXPECT_EQ(keyMenuPosition({98, 454, 104, 31}, false, 146).y, 469 - 146);
}

TEST(MenuPlacement, MenusOpenLeftwardsFromLeft400Exactly) {
    EXPECT_EQ(keyMenuPosition({399, 100, 104, 31}, false, 122).x, 451);
    EXPECT_EQ(keyMenuPosition({400, 100, 104, 31}, false, 122).x, 452 - 190);
    EXPECT_EQ(keyMenuPosition({399, 100, 104, 31}, true, 122).x, 451);
    EXPECT_EQ(keyMenuPosition({400, 100, 104, 31}, true, 122).x, 452 - 190);

    const Box entry{2, 25, 186, 24};
    EXPECT_EQ(groupPanelPosition({399, 100, 190, 146}, entry, 122).x, 399 + 188);
    EXPECT_EQ(groupPanelPosition({400, 100, 190, 146}, entry, 122).x, 400 - 188 + 26);

    const Box special{300, 100, 164, 218};
    const Box fireEntry{2, 25, 160, 24};
    EXPECT_EQ(specialSubPanelPosition(special, fireEntry, {399, 80, 190, 146}).x, 300 + 162);
    EXPECT_EQ(specialSubPanelPosition(special, fireEntry, {400, 80, 190, 146}).x, 300 - 162);
}

TEST(MenuPlacement, AGroupPanelIsRaisedExactlyWhenItWouldReachTheWindowBottom) {
    const Box entry{2, 25, 186, 24};
    const int panel = 218;
    // The panel's top is the menu's top plus 25; it reaches 600 when that top is 357.
    const Box reaching{150, 600 - panel - 25, 190, 146};
    const Box clear{150, 600 - panel - 26, 190, 146};
    EXPECT_EQ(groupPanelPosition(reaching, entry, panel).y, reaching.y + 49 - panel);
    EXPECT_EQ(groupPanelPosition(clear, entry, panel).y, clear.y + 25);
}

// Each modifier key alone is swallowed, the side-specific ones from Left Shift (0xA0) to
// Right Alt (0xA5) included; the keys just outside that run are captured.
TEST(KeyCombination, EverySideSpecificModifierIsSwallowedAndItsNeighboursAreNot) {
    for (unsigned vk = 0xA0; vk <= 0xA5; ++vk) {
        KeyCombination k;
        EXPECT_FALSE(k.keyDown(vk, kFree)) << vk;
        EXPECT_EQ(k.capturedKeys(), 0) << vk;
    }
    KeyCombination before;
    EXPECT_TRUE(before.keyDown(0x9F, kFree)); // no key: captured as "None"
    EXPECT_EQ(before.text(), "None");
    KeyCombination back;
    EXPECT_TRUE(back.keyDown(0xA6, kFree));
    EXPECT_EQ(back.usage1(), 0xCA);
    EXPECT_EQ(back.text(), "Browser_Back");
}

TEST(NeededPageButtons, FollowTheFirstRowAtItsSpacing) {
    using P = PlacedPageButton;
    const std::vector<ButtonSpot> editorRows = {{5, 515},   {129, 515}, {253, 515}, {5, 550},
                                                {129, 550}, {253, 550}, {377, 550}};
    const std::vector<ButtonSpot> editorSRows = {{5, 515}, {100, 515}, {195, 515},
                                                 {5, 550}, {100, 550}, {195, 550}};
    struct Row {
        const char* what;
        std::vector<ButtonSpot> shown;
        bool showsBreath, showsMacro, lighting, macro;
        int windowWidth;
        std::vector<P> expected;
    };
    const Row rows[] = {
        {"macro", editorRows, false, false, false, true, 800, {{Page::Macro, {377, 515}}}},
        {"both, breathing light first",
         editorRows,
         false,
         false,
         true,
         true,
         800,
         {{Page::Breath, {377, 515}}, {Page::Macro, {501, 515}}}},
        {"lighting only", editorRows, false, false, true, false, 800, {{Page::Breath, {377, 515}}}},
        {"basic mouse without lighting", editorRows, false, false, false, false, 800, {}},
        {"the layout shows both", editorRows, true, true, true, true, 800, {}},
        {"the layout shows one",
         editorRows,
         true,
         false,
         true,
         true,
         800,
         {{Page::Macro, {377, 515}}}},
        {"narrower spacing",
         editorSRows,
         false,
         false,
         true,
         true,
         800,
         {{Page::Breath, {290, 515}}, {Page::Macro, {385, 515}}}},
        {"unsorted rows",
         {{253, 550}, {129, 515}, {5, 550}, {5, 515}},
         false,
         false,
         false,
         true,
         800,
         {{Page::Macro, {253, 515}}}},
        // A full row hands on to the next; a lone button is followed at a plate's width.
        {"row at the edge",
         {{5, 515}, {600, 515}, {5, 550}},
         false,
         false,
         false,
         true,
         800,
         {{Page::Macro, {130, 550}}}},
        {"the window's edge",
         editorRows,
         false,
         false,
         true,
         true,
         626,
         {{Page::Breath, {377, 515}}, {Page::Macro, {501, 515}}}},
        {"one pixel short",
         editorRows,
         false,
         false,
         true,
         true,
         625,
         {{Page::Breath, {377, 515}}}},
        {"no room at all", editorRows, false, false, true, true, 400, {}},
        {"nothing shown", {}, false, false, true, true, 800, {}},
    };
    for (const Row& r : rows) {
        NeededPagesInput in;
        in.shown = r.shown;
        in.layoutShowsBreath = r.showsBreath;
        in.layoutShowsMacro = r.showsMacro;
        in.mouseHasLighting = r.lighting;
        in.macroDevice = r.macro;
        in.plateWidth = 125;
        in.windowWidth = r.windowWidth;
        EXPECT_EQ(placeNeededPageButtons(in), r.expected) << r.what;
    }

    // Wider added plates, on orlix-editor-s's rows with lighting and macros: the first starts
    // two pixels after the row's last plate (its image 2 px further left), the second follows
    // at the wider pitch; narrower or equal added plates change nothing.
    struct Plates {
        const char* what;
        int rowPlate, addedPlate, windowWidth;
        std::vector<P> expected;
    };
    const Plates plates[] = {
        {"wider", 93, 96, 800, {{Page::Breath, {292, 515}}, {Page::Macro, {390, 515}}}},
        {"equal", 93, 93, 800, {{Page::Breath, {290, 515}}, {Page::Macro, {385, 515}}}},
        {"no row plate given", 0, 96, 800, {{Page::Breath, {290, 515}}, {Page::Macro, {385, 515}}}},
        {"at the window's edge",
         93,
         96,
         515,
         {{Page::Breath, {292, 515}}, {Page::Macro, {390, 515}}}},
        {"one pixel short", 93, 96, 514, {{Page::Breath, {292, 515}}, {Page::Macro, {292, 550}}}},
    };
    for (const Plates& r : plates) {
        NeededPagesInput in;
        in.shown = editorSRows;
        in.mouseHasLighting = true;
        in.macroDevice = true;
        in.plateWidth = 125;
        in.windowWidth = r.windowWidth;
        in.rowPlateBody = r.rowPlate;
        in.addedPlateBody = r.addedPlate;
        EXPECT_EQ(placeNeededPageButtons(in), r.expected) << r.what;
    }
}
