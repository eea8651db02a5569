// The property, layer, selected-text, room and column dialogs: what their forms do with what is
// clicked and typed, and each dialog built, filled and accepted as a widget.

#include "dialogs/ColumnDialog.h"
#include "dialogs/FigurePropertyDialog.h"
#include "dialogs/FontNameList.h"
#include "dialogs/LayerDialogs.h"
#include "dialogs/ModalRun.h"
#include "dialogs/RoomDialogs.h"
#include "dialogs/SelectedTextDialog.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "render/DrawEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using namespace kov::dialogs;
using kov::platform::MemoryProfile;
using kov::platform::ScriptedQuestions;
using Mode = LinePropForm::Mode;

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;

struct FigureRig {
    CPlotInfo plot;
    MemoryProfile profile;
    ScriptedQuestions questions;
    LinePropForm form(Mode mode, int kind) { return LinePropForm(plot, profile, questions, mode, kind); }
};

TEST(FigureProperties, ControlsByStyleSlot)
{
    struct Case {
        const char* name;
        Mode mode;
        int kind;
        bool fill, gradient, opacity, hatch, endMarks, markSize;
        const char* endLabel;
        const char* sizeLabel;
        std::size_t endItems;
    };
    const Case cases[] = {
        {"line: line style only", Mode::ToolDefaults, 0, false, false, false, false, true, true, "線の端点", "端点の大きさ", 13},
        {"continuous line", Mode::Selection, 6, false, false, false, false, true, true, "線の端点", "端点の大きさ", 13},
        {"rectangle: no end marks", Mode::ToolDefaults, 1, true, true, true, true, false, false, "", "", 0},
        {"arc: fill shapes, no hatching", Mode::ToolDefaults, 4, true, true, true, false, true, false, "塗り形状", "端点の大きさ", 3},
        {"circle in selection mode: hatching off while patterns become lines", Mode::Selection, 3, true, true, true,
         false, false, false, "", "", 0},
        {"dimension: nothing", Mode::Selection, 5, false, false, false, false, false, false, "線の端点", "端点の大きさ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FigureRig r;
        LinePropForm f = r.form(c.mode, c.kind);
        const auto& e = f.enabled();
        EXPECT_EQ(e.fillCheck, c.fill);
        EXPECT_EQ(e.fillRadio, c.fill);
        EXPECT_EQ(e.secondRadio, c.fill);
        EXPECT_EQ(e.gradientCheck, c.gradient);
        EXPECT_EQ(e.opacity, c.opacity);
        EXPECT_EQ(e.hatchCheck, c.hatch);
        EXPECT_EQ(e.endMarks, c.endMarks);
        EXPECT_EQ(e.markSize, c.markSize);
        EXPECT_EQ(f.shown().endMarksLabel, c.endLabel);
        EXPECT_EQ(f.shown().markSizeLabel, c.sizeLabel);
        EXPECT_EQ(f.shown().endMarkItems.size(), c.endItems);
        EXPECT_EQ(f.title(), c.mode == Mode::ToolDefaults ? "作図図形の設定" : "選択図形のプロパティ");
        EXPECT_EQ(f.okCancelShown(), c.mode == Mode::Selection);
    }
}

TEST(FigureProperties, EditsWriteTheSlotAsTheyHappen)
{
    FigureRig r;
    r.plot.PlotNakaNuri[1] = 1;
    r.plot.PlotGradiation[1] = 9000; // downwards, gradient off
    LinePropForm f = r.form(Mode::ToolDefaults, 1);
    // A filled slot opens on the fill colour.
    EXPECT_EQ(f.shown().target, LinePropForm::FillTarget);
    EXPECT_TRUE(f.shown().fillChecked);
    EXPECT_FALSE(f.shown().gradientChecked);
    EXPECT_EQ(f.shown().direction, 2);
    // A direction chosen while the gradient is off is lost; ticking "有効" keeps the old one.
    f.OnDirectionChosen(5);
    EXPECT_EQ(r.plot.PlotGradiation[1], 9000);
    f.OnGradientChecked(true);
    EXPECT_EQ(r.plot.PlotGradiation[1], 9001);
    f.OnDirectionChosen(5);
    EXPECT_EQ(r.plot.PlotGradiation[1], 22501);
    // Opacity: 100 taken, 101 ignored, empty and non-numbers read 0.
    for (const auto& [text, stored] : std::vector<std::pair<const char*, int>>{
             {"100", 100}, {"101", 100}, {"", 0}, {"55", 55}, {"inf", 0}, {"70", 70}, {"nan", 0}}) {
        f.OnOpacityEdited(text);
        EXPECT_EQ(r.plot.PlotAlpha[1], stored) << text;
    }
    // Width type is the list index plus 1; no selection is width type 1.
    f.OnWidthChosen(9);
    EXPECT_EQ(r.plot.PlotLineWide[1], 10);
    f.OnWidthChosen(-1);
    EXPECT_EQ(r.plot.PlotLineWide[1], 1);
    // Clearing the fill goes back to the line colour; a palette click then sets it.
    f.OnFillChecked(false);
    EXPECT_EQ(r.plot.PlotNakaNuri[1], 0);
    EXPECT_EQ(f.shown().target, LinePropForm::LineTarget);
    f.ClickBasicCell(1);
    EXPECT_EQ(r.plot.PlotColor[1], kRed);
    // Choosing the fill colour turns the fill on.
    f.OnTargetChosen(LinePropForm::FillTarget);
    EXPECT_EQ(r.plot.PlotNakaNuri[1], 1);
    f.ClickBasicCell(4);
    EXPECT_EQ(r.plot.PlotNakaColor[1], kBlue);
    f.OnTargetChosen(LinePropForm::SecondTarget);
    f.ClickBasicCell(1);
    EXPECT_EQ(r.plot.PlotNakaColor2[1], kRed);
    // Hatch cells set the pattern only while hatching is ticked.
    f.ClickHatchCode(LinePropForm::HatchCellCode(45, 10, 181, 24));
    EXPECT_EQ(r.plot.PlotHachT[1], 0);
    f.OnHatchChecked(true);
    f.ClickHatchCode(LinePropForm::HatchCellCode(45, 10, 181, 24));
    EXPECT_EQ(r.plot.PlotHachT[1], 4); // the second cell is the cross
    EXPECT_EQ(r.plot.PlotbHach[1], 1);
}

TEST(FigureProperties, PaletteAndHatchCellsAreHitStrictlyInside)
{
    // 13 columns of 22 pixels and two rows of 20 in a 291 × 41 palette: the grid lines and the strip
    // the integer widths leave over belong to no cell (the strip must not reach the next row's cells).
    struct Case {
        int x, y, cell;
    };
    const Case cases[] = {{1, 1, 0},     {0, 5, -1},    {22, 5, -1},  {23, 5, 1},    {285, 19, 12},
                          {286, 5, -1},  {290, 5, -1},  {5, 20, -1},  {5, 21, 13},   {285, 39, 25},
                          {286, 30, -1}, {5, 40, -1},   {-1, 5, -1},  {5, -3, -1}};
    for (const Case& c : cases) EXPECT_EQ(LinePropForm::PaletteCell(c.x, c.y, 291, 41), c.cell) << c.x << ',' << c.y;
    EXPECT_EQ(LinePropForm::PaletteCell(5, 5, 12, 41), -1); // narrower than the columns
    // Six hatch cells of 30 pixels: 3, 4, 5, 2, 0, 1 from the left.
    const int codes[] = {3, 4, 5, 2, 0, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(LinePropForm::HatchCellCode(i * 30 + 15, 12, 183, 24), codes[i]);
    EXPECT_EQ(LinePropForm::HatchCellCode(30, 12, 183, 24), -1);
    EXPECT_EQ(LinePropForm::HatchCellCode(181, 12, 183, 24), -1);
    EXPECT_EQ(LinePropForm::HatchCellCode(15, 0, 183, 24), -1);
}

TEST(FigureProperties, UserColoursRingWrapsAndPaletteClicksNeedTheFill)
{
    FigureRig r;
    r.profile.WriteProfileInt("KOV_T_PlotMenu", "ln_orgcolor_cnt", 20);
    LinePropForm f = r.form(Mode::ToolDefaults, 2);
    // Eleven other colours from cell 20: cells 20-25, then 0-4; the count ends at 5.
    for (std::uint32_t i = 0; i < 11; ++i) r.questions.pickColor(0x010101 * (i + 1));
    for (int i = 0; i < 11; ++i) ASSERT_TRUE(f.PickOtherColour());
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_PlotMenu", "ln_orgcolor_cnt", -1), 5);
    EXPECT_EQ(f.userCursor(), 5);
    EXPECT_EQ(r.profile.GetProfileString("KOV_T_PlotMenu", "ln_orgcolor_20", ""), "65793");
    EXPECT_EQ(r.profile.GetProfileString("KOV_T_PlotMenu", "ln_orgcolor_25", ""), std::to_string(0x060606));
    EXPECT_EQ(r.profile.GetProfileString("KOV_T_PlotMenu", "ln_orgcolor_4", ""), std::to_string(0x0B0B0B));
    EXPECT_EQ(r.profile.GetProfileString("KOV_T_PlotMenu", "ln_orgcolor_5", "none"), "none");
    // The chooser started from the line colour, the colour landed there.
    EXPECT_EQ(r.plot.PlotColor[2], 0x0B0B0Bu);

    // With the fill colour chosen but the fill cleared, a palette click changes no colour; a user
    // cell still moves the frame and the count.
    f.OnTargetChosen(LinePropForm::FillTarget);
    f.OnFillChecked(false);
    f.OnTargetChosen(LinePropForm::SecondTarget);
    const CPlotInfo before = r.plot;
    f.ClickBasicCell(1);
    f.ClickUserCell(7);
    EXPECT_EQ(r.plot, before);
    EXPECT_EQ(f.userCursor(), 7);
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_PlotMenu", "ln_orgcolor_cnt", -1), 7);

    // A stored count outside the ring starts again at cell 0, never writing a key past 25.
    for (int stored : {40, -3}) {
        FigureRig s;
        s.profile.WriteProfileInt("KOV_T_PlotMenu", "ln_orgcolor_cnt", stored);
        LinePropForm g = s.form(Mode::ToolDefaults, 0);
        EXPECT_EQ(g.userCursor(), 0);
        s.questions.pickColor(kRed);
        ASSERT_TRUE(g.PickOtherColour());
        EXPECT_EQ(s.profile.GetProfileString("KOV_T_PlotMenu", "ln_orgcolor_0", ""), "255");
        EXPECT_EQ(s.profile.GetProfileInt("KOV_T_PlotMenu", "ln_orgcolor_cnt", -1), 1);
    }
}

TEST(FigureProperties, HatchSpacingIsOneToTwentyNineMillimetres)
{
    FigureRig r;
    LinePropForm f = r.form(Mode::ToolDefaults, 1);
    EXPECT_TRUE(f.enabled().spacing);
    EXPECT_EQ(f.shown().spacingText, "3");
    f.OnHatchChecked(true);
    f.OnSpacingEdited("29.5");
    EXPECT_EQ(r.profile.GetProfileString("KOV_T_UTILITY", "hach_kankaku_line", ""), "29.5");
    f.OnSpacingLeft("29.5");
    for (const char* refused : {"30", "0.5", "inf", "1e999", "abc"}) {
        f.OnSpacingEdited(refused);
        EXPECT_EQ(r.profile.GetProfileString("KOV_T_UTILITY", "hach_kankaku_line", ""), "29.5") << refused;
        r.questions.acknowledge("模様間隔は1mm～29mmです");
        f.OnSpacingLeft(refused);
    }
    // With patterns kept as patterns the spacing box is off.
    r.profile.WriteProfileInt("KOV_T_UTILITY", "zukei_moyou_auto", 1);
    EXPECT_FALSE(r.form(Mode::ToolDefaults, 1).enabled().spacing);
    EXPECT_TRUE(r.form(Mode::Selection, 1).enabled().hatchCheck);
}

TEST(LayerChange, ModesShowTheirTitlesAndLists)
{
    struct Case {
        int mode;
        const char* title;
        const char* source;
        const char* target;
        const char* keep;
        bool sourceEnabled, keepEnabled;
    };
    const Case cases[] = {
        {1, "選択物のレイヤー変更", "元のレイヤー", "変更後のレイヤー", "元のレイヤーにも残す", false, true},
        {2, "レイヤーを移動合成", "元のレイヤー", "合成後のレイヤー", "", true, false},
        {7, "レイヤーをコピー合成", "元のレイヤー", "合成後のレイヤー", "", true, false},
        {3, "指定レイヤーを全て選択状態", "", "指定レイヤー", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        LayerChangeForm f(c.mode, 1);
        EXPECT_EQ(f.title(), c.title);
        EXPECT_EQ(f.sourceLabel(), c.source);
        EXPECT_EQ(f.targetLabel(), c.target);
        EXPECT_EQ(f.keepText(), c.keep);
        EXPECT_EQ(f.sourceEnabled(), c.sourceEnabled);
        EXPECT_EQ(f.keepEnabled(), c.keepEnabled);
        EXPECT_EQ(f.sourceIndex, c.mode == 3 ? -1 : 1);
        EXPECT_EQ(f.targetIndex, 1);
        f.keepChecked = true;
        f.targetIndex = 2;
        f.Accept();
        EXPECT_EQ(f.target, 2);
        EXPECT_EQ(f.keep, c.mode == 1 ? 1 : 0);
    }
    // A current layer group above 2 opens both lists empty; OK then gives no layer at all (never
    // a layer group of -1 to the commands).
    LayerChangeForm high(2, 5);
    EXPECT_EQ(high.sourceIndex, -1);
    EXPECT_EQ(high.targetIndex, -1);
    high.Accept();
    EXPECT_EQ(high.source, -1);
    EXPECT_EQ(high.target, -1);
}

TEST(LayerChange, AskedThroughTheModalRunner)
{
    std::vector<QString> titles;
    kov::dialogs::ScopedModalRunner runner([&titles](QDialog& d) {
        titles.push_back(d.windowTitle());
        d.findChild<QComboBox*>(QStringLiteral("target"))->setCurrentIndex(2);
        d.findChild<QCheckBox*>(QStringLiteral("keep"))->setChecked(true);
        if (titles.size() == 2) {
            d.reject();
        } else {
            d.accept();
        }
        return d.result();
    });
    const auto chosen = AskLayerChange(LayerChangeForm::ChangeSelection, 1);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->source, 1);
    EXPECT_EQ(chosen->target, 2);
    EXPECT_EQ(chosen->keep, 1);
    EXPECT_FALSE(AskLayerChange(LayerChangeForm::MoveMerge, 0).has_value());
    const auto merged = AskLayerChange(LayerChangeForm::CopyMerge, 0);
    ASSERT_TRUE(merged.has_value());
    EXPECT_EQ(merged->keep, 0); // the keep flag belongs to the selection's change only
    EXPECT_EQ(titles, (std::vector<QString>{QStringLiteral("選択物のレイヤー変更"), QStringLiteral("レイヤーを移動合成"),
                                            QStringLiteral("レイヤーをコピー合成")}));
}

// A drawing with a horizontal line through the middle of layer 0 of layer group 0 and a vertical
// one on layer 1 of the same group.
void addLine(CKovUnit& unit, int id, CDbPoint a, CDbPoint b, int group, int layer)
{
    auto line = std::make_unique<CKovLine>();
    line->MLineID = id;
    line->MLinePnt = {a, b};
    line->MLineWide = 3;
    line->MLineLayer1 = group;
    line->MLineLayer2 = layer;
    unit.m_Lines.Add(std::move(line));
}

int darkPixels(const QImage& image, QRect r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += qGray(image.pixel(x, y)) < 100;
    return n;
}

TEST(LayerList, StatesCurrentLayerAndShowAll)
{
    CPlotInfo plot;
    LayerListForm f(plot);
    EXPECT_EQ(LayerListForm::StateText(0), "表示吸着");
    EXPECT_EQ(LayerListForm::StateText(2), "非表示");
    EXPECT_EQ(LayerListForm::StateText(7), "");
    // Three presses of "表示ALL切替": all snapped, all shown, all hidden but the current one.
    f.ToggleAll();
    f.ToggleAll();
    EXPECT_EQ(f.state(1), 1);
    f.ToggleAll();
    EXPECT_EQ(f.state(0), 0);
    EXPECT_EQ(f.state(1), 2);
    EXPECT_EQ(f.state(2), 2);
    // A click on a hidden layer makes it current and snapped to.
    f.Choose(2);
    EXPECT_EQ(f.current(), 2);
    EXPECT_EQ(f.state(2), 0);
    // The current layer hidden with its own button is visible again after OK.
    f.CycleState(2);
    f.CycleState(2);
    EXPECT_EQ(f.state(2), 2);
    CPlotInfo document;
    document.m_Layer.m_GrpLayerInfo[7].m_nType = 2;
    f.ApplyTo(document);
    EXPECT_EQ(document.m_Layer.m_nCurrentGroup, 2);
    EXPECT_EQ(document.m_Layer.m_GrpLayerInfo[2].m_nType, 0);
    EXPECT_EQ(document.m_Layer.m_GrpLayerInfo[1].m_nType, 2);
    EXPECT_EQ(document.m_Layer.m_GrpLayerInfo[7].m_nType, 2);
}

TEST(LayerList, ThumbnailsShowLayerZeroOfTheirGroup)
{
    CPlotInfo plot; // A4 landscape at 1:100: 297 mm of paper is 29,700 mm of drawing
    CKovUnit unit;
    addLine(unit, 1, {-10000, 0}, {10000, 0}, 0, 0);
    addLine(unit, 2, {0, -10000}, {0, 10000}, 0, 1);   // layer 1: in no thumbnail
    addLine(unit, 3, {-10000, 5000}, {10000, 5000}, 1, 0);
    plot.m_Layer.m_GrpLayerInfo[1].m_nType = 2;
    LayerListForm f(plot);
    CKovUnit::DrawEnvironment env;
    const int side = 200;
    const QImage zero = f.Thumbnail(unit, 0, side, env);
    const QImage one = f.Thumbnail(unit, 1, side, env);
    const QImage two = f.Thumbnail(unit, 2, side, env);
    // Layer 0: the horizontal line at mid-height, no vertical one; a red frame as the current one.
    EXPECT_GT(darkPixels(zero, QRect(60, 98, 80, 5)), 40);
    EXPECT_EQ(darkPixels(zero, QRect(98, 20, 5, 60)), 0);
    EXPECT_EQ(zero.pixelColor(0, 100), QColor(255, 0, 0));
    // Layer 1 is hidden: grey behind, its own line still shown, not the line of layer 0.
    EXPECT_EQ(one.pixelColor(20, 20), QColor(215, 215, 215));
    EXPECT_EQ(darkPixels(one, QRect(60, 95, 80, 10)), 0);
    EXPECT_GT(darkPixels(one, QRect(60, 100, 80, 40)), 40);
    EXPECT_EQ(darkPixels(two, QRect(2, 2, side - 4, side - 4)), 0);
    // At magnification 5 a fifth of the paper's width fills the thumbnail: a 20,000 mm line
    // (two thirds of the paper at 1:100) runs past both edges.
    f.ChooseMagnification(10);
    EXPECT_EQ(f.magnification, 5);
    const QImage near = f.Thumbnail(unit, 0, side, env);
    EXPECT_GT(darkPixels(near, QRect(3, 90, 10, 20)), 0);
    EXPECT_GT(darkPixels(near, QRect(side - 13, 90, 10, 20)), 0);
}

TEST(LayerName, PromptNamesTheGroupAndAnEmptyNameIsStored)
{
    CPlotInfo plot;
    plot.m_Layer.m_nCurrentGroup = 2;
    plot.m_Layer.m_GrpLayerInfo[2].m_strName = "平面";
    LayerNameForm f(plot);
    EXPECT_EQ(f.prompt, "編集中のグループレイヤー2の名称を設定");
    EXPECT_EQ(f.name, "平面");
    f.name.clear();
    f.ApplyTo(plot);
    EXPECT_EQ(plot.m_Layer.m_GrpLayerInfo[2].m_strName, "");
}

EnumeratedFace face(const char* name, std::uint8_t charset, int type = EnumeratedFace::kTrueType)
{
    EnumeratedFace f;
    f.logFont.lfFaceName = name;
    f.logFont.lfCharSet = charset;
    f.logFont.lfPitchAndFamily = 0x22;
    f.fontType = type;
    return f;
}

TEST(FontNames, RepeatsVerticalAndNonScalableFacesAreLeftOut)
{
    FontNameList list;
    list.Fill({face("Arial", 0), face("Arial", 161), face("Arial", 204), face("@IPAGothic", 128),
               face("IPAGothic", 128), face("Fixedsys", 0, 1), face("ＭＳ ゴシック", 128)});
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"Arial", "IPAGothic", "ＭＳ ゴシック"}));
    // The face gives the character set of its first enumeration.
    LogFont out;
    ASSERT_TRUE(list.GetLogFont("Arial", out));
    EXPECT_EQ(out.lfCharSet, 0);
    EXPECT_FALSE(list.GetLogFont("arial", out)); // exact for the fonts
    // Lines are found without regard to letter case, full-width letters too.
    EXPECT_EQ(list.FindLine("ipagothic"), 1);
    EXPECT_EQ(list.FindLine("ＭＳ ゴシック"), 2);
    EXPECT_EQ(list.FindLine("ｍｓ ゴシック"), 2);
    EXPECT_EQ(list.FindLine("Courier"), -1);
    // The system's list starts with the faces the drawings name.
    EXPECT_EQ(FontNameList::SystemFaces().front().logFont.lfFaceName, "ＭＳ ゴシック");
}

TEST(SelectedText, FaceChoiceKeepsSizeAndStyleAndMissingFacesFallBack)
{
    FontNameList list;
    list.Fill({face("IPAMincho", 128), face("ＭＳ ゴシック", 128)});
    SelectedTextForm f;
    f.font.lfFaceName = "ipamincho";
    f.font.lfHeight = -40;
    f.font.lfWeight = 700;
    f.font.lfEscapement = 300;
    f.font.lfCharSet = 0;
    EXPECT_EQ(f.SelectFace(list), 0);
    f.ApplyChosenFace(list, "IPAMincho");
    EXPECT_EQ(f.font.lfFaceName, "IPAMincho");
    EXPECT_EQ(f.font.lfCharSet, 128);
    EXPECT_EQ(f.font.lfPitchAndFamily, 0x22);
    EXPECT_EQ(f.font.lfHeight, -40);
    EXPECT_EQ(f.font.lfWeight, 700);
    EXPECT_EQ(f.font.lfEscapement, 300);
    // A face the system lacks becomes "ＭＳ ゴシック", with that line's font.
    f.font.lfFaceName = "Nowhere Sans";
    EXPECT_EQ(f.SelectFace(list), 1);
    EXPECT_EQ(f.font.lfFaceName, "ＭＳ ゴシック");
    EXPECT_EQ(f.font.lfHeight, -40);
    FontNameList empty;
    f.font.lfFaceName = "Nowhere Sans";
    EXPECT_EQ(f.SelectFace(empty), -1);
    EXPECT_EQ(f.font.lfFaceName, "ＭＳ ゴシック");
}

TEST(SelectedText, OkReadsTheControlsByTheirRules)
{
    struct Case {
        const char* angle;
        const char* size;
        const char* spacing;
        int angleAfter;
        double sizeAfter, spacingAfter;
    };
    const Case cases[] = {
        {"0", "3.5", "0.5", 0, 3.5, 0.5},
        {"359", "100", "100", 3590, 100, 100},
        {"360", "0.4", "-1", 300, 1, 0},      // the angle keeps its value; out of range → fallback
        {"", "101", "101", 0, 1, 0},          // empty reads 0
        {"abc", "inf", "nan", 0, 1, 0},       // no numbers: nothing non-finite gets in
        {"45", "1e999", "1e999", 450, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        SelectedTextForm f;
        f.angle = 300;
        SelectedTextForm::Entered e;
        e.angleText = c.angle;
        e.sizeText = c.size;
        e.spacingText = c.spacing;
        e.lineSpacingText = c.spacing;
        e.hAlign = 2;
        e.vAlign = -1;
        e.backOff = false;
        e.bold = true;
        f.Accept(e);
        EXPECT_EQ(f.angle, c.angleAfter);
        EXPECT_EQ(f.font.m_size, c.sizeAfter);
        EXPECT_EQ(f.font.m_kankaku, c.spacingAfter);
        EXPECT_EQ(f.font.m_gyoukan, c.spacingAfter);
        EXPECT_EQ(f.hAlign, 2);
        EXPECT_EQ(f.vAlign, 0);
        EXPECT_EQ(f.font.m_bBack, 1);
        EXPECT_EQ(f.font.lfWeight, 700);
    }
    SelectedTextForm shown;
    shown.angle = 2705;
    shown.font.m_size = 3.25;
    EXPECT_EQ(shown.shown().angleText, "270");
    EXPECT_EQ(shown.shown().sizeText, "3.2");
}

TEST(RoomFont, HeightAndSpacingFallBack)
{
    CFontMenu font;
    RoomFontForm f(font, [](double mm) { return static_cast<int>(mm * 4); });
    struct Case {
        const char* height;
        const char* spacing;
        double h, s;
    };
    const Case cases[] = {{"0.4", "-1", 1, 0}, {"101", "101", 1, 0}, {"0.5", "0", 0.5, 0}, {"100", "100", 100, 100},
                          {"inf", "nan", 1, 0}, {"7.5", "2", 7.5, 2}};
    for (const Case& c : cases) {
        f.OnHeightEdited(c.height);
        f.OnSpacingEdited(c.spacing);
        EXPECT_EQ(f.font.m_size, c.h) << c.height;
        EXPECT_EQ(f.font.m_kankaku, c.s) << c.spacing;
    }
    EXPECT_EQ(f.font.lfHeight, 30);
    f.Accept("0.2", "3");
    EXPECT_EQ(f.font.m_size, 1);
    EXPECT_EQ(f.font.m_kankaku, 3);
    EXPECT_EQ(f.font.lfHeight, 30); // the logical height keeps its last change
}

TEST(RoomChange, PatternListSpacingAndColours)
{
    MemoryProfile profile;
    CRoomInfo room;
    room.Room_HachType = 0;
    RoomChangeForm f(room, profile);
    ASSERT_EQ(f.entries.size(), 8u); // no "畳" for a room that is not one
    EXPECT_STREQ(f.entries[static_cast<std::size_t>(f.entry)].name, "水平縞");
    EXPECT_EQ(f.spacingText, "4.550");
    for (const auto& [text, kept] : std::vector<std::pair<const char*, double>>{
             {"0.5", 4.55}, {"1001", 4.55}, {"1", 1}, {"1000", 1000}, {"inf", 1000}, {"", 1000}}) {
        f.OnSpacingEdited(text);
        EXPECT_EQ(f.room.Room_HachKankaku, kept) << text;
    }
    // The list is read only while the pattern is on.
    f.OnPatternChosen(1);
    EXPECT_EQ(f.room.Room_HachType, 0);
    // Ticking the pattern while fill and pattern colours are equal turns the pattern black.
    f.ClickFillCell(1);
    f.ClickPatternCell(1);
    f.OnPatternChecked(true);
    EXPECT_EQ(f.room.Room_bHachColor, 1);
    EXPECT_EQ(f.room.Room_HachType, 4);
    EXPECT_EQ(f.room.Room_HachColor, 0u);
    EXPECT_EQ(f.room.Room_RoomColor, kRed);
    f.OnPatternChosen(6);
    EXPECT_EQ(f.room.Room_HachType, 100);
    // A tatami room keeps its list and spacing shut.
    room.Room_HachType = 300;
    RoomChangeForm tatami(room, profile);
    EXPECT_EQ(tatami.entries.size(), 9u);
    EXPECT_STREQ(tatami.entries[static_cast<std::size_t>(tatami.entry)].name, "畳");
    EXPECT_FALSE(tatami.patternListEnabled);
    EXPECT_FALSE(tatami.spacingEnabled);
    // room_hachmode 0: no spacing at all.
    profile.WriteProfileInt("KOV_T_UTILITY", "room_hachmode", 0);
    room.Room_HachType = 77; // not in the list: the first entry
    RoomChangeForm plain(room, profile);
    EXPECT_EQ(plain.entry, 0);
    EXPECT_FALSE(plain.spacingEnabled);
    EXPECT_EQ(plain.spacingText, "");
}

TEST(ColumnDialog, HalfWidthBelowOneHundredMetresAndLockedType)
{
    ColumnForm f(50, 0, false);
    EXPECT_EQ(f.widthText(), "50.0");
    f.OnWidthEdited("100000");
    EXPECT_EQ(f.halfWidth, 50);
    f.OnWidthEdited("99999.9");
    EXPECT_EQ(f.halfWidth, 99999.9);
    f.OnWidthEdited("-1");
    f.OnWidthEdited("inf");
    EXPECT_EQ(f.halfWidth, 0); // "inf" is no number: 0, in range
    f.OnTypeChosen(1);
    EXPECT_EQ(f.type, 1);
    ColumnForm locked(30, 2, true);
    locked.OnTypeChosen(0);
    EXPECT_EQ(locked.type, 2);
}

// Every dialog of these commands built offscreen, filled from its values, and accepted with OK.
TEST(PropertyDialogs, EachBuildsFillsAndAccepts)
{
    MemoryProfile profile;
    ScriptedQuestions questions;
    auto accept = [](QDialog& d) {
        d.show();
        QApplication::processEvents();
        auto* ok = d.findChild<QPushButton*>(QStringLiteral("ok"));
        ASSERT_NE(ok, nullptr) << d.objectName().toStdString();
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted) << d.objectName().toStdString();
    };
    {
        CPlotInfo plot;
        plot.PlotNakaNuri[3] = 1;
        CLinePropSetDg d(plot, profile, questions, Mode::Selection, 3);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("選択図形のプロパティ"));
        EXPECT_TRUE(d.findChild<QCheckBox*>(QStringLiteral("fill"))->isChecked());
        // A click in the basic palette's second cell sets the fill colour (the fill is on).
        auto* basic = d.findChild<QLabel*>(QStringLiteral("basicPalette"));
        QTest::mouseClick(basic, Qt::LeftButton, {}, QPoint(33, 10));
        EXPECT_EQ(plot.PlotNakaColor[3], kRed);
        d.findChild<QComboBox*>(QStringLiteral("lineType"))->setCurrentIndex(2);
        emit d.findChild<QComboBox*>(QStringLiteral("lineType"))->activated(2);
        EXPECT_EQ(plot.PlotLineType[3], 2);
        accept(d);
    }
    {
        CPlotInfo plot;
        CLinePropSetDg panel(plot, profile, questions, Mode::ToolDefaults, 0);
        panel.show();
        EXPECT_FALSE(panel.findChild<QPushButton*>(QStringLiteral("ok"))->isVisible());
        EXPECT_FALSE(panel.findChild<QCheckBox*>(QStringLiteral("fill"))->isEnabled());
    }
    {
        CLayerChangeDlg d(1, 0);
        d.findChild<QComboBox*>(QStringLiteral("target"))->setCurrentIndex(2);
        d.findChild<QCheckBox*>(QStringLiteral("keep"))->setChecked(true);
        accept(d);
        EXPECT_EQ(d.form().target, 2);
        EXPECT_EQ(d.form().keep, 1);
    }
    {
        CPlotInfo plot;
        CKovUnit unit;
        CKovUnit::DrawEnvironment env;
        CLayerItiranDg d(plot, unit, env);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("state1")), Qt::LeftButton);
        EXPECT_EQ(d.findChild<QPushButton*>(QStringLiteral("state1"))->text(), QStringLiteral("表示"));
        QTest::mouseClick(d.findChild<QLabel*>(QStringLiteral("thumbnail2")), Qt::LeftButton);
        EXPECT_EQ(d.form().current(), 2);
        accept(d);
    }
    {
        CPlotInfo plot;
        CLayerNameDlg d(plot);
        d.findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("立面"));
        accept(d);
        EXPECT_EQ(d.form().name, "立面");
    }
    {
        SelectedTextForm values;
        values.text = "一行目\r\n二行目";
        values.font.m_size = 4;
        CFontsyuseidlg d(values, questions, {});
        auto* angle = d.findChild<QLineEdit*>(QStringLiteral("angle"));
        angle->setText(QStringLiteral("90"));
        accept(d);
        EXPECT_EQ(d.form().text, "一行目\r\n二行目");
        EXPECT_EQ(d.form().angle, 900);
        EXPECT_EQ(d.form().font.m_size, 4);
        EXPECT_EQ(d.form().font.lfFaceName, "ＭＳ ゴシック");
    }
    {
        CFontMenu font;
        font.m_size = 5;
        CRoomFontDg d(font, [](double mm) { return static_cast<int>(mm); }, {});
        d.findChild<QLineEdit*>(QStringLiteral("spacing"))->setText(QStringLiteral("1.5"));
        accept(d);
        EXPECT_EQ(d.font().m_size, 5);
        EXPECT_EQ(d.font().m_kankaku, 1.5);
    }
    {
        CRoomInfo room;
        room.Room_bRoomColor = 0; // an unfilled room, filled in the dialog
        CRoomHenkouDlg d(room, profile, questions);
        d.findChild<QCheckBox*>(QStringLiteral("fill"))->click();
        QTest::mouseClick(d.findChild<QLabel*>(QStringLiteral("fillPalette")), Qt::LeftButton, {}, QPoint(33, 10));
        accept(d);
        EXPECT_EQ(d.room().Room_bRoomColor, 1);
        EXPECT_EQ(d.room().Room_RoomColor, kRed);
    }
    {
        CHasiraDlg d(40, 1, false);
        QTest::keyClicks(d.findChild<QLineEdit*>(QStringLiteral("halfWidth")), QStringLiteral("5"));
        accept(d);
        EXPECT_EQ(d.form().halfWidth, 40.05);
    }
}

} // namespace
