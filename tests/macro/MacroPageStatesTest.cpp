#include "macro/MacroPageStates.h"

#include <gtest/gtest.h>

using namespace orlix;

namespace {

// The situations of the page, one per row, and what each lets the user do.
struct Row {
    const char* what;
    MacroPageSituation s;
    // commands, start, startStops, names, events, delayGroup, delayChoicesGrey,
    // delayFieldEditable, insertStart, insertStartStops, okCancel, cover
    std::array<bool, 12> expect;
};

constexpr InsertKind kKey = InsertKind::KeyBack;
constexpr InsertKind kDelay = InsertKind::DelayFront;

// clang-format off
const Row kRows[] = {
    {"idle",                {true, false, false, false, false, 0, 0, kKey},
                            {1, 1, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0}},
    {"idle, default delay", {true, false, false, false, false, 1, 0, kKey},
                            {1, 1, 0, 1, 1, 1, 0, 1, 0, 0, 0, 0}},
    {"no mouse",            {false, false, false, false, false, 1, 0, kKey},
                            {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}},
    {"transfer",            {true, true, false, false, true, 1, 1, kKey},
                            {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}},
    {"recording",           {true, false, true, false, false, 1, 0, kKey},
                            {0, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
    {"insert panel open",   {true, false, false, false, true, 0, 1, kKey},
                            {0, 0, 0, 0, 1, 1, 0, 0, 1, 0, 1, 0}},
    {"insert recording",    {true, false, true, true, true, 0, 1, kKey},
                            {0, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0, 1}},
};
// clang-format on

} // namespace

TEST(MacroPageStates, EachSituationAllowsWhatItShould) {
    for (const Row& r : kRows) {
        const MacroPageStates st = macroPageStates(r.s);
        const std::array<bool, 12> got{st.commands,         st.start,
                                       st.startStops,       st.names,
                                       st.events,           st.delayGroup,
                                       st.delayChoicesGrey, st.delayFieldEditable,
                                       st.insertStart,      st.insertStartStops,
                                       st.okCancel,         st.cover};
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], r.expect[i]) << r.what << ", state " << i;
        // The command column and the name list always agree, and the panel's choices grey
        // exactly while its recording covers them.
        EXPECT_EQ(st.commands, st.names) << r.what;
        EXPECT_EQ(st.insertChoicesGrey, st.cover) << r.what;
        EXPECT_EQ(st.insertKindChoice, !st.cover) << r.what;
    }
}

TEST(MacroPageStates, ThePanelsDelayFieldFollowsItsChoiceForKeyInsertsOnly) {
    struct Case {
        InsertKind kind;
        int choice;
        bool recording;
        bool shown, editable, unitGrey;
    };
    // clang-format off
    const Case cases[] = {
        {kKey,   0, false, true,  false, true},
        {kKey,   1, false, true,  true,  false},
        {kKey,   2, false, true,  false, true},
        {kKey,   1, true,  true,  false, true},
        {kDelay, 1, false, false, true,  false},
    };
    // clang-format on
    for (const Case& c : cases) {
        MacroPageSituation s{true, false, c.recording, c.recording, true, 0, c.choice, c.kind};
        const MacroPageStates st = macroPageStates(s);
        EXPECT_EQ(st.insertFieldShown, c.shown) << c.choice;
        EXPECT_EQ(st.insertFieldEditable, c.editable) << c.choice;
        EXPECT_EQ(st.insertUnitGrey, c.unitGrey) << c.choice;
    }
    // A closed panel leaves its field alone.
    EXPECT_FALSE(macroPageStates({true, false, false, false, false, 1, 1, kKey}).insertFieldShown);
}
