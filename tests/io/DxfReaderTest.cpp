#include "DxfTestSupport.h"

#include "io/DxfTables.h"
#include "io/DxfTexts.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <functional>

using kov::test::countOf;
using kov::test::DxfCounts;
using kov::test::DxfImport;

namespace {

std::string fileBytes(const std::filesystem::path& path)
{
    QFile f(QString::fromStdString(path.string()));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path;
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// DXF text from pairs written one per line pair, "\n" line ends.
std::string dxf(std::initializer_list<std::pair<int, std::string_view>> pairs)
{
    std::string s;
    for (const auto& [code, value] : pairs) {
        s += std::to_string(code);
        s += '\n';
        s += value;
        s += '\n';
    }
    return s;
}

std::string entities(const std::string& body) { return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n"; }

} // namespace

// The counts come from the files themselves: model-space entities with every INSERT expanded, as
// python3-ezdxf 0.18 lists them (recover.readfile, then the blocks walked), LWPOLYLINE and POLYLINE
// both counted as polylines, TEXT and MTEXT as texts. Entities that make nothing here: 3DFACE, and
// circles of radius 0 or below (circle_radius_le_0.dxf holds one of 0 and one of -1). Whatever the
// file's coordinates, the drawing lands on the paper, and the user is told when it was moved.
TEST(DxfReader, SampleFilesOfOtherProgramsReadWithTheirCounts)
{
    namespace t = kov::io::dxftext;
    const std::string centred(t::kCentred);
    struct Case {
        const char* file;
        DxfCounts expected;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"AC1003_LINE_Example.dxf", {13, 0, 0, 9, 0}, {}},
        {"ASCII_R12.dxf", {2, 0, 0, 0, 1}, {centred}},
        {"Minimal_DXF_AC1006.dxf", {1, 0, 0, 0, 0}, {"次の要素は読み込みませんでした：3DFACE 2 個", centred}},
        {"Minimal_DXF_AC1009.dxf", {0, 0, 0, 0, 0}, {}},
        {"R12_with_trash_beyond_EOF.dxf", {0, 0, 1, 0, 0}, {centred}},
        {"caret_encoding.dxf", {0, 0, 0, 0, 61}, {centred}},
        {"cc_dxflib.dxf", {0, 1, 0, 0, 0}, {centred}},
        {"circle_radius_le_0.dxf", {0, 0, 0, 0, 0}, {}},
        {"colors.dxf", {0, 20, 18, 0, 30}, {"図面が用紙からはみ出すため、用紙と縮尺を図面の大きさから選び（297×210mm、1/1）、図面を用紙の中央に置きました。"}},
        {"text_alignments.dxf", {10, 0, 32, 0, 16}, {centred}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = fileBytes(kov::test::sampleFile(std::string("dxf/") + c.file));
        DxfImport in(bytes);
        EXPECT_TRUE(in.result.read);
        EXPECT_EQ(countOf(in.unit), c.expected);
        EXPECT_EQ(in.result.messages, c.messages);
        // On the sheet: the paper at the scale, about the sheet's centre.
        int paperX = 0, paperY = 0;
        kov::io::DxfPaperSize(in.plot, paperX, paperY);
        const double halfW = paperX * in.plot.m_Layer.m_dScale[0] / 2, halfH = paperY * in.plot.m_Layer.m_dScale[0] / 2;
        auto onSheet = [&](const CDbPoint& p) {
            return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) <= halfW + 1e-6 && std::fabs(p.y) <= halfH + 1e-6;
        };
        for (const auto& f : in.unit.m_Lines) {
            EXPECT_EQ(f->MLineGrpID, 0);
            for (const CDbPoint& p : f->MLinePnt) EXPECT_TRUE(onSheet(p)) << p.x << ", " << p.y;
        }
        for (const auto& x : in.unit.m_Texts) EXPECT_TRUE(onSheet(x->MTextpnt)) << x->MTextpnt.x << ", " << x->MTextpnt.y;
        EXPECT_TRUE(in.unit.m_Groups.empty());
    }
}

TEST(DxfReader, NamesAndTextsAreDecodedByTheFilesCodePage)
{
    // Escaped Greek in a layer name and in a block's text; the file names no code page, so its
    // other bytes are read as the Japanese code page that such files come in (half-width kana).
    DxfImport r12(fileBytes(kov::test::sampleFile("dxf/ASCII_R12.dxf")));
    bool found = false;
    for (const auto& row : r12.plot.m_Layer.m_LayerInfo)
        for (const auto& layer : row) found = found || layer.m_strName == "ΛΑΓΕΡﾄﾜﾖ";
    EXPECT_TRUE(found);
    ASSERT_EQ(r12.unit.m_Texts.GetSize(), 1);
    EXPECT_EQ(r12.unit.m_Texts[0]->MTextstr.substr(0, 3), "ABC");
    EXPECT_NE(r12.unit.m_Texts[0]->MTextstr.find("αβγ"), std::string::npos);

    // Caret-encoded control characters: a tab is a blank, the others drop out, "^ " is the caret.
    DxfImport caret(fileBytes(kov::test::sampleFile("dxf/caret_encoding.dxf")));
    ASSERT_EQ(caret.unit.m_Texts.GetSize(), 61);
    EXPECT_EQ(caret.unit.m_Texts[34]->MTextstr, "I: abc def");
    EXPECT_EQ(caret.unit.m_Texts[35]->MTextstr, "J: abcdef");
    EXPECT_EQ(caret.unit.m_Texts[58]->MTextstr, " : abc^def");

    // Our own fixture: a CP932 room label as Japanese programs write them.
    DxfImport jp(fileBytes(kov::test::testData("dxf/japanese-cp932.dxf")));
    ASSERT_EQ(jp.unit.m_Texts.GetSize(), 2);
    EXPECT_EQ(jp.unit.m_Texts[0]->MTextstr, "洋室６畳");
    EXPECT_EQ(jp.unit.m_Texts[1]->MTextstr, "ＬＤＫ 12.5°");
    EXPECT_EQ(jp.plot.m_Layer.m_LayerInfo[0][1].m_strName, "文字");
}

TEST(DxfReader, WesternCodePageIsTrustedUnlessTheBytesAreJapanese)
{
    auto file = [](std::string_view text) {
        return "0\nSECTION\n2\nHEADER\n9\n$DWGCODEPAGE\n3\nANSI_1252\n0\nENDSEC\n"
               + entities("0\nTEXT\n10\n0\n20\n0\n40\n1\n1\n" + std::string(text) + "\n");
    };
    struct Case {
        const char* name;
        std::string bytes;
        const char* text;
    };
    const Case cases[] = {
        {"code page 1252", "Gr\xF6\xDF" "e \xE9l\xE8ve \x84quote\x93", "Größe élève „quote“"},
        {"CP932 bytes under a 1252 header", "\x97\x6D\x8E\xBA\x82\xCC", "洋室の"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DxfImport in(file(c.bytes));
        ASSERT_EQ(in.unit.m_Texts.GetSize(), 1);
        EXPECT_EQ(in.unit.m_Texts[0]->MTextstr, c.text);
    }
}

// The floor plan of the benchmarks, small: python3-ezdxf writes its room labels in CP932.
TEST(DxfReader, FloorPlanOfAnotherProgramReadsWithJapaneseLabels)
{
    kov::test::TempFolder dir;
    const QString path = QString::fromStdString(dir.file("plan.dxf").string());
    bool made = false;
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(python, {QStringLiteral(KOVIRA_SAMPLES "/../tools/gen_dxf.py"), "60", path});
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) {
            made = true;
            break;
        }
    }
    if (!made) GTEST_SKIP() << "python3-ezdxf is not installed";
    DxfImport in(fileBytes(dir.file("plan.dxf")));
    EXPECT_EQ(countOf(in.unit), (DxfCounts{40, 0, 0, 10, 10}));
    ASSERT_EQ(in.unit.m_Texts.GetSize(), 10);
    EXPECT_EQ(in.unit.m_Texts[0]->MTextstr, "洋室5"); // the label counts the entities before it
    EXPECT_EQ(in.plot.m_Layer.m_LayerInfo[0][4].m_strName, "TEXT");
}

TEST(DxfReader, TextSizeAndAngleAreReals)
{
    const std::string file =
        "0\nSECTION\n2\nHEADER\n9\n$LTSCALE\n40\n50\n0\nENDSEC\n"
        + entities(dxf({{0, "TEXT"}, {10, "100"}, {20, "200"}, {40, "125"}, {50, "45.5"}, {1, "A"}}));
    struct Case {
        const char* name;
        int keepScale;
        double size;
    };
    for (const Case& c : {Case{"scale from the file", 0, 2.5}, Case{"scale kept at 100", 1, 1.25}}) {
        SCOPED_TRACE(c.name);
        kov::io::DxfReadOptions options;
        options.keepScale = c.keepScale;
        DxfImport in(file, options);
        ASSERT_EQ(in.unit.m_Texts.GetSize(), 1);
        const CFontMenu& f = in.unit.m_Texts[0]->MTextFontMenu;
        EXPECT_DOUBLE_EQ(f.m_size, c.size);
        EXPECT_EQ(f.lfEscapement, 455);
        EXPECT_EQ(f.lfFaceName, "ＭＳ ゴシック");
        EXPECT_EQ(f.m_tate_align, 2); // standing on its insertion point
        // Every layer group takes group 0's scale.
        for (int g = 0; g < 16; ++g) EXPECT_EQ(in.plot.m_Layer.m_dScale[static_cast<std::size_t>(g)], c.keepScale ? 100 : 50);
    }
}

TEST(DxfReader, PaperIsFoundAfterDividingTheLimitsByTheScale)
{
    auto header = [](const char* limX, const char* limY, const char* scale) {
        return "0\nSECTION\n2\nHEADER\n9\n$LIMMIN\n10\n0\n20\n0\n9\n$LIMMAX\n10\n" + std::string(limX) + "\n20\n"
               + limY + "\n9\n$LTSCALE\n40\n" + scale + "\n0\nENDSEC\n0\nEOF\n";
    };
    struct Case {
        const char* name;
        std::string file;
        int keepPaper;
        int code, userX, userY;
    };
    const Case cases[] = {
        {"A4 landscape at 1:50", header("14850", "10500", "50"), 0, 0, 0, 0},
        {"A3 at 1:1", header("420", "297", "1"), 0, 2, 0, 0},
        {"B4 portrait at 1:100", header("25700", "36400", "100"), 0, 10, 0, 0},
        {"odd size becomes the user paper", header("50000", "30000", "100"), 0, 11, 500, 300},
        {"too big a paper is cut to A0", header("5000000", "3000000", "100"), 0, 11, 1189, 841},
        {"no paper of no size", header("0", "-5", "100"), 0, 6, 0, 0},
        {"the mark of no extents places nothing", header("1e+20", "-1e+20", "100"), 0, 6, 0, 0},
        {"paper kept", header("14850", "10500", "50"), 1, 6, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kov::io::DxfReadOptions options;
        options.keepPaperSize = c.keepPaper;
        CKovUnit unit;
        CPlotInfo plot;
        plot.PlotPaperSize = 6;
        SelectionRecord sel;
        unit.ReadDxf(c.file, sel, plot, CFontMenu{}, options);
        EXPECT_EQ(plot.PlotPaperSize, c.code);
        if (c.code == 11) {
            EXPECT_EQ(plot.PlotPaperSizeUserX, c.userX);
            EXPECT_EQ(plot.PlotPaperSizeUserY, c.userY);
        }
    }
}

TEST(DxfReader, ColourAndLineTypeComeFromTheLayerUnlessTheEntityHasItsOwn)
{
    const std::string tables =
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n2\n"
        "0\nLAYER\n2\n0\n62\n7\n6\nCONTINUOUS\n0\nLAYER\n2\nRed\n62\n1\n6\nDASHED\n0\nENDTAB\n0\nENDSEC\n";
    const std::string file = tables + entities(dxf({
        {0, "LINE"}, {8, "Red"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},                       // by layer
        {0, "LINE"}, {8, "RED"}, {62, "256"}, {6, "BYLAYER"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},
        {0, "LINE"}, {8, "Red"}, {62, "5"}, {6, "CENTER"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}, // own
        {0, "LINE"}, {8, "nowhere"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},                   // entry 0's
    }));
    DxfImport in(file);
    ASSERT_EQ(in.unit.m_Lines.GetSize(), 4);
    struct Row {
        std::uint32_t colour;
        int style;
    };
    const Row rows[] = {{0x0000FF, 1}, {0x0000FF, 1}, {0xFF0000, 3}, {0x000000, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(in.unit.m_Lines[i]->MLineColor, rows[i].colour);
        EXPECT_EQ(in.unit.m_Lines[i]->MLineLineT, rows[i].style);
    }
    EXPECT_EQ(in.plot.m_Layer.m_LayerInfo[0][1].m_strName, "Red");
}

TEST(DxfReader, PolylinesCloseByBitOneSkipMeshesAndLayOutBulges)
{
    auto polyline = [](const char* flags, const char* bulge) {
        return dxf({{0, "POLYLINE"}, {66, "1"}, {70, flags},
                    {0, "VERTEX"}, {10, "0"}, {20, "0"}, {42, bulge},
                    {0, "VERTEX"}, {10, "100"}, {20, "0"},
                    {0, "VERTEX"}, {10, "100"}, {20, "100"},
                    {0, "SEQEND"}});
    };
    struct Case {
        const char* name;
        std::string body;
        int kind; // -1: nothing
        std::size_t points;
    };
    const Case cases[] = {
        {"open", polyline("0", "0"), CKovLine::CONTINUOUS, 3},
        {"closed by bit 1", polyline("1", "0"), CKovLine::POLYGON, 3},
        {"bit 1 with the 3D bit", polyline("9", "0"), CKovLine::POLYGON, 3},
        {"a flag without bit 1 stays open", polyline("128", "0"), CKovLine::CONTINUOUS, 3},
        {"polygon mesh", polyline("16", "0"), -1, 0},
        {"polyface mesh", polyline("64", "0"), -1, 0},
        {"half circle of bulge 1 in 5-degree steps", polyline("0", "1"), CKovLine::CONTINUOUS, 3 + 35},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DxfImport in(entities(c.body));
        if (c.kind < 0) {
            EXPECT_TRUE(in.unit.m_Lines.empty());
            continue;
        }
        ASSERT_EQ(in.unit.m_Lines.GetSize(), 1);
        EXPECT_EQ(in.unit.m_Lines[0]->MLineType, c.kind);
        EXPECT_EQ(in.unit.m_Lines[0]->MLinePnt.size(), c.points);
    }
    // The half circle runs below its chord (counter-clockwise from (0,0) to (100,0) in the file),
    // that is below in the file and so above... in drawing y, which points down: larger y.
    DxfImport bulged(entities(polyline("0", "1")));
    const CDbPointArray& p = bulged.unit.m_Lines[0]->MLinePnt;
    EXPECT_NEAR(p[18].x - p[0].x, 50.0, 1e-9);
    EXPECT_NEAR(p[18].y - p[0].y, 50.0, 1e-9);
}

TEST(DxfReader, InsertsTakeBasePointScaleRotationAndNestByName)
{
    const std::string blocks =
        "0\nSECTION\n2\nBLOCKS\n"
        "0\nBLOCK\n2\ninner\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n10\n21\n0\n0\nENDBLK\n"
        "0\nBLOCK\n2\nOuter\n10\n5\n20\n0\n0\nINSERT\n2\nINNER\n10\n5\n20\n0\n"
        "0\nCIRCLE\n10\n5\n20\n0\n40\n2\n0\nENDBLK\n0\nENDSEC\n";
    const std::string file = blocks + entities(dxf({
        {0, "INSERT"}, {2, "outer"}, {10, "100"}, {20, "100"}, {41, "2"}, {42, "2"}, {50, "90"},
    }));
    DxfImport in(file);
    EXPECT_TRUE(in.result.messages.empty());
    ASSERT_EQ(countOf(in.unit), (DxfCounts{1, 0, 1, 0, 0}));
    // The inner line from the outer base point runs 10 units, doubled and turned a quarter: from
    // (100, 100) up to (100, 120) in the file. The drawing's y points down from the sheet centre.
    const CKovLine* line = in.unit.m_Lines[0];
    // The document's sheet (A4 landscape at 1:100) has the file's origin at its lower left corner.
    const double w = 297 * 100 / 2.0, h = 210 * 100 / 2.0;
    EXPECT_NEAR(line->MLinePnt[0].x, 100 - w, 1e-9);
    EXPECT_NEAR(line->MLinePnt[0].y, h - 100, 1e-9);
    EXPECT_NEAR(line->MLinePnt[1].x, 100 - w, 1e-9);
    EXPECT_NEAR(line->MLinePnt[1].y, h - 120, 1e-9);
    const CKovLine* circle = in.unit.m_Lines[1];
    EXPECT_NEAR(circle->MLineParam[0], 4.0, 1e-12);
    EXPECT_NEAR(circle->MLinePnt[0].y, h - 100, 1e-9);
}

// Broken files keep what was read before the fault and say what went wrong.
TEST(DxfReader, BrokenFilesGiveTheirMessage)
{
    namespace t = kov::io::dxftext;
    const std::string line = dxf({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "5"}});
    const std::string selfBlock = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n" + line
                                  + "0\nINSERT\n2\nB\n10\n1\n20\n0\n0\nENDBLK\n0\nENDSEC\n";
    const std::string plainBlock =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nP\n10\n0\n20\n0\n" + line + "0\nENDBLK\n0\nENDSEC\n";
    const std::string emptyBlock = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nE\n0\nENDBLK\n0\nENDSEC\n";
    struct Case {
        const char* name;
        std::string file;
        std::string message;
        int lines;
    };
    const Case cases[] = {
        {"truncated in a section", "0\nSECTION\n2\nENTITIES\n" + line + "0\nLINE\n10\n", "DXFファイルが17行目で途中で終わっています。そこまでに読み取れた要素を読み込みました。", 1},
        {"a code without a value", "0\nSECTION\n2\nENTITIES\n" + line + "0\nLINE\n10\n20\n1.5\n", "DXFファイルの19行目のグループコードが正しくありません。そこまでに読み取れた要素を読み込みました。", 1},
        {"a code that is no number", "0\nSECTION\nx2\nENTITIES\n", "DXFファイルの3行目のグループコードが正しくありません。そこまでに読み取れた要素を読み込みました。", 0},
        {"a huge array count", plainBlock + entities(dxf({{0, "INSERT"}, {2, "P"}, {70, "2000000000"}, {71, "2000000000"}})),
         "要素が多すぎるため、64000個を超える分は読み込みませんでした。", 64000},
        {"a huge array count of nothing", emptyBlock + entities(dxf({{0, "INSERT"}, {2, "E"}, {70, "2000000000"}, {71, "2000000000"}})),
         "要素が多すぎるため、4000000個を超える分は読み込みませんでした。", 0},
        {"an INSERT of itself", selfBlock + entities(dxf({{0, "INSERT"}, {2, "B"}})),
         "ブロック「B」は自分自身を挿入しているため、その挿入は読み込みませんでした。", 1},
        {"a block that is not there", entities(dxf({{0, "INSERT"}, {2, "Nowhere"}})),
         "ブロック「Nowhere」が見つからないため、その挿入は読み込みませんでした。", 0},
        {"binary DXF", std::string("AutoCAD Binary DXF\r\n\x1a", 21), std::string(t::kBinaryDxf), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DxfImport in(c.file);
        ASSERT_FALSE(in.result.messages.empty());
        EXPECT_EQ(in.result.messages.front(), c.message);
        EXPECT_EQ(in.unit.m_Lines.GetSize(), c.lines);
    }
}

// Past the text counter's limit every new identifier was searched for from 1 over all the texts:
// a block of texts inserted as a large array read for tens of seconds. The texts stop at the limit.
TEST(DxfReader, TextsStopAtTheirLimitWithoutSearchingForIdentifiers)
{
    const std::string block = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nT\n10\n0\n20\n0\n"
                              + dxf({{0, "TEXT"}, {10, "0"}, {20, "0"}, {40, "2"}, {1, "A"}})
                              + "0\nENDBLK\n0\nENDSEC\n";
    DxfImport in(block + entities(dxf({{0, "INSERT"}, {2, "T"}, {70, "1000"}, {71, "1000"}, {44, "1"}, {45, "1"}})));
    ASSERT_FALSE(in.result.messages.empty());
    EXPECT_EQ(in.result.messages.front(), "要素が多すぎるため、62000個を超える分は読み込みませんでした。");
    EXPECT_EQ(in.unit.m_Texts.GetSize(), CKovUnit::kTextIdLimit);
}

TEST(DxfReader, OptionsFormStartsClearedAndHandsOnTheBoxes)
{
    kov::io::DxfReadSetForm form;
    form.keepScaleChecked = true;
    form.options.third = 5;
    form.OnInitDialog();
    EXPECT_FALSE(form.keepPaperChecked || form.keepScaleChecked);
    form.OnKeepScaleClicked();
    form.OnOK();
    EXPECT_EQ(form.options.keepPaperSize, 0);
    EXPECT_EQ(form.options.keepScale, 1);
    EXPECT_EQ(form.options.third + form.options.fourth, 0);
}

namespace {

// A drawing read at 1:1 on the document's paper (A4 landscape): DXF (x, y) is the drawing's
// (x - 148.5, 105 - y).
CDbPoint fileXY(const CDbPoint& p) { return {p.x + 148.5, 105.0 - p.y}; }

std::string layers(std::initializer_list<std::string_view> entries)
{
    std::string s = "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n";
    for (std::string_view e : entries) s += std::string(e);
    return s + "0\nENDTAB\n0\nENDSEC\n";
}

} // namespace

// Entities as newer writers and mirrored objects write them.
TEST(DxfReader, ReaderCases)
{
    const std::string below = "210\n0\n220\n0\n230\n-1\n";
    const std::string block = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n"
                              "0\nLINE\n10\n0\n20\n0\n11\n10\n21\n0\n"
                              "0\nTEXT\n10\n0\n20\n0\n40\n5\n1\nAB\n0\nENDBLK\n0\nENDSEC\n";
    struct Case {
        const char* name;
        std::string file;
        std::function<void(const DxfImport&)> check;
    };
    const Case cases[] = {
        {"MTEXT: what follows an embedded object is not the text's",
         entities("0\nMTEXT\n10\n100\n20\n50\n40\n2.5\n1\nRoom\n101\nEmbedded Object\n10\n9999\n20\n9999\n40\n500\n"
                  "11\n0\n21\n1\n"),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Texts.GetSize(), 1);
             const CKovText& t = *in.unit.m_Texts[0];
             EXPECT_NEAR(fileXY(t.MTextpnt).x, 100, 1e-9);
             EXPECT_NEAR(fileXY(t.MTextpnt).y, 50, 1e-9);
             EXPECT_DOUBLE_EQ(t.MTextFontMenu.m_size, 2.5);
             EXPECT_EQ(t.MTextFontMenu.lfEscapement, 0);
         }},
        {"a circle seen from below lies mirrored: OCS x -30 is world x +30",
         entities("0\nCIRCLE\n10\n-30\n20\n20\n40\n5\n" + below),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 1);
             EXPECT_NEAR(fileXY(in.unit.m_Lines[0]->MLinePnt[0]).x, 30, 1e-9);
             EXPECT_NEAR(fileXY(in.unit.m_Lines[0]->MLinePnt[0]).y, 20, 1e-9);
         }},
        {"an arc seen from below runs from 90 to 180 degrees",
         entities("0\nARC\n10\n-30\n20\n20\n40\n10\n50\n0\n51\n90\n" + below),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 1);
             const CKovLine& a = *in.unit.m_Lines[0];
             EXPECT_NEAR(fileXY(a.MLinePnt[1]).x, 30, 1e-9);   // starts at the top
             EXPECT_NEAR(fileXY(a.MLinePnt[1]).y, 30, 1e-9);
             EXPECT_NEAR(fileXY(a.MLinePnt[2]).x, 20, 1e-9);   // ends on the left
             EXPECT_NEAR(fileXY(a.MLinePnt[2]).y, 20, 1e-9);
         }},
        {"a polyline seen from below",
         entities("0\nLWPOLYLINE\n90\n2\n70\n0\n10\n-10\n20\n5\n10\n-40\n20\n5\n" + below),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 1);
             EXPECT_NEAR(fileXY(in.unit.m_Lines[0]->MLinePnt[0]).x, 10, 1e-9);
             EXPECT_NEAR(fileXY(in.unit.m_Lines[0]->MLinePnt[1]).x, 40, 1e-9);
         }},
        {"an insert seen from below",
         block + entities("0\nINSERT\n2\nB\n10\n-50\n20\n10\n" + below),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 1);
             EXPECT_NEAR(fileXY(in.unit.m_Lines[0]->MLinePnt[0]).x, 50, 1e-9);
             EXPECT_NEAR(fileXY(in.unit.m_Lines[0]->MLinePnt[1]).x, 40, 1e-9);
         }},
        {"a text in an insert of x scale -1 is mirrored, not turned",
         block + entities("0\nINSERT\n2\nB\n10\n100\n20\n10\n41\n-1\n"),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Texts.GetSize(), 1);
             const CKovText& t = *in.unit.m_Texts[0];
             EXPECT_EQ(t.MTextFontMenu.lfEscapement, 0);
             EXPECT_EQ(t.MTextFontMenu.m_toko_align, 2);   // runs left from the insertion point
             EXPECT_NEAR(fileXY(t.MTextpnt).x, 100, 1e-9);
             EXPECT_DOUBLE_EQ(t.MTextFontMenu.m_size, 5);
         }},
        {"a plane at a slant is refused with a message",
         entities("0\nCIRCLE\n10\n0\n20\n0\n40\n5\n210\n1\n220\n0\n230\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n"),
         [](const DxfImport& in) {
             EXPECT_EQ(countOf(in.unit), (DxfCounts{1, 0, 0, 0, 0}));
             EXPECT_EQ(in.result.messages,
                       std::vector<std::string>{"図面の面に対して傾いた要素 1 個は読み込みませんでした。"});
         }},
        {"fit text takes its angle and width from its two points",
         entities("0\nTEXT\n10\n0\n20\n0\n11\n100\n21\n100\n40\n10\n72\n5\n1\nABCD\n"),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Texts.GetSize(), 1);
             const CFontMenu& f = in.unit.m_Texts[0]->MTextFontMenu;
             EXPECT_EQ(f.lfEscapement, 450);
             EXPECT_DOUBLE_EQ(f.m_size, 10);
             // Four bytes of half the height each, plus spacing, span the 141.4 between the points.
             EXPECT_NEAR(4 * 0.5 * (f.m_size + f.m_kankaku), std::hypot(100.0, 100.0), 1e-9);
         }},
        {"aligned text keeps its proportions",
         entities("0\nTEXT\n10\n0\n20\n0\n11\n100\n21\n0\n40\n10\n72\n3\n1\nABCD\n"),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Texts.GetSize(), 1);
             const CFontMenu& f = in.unit.m_Texts[0]->MTextFontMenu;
             EXPECT_EQ(f.lfEscapement, 0);
             EXPECT_DOUBLE_EQ(f.m_size, 50);
             EXPECT_DOUBLE_EQ(f.m_kankaku, 0);
         }},
        {"layers that are off or frozen come in hidden, each entity on its layer",
         layers({"0\nLAYER\n2\nA\n70\n0\n62\n1\n", "0\nLAYER\n2\nB\n70\n0\n62\n-2\n", "0\nLAYER\n2\nC\n70\n1\n62\n3\n"})
             + entities("0\nLINE\n8\nA\n10\n0\n20\n0\n11\n1\n21\n1\n0\nLINE\n8\nB\n10\n0\n20\n0\n11\n1\n21\n1\n"
                        "0\nLINE\n8\nC\n10\n0\n20\n0\n11\n1\n21\n1\n"),
         [](const DxfImport& in) {
             const auto& L = in.plot.m_Layer.m_LayerInfo[0];
             EXPECT_EQ(L[0].m_nType, CLayerInfo::LAYER_SNAP);
             EXPECT_EQ(L[1].m_nType, CLayerInfo::LAYER_HIDDEN);
             EXPECT_EQ(L[2].m_nType, CLayerInfo::LAYER_HIDDEN);
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 3);
             for (int i = 0; i < 3; ++i) EXPECT_EQ(in.unit.m_Lines[i]->MLineLayer2, i);
             EXPECT_EQ(in.unit.m_Lines[1]->MLineColor, kov::io::DxfColorToRgb(2));   // an off layer's colour
             EXPECT_EQ(in.plot.m_Layer.m_nCurrentLayer, 0);
         }},
        {"a file without limits lands on the document's paper",
         entities("0\nLINE\n10\n10\n20\n10\n11\n280\n21\n200\n"),
         [](const DxfImport& in) {
             EXPECT_TRUE(in.result.messages.empty());
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 1);
             EXPECT_NEAR(in.unit.m_Lines[0]->MLinePnt[0].x, 10 - 148.5, 1e-9);
             EXPECT_NEAR(in.unit.m_Lines[0]->MLinePnt[1].y, 105 - 200, 1e-9);
         }},
        {"a drawing larger than the paper gets paper and scale from its extents",
         entities("0\nLINE\n10\n-5000\n20\n-3000\n11\n5000\n21\n3000\n0\nTEXT\n10\n0\n20\n0\n40\n100\n1\nT\n"),
         [](const DxfImport& in) {
             EXPECT_EQ(in.result.messages, std::vector<std::string>{"図面が用紙からはみ出すため、用紙と縮尺を図面の"
                                                                    "大きさから選び（594×420mm、1/20）、図面を用紙の中央に置きました。"});
             EXPECT_EQ(in.plot.PlotPaperSize, 3);   // A2
             EXPECT_EQ(in.plot.m_Layer.m_dScale[0], 20);
             EXPECT_NEAR(in.unit.m_Lines[0]->MLinePnt[0].x, -5000, 1e-9);   // centred
             EXPECT_NEAR(in.unit.m_Lines[0]->MLinePnt[0].y, 3000, 1e-9);
             EXPECT_DOUBLE_EQ(in.unit.m_Texts[0]->MTextFontMenu.m_size, 5);  // 100 units at 1:20
         }},
        {"kinds not read are counted in one message",
         entities("0\nHATCH\n8\n0\n0\nPOINT\n10\n1\n20\n1\n0\nPOINT\n10\n2\n20\n2\n0\nSPLINE\n70\n8\n"
                  "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n"),
         [](const DxfImport& in) {
             EXPECT_EQ(in.result.messages,
                       std::vector<std::string>{"次の要素は読み込みませんでした：HATCH 1 個、点(POINT) 2 個、SPLINE 1 個"});
         }},
        {"a SOLID is a fill without outline, its corners in zigzag order",
         entities("0\nSOLID\n62\n1\n10\n0\n20\n0\n11\n10\n21\n0\n12\n0\n22\n10\n13\n10\n23\n10\n"),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 1);
             const CKovLine& f = *in.unit.m_Lines[0];
             EXPECT_EQ(f.MLineType, CKovLine::POLYGON);
             EXPECT_EQ(f.MLineNoOutline, 1);
             EXPECT_EQ(f.MLinebNakanuri, 1);
             EXPECT_EQ(f.MLineNakaColor, kov::io::DxfColorToRgb(1));
             ASSERT_EQ(f.MLinePnt.size(), 4u);
             EXPECT_NEAR(fileXY(f.MLinePnt[2]).x, 10, 1e-9);
             EXPECT_NEAR(fileXY(f.MLinePnt[2]).y, 10, 1e-9);
         }},
        {"a DIMENSION draws its block; without one it is counted",
         "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\n*D1\n10\n0\n20\n0\n0\nLINE\n10\n5\n20\n5\n11\n50\n21\n5\n0\nENDBLK\n0\nENDSEC\n"
             + entities("0\nDIMENSION\n2\n*D1\n10\n50\n20\n5\n0\nDIMENSION\n2\n*D9\n"),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 1);
             EXPECT_NEAR(fileXY(in.unit.m_Lines[0]->MLinePnt[0]).x, 5, 1e-9);
             EXPECT_EQ(in.result.messages, std::vector<std::string>{"次の要素は読み込みませんでした：DIMENSION 1 個"});
         }},
        {"ellipses: level and whole an ellipse, turned an outline",
         entities("0\nELLIPSE\n10\n100\n20\n100\n11\n40\n21\n0\n40\n0.5\n41\n0\n42\n6.283185307179586\n"
                  "0\nELLIPSE\n10\n100\n20\n100\n11\n30\n21\n30\n40\n0.5\n41\n0\n42\n3.14159\n"),
         [](const DxfImport& in) {
             ASSERT_EQ(in.unit.m_Lines.GetSize(), 2);
             EXPECT_EQ(in.unit.m_Lines[0]->MLineType, CKovLine::CIRCLE);
             EXPECT_EQ(in.unit.m_Lines[0]->MLineParam, (std::vector<double>{40, 0.5}));
             EXPECT_EQ(in.unit.m_Lines[1]->MLineType, CKovLine::CONTINUOUS);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DxfImport in(c.file, {}, 1.0);
        EXPECT_TRUE(in.result.read);
        c.check(in);
    }
}

// Bytes that are no DXF change nothing and say why, once; a file of old Macintosh line ends reads.
TEST(DxfReader, WhatIsNoDxfIsRefusedWhole)
{
    namespace t = kov::io::dxftext;
    struct Case {
        const char* name;
        std::string bytes;
        std::string_view why;
    };
    const Case cases[] = {
        {"empty", "", t::kReasonEmpty},
        {"binary DXF", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), t::kBinaryDxf},
        {"a picture named .dxf", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), t::kReasonBadStart},
        {"line ends alone", "\r\r\r\r", t::kReasonBadStart},
        {"text without sections", "0\nLINE\n10\n0\n", t::kReasonNoSection},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DxfImport in(c.bytes, {}, 50.0);
        EXPECT_FALSE(in.result.read);
        EXPECT_EQ(in.result.messages, std::vector<std::string>{std::string(c.why)});
        EXPECT_TRUE(in.unit.m_Lines.empty());
        CPlotInfo fresh;
        fresh.m_Layer.SetAllScales(50.0);
        EXPECT_EQ(in.plot.m_Layer, fresh.m_Layer);
    }
    std::string mac = entities("0\nLINE\n10\n0\n20\n0\n11\n5\n21\n5\n");
    std::replace(mac.begin(), mac.end(), '\n', '\r');
    DxfImport in(mac);
    EXPECT_TRUE(in.result.read);
    EXPECT_EQ(in.unit.m_Lines.GetSize(), 1);
}
