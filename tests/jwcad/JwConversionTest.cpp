#include "jwcad/JwConversion.h"
#include "jwcad/JwExport.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const std::string kSamples = KOVIRA_SAMPLES "/jww/";

struct Imported {
    CPlotInfo plot;
    CKovUnit unit;
    JwImportOutcome outcome;
};

// A drawing file holding the records, at scale 100 in every group, read back through the import.
std::unique_ptr<Imported> importRecords(JwRecordList records, JwwImportOptions options = {},
                                        void (*setup)(JwwHeader&) = nullptr, JwRecordList blocks = {})
{
    JwwHeader h;
    MakeDefaultJwwHeader(h);
    for (auto& g : h.m_groups)
        g.scale = 100;
    h.m_pens[1].printColor = 0x0000FF;
    h.m_pens[2].printColor = 0xFFFFFF;
    h.m_pens[3].printColor = 0x00FF00;
    if (setup)
        setup(h);
    h.m_DataList = std::move(records);
    h.m_DataListList = std::move(blocks);
    const auto bytes = h.WriteJwwArchive();
    auto out = std::make_unique<Imported>();
    out->outcome = ImportJwwDrawing(bytes.data(), bytes.size(), options, out->plot, out->unit);
    return out;
}

template <class R>
std::unique_ptr<R> rec(int penStyle = 1, int penColor = 1, int penWidth = 0)
{
    auto r = std::make_unique<R>();
    r->m_nPenStyle = static_cast<std::uint8_t>(penStyle);
    r->m_nPenColor = static_cast<std::uint16_t>(penColor);
    r->m_nPenWidth = static_cast<std::uint16_t>(penWidth);
    return r;
}

std::unique_ptr<CDataSen> line(double x1, double y1, double x2, double y2, int pen = 1, int colour = 1, int width = 0)
{
    auto r = rec<CDataSen>(pen, colour, width);
    r->m_start_x = x1;
    r->m_start_y = y1;
    r->m_end_x = x2;
    r->m_end_y = y2;
    return r;
}

JwRecordList listOf(std::unique_ptr<CData> a)
{
    JwRecordList l;
    l.push_back(std::move(a));
    return l;
}

void expectNear(const CDbPoint& p, double x, double y, const char* what)
{
    EXPECT_NEAR(p.x, x, 1e-6) << what;
    EXPECT_NEAR(p.y, y, 1e-6) << what;
}

} // namespace

TEST(JwwConversion, PenStylesWidthsAndColours)
{
    struct Row {
        int pen, colour, width;
        JwwImportOptions options;
        int lineType, widthType;
        std::uint32_t rgb;
    } rows[] = {
        {9, 1, 0, {}, 5, 1, 0x0000FF},
        {0, 1, 0, {}, 0, 1, 0x0000FF},
        {12, 1, 0, {}, 0, 1, 0x0000FF},
        {2, 1, 9, {}, 1, 10, 0x0000FF},
        {3, 1, 10, {}, 2, 1, 0x0000FF},
        {5, 3, 4, {0, 0, 1}, 3, 1, 0x00FF00},
        {7, 2, 0, {}, 4, 1, 0},                 // white becomes black
        {7, 2, 0, {1}, 4, 1, 0xFFFFFF},         // unless kept
        {1, 3, 0, {0, 1}, 0, 1, 0},             // all black
        {1, 400, 0, {}, 0, 1, 0},               // a pen the table does not have
    };
    for (const Row& r : rows) {
        auto got = importRecords(listOf(line(0, 0, 1, 1, r.pen, r.colour, r.width)), r.options);
        ASSERT_TRUE(got->outcome.ok);
        ASSERT_EQ(got->unit.m_Lines.GetSize(), 1);
        const CKovLine& f = *got->unit.m_Lines[0];
        EXPECT_EQ(f.MLineLineT, r.lineType) << "pen " << r.pen;
        EXPECT_EQ(f.MLineWide, r.widthType) << "width " << r.width;
        EXPECT_EQ(f.MLineColor, r.rgb) << "colour " << r.colour;
    }
}

TEST(JwwConversion, CoordinatesScaleAndFlip)
{
    auto got = importRecords(listOf(line(10, 20, -5, 0)), {}, [](JwwHeader& h) { h.m_groups[0].scale = 50; });
    const CKovLine& f = *got->unit.m_Lines[0];
    expectNear(f.MLinePnt[0], 500, -1000, "start");
    expectNear(f.MLinePnt[1], -250, 0, "end");
    EXPECT_EQ(got->plot.m_Layer.m_dScale[0], 50);
    EXPECT_EQ(got->plot.m_Layer.m_dScale[7], 100);   // every group keeps its own scale
}

TEST(JwwConversion, TextsAnchorStyleAndColour)
{
    struct Row {
        int code;
        std::uint32_t kind;
        double angle;
        int halign, valign;
        double x, y;   // anchor, drawing mm (scale 100)
        int weight, italic, escapement;
    } rows[] = {
        {1, 0, 0, 0, 2, 1000, -2000, 400, 0, 0},
        {3, 10000, 0, 2, 2, 1600, -2000, 400, 1, 0},
        {5, 20000, 0, 1, 1, 1300, -2150, 700, 0, 0},
        {7, 30000, 0, 0, 0, 1000, -2300, 700, 1, 0},
        {0, 0, 45.55, 1, 2, 1300, -2000, 400, 0, 456},
        {1, 0, -90, 0, 2, 1000, -2000, 400, 0, 2700},
        {1, 0, 359.96, 0, 2, 1000, -2000, 400, 0, 0},
    };
    for (const Row& r : rows) {
        auto t = rec<CDataMoji>(r.code, 3);
        t->m_start_x = 10;
        t->m_start_y = 20;
        t->m_end_x = 16;
        t->m_end_y = 20;
        t->m_dSizeX = 2;
        t->m_dSizeY = 3;
        t->m_dKankaku = 0.5;
        t->m_degKakudo = r.angle;
        t->m_nMojiShu = r.kind;
        t->m_strFontName = "ＭＳ 明朝";
        t->m_string = "洋室";
        auto got = importRecords(listOf(std::move(t)));
        ASSERT_EQ(got->unit.m_Texts.GetSize(), 1) << r.code;
        const CKovText& text = *got->unit.m_Texts[0];
        const CFontMenu& f = text.MTextFontMenu;
        EXPECT_EQ(text.MTextstr, "洋室");
        EXPECT_EQ(f.m_toko_align, r.halign) << r.code;
        EXPECT_EQ(f.m_tate_align, r.valign) << r.code;
        if (r.angle == 0)
            expectNear(text.MTextpnt, r.x, r.y, "anchor");
        EXPECT_EQ(f.lfWeight, r.weight) << r.kind;
        EXPECT_EQ(f.lfItalic, r.italic) << r.kind;
        EXPECT_EQ(f.lfEscapement, r.escapement) << r.angle;
        EXPECT_EQ(f.m_size, 3);   // the height
        EXPECT_EQ(f.m_kankaku, 0.5);
        EXPECT_EQ(f.lfFaceName, "ＭＳ 明朝");
        EXPECT_EQ(f.m_Color, 0x00FF00u);   // its own pen's colour
    }
    // Picture records of newer files are no texts.
    auto pic = rec<CDataMoji>();
    pic->m_string = "^@BMpicture.bmp,100,100";
    EXPECT_EQ(importRecords(listOf(std::move(pic)))->unit.m_Texts.GetSize(), 0);
}

TEST(JwwConversion, CirclesArcsAndEllipses)
{
    constexpr double pi = 3.14159265358979;
    struct Row {
        const char* name;
        double r, start, arc, tilt, flat;
        unsigned full;
        int kind;
        std::size_t params, points;
        double p1x, p1y, p2x, p2y;   // arc ends, drawing mm, centre at the origin, scale 100
    } rows[] = {
        {"circle", 10, 1, 2, 0, 1.0, 1, CKovLine::CIRCLE, 1, 1, 0, 0, 0, 0},
        {"ellipse", 10, 0, 0, 0, 0.5, 1, CKovLine::CIRCLE, 2, 1, 0, 0, 0, 0},
        {"quarter arc", 10, 0, pi / 2, 0, 1.0, 0, CKovLine::ARC, 1, 3, 1000, 0, 0, -1000},
        {"negative arc", 10, pi / 2, -pi / 2, 0, 1.0, 0, CKovLine::ARC, 1, 3, 1000, 0, 0, -1000},
        {"tilted arc", 10, 0, pi / 2, pi / 2, 1.0, 0, CKovLine::ARC, 1, 3, 0, -1000, -1000, 0},
        {"elliptic arc ends", 10, 0, pi / 2, 0, 0.5, 0, CKovLine::ARC, 2, 3, 1000, 0, 0, -1000},
        {"upright ellipse", 10, 0, 0, pi / 2, 0.5, 1, CKovLine::CIRCLE, 2, 1, 0, 0, 0, 0},
        {"tilted ellipse", 10, 0, 0, pi / 6, 0.5, 1, CKovLine::POLYGON, 0, 72, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        auto e = rec<CDataEnko>();
        e->m_dHankei = r.r;
        e->m_radKaishiKaku = r.start;
        e->m_radEnkoKaku = r.arc;
        e->m_radKatamukiKaku = r.tilt;
        e->m_dHenpeiRitsu = r.flat;
        e->m_bZenEnFlg = r.full;
        auto got = importRecords(listOf(std::move(e)));
        ASSERT_EQ(got->unit.m_Lines.GetSize(), 1) << r.name;
        const CKovLine& f = *got->unit.m_Lines[0];
        EXPECT_EQ(f.MLineType, r.kind) << r.name;
        EXPECT_EQ(f.MLineParam.size(), r.params) << r.name;
        EXPECT_EQ(f.MLinePnt.size(), r.points) << r.name;
        if (r.kind == CKovLine::ARC) {
            expectNear(f.MLinePnt[1], r.p1x, r.p1y, r.name);
            expectNear(f.MLinePnt[2], r.p2x, r.p2y, r.name);
        }
        if (std::string(r.name) == "upright ellipse") {
            EXPECT_NEAR(f.MLineParam[0], 500, 1e-9);
            EXPECT_NEAR(f.MLineParam[1], 2.0, 1e-12);
        }
    }
}

TEST(JwwConversion, ArcsToPolylinesStepEvenly)
{
    constexpr double pi = 3.14159265358979;
    struct Row {
        double r, arc;
        unsigned full;
        int kind;
        std::size_t points;
    } rows[] = {
        {0.1, 0, 1, CKovLine::POLYGON, 62 + 1},   // radius 10 mm at scale 100: 62 segments
        {1, 0, 1, CKovLine::POLYGON, 24 + 1},
        {1, pi / 2, 0, CKovLine::CONTINUOUS, 6 + 1},
        {1, pi / 18, 0, CKovLine::CONTINUOUS, 1 + 1},
    };
    for (const Row& r : rows) {
        auto e = rec<CDataEnko>();
        e->m_dHankei = r.r;
        e->m_radEnkoKaku = r.arc;
        e->m_dHenpeiRitsu = 1;
        e->m_bZenEnFlg = r.full;
        JwwImportOptions o;
        o.m_bArcsToPolylines = 1;
        auto got = importRecords(listOf(std::move(e)), o);
        ASSERT_EQ(got->unit.m_Lines.GetSize(), 1);
        const CKovLine& f = *got->unit.m_Lines[0];
        EXPECT_EQ(f.MLineType, r.kind) << r.r;
        ASSERT_EQ(f.MLinePnt.size(), r.points) << r.r;
        if (r.full) {
            // Even steps all round: the last side is as long as the first.
            const auto& p = f.MLinePnt;
            const double first = std::hypot(p[1].x - p[0].x, p[1].y - p[0].y);
            const double last = std::hypot(p[p.size() - 1].x - p[p.size() - 2].x, p[p.size() - 1].y - p[p.size() - 2].y);
            EXPECT_NEAR(first, last, 1e-6 * first);
        }
    }
    // A damaged file's radius, far below zero or no number, takes one step.
    for (double bad : {-1.35e13, std::nan("")}) {
        auto e = rec<CDataEnko>();
        e->m_dHankei = bad;
        e->m_dHenpeiRitsu = 1;
        e->m_bZenEnFlg = 1;
        JwwImportOptions o;
        o.m_bArcsToPolylines = 1;
        auto got = importRecords(listOf(std::move(e)), o);
        for (int i = 0; i < got->unit.m_Lines.GetSize(); ++i)
            EXPECT_LE(got->unit.m_Lines[i]->MLinePnt.size(), 3u) << bad;
    }
    // An elliptic arc whose minor radius underflows to zero has no angles: never a polyline of
    // points at NaN (a damaged file gave radius 5.4e-310 and flatness 1.7e-310).
    for (double r : {5.4e-310, 100.0}) {
        auto e = rec<CDataEnko>();
        e->m_dHankei = r;
        e->m_radEnkoKaku = 1;
        e->m_dHenpeiRitsu = r < 1 ? 1.7e-310 : 0.0;
        e->m_bZenEnFlg = 0;
        JwwImportOptions o;
        o.m_bArcsToPolylines = 1;
        auto got = importRecords(listOf(std::move(e)), o);
        for (int i = 0; i < got->unit.m_Lines.GetSize(); ++i)
            for (const CDbPoint& p : got->unit.m_Lines[i]->MLinePnt)
                EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << r;
    }
}

TEST(JwwConversion, SolidsByOption)
{
    auto solid = [] {
        auto s = rec<CDataSolid>(1, 10);
        s->m_nGLayer = 2;
        s->m_nLayer = 5;
        s->m_end_x = 1;
        s->m_DPoint2_x = 1;
        s->m_DPoint2_y = 1;
        s->m_DPoint3_y = 1;
        s->m_Color = 0x123456;
        JwRecordList l;
        l.push_back(line(0, 0, 1, 0));
        l.push_back(std::move(s));
        return l;
    };
    JwwImportOptions toZero;
    auto got = importRecords(solid(), toZero);
    ASSERT_EQ(got->unit.m_Lines.GetSize(), 2);
    const CKovLine& f = *got->unit.m_Lines[1];
    EXPECT_EQ(f.MLinebNakanuri, 1);
    EXPECT_EQ(f.MLineColor, 0x123456u);
    EXPECT_EQ(f.MLineNakaColor, 0x123456u);
    EXPECT_EQ(f.MLineType, CKovLine::POLYGON);
    // A fill alone, on layer 0 of its own layer group (another group may be at another scale).
    EXPECT_EQ(f.MLineNoOutline, 1);
    EXPECT_EQ(f.MLineLayer1, 2);
    EXPECT_EQ(f.MLineLayer2, 0);
    EXPECT_EQ(f.MLinePnt.size(), 4u);
    JwwImportOptions ownLayer;
    ownLayer.m_nSolids = 1;
    EXPECT_EQ(importRecords(solid(), ownLayer)->unit.m_Lines[1]->MLineLayer2, 5);
    // A triangle repeats its third corner: three corners.
    auto triangle = solid();
    auto& t = static_cast<CDataSolid&>(*triangle[1]);
    t.m_DPoint3_x = t.m_DPoint2_x;
    t.m_DPoint3_y = t.m_DPoint2_y;
    EXPECT_EQ(importRecords(std::move(triangle), toZero)->unit.m_Lines[1]->MLinePnt.size(), 3u);
    JwwImportOptions ignore;
    ignore.m_nSolids = 2;
    EXPECT_EQ(importRecords(solid(), ignore)->unit.m_Lines.GetSize(), 1);
    // Drawn first: inserted below everything else.
    auto first = importRecords(solid(), toZero, [](JwwHeader& h) { h.m_switches[2] = 11; });
    EXPECT_EQ(first->unit.m_Lines[0]->MLinebNakanuri, 1);
}

TEST(JwwConversion, DimensionsBecomeLinesAndText)
{
    for (int version : {419, 420}) {
        // Written at 600 but read as the given version would hold it: build the stream by hand.
        JwwHeader h;
        MakeDefaultJwwHeader(h);
        h.m_nVersion = static_cast<std::uint32_t>(version);
        JwArchive ar;
        h.SerializeHeader(ar, version);
        JwRecordList list;
        auto d = std::make_unique<CDataSunpou>();
        d->m_nVersion = version;
        for (CData* inner : std::initializer_list<CData*>{&d->m_Sen, &d->m_Moji, &d->m_SenHo1, &d->m_SenHo2, &d->m_Ten1,
                                                          &d->m_Ten2, &d->m_Ten3, &d->m_Ten4})
            inner->m_nVersion = version;
        d->m_Moji.m_string = "1820";
        d->m_Moji.m_dSizeY = 3;
        list.push_back(std::move(d));
        ar.ioList(list);
        JwRecordList none;
        ar.ioList(none);
        CPlotInfo plot;
        CKovUnit unit;
        const auto out = ImportJwwDrawing(ar.Bytes().data(), ar.Bytes().size(), {}, plot, unit);
        ASSERT_TRUE(out.ok) << version << out.detail;
        EXPECT_EQ(unit.m_Lines.GetSize(), version >= 420 ? 3 : 1) << version;
        EXPECT_EQ(unit.m_Texts.GetSize(), 1);
    }
}

TEST(JwwConversion, BlocksExpandWhereTheDrawingWithoutThemHasItsFigures)
{
    auto shapes = [](const char* file) {
        JwwHeader h;
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(ReadWholeFile(kSamples + file, bytes));
        CPlotInfo plot;
        CKovUnit unit;
        EXPECT_TRUE(ImportJwwDrawing(bytes.data(), bytes.size(), {}, plot, unit).ok);
        std::vector<std::vector<double>> out;
        for (const auto& f : unit.m_Lines) {
            std::vector<double> v{double(f->MLineType)};
            for (const auto& p : f->MLinePnt) {
                v.push_back(std::round(p.x * 1000) / 1000);
                v.push_back(std::round(p.y * 1000) / 1000);
            }
            for (double q : f->MLineParam)
                v.push_back(std::round(q * 1000) / 1000);
            out.push_back(v);
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    const auto plain = shapes("non_block.jww");
    const auto circles = shapes("2-circles-blocks.jww");
    const auto square = shapes("sqr-circle-blocks.jww");
    // The square and one circle as plain figures, the other circle through a block, and the reverse.
    ASSERT_EQ(circles.size(), 6u);
    ASSERT_EQ(square.size(), 6u);
    EXPECT_EQ(circles, plain);
    EXPECT_EQ(square, plain);
    EXPECT_EQ(shapes("copy-block.jww").size(), 8u);
    EXPECT_EQ(shapes("2blocks.jww").size(), 4u);
}

TEST(JwwConversion, NestedInsertsComposeAndCyclesEnd)
{
    constexpr double pi = 3.14159265358979;
    // Block 1 holds a line from (1,0) to (2,0); block 2 inserts block 1 at (10,0); the drawing
    // inserts block 2 at (100,0) turned a quarter and scaled by 2.
    JwRecordList blocks;
    auto b1 = std::make_unique<CDataList>();
    b1->m_nNumber = 1;
    b1->m_DataList.push_back(line(1, 0, 2, 0));
    auto b2 = std::make_unique<CDataList>();
    b2->m_nNumber = 2;
    auto inner = rec<CDataBlock>();
    inner->m_DPKijunTen_x = 10;
    inner->m_dBairitsuX = inner->m_dBairitsuY = 1;
    inner->m_n_Number = 1;
    b2->m_DataList.push_back(std::move(inner));
    // A definition that inserts itself ends after one round.
    auto self = rec<CDataBlock>();
    self->m_dBairitsuX = self->m_dBairitsuY = 1;
    self->m_n_Number = 2;
    b2->m_DataList.push_back(std::move(self));
    blocks.push_back(std::move(b1));
    blocks.push_back(std::move(b2));
    auto outer = rec<CDataBlock>();
    outer->m_DPKijunTen_x = 100;
    outer->m_dBairitsuX = outer->m_dBairitsuY = 2;
    outer->m_radKaitenKaku = pi / 2;
    outer->m_n_Number = 2;
    auto got = importRecords(listOf(std::move(outer)), {}, nullptr, std::move(blocks));
    ASSERT_EQ(got->unit.m_Lines.GetSize(), 1);
    const CKovLine& f = *got->unit.m_Lines[0];
    // (11,0) → turned and doubled (0,22) → moved (100,22) → drawing mm at 1:100, y down.
    expectNear(f.MLinePnt[0], 10000, -2200, "start");
    expectNear(f.MLinePnt[1], 10000, -2400, "end");
}

TEST(JwwConversion, BlockLimitSkipsAndSaysSoOnce)
{
    JwRecordList blocks;
    auto big = std::make_unique<CDataList>();
    for (int i = 0; i < 3; ++i)
        big->m_DataList.push_back(line(0, 0, 1, i));
    blocks.push_back(std::move(big));
    JwRecordList records;
    for (int i = 0; i < 2; ++i) {
        auto ins = rec<CDataBlock>();
        ins->m_dBairitsuX = ins->m_dBairitsuY = 1;
        records.push_back(std::move(ins));
    }
    JwwImportOptions o;
    o.m_nBlockLimit = 2;
    auto got = importRecords(std::move(records), o, nullptr, std::move(blocks));
    EXPECT_EQ(got->unit.m_Lines.GetSize(), 0);
    ASSERT_EQ(got->outcome.messages.size(), 1u);
    EXPECT_EQ(got->outcome.messages[0], "要素が2を超えるブロック図形は読み込めませんでした");
}

TEST(JwwConversion, UnreadableFileChangesNothing)
{
    CPlotInfo plot;
    plot.PlotPaperSize = 9;
    CKovUnit unit;
    const std::uint8_t junk[] = {'n', 'o', 't', ' ', 'j', 'w', 'w'};
    const auto out = ImportJwwDrawing(junk, sizeof junk, {}, plot, unit);
    EXPECT_FALSE(out.ok);
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0], "jwwファイルでないか、ファイルを読み取れませんでした。");
    EXPECT_EQ(plot.PlotPaperSize, 9);
}

TEST(JwsImport, FiguresMoveToTheOriginAndCurrentLayerAsOneGroup)
{
    JwArchive ar;
    char sig[8] = {'J', 'w', 's', 'D', 'a', 't', 'a', '.'};
    ar.ioFixed(sig, 8);
    ar.WriteDWord(600);
    ar.pad(192);
    ar.WriteDouble(5);   // origin
    ar.WriteDouble(5);
    for (int g = 0; g < 16; ++g)
        ar.WriteDouble(g == 0 ? 0 : 100);   // group 0's scale 0 is taken as 1
    ar.pad(72);
    for (int i = 0; i < 4; ++i)
        ar.WriteDouble(0);
    JwRecordList list;
    list.push_back(line(5, 5, 15, 5));
    auto t = rec<CDataMoji>(1, 1);
    t->m_start_x = 5;
    t->m_start_y = 5;
    t->m_string = "A";
    list.push_back(std::move(t));
    ar.ioList(list);
    JwRecordList none;
    ar.ioList(none);
    CPlotInfo plot;
    plot.m_Layer.m_nCurrentGroup = 0;
    plot.m_Layer.m_nCurrentLayer = 3;
    CKovUnit unit;
    SelectionRecord sel;
    int group = 0;
    const auto out = ImportJwsFigures(ar.Bytes().data(), ar.Bytes().size(), plot, unit, sel, group);
    ASSERT_TRUE(out.ok) << out.detail;
    ASSERT_NE(group, 0);
    ASSERT_EQ(unit.m_Lines.GetSize(), 1);
    expectNear(unit.m_Lines[0]->MLinePnt[0], 0, 0, "line start");
    expectNear(unit.m_Lines[0]->MLinePnt[1], 10, 0, "line end");
    EXPECT_EQ(unit.m_Lines[0]->MLineLayer2, 3);
    EXPECT_EQ(unit.m_Texts[0]->MTextFontMenu.m_Color, 0xFFFF00u);
    EXPECT_EQ(sel.m_Groups, std::vector<int>{group});
    EXPECT_EQ(unit.FindGroup(group)->MGrpLineID.size(), 1u);
    // An unreadable figure file: the message, and still an empty placement.
    const std::uint8_t junk[] = {1, 2, 3};
    SelectionRecord sel2;
    const auto bad = ImportJwsFigures(junk, sizeof junk, plot, unit, sel2, group);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.messages.size(), 1u);
}

TEST(JwwConversion, DrawingFullStopsWithAMessage)
{
    JwRecordList records;
    for (int i = 0; i < CKovUnit::kLineIdLimit + 100; ++i)
        records.push_back(line(0, 0, 1, i % 50));
    auto got = importRecords(std::move(records));
    ASSERT_TRUE(got->outcome.ok);
    EXPECT_EQ(got->unit.m_Lines.GetSize(), CKovUnit::kLineIdLimit);
    ASSERT_EQ(got->outcome.messages.size(), 1u);
    EXPECT_EQ(got->outcome.messages[0], "図形の数が上限に達したため、ファイルの一部だけを読み込みました。");
}

// Texts stop at the text counter's limit, below the other kinds': the rest of the file is not
// read, and the user is told.
TEST(JwwConversion, TextsPastTheirLimitAreNotReadWithAMessage)
{
    JwRecordList records;
    for (int i = 0; i < CKovUnit::kTextIdLimit + 10; ++i) {
        auto t = rec<CDataMoji>(1, 1);
        t->m_start_x = i % 100;
        t->m_end_x = i % 100 + 5;
        t->m_string = "A";
        records.push_back(std::move(t));
    }
    auto got = importRecords(std::move(records));
    ASSERT_TRUE(got->outcome.ok);
    EXPECT_EQ(got->unit.m_Texts.GetSize(), CKovUnit::kTextIdLimit);
    ASSERT_EQ(got->outcome.messages.size(), 1u);
    EXPECT_EQ(got->outcome.messages[0], "図形の数が上限に達したため、ファイルの一部だけを読み込みました。");
}

TEST(JwwConversion, InsertsOfInsertsAreBounded)
{
    // Ten levels, each inserting the next 50 times, and nothing drawn at the bottom: 50^10 visits
    // unless the expansion is bounded.
    JwRecordList blocks;
    for (int level = 0; level < 10; ++level) {
        auto def = std::make_unique<CDataList>();
        def->m_nNumber = static_cast<std::uint32_t>(level);
        for (int i = 0; i < 50; ++i) {
            if (level == 9) {
                def->m_DataList.push_back(std::make_unique<CDataTen>());
                continue;
            }
            auto ins = rec<CDataBlock>();
            ins->m_dBairitsuX = ins->m_dBairitsuY = 1;
            ins->m_n_Number = static_cast<std::uint32_t>(level + 1);
            def->m_DataList.push_back(std::move(ins));
        }
        blocks.push_back(std::move(def));
    }
    auto top = rec<CDataBlock>();
    top->m_dBairitsuX = top->m_dBairitsuY = 1;
    auto got = importRecords(listOf(std::move(top)), {}, nullptr, std::move(blocks));
    ASSERT_TRUE(got->outcome.ok);
    // The points met before the bound are said too.
    ASSERT_EQ(got->outcome.messages.size(), 2u);
    EXPECT_EQ(got->outcome.messages[0], "ブロック図形の展開が多すぎるため、一部を読み込みませんでした。");
    EXPECT_NE(got->outcome.messages[1].find("個は読み込みません"), std::string::npos);
}

TEST(JwwConversion, NumbersThatAreNoNumberNeverReachTheDrawing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    JwRecordList records;
    records.push_back(line(nan, 1, 2, std::numeric_limits<double>::infinity()));
    auto e = rec<CDataEnko>();
    e->m_start_x = nan;
    e->m_dHankei = nan;
    e->m_radEnkoKaku = nan;
    e->m_dHenpeiRitsu = 1;
    records.push_back(std::move(e));
    auto t = rec<CDataMoji>(1);
    t->m_start_x = nan;
    t->m_degKakudo = nan;
    t->m_dSizeY = nan;
    t->m_string = "A";
    records.push_back(std::move(t));
    auto got = importRecords(std::move(records));
    ASSERT_EQ(got->unit.m_Lines.GetSize(), 2);
    for (const auto& f : got->unit.m_Lines) {
        for (const CDbPoint& p : f->MLinePnt) {
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        }
        for (double q : f->MLineParam)
            EXPECT_TRUE(std::isfinite(q));
    }
    const CKovText& text = *got->unit.m_Texts[0];
    EXPECT_TRUE(std::isfinite(text.MTextpnt.x) && std::isfinite(text.MTextpnt.y));
    EXPECT_TRUE(std::isfinite(text.MTextFontMenu.m_size));
}
