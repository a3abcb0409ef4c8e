#include "macro/MacroCodec.h"
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
// Random bytes everywhere, with lengths a macro file may carry: 0, or 1..1024 ending in the
// end code.
MacroStore randomStore(unsigned seed) {
    std::mt19937 rng(seed);
    MacroStore s;
    for (auto& b : s.table)
        b = static_cast<std::uint8_t>(rng());
    for (auto& body : s.bodies)
        for (auto& b : body)
            b = static_cast<std::uint8_t>(rng());
    for (std::size_t n = 0; n < kMacroCount; ++n) {
        const auto length = static_cast<std::uint16_t>(n == 0 ? 0 : rng() % 1025);
        s.setBodyLength(n, length);
        if (length > 0) s.bodies[n][length - 1u] = 0x00;
    }
    s.setBodyLength(31, 1024);
    s.bodies[31][1023] = 0x00;
    return s;
}
} // namespace

TEST(MacroNames, FourteenCharactersFillTheEntryExactly) {
    MacroStore s;
    s.setBodyLength(0, 0x0123);
    s.setName(0, "ABCDEFGHIJKLMN");
    auto e = s.entry(0);
    EXPECT_EQ(e[kMacroEntryBodyLength], 0x01);
    EXPECT_EQ(e[kMacroEntryBodyLength + 1], 0x23);
    EXPECT_EQ(e[kMacroEntryZero], 0x00);
    EXPECT_EQ(e[kMacroEntryNameLength], 28);
    EXPECT_EQ(e[kMacroEntryName], 0x00);
    EXPECT_EQ(e[kMacroEntryName + 1], 'A');
    EXPECT_EQ(e[kMacroEntryName + 27], 'N');
    EXPECT_EQ(s.name(0), "ABCDEFGHIJKLMN");
    EXPECT_EQ(s.entry(1)[kMacroEntryBodyLength], 0); // the next entry is untouched
}

TEST(MacroNames, UnicodeRoundTripsHighByteFirstAndLongNamesAreCut) {
    MacroStore s;
    s.setName(2, "Залп ×3");
    EXPECT_EQ(s.entry(2)[kMacroEntryName], 0x04); // 'З' is U+0417
    EXPECT_EQ(s.entry(2)[kMacroEntryName + 1], 0x17);
    EXPECT_EQ(s.name(2), "Залп ×3");
    s.setName(3, "a name that is far too long");
    EXPECT_EQ(s.entry(3)[kMacroEntryNameLength], 28);
    EXPECT_EQ(s.name(3), "a name that is");
}

TEST(MacroNames, ShorterNameLeavesOldBytesAfterItsLength) {
    MacroStore s;
    s.setName(0, "LONGNAME");
    s.setName(0, "AB");
    EXPECT_EQ(s.name(0), "AB");
    EXPECT_EQ(s.entry(0)[kMacroEntryName + 5], 'N'); // carried, outside the name
}

TEST(MacroNames, OversizedNameLengthNeverReadsPastTheEntry) {
    MacroStore s;
    s.fill(0x41);
    s.entry(5)[kMacroEntryNameLength] = 0xFF; // a file or mouse claims 255 name bytes
    EXPECT_EQ(s.nameLength(5), 28u);
    EXPECT_EQ(utf8ToUtf16(s.name(5)).value_or(u"").size(), 14u);
}

TEST(MacroNames, OddLengthDropsTheLeadingByteAndErasedFlashIsNoName) {
    MacroStore s;
    auto e = s.entry(0);
    e[kMacroEntryNameLength] = 5;
    e[kMacroEntryName] = 0x99;
    e[kMacroEntryName + 1] = 0x00;
    e[kMacroEntryName + 2] = 'H';
    e[kMacroEntryName + 3] = 0x00;
    e[kMacroEntryName + 4] = 'i';
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
    EXPECT_EQ(s.entry(7)[kMacroEntryZero], 0x00);
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

TEST(MacroFiles, FilesOfTheWrongSizeOrWithImplausibleLengthsAreRefused) {
    auto dir = test::scratchDir("macro-bad");
    MacroStore good = randomStore(6);
    ASSERT_TRUE(exportOneMacro(dir / "one.bin", good, 7));
    ASSERT_TRUE(exportAllMacros(dir / "all.bin", good));
    const auto one = readAll(dir / "one.bin");
    const auto all = readAll(dir / "all.bin");

    auto refusedOne = [&](const std::vector<std::uint8_t>& bytes, const std::string& why) {
        writeAll(dir / "x.bin", bytes);
        MacroStore s = randomStore(7);
        const MacroStore before = s;
        auto r = importOneMacro(dir / "x.bin", s, 3);
        EXPECT_FALSE(r) << why;
        EXPECT_EQ(r.kind, MacroFileError::NotOneMacro) << why;
        EXPECT_NE(r.error.find("x.bin"), std::string::npos) << r.error;
        EXPECT_EQ(s.table, before.table) << why;
        EXPECT_EQ(s.bodies, before.bodies) << why;
    };
    auto refusedAll = [&](const std::vector<std::uint8_t>& bytes, const std::string& why) {
        writeAll(dir / "y.bin", bytes);
        MacroStore s = randomStore(8);
        const MacroStore before = s;
        auto r = importAllMacros(dir / "y.bin", s);
        EXPECT_FALSE(r) << why;
        EXPECT_EQ(r.kind, MacroFileError::NotAllMacros) << why;
        EXPECT_EQ(s.table, before.table) << why;
        EXPECT_EQ(s.bodies, before.bodies) << why;
    };

    refusedOne({0x00, 0x05, 0x00, 0x02, 0x00, 'Q'}, "short");
    refusedOne(std::vector<std::uint8_t>(one.begin(), one.end() - 1), "one byte short");
    auto longer = one;
    longer.push_back(0);
    refusedOne(longer, "one byte long");
    refusedOne(all, "a file of all macros is not a file of one");
    refusedAll(one, "a file of one macro is not a file of all");
    refusedAll(std::vector<std::uint8_t>(all.begin(), all.end() - 1), "one byte short");

    // Whatever a store may hold is exported, so every file of the right size is taken back
    // byte for byte: lengths over 1024 are empty macros, and decoding stops at the length.
    struct Taken {
        const char* why;
        std::size_t entry; // offset of the edited entry (one macro file: 0)
        std::uint16_t length;
        std::size_t bodyByte; // offset in the file of a body byte set to 0xA1
    };
    const Taken takenOne[] = {{"length 1025", 0, 1025, 32},
                              {"length 0xFFFF", 0, 0xFFFF, 32 + 1023},
                              {"no end code", 0, 16, 32 + 15}};
    const Taken takenAll[] = {{"macro 32 of length 0xFFFF", 31 * 32, 0xFFFF, 1024 + 31 * 1024},
                              {"macro 6 without end code", 5 * 32, 1, 1024 + 5 * 1024}};
    auto taken = [&](const Taken& t, std::vector<std::uint8_t> bytes, bool isAll) {
        bytes[t.entry] = static_cast<std::uint8_t>(t.length >> 8);
        bytes[t.entry + 1] = static_cast<std::uint8_t>(t.length & 0xFF);
        bytes[t.bodyByte] = 0xA1;
        writeAll(dir / "t.bin", bytes);
        MacroStore s = randomStore(9);
        const std::size_t n = isAll ? t.entry / 32 : 3;
        ASSERT_TRUE(isAll ? importAllMacros(dir / "t.bin", s) : importOneMacro(dir / "t.bin", s, 3))
            << t.why;
        EXPECT_EQ(s.bodyLength(n), t.length) << t.why;
        ASSERT_TRUE(isAll ? exportAllMacros(dir / "back.bin", s)
                          : exportOneMacro(dir / "back.bin", s, 3));
        EXPECT_EQ(readAll(dir / "back.bin"), bytes) << t.why;
        const DecodedBody d = MacroBodyToScript(s, n);
        EXPECT_EQ(d.empty, t.length > 1024) << t.why;
    };
    for (const Taken& t : takenOne)
        taken(t, one, false);
    for (const Taken& t : takenAll)
        taken(t, all, true);

    // A profile saved from a basic mouse leaves a store of 0xFF: it goes out and comes back.
    MacroStore erased;
    erased.table.fill(0xFF);
    for (auto& b : erased.bodies)
        b.fill(0xFF);
    ASSERT_TRUE(exportAllMacros(dir / "erased.bin", erased));
    MacroStore back = randomStore(10);
    ASSERT_TRUE(importAllMacros(dir / "erased.bin", back));
    EXPECT_EQ(back.table, erased.table);
    EXPECT_EQ(back.bodies, erased.bodies);

    // The edges that are taken: length 0 with any bytes, 1 with the end code, 1024.
    auto edge = one;
    edge[kMacroEntryBodyLength] = 0x00;
    edge[kMacroEntryBodyLength + 1] = 0x00;
    edge[kMacroEntrySize] = 0x77;
    writeAll(dir / "edge.bin", edge);
    MacroStore s;
    ASSERT_TRUE(importOneMacro(dir / "edge.bin", s, 0));
    EXPECT_EQ(s.bodies[0][0], 0x77);
    edge[kMacroEntryBodyLength + 1] = 0x01;
    edge[kMacroEntrySize] = 0x00;
    writeAll(dir / "edge.bin", edge);
    ASSERT_TRUE(importOneMacro(dir / "edge.bin", s, 0));
    EXPECT_EQ(s.bodyLength(0), 1);

    MacroStore u = randomStore(5);
    MacroStore uBefore = u;
    EXPECT_EQ(importAllMacros(dir / "none.bin", u).kind, MacroFileError::CannotRead);
    EXPECT_EQ(importOneMacro(dir / "none.bin", u, 0).kind, MacroFileError::CannotRead);
    EXPECT_EQ(exportAllMacros(dir, u).kind, MacroFileError::CannotWrite); // a folder
    EXPECT_EQ(exportOneMacro(dir / "no" / "such" / "folder.bin", u, 0).kind,
              MacroFileError::CannotWrite);
    // Each failure the window shows has its own text.
    const std::pair<MacroFileError, const char*> ids[] = {{MacroFileError::CannotWrite, "Str110"},
                                                          {MacroFileError::CannotRead, "Str111"},
                                                          {MacroFileError::NotOneMacro, "Str112"},
                                                          {MacroFileError::NotAllMacros, "Str113"}};
    for (const auto& [kind, id] : ids)
        EXPECT_STREQ(macroFileMessageId(kind), id);
    EXPECT_EQ(macroFileMessageId(MacroFileError::None), nullptr);
    EXPECT_FALSE(importOneMacro(dir / "one.bin", u, 32));
    EXPECT_EQ(u.table, uBefore.table);
    EXPECT_FALSE(exportOneMacro(dir / "z.bin", u, 40));
}

TEST(MacroNames, NamesOverErasedEntriesAreCutOnWholeCharacters) {
    // name -> NameLength and the name read back, written over an erased (0xFF) table
    const std::tuple<const char*, int, const char*> rows[] = {
        {"ABCDEFGHIJKLMN", 28, "ABCDEFGHIJKLMN"},
        {"ABCDEFGHIJKLM\xF0\x9F\x98\x80", 26, "ABCDEFGHIJKLM"}, // a pair would be cut in half
        {"ABCDEFGHIJKL\xF0\x9F\x98\x80", 28, "ABCDEFGHIJKL\xF0\x9F\x98\x80"}, // it fits whole
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
         "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
         28,
         "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
         "\xF0\x9F\x98\x80\xF0\x9F\x98\x80"},
        {"", 0, ""},
    };
    for (const auto& [name, length, stored] : rows) {
        MacroStore s;
        s.fill(0xFF);
        MacroNames names;
        names[5] = name;
        UIToMacroName(s, names);
        // The zero byte is written, not left as the flash had it.
        EXPECT_EQ(s.entry(5)[kMacroEntryZero], 0x00) << name;
        EXPECT_EQ(s.entry(5)[kMacroEntryNameLength], length) << name;
        EXPECT_EQ(s.name(5), stored) << name;
        EXPECT_EQ(s.entry(5)[kMacroEntryBodyLength], 0xFF); // the length of the body is not touched
    }
}
