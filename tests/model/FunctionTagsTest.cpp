// Every function tag of both editions against the written-out table: the code a menu entry
// stores (what the mouse receives) and the name a label shows for it.
#include "model/AssignmentCodes.h"
#include "support/FunctionTagRows.h"

#include <gtest/gtest.h>

#include <set>

using namespace orlix;
using test::kFunctionTags;

namespace {

// Each text id reads as itself, so a name shows which id was chosen, whatever the language.
MapTextSource idsAsTexts() {
    MapTextSource t;
    for (int id :
         {210, 211, 212, 213, 214, 221, 222, 223, 231, 232, 233, 234, 240, 241, 242, 243, 244, 245,
          246, 247, 248, 250, 251, 252, 253, 254, 255, 256, 260, 261, 262, 263, 264, 265, 266})
        t.set("Str" + std::to_string(id), "Str" + std::to_string(id));
    return t;
}

bool offered(const test::FunctionTagRow& row, Edition e) {
    return !row.secondEditionOnly || e == Edition::EditorS;
}

class FunctionTags : public ::testing::TestWithParam<Edition> {
protected:
    MapTextSource texts = idsAsTexts();
    MacroNames macros{};
    CodeContext ctx() const { return CodeContext{texts, GetParam(), FireKeySettings{}, macros}; }
};

} // namespace

TEST_P(FunctionTags, EveryTagStoresItsCode) {
    std::set<int> known{0};
    for (const auto& row : kFunctionTags) {
        known.insert(row.tag);
        EXPECT_EQ(CodeForTag(row.tag, ctx()), offered(row, GetParam()) ? row.code : "")
            << row.control;
    }
    EXPECT_EQ(CodeForTag(0, ctx()), "00000000");
    // No other tag near the menus' range has a code.
    for (int tag = -1; tag <= 2000; ++tag)
        if (!known.contains(tag)) {
            EXPECT_EQ(CodeForTag(tag, ctx()), "") << "tag " << tag;
        }
}

TEST_P(FunctionTags, EveryCodeShowsItsName) {
    for (const auto& row : kFunctionTags)
        EXPECT_EQ(NameForCode(row.code, ctx()), offered(row, GetParam()) ? row.nameId : "")
            << row.control;
    EXPECT_EQ(NameForCode("00000000", ctx()), "");
}

INSTANTIATE_TEST_SUITE_P(BothEditions, FunctionTags,
                         ::testing::Values(Edition::Editor, Edition::EditorS));
