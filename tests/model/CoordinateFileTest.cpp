// Coordinate files: fields split at commas and blanks, rows that are no numbers skipped and
// counted, labels from code page 932.

#include "model/CoordinateFile.h"

#include <gtest/gtest.h>

namespace {

using kov::model::ParseCoordinateText;

TEST(CoordinateFile, RowsFromCommasAndBlanks)
{
    struct Case {
        const char* name;
        const char* text;
        std::vector<CDbPoint> points;
        std::vector<std::string> labels;
        int skipped;
    };
    const Case cases[] = {
        {"commas", "1,2\n3,4\n", {{1, -2}, {3, -4}}, {"", ""}, 0},
        {"a blank after the comma keeps y", "100, 200\n300 ,400\n", {{100, -200}, {300, -400}}, {"", ""}, 0},
        {"blanks alone", "  5   6  \n7\t8\n", {{5, -6}, {7, -8}}, {"", ""}, 0},
        {"a header row is skipped", "x,y,name\n0,0,A\n10,0,B\n", {{0, 0}, {10, 0}}, {"A", "B"}, 1},
        {"CR LF and no last line end", "1,2\r\n3,4", {{1, -2}, {3, -4}}, {"", ""}, 0},
        {"non-finite and partial numbers are no numbers", "nan,1\n1,inf\n2x,3\n1e999,1\n4,5\n",
         {{4, -5}}, {""}, 4},
        {"an empty field between commas", "1,,2\n", {}, {}, 1},
        {"a single field", "12\n", {}, {}, 1},
        {"blank lines", "\n\n1,2\n\n", {{1, -2}}, {""}, 0},
        {"a trailing comma", "1,2,\n", {{1, -2}}, {""}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = ParseCoordinateText(c.text);
        ASSERT_EQ(read.rows.size(), c.points.size());
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_EQ(read.rows[i].point, c.points[i]);
            EXPECT_EQ(read.rows[i].label, c.labels[i]);
        }
        EXPECT_EQ(read.skippedLines, c.skipped);
    }
}

TEST(CoordinateFile, LabelsAreCp932)
{
    const auto read = ParseCoordinateText("0,0,\x8f\x5a\x8f\x8a\n");
    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0].label, "住所");
}

TEST(CoordinateFile, AMissingFileIsNoRead)
{
    EXPECT_FALSE(kov::model::ReadCoordinateFile("/nonexistent/points.csv").has_value());
}

} // namespace
