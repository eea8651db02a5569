// A whole drawing made, drawn, saved, reopened, merged and damaged through the real layers together,
// the way the program uses them.

#include "DocumentTestSupport.h"

#include "app/MergeDrawing.h"
#include "model/DrawTransform.h"
#include "model/PictureFiles.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/PainterSurface.h"
#include "platform/RecordingSurface.h"
#include "render/FigureDrawers.h"
#include "render/WallDrawers.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using kov::app::CKoviraDoc;
using kov::platform::Answer;
using kov::test::DocumentRig;
using kov::test::fileBytes;
using kov::test::writeBytes;

namespace {

constexpr std::uint32_t kWallColour = 0x80C0F0; // COLORREF
constexpr std::uint32_t kCircleColour = 0x0000FF;
const QRgb kWallRgb = qRgb(0xF0, 0xC0, 0x80);
const QRgb kCircleRgb = qRgb(0xFF, 0x00, 0x00);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);

// The identifiers of what the cases look at.
struct House {
    int topWall = 0, rightWall = 0, middleWall = 0, crossWall = 0, column = 0;
    int line = 0, circle = 0;
    int text = 0;
    int group = 0;
    int picture = 0;
};

// A small house: the top and right walls meet in an L, the middle wall meets the top one in a T and
// is crossed by another, a column stands alone; beside it one figure of every creation operation,
// a Japanese text in a Mincho face, a PNG picture, and a group of the L's walls, the line and the text.
House buildHouse(DocumentRig& rig)
{
    House h;
    CKoviraDoc& doc = *rig.doc;
    CKovUnit& unit = doc.m_Unit;
    CPlotInfo& plot = doc.m_PlotInfo;
    SelectionRecord& selection = doc.m_Selection;
    plot.PlotWallBlack = kov::render::kWallsColouredBlackEdges;
    plot.PlotWallColor = kWallColour;

    auto wall = [&](CDbPoint a, CDbPoint b) {
        const int id = unit.AddWall(a, b, 50.0, plot);
        EXPECT_GT(id, 0);
        unit.ResetWallOutline(id);
        return id;
    };
    h.topWall = wall({500, 500}, {3500, 500});
    h.rightWall = wall({3500, 500}, {3500, 2500});
    h.middleWall = wall({2000, 500}, {2000, 2500});
    h.crossWall = wall({1000, 1500}, {3000, 1500});
    h.column = unit.AddColumn({1000, 2500}, {1000, 2500}, 50.0, plot);
    EXPECT_GT(h.column, 0);
    unit.JoinWalls(0);

    h.line = unit.AddStraightLine(plot, {4000, 300}, {5000, 300});
    EXPECT_GT(unit.AddRectFromCorners(plot, {4000, 500}, {4400, 800}), 0);
    EXPECT_GT(unit.AddPolygonFromPoints(plot, {{4600, 500}, {5100, 500}, {4850, 900}}), 0);
    plot.PlotColor[3] = kCircleColour;
    h.circle = unit.AddCircle(plot, {5600, 1000}, {5900, 1000}, 0, 0);
    EXPECT_GT(h.circle, 0);
    unit.AddEllipse(selection, plot, {{6600, 1000}, {6900, 1000}}, {6600, 850});
    for (int type : {CKovLine::SECTOR_ARC, CKovLine::CHORD_ARC, CKovLine::THICK_ARC}) {
        plot.PlotLineTanten[4] = type;
        const double x = 4200 + 700 * type;
        EXPECT_GT(unit.AddArc(plot, {{x, 1800}, {x + 250, 1800}}, {x, 1500}, 0, 0), 0);
    }
    plot.PlotLineTanten[4] = CKovLine::SECTOR_ARC;
    unit.AddEllipticArc(selection, plot, {{6600, 1800}, {6900, 1800}, {6600, 1650}, {6900, 1800}}, {6600, 1650});
    unit.AddArcThrough3Points(selection, plot, {{4000, 2300}, {4600, 2300}}, {4300, 2150});
    EXPECT_GT(unit.AddDimensionLine(plot, {{500, 2500}, {3500, 2500}}, {2000, 2900}), 0);
    // The curve tools collect the double-clicked point twice (its press and the double click) and
    // pass it once more as the finishing point.
    unit.AddBezierCurve(selection, plot, {{4800, 2600}, {5100, 2200}, {5400, 2600}}, {5400, 2600}, 0);
    const CDbPointArray through{{5600, 2500}, {5900, 2300}, {6200, 2500}, {6500, 2300}, {6800, 2500}, {6800, 2500}};
    unit.AddSplineCurve(selection, plot, through, through.back(), 0);

    auto text = std::make_unique<CKovText>();
    text->MTextID = h.text = unit.NextTextId();
    // Full-width forms, a character outside the old code page, and the archive's own marks.
    text->MTextstr = "洋室６畳\r\nＬＤＫ・和室 ① 𠮷 C:\\床=1 #2 {3}";
    text->MTextFontMenu.lfFaceName = "ＭＳ 明朝";
    text->MTextFontMenu.m_size = 4.5;
    text->MTextFontMenu.m_Color = 0x204080;
    text->MTextpnt = {1200, 1000};
    unit.m_Texts.Add(std::move(text));

    h.picture = unit.NextImageId();
    CKovImage& picture = rig.addPicture(h.picture);
    picture.OffsetX = 30.5;
    picture.OffsetY = 12.25;
    picture.ImageWidth = 20;
    picture.ImageHeight = 15;

    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = h.group = unit.NextGroupId();
    group->MGrpWallID = {h.topWall, h.rightWall};
    group->MGrpLineID = {h.line};
    group->MGrpTextID = {h.text};
    group->MGrpmin = {450, 250};
    group->MGrpmax = {5000, 2550};
    unit.m_Groups.Add(std::move(group));
    unit.FindWall(h.topWall)->MWallGrpID = h.group;
    unit.FindWall(h.rightWall)->MWallGrpID = h.group;
    unit.FindLine(h.line)->MLineGrpID = h.group;
    unit.FindText(h.text)->MTextGrpID = h.group;

    doc.m_Selection.Clear();
    doc.SetModifiedFlag();
    return h;
}

// The file keeps six decimals of every length: a reopened value may differ by half the last one.
constexpr double kStoredPrecision = 5e-7;

void expectPoints(const CDbPointArray& actual, const CDbPointArray& expected, double tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, tolerance) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, tolerance) << "point " << i;
    }
}

void expectSameFigure(const CKovLine& a, const CKovLine& e)
{
    SCOPED_TRACE("figure " + std::to_string(e.MLineID));
    EXPECT_EQ(a.MLineID, e.MLineID);
    expectPoints(a.MLinePnt, e.MLinePnt, kStoredPrecision);
    ASSERT_EQ(a.MLineParam.size(), e.MLineParam.size());
    for (std::size_t i = 0; i < a.MLineParam.size(); ++i)
        EXPECT_NEAR(a.MLineParam[i], e.MLineParam[i], kStoredPrecision) << "parameter " << i;
    EXPECT_EQ(a.MLinebNakanuri, e.MLinebNakanuri);
    EXPECT_EQ(a.MLineColor, e.MLineColor);
    EXPECT_EQ(a.MLineNakaColor, e.MLineNakaColor);
    EXPECT_EQ(a.MLineGradiation, e.MLineGradiation);
    EXPECT_EQ(a.MLineNakaColor2, e.MLineNakaColor2);
    EXPECT_EQ(a.MLinebHach, e.MLinebHach);
    EXPECT_EQ(a.MLineHachT, e.MLineHachT);
    EXPECT_EQ(a.MLineLineT, e.MLineLineT);
    EXPECT_EQ(a.MLinePattern, e.MLinePattern);
    EXPECT_EQ(a.MLineAlpha, e.MLineAlpha);
    EXPECT_EQ(a.MLineWide, e.MLineWide);
    EXPECT_EQ(a.MLineTanten, e.MLineTanten);
    EXPECT_EQ(a.MLineYaWide, e.MLineYaWide);
    EXPECT_EQ(a.MLineType, e.MLineType);
    EXPECT_EQ(a.MLineGrpID, e.MLineGrpID);
    EXPECT_EQ(a.MLineLayer1, e.MLineLayer1);
    EXPECT_EQ(a.MLineLayer2, e.MLineLayer2);
}

void expectSameWall(const CKovWall& a, const CKovWall& e)
{
    SCOPED_TRACE("wall " + std::to_string(e.MWallID));
    EXPECT_EQ(a.MWallID, e.MWallID);
    EXPECT_EQ(a.MWallPntA, e.MWallPntA);
    EXPECT_EQ(a.MWallPntB, e.MWallPntB);
    expectPoints({a.MWallPntKado.begin(), a.MWallPntKado.end()}, {e.MWallPntKado.begin(), e.MWallPntKado.end()}, 0);
    EXPECT_EQ(a.MWallWide1, e.MWallWide1);
    EXPECT_EQ(a.MWallWide2, e.MWallWide2);
    EXPECT_EQ(a.MWallType, e.MWallType);
    EXPECT_EQ(a.MWall_Type, e.MWall_Type);
    EXPECT_EQ(a.MHasiraType, e.MHasiraType);
    expectPoints(a.MWallarPntA, e.MWallarPntA, 0);
    expectPoints(a.MWallarPntB, e.MWallarPntB, 0);
    EXPECT_EQ(a.MWallGrpID, e.MWallGrpID);
    EXPECT_EQ(a.MWallLayer1, e.MWallLayer1);
    EXPECT_EQ(a.MWallLayer2, e.MWallLayer2);
}

void expectSameText(const CKovText& a, const CKovText& e)
{
    SCOPED_TRACE("text " + std::to_string(e.MTextID));
    EXPECT_EQ(a.MTextID, e.MTextID);
    EXPECT_EQ(a.MTextstr, e.MTextstr);
    EXPECT_TRUE(a.MTextFontMenu == e.MTextFontMenu) << a.MTextFontMenu.lfFaceName;
    EXPECT_EQ(a.MTextpnt, e.MTextpnt);
    EXPECT_EQ(a.MTextGrpID, e.MTextGrpID);
    EXPECT_EQ(a.MTextLayer1, e.MTextLayer1);
    EXPECT_EQ(a.MTextLayer2, e.MTextLayer2);
    EXPECT_EQ(a.MTextHuchiFlg, e.MTextHuchiFlg);
    EXPECT_EQ(a.MTextHuchiAtsumi, e.MTextHuchiAtsumi);
    EXPECT_EQ(a.MTextHuchiType, e.MTextHuchiType);
    EXPECT_EQ(a.MTextHuchiKeij, e.MTextHuchiKeij);
    EXPECT_EQ(a.MTextAlpha, e.MTextAlpha);
}

void expectSameGroup(const CKovGroup& a, const CKovGroup& e)
{
    SCOPED_TRACE("group " + std::to_string(e.MGrpID));
    EXPECT_EQ(a.MGrpID, e.MGrpID);
    EXPECT_EQ(a.MGrpWallID, e.MGrpWallID);
    EXPECT_EQ(a.MGrpLineID, e.MGrpLineID);
    EXPECT_EQ(a.MGrpTextID, e.MGrpTextID);
    EXPECT_EQ(a.MGrpmin, e.MGrpmin);
    EXPECT_EQ(a.MGrpmax, e.MGrpmax);
    EXPECT_EQ(a.MGrpKakudo, e.MGrpKakudo);
    EXPECT_EQ(a.MGrpLayer1, e.MGrpLayer1);
    EXPECT_EQ(a.MGrpLayer2, e.MGrpLayer2);
    EXPECT_EQ(a.MGrpRoom, e.MGrpRoom);
}

// Pictures live in their own document's temporary folder: the name and the file's bytes travel.
void expectSamePicture(const CKovImage& a, const fs::path& aFolder, const CKovImage& e, const fs::path& eFolder)
{
    SCOPED_TRACE("picture " + std::to_string(e.ImageID));
    EXPECT_EQ(a.ImageID, e.ImageID);
    EXPECT_EQ(fs::path(a.ImageName).filename(), fs::path(e.ImageName).filename());
    EXPECT_EQ(fs::path(a.ImageName).parent_path(), aFolder);
    EXPECT_EQ(a.OffsetX, e.OffsetX);
    EXPECT_EQ(a.OffsetY, e.OffsetY);
    EXPECT_EQ(a.ImageWidth, e.ImageWidth);
    EXPECT_EQ(a.ImageHeight, e.ImageHeight);
    EXPECT_EQ(a.IMGLayer1, e.IMGLayer1);
    EXPECT_EQ(a.IMGLayer2, e.IMGLayer2);
    EXPECT_EQ(a.IMGImagegifflg, e.IMGImagegifflg);
    EXPECT_EQ(a.IMGImagegifcol, e.IMGImagegifcol);
    EXPECT_EQ(a.IMGImagetype, e.IMGImagetype);
    EXPECT_EQ(a.BLKImagekakudo, e.BLKImagekakudo);
    // A picture read waits in memory until its file is needed: asked for it now.
    ASSERT_TRUE(a.ExtractFile());
    ASSERT_TRUE(e.ExtractFile());
    const fs::path aFile = TempImagePath(aFolder, a.ImageID, a.IMGImagetype);
    ASSERT_TRUE(fs::exists(aFile)) << aFile;
    EXPECT_EQ(fileBytes(aFile), fileBytes(TempImagePath(eFolder, e.ImageID, e.IMGImagetype)));
}

std::vector<std::uint8_t> storedSettings(const CKoviraDoc& doc)
{
    auto ar = CArchive::forWriting();
    doc.m_PlotInfo.WriteBlock(*ar, "PlotInfo");
    doc.m_Grid.WriteBlock(*ar, "Grid");
    return ar->bytes();
}

void expectSameDrawing(const CKoviraDoc& actual, const CKoviraDoc& expected)
{
    const CKovUnit& a = actual.m_Unit;
    const CKovUnit& e = expected.m_Unit;
    ASSERT_EQ(a.m_Lines.GetSize(), e.m_Lines.GetSize());
    ASSERT_EQ(a.m_Walls.GetSize(), e.m_Walls.GetSize());
    ASSERT_EQ(a.m_Texts.GetSize(), e.m_Texts.GetSize());
    ASSERT_EQ(a.m_Groups.GetSize(), e.m_Groups.GetSize());
    ASSERT_EQ(a.m_Images.GetSize(), e.m_Images.GetSize());
    for (int i = 0; i < e.m_Lines.GetSize(); ++i) expectSameFigure(*a.m_Lines[i], *e.m_Lines[i]);
    for (int i = 0; i < e.m_Walls.GetSize(); ++i) expectSameWall(*a.m_Walls[i], *e.m_Walls[i]);
    for (int i = 0; i < e.m_Texts.GetSize(); ++i) expectSameText(*a.m_Texts[i], *e.m_Texts[i]);
    for (int i = 0; i < e.m_Groups.GetSize(); ++i) expectSameGroup(*a.m_Groups[i], *e.m_Groups[i]);
    for (int i = 0; i < e.m_Images.GetSize(); ++i)
        expectSamePicture(*a.m_Images[i], actual.TempImageFolder(), *e.m_Images[i], expected.TempImageFolder());
    EXPECT_EQ(a.MUnitGrpID, e.MUnitGrpID);
    EXPECT_EQ(a.MUnitLineID, e.MUnitLineID);
    EXPECT_EQ(a.MUnitWallID, e.MUnitWallID);
    EXPECT_EQ(a.MUnitTextID, e.MUnitTextID);
    EXPECT_EQ(a.MUnitImageID, e.MUnitImageID);
    // The settings the file holds; the data folder and snap switches stay the user's own.
    EXPECT_EQ(storedSettings(actual), storedSettings(expected));
}

// The house drawn as the view draws it: a tenth of a pixel per millimetre, paper 1:100.
DeviceTransform viewTransform()
{
    DeviceTransform t;
    t.scaleX.fill(0.1);
    t.scaleY.fill(0.1);
    t.paperScale = 10.0;
    return t;
}

void drawDrawing(const CKoviraDoc& doc, kov::platform::Surface& surface)
{
    const DeviceTransform t = viewTransform();
    const CKovUnit& unit = doc.m_Unit;
    const CKovUnit::DrawEnvironment env;
    const SelectionRecord none;
    for (const auto& wall : unit.m_Walls) {
        if (wall->IsColumn()) unit.DrawColumn(surface, t, *wall, doc.m_PlotInfo, none, false, 0, false, env);
        else unit.DrawWallPolygon(surface, t, *wall, doc.m_PlotInfo, none, false, 0, false, env);
    }
    for (const auto& figure : unit.m_Lines) unit.DrawFigure(surface, t, *figure, doc.m_PlotInfo, false, env);
}

QImage paintDrawing(const CKoviraDoc& doc)
{
    QImage image(760, 320, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        drawDrawing(doc, surface);
    }
    return image;
}

std::vector<std::string> recordDrawing(const CKoviraDoc& doc)
{
    kov::platform::RecordingSurface surface;
    drawDrawing(doc, surface);
    return surface.dump();
}

using Outlines = std::vector<std::pair<CDbPointArray, CDbPointArray>>;

Outlines outlines(const CKovUnit& unit)
{
    Outlines out;
    for (const auto& wall : unit.m_Walls) out.emplace_back(wall->MWallarPntA, wall->MWallarPntB);
    return out;
}

// A house saved in one document and opened in another with its own folders.
struct SavedHouse {
    DocumentRig author;
    House house;
    fs::path path;
    DocumentRig reader;

    SavedHouse()
    {
        house = buildHouse(author);
        path = author.file("house.kvr");
        EXPECT_TRUE(author.saveAs(path));
        EXPECT_TRUE(reader.doc->OpenDocumentFile(path));
    }
};

template <typename Objects, typename Id>
void expectUniqueIdentifiers(const Objects& objects, Id id, const char* kind)
{
    std::set<int> seen;
    for (const auto& o : objects) EXPECT_TRUE(seen.insert((*o).*id).second) << kind << " " << (*o).*id;
}

// What was read of a damaged file: the view can draw it, the user can go on drawing walls and
// figures that join and number correctly, and saved under a new name it opens whole. A picture left
// without its file cannot be saved (the user is told to import it again).
void expectSalvageable(CKoviraDoc& doc, kov::platform::ScriptedQuestions& questions, DocumentRig& rig)
{
    recordDrawing(doc);
    paintDrawing(doc);
    // A damaged file may hold two objects of one number; what is drawn next takes a number of its own.
    CKovUnit& unit = doc.m_Unit;
    const int wall = unit.AddWall({2000, 2500}, {2000, 3500}, 50, doc.m_PlotInfo);
    ASSERT_GT(wall, 0);
    unit.ResetWallOutline(wall);
    unit.JoinWalls(0);
    const int line = unit.AddStraightLine(doc.m_PlotInfo, {100, 100}, {200, 100});
    ASSERT_GT(line, 0);
    EXPECT_EQ(std::count_if(unit.m_Walls.begin(), unit.m_Walls.end(), [&](const auto& w) { return w->MWallID == wall; }), 1);
    EXPECT_EQ(std::count_if(unit.m_Lines.begin(), unit.m_Lines.end(), [&](const auto& l) { return l->MLineID == line; }), 1);
    recordDrawing(doc);
    for (const auto& picture : doc.m_Unit.m_Images)
        if (!picture->PendingFileBytes() &&
            !fs::exists(TempImagePath(doc.TempImageFolder(), picture->ImageID, picture->IMGImagetype)))
            return;
    const fs::path salvaged = rig.file("salvaged.kvr");
    questions.pickSaveFile(salvaged);
    ASSERT_TRUE(doc.DoFileSave());
    kov::platform::ScriptedQuestions quiet;
    CKoviraDoc reader({rig.profile, quiet, rig.folders, rig.temp.path().string()});
    ASSERT_TRUE(reader.OpenDocumentFile(salvaged));
    EXPECT_FALSE(reader.LastOpenWasDamaged());
    EXPECT_EQ(reader.m_Unit.m_Lines.GetSize(), doc.m_Unit.m_Lines.GetSize());
    EXPECT_EQ(reader.m_Unit.m_Walls.GetSize(), doc.m_Unit.m_Walls.GetSize());
    EXPECT_EQ(reader.m_Unit.m_Texts.GetSize(), doc.m_Unit.m_Texts.GetSize());
    EXPECT_EQ(reader.m_Unit.m_Groups.GetSize(), doc.m_Unit.m_Groups.GetSize());
    EXPECT_EQ(reader.m_Unit.m_Images.GetSize(), doc.m_Unit.m_Images.GetSize());
}

// A damaged file merged into a drawing: the user hears of it once, and whatever arrives takes
// numbers of its own, with groups listing only objects that exist.
void expectMergeable(const fs::path& damaged, DocumentRig& rig)
{
    std::vector<std::string> failures;
    {
        kov::platform::ScriptedQuestions questions([&](const std::string& f) { failures.push_back(f); });
        CKoviraDoc doc({rig.profile, questions, rig.folders, rig.temp.path().string()});
        ASSERT_TRUE(doc.FileNew());
        CKovUnit& unit = doc.m_Unit;
        for (int i = 0; i < 3; ++i) unit.AddStraightLine(doc.m_PlotInfo, {0, 100.0 * i}, {50, 100.0 * i});
        const int wall = unit.AddWall({0, 500}, {900, 500}, 50, doc.m_PlotInfo);
        unit.ResetWallOutline(wall);
        questions.acknowledge();
        try {
            kov::app::MergeDocumentFile(doc, damaged);
        } catch (const kov::platform::UnexpectedQuestion&) {
        }
        EXPECT_EQ(questions.asked().size(), 1u);
        expectUniqueIdentifiers(unit.m_Lines, &CKovLine::MLineID, "figure");
        expectUniqueIdentifiers(unit.m_Walls, &CKovWall::MWallID, "wall");
        expectUniqueIdentifiers(unit.m_Texts, &CKovText::MTextID, "text");
        expectUniqueIdentifiers(unit.m_Groups, &CKovGroup::MGrpID, "group");
        expectUniqueIdentifiers(unit.m_Images, &CKovImage::ImageID, "picture");
        for (const auto& g : unit.m_Groups) {
            for (int id : g->MGrpWallID) EXPECT_NE(unit.FindWall(id), nullptr) << "group " << g->MGrpID << " wall " << id;
            for (int id : g->MGrpLineID) EXPECT_NE(unit.FindLine(id), nullptr) << "group " << g->MGrpID << " figure " << id;
            for (int id : g->MGrpTextID) EXPECT_NE(unit.FindText(id), nullptr) << "group " << g->MGrpID << " text " << id;
        }
    }
    EXPECT_EQ(failures, std::vector<std::string>{});
}

} // namespace

TEST(WholeDrawing, HouseSavedAndReopenedIsTheSameDrawing)
{
    SavedHouse s;
    EXPECT_FALSE(s.reader.doc->LastOpenWasDamaged());
    EXPECT_EQ(s.reader.doc->GetPathName(), s.path);
    EXPECT_NE(s.reader.doc->TempImageFolder(), s.author.doc->TempImageFolder());
    EXPECT_EQ(s.reader.doc->m_Unit.m_Lines.GetSize(), 13);
    EXPECT_EQ(s.reader.doc->m_Unit.m_Walls.GetSize(), 5);
    expectSameDrawing(*s.reader.doc, *s.author.doc);

    // Saved again, the file is the same to the byte.
    const fs::path again = s.reader.file("again.kvr");
    ASSERT_TRUE(s.reader.saveAs(again));
    EXPECT_EQ(fileBytes(again), fileBytes(s.path));

    // The joined outlines came through, and joining the reopened walls afresh gives them again.
    const Outlines stored = outlines(s.reader.doc->m_Unit);
    EXPECT_EQ(stored, outlines(s.author.doc->m_Unit));
    CKovUnit& unit = s.reader.doc->m_Unit;
    for (const auto& wall : unit.m_Walls) unit.ResetWallOutline(wall->MWallID);
    unit.JoinWalls(0);
    EXPECT_EQ(outlines(unit), stored);
}

TEST(WholeDrawing, HouseLeftUnsavedComesBackFromTheNewestBackup)
{
    DocumentRig rig;
    buildHouse(rig);
    const fs::path reference = rig.file("reference.kvr");
    ASSERT_EQ(rig.doc->WriteDocumentFile(reference), 1);

    // Quitting without saving leaves the newest backup; the program empties its drawing on the way out.
    rig.questions.reply(Answer::No, "への変更を保存しますか");
    ASSERT_TRUE(rig.doc->CanCloseFrame());
    rig.doc->DeleteContents();
    rig.doc.reset();

    CKoviraDoc next({rig.profile, rig.questions, rig.folders, rig.temp.path().string()});
    ASSERT_TRUE(next.FileNew());
    ASSERT_TRUE(next.OpenBackupFile(0));
    EXPECT_EQ(next.GetTitle(), "Kovira");
    EXPECT_TRUE(next.IsModified());

    DocumentRig expected;
    ASSERT_TRUE(expected.doc->OpenDocumentFile(reference));
    expectSameDrawing(next, *expected.doc);
}

TEST(WholeDrawing, HouseSavedForOldReadersKeepsItsPictureAsBmp)
{
    DocumentRig author;
    const House house = buildHouse(author);
    author.profile.WriteProfileInt("KOV_T_UTILITY", "app_savegazouold", 1);
    const fs::path path = author.file("old-readers.kvr");
    ASSERT_TRUE(author.saveAs(path));

    DocumentRig reader;
    ASSERT_TRUE(reader.doc->OpenDocumentFile(path));
    EXPECT_FALSE(reader.doc->LastOpenWasDamaged());
    const CKovImage* picture = reader.doc->m_Unit.FindImage(house.picture);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->IMGImagetype, kPictureBmp);
    ASSERT_TRUE(picture->ExtractFile());
    QImage read;
    ASSERT_TRUE(ReadPictureFile(TempImagePath(reader.doc->TempImageFolder(), picture->ImageID, kPictureBmp), read));
    EXPECT_EQ(read.size(), QSize(4, 3));
    EXPECT_EQ(read.pixel(2, 1), qRgb(0xFF, 0, 0));
    EXPECT_EQ(picture->OffsetX, 30.5);
    EXPECT_EQ(reader.doc->m_Unit.m_Lines.GetSize(), author.doc->m_Unit.m_Lines.GetSize());
}

TEST(WholeDrawing, HouseDrawsTheSameBeforeAndAfterReopening)
{
    SavedHouse s;
    const std::vector<std::string> before = recordDrawing(*s.author.doc);
    const std::vector<std::string> after = recordDrawing(*s.reader.doc);
    EXPECT_GT(before.size(), 40u);
    EXPECT_EQ(after, before);

    const QImage painted = paintDrawing(*s.author.doc);
    const QImage repainted = paintDrawing(*s.reader.doc);
    EXPECT_TRUE(painted == repainted);

    struct Probe {
        const char* what;
        int x, y;
        QRgb colour;
    };
    // Device pixel = millimetres / 10; the top wall's faces lie at y 45 and 55, the right wall's at
    // x 345 and 355.
    const Probe probes[] = {
        {"outside the top wall", 125, 40, kWhite},
        {"top wall's outer face", 125, 45, kBlack},
        {"inside the top wall", 125, 50, kWallRgb},
        {"top wall's inner face", 125, 55, kBlack},
        {"L joint: top wall's inner face stops at the right wall", 350, 55, kWallRgb},
        {"L joint: right wall's inner face starts below the top wall", 345, 50, kWallRgb},
        {"L joint: inner corner", 345, 55, kBlack},
        {"T joint: middle wall's faces start below the top wall", 195, 50, kWallRgb},
        {"T joint: top wall's inner face open where the middle wall meets it", 200, 55, kWallRgb},
        {"crossing: cross wall's face open inside the middle wall", 200, 145, kWallRgb},
        {"circle's top", 560, 70, kCircleRgb},
        {"circle's inside", 560, 100, kWhite},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(painted.pixel(p.x, p.y), p.colour)
            << std::hex << painted.pixel(p.x, p.y) << " at " << std::dec << p.x << "," << p.y;
    }
}

TEST(WholeDrawing, ReopenedHouseMeasuresAndFitsTheWindowAsDrawn)
{
    SavedHouse s;
    CKovUnit& unit = s.reader.doc->m_Unit;
    struct Measure {
        const char* what;
        int index;        // in drawing order
        double length;    // -1: none
        double area;      // -1: none
    };
    const double pi = std::acos(-1.0);
    const Measure measures[] = {
        {"line", 0, 1000, -1},
        {"rectangle", 1, 1400, 400 * 300},
        {"polygon", 2, 500 + 2 * std::hypot(250, 400), 500 * 400 / 2},
        {"circle", 3, 2 * pi * 300, pi * 300 * 300},
        {"ellipse", 4, -1, pi * 300 * 150},
    };
    for (const Measure& m : measures) {
        SCOPED_TRACE(m.what);
        const int id = unit.m_Lines[m.index]->MLineID;
        double value = 0;
        std::string label;
        EXPECT_EQ(unit.MeasureLength(id, value, label), m.length >= 0 ? 1 : 0);
        if (m.length >= 0) {
            EXPECT_NEAR(value, m.length, 1e-9 * m.length);
        }
        if (m.area < 0) {
            s.reader.questions.acknowledge("選択物の面積は測定できません");
            EXPECT_EQ(unit.MeasureArea(id, value, label, s.reader.questions), 0);
            continue;
        }
        ASSERT_EQ(unit.MeasureArea(id, value, label, s.reader.questions), 1);
        EXPECT_NEAR(value, m.area, 1e-9 * m.area); // the program's own pi has ten decimals
        EXPECT_EQ(label, "面積");
    }

    // Fitting the window takes in the walls' faces, the topmost line, the dimension line and the
    // text's longest line (fixed test metrics: a 45-pixel em, 9 full-width and 15 half-width
    // characters from x 120).
    kov::platform::RecordingSurface surface;
    const SurfaceTextBoxMeasurer measurer(surface);
    int x = 0, y = 0, width = 0, height = 0;
    unit.DrawingPixelExtent(measurer, viewTransform(), s.reader.doc->m_PlotInfo, x, y, width, height, 0);
    EXPECT_EQ((std::array<int, 4>{x, y, width, height}), (std::array<int, 4>{45, 30, 120 + 9 * 45 + 15 * 22 - 45, 290 - 30}));
}

TEST(WholeDrawing, MergedHouseKeepsItsGroupsAndSharesNoIdentifier)
{
    SavedHouse s;
    DocumentRig rig;
    CKovUnit& own = rig.doc->m_Unit;
    const int ownLine = rig.addLine(10, 10, 20, 20);
    const int ownWall = own.AddWall({100, 3000}, {900, 3000}, 50, rig.doc->m_PlotInfo);
    own.ResetWallOutline(ownWall);
    const int ownText = rig.addText("玄関");
    // The house's picture number, taken already, by a picture of another size.
    const CKovImage& ownPicture = rig.addPicture(s.house.picture);
    QImage wide(9, 2, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    SavePictureFile(wide, TempImagePath(rig.doc->TempImageFolder(), ownPicture.ImageID, kPicturePng), kPicturePng);
    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = own.NextGroupId();
    group->MGrpWallID = {ownWall};
    group->MGrpLineID = {ownLine};
    group->MGrpTextID = {ownText};
    const int ownGroup = group->MGrpID;
    own.m_Groups.Add(std::move(group));
    own.FindWall(ownWall)->MWallGrpID = ownGroup;
    own.FindLine(ownLine)->MLineGrpID = ownGroup;
    own.FindText(ownText)->MTextGrpID = ownGroup;

    ASSERT_EQ(kov::app::MergeDocumentFile(*rig.doc, s.path), 1);
    const fs::path merged = rig.file("merged.kvr");
    ASSERT_TRUE(rig.saveAs(merged));

    DocumentRig reader;
    ASSERT_TRUE(reader.doc->OpenDocumentFile(merged));
    const CKovUnit& unit = reader.doc->m_Unit;
    const CKovUnit& house = s.author.doc->m_Unit;
    EXPECT_EQ(unit.m_Lines.GetSize(), 1 + house.m_Lines.GetSize());
    EXPECT_EQ(unit.m_Walls.GetSize(), 1 + house.m_Walls.GetSize());
    EXPECT_EQ(unit.m_Texts.GetSize(), 1 + house.m_Texts.GetSize());
    EXPECT_EQ(unit.m_Groups.GetSize(), 1 + house.m_Groups.GetSize());
    EXPECT_EQ(unit.m_Images.GetSize(), 1 + house.m_Images.GetSize());

    expectUniqueIdentifiers(unit.m_Lines, &CKovLine::MLineID, "figure");
    expectUniqueIdentifiers(unit.m_Walls, &CKovWall::MWallID, "wall");
    expectUniqueIdentifiers(unit.m_Texts, &CKovText::MTextID, "text");
    expectUniqueIdentifiers(unit.m_Groups, &CKovGroup::MGrpID, "group");
    expectUniqueIdentifiers(unit.m_Images, &CKovImage::ImageID, "picture");
    // Each picture kept its own bytes under its own number.
    std::vector<int> widths;
    for (const auto& picture : unit.m_Images) {
        EXPECT_TRUE(picture->ExtractFile());
        widths.push_back(GetImageFileWidth(TempImagePath(reader.doc->TempImageFolder(), picture->ImageID, picture->IMGImagetype)));
    }
    EXPECT_EQ(widths, (std::vector<int>{9, 4}));

    // Every group lists members that exist and name it; together the groups hold what they held.
    auto place = [](const CDbPoint& p) { return std::to_string(std::lround(p.x)) + "," + std::to_string(std::lround(p.y)); };
    std::vector<std::string> members;
    for (const auto& g : unit.m_Groups) {
        SCOPED_TRACE("group " + std::to_string(g->MGrpID));
        for (int id : g->MGrpWallID) {
            const CKovWall* w = unit.FindWall(id);
            ASSERT_NE(w, nullptr) << "wall " << id;
            EXPECT_EQ(w->MWallGrpID, g->MGrpID);
            members.push_back("wall " + place(w->MWallPntA));
        }
        for (int id : g->MGrpLineID) {
            const CKovLine* l = unit.FindLine(id);
            ASSERT_NE(l, nullptr) << "figure " << id;
            EXPECT_EQ(l->MLineGrpID, g->MGrpID);
            members.push_back("figure " + place(l->MLinePnt[0]));
        }
        for (int id : g->MGrpTextID) {
            const CKovText* t = unit.FindText(id);
            ASSERT_NE(t, nullptr) << "text " << id;
            EXPECT_EQ(t->MTextGrpID, g->MGrpID);
            members.push_back("text " + t->MTextstr);
        }
    }
    std::sort(members.begin(), members.end());
    std::vector<std::string> expected = {"wall 100,3000", "figure 10,10", "text 玄関", "wall 500,500", "wall 3500,500",
                                         "figure 4000,300", "text 洋室６畳\r\nＬＤＫ・和室 ① 𠮷 C:\\床=1 #2 {3}"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(members, expected);
    // Objects outside the groups name none.
    int grouped = 0;
    for (const auto& w : unit.m_Walls) grouped += w->MWallGrpID != 0;
    for (const auto& l : unit.m_Lines) grouped += l->MLineGrpID != 0;
    for (const auto& t : unit.m_Texts) grouped += t->MTextGrpID != 0;
    EXPECT_EQ(grouped, 7);
}

TEST(WholeDrawing, DamagedHouseFileNeverCrashesIsReportedOnceAndIsNeverOverwritten)
{
    DocumentRig author;
    buildHouse(author);
    const fs::path saved = author.file("house.kvr");
    ASSERT_TRUE(author.saveAs(saved));
    const std::vector<std::uint8_t> whole = fileBytes(saved);
    ASSERT_GT(whole.size(), 1000u);

    struct Damage {
        std::string name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Damage> damages;
    auto cut = [&](std::size_t size) {
        damages.push_back({"cut to " + std::to_string(size), {whole.begin(), whole.begin() + std::ptrdiff_t(size)}});
    };
    auto flip = [&](std::size_t at, std::uint8_t mask) {
        Damage d{"byte " + std::to_string(at) + " xor " + std::to_string(mask), whole};
        d.bytes[at] ^= mask;
        damages.push_back(std::move(d));
    };
    // The edges: nothing left, the trailer gone or broken, the magic line broken.
    for (std::size_t size : {std::size_t(0), std::size_t(1), whole.size() - 17, whole.size() - 16, whole.size() - 1})
        cut(size);
    flip(0, 0x20);
    flip(whole.size() - 2, 0x01);
    std::mt19937 random(20261210);
    std::uniform_int_distribution<std::size_t> position(0, whole.size() - 1);
    std::uniform_int_distribution<int> mask(1, 255);
    for (int i = 0; i < 80; ++i) cut(position(random));
    for (int i = 0; i < 80; ++i) flip(position(random), std::uint8_t(mask(random)));
    // Every identifier and counter with its first digit changed: objects that share a number, or
    // counters behind the numbers in use.
    const std::string text(whole.begin(), whole.end());
    for (std::size_t at = text.find("ID="); at != std::string::npos; at = text.find("ID=", at + 1))
        flip(at + 3, 0x01);

    DocumentRig rig;
    const fs::path damaged = rig.file("damaged.kvr");
    int openedInPart = 0;
    int refused = 0;
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.name);
        writeBytes(damaged, d.bytes);
        std::vector<std::string> failures;
        {
            kov::platform::ScriptedQuestions questions([&](const std::string& f) { failures.push_back(f); });
            CKoviraDoc doc({rig.profile, questions, rig.folders, rig.temp.path().string()});
            ASSERT_TRUE(doc.FileNew());
            // An empty file holds nothing to lose: it opens as a new, empty drawing under its name.
            const bool empty = d.bytes.empty();
            // Anything else opens in part or not at all, and the user hears of it once.
            if (!empty) questions.acknowledge();
            bool opened = false;
            try {
                opened = doc.OpenDocumentFile(damaged);
            } catch (const kov::platform::UnexpectedQuestion&) {
            }
            EXPECT_EQ(questions.asked().size(), empty ? 0u : 1u);
            if (empty) {
                EXPECT_TRUE(opened);
                EXPECT_EQ(doc.m_Unit.m_Lines.GetSize(), 0);
                EXPECT_EQ(doc.GetPathName(), damaged);
            } else {
                EXPECT_EQ(opened, doc.LastOpenWasDamaged());
                (opened ? openedInPart : refused) += 1;
                EXPECT_TRUE(doc.GetPathName().empty());
                // Save without a name asks for one; declining leaves the damaged file as it was.
                questions.pickSaveFile(std::nullopt);
                try {
                    EXPECT_FALSE(doc.DoFileSave());
                } catch (const kov::platform::UnexpectedQuestion&) {
                }
                if (opened) expectSalvageable(doc, questions, rig);
            }
            if (!empty) expectMergeable(damaged, rig);
            EXPECT_EQ(fileBytes(damaged), d.bytes);
        }
        EXPECT_EQ(failures, std::vector<std::string>{});
        if (HasFailure()) break; // one damage shown is enough to find the fault
    }
    // The damages reach both ways a file can fail.
    EXPECT_GT(openedInPart, 100);
    EXPECT_GT(refused, 0);
}
