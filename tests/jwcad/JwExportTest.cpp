#include "jwcad/JwExport.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

CKovLine& addFigure(CKovUnit& unit, int kind, CDbPointArray points, std::vector<double> params = {})
{
    auto f = std::make_unique<CKovLine>();
    f->MLineID = unit.NextLineId();
    f->MLineType = kind;
    f->MLinePnt = std::move(points);
    f->MLineParam = std::move(params);
    CKovLine& ref = *f;
    unit.m_Lines.Add(std::move(f));
    return ref;
}

CKovText& addText(CKovUnit& unit, double x, double y, std::string s, int h = 0, int v = 2, int escapement = 0)
{
    auto t = std::make_unique<CKovText>();
    t->MTextID = unit.NextTextId();
    t->MTextpnt = CDbPoint(x, y);
    t->MTextstr = std::move(s);
    t->MTextFontMenu.m_size = 3;
    t->MTextFontMenu.m_toko_align = h;
    t->MTextFontMenu.m_tate_align = v;
    t->MTextFontMenu.lfEscapement = escapement;
    CKovText& ref = *t;
    unit.m_Texts.Add(std::move(t));
    return ref;
}

// A small house on layer 0 of group 0 at 1:100: walls as outline edges, a door arc, a window line,
// a room label and a dimension-free set of figures.
void buildHouse(CKovUnit& unit)
{
    for (auto [a, b] : {std::pair{CDbPoint(0, 0), CDbPoint(5000, 0)}, {CDbPoint(5000, 0), CDbPoint(5000, -4000)}}) {
        auto w = std::make_unique<CKovWall>();
        w->MWallID = unit.NextWallId();
        w->MWallPntA = a;
        w->MWallPntB = b;
        w->MWallarPntA = {a, b};
        w->MWallarPntB = {b, a};
        unit.m_Walls.Add(std::move(w));
    }
    addFigure(unit, CKovLine::LINE, {{1000, 0}, {2000, 0}}).MLineWide = 3;
    addFigure(unit, CKovLine::RECTANGLE, {{0, 0}, {100, 0}, {100, -100}, {0, -100}}).MLineLineT = 2;
    addFigure(unit, CKovLine::CIRCLE, {{2500, -2000}}, {300});
    addFigure(unit, CKovLine::CIRCLE, {{2500, -2000}}, {300, 0.5});
    addFigure(unit, CKovLine::ARC, {{1000, -1000}, {1900, -1000}, {1000, -1900}}, {900}).MLineLineT = 5;
    addFigure(unit, CKovLine::CONTINUOUS, {{0, -3000}, {500, -3500}, {1000, -3000}});
    addText(unit, 1000, -2000, "洋室６帖");
    CKovText& bold = addText(unit, 3000, -1000, "LDK", 1, 2, 900);
    bold.MTextFontMenu.lfWeight = 700;
    bold.MTextFontMenu.lfItalic = 1;
}

struct Shape {
    int kind, lineType, width;
    std::vector<long long> coords;   // hundredths of a millimetre
    bool operator<(const Shape& o) const { return std::tie(kind, lineType, width, coords) < std::tie(o.kind, o.lineType, o.width, o.coords); }
    bool operator==(const Shape& o) const = default;
};

std::vector<Shape> shapesOf(const CKovUnit& unit)
{
    std::vector<Shape> out;
    for (const auto& f : unit.m_Lines) {
        Shape s{f->MLineType, f->MLineLineT, f->MLineWide, {}};
        for (const auto& p : f->MLinePnt) {
            s.coords.push_back(std::llround(p.x * 100));
            s.coords.push_back(std::llround(p.y * 100));
        }
        for (double q : f->MLineParam)
            s.coords.push_back(std::llround(q * 100));
        out.push_back(s);
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(JwwExport, HouseReadsBackEqual)
{
    CPlotInfo plot;
    plot.m_Layer.SetAllScales(100);
    CKovUnit unit;
    buildHouse(unit);
    const JwExportOutcome out = ExportJwwBytes(plot, unit, {}, false);
    ASSERT_TRUE(out.ok) << out.message;
    CPlotInfo plot2;
    CKovUnit back;
    const auto in = ImportJwwDrawing(out.bytes.data(), out.bytes.size(), {}, plot2, back);
    ASSERT_TRUE(in.ok) << in.detail;
    // Figures as drawn (walls as their outline lines; rectangles as four sides).
    int lines = 0;
    for (const auto& f : back.m_Lines)
        lines += f->MLineType == CKovLine::LINE;
    EXPECT_EQ(lines, 4 + 1 + 4 + 2);
    std::vector<Shape> arcs;
    for (const Shape& s : shapesOf(back))
        if (s.kind != CKovLine::LINE)
            arcs.push_back(s);
    std::vector<Shape> expected;
    for (const Shape& s : shapesOf(unit))
        if (s.kind == CKovLine::CIRCLE || s.kind == CKovLine::ARC)
            expected.push_back(s);
    EXPECT_EQ(arcs, expected);
    ASSERT_EQ(back.m_Texts.GetSize(), 2);
    for (int i = 0; i < 2; ++i) {
        const CKovText& a = *unit.m_Texts[i];
        const CKovText& b = *back.m_Texts[i];
        EXPECT_EQ(b.MTextstr, a.MTextstr);
        EXPECT_NEAR(b.MTextpnt.x, a.MTextpnt.x, 1e-6);
        EXPECT_NEAR(b.MTextpnt.y, a.MTextpnt.y, 1e-6);
        EXPECT_EQ(b.MTextFontMenu.m_toko_align, a.MTextFontMenu.m_toko_align);
        EXPECT_EQ(b.MTextFontMenu.m_tate_align, a.MTextFontMenu.m_tate_align);
        EXPECT_EQ(b.MTextFontMenu.lfEscapement, a.MTextFontMenu.lfEscapement);
        EXPECT_EQ(b.MTextFontMenu.lfWeight, a.MTextFontMenu.lfWeight);
        EXPECT_EQ(b.MTextFontMenu.lfItalic, a.MTextFontMenu.lfItalic);
        EXPECT_EQ(b.MTextFontMenu.m_size, a.MTextFontMenu.m_size);
        EXPECT_EQ(b.MTextFontMenu.m_Color, 0u);
    }
    // Write, read, write: the same bytes.
    const JwExportOutcome again = ExportJwwBytes(plot2, back, {}, false);
    ASSERT_TRUE(again.ok);
    CPlotInfo plot3;
    CKovUnit third;
    ASSERT_TRUE(ImportJwwDrawing(again.bytes.data(), again.bytes.size(), {}, plot3, third).ok);
    EXPECT_EQ(ExportJwwBytes(plot3, third, {}, false).bytes, again.bytes);
}

TEST(JwwExport, RecordsOfEachKind)
{
    CPlotInfo plot;
    plot.m_Layer.SetAllScales(100);
    CKovUnit unit;
    CKovLine& arrow = addFigure(unit, CKovLine::LINE, {{0, 0}, {1000, 0}});
    arrow.MLineTanten = 3;
    arrow.MLineYaWide = 0;
    arrow.MLineLineT = 3;
    arrow.MLineWide = 4;
    addFigure(unit, CKovLine::LINE, {{0, 0}, {1000, 0}}).MLineTanten = 7;
    addFigure(unit, CKovLine::ARC, {{0, 0}, PointAtAngle(0, 0, 300, 100), PointAtAngle(0, 0, 30, 100)}, {100});
    addFigure(unit, CKovLine::ARC, {{0, 0}, PointAtAngle(0, 0, 30, 100), PointAtAngle(0, 0, 120, 100)}, {100});
    JwwHeader h;
    MakeDefaultJwwHeader(h);
    BuildJwwRecords(h, plot, unit, false);
    ASSERT_EQ(h.m_DataList.size(), 5u + 1 + 2);
    const auto& first = static_cast<const CDataSen&>(*h.m_DataList[0]);
    EXPECT_EQ(first.m_nPenStyle, 5);
    EXPECT_EQ(first.m_nPenColor, 4);
    EXPECT_EQ(first.m_nPenWidth, 3);
    const auto& wing = static_cast<const CDataSen&>(*h.m_DataList[1]);
    EXPECT_NEAR(std::hypot(wing.m_end_x - wing.m_start_x, wing.m_end_y - wing.m_start_y), plot.MarkSize(0), 1e-9);
    constexpr double pi = 3.1415926535;
    const auto& wrap = static_cast<const CDataEnko&>(*h.m_DataList[6]);
    EXPECT_NEAR(wrap.m_radKaishiKaku, 0, 1e-9);
    EXPECT_NEAR(wrap.m_radKatamukiKaku, 300 * pi / 180, 1e-6);
    EXPECT_NEAR(wrap.m_radEnkoKaku, 90 * pi / 180, 1e-6);
    const auto& plain = static_cast<const CDataEnko&>(*h.m_DataList[7]);
    EXPECT_NEAR(plain.m_radKaishiKaku, 30 * pi / 180, 1e-6);
    EXPECT_NEAR(plain.m_radKatamukiKaku, 0, 1e-12);
}

TEST(JwwExport, TextBaseLines)
{
    struct Row {
        int escapement;
        double sx, sy, ex, ey, angle;
    } rows[] = {{0, 10, 17, 16, 17, 0}, {1800, 10, 23, 4, 23, 180}, {455, 0, 0, 0, 0, 45.5}};
    for (const Row& r : rows) {
        CPlotInfo plot;
        plot.m_Layer.SetAllScales(100);
        CKovUnit unit;
        addText(unit, 1000, -2000, "ABCD", 0, 0, r.escapement);
        JwwHeader h;
        MakeDefaultJwwHeader(h);
        BuildJwwRecords(h, plot, unit, false);
        const auto& t = static_cast<const CDataMoji&>(*h.m_DataList.at(0));
        EXPECT_EQ(t.m_nPenStyle, 7);
        EXPECT_NEAR(t.m_degKakudo, r.angle, 1e-12);
        if (r.escapement % 900 == 0) {
            EXPECT_NEAR(t.m_start_x, r.sx, 1e-12) << r.escapement;
            EXPECT_NEAR(t.m_start_y, r.sy, 1e-12) << r.escapement;
            EXPECT_NEAR(t.m_end_x, r.ex, 1e-12) << r.escapement;
            EXPECT_NEAR(t.m_end_y, r.ey, 1e-12) << r.escapement;
        }
    }
}

TEST(JwwExport, DimensionsRefusedAndTemplateHonoured)
{
    CPlotInfo plot;
    CKovUnit unit;
    addFigure(unit, CKovLine::DIMENSION, {{0, 0}, {1, 0}, {0, 1}}, {1, 1, 0});
    EXPECT_EQ(ExportJwwBytes(plot, unit, {}, false).message,
              "寸法線は「ツール」「寸法線の文字線化」で線と文字にしてからJWW出力してください。");
    CKovUnit empty;
    EXPECT_EQ(ExportJwwBytes(plot, empty, "/nonexistent/jwdef.jww", false).message, "jwdefファイルがみつかりません。");
    // A user's template: its memo and pens reach the file; the version is 600 whatever it held.
    const std::string tmpl = testing::TempDir() + "jwdef.jww";
    {
        JwwHeader t;
        MakeDefaultJwwHeader(t);
        t.m_strMemo = "事務所の設定";
        t.m_pens[3].printColor = 0x00FF00;
        t.m_nVersion = 420;
        JwArchive ar;
        t.SerializeHeader(ar, 420);
        FILE* f = std::fopen(tmpl.c_str(), "wb");
        std::fwrite(ar.Bytes().data(), 1, ar.Bytes().size(), f);
        std::fclose(f);
    }
    const auto out = ExportJwwBytes(plot, empty, tmpl, false);
    ASSERT_TRUE(out.ok) << out.message;
    JwwHeader back;
    ASSERT_TRUE(back.ReadJwwArchive(out.bytes.data(), out.bytes.size()).ok);
    EXPECT_EQ(back.m_strMemo, "事務所の設定");
    EXPECT_EQ(back.m_pens[3].printColor, 0x00FF00u);
    EXPECT_EQ(back.m_nVersion, 600u);
}

TEST(JwwExport, PaperCodesTakeTheSmallestSheetThatHolds)
{
    struct Row {
        int ours, jww;
    } rows[] = {{0, 4}, {2, 3}, {3, 2}, {4, 1}, {6, 4}, {1, 3}, {9, 3}, {14, 0}, {20, 1}, {21, 2}, {8, 4}, {25, 4}};
    for (const Row& r : rows) {
        CPlotInfo plot;
        plot.PlotPaperSize = r.ours;
        EXPECT_EQ(JwwPaperCodeOf(plot), r.jww) << r.ours;
    }
}

TEST(JwcFile, EmptyFileLayout)
{
    JwcData d;
    d.SetJwcHeaderDefaults();
    d.m_line1.m_scale = 50;
    d.m_line1.m_paper = 4;
    d.m_line1.m_unitsAcross = 518;
    const auto bytes = d.WriteJwcFile();
    EXPECT_EQ(bytes.size(), 4693u);
    const std::string line1(reinterpret_cast<const char*>(bytes.data()) + 200);
    EXPECT_EQ(line1, "0,0,0,0,0,3,2,1,1,50.000000,0,4,2,1,5,5,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518,0");
    EXPECT_EQ(bytes[399], '\n');
    JwcData back;
    ASSERT_TRUE(back.ReadJwc(bytes.data(), bytes.size()).ok);
    EXPECT_EQ(back.m_line3.m_poolStart, back.m_line3.m_poolEnd);
    EXPECT_EQ(back.WriteJwcFile(), bytes);
}

TEST(JwcExport, CoordinatesSurviveForEveryPaperCode)
{
    for (int code = 0; code <= 25; ++code) {
        CPlotInfo plot;
        plot.PlotPaperSize = code;
        plot.PlotPaperSizeUserX = 500;
        plot.PlotPaperSizeUserY = 300;
        plot.m_Layer.SetAllScales(50);
        CKovUnit unit;
        addFigure(unit, CKovLine::LINE, {{1234.5, -678.25}, {-5000, 3000}});
        addFigure(unit, CKovLine::CIRCLE, {{100, -100}}, {250});
        addFigure(unit, CKovLine::CIRCLE, {{100, -100}}, {250, 0.5});
        addText(unit, 2000, -1000, "テキスト");
        const auto out = ExportJwcBytes(plot, unit, false);
        ASSERT_TRUE(out.ok);
        CPlotInfo plot2;
        CKovUnit back;
        const auto in = ImportJwcDrawing(out.bytes.data(), out.bytes.size(), CFontMenu(), plot2, back);
        ASSERT_TRUE(in.ok) << code << in.detail;
        ASSERT_EQ(back.m_Lines.GetSize(), 3) << code;
        const auto& p = back.m_Lines[0]->MLinePnt;
        EXPECT_NEAR(p[0].x, 1234.5, 0.01) << code;
        EXPECT_NEAR(p[0].y, -678.25, 0.01) << code;
        EXPECT_NEAR(p[1].x, -5000, 0.01) << code;
        EXPECT_NEAR(p[1].y, 3000, 0.01) << code;
        EXPECT_NEAR(back.m_Lines[1]->MLineParam[0], 250, 0.01) << code;
        ASSERT_EQ(back.m_Lines[2]->MLineParam.size(), 2u) << code;   // an ellipse stays one
        EXPECT_NEAR(back.m_Lines[2]->MLineParam[1], 0.5, 1e-4);
        ASSERT_EQ(back.m_Texts.GetSize(), 1);
        EXPECT_EQ(back.m_Texts[0]->MTextstr, "テキスト");
        EXPECT_NEAR(back.m_Texts[0]->MTextpnt.x, 2000, 0.01) << code;
        EXPECT_NEAR(back.m_Texts[0]->MTextpnt.y, -1000, 0.01) << code;
        EXPECT_EQ(back.m_Texts[0]->MTextFontMenu.m_size, 3);
    }
}

TEST(JwcExport, WriteReadWriteByteEqual)
{
    CPlotInfo plot;
    plot.m_Layer.SetAllScales(100);
    CKovUnit unit;
    buildHouse(unit);
    const auto first = ExportJwcBytes(plot, unit, false);
    CPlotInfo plot2;
    CKovUnit back;
    ASSERT_TRUE(ImportJwcDrawing(first.bytes.data(), first.bytes.size(), CFontMenu(), plot2, back).ok);
    const auto second = ExportJwcBytes(plot2, back, false);
    // Figures come back to the very numbers written; texts take their kind's size and spacing on the
    // first round, so from the second write on the files are equal.
    const std::size_t figures = 2389 + 11 * 22 + 3 * 32;
    EXPECT_TRUE(std::equal(first.bytes.begin(), first.bytes.begin() + figures, second.bytes.begin()));
    CPlotInfo plot3;
    CKovUnit third;
    ASSERT_TRUE(ImportJwcDrawing(second.bytes.data(), second.bytes.size(), CFontMenu(), plot3, third).ok);
    EXPECT_EQ(ExportJwcBytes(plot3, third, false).bytes, second.bytes);
}

TEST(JwcFile, DamagedFilesFailCleanly)
{
    CPlotInfo plot;
    plot.m_Layer.SetAllScales(100);
    CKovUnit unit;
    buildHouse(unit);
    const auto bytes = ExportJwcBytes(plot, unit, false).bytes;
    for (std::size_t cut = 0; cut < bytes.size() - 2048 - 256; cut += 37) {
        JwcData d;
        EXPECT_FALSE(d.ReadJwc(bytes.data(), cut).ok) << cut;
    }
    // A huge count in line 1.
    auto huge = bytes;
    const char* count = "99999999,";
    std::memcpy(huge.data() + 200, count, std::strlen(count));
    JwcData d;
    const JwReadResult r = d.ReadJwc(huge.data(), huge.size());
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("count"), std::string::npos);
}

TEST(JwFiles, SniffedByContent)
{
    CPlotInfo plot;
    CKovUnit unit;
    const auto jwc = ExportJwcBytes(plot, unit, false).bytes;
    const auto jww = ExportJwwBytes(plot, unit, {}, false).bytes;
    EXPECT_EQ(SniffJwFile(jwc.data(), jwc.size()), JwFileKind::Jwc);
    EXPECT_EQ(SniffJwFile(jww.data(), jww.size()), JwFileKind::Jww);
    const std::uint8_t other[] = {'x'};
    EXPECT_EQ(SniffJwFile(other, 1), JwFileKind::Unknown);
}

TEST(JwcFile, ScalesPastAnyDrawingAreRefused)
{
    CPlotInfo plot;
    plot.m_Layer.SetAllScales(50);
    CKovUnit unit;
    buildHouse(unit);
    const auto bytes = ExportJwcBytes(plot, unit, false).bytes;
    // The tenth field of header line 1 (at byte 200) is the scale.
    auto withScale = [&](const std::string& scale) {
        auto b = bytes;
        std::string line(reinterpret_cast<const char*>(b.data()) + 200);
        std::size_t at = 0;
        for (int i = 0; i < 9; ++i)
            at = line.find(',', at) + 1;
        line.replace(at, line.find(',', at) - at, scale);
        std::fill(b.begin() + 200, b.begin() + 399, 0);
        std::memcpy(b.data() + 200, line.data(), std::min<std::size_t>(line.size(), 198));
        return b;
    };
    struct Row {
        const char* scale;
        bool read;
    } rows[] = {
        {"50.000000", true},
        {"1000000", true},
        {"2147483648", false},   // no int
        {"3000000000", false},
        {"1e39", false},         // no float: every point would be NaN
        {"nan", true},           // no number: read as 1, as before
    };
    for (const Row& r : rows) {
        const auto b = withScale(r.scale);
        CPlotInfo plot2;
        CKovUnit back;
        const JwImportOutcome out = ImportJwcDrawing(b.data(), b.size(), CFontMenu(), plot2, back);
        EXPECT_EQ(out.ok, r.read) << r.scale;
        if (!r.read) {
            ASSERT_EQ(out.messages.size(), 1u) << r.scale;
            EXPECT_EQ(out.messages[0], jwtexts::kBadJwcScale);
            EXPECT_EQ(back.m_Lines.GetSize(), 0);
            continue;
        }
        for (const auto& f : back.m_Lines)
            for (const auto& p : f->MLinePnt)
                EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << r.scale;
    }
    // A drawing whose scale is past a 16-bit group scale writes the largest, and reads back.
    CPlotInfo huge;
    huge.m_Layer.m_dScale[0] = 5.0e9;
    const auto out = ExportJwcBytes(huge, unit, false);
    ASSERT_TRUE(out.ok);
    CPlotInfo plot3;
    CKovUnit back;
    EXPECT_TRUE(ImportJwcDrawing(out.bytes.data(), out.bytes.size(), CFontMenu(), plot3, back).ok);
    EXPECT_LE(plot3.m_Layer.m_dScale[0], CLayer::kMaxScale);
}

// A JWC file of more lines than a drawing holds: the rest is not read, and the user is told. (Its
// text pool of 6,400 bytes keeps a JWC file far below the text limit.)
TEST(JwcImport, DrawingFullStopsWithAMessage)
{
    JwcData d;
    d.SetJwcHeaderDefaults();
    d.m_line1.m_scale = 100;
    for (int i = 0; i < CKovUnit::kLineIdLimit + 10; ++i) {
        CJWSen s;
        s.m_x2 = 1;
        s.m_y2 = i % 50;
        d.m_sen.push_back(s);
    }
    const auto bytes = d.WriteJwcFile();
    CPlotInfo plot;
    CKovUnit unit;
    const JwImportOutcome in = ImportJwcDrawing(bytes.data(), bytes.size(), CFontMenu(), plot, unit);
    ASSERT_TRUE(in.ok) << in.detail;
    EXPECT_EQ(unit.m_Lines.GetSize(), CKovUnit::kLineIdLimit);
    ASSERT_EQ(in.messages.size(), 1u);
    EXPECT_EQ(in.messages[0], "図形の数が上限に達したため、ファイルの一部だけを読み込みました。");
}
