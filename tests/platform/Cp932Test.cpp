#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <string>

using namespace kov::platform;

namespace {

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string h;
    for (unsigned char b : bytes) {
        h += digits[b >> 4];
        h += digits[b & 15];
    }
    return h;
}

TEST(Cp932, TheMachineOffersTheConversion)
{
    EXPECT_TRUE(cp932Available());
}

TEST(Cp932, EncodesAndCountsBytes)
{
    struct Case { const char* name; std::string utf8; const char* cp932Hex; int replaced; size_t length; bool roundTrips; };
    const Case cases[] = {
        {"ascii", "Kovira 1.5", "4b6f7669726120312e35", 0, 10, true},
        {"backslash stays 0x5C", "C:\\data", "433a5c64617461", 0, 7, true},
        {"kanji", "漢", "8abf", 0, 2, true},
        {"circled digit one", "①", "8740", 0, 2, true},
        {"fullwidth tilde", "～", "8160", 0, 2, true},
        {"fullwidth reverse solidus", "＼", "815f", 0, 2, true},
        {"half-width katakana", "ｱ", "b1", 0, 1, true},
        {"ideographic space", "　", "8140", 0, 2, true},
        {"emoji is lacked", "😀", "3f", 1, 2, false},
        {"lacked between ascii", "a😀b", "613f62", 1, 4, false},
        {"two lacked", "한😀", "3f3f", 2, 4, false},
        {"invalid utf-8 byte", std::string("a\xFF" "b"), "613f62", 1, 4, false},
        {"truncated utf-8", std::string("a\xE6\xBC"), "613f", 1, 3, false},
        {"truncated utf-8 before ascii", std::string("\xE6\xBCz"), "3f7a", 1, 3, false},
        {"empty", "", "", 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Cp932Text t = toCp932(c.utf8);
        EXPECT_EQ(hex(t.bytes), c.cp932Hex);
        EXPECT_EQ(t.replaced, c.replaced);
        EXPECT_EQ(cp932ByteLength(c.utf8), c.length);
        if (c.roundTrips) {
            EXPECT_EQ(fromCp932(t.bytes), c.utf8);
        }
    }
}

TEST(Cp932, DecodesInvalidInputWithReplacementCharacters)
{
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case { const char* name; std::string cp932; std::string utf8; };
    const Case cases[] = {
        {"room name", "\x95\x94\x89\xae", "部屋"},
        {"lone 0x80", "\x80", fffd},
        {"0xFD to 0xFF", "\xFD\xFE\xFF", fffd + fffd + fffd},
        {"lead byte at the end", "A\x81", "A" + fffd},
        {"lead byte before a blank keeps the blank", "\x81 x", fffd + " x"},
        {"unassigned pair with ascii trail keeps the ascii", "\x85\x40", fffd + "@"},
        {"unassigned pair is one character", "\x85\x80Z", fffd + "Z"},
        {"good text after a bad byte", "\xFF\x8a\xbf", fffd + "漢"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fromCp932(c.cp932), c.utf8);
    }
}

TEST(Cp932, LongTextsConvertWhole)
{
    // More than the converter's buffer, with a lacked character past it.
    std::string utf8;
    for (int i = 0; i < 2000; ++i) utf8 += "壁";
    utf8 += "😀";
    Cp932Text t = toCp932(utf8);
    EXPECT_EQ(t.bytes.size(), 4001u);
    EXPECT_EQ(t.replaced, 1);
    EXPECT_EQ(fromCp932(t.bytes), utf8.substr(0, utf8.size() - 4) + "?");
}

} // namespace
