#include "edit/EditTexts.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Questions.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

using namespace kov::test;
using kov::platform::Answer;
using kov::platform::ScriptedQuestions;

namespace {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr std::uint32_t kWhite = 0xFFFFFF;

TEST(StyleChanges, MildGradientColor)
{
    struct Case {
        const char* name;
        std::uint32_t first, second, expected;
    } cases[] = {
        {"orange", rgb(255, 192, 0), kWhite, rgb(255, 223, 127)},
        {"dark red", rgb(128, 0, 0), kWhite, rgb(191, 127, 127)},
        {"black with a top byte", 0xFF000000, kWhite, rgb(127, 127, 127)},
        {"white second colour with a top byte counts as white", rgb(0, 0, 0), 0xFFFFFFFF, rgb(127, 127, 127)},
        {"any other second colour stays", rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 255, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CKovUnit::MildGradientColor(c.first, c.second), c.expected);
    }
}

struct Styled {
    CKovUnit unit;
    SelectionRecord selection;
    Styled()
    {
        CKovLine& white = addFigure(unit, 1, CKovLine::RECTANGLE, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
        white.MLinebNakanuri = 1;
        white.MLineNakaColor = kWhite;
        CKovLine& red = addFigure(unit, 2, CKovLine::POLYGON, {{0, 0}, {0, 1}, {1, 1}});
        red.MLinebNakanuri = 1;
        red.MLineNakaColor = rgb(255, 0, 0);
        addFigure(unit, 3, CKovLine::POLYGON, {{0, 0}, {0, 1}, {1, 1}}); // not filled
        CKovLine& floor = addFigure(unit, 4, CKovLine::POLYGON, {{0, 0}, {0, 1}, {1, 1}}, {}, 9);
        floor.MLinebNakanuri = 1;
        floor.MLineNakaColor = rgb(0, 0, 255);
        addGroup(unit, 9, {4}, {}, {}, CKovGroup::ROOM);
        addText(unit, 5, {0, 0});
        for (int id : {1, 2, 3})
            selection.AddLineId(id);
        selection.AddGroupId(9);
        selection.AddTextId(5);
    }
    const CKovLine& f(int id) { return *unit.FindLine(id); }
};

TEST(StyleChanges, ColoursByCode)
{
    const std::uint32_t orange = rgb(255, 192, 0);
    {
        SCOPED_TRACE("fill colour leaves white fills alone unless asked");
        Styled s;
        s.unit.SetSelectionColor(1, s.selection, orange, 0, 1);
        EXPECT_EQ(s.f(1).MLineNakaColor, kWhite);
        EXPECT_EQ(s.f(2).MLineNakaColor, orange);
        EXPECT_EQ(s.f(3).MLineNakaColor, kWhite);
        EXPECT_EQ(s.f(3).MLinebNakanuri, 0);
        // The room's floor follows with its mild second colour.
        EXPECT_EQ(s.f(4).MLineNakaColor, orange);
        EXPECT_EQ(s.f(4).MLineNakaColor2, rgb(255, 223, 127));
        EXPECT_EQ(s.f(2).MLineNakaColor2, kWhite);
        s.unit.SetSelectionColor(1, s.selection, orange, 1, 1);
        EXPECT_EQ(s.f(1).MLineNakaColor, orange);
    }
    {
        SCOPED_TRACE("line colour reaches texts, fill only the unfilled, then fill off");
        Styled s;
        s.unit.SetSelectionColor(0, s.selection, orange, 0, 1);
        EXPECT_EQ(s.f(4).MLineColor, orange);
        EXPECT_EQ(s.unit.FindText(5)->MTextFontMenu.m_Color, orange);
        s.unit.SetSelectionColor(2, s.selection, orange, 0, 1);
        EXPECT_EQ(s.f(2).MLineNakaColor, rgb(255, 0, 0));
        EXPECT_EQ(s.f(3).MLinebNakanuri, 1);
        EXPECT_EQ(s.f(3).MLineNakaColor, orange);
        s.unit.SetSelectionColor(3, s.selection, orange, 0, 1);
        EXPECT_EQ(s.f(2).MLinebNakanuri, 0);
        EXPECT_EQ(s.f(2).MLineNakaColor, rgb(255, 0, 0));
    }
    {
        SCOPED_TRACE("opacity of filled figures only");
        Styled s;
        s.unit.SetSelectionOpacity(s.selection, 40);
        EXPECT_EQ(s.f(2).MLineAlpha, 40);
        EXPECT_EQ(s.f(3).MLineAlpha, 100);
    }
}

TEST(StyleChanges, GradientCodes)
{
    struct Case {
        const char* name;
        int code, groupSize, before, after;
    } cases[] = {
        {"downward on no gradient", 5, 0, 0, 9001},
        {"downward keeps the mode", 5, 0, 4502, 9002},
        {"code 0 keeps the direction and switches on", 0, 0, 4500, 4501},
        {"off keeps the direction", 1, 0, 13501, 13500},
        {"rooms only: a plain figure stays", 2, 0, 13501, 13501},
        {"bottom-left to top-right", 10, 0, 1, 31501},
        {"group size needs exactly one group", 3, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Styled s;
        s.unit.FindLine(2)->MLineGradiation = c.before;
        s.unit.SetGradientDirection(s.selection, c.code, c.groupSize);
        EXPECT_EQ(s.f(2).MLineGradiation, c.after);
    }
    Styled s;
    SelectionRecord one;
    one.AddGroupId(9);
    s.unit.FindLine(4)->MLineGradiation = 9001;
    s.unit.SetGradientDirection(one, 3, 1);
    EXPECT_EQ(s.f(4).MLineGradiation, 9002);
    s.unit.SetGradientDirection(one, 2, 0);
    EXPECT_EQ(s.f(4).MLineGradiation, 9000);

    s.unit.FindLine(2)->MLineGradiation = 1;
    s.unit.MakeGradientMild(s.selection);
    EXPECT_EQ(s.f(2).MLineNakaColor2, rgb(255, 127, 127));
    // Any gradient value but 0 counts, a direction without a mode too.
    EXPECT_EQ(s.f(4).MLineNakaColor2, rgb(127, 127, 255));
}

TEST(AuxiliaryLines, DeletedAfterTheQuestionWithASnapshotFirst)
{
    auto build = [](CKovUnit& unit) {
        addFigure(unit, 1, CKovLine::LINE, {{0, 0}, {1, 1}}).MLineLineT = 5;
        addFigure(unit, 2, CKovLine::LINE, {{0, 0}, {1, 1}});
        addFigure(unit, 3, CKovLine::POLYGON, {{0, 0}, {1, 1}, {0, 1}}).MLineLineT = 5;
        addFigure(unit, 4, CKovLine::LINE, {{0, 0}, {1, 1}}, {}, 7).MLineLineT = 5;          // grouped
        addFigure(unit, 5, CKovLine::LINE, {{0, 0}, {1, 1}}, {}, 0, 0, 1).MLineLineT = 5; // other layer
    };
    CPlotInfo plot;
    {
        CKovUnit unit;
        build(unit);
        ScriptedQuestions questions;
        questions.reply(Answer::Ok, kov::edit::texts::kDeleteAuxLinesQuestion);
        int snapshots = 0;
        int figuresAtSnapshot = 0;
        EXPECT_EQ(unit.DeleteAuxLines(plot, questions, [&] {
            ++snapshots;
            figuresAtSnapshot = unit.m_Lines.GetSize();
        }), 2);
        EXPECT_EQ(snapshots, 1);
        EXPECT_EQ(figuresAtSnapshot, 5);
        ASSERT_EQ(unit.m_Lines.GetSize(), 3);
        EXPECT_EQ(unit.m_Lines[0]->MLineID, 2);
        EXPECT_EQ(unit.FindLine(4)->MLineID, 4);
    }
    {
        CKovUnit unit;
        build(unit);
        ScriptedQuestions questions;
        questions.reply(Answer::Cancel);
        int snapshots = 0;
        EXPECT_EQ(unit.DeleteAuxLines(plot, questions, [&] { ++snapshots; }), 0);
        EXPECT_EQ(snapshots, 0);
        EXPECT_EQ(unit.m_Lines.GetSize(), 5);
    }
    {
        SCOPED_TRACE("nothing to delete: no question");
        CKovUnit unit;
        addFigure(unit, 2, CKovLine::LINE, {{0, 0}, {1, 1}});
        ScriptedQuestions questions;
        EXPECT_EQ(unit.DeleteAuxLines(plot, questions, {}), 0);
    }
    {
        SCOPED_TRACE("the undo copy keeps sharing what was not deleted");
        CKovUnit unit;
        for (int id = 1; id <= 600; ++id)
            addFigure(unit, id, CKovLine::LINE, {{0, 0}, {1, 1}});
        CKovUnit copy;
        copy.CopyFrom(unit);
        ScriptedQuestions questions;
        EXPECT_EQ(unit.DeleteAuxLines(plot, questions, {}), 0);
        EXPECT_TRUE(unit.SharesAllWith(copy));
        unit.FindLine(600)->MLineLineT = 5;
        copy.CopyFrom(unit);
        questions.reply(Answer::Ok, kov::edit::texts::kDeleteAuxLinesQuestion);
        EXPECT_EQ(unit.DeleteAuxLines(plot, questions, {}), 1);
        EXPECT_EQ(std::as_const(unit).m_Lines[10], std::as_const(copy).m_Lines[10]);
    }
}

} // namespace
