#include "macro/MacroFiles.h"
#include "support/Files.h"
#include "support/Scratch.h"

#include "model/TextCodec.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace orlix;
using test::readAll;
using test::writeAll;
namespace fs = std::filesystem;

namespace {
MacroStore randomStore(unsigned seed) {
    std::mt19937 rng(seed);
    MacroStore s;
    for (auto& b : s.table)
        b = static_cast<std::uint8_t>(rng());
    for (auto& body : s.bodies)
        for (auto& b : body)
            b = static_cast<std::uint8_t>(rng());
    return s;
}
} // namespace

TEST(MacroNames, FourteenCharactersFillTheEntryExactly) {
    MacroStore s;
    s.setBodyLength(0, 0x0123);
    s.setName(0, "ABCDEFGHIJKLMN");
    auto e = s.entry(0);
    EXPECT_EQ(e[0], 0x01);
    EXPECT_EQ(e[1], 0x23);
    EXPECT_EQ(e[2], 0x00);
    EXPECT_EQ(e[3], 28);
    EXPECT_EQ(e[4], 0x00);
    EXPECT_EQ(e[5], 'A');
    EXPECT_EQ(e[31], 'N');
    EXPECT_EQ(s.name(0), "ABCDEFGHIJKLMN");
    EXPECT_EQ(s.entry(1)[0], 0); // the next entry is untouched
}

TEST(MacroNames, UnicodeRoundTripsHighByteFirstAndLongNamesAreCut) {
    MacroStore s;
    s.setName(2, "Залп ×3");
    EXPECT_EQ(s.entry(2)[4], 0x04); // 'З' is U+0417
    EXPECT_EQ(s.entry(2)[5], 0x17);
    EXPECT_EQ(s.name(2), "Залп ×3");
    s.setName(3, "a name that is far too long");
    EXPECT_EQ(s.entry(3)[3], 28);
    EXPECT_EQ(s.name(3), "a name that is");
}

TEST(MacroNames, ShorterNameLeavesOldBytesAfterItsLength) {
    MacroStore s;
    s.setName(0, "LONGNAME");
    s.setName(0, "AB");
    EXPECT_EQ(s.name(0), "AB");
    EXPECT_EQ(s.entry(0)[9], 'N'); // carried, outside the name
}

TEST(MacroNames, OversizedNameLengthNeverReadsPastTheEntry) {
    MacroStore s;
    s.fill(0x41);
    s.entry(5)[3] = 0xFF; // a file or mouse claims 255 name bytes
    EXPECT_EQ(s.nameLength(5), 28u);
    EXPECT_EQ(utf8ToUtf16(s.name(5)).value_or(u"").size(), 14u);
}

TEST(MacroNames, OddLengthDropsTheLeadingByteAndErasedFlashIsNoName) {
    MacroStore s;
    auto e = s.entry(0);
    e[3] = 5;
    e[4] = 0x99;
    e[5] = 0x00;
    e[6] = 'H';
    e[7] = 0x00;
    e[8] = 'i';
    EXPECT_EQ(s.name(0), "Hi"); // groups taken from the end; the leading 0x99 is dropped
    s.fill(0xFF);
    EXPECT_EQ(s.name(0), "");
    auto names = RefreshMacroName(s);
    EXPECT_EQ(names[31], "");
}

TEST(MacroNames, ListNamesReachTheTableOnlyThroughUIToMacroName) {
    MacroStore s;
    MacroNames names;
    names[7] = "Build";
    EXPECT_EQ(RefreshMacroName(s)[7], "");
    UIToMacroName(s, names);
    EXPECT_EQ(RefreshMacroName(s)[7], "Build");
    EXPECT_EQ(s.entry(7)[2], 0x00);
}

TEST(MacroStore, ClearEmptiesTheBodyAndKeepsTheName) {
    MacroStore s;
    s.setName(9, "Keep");
    s.setBodyLength(9, 5);
    s.clear(9);
    EXPECT_EQ(s.bodyLength(9), 0);
    EXPECT_TRUE(
        std::all_of(s.bodies[9].begin(), s.bodies[9].end(), [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(s.name(9), "Keep");
    s.setBodyLength(9, 1025);
    EXPECT_EQ(s.usableBodyLength(9), 0u);
}

TEST(MacroFiles, ExportOneAndImportIntoAnotherMacro) {
    auto dir = test::scratchDir("macro-one");
    MacroStore s = randomStore(1);
    s.setName(4, "Macro five");
    ASSERT_TRUE(exportOneMacro(dir / "m.bin", s, 4));
    auto data = readAll(dir / "m.bin");
    ASSERT_EQ(data.size(), kMacroOneFileSize);
    MacroStore t = randomStore(2);
    ASSERT_TRUE(importOneMacro(dir / "m.bin", t, 8));
    EXPECT_EQ(t.name(8), "Macro five");
    EXPECT_EQ(t.bodyLength(8), s.bodyLength(4));
    EXPECT_EQ(t.bodies[8], s.bodies[4]);
}

TEST(MacroFiles, ExportAllImportAllRestoresEveryByte) {
    auto dir = test::scratchDir("macro-all");
    MacroStore s = randomStore(3);
    ASSERT_TRUE(exportAllMacros(dir / "all.bin", s));
    EXPECT_EQ(readAll(dir / "all.bin").size(), kMacroAllFileSize);
    MacroStore t;
    ASSERT_TRUE(importAllMacros(dir / "all.bin", t));
    EXPECT_EQ(t.table, s.table);
    EXPECT_EQ(t.bodies, s.bodies);
}

TEST(MacroFiles, ShortFilesLeaveUncoveredBytesAndMissingFilesChangeNothing) {
    auto dir = test::scratchDir("macro-short");
    {
        std::ofstream out(dir / "short.bin", std::ios::binary);
        out.write("\x00\x05\x00\x02\x00Q", 6);
    }
    MacroStore s = randomStore(4);
    MacroStore before = s;
    ASSERT_TRUE(importOneMacro(dir / "short.bin", s, 0));
    EXPECT_EQ(s.bodyLength(0), 5);
    EXPECT_EQ(s.name(0), "Q");
    EXPECT_EQ(s.entry(0)[6], before.entry(0)[6]);
    EXPECT_EQ(s.bodies[0], before.bodies[0]);

    MacroStore u = randomStore(5);
    MacroStore uBefore = u;
    EXPECT_FALSE(importAllMacros(dir / "none.bin", u));
    EXPECT_FALSE(importOneMacro(dir / "short.bin", u, 32));
    EXPECT_EQ(u.table, uBefore.table);
    EXPECT_FALSE(exportOneMacro(dir / "x.bin", u, 40));
}
