#include "appearance/Ini.h"
#include "appearance/Layout.h"
#include "model/Edition.h"

#include <gtest/gtest.h>

using namespace orlix;
using namespace orlix::appearance;

namespace {

TEST(Ini, CommentsBlanksCaseAndTheFirstEqualsSign) {
    const IniDocument doc = IniDocument::parse("Orphan=before any section\r\n"
                                               "[Org1]\r\n"
                                               "; Btn_A1_Enable=7\n"
                                               "// Btn_A2_Enable=7\n"
                                               "  Btn_A1_Enable = 1 \n"
                                               "Web=https://a.example/?q=1\r"
                                               "no equals sign here\n"
                                               "=empty key\n"
                                               "Size_A=11\n"
                                               "SIZE_A=99\n"
                                               "[ other ]\n"
                                               "Size_A=5");
    const IniSection* s = doc.section("ORG1");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->value("btn_a1_enable"), "1");
    EXPECT_FALSE(s->contains("Btn_A2_Enable"));
    EXPECT_EQ(s->value("Web"), "https://a.example/?q=1");
    EXPECT_EQ(s->value("Size_A"), "11"); // the first occurrence counts
    EXPECT_FALSE(s->contains("Orphan"));
    EXPECT_EQ(s->entries().size(), 4u);
    ASSERT_NE(doc.section("other"), nullptr);
    EXPECT_EQ(doc.section("other")->value("size_a"), "5");
    EXPECT_EQ(doc.section("org2"), nullptr);
    const IniDocument marked = IniDocument::parse("\xEF\xBB\xBF[org]\nWeb_X=1");
    ASSERT_NE(marked.section("org"), nullptr);
    EXPECT_EQ(marked.section("org")->value("web_x"), "1");
}

// A complete layout section; tests change single keys of it.
std::string layoutText(const std::string& section = "org1") {
    std::string t = "[" + section + "]\n";
    auto add = [&t](const std::string& k, int v) { t += k + "=" + std::to_string(v) + "\n"; };
    for (const char* g : {"A", "B", "H", "C", "E", "F"}) {
        add(std::string("Size_") + g, 10);
        for (const char* c : {"_R", "_G", "_B"})
            add(std::string("Color_") + g + c, 200);
    }
    add("Size_D", 9);
    for (const char* p : {"Color_D_Selected", "Color_D_notSelected", "Color_D_Back", "Color_E_Back",
                          "Color_F_Font", "Color_F_Back"}) {
        add(std::string(p) + "_R", 1);
        add(std::string(p) + "_G", 2);
        add(std::string(p) + "_B", 3);
    }
    for (int i = 1; i <= 4; ++i) {
        add("Btn_A" + std::to_string(i) + "_Enable", 1);
        add("Btn_A" + std::to_string(i) + "_X", 10);
        add("Btn_A" + std::to_string(i) + "_Y", 100 + 40 * i);
    }
    for (int i = 1; i <= 11; ++i) {
        add("Btn_B" + std::to_string(i) + "_Enable", 1);
        add("Btn_B" + std::to_string(i) + "_X", 90 * i);
        add("Btn_B" + std::to_string(i) + "_Y", 515);
    }
    for (int i = 1; i <= 12; ++i) {
        add("Key" + std::to_string(i) + "_Enable", 1);
        add("Key" + std::to_string(i) + "_X", 100);
        add("Key" + std::to_string(i) + "_Y", 30 * i);
    }
    for (const char* p : {"Error_text",
                          "P1",
                          "P2",
                          "P3",
                          "P4",
                          "Spd",
                          "DbSpd",
                          "ScrSpd",
                          "OffTime",
                          "RaiseTime",
                          "OnTime",
                          "FallTime",
                          "DPI",
                          "Rep1",
                          "Rep2",
                          "LEDMode1",
                          "LEDMode2",
                          "LEDMode3",
                          "LEDColorMode1",
                          "LEDColorMode2",
                          "R1",
                          "R2",
                          "FKPara1",
                          "FKPara2",
                          "FKPara3",
                          "FKPara4",
                          "FKMode1",
                          "FKMode2",
                          "FKMode3",
                          "FKMode4",
                          "MacroName",
                          "New",
                          "Del",
                          "MacroContent",
                          "DelayTime",
                          "DelayEdit",
                          "RecDelay",
                          "Insert",
                          "InsertList",
                          "InsertRecDelay",
                          "InsertDelayEdit",
                          "InsertStart",
                          "InsertOK"}) {
        add(std::string(p) + "_X", 100);
        add(std::string(p) + "_Y", 200);
    }
    add("MacroNameHeight", 20);
    return t;
}

std::string with(std::string text, const std::string& key, const std::string& value) {
    const std::string needle = "\n" + key + "=";
    auto at = text.find(needle);
    if (at == std::string::npos) return text + key + "=" + value + "\n";
    auto end = text.find('\n', at + 1);
    return text.replace(at + 1, end - at - 1, key + "=" + value);
}

std::string without(std::string text, const std::string& key) {
    auto at = text.find("\n" + key + "=");
    if (at == std::string::npos) return text;
    return text.erase(at + 1, text.find('\n', at + 1) - at);
}

struct Applied {
    Layout layout{traitsOf(Edition::Editor)};
    void apply(const std::string& text, const std::string& resource = "ORG1") {
        const IniDocument doc = IniDocument::parse(text);
        const IniSection* s = doc.sections().empty() ? nullptr : &doc.sections().front();
        ASSERT_NE(s, nullptr);
        layout.applyPlacement(*s, resource);
        layout.applyStyle(*s, resource);
    }
    std::optional<Point> pos(std::string_view name) const {
        const ControlLayout* c = layout.control(name);
        return c ? c->position : std::nullopt;
    }
    std::optional<bool> visible(std::string_view name) const {
        const ControlLayout* c = layout.control(name);
        return c ? c->visible : std::nullopt;
    }
};

TEST(Layout, CompleteSectionReadsWithoutIssues) {
    Applied a;
    a.apply(layoutText());
    EXPECT_TRUE(a.layout.issues().empty()) << a.layout.issues().front().message();
    EXPECT_EQ(a.pos("Btn_Apply"), (Point{10, 180}));
    EXPECT_EQ(a.pos("Img_Apply"), (Point{10, 180}));
    EXPECT_EQ(a.pos("Btn_Macro"), (Point{990, 515})); // B11
    EXPECT_EQ(a.pos("Img_Lang1"), (Point{720, 515})); // B8
    EXPECT_EQ(a.pos("Key12"), (Point{100, 360}));
}

TEST(Layout, EnableOtherThanOneHidesWithoutReadingPositions) {
    Applied a;
    std::string t = layoutText();
    t = with(t, "Key4_Enable", "0");
    t = with(t, "Key5_Enable", "2");
    t = with(t, "Key5_X", "999"); // present but not read
    t = without(t, "Key4_X");     // absent and not needed
    t = with(t, "Btn_B3_Enable", " 1 ");
    a.apply(t);
    EXPECT_TRUE(a.layout.issues().empty());
    EXPECT_EQ(a.visible("Key4"), false);
    EXPECT_EQ(a.visible("Img_Key4"), false);
    EXPECT_EQ(a.visible("Key5"), false);
    EXPECT_FALSE(a.pos("Key5")); // never placed
    EXPECT_EQ(a.visible("Btn_Fixed"), true);
    EXPECT_EQ(a.layout.lastPlacement().keys[4].enable, 2);
}

TEST(Layout, BadValueIsReportedAndTheControlKeepsItsPlace) {
    Applied a;
    a.apply(layoutText());
    std::string t = with(layoutText("org3"), "Key2_X", "12a");
    t = without(t, "DPI_Y");
    t = with(t, "Key3_X", "555");
    t = with(t, "Key3_Y", "99999999999");
    t = with(t, "Color_C_G", "256");
    t = with(t, "Key1_Enable", "yes");
    a.apply(t, "ORG3");

    std::vector<std::string> messages;
    for (const LayoutIssue& i : a.layout.issues())
        messages.push_back(i.message());
    EXPECT_EQ(messages,
              (std::vector<std::string>{"ORG3 [org3] Key1_Enable: not a decimal integer: \"yes\"",
                                        "ORG3 [org3] Key2_X: not a decimal integer: \"12a\"",
                                        "ORG3 [org3] Key3_Y: out of range: \"99999999999\"",
                                        "ORG3 [org3] DPI_Y: missing",
                                        "ORG3 [org3] Color_C_G: outside 0..255: 256"}));
    EXPECT_EQ(a.pos("Key2"), (Point{100, 60})); // both coordinates kept
    EXPECT_EQ(a.pos("Key3"), (Point{100, 90}));
    EXPECT_EQ(a.pos("Img_DPI1"), (Point{100, 200}));
    EXPECT_EQ(a.visible("Key1"), true);
    EXPECT_EQ(a.layout.control("Key1")->textColour, (Rgb{200, 200, 200}));
    EXPECT_EQ(a.layout.style().keyLabels.colour, (Rgb{200, 200, 200}));
    EXPECT_EQ(a.layout.takeIssues().size(), 5u);
    EXPECT_TRUE(a.layout.issues().empty());
}

// Every number is bounded where it is read, so the positions derived from it (a coordinate
// plus a step) cannot overflow: the largest accepted value and the first refused one.
TEST(Layout, NumbersAreBoundedAtTheirEdge) {
    Applied a;
    std::string t = layoutText();
    t = with(t, "Error_text_X", "-100000");
    t = with(t, "Error_text_Y", "100000");
    t = with(t, "DPI_X", "100000");
    t = with(t, "FKPara1_Y", "100000");
    a.apply(t);
    EXPECT_TRUE(a.layout.issues().empty());
    EXPECT_EQ(a.pos("lbl_CheckDev"), (Point{-100000, 100050}));
    EXPECT_EQ(a.pos("Edt_DelayTime1"), (Point{100, 100022}));
    EXPECT_EQ(a.pos("Img_DPI8"), (Point{100000 + 7 * 29, 200}));

    Applied b;
    t = layoutText();
    for (const char* key :
         {"Error_text_Y", "DPI_X", "FKPara1_Y", "New_Y", "Del_Y", "InsertRecDelay_Y"})
        t = with(t, key, "2147483647");
    t = with(t, "Error_text_X", "-100001");
    t = with(t, "Key1_X", "100001");
    b.apply(t);
    std::vector<std::string> keys;
    for (const LayoutIssue& i : b.layout.issues()) {
        EXPECT_NE(i.problem.find("out of range"), std::string::npos) << i.message();
        keys.push_back(i.key);
    }
    EXPECT_EQ(keys.size(), 8u);
    EXPECT_FALSE(b.pos("lbl_CheckDev"));
    EXPECT_FALSE(b.pos("Img_DPI8"));
    EXPECT_FALSE(b.pos("Key1"));
}

TEST(Layout, FontSizesAreBounded) {
    Applied a;
    std::string t = with(layoutText(), "Size_A", "500");
    t = with(t, "Size_B", "501");
    t = with(t, "Size_D", "0");
    a.apply(t);
    std::vector<std::string> messages;
    for (const LayoutIssue& i : a.layout.issues())
        messages.push_back(i.message());
    EXPECT_EQ(messages,
              (std::vector<std::string>{"ORG1 [org1] Size_B: not a usable text size: 501",
                                        "ORG1 [org1] Size_D: not a usable text size: 0"}));
    EXPECT_EQ(a.layout.style().windowButtons.size, 500);
    EXPECT_FALSE(a.layout.style().pageButtons.size);
}

TEST(Layout, FirstApplicationWithAMissingValueLeavesTheControlUnplaced) {
    Applied a;
    a.apply(without(layoutText(), "P2_X"));
    ASSERT_EQ(a.layout.issues().size(), 1u);
    EXPECT_EQ(a.layout.issues()[0].key, "P2_X");
    EXPECT_FALSE(a.pos("Img_P2"));
    EXPECT_FALSE(a.pos("Disable"));
}

TEST(Layout, DerivedPositions) {
    Applied a;
    std::string t = layoutText();
    t = with(with(t, "Spd_X", "121"), "Spd_Y", "191");
    t = with(with(t, "DPI_X", "535"), "DPI_Y", "222");
    t = with(with(t, "Rep2_X", "628"), "Rep2_Y", "280");
    t = with(with(t, "LEDColorMode1_X", "368"), "LEDColorMode1_Y", "379");
    t = with(with(t, "R2_X", "588"), "R2_Y", "410");
    t = with(with(t, "FKPara3_X", "665"), "FKPara3_Y", "384");
    t = with(with(t, "New_X", "598"), "New_Y", "192");
    t = with(with(t, "Del_X", "598"), "Del_Y", "407");
    t = with(with(t, "RecDelay_X", "20"), "RecDelay_Y", "36");
    t = with(with(t, "InsertDelayEdit_X", "136"), "InsertDelayEdit_Y", "55");
    t = with(with(t, "InsertOK_X", "110"), "InsertOK_Y", "126");
    t = with(with(t, "Error_text_X", "94"), "Error_text_Y", "254");
    a.apply(t);
    ASSERT_TRUE(a.layout.issues().empty());

    EXPECT_EQ(a.pos("Img_Spd1"), (Point{121, 191}));
    EXPECT_EQ(a.pos("Img_Spd10"), (Point{337, 191}));
    EXPECT_EQ(a.pos("lbl_Spd1"), (Point{117, 199}));
    EXPECT_EQ(a.pos("lbl_Spd10"), (Point{333, 199}));
    EXPECT_EQ(a.pos("Img_Off4"), (Point{172, 200}));
    EXPECT_EQ(a.pos("Img_DPI8"), (Point{738, 222}));
    EXPECT_EQ(a.pos("lbl_DPI1"), (Point{529, 194}));
    EXPECT_EQ(a.pos("lbl_Rep2"), (Point{624, 278}));
    EXPECT_EQ(a.pos("lbl_Random"), (Point{96, 198}));
    EXPECT_EQ(a.pos("lbl_LEDColMode1"), (Point{364, 375}));
    EXPECT_EQ(a.pos("cs_Mode2"), (Point{588, 410}));
    EXPECT_EQ(a.layout.control("lbl_csmode2")->sizeFrom, "Img_Mode2Color");
    EXPECT_EQ(a.pos("Edt_DelayTime3"), (Point{665, 406}));
    EXPECT_EQ(a.pos("Btn_Import"), (Point{598, 348}));
    EXPECT_EQ(a.pos("Img_Clear"), (Point{598, 244}));
    EXPECT_EQ(a.pos("Btn_Insert"), (Point{598, 433}));
    EXPECT_EQ(a.pos("LED_NoDelay"), (Point{20, 82}));
    EXPECT_EQ(a.pos("IB_DelayTime"), (Point{18, 59}));
    EXPECT_EQ(a.layout.control("IB_DelayTime")->parent, "Gb_Delay");
    EXPECT_EQ(a.pos("lbl_Delay"), (Point{62, 57}));
    EXPECT_EQ(a.pos("lbl_s_A"), (Point{180, 57}));
    EXPECT_EQ(a.pos("lbl_DelayUnit"), (Point{144, 202}));
    EXPECT_EQ(a.layout.control("lbl_DelayUnit")->parent, "Gb_Delay");
    EXPECT_EQ(a.layout.control("lbl_s_A")->parent, "Gb_Insert");
    EXPECT_EQ(a.pos("Btn_OK"), (Point{82, 126}));
    EXPECT_EQ(a.pos("Btn_Cancel"), (Point{142, 126}));
    EXPECT_EQ(a.pos("lbl_TypeError"), (Point{94, 254}));
    EXPECT_EQ(a.pos("lbl_CheckDev"), (Point{94, 304}));
    EXPECT_EQ(a.layout.control("Disable")->sizeFrom, "Img_P2");
    EXPECT_EQ(a.layout.macroNameItemHeight(), 20);
}

TEST(Layout, StyleGoesToEveryControlOfItsGroup) {
    Applied a;
    std::string t = with(layoutText(), "Size_F", "9");
    a.apply(t);
    const Rgb back{1, 2, 3};
    EXPECT_EQ(a.layout.control("Btn_Exit")->fontSize, 10);
    EXPECT_EQ(a.layout.control("lbl_CheckDev")->textColour, (Rgb{200, 200, 200}));
    EXPECT_EQ(a.layout.control("lbl_ScrSpd10")->textColour, back); // not-selected colour
    EXPECT_EQ(a.layout.control("lbl_DPI3")->fontSize, 9);
    EXPECT_FALSE(a.layout.control("lbl_DPI3")->textColour); // colour is the on/off state
    EXPECT_EQ(a.layout.control("Edt_Repeat2")->backColour, back);
    EXPECT_EQ(a.layout.control("CB_Insert")->fontSize, 8);
    EXPECT_EQ(a.layout.control("LB_macro")->backColour, back);
    EXPECT_EQ(a.layout.style().selected->value(), 1u + 256u * 2u + 65536u * 3u);
    // Only the edition with percentage colour edits reads Color_E_Back.
    EXPECT_EQ(a.layout.control("Edt_Mode1R"), nullptr);
    Layout s(traitsOf(Edition::EditorS));
    const IniDocument doc = IniDocument::parse(without(t, "Color_E_Back_G"));
    s.applyStyle(doc.sections().front(), "LANG1");
    ASSERT_EQ(s.issues().size(), 1u);
    EXPECT_EQ(s.issues()[0].key, "Color_E_Back_G");
}

TEST(Layout, WebSettings) {
    Layout layout(traitsOf(Edition::Editor));
    const IniDocument doc = IniDocument::parse(
        "[org]\nWeb = https://support.orlix.example/mouse \nWeb_X=485\nWeb_Y=30\n");
    layout.applyWeb(*doc.section("org"), "ORG");
    EXPECT_TRUE(layout.issues().empty());
    EXPECT_EQ(layout.webAddress(), "https://support.orlix.example/mouse");
    EXPECT_EQ(layout.control("Btn_Web")->position, (Point{485, 30}));
    EXPECT_EQ(layout.control("Btn_Web")->sizeFrom, "Img_Web");
}

} // namespace
