// The order in which the passes draw a layer's kinds, which layers and objects they leave out,
// and the passes under and over a drag. Every object stands in its own band of 100 device pixels,
// so a recorded call tells which object drew it.

#include "DrawerTestSupport.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <map>

using namespace kov::test::drawers;
using kov::platform::DeviceProperties;
using kov::platform::RecordingSurface;

namespace {

constexpr double kPaperScale = 4.0;

// The objects of the fixture, one per band, all on layer (0, 3).
struct Layer3 {
    int room = 0, roomPolygon = 0, wall = 0, column = 0, through = 0, figure = 0, text = 0, picture = 0, group = 0;
};

const char* const kBandNames[] = {"room", "wall", "column", "through", "figure", "text", "picture", "other",
                                  "other2", "other3"};

void onLayer(CKovLine& f, int g, int l) { f.MLineLayer1 = g, f.MLineLayer2 = l; }
void onLayer(CKovWall& w, int g, int l) { w.MWallLayer1 = g, w.MWallLayer2 = l; }

// A picture file the picture drawer can read, named as the temporary file of the picture.
void addPicture(CKovUnit& unit, const std::filesystem::path& folder, double centreX, int layerGroup, int layer)
{
    auto image = std::make_unique<CKovImage>();
    image->ImageID = unit.NextImageId();
    image->ImageName = (folder / ("temp" + std::to_string(image->ImageID) + ".bmp")).string();
    image->IMGImagetype = 2;
    QImage pixels(8, 8, QImage::Format_RGB32);
    pixels.fill(Qt::darkCyan);
    pixels.save(QString::fromStdString((folder / ("temp" + std::to_string(image->ImageID) + ".png")).string()));
    image->OffsetX = centreX / kPaperScale;
    image->OffsetY = 50 / kPaperScale;
    image->ImageWidth = image->ImageHeight = 40 / kPaperScale;
    image->IMGLayer1 = layerGroup;
    image->IMGLayer2 = layer;
    unit.m_Images.Add(std::move(image));
}

Layer3 buildLayer3(CKovUnit& unit, const std::filesystem::path& folder)
{
    Layer3 ids;
    // Array order is deliberately not drawing order: the text and the picture come first.
    auto text = std::make_unique<CKovText>();
    text->MTextID = ids.text = unit.NextTextId();
    text->MTextstr = "AB";
    text->MTextpnt = {520, 40};
    text->MTextLayer2 = 3;
    unit.m_Texts.Add(std::move(text));
    addPicture(unit, folder, 650, 0, 3);

    CKovLine& figure = addFigure(unit, CKovLine::RECTANGLE, {{410, 20}, {480, 20}, {480, 80}, {410, 80}});
    onLayer(figure, 0, 3);
    ids.figure = figure.MLineID;
    CKovWall& column = addColumn(unit, {250, 50}, 10, 10, CKovWall::STOREY_COLUMN);
    onLayer(column, 0, 3);
    ids.column = column.MWallID;
    CKovWall& through = addColumn(unit, {350, 50}, 4, 4, CKovWall::THROUGH_COLUMN);
    onLayer(through, 0, 3);
    ids.through = through.MWallID;
    CKovWall& wall = addWall(unit, {120, 50}, {180, 50}, 5);
    onLayer(wall, 0, 3);
    ids.wall = wall.MWallID;

    CKovLine& floor = addFigure(unit, CKovLine::POLYGON, {{10, 10}, {90, 10}, {90, 90}, {10, 90}});
    onLayer(floor, 0, 3);
    floor.MLinebNakanuri = 1;
    ids.roomPolygon = floor.MLineID;
    auto room = std::make_unique<CKovGroup>();
    room->MGrpID = ids.room = unit.NextGroupId();
    room->MGrpRoom = CKovGroup::ROOM;
    room->MGrpLayer2 = 3;
    room->MGrpLineID = {floor.MLineID};
    floor.MLineGrpID = room->MGrpID;
    unit.m_Groups.Add(std::move(room));
    return ids;
}

// The bands of the recorded calls in order, runs of one band counted once: "room wall ...".
std::string bands(const RecordingSurface& s)
{
    std::string out;
    int last = -1;
    for (const auto& c : s.calls()) {
        int x;
        if (!c.points.empty()) x = c.points.front().x;
        else if (c.op == "setClipRect" || c.op == "clearClip") continue;
        else x = c.rect.normalized().left;
        const int band = std::clamp(x / 100, 0, 9);
        if (band == last) continue;
        last = band;
        out += (out.empty() ? "" : " ") + std::string(kBandNames[band]);
    }
    return out;
}

struct PassFixture {
    kov::test::TempFolder folder;
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    CKovUnit::DrawEnvironment env;
    DeviceTransform t = pixelTransform(kPaperScale);
    Layer3 ids;

    PassFixture()
    {
        plot.PlotWallBlack = 1;  // walls as one black polygon: one call each
        ids = buildLayer3(unit, folder.path());
    }
    ~PassFixture() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }

    std::string all(bool output = false, const DeviceProperties& props = {})
    {
        RecordingSurface s(props);
        unit.DrawAllByLayer(s, t, plot, selection, false, output, env);
        return bands(s);
    }
};

} // namespace

TEST(DrawPasses, OrderOfKindsOnOneLayer)
{
    struct Row {
        const char* name;
        int picturesBelow;
        bool tracing;
        bool output;
        const char* order;
    };
    const Row rows[] = {
        {"pictures on top", 0, false, false, "room wall column through figure through text picture"},
        {"pictures below", 1, false, false, "picture room wall column through figure through text"},
        {"tracing puts pictures below", 0, true, false, "picture room wall column through figure through text"},
        {"tracing belongs to the screen", 0, true, true, "room wall column through figure through text picture"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PassFixture f;
        f.env.picturesBelow = row.picturesBelow;
        f.env.traceMode = row.tracing;
        EXPECT_EQ(f.all(row.output), row.order);
    }
}

TEST(DrawPasses, LayersAndPicturesOfLayerZero)
{
    PassFixture f;
    // A figure on layer 2 later in the array is drawn before everything of layer 3; one on layer
    // group 1 after all of layer group 0.
    CKovLine& early = addFigure(f.unit, CKovLine::LINE, {{710, 10}, {790, 90}});
    onLayer(early, 0, 2);
    CKovLine& late = addFigure(f.unit, CKovLine::LINE, {{810, 10}, {890, 90}});
    onLayer(late, 1, 0);
    addPicture(f.unit, f.folder.path(), 950, 0, 0);
    EXPECT_EQ(f.all(), "other3 other room wall column through figure through text picture other2");

    // Below, the layer-0 picture belongs to the background pass, never to the layer pass.
    f.env.picturesBelow = 1;
    EXPECT_EQ(f.all(), "other picture room wall column through figure through text other2");
    RecordingSurface background;
    f.unit.DrawBackgroundImages(background, f.t, f.plot, f.selection, false, false, f.env, true);
    EXPECT_EQ(bands(background), "other3");

    f.plot.m_Layer.m_GrpLayerInfo[0].m_nType = CLayerInfo::LAYER_HIDDEN;
    background.clear();
    f.unit.DrawBackgroundImages(background, f.t, f.plot, f.selection, false, false, f.env, true);
    EXPECT_EQ(bands(background), "");
    EXPECT_EQ(f.all(), "other2");

    f.plot.m_Layer.m_GrpLayerInfo[0].m_nType = CLayerInfo::LAYER_VISIBLE;
    f.plot.m_Layer.m_LayerInfo[0][3].m_nType = CLayerInfo::LAYER_HIDDEN;
    EXPECT_EQ(f.all(), "other other2");
}

TEST(DrawPasses, GroupMembershipRules)
{
    PassFixture f;
    // A figure whose group lies on another layer, one whose group is gone, and the wall of a room
    // (drawn with the room, before the layer's walls).
    auto elsewhere = std::make_unique<CKovGroup>();
    elsewhere->MGrpID = f.unit.NextGroupId();
    elsewhere->MGrpLayer2 = 5;
    CKovLine& stray = addFigure(f.unit, CKovLine::LINE, {{710, 10}, {790, 90}});
    onLayer(stray, 0, 3);
    stray.MLineGrpID = elsewhere->MGrpID;
    elsewhere->MGrpLineID = {stray.MLineID};
    f.unit.m_Groups.Add(std::move(elsewhere));
    CKovLine& orphan = addFigure(f.unit, CKovLine::LINE, {{810, 10}, {890, 90}});
    onLayer(orphan, 0, 3);
    orphan.MLineGrpID = 999;
    CKovWall& roomWall = addWall(f.unit, {20, 95}, {80, 95}, 3);
    onLayer(roomWall, 0, 3);
    roomWall.MWallGrpID = f.ids.room;
    f.unit.FindGroup(f.ids.room)->MGrpWallID = {roomWall.MWallID};
    // A circle of the room is never drawn.
    CKovLine& circle = addFigure(f.unit, CKovLine::CIRCLE, {{950, 50}}, {20});
    onLayer(circle, 0, 3);
    circle.MLineGrpID = f.ids.room;
    f.unit.FindGroup(f.ids.room)->MGrpLineID.push_back(circle.MLineID);

    EXPECT_EQ(f.all(), "room wall column through figure through text picture");
}

TEST(DrawPasses, UnderAndOverADrag)
{
    PassFixture f;
    // Selected: the figure, the text, the wall, the picture, and a figure on another layer than
    // the current one.
    CKovLine& other = addFigure(f.unit, CKovLine::LINE, {{710, 10}, {790, 90}});
    onLayer(other, 2, 7);
    f.selection.AddLineId(f.ids.figure);
    f.selection.AddLineId(other.MLineID);
    f.selection.AddWallId(f.ids.wall);
    f.selection.AddImageId(f.unit.m_Images[0]->ImageID);
    f.selection.AddTextId(f.ids.text);

    RecordingSurface under;
    f.unit.DrawUnselectedByLayer(under, f.t, f.plot, f.selection, false, false, f.env);
    EXPECT_EQ(bands(under), "room column through");

    RecordingSurface over;
    f.unit.DrawSelected(over, f.t, f.plot, f.selection, false, false, f.env);
    // The figure off the current layer is drawn too, or it would vanish while dragged.
    const std::string drawn = bands(over);
    EXPECT_EQ(drawn.substr(0, std::string("wall figure other text picture").size()), "wall figure other text picture")
        << drawn;
}

TEST(DrawPasses, PlacingLeavesOutTheLastGroup)
{
    PassFixture f;
    auto placed = std::make_unique<CKovGroup>();
    placed->MGrpID = f.unit.NextGroupId();
    placed->MGrpLayer2 = 3;
    f.unit.FindLine(f.ids.figure)->MLineGrpID = placed->MGrpID;
    f.unit.FindWall(f.ids.wall)->MWallGrpID = placed->MGrpID;
    f.unit.FindWall(f.ids.through)->MWallGrpID = placed->MGrpID;
    placed->MGrpLineID = {f.ids.figure};
    placed->MGrpWallID = {f.ids.wall, f.ids.through};
    f.selection.AddGroupId(placed->MGrpID);
    f.unit.m_Groups.Add(std::move(placed));

    RecordingSurface s;
    f.unit.DrawAllByLayer(s, f.t, f.plot, f.selection, true, false, f.env);
    EXPECT_EQ(bands(s), "room column text picture");
}

TEST(DrawPasses, ObjectsOutsideTheVisibleAreaAreNotTouched)
{
    PassFixture f;
    DeviceProperties props;
    props.area = {0, 0, 150, 200};
    EXPECT_EQ(f.all(false, props), "room wall");
    props.area = {0, 0, 2000, 200};
    RecordingSurface s(props);
    s.setClipRect({400, 0, 403, 200});  // only near the figure's left edge
    f.unit.DrawAllByLayer(s, f.t, f.plot, f.selection, false, false, f.env);
    EXPECT_EQ(bands(s), "figure");
    // Zoomed so far that only the inside of the room floor shows: the floor is still drawn.
    props.area = {0, 0, 100, 100};
    f.t = kov::test::uniformTransform(40.0, kPaperScale, -40 * 50, -40 * 50);
    EXPECT_EQ(f.all(false, props), "room");
}

TEST(DrawPasses, EmptyDrawingDrawsNothing)
{
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    selection.AddLineId(5);
    CKovUnit::DrawEnvironment env;
    RecordingSurface s;
    unit.DrawAllByLayer(s, pixelTransform(), plot, selection, false, false, env);
    EXPECT_TRUE(s.calls().empty());
}

TEST(DrawPasses, SelectionMarksOverEveryShownLayerOnTheScreenOnly)
{
    PassFixture f;
    CKovLine& other = addFigure(f.unit, CKovLine::LINE, {{710, 10}, {790, 90}});
    onLayer(other, 2, 7);
    f.selection.AddLineId(f.ids.figure);
    // One grip at the figure's first corner per shown, non-empty layer: (0, 3) and (2, 7).
    auto grips = [&](bool output, bool placing) {
        RecordingSurface s;
        f.unit.DrawAllByLayer(s, f.t, f.plot, f.selection, placing, output, f.env);
        int n = 0;
        for (const auto& c : s.calls())
            n += c.op == "fillRect" && c.rect.left < 410 && c.rect.right > 410 && c.rect.top < 20 && c.rect.bottom > 20;
        return n;
    };
    EXPECT_EQ(grips(false, false), 2);
    EXPECT_EQ(grips(true, false), 0);
    EXPECT_EQ(grips(false, true), 0);
    f.plot.m_Layer.m_LayerInfo[2][7].m_nType = CLayerInfo::LAYER_HIDDEN;
    EXPECT_EQ(grips(false, false), 1);
}

TEST(DrawPasses, PartPreviewOrder)
{
    PassFixture f;
    // A dimension without a group comes after the figures of every group; a room's polygon is its
    // floor, drawn first; pictures never; no layer is looked at.
    CKovLine& dim = addFigure(f.unit, CKovLine::DIMENSION, {{710, 50}, {790, 50}, {750, 40}}, {1, 80, 10});
    onLayer(dim, 5, 5);
    auto plain = std::make_unique<CKovGroup>();
    plain->MGrpID = f.unit.NextGroupId();
    CKovLine& member = addFigure(f.unit, CKovLine::LINE, {{810, 10}, {890, 90}});
    member.MLineGrpID = plain->MGrpID;
    plain->MGrpLineID = {member.MLineID};
    f.unit.m_Groups.Add(std::move(plain));
    f.plot.m_Layer.m_GrpLayerInfo[0].m_nType = CLayerInfo::LAYER_HIDDEN;

    RecordingSurface s;
    f.unit.DrawPartPreview(s, f.t, f.plot, f.selection, false, false, f.env);
    EXPECT_EQ(bands(s), "room wall figure other2 other text");
}

// Drawing only reads: after an undo snapshot, no pass may give the live drawing its own copy of an
// object (each redraw would otherwise cost a whole drawing of memory per undo level).
TEST(DrawPasses, DrawingLeavesObjectsSharedWithASnapshot)
{
    PassFixture f;
    f.selection.AddLineId(f.ids.figure);
    f.selection.AddWallId(f.ids.wall);
    CKovUnit snapshot;
    snapshot.CopyFrom(f.unit);
    RecordingSurface s;
    const std::function<void()> passes[] = {
        [&] { f.unit.DrawAllByLayer(s, f.t, f.plot, f.selection, false, false, f.env); },
        [&] { f.unit.DrawUnselectedByLayer(s, f.t, f.plot, f.selection, false, false, f.env); },
        [&] { f.unit.DrawSelected(s, f.t, f.plot, f.selection, false, false, f.env); },
        [&] { f.unit.DrawBackgroundImages(s, f.t, f.plot, f.selection, false, false, f.env, true); },
        [&] { f.unit.DrawAllByLayer(s, f.t, f.plot, f.selection, true, true, f.env); },
    };
    for (std::size_t i = 0; i < std::size(passes); ++i) {
        passes[i]();
        EXPECT_TRUE(snapshot.SharesAllWith(f.unit)) << "pass " << i;
    }
    snapshot.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}
