#include "model/AssignmentCodes.h"
#include "support/Language1Texts.h"

#include <gtest/gtest.h>

using namespace orlix;

namespace {
struct Names {
    MapTextSource texts = test::language1Texts();
    FireKeySettings fire;
    MacroNames macros;
    Edition edition = Edition::Editor;
    CodeContext ctx() const { return CodeContext{texts, edition, fire, macros}; }
    std::string name(std::string_view code) const { return NameForCode(code, ctx()); }
};
} // namespace

TEST(CodeForTag, FixedTagsAndUnknownTags) {
    Names n;
    EXPECT_EQ(CodeForTag(tag::kCpiUp, n.ctx()), "09010000");
    EXPECT_EQ(CodeForTag(tag::kLeft, n.ctx()), "01010000");
    EXPECT_EQ(CodeForTag(tag::kWwwHome + 6, n.ctx()), "03022A00");
    EXPECT_EQ(CodeForTag(tag::kNone, n.ctx()), "00000000");
    EXPECT_EQ(CodeForTag(777, n.ctx()), "");
    EXPECT_EQ(CodeForTag(tag::kAim, n.ctx()), "");
    n.edition = Edition::EditorS;
    EXPECT_EQ(CodeForTag(tag::kAim, n.ctx()), "05000000");
}

TEST(CodeForTag, FireKeyCodesFollowTheCurrentFields) {
    Names n;
    EXPECT_EQ(CodeForTag(tag::kFireKey1, n.ctx()), "06120010");
    n.fire.repeat[1] = 5;
    n.fire.delay[1] = 300;
    n.fire.highNibble[1] = 0x30;
    EXPECT_EQ(CodeForTag(tag::kFireKey1 + 1, n.ctx()), "0615312C");
}

TEST(NameForCode, FixedFunctionsInTheCurrentLanguage) {
    Names n;
    EXPECT_EQ(n.name("01010000"), "Left Key");
    EXPECT_EQ(n.name("04030000"), "Wake Up");
    EXPECT_EQ(n.name("09020000"), "CPI -");
    EXPECT_EQ(n.name("0300E200"), "Mute");
    EXPECT_EQ(n.name("03022400"), " Back");
    EXPECT_EQ(n.name("0c000000"), "Report Rate"); // lower-case digits are the same code
    EXPECT_EQ(n.name("05000000"), "");
    n.edition = Edition::EditorS;
    EXPECT_EQ(n.name("05000000"), "AIM Key");
    EXPECT_EQ(n.name(""), "");
    EXPECT_EQ(n.name("0101"), "");
    EXPECT_EQ(n.name("0101000G"), "");
}

TEST(NameForCode, FireModeAnyGroup) {
    Names n;
    EXPECT_EQ(n.name("0F010300"), "Fire Mode");
    EXPECT_EQ(n.name("0F000000"), "Fire Mode");
}

TEST(NameForCode, FireKeysFollowTheirSettingsAndEqualKeysShowTheLowerNumber) {
    Names n;
    EXPECT_EQ(n.name("06120010"), "Double Click");
    EXPECT_EQ(n.name("06120040"), "Fire4 Key");
    n.fire.delay[0] = 17;
    EXPECT_EQ(n.name("06120010"), "");
    n.fire.delay[2] = 64; // keys 3 and 4 now equal
    EXPECT_EQ(n.name("06120040"), "Fire3 Key");
}

TEST(KeyCombinationName, ModifiersAndKeys) {
    Names n;
    EXPECT_EQ(n.name("02050400"), "Ctrl+Alt+A");
    EXPECT_EQ(n.name("02080700"), "Win+D");
    EXPECT_EQ(n.name("02000800"), "E");
    EXPECT_EQ(n.name("02010000"), "Ctrl+");
    EXPECT_EQ(n.name("0203041D"), "Ctrl+Shift+A+Z");
    EXPECT_EQ(n.name("0200001D"), "Z");
    EXPECT_EQ(n.name("020000E1"), "Left Shift");
}

TEST(KeyCombinationName, MacroCodesNameTheMacroAtThatAddress) {
    Names n;
    n.macros[1] = "Reload";
    n.macros[31] = "Last";
    EXPECT_EQ(n.name("10840000"), "Reload");
    EXPECT_EQ(n.name("10FC0000"), "Last");
    EXPECT_EQ(n.name("10820000"), "");
    EXPECT_EQ(n.name("11000000"), "");
}
