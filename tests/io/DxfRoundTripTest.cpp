#include "DxfTestSupport.h"

#include "platform/Cp932.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <utility>

using kov::test::countOf;
using kov::test::DxfCounts;
using kov::test::DxfHouse;
using kov::test::DxfImport;

namespace {

// A python3 that has the ezdxf module (Debian's python3-ezdxf), or empty.
QString pythonWithEzdxf()
{
    QStringList candidates{"/usr/bin/python3"};
    const QString onPath = QStandardPaths::findExecutable("python3");
    if (!onPath.isEmpty()) candidates << onPath;
    for (const QString& python : candidates) {
        QProcess p;
        p.start(python, {"-c", "import ezdxf"});
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) return python;
    }
    return {};
}

std::string run(const QString& program, const QStringList& args, int& exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(120000);
    exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAll().toStdString();
}

} // namespace

// What the house is written as and read back as: walls as their outline lines, closed figures as
// their edges, the ellipse and the elliptic arc as polylines, the dimension as three lines and its
// value. The room's fill is not written.
TEST(DxfRoundTrip, HouseReadsBackToTheSameFigures)
{
    const DxfHouse house;
    DxfImport back(house.dxf());
    EXPECT_TRUE(back.result.messages.empty());
    EXPECT_EQ(countOf(back.unit), (DxfCounts{16 + 1 + 4 + 3 + 3 + 3, 2, 1, 1, 3}));

    // Paper and scale come back; the layer names fill the slots in table order.
    EXPECT_EQ(back.plot.PlotPaperSize, 0);
    EXPECT_EQ(back.plot.m_Layer.m_dScale[0], 50.0);
    EXPECT_EQ(back.plot.m_Layer.m_dScale[15], 50.0);
    const char* names[] = {"0", "壁", "L0-1", "壁_0-2", "文字"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(back.plot.m_Layer.m_LayerInfo[0][static_cast<std::size_t>(i)].m_strName, names[i]);

    // Figures in the places they were drawn.
    auto findKind = [&](int kind) -> const CKovLine* {
        for (const auto& f : back.unit.m_Lines)
            if (f->MLineType == kind) return f.get();
        return nullptr;
    };
    const CKovLine* line = back.unit.m_Lines[16];
    ASSERT_EQ(line->MLineType, CKovLine::LINE);
    EXPECT_NEAR(line->MLinePnt[0].x, -2000, 1e-6);
    EXPECT_NEAR(line->MLinePnt[1].y, -1500, 1e-6);
    EXPECT_EQ(line->MLineColor, 0x0000FFu);
    EXPECT_EQ(line->MLineLineT, 1);
    const CKovLine* circle = findKind(CKovLine::CIRCLE);
    ASSERT_TRUE(circle);
    EXPECT_NEAR(circle->MLinePnt[0].x, 800, 1e-6);
    EXPECT_NEAR(circle->MLinePnt[0].y, 500, 1e-6);
    EXPECT_EQ(circle->MLineParam, std::vector<double>{200});
    EXPECT_EQ(circle->MLineColor, 0x808080u);
    const CKovLine* arc = findKind(CKovLine::ARC);
    ASSERT_TRUE(arc);
    EXPECT_NEAR(arc->MLinePnt[1].x, 150, 1e-6);
    EXPECT_NEAR(arc->MLinePnt[1].y, 600, 1e-6);
    EXPECT_NEAR(arc->MLinePnt[2].x, 0, 1e-6);
    EXPECT_NEAR(arc->MLinePnt[2].y, 450, 1e-6);
    EXPECT_EQ(arc->MLineLineT, 5);
    const CKovLine* ellipse = findKind(CKovLine::POLYGON);
    ASSERT_TRUE(ellipse);
    for (const CDbPoint& p : ellipse->MLinePnt) {
        const double u = (p.x + 800) / 300, v = (p.y - 500) / 150;
        EXPECT_NEAR(u * u + v * v, 1.0, 1e-7); // six decimals in the file
    }

    // Texts: the dimension value, then the two texts with their size, angle and place.
    ASSERT_EQ(back.unit.m_Texts.GetSize(), 3);
    EXPECT_EQ(back.unit.m_Texts[0]->MTextstr, "3000");
    const CKovText* room = back.unit.m_Texts[1];
    EXPECT_EQ(room->MTextstr, "洋室６畳");
    EXPECT_NEAR(room->MTextpnt.x, -500, 1e-6);
    EXPECT_NEAR(room->MTextpnt.y, 200, 1e-6);
    EXPECT_DOUBLE_EQ(room->MTextFontMenu.m_size, 6.5);
    const CKovText* ldk = back.unit.m_Texts[2];
    EXPECT_DOUBLE_EQ(ldk->MTextFontMenu.m_size, 4.0);
    EXPECT_EQ(ldk->MTextFontMenu.lfEscapement, 457);
}

TEST(DxfRoundTrip, HouseIsAuditedCleanByEzdxf)
{
    const QString python = pythonWithEzdxf();
    if (python.isEmpty()) GTEST_SKIP() << "python3-ezdxf is not installed";
    kov::test::TempFolder dir;
    const DxfHouse house;
    const auto path = dir.file("house.dxf");
    ASSERT_EQ(house.unit.WriteDxfFile(path, house.plot), "");
    const char* script = R"(
import sys
from collections import Counter
from ezdxf import recover
doc, auditor = recover.readfile(sys.argv[1])
for e in auditor.errors + auditor.fixes:
    print("AUDIT", e.message)
c = Counter(e.dxftype() for e in doc.modelspace())
print("COUNTS", c["LINE"], c["POLYLINE"], c["CIRCLE"], c["ARC"], c["TEXT"])
print("ENCODING", doc.encoding)
print("TEXT", [e.dxf.text for e in doc.modelspace().query("TEXT")][1])
)";
    int code = 0;
    const std::string out = run(python, {"-c", script, QString::fromStdString(path.string())}, code);
    EXPECT_EQ(code, 0) << out;
    EXPECT_EQ(out.find("AUDIT"), std::string::npos) << out;
    EXPECT_NE(out.find("COUNTS 30 2 1 1 3"), std::string::npos) << out;
    EXPECT_NE(out.find("ENCODING cp932"), std::string::npos) << out;
    EXPECT_NE(out.find("TEXT 洋室６畳"), std::string::npos) << out;
}

TEST(DxfRoundTrip, HouseIsReadByLibreCad)
{
    const QString librecad = QStandardPaths::findExecutable("librecad");
    if (librecad.isEmpty()) GTEST_SKIP() << "LibreCAD is not installed";
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm is not installed";
    kov::test::TempFolder dir;
    // The house as it is, and its walls alone, whose ring must come out on the page.
    const DxfHouse house;
    CKovUnit walls;
    for (const auto& w : house.unit.m_Walls) walls.m_Walls.Add(std::make_unique<CKovWall>(*w));
    for (const auto& [name, unit] : {std::pair<const char*, const CKovUnit*>{"house", &house.unit}, {"walls", &walls}}) {
        SCOPED_TRACE(name);
        const auto path = dir.file(std::string(name) + ".dxf");
        const auto pdf = dir.file(std::string(name) + ".pdf");
        ASSERT_EQ(unit->WriteDxfFile(path, house.plot), "");
        int code = 0;
        std::string out = run(librecad, {"dxf2pdf", "-a", "-o", QString::fromStdString(pdf.string()),
                                         QString::fromStdString(path.string())}, code);
        EXPECT_EQ(code, 0) << out;
        ASSERT_TRUE(std::filesystem::exists(pdf)) << out;
        // A page with nothing on it passes every check above: look at the page itself.
        const auto picture = dir.file(name);
        out = run(pdftoppm, {"-gray", "-r", "50", "-singlefile", QString::fromStdString(pdf.string()),
                             QString::fromStdString(picture.string())}, code);
        ASSERT_EQ(code, 0) << out;
        const QImage page(QString::fromStdString(picture.string() + ".pgm"));
        ASSERT_FALSE(page.isNull());
        int left = page.width(), right = -1, top = page.height(), bottom = -1;
        auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 160; };
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (dark(x, y)) left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                                bottom = std::max(bottom, y);
        ASSERT_GT(right, left + 20) << "nothing drawn";
        if (std::string(name) != "walls") continue;
        // The ring of walls, 3,100 by 2,100 outside: that shape, dark at its four sides, empty inside.
        const double w = right - left, h = bottom - top;
        EXPECT_NEAR(w / h, 3100.0 / 2100.0, 0.1);
        const int midX = (left + right) / 2, midY = (top + bottom) / 2;
        auto darkNear = [&](int x0, int x1, int y0, int y1) {
            for (int y = std::max(0, y0); y <= std::min(page.height() - 1, y1); ++y)
                for (int x = std::max(0, x0); x <= std::min(page.width() - 1, x1); ++x)
                    if (dark(x, y)) return true;
            return false;
        };
        const int band = std::max(2, int(w * 0.05));
        EXPECT_TRUE(darkNear(left, left + band, midY, midY)) << "left wall";
        EXPECT_TRUE(darkNear(right - band, right, midY, midY)) << "right wall";
        EXPECT_TRUE(darkNear(midX, midX, top, top + band)) << "top wall";
        EXPECT_TRUE(darkNear(midX, midX, bottom - band, bottom)) << "bottom wall";
        EXPECT_FALSE(darkNear(left + 3 * band, right - 3 * band, top + 3 * band, bottom - 3 * band)) << "room inside";
    }
}

namespace {

// Values of one group code of every entity of a type.
std::vector<std::string> valuesOf(const std::string& dxf, std::string_view type, int code)
{
    std::vector<std::string> out;
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < dxf.size()) {
        const auto end = dxf.find("\r\n", pos);
        lines.push_back(dxf.substr(pos, end - pos));
        pos = end == std::string::npos ? dxf.size() : end + 2;
    }
    bool inside = false;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const int c = std::stoi(lines[i]);
        if (c == 0) inside = lines[i + 1] == type;
        else if (inside && c == code) out.push_back(lines[i + 1]);
    }
    return out;
}

} // namespace

// Characters outside the code page go out as the escapes every reader decodes; a text of several
// lines as one TEXT per line, where the drawing shows each.
TEST(DxfRoundTrip, TextsKeepTheirCharactersAndLines)
{
    DxfHouse house;
    house.unit.m_Texts.RemoveAll();
    house.text("⌀50 ±3 20°C ☃ 洋室", {0, 0}, 5, 0, 0, 0);
    house.text("一行目\r\n二行目", {1000, 1000}, 5, 0, 0, 0);
    house.unit.m_Texts[1]->MTextFontMenu.m_tate_align = 0;
    const std::string out = house.dxf();
    const auto values = valuesOf(out, "TEXT", 1);
    ASSERT_GE(values.size(), 3u);
    EXPECT_EQ(values[1], "%%c50 %%p3 20%%dC \\U+2603 " + kov::platform::toCp932("洋室").bytes);
    EXPECT_EQ(values[2], kov::platform::toCp932("一行目").bytes);
    EXPECT_EQ(values[3], kov::platform::toCp932("二行目").bytes);
    // The second line one pitch (size, no gap) lower: 5 mm at 1:50.
    const auto ys = valuesOf(out, "TEXT", 20);
    EXPECT_NEAR(std::stod(ys[2]) - std::stod(ys[3]), 250.0, 1e-6);

    DxfImport back(out, {}, 50.0);
    std::vector<std::string> texts;
    for (const auto& t : back.unit.m_Texts) texts.push_back(t->MTextstr);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "⌀50 ±3 20°C ☃ 洋室"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "一行目"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "二行目"), texts.end());
}

// A file read and written again keeps its coordinates, also when its limits are not whole
// millimetres at its scale.
TEST(DxfRoundTrip, CoordinatesOfAFileReadComeBackAsTheyWere)
{
    const std::string file = "0\nSECTION\n2\nHEADER\n9\n$LIMMIN\n10\n0\n20\n0\n9\n$LIMMAX\n10\n42020\n20\n29703\n"
                             "9\n$LTSCALE\n40\n100\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
                             "0\nLINE\n10\n1000.5\n20\n2000.25\n11\n30000\n21\n20000\n0\nENDSEC\n0\nEOF\n";
    DxfImport in(file);
    ASSERT_TRUE(in.result.read);
    EXPECT_TRUE(in.result.messages.empty());
    std::string out;
    in.unit.WriteDxf(out, in.plot);
    EXPECT_EQ(valuesOf(out, "LINE", 10), std::vector<std::string>{"1000.500000"});
    EXPECT_EQ(valuesOf(out, "LINE", 20), std::vector<std::string>{"2000.250000"});
    EXPECT_EQ(valuesOf(out, "LINE", 11), std::vector<std::string>{"30000.000000"});
    EXPECT_EQ(valuesOf(out, "LINE", 21), std::vector<std::string>{"20000.000000"});
}

// Another program draws our broken lines broken: it goes by the line type's name.
TEST(DxfRoundTrip, BrokenLinesAreDrawnBrokenByLibreCad)
{
    const QString librecad = QStandardPaths::findExecutable("librecad");
    if (librecad.isEmpty()) GTEST_SKIP() << "LibreCAD is not installed";
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm is not installed";
    kov::test::TempFolder dir;
    // Five long level lines, one per style from solid to two-dot chain, 2 m apart at 1:50.
    DxfHouse house;
    house.unit.m_Lines.RemoveAll();
    house.unit.m_Walls.RemoveAll();
    house.unit.m_Texts.RemoveAll();
    for (int style = 0; style <= 4; ++style)
        house.figure(CKovLine::LINE, {{-5000, style * 800.0}, {5000, style * 800.0}}, {}, 0, 0, style);
    const auto path = dir.file("styles.dxf"), pdf = dir.file("styles.pdf");
    ASSERT_EQ(house.unit.WriteDxfFile(path, house.plot), "");
    int code = 0;
    std::string out = run(librecad, {"dxf2pdf", "-a", "-o", QString::fromStdString(pdf.string()),
                                     QString::fromStdString(path.string())}, code);
    ASSERT_TRUE(std::filesystem::exists(pdf)) << out;
    const auto picture = dir.file("styles");
    out = run(pdftoppm, {"-gray", "-r", "100", "-singlefile", QString::fromStdString(pdf.string()),
                         QString::fromStdString(picture.string())}, code);
    ASSERT_EQ(code, 0) << out;
    const QImage page(QString::fromStdString(picture.string() + ".pgm"));
    ASSERT_FALSE(page.isNull());
    // The bands of rows with ink, top to bottom (solid first), and in each the most ink runs a row has.
    std::vector<int> runs;
    bool inBand = false;
    for (int y = 0; y < page.height(); ++y) {
        int count = 0;
        bool inRun = false;
        for (int x = 0; x < page.width(); ++x) {
            const bool ink = qGray(page.pixel(x, y)) < 200;
            if (ink && !inRun) ++count;
            inRun = ink;
        }
        if (count > 0 && !inBand) runs.push_back(0);
        if (count > 0) runs.back() = std::max(runs.back(), count);
        inBand = count > 0;
    }
    ASSERT_EQ(runs.size(), 5u) << "lines found";
    EXPECT_EQ(runs[0], 1) << "solid";
    for (std::size_t style = 1; style <= 4; ++style) EXPECT_GT(runs[style], 5) << "style " << style;
}
