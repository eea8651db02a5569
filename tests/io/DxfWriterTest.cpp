#include "DxfTestSupport.h"

#include "io/DxfTables.h"
#include "platform/Cp932.h"
#include "platform/NumberText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cmath>
#include <map>

using kov::test::countOf;
using kov::test::DxfCounts;
using kov::test::DxfHouse;
using kov::test::DxfImport;

namespace {

// The file as pairs: code, value (CR LF taken off).
std::vector<std::pair<int, std::string>> pairsOf(const std::string& dxf)
{
    std::vector<std::pair<int, std::string>> out;
    std::size_t pos = 0;
    auto line = [&]() {
        const auto end = dxf.find("\r\n", pos);
        std::string l = dxf.substr(pos, end - pos);
        pos = end + 2;
        return l;
    };
    while (pos < dxf.size()) {
        const int code = std::stoi(line());
        out.emplace_back(code, line());
    }
    return out;
}

// The value after the header variable's code.
std::string headerValue(const std::string& dxf, const std::string& variable, int code)
{
    const auto pairs = pairsOf(dxf);
    for (std::size_t i = 0; i < pairs.size(); ++i)
        if (pairs[i].first == 9 && pairs[i].second == variable)
            for (std::size_t k = i + 1; k < pairs.size() && pairs[k].first != 9; ++k)
                if (pairs[k].first == code) return pairs[k].second;
    return {};
}

// Values of one code in the entities of one type.
std::vector<std::string> entityValues(const std::string& dxf, const std::string& type, int code)
{
    std::vector<std::string> out;
    bool inside = false;
    for (const auto& [c, v] : pairsOf(dxf)) {
        if (c == 0) inside = v == type;
        else if (inside && c == code) out.push_back(v);
    }
    return out;
}

std::vector<std::string> layerTableNames(const std::string& dxf)
{
    std::vector<std::string> out;
    bool entry = false;
    for (const auto& [c, v] : pairsOf(dxf)) {
        if (c == 0) entry = v == "LAYER";
        else if (entry && c == 2) out.push_back(kov::platform::fromCp932(v));
    }
    return out;
}

} // namespace

TEST(DxfWriter, ExtentsFollowPaperAndScale)
{
    struct Case {
        const char* name;
        int paper, userX, userY;
        double scale;       // the current layer group's
        double groupZero;
        const char* extX;
        const char* extY;
        const char* ltscale;
    };
    const Case cases[] = {
        {"A4 landscape at 1:1", 0, 0, 0, 1, 1, "297", "210", "1"},
        {"A4 landscape at 1:50", 0, 0, 0, 50, 50, "14850", "10500", "50"},
        {"fraction cut: 1:2.5", 0, 0, 0, 2.5, 2.5, "594", "420", "2"},
        {"below 1 gives 1", 0, 0, 0, 0.5, 0.5, "297", "210", "1"},
        {"group 0 alone gives the line-type scale", 6, 0, 0, 20, 100, "4200", "5940", "100"},
        // One paper table with the page: A1 is 841 wide, A5 and the other codes have their sizes.
        {"A3", 2, 0, 0, 1, 1, "420", "297", "1"},
        {"A1 as the page has it", 4, 0, 0, 1, 1, "841", "594", "1"},
        {"A5", 12, 0, 0, 1, 1, "210", "148", "1"},
        {"a code past the table", 40, 0, 0, 1, 1, "420", "297", "1"},
        {"user paper", 11, 500, 300, 1, 1, "500", "300", "1"},
        {"a user paper of 0 is refused", 11, 0, 300, 1, 1, "420", "297", "1"},
        {"a negative user paper is refused", 11, -10, -10, 1, 1, "420", "297", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        CPlotInfo plot;
        plot.PlotPaperSize = c.paper;
        plot.PlotPaperSizeUserX = c.userX;
        plot.PlotPaperSizeUserY = c.userY;
        plot.m_Layer.SetAllScales(c.groupZero);
        plot.m_Layer.m_nCurrentGroup = 3;
        plot.m_Layer.m_dScale[3] = c.scale;
        std::string out;
        unit.WriteDxf(out, plot);
        EXPECT_EQ(headerValue(out, "$EXTMAX", 10), c.extX);
        EXPECT_EQ(headerValue(out, "$EXTMAX", 20), c.extY);
        EXPECT_EQ(headerValue(out, "$LIMMAX", 10), c.extX);
        EXPECT_EQ(headerValue(out, "$LTSCALE", 40), c.ltscale);
    }
}

TEST(DxfWriter, FileIsCp932WithCrLfAndLocaleFreeNumbers)
{
    const std::string out = DxfHouse().dxf();
    EXPECT_EQ(headerValue(out, "$ACADVER", 1), "AC1009");
    EXPECT_EQ(headerValue(out, "$DWGCODEPAGE", 3), "ANSI_932");
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '\n') {
            ASSERT_TRUE(i > 0 && out[i - 1] == '\r') << "bare LF at byte " << i;
        }
    }
    // Every coordinate of the entities reads as a number with a point (the tests run under a
    // comma-decimal locale).
    for (const std::string& v : entityValues(out, "LINE", 10)) EXPECT_NE(v.find('.'), std::string::npos) << v;
    EXPECT_EQ(out.find(','), std::string::npos);
    // The Japanese text in code page 932.
    const auto texts = entityValues(out, "TEXT", 1);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(kov::platform::fromCp932(texts[texts.size() - 2]), "洋室６畳");
}

TEST(DxfWriter, LayerNamesAreNeverEmptyOrRepeated)
{
    const std::string out = DxfHouse().dxf();
    const auto names = layerTableNames(out);
    // Layer "0" first; the named layers; the unnamed layer holding figures; the repeated name made
    // unique; the layer of the Japanese text.
    EXPECT_EQ(names, (std::vector<std::string>{"0", "壁", "L0-1", "壁_0-2", "文字"}));
    // Names that differ only in case, or only in characters the code page lacks, are the same
    // name in the file.
    DxfHouse odd;
    odd.plot.m_Layer.m_LayerInfo[2][0].m_strName = "Wall";
    odd.plot.m_Layer.m_LayerInfo[2][1].m_strName = "WALL";
    odd.plot.m_Layer.m_LayerInfo[2][2].m_strName = "𠮷";
    odd.plot.m_Layer.m_LayerInfo[2][3].m_strName = "𩸽";
    odd.plot.m_Layer.m_LayerInfo[2][4].m_strName = "a/b";
    const auto oddNames = layerTableNames(odd.dxf());
    EXPECT_EQ(std::vector<std::string>(oddNames.end() - 5, oddNames.end()),
              (std::vector<std::string>{"Wall", "WALL_2-1", "?", "?_2-3", "a_b"}));
    const auto pairs = pairsOf(out);
    for (std::size_t i = 0; i + 1 < pairs.size(); ++i) {
        if (pairs[i] == std::pair<int, std::string>{2, "LAYER"}) {
            EXPECT_EQ(pairs[i + 1].second, "5"); // the true count of entries
        }
    }
    // Every entity's layer is in the table.
    for (const char* type : {"LINE", "CIRCLE", "ARC", "TEXT", "POLYLINE", "VERTEX"})
        for (const std::string& l : entityValues(out, type, 8))
            EXPECT_NE(std::find(names.begin(), names.end(), kov::platform::fromCp932(l)), names.end()) << l;
}

TEST(DxfWriter, FiguresGoOutByKind)
{
    const std::string out = DxfHouse().dxf();
    const DxfHouse house;
    // 16 wall edges; the line; 4 rectangle edges; 3 triangle edges; 3 continuous-line segments;
    // 3 dimension lines. The room's polygon is left out.
    EXPECT_EQ(entityValues(out, "LINE", 10).size(), 16u + 1 + 4 + 3 + 3 + 3);
    EXPECT_EQ(entityValues(out, "CIRCLE", 40), (std::vector<std::string>{"200.000000"}));
    // The arc from 0 to 90 degrees, counter-clockwise as on the screen.
    EXPECT_EQ(entityValues(out, "ARC", 50), (std::vector<std::string>{"0.000000"}));
    EXPECT_EQ(entityValues(out, "ARC", 51), (std::vector<std::string>{"90.000000"}));
    // The ellipse closed, the elliptic arc open: R12 has no ellipse.
    EXPECT_EQ(entityValues(out, "POLYLINE", 70), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(entityValues(out, "LINE", 62).front(), "7");
    // The broken styles under the names other programs draw broken (dashed 1, dotted 2, one-dot
    // chain 3, two-dot chain 4), each in the line-type table.
    const auto types = entityValues(out, "LINE", 6);
    for (const char* name : {"DASHED", "CENTER", "DIVIDE"})
        EXPECT_NE(std::find(types.begin(), types.end(), name), types.end()) << name;
    for (int style = 0; style <= 5; ++style)
        EXPECT_EQ(kov::io::DxfLineTypeCode(kov::io::DxfLineTypeName(style)), style) << style;
}

TEST(DxfWriter, TextsAndDimensionValuesAsDrawn)
{
    struct Case {
        const char* name;
        int unit, decimals, grouping;
        const char* value;
    };
    const Case cases[] = {
        {"millimetres", 0, 0, 0, "3000"},
        {"grouped", 0, 0, 1, "3,000"},
        {"centimetres with a decimal", 1, 1, 0, "300.0"},
        {"metres", 2, 2, 0, "3.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DxfHouse house;
        house.plot.PlotSunpoTani = c.unit;
        house.plot.PlotSunpokurai = c.decimals;
        house.plot.PlotSunpoKugiri = c.grouping;
        const auto values = entityValues(house.dxf(), "TEXT", 1);
        ASSERT_EQ(values.size(), 3u);
        EXPECT_EQ(values[0], c.value);
    }
    DxfHouse house;
    house.plot.PlotSunpoTextView = 0;
    EXPECT_EQ(entityValues(house.dxf(), "TEXT", 1).size(), 2u);
    // Heights and angles as reals: 6.5 mm at 1:50 and 45.7 degrees are not cut.
    const std::string out = DxfHouse().dxf();
    EXPECT_EQ(entityValues(out, "TEXT", 40), (std::vector<std::string>{"150.000000", "325.000000", "200.000000"}));
    EXPECT_EQ(entityValues(out, "TEXT", 50), (std::vector<std::string>{"0.000000", "0.000000", "45.700000"}));
}

TEST(DxfWriter, LineTypeElementsAddUpToTheirTotal)
{
    const auto pairs = pairsOf(DxfHouse().dxf());
    int checked = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i] != std::pair<int, std::string>{0, "LTYPE"}) continue;
        double total = 0.0, sum = 0.0;
        for (std::size_t k = i + 1; k < pairs.size() && pairs[k].first != 0; ++k) {
            if (pairs[k].first == 40) total = kov::platform::parseDouble(pairs[k].second);
            if (pairs[k].first == 49) sum += std::fabs(kov::platform::parseDouble(pairs[k].second));
        }
        EXPECT_DOUBLE_EQ(total, sum) << pairs[i + 1].second;
        ++checked;
    }
    EXPECT_EQ(checked, 6);
}

TEST(DxfWriter, AFileThatCannotBeWrittenIsReportedAndTheOldOneKept)
{
    kov::test::TempFolder dir;
    const DxfHouse house;
    EXPECT_EQ(house.unit.WriteDxfFile(dir.file("house.dxf"), house.plot), "");
    const auto size = std::filesystem::file_size(dir.file("house.dxf"));
    EXPECT_GT(size, 1000u);
    const std::string message = house.unit.WriteDxfFile(dir.file("no-such-folder/house.dxf"), house.plot);
    EXPECT_EQ(message.rfind("DXFファイル「", 0), 0u) << message;
}
