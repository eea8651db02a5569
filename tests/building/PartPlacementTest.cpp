// The placement options on a part just inserted: colours, size, direction; the pointer's anchor
// and the palette's summary.

#include "LibraryFixtures.h"

#include "building/PartPlacement.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

using namespace kov::test;
using kov::building::PartPlacement;

namespace {

// A 600 × 300 part inserted and selected, as the palette leaves it.
struct Placed {
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord sel;
    int id = 0;
    explicit Placed(double angle = 0)
    {
        Drawing d;
        auto red = rect(0, 0, 600, 300);
        red->MLineColor = 0x0000FF;
        red->MLinebNakanuri = 1;
        red->MLineNakaColor = 0x0000FF;
        d.add(std::move(red));
        auto black = rect(100, 100, 200, 200);
        black->MLineNakaColor = 0;
        d.add(std::move(black));
        d.text(10, 10, 2.5, "x");
        d.unit.UpdateGroupBounds(*d.unit.m_Groups[0]);
        d.unit.m_Groups[0]->MGrpKakudo = angle;
        id = unit.InsertPartGroup(d.unit, plot);
        sel.AddGroupId(id);
    }
    ~Placed() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }
    const CKovGroup& group() const { return *unit.FindGroup(id); }
};

} // namespace

TEST(PartPlacement, SizesAndDirections)
{
    struct Case {
        const char* name;
        PartPlacement options;
        CDbPoint max;
        double angle;
    };
    auto opts = [](int muki, const char* angle, int mode, const char* fx, const char* fy, const char* sx, const char* sy) {
        PartPlacement p;
        p.buhin_haiti_muki = muki;
        p.buhin_haiti_mukikakudo = angle;
        p.buhin_haiti_ookisa = mode;
        p.buhin_haiti_ookisa_bai_y = fx;
        p.buhin_haiti_ookisa_bai_t = fy;
        p.buhin_haiti_ookisa_kazu_y = sx;
        p.buhin_haiti_ookisa_kazu_t = sy;
        return p;
    };
    const Case cases[] = {
        {"as drawn", opts(1, "0", 1, "1", "1", "1000", "1000"), {600, 300}, 0},
        {"by sizes", opts(1, "0", 2, "1", "1", "1200", "150"), {1200, 150}, 0},
        {"by factors", opts(1, "0", 1, "1.5", "2", "0", "0"), {900, 600}, 0},
        {"left 90", opts(2, "0", 1, "1", "1", "1000", "1000"), {300, 600}, 90},
        {"right 90", opts(3, "0", 1, "1", "1", "1000", "1000"), {300, 600}, 270},
        {"half a turn", opts(4, "0", 1, "1", "1", "1000", "1000"), {600, 300}, 180},
        {"by an angle", opts(7, "45", 1, "1", "1", "1000", "1000"), {636.396, 636.396}, 45},
        {"upside down", opts(5, "0", 1, "1", "1", "1000", "1000"), {600, 300}, 180},
        {"size first, then turned", opts(2, "0", 2, "1", "1", "1200", "150"), {150, 1200}, 90},
    };
    for (const Case& c : cases) {
        Placed p;
        ASSERT_EQ(p.unit.PlacePart(p.sel, p.plot, c.options), 1) << c.name;
        EXPECT_NEAR(p.group().MGrpmin.x, 0, 1e-3) << c.name;
        EXPECT_NEAR(p.group().MGrpmin.y, 0, 1e-3) << c.name;
        EXPECT_NEAR(p.group().MGrpmax.x, c.max.x, 1e-3) << c.name;
        EXPECT_NEAR(p.group().MGrpmax.y, c.max.y, 1e-3) << c.name;
        EXPECT_NEAR(p.group().MGrpKakudo, c.angle, 1e-9) << c.name;
    }
    // A part stored at 300 degrees turned left by 90 ends at 30.
    Placed turned(300);
    PartPlacement left;
    left.buhin_haiti_muki = 2;
    ASSERT_EQ(turned.unit.PlacePart(turned.sel, turned.plot, left), 1);
    EXPECT_NEAR(turned.group().MGrpKakudo, 30, 1e-9);
}

TEST(PartPlacement, RefusalsChangeNothing)
{
    struct Case {
        const char* name;
        int mode;
        const char* sx;
        int selectedCount;
    };
    const Case cases[] = {
        {"no size", 2, "0", 1},
        {"negative size", 2, "-5", 1},
        {"two selected", 1, "1000", 2},
        {"nothing selected", 1, "1000", 0},
    };
    for (const Case& c : cases) {
        Placed p;
        PartPlacement o;
        o.buhin_haiti_ookisa = c.mode;
        o.buhin_haiti_ookisa_kazu_y = c.sx;
        if (c.selectedCount == 2) p.sel.AddLineId(1);
        if (c.selectedCount == 0) p.sel.Clear();
        EXPECT_EQ(p.unit.PlacePart(p.sel, p.plot, o), 0) << c.name;
        EXPECT_NEAR(p.group().MGrpmax.x, 600, 1e-9) << c.name;
    }
}

TEST(PartPlacement, BlackAndWhite)
{
    Placed p;
    PartPlacement o;
    o.buhin_color_sirokuro = 1;
    ASSERT_EQ(p.unit.PlacePart(p.sel, p.plot, o), 1);
    const CKovLine& red = *p.unit.FindLine(p.group().MGrpLineID[0]);
    EXPECT_EQ(red.MLineColor, 0u);
    EXPECT_EQ(red.MLineNakaColor, 0xFFFFFFu);
    EXPECT_EQ(red.MLineNakaColor2, 0xFFFFFFu);
    EXPECT_EQ(p.unit.FindLine(p.group().MGrpLineID[1])->MLineNakaColor, 0u);
    const CKovText& t = *p.unit.FindText(p.group().MGrpTextID[0]);
    EXPECT_EQ(t.MTextFontMenu.m_Color, 0u);
    EXPECT_EQ(t.MTextFontMenu.m_BackColor, 0xFFFFFFu);
}

TEST(PartPlacement, FlippingAPartWithWallsResetsTheWallsOfTheLayerGroup)
{
    for (bool withWalls : {false, true}) {
        Placed p;
        // A wall outside the part, its outline cut short by an earlier join.
        auto wall = std::make_unique<CKovWall>();
        wall->MWallID = p.unit.NextWallId();
        wall->MWallPntA = {0, 1000};
        wall->MWallPntB = {1000, 1000};
        const int other = wall->MWallID;
        p.unit.m_Walls.Add(std::move(wall));
        p.unit.UpdateWallCorners(other);
        p.unit.ResetWallOutline(other);
        p.unit.FindWall(other)->MWallarPntA.pop_back();
        if (withWalls) p.unit.FindGroup(p.id)->MGrpWallID.push_back(other);
        PartPlacement o;
        o.buhin_haiti_muki = 6;
        ASSERT_EQ(p.unit.PlacePart(p.sel, p.plot, o), 1);
        EXPECT_EQ(p.unit.FindWall(other)->MWallarPntA.size(), withWalls ? 4u : 3u);
    }
}

TEST(PartPlacement, AnchorAndSummary)
{
    PartPlacement p;
    struct Case {
        int position;
        CDbPoint anchor;
    };
    const Case cases[] = {{1, {0, 0}}, {2, {300, 0}}, {3, {600, 0}}, {5, {300, 150}}, {9, {600, 300}}, {0, {0, 0}}};
    for (const Case& c : cases) {
        p.haiti_mauseiti = c.position;
        EXPECT_EQ(p.Anchor(600, 300), c.anchor) << c.position;
    }
    PartPlacement s;
    EXPECT_EQ(s.Summary(), "回転なし\n横1倍\n縦1倍");
    s.buhin_haiti_ookisa_bai_y = "1.5";
    s.buhin_haiti_ookisa_bai_t = "2";
    s.buhin_haiti_muki = 7;
    s.buhin_haiti_mukikakudo = "45";
    EXPECT_EQ(s.Summary(), "45度回転\n横1.50倍\n縦2.00倍");
    s.buhin_haiti_ookisa = 2;
    s.buhin_haiti_muki = 9;
    EXPECT_EQ(s.Summary(), "\n横1000mm\n縦1000mm");

    // The reset leaves the size mode and the sizes.
    kov::platform::MemoryProfile profile;
    profile.WriteProfileInt("KOV_T_UTILITY", "buhin_haiti_ookisa", 2);
    profile.WriteProfileString("KOV_T_UTILITY", "buhin_haiti_ookisa_kazu_y", "1200");
    profile.WriteProfileInt("KOV_T_UTILITY", "buhin_haiti_muki", 3);
    profile.WriteProfileInt("KOV_T_UTILITY", "haiti_mauseiti", 5);
    PartPlacement::ResetInProfile(profile);
    const PartPlacement after = PartPlacement::FromProfile(profile);
    EXPECT_EQ(after.buhin_haiti_muki, 1);
    EXPECT_EQ(after.haiti_mauseiti, 1);
    EXPECT_EQ(after.buhin_haiti_ookisa, 2);
    EXPECT_EQ(after.buhin_haiti_ookisa_kazu_y, "1200");
}
