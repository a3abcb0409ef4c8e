// Conversions between the UTF-16 of macro names and language tables and the UTF-8 used
// inside the program, at the edge of every encoding range.
#include "model/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

using namespace orlix;

namespace {

std::string bytes(std::initializer_list<unsigned char> list) {
    return std::string(list.begin(), list.end());
}

struct Edge {
    std::u16string utf16;
    std::string utf8;
};

} // namespace

TEST(TextCodec, EveryRangeEdgeConvertsBothWays) {
    const Edge edges[] = {
        {u"\u007F", bytes({0x7F})},
        {u"\u0080", bytes({0xC2, 0x80})},
        {u"\u07FF", bytes({0xDF, 0xBF})},
        {u"\u0800", bytes({0xE0, 0xA0, 0x80})},
        {u"\uD7FF", bytes({0xED, 0x9F, 0xBF})},
        {u"\uE000", bytes({0xEE, 0x80, 0x80})},
        {u"\uFFFF", bytes({0xEF, 0xBF, 0xBF})},
        {std::u16string{char16_t{0xD800}, char16_t{0xDC00}}, bytes({0xF0, 0x90, 0x80, 0x80})},
        {std::u16string{char16_t{0xDBFF}, char16_t{0xDFFF}}, bytes({0xF4, 0x8F, 0xBF, 0xBF})},
    };
    for (const Edge& e : edges) {
        std::size_t invalid = 99;
        EXPECT_EQ(utf16ToUtf8(e.utf16, &invalid), e.utf8) << static_cast<int>(e.utf16[0]);
        EXPECT_EQ(invalid, 0u);
        EXPECT_EQ(utf8ToUtf16(e.utf8), e.utf16) << static_cast<int>(e.utf16[0]);
    }
}

TEST(TextCodec, MalformedUtf8IsRefused) {
    const std::string bad[] = {
        bytes({0x80}),                         // continuation without a lead
        bytes({0xC1, 0xBF}),                   // U+007F in two bytes
        bytes({0xE0, 0x9F, 0xBF}),             // U+07FF in three
        bytes({0xF0, 0x8F, 0xBF, 0xBF}),       // U+FFFF in four
        bytes({0xED, 0xA0, 0x80}),             // U+D800, a surrogate
        bytes({0xED, 0xBF, 0xBF}),             // U+DFFF
        bytes({0xF4, 0x90, 0x80, 0x80}),       // U+110000, past the last code point
        bytes({0xF8, 0x88, 0x80, 0x80, 0x80}), // five-byte form
        bytes({0xE0, 0xA0}),                   // cut short
        bytes({0xC2, 0x41}),                   // not a continuation
    };
    for (const std::string& b : bad)
        EXPECT_FALSE(utf8ToUtf16(b)) << static_cast<int>(static_cast<unsigned char>(b[0]));
}

TEST(TextCodec, UnpairedSurrogatesBecomeReplacementCharactersAndAreCounted) {
    const std::string replacement = bytes({0xEF, 0xBF, 0xBD});
    std::size_t invalid = 0;
    EXPECT_EQ(utf16ToUtf8(std::u16string{char16_t{0xD800}}, &invalid), replacement);
    EXPECT_EQ(invalid, 1u);
    EXPECT_EQ(utf16ToUtf8(std::u16string{char16_t{0xDFFF}, u'A'}, &invalid), replacement + "A");
    EXPECT_EQ(invalid, 1u);
    EXPECT_EQ(utf16ToUtf8(std::u16string{char16_t{0xDBFF}, u'A', char16_t{0xDC00}}, &invalid),
              replacement + "A" + replacement);
    EXPECT_EQ(invalid, 2u);
}
