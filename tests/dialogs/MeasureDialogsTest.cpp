// The measuring result and the object count: the unit list and its codes, the edited text, and
// the counts by kind and layer scope with the text of the ticked boxes.

#include "dialogs/MeasureDialogs.h"

#include "dialogs/SettingsWidgets.h"
#include "model/KovGroup.h"
#include "model/KovImage.h"
#include "model/KovLine.h"
#include "model/KovText.h"
#include "model/KovUnit.h"
#include "model/KovWall.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

using namespace kov::dialogs;

MeasureResultForm lengthResult()
{
    MeasureResultForm f;
    f.label = "直線の長さ";
    f.texts = {"1.23m", "1234.50mm", "123.45cm", "0.69間", "4.15尺"};
    f.units = {"m", "mm", "cm", "間", "尺"};
    f.unit = 0;
    return f;
}

TEST(MeasureResult, TheListPairsItsLinesWithTheUnitCodes)
{
    MeasureResultForm f = lengthResult();
    EXPECT_EQ(f.ListNames(), (std::vector<std::string>{"m", "cm", "mm", "間", "尺"}));
    const struct {
        int line, code;
        const char* text;
    } choices[] = {{1, 2, "123.45cm"}, {2, 1, "1234.50mm"}, {4, 4, "4.15尺"}, {0, 0, "1.23m"}};
    for (const auto& c : choices) {
        f.OnChoice(c.line);
        EXPECT_EQ(f.unit, c.code);
        EXPECT_EQ(f.ListLine(), c.line);
        EXPECT_EQ(f.EditText(), c.text);
    }
    f.unit = 7; // no such unit: no line, no text
    EXPECT_EQ(f.ListLine(), -1);
    EXPECT_EQ(f.EditText(), "");
}

TEST(MeasureResult, TheDialogHandsBackTheEditedTextOfTheChosenUnit)
{
    MeasureResultDialog dialog(lengthResult());
    EXPECT_EQ(dialog.windowTitle().toStdString(), "測定");
    EXPECT_EQ(ui::control<QLabel>(&dialog, "label")->text().toStdString(), "直線の長さ");
    auto* value = ui::control<QLineEdit>(&dialog, "value");
    auto* list = ui::control<QComboBox>(&dialog, "unit");
    EXPECT_EQ(value->text().toStdString(), "1.23m");
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_EQ(value->text().toStdString(), "123.45cm");
    value->setText(QString::fromUtf8("約123cm"));
    dialog.accept();
    EXPECT_EQ(dialog.form().unit, 2);
    EXPECT_EQ(dialog.form().Output(), "約123cm");
}

// A drawing with one of each kind on layer 0-0 and a few elsewhere.
struct CountFixture {
    CKovUnit unit;
    template <class T> T& add(std::unique_ptr<T> o)
    {
        T& ref = *o;
        if constexpr (std::is_same_v<T, CKovGroup>) unit.m_Groups.Add(std::move(o));
        else if constexpr (std::is_same_v<T, CKovWall>) unit.m_Walls.Add(std::move(o));
        else if constexpr (std::is_same_v<T, CKovLine>) unit.m_Lines.Add(std::move(o));
        else if constexpr (std::is_same_v<T, CKovText>) unit.m_Texts.Add(std::move(o));
        else unit.m_Images.Add(std::move(o));
        return ref;
    }
    void group(int kind, int layerGroup, int id)
    {
        auto g = std::make_unique<CKovGroup>();
        g->MGrpID = id;
        g->MGrpRoom = kind;
        g->MGrpLayer1 = layerGroup;
        add(std::move(g));
    }
    void wall(int shape, int style, int column, int layerGroup, int layer)
    {
        auto w = std::make_unique<CKovWall>();
        w->MWallID = unit.NextWallId();
        w->MWall_Type = shape;
        w->MWallType = style;
        w->MHasiraType = column;
        w->MWallLayer1 = layerGroup;
        w->MWallLayer2 = layer;
        add(std::move(w));
    }
    void figure(int kind, int groupId, int layerGroup)
    {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        f->MLineType = kind;
        f->MLineGrpID = groupId;
        f->MLineLayer1 = layerGroup;
        add(std::move(f));
    }
    CountFixture()
    {
        group(CKovGroup::PLAIN, 0, 1);
        group(-1, 0, 2);
        group(CKovGroup::ROOM, 0, 3);
        group(CKovGroup::FITTING, 1, 4);
        group(CKovGroup::BALCONY, 0, 5);
        wall(CKovWall::WALL, 0, 0, 0, 0);
        wall(CKovWall::WALL, 1, 0, 0, 3); // another layer of group 0
        wall(CKovWall::COLUMN, 0, 2, 0, 0);
        wall(CKovWall::COLUMN, 0, 1, 2, 0);
        figure(CKovLine::LINE, 0, 0);
        figure(CKovLine::LINE, 1, 0);   // inside group 1: not a loose figure
        figure(CKovLine::LINE, 99, 0);  // its group is gone: counted
        figure(CKovLine::ARC, 0, 0);
        figure(CKovLine::DIMENSION, 0, 0);
        figure(CKovLine::CONTINUOUS, 0, 1);
        auto t = std::make_unique<CKovText>();
        t->MTextID = 1;
        add(std::move(t));
        auto p = std::make_unique<CKovImage>();
        p->ImageID = 1;
        p->IMGLayer1 = 3;
        add(std::move(p));
    }
};

TEST(ObjectCount, CountsByKindInEachScope)
{
    CountFixture fx;
    ObjectCountForm f(fx.unit, 0, 0);
    EXPECT_EQ(f.scope(), ObjectCountForm::LAYER);
    EXPECT_EQ(f.Caption(), "レイヤー0-0");
    EXPECT_EQ(f.Lines(), (std::array<std::string, 8>{
                             "部品:2", "部屋:1", "建具:0", "大壁:1　真壁:0", "管柱:0　間柱:0　通柱:1",
                             "直線:2　四角:0　多角:0　円:0　円弧:1　連続:0", "文字:1", "画像:0"}));
    f.OnScope(ObjectCountForm::LAYER_GROUP);
    EXPECT_EQ(f.Caption(), "グループレイヤー0");
    EXPECT_EQ(f.Lines()[ObjectCountForm::WALLS], "大壁:1　真壁:1");
    f.OnScope(ObjectCountForm::ALL_LAYERS);
    EXPECT_EQ(f.Caption(), "全レイヤー");
    EXPECT_EQ(f.Lines()[ObjectCountForm::FITTINGS], "建具:1");
    EXPECT_EQ(f.Lines()[ObjectCountForm::COLUMNS], "管柱:0　間柱:1　通柱:1");
    EXPECT_EQ(f.Lines()[ObjectCountForm::FIGURES], "直線:2　四角:0　多角:0　円:0　円弧:1　連続:1");
    EXPECT_EQ(f.Lines()[ObjectCountForm::PICTURES], "画像:1");
}

TEST(ObjectCount, TheTickedLinesMakeTheText)
{
    CountFixture fx;
    ObjectCountDialog dialog(fx.unit, 0, 0);
    ObjectCountForm& f = dialog.form();
    EXPECT_EQ(ui::control<QLabel>(&dialog, "caption")->text().toStdString(), "レイヤー0-0");
    ui::control<QRadioButton>(&dialog, "scopeAll")->click();
    EXPECT_EQ(ui::control<QLabel>(&dialog, "caption")->text().toStdString(), "全レイヤー");
    for (int i = 0; i < ObjectCountForm::kRows; ++i)
        if (i != ObjectCountForm::ROOMS && i != ObjectCountForm::PICTURES)
            ui::control<QCheckBox>(&dialog, ("box" + std::to_string(i)).c_str())->click();
    EXPECT_EQ(f.Output(), "部屋:1\r\n画像:1");
    f.ticked.fill(false);
    EXPECT_EQ(f.Output(), "");
}

} // namespace
