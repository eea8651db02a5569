// The command states over small drawings: what a user sees enabled, ticked and radio-marked.

#include "app/CommandIds.h"
#include "app/CommandStates.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;

struct Fixture {
    CKovUnit unit;
    SelectionRecord selection;
    CommandContext context;
    Fixture()
    {
        context.unit = &unit;
        context.selection = &selection;
    }
    int text()
    {
        auto t = std::make_unique<CKovText>();
        t->MTextID = unit.NextTextId();
        const int id = t->MTextID;
        unit.m_Texts.Add(std::move(t));
        return id;
    }
    int group(int kind)
    {
        auto g = std::make_unique<CKovGroup>();
        g->MGrpID = unit.NextGroupId();
        g->MGrpRoom = kind;
        const int id = g->MGrpID;
        unit.m_Groups.Add(std::move(g));
        return id;
    }
    void picture()
    {
        auto i = std::make_unique<CKovImage>();
        i->ImageID = unit.NextImageId();
        unit.m_Images.Add(std::move(i));
    }
    void figure() { kov::test::addFigure(unit, unit.NextLineId(), CKovLine::LINE, {{0, 0}, {10, 0}}); }
    void wall()
    {
        auto w = std::make_unique<CKovWall>();
        w->MWallID = unit.NextWallId();
        unit.m_Walls.Add(std::move(w));
    }
};

using Arrange = std::function<void(Fixture&)>;

struct Case {
    const char* name;
    Arrange setup;
    int command;
    bool enabled;
    bool marked = false; // tick or radio
};

TEST(CommandStates, ConditionsOverSmallDrawings)
{
    const Arrange empty = [](Fixture&) {};
    const Arrange pictureOnly = [](Fixture& f) { f.picture(); };
    const Arrange twoTexts = [](Fixture& f) {
        f.selection.AddTextId(f.text());
        f.selection.AddTextId(f.text());
    };
    const Arrange groupOfTexts = [](Fixture& f) {
        f.text();
        f.text();
        f.selection.AddGroupId(f.group(0));
    };
    const Arrange oneWallSelected = [](Fixture& f) {
        f.wall();
        f.selection.AddWallId(1);
    };
    const Arrange oneRoom = [](Fixture& f) { f.selection.AddGroupId(f.group(1)); };
    const Arrange oneFitting = [](Fixture& f) { f.selection.AddGroupId(f.group(2)); };
    const Arrange danglingRoom = [](Fixture& f) { f.selection.AddGroupId(99); };
    const Arrange zoom = [](Fixture& f) { f.context.zoom = 18.0; };
    const Arrange zoom185 = [](Fixture& f) { f.context.zoom = 18.5; };
    const Arrange zoom1 = [](Fixture& f) { f.context.zoom = 1.0; };
    const Arrange zoomed2 = [](Fixture& f) { f.context.zoom = 2.0; };
    const Arrange zoomedInZoomMode = [](Fixture& f) {
        f.context.zoom = 2.0;
        f.context.zoomMode = 3;
    };
    const Arrange placingWithHistory = [](Fixture& f) {
        f.context.undoSize = 4;
        f.context.redoSize = 2;
        f.context.placing = 1;
    };
    const Arrange history = [](Fixture& f) {
        f.context.undoSize = 2;
        f.context.redoSize = 1;
    };
    const Arrange tangentTool = [](Fixture& f) {
        f.figure();
        f.selection.AddLineId(1);
        f.context.toolNumber = 24;
    };
    const Arrange wallTool = [](Fixture& f) { f.context.toolNumber = 1; };
    const Arrange lineTool = [](Fixture& f) { f.context.toolNumber = 3; };
    const Arrange figureDrawn = [](Fixture& f) { f.figure(); };
    const Arrange backupsOff = [](Fixture& f) { f.context.backupsOn = 0; };
    const Arrange gridHidden = [](Fixture& f) { f.context.gridShown = 0; };

    const Case cases[] = {
        {"empty: no picture export", empty, cmd::SaveImage, false},
        {"empty: no clipboard copy", empty, cmd::CopyAsPicture, false},
        {"empty: no DXF", empty, cmd::ExportDxf, false},
        {"empty: no own-format export", empty, cmd::ExportSibling, false},
        {"empty: undo off after a new drawing", empty, cmd::EditUndo, false},
        {"empty: nothing to delete", empty, cmd::Delete, false},
        {"empty: settings always", empty, cmd::Settings, true},
        {"picture only: picture export", pictureOnly, cmd::SaveRangeImage, true},
        {"picture only: no DXF", pictureOnly, cmd::ExportDxf, false},
        {"two texts: edit text", twoTexts, cmd::EditSelectedText, true},
        {"two texts: no group commands", twoTexts, cmd::MirrorLeftRight, false},
        {"group of texts: edit text", groupOfTexts, cmd::EditSelectedText, true},
        {"group of texts: ungroup", groupOfTexts, cmd::Ungroup, true},
        {"group of texts: not a room", groupOfTexts, cmd::MeasureRoomArea, false},
        {"one wall: no text edit", oneWallSelected, cmd::EditSelectedText, false},
        {"one wall: wall to lines", oneWallSelected, cmd::WallsToLines, true},
        {"one room: room area", oneRoom, cmd::MeasureRoomArea, true},
        {"one fitting: not a room", oneFitting, cmd::MeasureRoomArea, false},
        {"a selected group that is gone", danglingRoom, cmd::MeasureRoomArea, false},
        {"zoom 18: zoom in", zoom, cmd::ZoomIn, true},
        {"zoom 18.5: no zoom in", zoom185, cmd::ZoomIn, false},
        {"zoom 18.5: no range zoom", zoom185, cmd::RangeZoom, false},
        {"zoom 1: no zoom out", zoom1, cmd::ZoomOut, false},
        {"zoom 1: no fit all", zoom1, cmd::FitAll, false},
        {"zoom 1: no hand", zoom1, cmd::HandTool, false},
        {"zoom 2: hand", zoomed2, cmd::HandTool, true},
        {"zoom 2 in a zoom mode: no hand", zoomedInZoomMode, cmd::HandTool, false},
        {"placing: no undo whatever the stack", placingWithHistory, cmd::EditUndo, false},
        {"placing: no redo", placingWithHistory, cmd::EditRedo, false},
        {"history: undo", history, cmd::EditUndo, true},
        {"history: redo", history, cmd::EditRedo, true},
        {"tangent tool with one figure", tangentTool, cmd::ToolCircleTangent, true, true},
        {"wall tool: picture button off", wallTool, cmd::PanelImage, false},
        {"select mode: picture button on", empty, cmd::PanelImage, true},
        {"line tool marked", lineTool, cmd::ToolLine, true, true},
        {"line tool: rectangle unmarked", lineTool, cmd::ToolRectangle, true, false},
        {"no figures: line cut off", empty, cmd::ToolLineCut, false},
        {"a figure: line cut on", figureDrawn, cmd::ToolLineCut, true},
        {"backups off", backupsOff, cmd::OpenBackup, false},
        {"grid shown ticked", empty, cmd::GridShown, true, true},
        {"grid hidden unticked", gridHidden, cmd::GridShown, true, false},
    };
    for (const Case& c : cases) {
        Fixture f;
        c.setup(f);
        const CommandState s = EvaluateCommand(c.command, f.context);
        EXPECT_EQ(s.enabled, c.enabled) << c.name;
        EXPECT_EQ(s.checked || s.radio, c.marked) << c.name;
    }
}

TEST(CommandStates, CommandsWithoutARuleStayEnabled)
{
    Fixture f;
    const CommandState s = EvaluateCommand(cmd::AppExit, f.context);
    EXPECT_TRUE(s.enabled);
    EXPECT_FALSE(s.known);
    EXPECT_EQ(ToolNumberOfCommand(cmd::ToolBalloon), 68);
    EXPECT_EQ(ToolNumberOfCommand(cmd::Delete), -1);
}

} // namespace
