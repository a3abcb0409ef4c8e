#include "TestFiles.h"
#include "appearance/EmbeddedResources.h"
#include "appearance/Languages.h"
#include "appearance/Png.h"
#include "appearance/Skin.h"
#include "appearance/TextIds.h"
#include "model/TextCodec.h"

#include <gtest/gtest.h>

using namespace orlix;
using namespace orlix::appearance;

namespace {

struct EditionCase {
    Edition edition;
    const ResourceBundle& (*resources)();
};
const EditionCase kEditions[] = {{Edition::Editor, orlixEditorResources},
                                 {Edition::EditorS, orlixEditorSResources}};

Languages loadLanguages(const EditionCase& e) {
    Languages::Loaded loaded = Languages::load(e.resources(), traitsOf(e.edition));
    EXPECT_TRUE(loaded.problems.empty()) << loaded.problems.front();
    return loaded.languages;
}

TEST(ShippedTables, EveryTableHoldsEveryIdTheProgramUses) {
    for (const EditionCase& e : kEditions) {
        const Languages languages = loadLanguages(e);
        for (int n = 1; n <= 3; ++n) {
            for (const std::string& id : usedTextIds()) {
                EXPECT_FALSE(languages.table(n).text(id).empty())
                    << traitsOf(e.edition).programName << " language " << n << " " << id;
            }
        }
    }
    EXPECT_EQ(usedTextIds().size(), 124u);
}

TEST(ShippedTables, AreWhatTheirReadableSourcesGive) {
    for (const EditionCase& e : kEditions) {
        const EditionTraits& traits = traitsOf(e.edition);
        for (int n = 1; n <= 3; ++n) {
            const auto path = test::sourceDir() / "tools/langtables" /
                              std::string(traits.programName) /
                              ("LANG" + std::to_string(n) + ".txt");
            const std::vector<std::uint8_t> source = test::readBytes(path);
            ASSERT_FALSE(source.empty()) << path;
            std::string error;
            const auto written = writeLanguageTable(
                std::string_view(reinterpret_cast<const char*>(source.data()), source.size()),
                traits.tableEncoding, &error);
            ASSERT_TRUE(written) << path << ": " << error;
            const auto shipped = e.resources().find("LANG" + std::to_string(n));
            ASSERT_TRUE(shipped);
            EXPECT_TRUE(
                std::equal(written->begin(), written->end(), shipped->begin(), shipped->end()))
                << path << " and its resource differ: run orlix_langgen";
        }
    }
}

TEST(ShippedTables, LanguageSwitchRecaptionsButtonLabels) {
    Languages l = loadLanguages(kEditions[0]);
    l.select(2);
    EXPECT_EQ(l.recaption("Left Key"), "Левая кнопка");
    l.select(1);
    EXPECT_EQ(l.recaption("Левая кнопка"), "Left Key");
    EXPECT_EQ(l.findTextId("Stop"), "Str401");
    EXPECT_EQ(l.findTextId("Macro"), "Str206");
    EXPECT_EQ(l.recaption("Shift + F5"), "Shift + F5");
    EXPECT_EQ(l.text(textid::WriteRefused),
              "Nothing was written to the mouse: it refused the write command.");
}

// A label showing a function name must show the same function after any switch; two
// functions sharing a text in one language would swap one for the other.
TEST(ShippedTables, FunctionNamesSurviveEverySwitch) {
    std::vector<int> functionIds;
    for (auto [first, last] :
         {std::pair{210, 214}, {221, 223}, {231, 234}, {240, 248}, {250, 256}, {260, 266}}) {
        for (int id = first; id <= last; ++id)
            functionIds.push_back(id);
    }
    for (const EditionCase& e : kEditions) {
        Languages l = loadLanguages(e);
        for (int id : functionIds) {
            for (int from = 1; from <= 3; ++from) {
                const std::string shown = l.table(from).text(strId(id));
                for (int to = 1; to <= 3; ++to) {
                    l.select(to);
                    EXPECT_EQ(l.recaption(shown), l.table(to).text(strId(id)))
                        << traitsOf(e.edition).programName << " " << strId(id) << " " << from
                        << " -> " << to;
                }
            }
        }
    }
}

std::size_t displayWidth(const std::string& utf8) {
    const std::optional<std::u16string> units = utf8ToUtf16(utf8);
    EXPECT_TRUE(units) << utf8;
    std::size_t width = 0;
    for (char16_t u : units.value_or(u""))
        width += u >= 0x2E80 ? 2 : 1; // CJK takes two cells
    return width;
}

TEST(ShippedTables, CaptionsAreShortEnoughForTheirControls) {
    struct Limit {
        int first, last;
        std::size_t width;
    };
    // Window buttons are 77 pixels wide, page buttons 125; key labels (104) scroll their text
    // under the pointer, so they may run as long as the longest English name. The macro
    // buttons' captions are measured against their plates in the window test.
    const Limit limits[] = {{0, 3, 10}, {4, 14, 16}, {210, 266, 20}, {310, 313, 8}, {402, 409, 14}};
    for (const EditionCase& e : kEditions) {
        const Languages l = loadLanguages(e);
        for (int n = 1; n <= 3; ++n) {
            for (const Limit& limit : limits) {
                for (int id = limit.first; id <= limit.last; ++id) {
                    const std::string text = l.table(n).text(strId(id));
                    EXPECT_LE(displayWidth(text), limit.width) << strId(id) << " " << text;
                }
            }
        }
    }
}

TEST(ShippedTables, EditionDifferencesInStoredTexts) {
    Languages editor = loadLanguages(kEditions[0]);
    Languages editorS = loadLanguages(kEditions[1]);
    EXPECT_EQ(editor.stored().resolutionValues[6], "1600");
    EXPECT_EQ(editor.stored().resolutionValues[7], "2000");
    EXPECT_EQ(editorS.stored().resolutionValues[6], "2000");
    EXPECT_EQ(editorS.stored().resolutionValues[7], "1600");
    EXPECT_EQ(editorS.stored().alternateProfileFunction, "KB Switch Key");
    EXPECT_EQ(editorS.text("Str418"), "ms"); // the delay fields hold milliseconds
    editor.select(3);
    EXPECT_EQ(editor.stored().title, "BRENTOR Gaming Mouse");
    EXPECT_EQ(editor.text("Str012"), "Language2");
    editorS.select(3);
    EXPECT_EQ(editorS.stored().stop, "停止");
    EXPECT_EQ(editorS.text("Str210"), "左键");
    editorS.select(2);
    EXPECT_EQ(editorS.text("Str210"), "左鍵");
}

std::vector<std::string> messages(const Layout& layout) {
    std::vector<std::string> m;
    for (const LayoutIssue& i : layout.issues())
        m.push_back(i.message());
    return m;
}

TEST(ShippedLayouts, SkinThreeShowsMorePageButtonsInTwoRows) {
    const EditionTraits& traits = traitsOf(Edition::Editor);
    const Languages languages = loadLanguages(kEditions[0]);
    Skin skin(orlixEditorResources(), traits);
    skin.loadWebSettings();
    skin.applyLanguage(1, languages);
    EXPECT_TRUE(skin.layout().issues().empty()) << messages(skin.layout()).front();
    const Layout& layout = skin.layout();
    EXPECT_TRUE(layout.webAddress().starts_with("https://"));
    EXPECT_NE(layout.webAddress().find(".example/"), std::string::npos);
    EXPECT_EQ(layout.control("Img_Web")->position, (Point{485, 30}));
    EXPECT_EQ(layout.control("Btn_Fixed")->visible, false);
    EXPECT_EQ(layout.control("Btn_Main")->position, (Point{5, 515}));
    EXPECT_EQ(layout.control("Img_ScrSpd1")->position, (Point{121, 373}));

    skin.applyLanguage(2, languages);
    EXPECT_EQ(layout.control("Img_ScrSpd1")->position, (Point{121, 376}));

    skin.applyLanguage(3, languages);
    EXPECT_TRUE(layout.issues().empty()) << messages(layout).front();
    for (const char* shown :
         {"Btn_Fixed", "Img_Breath", "Btn_Macro", "Img_Lang3", "Key4", "Key7"}) {
        EXPECT_EQ(layout.control(shown)->visible, true) << shown;
    }
    EXPECT_EQ(layout.control("Key9")->visible, false);
    EXPECT_EQ(layout.control("Btn_Main")->position, (Point{76, 484}));
    EXPECT_EQ(layout.control("Btn_Lang3")->position, (Point{514, 520}));
    EXPECT_EQ(layout.control("Edt_Repeat4")->position, (Point{720, 384}));

    skin.applyLanguage(1, languages);
    for (const char* hidden :
         {"Btn_Fixed", "Img_Breath", "Btn_Macro", "Img_Lang3", "Key4", "Key7"}) {
        EXPECT_EQ(layout.control(hidden)->visible, false) << hidden;
    }
    EXPECT_EQ(layout.control("Btn_Main")->position, (Point{5, 515}));
    EXPECT_EQ(layout.control("Key8")->position, (Point{552, 344}));
    EXPECT_EQ(layout.control("Key9")->visible, true);
    EXPECT_EQ(layout.control("Edt_Mode1R"), nullptr); // this edition ignores Color_E_Back
    EXPECT_TRUE(layout.issues().empty());

    EXPECT_EQ(Skin::windowBackground(3), "L3_BackGround");
    EXPECT_EQ(Skin::pageBackground(2, 4), "L2_Back4");
}

TEST(ShippedLayouts, SingleLayoutEditionTakesStyleFromItsLanguageTables) {
    const EditionTraits& traits = traitsOf(Edition::EditorS);
    const Languages languages = loadLanguages(kEditions[1]);
    Skin skin(orlixEditorSResources(), traits);
    skin.loadWebSettings();
    const Layout& layout = skin.layout();
    EXPECT_TRUE(layout.issues().empty()) << messages(layout).front(); // Btn_B9_X is not needed
    EXPECT_EQ(layout.control("Btn_Lang2")->visible, false);
    EXPECT_EQ(layout.control("Key4")->position, (Point{562, 304}));
    EXPECT_EQ(layout.control("Key8")->visible, false);
    // The lighting page's bars and options are placed inside the window (the stored layout put
    // them beyond its right edge, where the page would have shown nothing); the colour box
    // that stands for mode 2 stays where the layout puts it.
    for (const char* inside : {"Img_Off1", "Img_Fall10", "lbl_Raise1", "Img_Custom"}) {
        EXPECT_LT(layout.control(inside)->position->x, 800) << inside;
    }
    EXPECT_GE(layout.control("Img_Mode2Color")->position->x, 800);
    EXPECT_FALSE(layout.control("Key1")->fontSize);
    for (int n = 1; n <= 3; ++n) {
        skin.applyLanguage(n, languages);
        EXPECT_TRUE(layout.issues().empty()) << messages(layout).front();
        EXPECT_EQ(layout.control("Key1")->fontSize, 11);
        EXPECT_EQ(layout.control("Edt_Mode2B")->backColour, (Rgb{113, 111, 100}));
    }
    EXPECT_EQ(layout.control("lbl_NoDev")->fontSize, 20);
    EXPECT_EQ(layout.control("Key4")->position, (Point{562, 304})); // languages move nothing
}

TEST(ShippedLayouts, MissingLayoutResourceIsReported) {
    const ResourceBundle empty;
    Skin skin(empty, traitsOf(Edition::Editor));
    skin.loadWebSettings();
    skin.applyLanguage(2, Languages());
    EXPECT_EQ(messages(skin.layout()),
              (std::vector<std::string>{"ORG: resource missing", "ORG2: resource missing"}));
    const ResourceBundle wrong = ResourceBundle::fromMemory({{"ORG1", {'[', 'x', ']'}}});
    Skin skin2(wrong, traitsOf(Edition::Editor));
    skin2.applyLanguage(1, Languages());
    EXPECT_EQ(messages(skin2.layout()), (std::vector<std::string>{"ORG1 [org1]: section missing"}));
}

TEST(ShippedImages, EveryEmbeddedPngDecodes) {
    for (const EditionCase& e : kEditions) {
        for (const std::string& name : e.resources().names()) {
            auto bytes = e.resources().find(name);
            if (bytes->size() < 8 || (*bytes)[1] != 'P' || (*bytes)[2] != 'N' ||
                (*bytes)[3] != 'G') {
                continue;
            }
            const ImageResult r = decodePng(*bytes);
            EXPECT_TRUE(r.ok()) << name << ": " << r.error;
        }
    }
}

} // namespace

// Pairs of ids that share a text in some table must share it in every table of the edition:
// a key label showing "Forward" (Str214) or "Stop" (Str251) is re-captioned through the id
// found last, the browser's Forward (Str263) or the record button's Stop (Str401), so a
// translation that told them apart would turn the mouse button into the browser command.
TEST(ShippedTables, RecaptionedPairsStayIdentical) {
    for (const EditionCase& e : kEditions) {
        const Languages l = loadLanguages(e);
        for (auto [a, b] : {std::pair{"Str263", "Str214"}, {"Str401", "Str251"}}) {
            bool sharedSomewhere = false;
            for (int n = 1; n <= 3; ++n)
                sharedSomewhere |= l.table(n).text(a) == l.table(n).text(b);
            if (!sharedSomewhere) continue;
            for (int n = 1; n <= 3; ++n)
                EXPECT_EQ(l.table(n).text(a), l.table(n).text(b))
                    << traitsOf(e.edition).programName << " language " << n << ": " << a << " and "
                    << b;
        }
    }
    // orlix-editor shares both pairs in English; orlix-editor-s only the Stop pair (its
    // browser Forward reads "WWW Forward").
    const Languages editor = loadLanguages(kEditions[0]);
    EXPECT_EQ(editor.table(1).text("Str263"), "Forward");
    EXPECT_EQ(editor.table(2).text("Str263"), editor.table(2).text("Str214"));
    EXPECT_EQ(editor.table(2).text("Str401"), editor.table(2).text("Str251"));
    const Languages editorS = loadLanguages(kEditions[1]);
    EXPECT_EQ(editorS.table(2).text("Str401"), editorS.table(2).text("Str251"));
    EXPECT_EQ(editorS.table(3).text("Str401"), editorS.table(3).text("Str251"));
}
