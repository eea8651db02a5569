// Grips and handles of the selection, read back as the squares and lines the recording surface saw.

#include "DrawerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kov::test::drawers;
using kov::platform::DevicePoint;
using kov::platform::RecordedCall;
using kov::platform::RecordingSurface;

namespace {

// Grip centres with their colours, "x,y:colour", in drawing order.
std::vector<std::string> grips(const RecordingSurface& s)
{
    std::vector<std::string> out;
    for (const RecordedCall& c : s.calls()) {
        if (c.op != "fillRect") continue;
        const int cx = (c.rect.left + c.rect.right) / 2, cy = (c.rect.top + c.rect.bottom) / 2;
        out.push_back(std::to_string(cx) + "," + std::to_string(cy) + ":" + hex(c.brush.color));
    }
    return out;
}

class SelectionMarksTest : public testing::Test {
protected:
    void SetUp() override { ResetPickTolerances(); }
    void TearDown() override { ResetPickTolerances(); }

    CKovGroup& addGroup(int kind, CDbPoint lo, CDbPoint hi, double angle = 0)
    {
        auto g = std::make_unique<CKovGroup>();
        g->MGrpID = unit.NextGroupId();
        g->MGrpRoom = kind;
        g->MGrpmin = lo;
        g->MGrpmax = hi;
        g->MGrpKakudo = angle;
        CKovGroup& ref = *g;
        unit.m_Groups.Add(std::move(g));
        return ref;
    }

    std::vector<std::string> marks()
    {
        s.clear();
        unit.DrawSelectionMarks(s, pixelTransform(), CPlotInfo(), sel);
        return grips(s);
    }

    CKovUnit unit;
    SelectionRecord sel;
    RecordingSurface s;
};

TEST_F(SelectionMarksTest, GripSquareIsThePickToleranceWideWithoutItsRightAndBottomEdge)
{
    CKovUnit::DrawGripSquare(s, {50, 60}, kRed);
    ASSERT_EQ(s.calls().size(), 1u);
    EXPECT_EQ(s.calls()[0].rect, (kov::platform::DeviceRect{46, 56, 54, 64}));
    ResetPickTolerances(192);  // doubled on a high-resolution screen
    s.clear();
    CKovUnit::DrawGripSquare(s, {50, 60}, kRed);
    EXPECT_EQ(s.calls()[0].rect, (kov::platform::DeviceRect{42, 52, 58, 68}));
}

TEST_F(SelectionMarksTest, OnePlainGroupHasFourRedCornersAndTheRotationHandle)
{
    sel.AddGroupId(addGroup(CKovGroup::PLAIN, {10, 20}, {110, 70}).MGrpID);
    EXPECT_EQ(marks(), (std::vector<std::string>{"10,20:0x0000FF", "10,70:0x0000FF", "110,70:0x0000FF",
                                                 "110,20:0x0000FF", "60,20:0x00FF00"}));
    // Turned 90 degrees the handle stands above the minimum corner.
    unit.m_Groups[0]->MGrpKakudo = 90;
    EXPECT_EQ(marks().back(), "10,-30:0x00FF00");
}

TEST_F(SelectionMarksTest, RoomsShowWallEndsWhenAloneAndCornersOtherwise)
{
    CKovGroup& room = addGroup(CKovGroup::ROOM, {0, 0}, {100, 80});
    CKovWall& a = addWall(unit, {0, 0}, {100, 0}, 5);
    CKovWall& b = addWall(unit, {100, 0}, {100, 80}, 5);
    room.MGrpWallID = {a.MWallID, 99, b.MWallID};  // 99 is gone
    a.MWallGrpID = b.MWallGrpID = room.MGrpID;
    sel.AddGroupId(room.MGrpID);
    EXPECT_EQ(marks(), (std::vector<std::string>{"0,0:0x0000FF", "100,0:0x0000FF", "100,0:0x0000FF",
                                                 "100,80:0x0000FF", "50,0:0x00FF00"}));
    CKovGroup& other = addGroup(CKovGroup::ROOM, {200, 0}, {300, 50});
    sel.AddGroupId(other.MGrpID);
    const auto two = marks();
    ASSERT_EQ(two.size(), 8u) << "two rooms: four corners each, no handle";
    EXPECT_EQ(two[0], "0,0:0x0000FF");
    EXPECT_EQ(two[4], "200,0:0x0000FF");
}

TEST_F(SelectionMarksTest, WallsFiguresAndPicturesByTheirPoints)
{
    CKovWall& wall = addWall(unit, {10, 10}, {90, 10}, 5);
    CKovWall& grouped = addWall(unit, {10, 50}, {90, 50}, 5);
    grouped.MWallGrpID = 4;
    CKovLine& circle = addFigureOfKind(unit, CKovLine::CIRCLE);
    CKovLine& arc = addFigureOfKind(unit, CKovLine::ARC);
    auto image = std::make_unique<CKovImage>();
    image->ImageID = 1;
    image->m_rcDrawn = {5, 6, 25, 36};
    unit.m_Images.Add(std::move(image));
    sel.AddWallId(wall.MWallID);
    sel.AddWallId(grouped.MWallID);  // stands for by its group: no grips of its own
    sel.AddLineId(circle.MLineID);
    sel.AddLineId(arc.MLineID);
    sel.AddLineId(555);  // not found
    sel.AddImageId(1);
    EXPECT_EQ(marks(), (std::vector<std::string>{"10,10:0xD87EDA", "90,10:0xD87EDA", "50,50:0x000000",
                                                 "50,50:0x000000", "80,50:0x000000", "50,20:0x000000",
                                                 "5,6:0x000000", "5,36:0x000000", "25,36:0x000000",
                                                 "25,6:0x000000"}));
}

TEST_F(SelectionMarksTest, TextCornersAndHandlesWithABlackOnePixelLine)
{
    auto t = std::make_unique<CKovText>();
    t->MTextID = 3;
    t->MTextstr = "ABCD";  // fake metrics at 20 px: 40 × 20
    t->MTextpnt = CDbPoint(100, 100);
    t->MTextFontMenu.m_size = 5;
    unit.m_Texts.Add(std::move(t));
    sel.AddTextId(3);
    EXPECT_EQ(marks(), (std::vector<std::string>{"100,100:0x000000", "100,120:0x000000", "140,120:0x000000",
                                                 "140,100:0x000000", "166,100:0x00FF00", "100,100:0xFF0000"}));
    const RecordedCall* line = nullptr;
    for (const RecordedCall& c : s.calls())
        if (c.op == "line") line = &c;
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->points, (std::vector<DevicePoint>{{140, 100}, {166, 100}}));
    EXPECT_EQ(line->pen.width, 1);
    EXPECT_EQ(line->pen.style, kov::platform::PenStyle::Solid);
    EXPECT_EQ(hex(line->pen.color), "0x000000");

    // Vertical writing: the column runs down from the anchor and the lines lie to its left; no handles.
    CKovText& text = *unit.m_Texts[0];
    text.MTextFontMenu.lfFaceName = "@ＭＳ ゴシック";
    text.MTextFontMenu.lfEscapement = 2700;
    EXPECT_EQ(marks(), (std::vector<std::string>{"100,100:0x000000", "80,100:0x000000", "80,140:0x000000",
                                                 "100,140:0x000000"}));
    // Grouped texts show their group's grips only.
    text.MTextGrpID = 9;
    EXPECT_TRUE(marks().empty());
}

} // namespace
