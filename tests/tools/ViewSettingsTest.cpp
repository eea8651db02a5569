// The view's tool settings and the option panels' values: every key with its default, numbers
// stored as locale-free text, what the view writes back, and the panels' small rules.

#include "tools/ViewSettings.h"

#include "platform/Profile.h"

#include <gtest/gtest.h>

namespace {

using kov::platform::MemoryProfile;
using kov::tools::ViewToolSettings;

TEST(ViewToolSettings, EveryKeyReadsItsDefaultFromAnEmptyStore)
{
    MemoryProfile empty;
    ViewToolSettings s;
    s.tool_nagasa = s.tool_hankeikotei_atai_arc = -1;
    s.ritutakasa.fill(-1);
    s.Load(empty);
    struct Row {
        const char* key;
        double value;
    };
    const Row rows[] = {
        {"tool_nagasa", s.tool_nagasa},       {"tool_hukusen", s.tool_hukusen},
        {"tool_nisen_l", s.tool_nisen_l},     {"tool_nisen_r", s.tool_nisen_r},
        {"tool_hankeikotei_atai", s.tool_hankeikotei_atai}, {"tool_hankeikotei_check", double(s.tool_hankeikotei_check)},
        {"tool_nijyuusen_rbunkatu", double(s.tool_nijyuusen_rbunkatu)}, {"tool_tateg_habatype", double(s.tool_tateg_habatype)},
        {"tool_tateg_habaedit", s.tool_tateg_habaedit}, {"tool_tateg_atumitype", double(s.tool_tateg_atumitype)},
        {"tool_tateg_atumiedit", s.tool_tateg_atumiedit}, {"tool_tateg_color", double(s.tool_tateg_color)},
        {"mentori_kakuatai", s.mentori_kakuatai}, {"mentori_maruatai", s.mentori_maruatai},
        {"mentori_l1atai", s.mentori_l1atai},   {"mentori_l2atai", s.mentori_l2atai},
    };
    const auto& keys = ViewToolSettings::Keys();
    ASSERT_EQ(keys.size(), std::size(rows) + 2 * ViewToolSettings::kElevationFittings);
    const double expected[] = {50, 50, 50, 50, 1000, 0, 24, 0, 810, 0, 100, 0, 300, 300, 300, 300};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(keys[i].key, rows[i].key);
        EXPECT_EQ(rows[i].value, expected[i]) << rows[i].key;
    }
    EXPECT_EQ(s.tool_hankeikotei_atai_arc, 1000);
    EXPECT_EQ(s.ritutakasa, (std::array<double, 12>{1830, 2500, 900, 2500, 2500, 900, 900, 900, 900, 900, 900, 900}));
    EXPECT_EQ(s.ritutoritakasa, (std::array<double, 12>{50, 0, 900, 0, 0, 900, 900, 900, 900, 900, 900, 900}));
    EXPECT_EQ(keys[16].key, "tool_tateg_ritutakasaedit_1");
    EXPECT_EQ(keys.back().key, "tool_tateg_ritutoritakasaedit_12");
}

TEST(ViewToolSettings, StoredNumbersAreLocaleFreeTextAndOnlyFittingsAreWrittenBack)
{
    MemoryProfile store;
    store.WriteProfileString("KOV_T_UTILITY", "tool_nisen_l", "12.5");
    store.WriteProfileString("KOV_T_UTILITY", "tool_hankeikotei_atai", "abc"); // no number reads as 0
    store.WriteProfileInt("KOV_T_UTILITY", "tool_nijyuusen_rbunkatu", 8);
    store.WriteProfileString("KOV_T_UTILITY", "tool_tateg_ritutakasaedit_12", "2000.25");
    ViewToolSettings s;
    s.Load(store);
    EXPECT_EQ(s.tool_nisen_l, 12.5);
    EXPECT_EQ(s.tool_hankeikotei_atai, 0);
    EXPECT_EQ(s.tool_hankeikotei_atai_arc, 0);
    EXPECT_EQ(s.tool_nijyuusen_rbunkatu, 8);
    EXPECT_EQ(s.ritutakasa[11], 2000.25);

    MemoryProfile out;
    s.tool_tateg_habaedit = 780.126;
    s.tool_tateg_color = 3;
    s.ritutoritakasa[0] = 75;
    s.SaveFittingsAndElevations(out);
    EXPECT_EQ(out.GetProfileString("KOV_T_UTILITY", "tool_tateg_habaedit", ""), "780.13");
    EXPECT_EQ(out.GetProfileInt("KOV_T_UTILITY", "tool_tateg_color", -1), 3);
    EXPECT_EQ(out.GetProfileString("KOV_T_UTILITY", "tool_tateg_ritutoritakasaedit_1", ""), "75.00");
    EXPECT_EQ(out.GetProfileString("KOV_T_UTILITY", "tool_tateg_ritutakasaedit_12", ""), "2000.25");
    EXPECT_EQ(out.GetProfileString("KOV_T_UTILITY", "tool_nisen_l", "unwritten"), "unwritten");
}

TEST(ToolPanels, StairsRecordRoundTripsWithItsDefaults)
{
    MemoryProfile store;
    kov::tools::StairsSettings s;
    s.Load(store);
    EXPECT_EQ(s.kaidan_mode, 1);
    EXPECT_EQ(s.kaidan_dansuu, 5);
    EXPECT_EQ(s.kaidan_dan1, 150);
    EXPECT_EQ(s.kaidan_nakanuri, 1);
    EXPECT_EQ(s.kaidan_nakacolor, 0xFFFFFFu);
    s.kaidan_mode = 4;
    s.kaidan_dan1 = 182.5;
    s.kaidan_nakacolor = 0x80FF00;
    s.Save(store);
    kov::tools::StairsSettings back;
    back.Load(store);
    EXPECT_EQ(back.kaidan_mode, 4);
    EXPECT_EQ(back.kaidan_dan1, 182.5);
    EXPECT_EQ(back.kaidan_nakacolor, 0x80FF00u);
}

TEST(ToolPanels, DecoratedTextStartsFromTheDocumentFontAndWritesVertically)
{
    MemoryProfile store;
    store.WriteProfileString("KOV_T_PlotMenu", "text_huchiatsumi", "2.5");
    CFontMenu doc;
    doc.lfFaceName = "IPAGothic";
    kov::tools::DecoratedTextValues v;
    v.Start(doc, store);
    EXPECT_EQ(v.font.m_size, 10);
    EXPECT_EQ(v.frameThickness, 2.5);
    EXPECT_EQ(v.textColour, 0xFFFFFFu);
    EXPECT_EQ(v.frameColour, 0u);
    EXPECT_EQ(v.slant, 5);
    EXPECT_EQ(v.framesOnly, 1);
    // Typing 0.5 passes through 0: from 0 up, thin frames are taken.
    EXPECT_FALSE(v.SetFrameThickness(-0.1));
    EXPECT_TRUE(v.SetFrameThickness(0));
    EXPECT_TRUE(v.SetFrameThickness(0.05));
    EXPECT_FALSE(v.SetFrameThickness(21.5));
    EXPECT_TRUE(v.SetFrameThickness(21));
    EXPECT_EQ(v.frameThickness, 21);
    v.SetVertical(true);
    v.SetVertical(true);
    EXPECT_EQ(v.font.lfFaceName, "@IPAGothic");
    EXPECT_EQ(v.font.lfEscapement, 2700);
    v.SetVertical(false);
    EXPECT_EQ(v.font.lfFaceName, "IPAGothic");
    EXPECT_EQ(v.font.lfEscapement, 0);
}

TEST(ToolPanels, BalloonScaleAndArcButtonRules)
{
    using kov::tools::BalloonValues;
    const BalloonValues opened;
    EXPECT_EQ(BalloonValues::ShapeLabel(opened.shape), "角丸四角");
    EXPECT_EQ(BalloonValues::SideLabel(opened.tailSide), "下");
    EXPECT_EQ(opened.tailPosition, 1);
    EXPECT_EQ(BalloonValues::PositionLabels(BalloonValues::BOTTOM), (std::array<std::string_view, 3>{"左端", "中", "右端"}));
    EXPECT_EQ(BalloonValues::PositionLabels(BalloonValues::TOP), (std::array<std::string_view, 3>{"右", "中", "左"}));
    EXPECT_EQ(BalloonValues::PositionLabels(BalloonValues::LEFT), (std::array<std::string_view, 3>{"上", "中", "下"}));
    EXPECT_EQ(BalloonValues::PositionLabels(BalloonValues::RIGHT), (std::array<std::string_view, 3>{"下", "中", "上"}));
    BalloonValues ellipse;
    ellipse.shape = BalloonValues::ELLIPSE;
    EXPECT_FALSE(ellipse.PositionsEnabled());

    EXPECT_EQ(kov::tools::AcceptedScale(0.01, 100), 0.01);
    EXPECT_EQ(kov::tools::AcceptedScale(9999.5, 100), 9999.5);
    EXPECT_EQ(kov::tools::AcceptedScale(10000, 100), 100);
    EXPECT_EQ(kov::tools::AcceptedScale(0.009, 100), 100);

    int arc = 0;
    EXPECT_EQ(kov::tools::ToggleArcSegment(arc, 1), kov::tools::kArcNeedsTwoPointsMessage);
    EXPECT_EQ(arc, 0);
    EXPECT_TRUE(kov::tools::ToggleArcSegment(arc, 2).empty());
    EXPECT_EQ(arc, 1);
    EXPECT_TRUE(kov::tools::ToggleArcSegment(arc, 0).empty());
    EXPECT_EQ(arc, 0);
}

} // namespace
