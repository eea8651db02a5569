// The room list and the quotation list: reading what other editions and hand edits leave, and
// writing back byte for byte in code page 932 with CR LF.

#include "model/QuotationList.h"
#include "model/RoomList.h"

#include "platform/Cp932.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace kov::model;

std::string fileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string cp932(const std::string& utf8) { return kov::platform::toCp932(utf8).bytes; }

// The same text with LF only, and with the last line break left out.
std::string lfOnly(std::string s)
{
    std::string out;
    for (char c : s)
        if (c != '\r') out += c;
    return out;
}
std::string noFinalBreak(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

TEST(RoomList, TheFileReadsAndWritesBackByteForByte)
{
    const std::string bytes = fileText(kov::test::testData("lists/kovroom.txt"));
    const std::vector<RoomListEntry> rooms = ParseRoomList(bytes);
    ASSERT_EQ(rooms.size(), 5u);
    EXPECT_EQ(rooms[0].name, "和室");
    EXPECT_EQ(rooms[2].name, "フローリング");
    EXPECT_EQ(rooms[2].fillColour, 14745599u);
    EXPECT_EQ(rooms[2].hatchType, 100);
    EXPECT_EQ(rooms[2].spacing, "2.000000");
    EXPECT_EQ(rooms[4].fillColour, 0xFFFFFFFFu);   // "-1", a colour written as a signed long
    EXPECT_EQ(FormatRoomList(rooms), bytes);
    EXPECT_EQ(ParseRoomList(lfOnly(bytes)), rooms);
    EXPECT_EQ(ParseRoomList(noFinalBreak(bytes)), rooms);
    EXPECT_EQ(ParseRoomList(noFinalBreak(lfOnly(bytes))), rooms);
}

TEST(RoomList, LinesOfEveryShapeBecomeWholeRooms)
{
    struct Case {
        const char* name;
        std::string line;
        RoomListEntry expected;
    };
    RoomListEntry tatami;
    tatami.name = "和室";
    tatami.hatch = 1;
    tatami.fillColour = 0;
    tatami.hatchType = 300;
    RoomListEntry shortLine;   // the fields a line leaves out take a new room's values
    shortLine.name = "洋室";
    shortLine.fill = 1;
    RoomListEntry junk;
    junk.name = "物入";
    junk.fillColour = 0;
    junk.hatchType = 0;
    junk.spacing = "abc";
    RoomListEntry extra = tatami;
    extra.spacing = "3.000000";
    const Case cases[] = {
        {"without spacing", cp932("和室,0,0,1,0,300,"), tatami},
        {"short line", cp932("洋室,1,"), shortLine},
        {"text after the last comma", cp932("洋室,1,99"), shortLine},
        {"numbers that are none", cp932("物入,x,nan,inf,,-0x1,abc,"), junk},
        {"fields after the seventh", cp932("和室,0,0,1,0,300,3.000000,extra,more,"), extra},
    };
    for (const Case& c : cases) {
        const auto rooms = ParseRoomList(c.line + "\r\n");
        ASSERT_EQ(rooms.size(), 1u) << c.name;
        EXPECT_EQ(rooms[0], c.expected) << c.name;
    }
    // Lines without a field are no rooms.
    EXPECT_TRUE(ParseRoomList("\r\n\r\nno comma\r\n").empty());
    // The reader's own spacing fills the missing field.
    EXPECT_EQ(ParseRoomList("a,0,0,0,0,0,", 2.5)[0].spacing, "2.500000");
}

TEST(RoomList, NamesTheFileCannotHoldAreFound)
{
    auto check = [](const std::string& name) {
        RoomListEntry r;
        r.name = name;
        return CheckRoomName(r);
    };
    EXPECT_EQ(check("和室"), RoomNameProblem::None);
    EXPECT_EQ(check(""), RoomNameProblem::Empty);
    EXPECT_EQ(check("和室,6帖"), RoomNameProblem::Comma);
    EXPECT_EQ(check("和室\n6帖"), RoomNameProblem::LineBreak);
    EXPECT_EQ(check("部屋🏠"), RoomNameProblem::NotCp932);
    // "a" × n, the six numbers of a new room and seven commas: 254 bytes and the break fit.
    const std::size_t rest = FormatRoomLine(RoomListEntry{}).size();
    EXPECT_EQ(check(std::string(254 - rest, 'a')), RoomNameProblem::None);
    EXPECT_EQ(check(std::string(255 - rest, 'a')), RoomNameProblem::TooLong);
}

TEST(RoomList, MissingFileIsAnEmptyListAndWritingReplacesTheFile)
{
    kov::test::TempFolder temp;
    EXPECT_TRUE(ReadRoomListFile(temp.file("kovroom.txt")).empty());
    const auto rooms = ParseRoomList(fileText(kov::test::testData("lists/kovroom.txt")));
    ASSERT_TRUE(WriteRoomListFile(temp.file("kovroom.txt"), rooms));
    EXPECT_EQ(fileText(temp.file("kovroom.txt")), fileText(kov::test::testData("lists/kovroom.txt")));
    ASSERT_TRUE(WriteRoomListFile(temp.file("kovroom.txt"), {}));
    EXPECT_EQ(fileText(temp.file("kovroom.txt")), "");
    std::string error;
    EXPECT_FALSE(WriteRoomListFile(temp.file("no/such/folder/kovroom.txt"), rooms, &error));
    EXPECT_FALSE(error.empty());
}

TEST(QuotationList, TheFileReadsAndWritesBackByteForByte)
{
    const std::string bytes = fileText(kov::test::testData("lists/kovtex.txt"));
    const std::vector<std::string> list = ParseQuotations(bytes);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0], "外壁：窯業系サイディング　t=16");
    EXPECT_EQ(list[2], "");
    // Exactly 63 bytes: one quotation, not one and an empty one that would grow the file at every save.
    EXPECT_EQ(cp932(list[4]).size(), 63u);
    EXPECT_EQ(FormatQuotations(list), bytes);
    EXPECT_EQ(ParseQuotations(lfOnly(bytes)), list);
    EXPECT_EQ(ParseQuotations(noFinalBreak(bytes)), list);
}

TEST(QuotationList, LongLinesComeInPiecesOfSixtyThreeBytes)
{
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> expected;
    };
    const std::string a63(63, 'a');
    const Case cases[] = {
        {"100 bytes", std::string(100, 'x') + "\r\n", {std::string(63, 'x'), std::string(37, 'x')}},
        {"63 bytes", a63 + "\r\n", {a63}},
        {"64 bytes", a63 + "b\r\n", {a63, "b"}},
        // The 63rd byte would start a double-byte character: it goes whole into the next piece.
        {"split inside a character", std::string(62, 'a') + cp932("あい") + "\n", {std::string(62, 'a'), "あい"}},
        {"empty lines", "\r\n\n\r", {"", "", ""}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseQuotations(c.file), c.expected) << c.name;
}

TEST(QuotationList, AQuotationOfAnyLengthIsWrittenWhole)
{
    const std::string longText(3000, 'q');
    EXPECT_EQ(FormatQuotations({longText, "", "終"}), longText + "\r\n\r\n" + cp932("終") + "\r\n");
    int replaced = 0;
    FormatQuotations({"🏠"}, &replaced);
    EXPECT_EQ(replaced, 1);
    kov::test::TempFolder temp;
    EXPECT_TRUE(ReadQuotationFile(temp.file("kovtex.txt")).empty());
    ASSERT_TRUE(WriteQuotationFile(temp.file("kovtex.txt"), {}));
    EXPECT_EQ(fileText(temp.file("kovtex.txt")), "");
}

} // namespace
