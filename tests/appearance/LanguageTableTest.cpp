#include "appearance/LanguageTable.h"
#include "TestFiles.h"
#include "appearance/Languages.h"
#include "model/TextCodec.h"

#include <gtest/gtest.h>

using namespace orlix;
using namespace orlix::appearance;
using test::bytesOf;

namespace {

std::vector<std::uint8_t> utf16le(std::u16string_view text, bool mark = true) {
    std::vector<std::uint8_t> out;
    if (mark) out = {0xFF, 0xFE};
    for (char16_t u : text) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

TEST(QuotedItems, SplitOnBlankRunsWithQuotedItemsAndDoubledQuotes) {
    bool open = true;
    EXPECT_EQ(
        splitQuotedItems("[lang1]\r\n\t \"Str000=Export One\"  plain\x01next \"a \"\"b\"\" c\"",
                         &open),
        (std::vector<std::string>{"[lang1]", "Str000=Export One", "plain", "next", "a \"b\" c"}));
    EXPECT_FALSE(open);
    // A quote inside an unquoted item is an ordinary character; after a closing quote a new
    // item begins at once.
    EXPECT_EQ(splitQuotedItems("ab\"c \"x\"y"), (std::vector<std::string>{"ab\"c", "x", "y"}));
    EXPECT_EQ(splitQuotedItems("\"never closed"), (std::vector<std::string>{"never closed"}));
    splitQuotedItems("\"never closed", &open);
    EXPECT_TRUE(open);
    EXPECT_TRUE(splitQuotedItems(" \r\n ").empty());
}

TEST(QuotedUtf16Table, DoubledInnerQuotesSurviveAndSingleOnesCutTheEntry) {
    const auto bytes = utf16le(u"[lang1]\r\n\"Str222=Press \"\"Sleep\"\" now\"\r\n"
                               u"\"Str223=Press \"Wake\" now\"\r\n"
                               u"\"Str210 = Левая кнопка \"\r\n\"; Str211=comment\"\r\n");
    const TableRead read = readQuotedUtf16Table(bytes, "LANG1");
    EXPECT_TRUE(read.problems.empty());
    EXPECT_EQ(read.table.text("Str222"), "Press \"Sleep\" now");
    EXPECT_EQ(read.table.text("str223"), "Press");
    EXPECT_EQ(read.table.text("STR210"), "Левая кнопка");
    EXPECT_EQ(read.table.text("Str211"), "");
    EXPECT_EQ(read.table.text("Now"), ""); // stray items without "=" are not entries
}

TEST(QuotedUtf16Table, DamagedBytesAreReportedAndTheRestIsRead) {
    // No byte-order mark: the text is still read from its first byte.
    TableRead noMark =
        readQuotedUtf16Table(utf16le(u"[lang2]\r\n\"Str001=Применить\"", false), "LANG2");
    ASSERT_EQ(noMark.problems.size(), 1u);
    EXPECT_NE(noMark.problems[0].find("byte-order mark"), std::string::npos);
    EXPECT_EQ(noMark.table.text("Str001"), "Применить");

    // Odd length, an unpaired surrogate, an embedded NUL and an unclosed quote.
    constexpr char16_t kText[] = u"[lang1]\r\n\"Str001=A\xD800pply\"\0\"Str002=Reset";
    std::vector<std::uint8_t> bytes = utf16le(std::u16string_view(kText, std::size(kText) - 1));
    bytes.push_back(0x41);
    TableRead odd = readQuotedUtf16Table(bytes, "LANG1");
    EXPECT_EQ(odd.problems.size(), 3u);
    EXPECT_EQ(odd.table.text("Str001"), "A\uFFFDpply");
    EXPECT_EQ(odd.table.text("Str002"), "Reset");

    // Big-endian text with its mark.
    std::vector<std::uint8_t> be{0xFE, 0xFF};
    for (char16_t u : std::u16string_view(u"[lang3]\n\"Title=Ёж\"")) {
        be.push_back(static_cast<std::uint8_t>(u >> 8));
        be.push_back(static_cast<std::uint8_t>(u & 0xFF));
    }
    EXPECT_EQ(readQuotedUtf16Table(be, "LANG3").table.text("Title"), "Ёж");

    for (std::size_t size : {0u, 1u, 2u, 3u}) {
        const std::vector<std::uint8_t> tiny(size, 0xFF);
        const TableRead r = readQuotedUtf16Table(tiny, "LANG1");
        EXPECT_TRUE(r.table.empty());
        EXPECT_FALSE(r.problems.empty());
    }
}

TEST(QuotedUtf16Table, WrongSectionGivesEmptyTextsAndAProblem) {
    const TableRead r = readQuotedUtf16Table(utf16le(u"[lang2]\r\n\"Str000=X\""), "LANG1");
    EXPECT_EQ(r.table.text("Str000"), "");
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0], "LANG1: no section [lang1]");
}

TEST(CodePage936Table, DecodesChineseAndKeepsTheRestOfADamagedLine) {
    // "左键" in code page 936 is D7 F3 BC FC.
    const std::string text =
        "; comment\r\n// also a comment\r\n[lang3]\r\nStr210=\xD7\xF3\xBC\xFC\r\n"
        "Str211=ok\xFF\x80tail\r\nSize_A= 11 \r\n";
    const TableRead r = readCodePage936Table(bytesOf(text), "LANG3");
    EXPECT_EQ(r.table.text("Str210"), "左键");
    EXPECT_EQ(r.table.text("Size_A"), "11");
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_NE(r.problems[0].find("line 5"), std::string::npos);
    const std::string damaged = r.table.text("Str211");
    EXPECT_TRUE(damaged.starts_with("ok")) << damaged;
    EXPECT_TRUE(damaged.ends_with("tail")) << damaged;
    EXPECT_NE(damaged.find("\uFFFD"), std::string::npos);
}

TEST(TableWriters, WrittenTablesReadBackAsTheirSource) {
    const std::string source = "; header\n[lang2]\nTitle=Игровая \"мышь\"\n\nStr262= Back\n"
                               "Str020=a, b; c=d\n";
    const IniDocument parsed = IniDocument::parse(source);
    ASSERT_NE(parsed.section("lang2"), nullptr);
    const IniSection& expected = *parsed.section("lang2");
    for (TableEncoding encoding : {TableEncoding::Utf16Quoted, TableEncoding::CodePage936Lines}) {
        std::string error;
        const auto bytes = writeLanguageTable(source, encoding, &error);
        ASSERT_TRUE(bytes) << error;
        const TableRead r = readLanguageTable(*bytes, "LANG2", encoding);
        EXPECT_TRUE(r.problems.empty());
        EXPECT_EQ(r.table.section().entries(), expected.entries());
        EXPECT_EQ(r.table.text("Title"), "Игровая \"мышь\"");
        EXPECT_EQ(r.table.text("Str262"), "Back");
    }
    std::string error;
    EXPECT_FALSE(writeCodePage936Table("[lang2]\nTitle=\xF0\x9F\x98\x80\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_FALSE(writeQuotedUtf16Table("[lang1]\nTitle=\xC3\n"));
}

TEST(TextCodec, Utf8AndUtf16) {
    EXPECT_EQ(utf8ToUtf16("aЖ左😀"), std::u16string(u"aЖ左😀"));
    EXPECT_EQ(utf16ToUtf8(u"aЖ左😀"), "aЖ左😀");
    for (std::string_view bad : {"\xC3", "\xE5\xB7", "\xC0\x80", "\xED\xA0\x80", "\xF8", "\x80"}) {
        EXPECT_FALSE(utf8ToUtf16(bad)) << bad.size();
    }
    std::size_t invalid = 0;
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xDC00'), &invalid), "\uFFFD");
    EXPECT_EQ(invalid, 1u);
}

LanguageTable tableOf(const std::string& body, const std::string& name) {
    return readCodePage936Table(bytesOf("[" + name + "]\n" + body), name).table;
}

Languages threeTables() {
    return Languages(
        {tableOf("Str014=Macro\nStr206=Macro\nStr251=Stop\nStr401=Stop\nStr099=Low\n"
                 "Str210=Left Key\nStr600=Top\nStr601=Beyond\nStr200=*\n",
                 "lang1"),
         tableOf("Str251=Stopp\nStr401=Halt\nStr210=Links\nStr206=Makro\n", "lang2"),
         tableOf("Str251=Stop\nStr401=Stop\nStr206=Macro\nStr210=Left Key\n", "lang3")});
}

TEST(Languages, FindTextIdTakesTheLastMatchOfIdsWithoutLeadingZeros) {
    const Languages l = threeTables();
    EXPECT_EQ(l.findTextId("Stop"), "Str401");
    EXPECT_EQ(l.findTextId("Stopp"), "Str251");
    EXPECT_EQ(l.findTextId("Macro"), "Str206"); // Str014 can never be found
    EXPECT_EQ(l.findTextId("Top"), "Str600");
    EXPECT_FALSE(l.findTextId("Low"));    // "Str99" is not "Str099"
    EXPECT_FALSE(l.findTextId("Beyond")); // past Str600
    EXPECT_FALSE(l.findTextId("stop"));   // case matters for texts
    EXPECT_FALSE(l.findTextId(""));
}

TEST(Languages, RecaptionAndSelection) {
    Languages l = threeTables();
    EXPECT_EQ(l.current(), 1);
    EXPECT_TRUE(l.select(2));
    EXPECT_EQ(l.recaption("Left Key"), "Links");
    EXPECT_EQ(l.recaption("Stop"), "Halt");
    EXPECT_EQ(l.recaption("Ctrl + Alt + Del"), "Ctrl + Alt + Del");
    EXPECT_FALSE(l.select(0));
    EXPECT_FALSE(l.select(4));
    EXPECT_EQ(l.current(), 2);
    EXPECT_TRUE(l.select(1));
    EXPECT_EQ(l.recaption("Links"), "Left Key");
    EXPECT_EQ(l.menuEntryCaption("Str210"), " * Left Key");
    EXPECT_EQ(l.delayChoiceCaption("Str206"), "       Macro");
    EXPECT_THROW(l.table(0), std::out_of_range);
    EXPECT_EQ(l.text("Str999"), "");
}

TEST(Languages, MissingResourcesAreReported) {
    const ResourceBundle only = ResourceBundle::fromMemory(
        {{"LANG2", {'[', 'l', 'a', 'n', 'g', '2', ']', '\n', 'A', '=', '1'}}});
    const Languages::Loaded loaded = Languages::load(only, traitsOf(Edition::EditorS));
    EXPECT_EQ(loaded.problems, (std::vector<std::string>{"language resource \"lang1\" missing",
                                                         "language resource \"lang3\" missing"}));
    EXPECT_EQ(loaded.languages.table(2).text("a"), "1");
    EXPECT_TRUE(loaded.languages.table(1).empty());
}

} // namespace
