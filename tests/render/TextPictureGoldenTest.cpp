// Texts, a dimension, pictures, swatches and selection marks rendered through the QPainter surface
// with the installed fonts and compared with small golden pictures in tests/data/render, channel by
// channel with a tolerance. KOVIRA_REGENERATE_GOLDEN=1 rewrites the pictures instead (look at them
// before keeping them).

#include "DrawerTestSupport.h"

#include "platform/PainterSurface.h"
#include "render/Swatches.h"
#include "support/GoldenImage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace kov::test::drawers;

namespace {

QImage render(int width, int height, const std::function<void(kov::platform::Surface&)>& draw)
{
    return kov::test::renderOnWhite(width, height, draw);
}

void expectMatchesGolden(const QImage& actual, const std::string& name)
{
    kov::test::expectMatchesGolden(actual, "render/" + name + ".png");
}

CKovText text(std::string str, CDbPoint at, int escapement, std::string face, double size = 4)
{
    CKovText t;
    t.MTextID = 1;
    t.MTextstr = std::move(str);
    t.MTextpnt = at;
    t.MTextFontMenu.lfFaceName = std::move(face);
    t.MTextFontMenu.lfEscapement = escapement;
    t.MTextFontMenu.m_size = size;
    t.MTextFontMenu.m_gyoukan = 1;
    return t;
}

void drawText(kov::platform::Surface& s, const CKovText& t, const CKovUnit::DrawEnvironment& env = {})
{
    CKovUnit::DrawTextObject(s, pixelTransform(4.0), t, CPlotInfo(), SelectionRecord(), false, 0, false, env);
}

TEST(RenderGolden, TextsInThreeDirections)
{
    const QImage image = render(320, 240, [](kov::platform::Surface& s) {
        // Horizontal, two lines, with its dotted extent frames (a fixed-pitch face on the screen).
        CKovUnit::DrawEnvironment frames;
        frames.printRealMode = 1;
        drawText(s, text("寸法 1,820\r\n和室（６帖）", {10, 10}, 0, "ＭＳ ゴシック"), frames);
        // Turned 30 degrees about its top-left corner, red on a yellow background.
        CKovText turned = text("回転した文字", {20, 200}, 300, "ＭＳ 明朝");
        turned.MTextFontMenu.m_Color = 0x0000FF;
        turned.MTextFontMenu.m_bBack = 1;
        turned.MTextFontMenu.m_BackColor = 0x00FFFF;
        drawText(s, turned);
        // Vertical writing, two columns stepping left, with the turned and shifted characters.
        drawText(s, text("縦書き、テスト。\r\nー（括弧）「ｶﾅ」", {300, 10}, 2700, "@ＭＳ ゴシック"));
    });
    expectMatchesGolden(image, "texts-three-directions");
}

TEST(RenderGolden, DecoratedTexts)
{
    const QImage image = render(320, 170, [](kov::platform::Surface& s) {
        CKovText filled = text("袋文字", {10, 10}, 0, "ＭＳ ゴシック", 9);
        filled.MTextHuchiFlg = 1;
        filled.MTextHuchiAtsumi = 0.8;
        filled.MTextFontMenu.m_Color = 0x2080F0;
        filled.MTextFontMenu.m_BackColor = 0x503000;
        drawText(s, filled);
        CKovText warped = filled;
        warped.MTextstr = "台形";
        warped.MTextpnt = CDbPoint(170, 10);
        warped.MTextHuchiType = 2;
        warped.MTextHuchiKeij = 5;
        drawText(s, warped);
        CKovText hollow = filled;
        hollow.MTextstr = "中抜き";
        hollow.MTextpnt = CDbPoint(10, 95);
        hollow.MTextHuchiFlg = 2;
        hollow.MTextHuchiType = 5;
        hollow.MTextHuchiKeij = 4;
        hollow.MTextHuchiAtsumi = 0.4;
        hollow.MTextAlpha = 60;
        drawText(s, hollow);
    });
    expectMatchesGolden(image, "text-decorated");
}

TEST(RenderGolden, DimensionValues)
{
    CPlotInfo plot;
    plot.PlotSunpoTanten = 6;
    plot.PlotSunpoTextHeight = 3;
    plot.PlotSunpoKugiri = 1;
    const QImage image = render(260, 160, [&](kov::platform::Surface& s) {
        auto dim = [&](int type, CDbPoint p0, CDbPoint p1, CDbPoint at, double value) {
            CKovLine f;
            f.MLineType = CKovLine::DIMENSION;
            f.MLinePnt = {p0, p1, at};
            f.MLineParam = {double(type), value, 10.0};
            f.MLineColor = 0;
            f.MLineWide = 1;
            CKovUnit::DrawFigureDimension(s, pixelTransform(4.0), f, plot, false);
        };
        dim(1, {20, 40}, {200, 40}, {110, 30}, 1820);
        dim(2, {230, 30}, {230, 140}, {220, 85}, 910);
        dim(5, {20, 70}, {180, 140}, {90, 90}, 1756.5);
    });
    expectMatchesGolden(image, "dimension-values");
}

TEST(RenderGolden, PicturesFittedAndTurned)
{
    kov::test::TempFolder folder;
    // A 120 × 60 picture: a blue field, a red square at its top-left, a green bar at its bottom.
    QImage source(120, 60, QImage::Format_RGB32);
    source.fill(qRgb(70, 130, 220));
    {
        QPainter p(&source);
        p.fillRect(0, 0, 20, 20, QColor(220, 40, 40));
        p.fillRect(0, 50, 120, 10, QColor(40, 180, 60));
    }
    ASSERT_TRUE(source.save(QString::fromStdString(folder.file("temp3.png").string())));
    CKovImage picture;
    picture.ImageID = 3;
    picture.IMGImagetype = 2;
    picture.ImageName = folder.file("temp3.bmp").string();

    const QImage image = render(330, 120, [&](kov::platform::Surface& s) {
        const kov::platform::Pen frame{kov::platform::PenStyle::Dot, 1, 0x808080};
        for (const auto& [left, angle] : {std::pair{10, 0.0}, std::pair{120, 90.0}, std::pair{230, 30.0}}) {
            const kov::platform::DeviceRect r{left, 10, left + 90, 100};
            s.rectangle(r, frame, kov::platform::Brush::null());
            picture.BLKImagekakudo = angle;
            picture.DrawImageObject(s, r.left, r.top, r.right, r.bottom, false, pixelTransform());
        }
    });
    expectMatchesGolden(image, "pictures-fitted-turned");
}

TEST(RenderGolden, StyleSwatches)
{
    ResetPickTolerances();
    CPlotInfo plot;
    plot.PlotWallBlack = 2;
    plot.walltype = 1;
    plot.PlotHasiraColor = 2;
    plot.PlotLineTanten[0] = 6;
    plot.PlotColor = {0x0000C0, 0xC00000, 0x008000, 0x000000, 0x800080};
    plot.PlotNakaNuri = {0, 1, 1, 1, 1};
    plot.PlotNakaColor = {0, 0x80C0FF, 0xFFC080, 0xC0FFC0, 0xC0C0FF};
    plot.PlotGradation = 1;
    plot.PlotGradiation = {1, 4501, 1, 1, 1};
    plot.PlotNakaColor2 = {0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    plot.PlotbHach = {0, 0, 1, 0, 0};
    plot.PlotHachT = {0, 0, 4, 0, 0};
    plot.PlotAlpha = {100, 100, 100, 50, 100};
    SwatchEnvironment env;
    CRoomInfo tatami;
    tatami.Room_Name = "和室";
    tatami.Room_bRoomColor = 1;
    tatami.Room_RoomColor = 0xB0E8E0;
    env.tatamiBorders = 1;
    CRoomInfo boards;
    boards.Room_bHachColor = 1;
    boards.Room_HachType = CRoomInfo::HACH_BOARD1;
    boards.Room_HachColor = 0x2060A0;
    boards.Room_bRoomColor = 1;
    boards.Room_RoomColor = 0xC0E0F0;
    CFontMenu font;
    font.m_size = 6;
    font.m_Color = 0x600000;

    const QImage image = render(400, 160, [&](kov::platform::Surface& s) {
        plot.DrawWallSwatch(s, 0, 0, 100, 50, env);
        plot.DrawColumnSwatch(s, 100, 0, 100, 50, env);
        plot.DrawLineSwatch(s, 200, 0, 100, 50, env);
        plot.DrawRectangleSwatch(s, 300, 0, 100, 50, env);
        plot.DrawPolygonSwatch(s, 0, 50, 100, 50, env);
        plot.DrawCircleSwatch(s, 100, 50, 100, 50, env);
        plot.DrawArcSwatch(s, 200, 50, 100, 50, env);
        const DevicePoint room1[4] = {{0, 100}, {0, 160}, {100, 160}, {100, 100}};
        tatami.DrawRoomSwatch(s, room1, 1, env);
        const DevicePoint room2[4] = {{100, 100}, {100, 160}, {200, 160}, {200, 100}};
        boards.DrawRoomSwatch(s, room2, 1, env);
    });
    // The text sample draws at the origin of its own area, as in the tool panel: laid in beside.
    QImage withText = image;
    QImage textArea(100, 50, QImage::Format_RGB32);
    textArea.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(textArea);
        font.DrawTextSwatch(surface, 4.0, 100, 50);
    }
    {
        QPainter p(&withText);
        p.drawImage(300, 50, textArea);
    }
    expectMatchesGolden(withText, "style-swatches");
}

TEST(RenderGolden, SelectionMarks)
{
    ResetPickTolerances();
    CKovUnit unit;
    CKovLine& polygon = addFigure(unit, CKovLine::POLYGON, {{20, 20}, {120, 30}, {70, 100}});
    auto t = std::make_unique<CKovText>(text("選択した文字", {150, 40}, 150, "ＭＳ ゴシック"));
    t->MTextID = unit.NextTextId();
    const int textId = t->MTextID;
    unit.m_Texts.Add(std::move(t));
    SelectionRecord all;
    all.AddLineId(polygon.MLineID);
    all.AddTextId(textId);
    SelectionRecord textOnly;
    textOnly.AddTextId(textId);
    const QImage image = render(320, 140, [&](kov::platform::Surface& s) {
        unit.DrawFigure(s, pixelTransform(4.0), polygon, CPlotInfo(), false, CKovUnit::DrawEnvironment());
        CKovUnit::DrawTextObject(s, pixelTransform(4.0), **unit.m_Texts.begin(), CPlotInfo(), all, false, 0, false,
                                 CKovUnit::DrawEnvironment());
        unit.DrawSelectionMarks(s, pixelTransform(4.0), CPlotInfo(), all);
        // The handles of a single text (shown over the same text).
        unit.DrawSelectionMarks(s, pixelTransform(4.0), CPlotInfo(), textOnly);
    });
    expectMatchesGolden(image, "selection-marks");
}

} // namespace
