// Unit tests of the artwork generator's parts: the PNG encoder, the colour-key handling, the
// layout table the drawing follows, the mouse anchors and callouts, and the contact-sheet font.

#include "ArtworkTables.h"

#include "ArtSet.h"
#include "Backgrounds.h"
#include "Controls.h"
#include "MouseArt.h"
#include "Paint.h"
#include "PngWriter.h"
#include "SkinLayout.h"
#include "Theme.h"
#include "TinyFont.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <QImage>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

std::uint32_t be32(const std::vector<unsigned char>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | std::uint32_t{b[at + 3]};
}

struct Chunk {
    std::string type;
    std::size_t length;
    bool crcOk;
};

// Splits a PNG into its chunks, checking each CRC.
std::vector<Chunk> chunks(const std::vector<unsigned char>& png) {
    std::vector<Chunk> out;
    std::size_t pos = 8;
    while (pos + 12 <= png.size()) {
        const std::size_t len = be32(png, pos);
        if (pos + 12 + len > png.size()) break;
        const std::string type(png.begin() + static_cast<long>(pos + 4),
                               png.begin() + static_cast<long>(pos + 8));
        uLong crc = crc32(0L, Z_NULL, 0);
        crc = crc32(crc, png.data() + pos + 4, static_cast<uInt>(4 + len));
        out.push_back({type, len, crc == be32(png, pos + 8 + len)});
        pos += 12 + len;
    }
    return out;
}

QImage sampleImage(bool translucent) {
    QImage img(37, 23, QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int a = translucent ? (x * 7 + y * 11) % 256 : 255;
            img.setPixel(x, y, qRgba((x * 29) % 256, (y * 53) % 256, (x * y) % 256, a));
        }
    return img;
}

QImage decode(const std::vector<unsigned char>& png) {
    QImage img;
    EXPECT_TRUE(img.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
    return img.convertToFormat(QImage::Format_ARGB32);
}

TEST(ArtgenPngWriter, TranslucentImagesRoundTripPixelForPixel) {
    const QImage in = sampleImage(true);
    const QImage out = decode(artgen::encodePng(in));
    ASSERT_EQ(out.size(), in.size());
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x)
            ASSERT_EQ(out.pixel(x, y), in.pixel(x, y)) << x << "," << y;
}

TEST(ArtgenPngWriter, OpaqueImagesRoundTripPixelForPixel) {
    const QImage in = sampleImage(false);
    const QImage out = decode(artgen::encodePng(in));
    ASSERT_EQ(out.size(), in.size());
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x)
            ASSERT_EQ(out.pixel(x, y), in.pixel(x, y)) << x << "," << y;
}

TEST(ArtgenPngWriter, ChoosesRgbForOpaqueAndRgbaForTranslucentImages) {
    const auto opaque = artgen::encodePng(sampleImage(false));
    const auto translucent = artgen::encodePng(sampleImage(true));
    ASSERT_GT(opaque.size(), 26u);
    ASSERT_GT(translucent.size(), 26u);
    EXPECT_EQ(opaque[24], 8);      // bit depth
    EXPECT_EQ(opaque[25], 2);      // colour type RGB
    EXPECT_EQ(translucent[25], 6); // colour type RGBA

    // A single pixel that is not fully opaque is enough to need the alpha channel.
    QImage almost = sampleImage(false);
    almost.setPixel(36, 22, qRgba(1, 2, 3, 254));
    EXPECT_EQ(artgen::encodePng(almost)[25], 6);
}

TEST(ArtgenPngWriter, WritesOnlyHeaderDataAndEndWithValidChecksums) {
    const auto png = artgen::encodePng(sampleImage(true));
    const unsigned char sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_TRUE(std::equal(sig, sig + 8, png.begin()));
    const auto list = chunks(png);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].type, "IHDR");
    EXPECT_EQ(list[0].length, 13u);
    EXPECT_EQ(list[1].type, "IDAT");
    EXPECT_EQ(list[2].type, "IEND");
    EXPECT_EQ(list[2].length, 0u);
    for (const Chunk& c : list)
        EXPECT_TRUE(c.crcOk) << c.type;
    EXPECT_EQ(be32(png, 16), 37u);
    EXPECT_EQ(be32(png, 20), 23u);
}

TEST(ArtgenPngWriter, SamePixelsGiveSameBytesAndAnyChangeShows) {
    const QImage a = sampleImage(true);
    EXPECT_EQ(artgen::encodePng(a), artgen::encodePng(a));
    // The pixel format the caller holds does not matter, only the pixels.
    EXPECT_EQ(artgen::encodePng(a), artgen::encodePng(a.convertToFormat(QImage::Format_RGBA8888)));
    QImage b = a;
    b.setPixel(10, 10, b.pixel(10, 10) ^ 0x00000100u);
    EXPECT_NE(artgen::encodePng(a), artgen::encodePng(b));
}

TEST(ArtgenPngWriter, ReportsAPathItCannotWrite) {
    std::string error;
    EXPECT_FALSE(artgen::writePng(sampleImage(false), "/nonexistent-dir/x/y.png", error));
    EXPECT_NE(error.find("/nonexistent-dir/x/y.png"), std::string::npos);
}

TEST(ArtgenPaint, AvoidColourChangesOnlyOpaqueKeyPixels) {
    QImage img(4, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(128, 0, 0, 255)); // the key: must change
    img.setPixel(1, 0, qRgba(128, 0, 0, 100)); // translucent: blends, stays
    img.setPixel(2, 0, qRgba(128, 0, 1, 255)); // a neighbour shade: stays
    img.setPixel(3, 0, qRgba(0, 0, 128, 255)); // navy is another colour: stays
    artgen::avoidColour(img, artgen::kColourKey);
    EXPECT_EQ(img.pixel(0, 0), qRgba(129, 0, 0, 255));
    EXPECT_EQ(img.pixel(1, 0), qRgba(128, 0, 0, 100));
    EXPECT_EQ(img.pixel(2, 0), qRgba(128, 0, 1, 255));
    EXPECT_EQ(img.pixel(3, 0), qRgba(0, 0, 128, 255));
}

TEST(ArtgenPaint, TheKeyIsThePlatformColour0x000080) {
    // Platform colour values are red + 256 x green + 65536 x blue.
    const int value = qRed(artgen::kColourKey) + 256 * qGreen(artgen::kColourKey) +
                      65536 * qBlue(artgen::kColourKey);
    EXPECT_EQ(value, 0x000080);
    EXPECT_EQ(artgen::kColourKey & 0xFFFFFFu, artwork_tables::kKey);
}

TEST(ArtgenPaint, SnappedTrigonometryIsExactAtRightAngles) {
    EXPECT_EQ(artgen::sinDeg(0), 0.0);
    EXPECT_EQ(artgen::sinDeg(90), 1.0);
    EXPECT_EQ(artgen::cosDeg(180), -1.0);
    EXPECT_EQ(artgen::cosDeg(90), 0.0);
    EXPECT_NEAR(artgen::sinDeg(30), 0.5, 1e-6);
}

// The generator's layout table must say what the test's table (and the shipped layouts) say.
void expectSameLayout(const artgen::SkinLayout& g, const artwork_tables::Layout& t,
                      const std::string& what) {
    const auto same = [&](const artgen::Pt& p, const std::string& key) {
        ASSERT_TRUE(t.at.count(key)) << what << " " << key;
        EXPECT_EQ(p.x, t[key].x) << what << " " << key << "_X";
        EXPECT_EQ(p.y, t[key].y) << what << " " << key << "_Y";
    };
    same(g.p1, "P1");
    same(g.p2, "P2");
    same(g.p3, "P3");
    same(g.p4, "P4");
    std::set<std::string> keys;
    for (const artgen::KeySlot& k : g.keys) {
        const std::string name = "Key" + std::to_string(k.number);
        keys.insert(name);
        EXPECT_TRUE(t.shown.count(name)) << what << ": " << name << " drawn but not shown";
        same(k.pos, name);
    }
    for (const std::string& s : t.shown) {
        if (s.rfind("Key", 0) == 0) {
            EXPECT_TRUE(keys.count(s)) << what << ": " << s << " shown but not drawn";
        }
    }
    for (std::size_t i = 0; i < 4; ++i)
        same(g.windowButtons[i], "Btn_A" + std::to_string(i + 1));
    std::set<std::string> buttons;
    for (const artgen::PageButton& b : g.pageButtons) {
        const std::string name = "Btn_B" + std::to_string(b.number);
        buttons.insert(name);
        same(b.pos, name);
    }
    for (const std::string& s : t.shown) {
        if (s.rfind("Btn_B", 0) == 0) {
            EXPECT_TRUE(buttons.count(s)) << what << ": " << s << " has no socket";
        }
    }
    same(g.spd, "Spd");
    same(g.dbSpd, "DbSpd");
    same(g.scrSpd, "ScrSpd");
    same(g.dpi, "DPI");
    same(g.rep1, "Rep1");
    same(g.rep2, "Rep2");
    for (std::size_t i = 0; i < 4; ++i)
        same(g.fkPara[i], "FKPara" + std::to_string(i + 1));
    for (std::size_t i = 0; i < g.fkMode.size(); ++i)
        same(g.fkMode[i], "FKMode" + std::to_string(i + 1));
    if (t.at.count("OffTime")) {
        same(g.offTime, "OffTime");
        same(g.raiseTime, "RaiseTime");
        same(g.onTime, "OnTime");
        same(g.fallTime, "FallTime");
        for (std::size_t i = 0; i < 3; ++i)
            same(g.ledMode[i], "LEDMode" + std::to_string(i + 1));
        same(g.ledColorMode1, "LEDColorMode1");
        same(g.r1, "R1");
        same(g.ledColorMode2, "LEDColorMode2");
        same(g.r2, "R2");
    }
    same(g.macroName, "MacroName");
    same(g.newButton, "New");
    same(g.delButton, "Del");
    same(g.macroContent, "MacroContent");
    same(g.delayGroup, "DelayTime");
    same(g.recDelay, "RecDelay");
    same(g.delayEdit, "DelayEdit");
    same(g.insertGroup, "Insert");
    same(g.insertList, "InsertList");
    same(g.insertRecDelay, "InsertRecDelay");
    same(g.insertDelayEdit, "InsertDelayEdit");
    same(g.insertStart, "InsertStart");
    same(g.insertOk, "InsertOK");
}

TEST(ArtgenLayouts, GeneratorFollowsTheEditorLayouts) {
    for (int n = 1; n <= 3; ++n)
        expectSameLayout(artgen::editorLayout(n), artwork_tables::editorLayout(n),
                         "layout " + std::to_string(n));
}

TEST(ArtgenLayouts, GeneratorFollowsTheEditorSLayout) {
    expectSameLayout(artgen::editorSLayout(), artwork_tables::editorSLayout(), "orlix-editor-s");
}

TEST(ArtgenLayouts, FireModeLabelsOutsideTheWindowAreNotDrawnFor) {
    // Layouts 1 and 2 put the fourth fire-mode label at x 900, outside the 800 px window.
    for (int n = 1; n <= 3; ++n)
        for (const artgen::Pt& p : artgen::editorLayout(n).fkMode)
            EXPECT_LT(p.x, 800) << "layout " << n;
    EXPECT_EQ(artgen::editorLayout(1).fkMode.size(), 3u);
    EXPECT_EQ(artgen::editorLayout(3).fkMode.size(), 4u);
}

TEST(ArtgenMouseArt, AnchorsSitOnTheirSideOfTheMouseInFrontToBackOrder) {
    using artgen::MouseControl;
    const artgen::MousePlacement at{200, 46};
    const auto a = [&](MouseControl c) { return artgen::controlAnchor(c, at); };
    for (MouseControl c : {MouseControl::LeftButton, MouseControl::SideFront,
                           MouseControl::SideRear, MouseControl::Fire})
        EXPECT_LT(a(c).x(), 200) << static_cast<int>(c);
    EXPECT_GT(a(MouseControl::RightButton).x(), 200);
    for (MouseControl c : {MouseControl::Wheel, MouseControl::CpiUp, MouseControl::CpiDown})
        EXPECT_EQ(a(c).x(), 200) << static_cast<int>(c);
    EXPECT_LT(a(MouseControl::Wheel).y(), a(MouseControl::CpiUp).y());
    EXPECT_LT(a(MouseControl::CpiUp).y(), a(MouseControl::CpiDown).y());
    EXPECT_LT(a(MouseControl::SideFront).y(), a(MouseControl::SideRear).y());
    // Everything lies on the body, between the front and the rear of a 302 px long mouse.
    for (int c = 0; c <= static_cast<int>(MouseControl::Fire); ++c) {
        const QPointF p = a(static_cast<MouseControl>(c));
        EXPECT_GT(p.y(), 46);
        EXPECT_LT(p.y(), 46 + 302);
        EXPECT_LT(std::abs(p.x() - 200), 95);
    }
}

TEST(ArtgenMouseArt, CalloutsEndAtTheLabelEdgeFacingTheMouse) {
    const QRectF right(357, 84, 104, 31);
    const QRectF left(-65, 78, 104, 31);
    EXPECT_EQ(artgen::calloutEnd(QPointF(240, 99), right), QPointF(357, 99.5));
    EXPECT_EQ(artgen::calloutEnd(QPointF(150, 93), left), QPointF(39, 93.5));
}

TEST(ArtgenMouseArt, EveryShownKeyHasItsOwnControl) {
    for (const artgen::Edition& e : {artgen::editorEdition(), artgen::editorSEdition()})
        for (const artgen::Skin& s : e.skins) {
            std::set<int> controls;
            for (const artgen::KeySlot& k : s.layout.keys)
                EXPECT_TRUE(controls.insert(static_cast<int>(k.control)).second)
                    << e.name << " L" << s.number << ": two labels point at one control";
        }
}

TEST(ArtgenEditions, SkinsHaveDistinctAccents) {
    for (const artgen::Edition& e : {artgen::editorEdition(), artgen::editorSEdition()}) {
        std::set<QRgb> accents;
        for (const artgen::Skin& s : e.skins)
            accents.insert(s.accent.rgb());
        EXPECT_EQ(accents.size(), 3u) << e.name;
    }
}

TEST(ArtgenEditions, OnlyTheShapedEditionCarriesTheSwatchFrameAndTheKey) {
    const artgen::Edition editor = artgen::editorEdition();
    const artgen::Edition editorS = artgen::editorSEdition();
    EXPECT_TRUE(editor.colourKey);
    EXPECT_TRUE(editor.swatchFrame);
    EXPECT_FALSE(editorS.colourKey);
    EXPECT_FALSE(editorS.swatchFrame);
    for (const artgen::Skin& s : editorS.skins)
        EXPECT_EQ(s.outline, artgen::Outline::Rectangle);
}

TEST(ArtgenBackgrounds, RectangularWindowHasNoKeyedPixels) {
    const artgen::Edition e = artgen::editorSEdition();
    const QImage img = artgen::wholeBackground(e, e.skins[0]);
    for (int y = 0; y < img.height(); y += 3)
        for (int x = 0; x < img.width(); x += 3)
            ASSERT_NE(img.pixel(x, y) & 0xFFFFFFu, artgen::kColourKey & 0xFFFFFFu) << x << "," << y;
}

TEST(ArtgenBackgrounds, PageRectsFollowTheLayout) {
    const artgen::Edition e = artgen::editorEdition();
    const artgen::Skin& s = e.skins[0];
    EXPECT_EQ(artgen::pageRect(s, 1), QRect(195, 104, 472, 379));
    EXPECT_EQ(artgen::pageRect(s, 2), QRect(88, 144, 700, 324));
    EXPECT_EQ(artgen::pageRect(s, 3), QRect(112, 128, 620, 356));
    EXPECT_EQ(artgen::pageRect(s, 4), QRect(112, 136, 600, 346));
}

TEST(ArtgenBackgrounds, DeckAndSidebarHoldTheirButtons) {
    for (const artgen::Edition& e : {artgen::editorEdition(), artgen::editorSEdition()})
        for (const artgen::Skin& s : e.skins) {
            const artgen::BaseGeometry g = artgen::baseGeometry(e, s);
            for (const artgen::PageButton& b : s.layout.pageButtons) {
                const qreal left = b.pos.x + (125 - s.pageButtonBody) / 2;
                const QRectF body(left, b.pos.y, s.pageButtonBody, 33);
                EXPECT_TRUE(g.deck.contains(body))
                    << e.name << " L" << s.number << " B" << b.number;
            }
            for (const artgen::Pt& a : s.layout.windowButtons)
                EXPECT_TRUE(g.sidebar.contains(QRectF(a.x, a.y, artgen::kWindowButtonWidth, 30)))
                    << e.name;
            EXPECT_FALSE(g.sidebar.intersects(g.content)) << e.name;
            EXPECT_FALSE(g.content.intersects(g.deck)) << e.name << " L" << s.number;
        }
}

TEST(ArtgenArtSet, NamesAreUniqueAndImagesAreStraightArgb) {
    for (const artgen::Edition& e : {artgen::editorEdition(), artgen::editorSEdition()}) {
        std::set<std::string> names;
        for (const artgen::Artwork& a : artgen::renderEdition(e)) {
            EXPECT_TRUE(names.insert(a.name).second) << e.name << ": " << a.name << " twice";
            EXPECT_EQ(a.image.format(), QImage::Format_ARGB32) << a.name;
        }
        EXPECT_EQ(names.size(), artwork_tables::expectedImages(!e.swatchFrame).size()) << e.name;
    }
}

TEST(ArtgenTinyFont, WidthCountsSixPixelsPerCharacterLessTheLastGap) {
    EXPECT_EQ(artgen::tinyTextWidth(""), 0);
    EXPECT_EQ(artgen::tinyTextWidth("A"), 5);
    EXPECT_EQ(artgen::tinyTextWidth("AB"), 11);
    EXPECT_EQ(artgen::tinyTextWidth("AB", 2), 22);
}

int countInk(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) != 0;
    return n;
}

TEST(ArtgenTinyFont, DrawsTheGlyphPixelsAndIgnoresUnknownCharacters) {
    QImage img(20, 20, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    artgen::drawTinyText(img, QPoint(1, 1), "I", Qt::white);
    EXPECT_EQ(countInk(img), 11); // 3 + 5 x 1 + 3
    img.fill(Qt::transparent);
    artgen::drawTinyText(img, QPoint(1, 1), "i", Qt::white, 2);
    EXPECT_EQ(countInk(img), 44); // lower case as upper case, each pixel 2 x 2
    img.fill(Qt::transparent);
    artgen::drawTinyText(img, QPoint(1, 1), "~", Qt::white);
    EXPECT_EQ(countInk(img), 0);
}

} // namespace

// Page-button plates take the room their layout leaves, so captions keep the layout's text
// size: as wide as the closest neighbours in a row allow, two pixels apart.
TEST(ArtgenControls, PagePlatesUseTheRoomTheirLayoutLeaves) {
    for (const artgen::Edition& e : {artgen::editorEdition(), artgen::editorSEdition()}) {
        int narrowest = 1000;
        for (const artgen::Skin& s : e.skins) {
            narrowest = std::min(narrowest, s.pageButtonBody);
            int closest = 125;
            for (const artgen::PageButton& a : s.layout.pageButtons)
                for (const artgen::PageButton& b : s.layout.pageButtons)
                    if (a.number != b.number && a.pos.y == b.pos.y)
                        closest = std::min(closest, std::abs(a.pos.x - b.pos.x));
            EXPECT_EQ(s.pageButtonBody, std::min(closest - 2, 118)) << e.name << " L" << s.number;
        }
        EXPECT_EQ(e.pageButtonBody, narrowest) << e.name;
    }
    const artgen::Edition editor = artgen::editorEdition();
    EXPECT_EQ(editor.skins[0].pageButtonBody, 118);         // buttons 124 px apart
    EXPECT_EQ(editor.skins[2].pageButtonBody, 98);          // 100 px apart
    EXPECT_EQ(artgen::editorSEdition().pageButtonBody, 93); // 95 px apart
    // The image of a skin's own plate is drawn to that width.
    const QImage wide = artgen::pageButton(editor, artgen::Look::Normal, 118);
    int left = wide.width(), right = -1;
    for (int x = 0; x < wide.width(); ++x)
        if (qAlpha(wide.pixel(x, wide.height() / 2)) != 0) {
            left = std::min(left, x);
            right = x;
        }
    EXPECT_GE(right - left + 1, 118);
    EXPECT_LE(right - left + 1, 120);
}
