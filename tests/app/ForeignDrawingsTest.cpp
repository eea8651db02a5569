#include "app/ForeignDrawings.h"
#include "app/KoviraDoc.h"

#include "DocumentTestSupport.h"
#include "model/KovUnit.h"

#include <gtest/gtest.h>

using namespace kov::app;

namespace {

// A drawing of every kind of object, saved under `name` by another document.
struct ForeignFile {
    kov::test::DocumentRig source;
    std::filesystem::path path;

    explicit ForeignFile(const std::string& name)
    {
        CKovUnit& u = source.doc->m_Unit;
        auto group = [&](int id, int kind) {
            auto g = std::make_unique<CKovGroup>();
            g->MGrpID = id;
            g->MGrpRoom = kind;
            g->MGrpLayer1 = 1;
            g->MGrpLayer2 = 9;
            u.m_Groups.Add(std::move(g));
        };
        group(12, CKovGroup::ROOM);
        group(13, CKovGroup::FITTING);
        group(14, CKovGroup::BALCONY);
        auto line = [&](int id, int groupId, int kind, int lineType) {
            auto f = std::make_unique<CKovLine>();
            f->MLineID = id;
            f->MLineGrpID = groupId;
            f->MLineType = kind;
            f->MLineLineT = lineType;
            f->MLinePnt = {CDbPoint(0, 0), CDbPoint(id, 0)};
            f->MLineLayer1 = 3;
            f->MLineLayer2 = 7;
            u.m_Lines.Add(std::move(f));
        };
        line(2, 12, CKovLine::POLYGON, 0);   // room fill
        line(3, 13, CKovLine::LINE, 0);      // fitting
        line(4, 14, CKovLine::LINE, 0);      // balcony
        line(5, 99, CKovLine::LINE, 0);      // its group is missing
        line(6, 0, CKovLine::DIMENSION, 5);  // a dimension drawn in the auxiliary type is still a dimension
        line(7, 0, CKovLine::LINE, CKovLine::AUXILIARY_LINE_TYPE);
        line(8, 0, CKovLine::RECTANGLE, 0);
        auto text = [&](int id, int groupId) {
            auto t = std::make_unique<CKovText>();
            t->MTextID = id;
            t->MTextGrpID = groupId;
            t->MTextstr = "t";
            t->MTextLayer1 = 2;
            t->MTextLayer2 = 8;
            u.m_Texts.Add(std::move(t));
        };
        text(2, 12); // a room's label goes with the texts of groups, not with the room
        text(3, 0);
        auto wall = std::make_unique<CKovWall>();
        wall->MWallID = 2;
        wall->MWallLayer1 = 4;
        wall->MWallLayer2 = 11;
        u.m_Walls.Add(std::move(wall));
        source.addPicture(3, 6, 12);

        CLayer& layers = source.doc->m_PlotInfo.m_Layer;
        layers.m_dScale[0] = 50;
        layers.m_dScale[2] = 100;
        layers.m_LayerInfo[3][7].m_nType = CLayerInfo::LAYER_HIDDEN;
        layers.m_LayerInfo[3][7].m_strName = "隠し";
        layers.m_GrpLayerInfo[5].m_nType = CLayerInfo::LAYER_VISIBLE;
        layers.m_nCurrentGroup = 3;
        layers.m_nCurrentLayer = 7;
        path = source.file(name);
        EXPECT_EQ(source.doc->WriteDocumentFile(path), 1);
    }
};

TEST(ForeignDrawings, ASiblingFileOpensAsANewDrawingWithEverythingOnLayerZero)
{
    ForeignFile file("plan.qvt");
    kov::test::DocumentRig rig;
    rig.questions.acknowledge(kAllOnLayerZeroMessage);
    ASSERT_TRUE(OpenForeignToLayerZero(*rig.doc, file.path));

    const CKovUnit& u = rig.doc->m_Unit;
    ASSERT_EQ(u.m_Lines.GetSize(), 7);
    for (const auto& g : u.m_Groups) EXPECT_EQ(g->MGrpLayer1 * 100 + g->MGrpLayer2, 0);
    for (const auto& f : u.m_Lines) EXPECT_EQ(f->MLineLayer1 * 100 + f->MLineLayer2, 0);
    for (const auto& t : u.m_Texts) EXPECT_EQ(t->MTextLayer1 * 100 + t->MTextLayer2, 0);
    for (const auto& w : u.m_Walls) EXPECT_EQ(w->MWallLayer1 * 100 + w->MWallLayer2, 0);
    ASSERT_EQ(u.m_Images.GetSize(), 1);
    EXPECT_EQ(u.m_Images[0]->IMGLayer1 * 100 + u.m_Images[0]->IMGLayer2, 0);

    const CLayer& layers = rig.doc->m_PlotInfo.m_Layer;
    for (int g = 0; g < CLayer::kUsed; ++g) {
        EXPECT_EQ(layers.m_dScale[std::size_t(g)], 50) << "group " << g;
        EXPECT_EQ(layers.m_GrpLayerInfo[std::size_t(g)].m_nType, CLayerInfo::LAYER_SNAP);
        for (int l = 0; l < CLayer::kUsed; ++l)
            EXPECT_EQ(layers.m_LayerInfo[std::size_t(g)][std::size_t(l)].m_nType, CLayerInfo::LAYER_SNAP);
    }
    EXPECT_EQ(layers.m_LayerInfo[3][7].m_strName, "隠し") << "names stay";
    EXPECT_EQ(layers.m_nCurrentGroup, 0);
    EXPECT_EQ(layers.m_nCurrentLayer, 0);
    // Opened as a new drawing: no path, the new title, the recent list untouched.
    EXPECT_TRUE(rig.doc->GetPathName().empty());
    EXPECT_EQ(rig.doc->GetTitle(), kUntitledTitle);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_RecentList", "Recent1"), "");
}

TEST(ForeignDrawings, SortingIntoLayersByKind)
{
    ForeignFile file("plan.kvr");
    kov::test::DocumentRig rig;
    rig.questions.reply(kov::platform::Answer::Yes, kSplitLayersQuestion);
    ASSERT_TRUE(OpenKvrSplitLayers(*rig.doc, file.path));

    const CKovUnit& u = rig.doc->m_Unit;
    struct Case {
        const char* what;
        int layer;
        int expected;
    };
    const Case cases[] = {
        {"room group", u.FindGroup(12)->MGrpLayer2, 0},
        {"fitting group", u.FindGroup(13)->MGrpLayer2, 1},
        {"balcony group", u.FindGroup(14)->MGrpLayer2, 2},
        {"figure of the room", u.FindLine(2)->MLineLayer2, 0},
        {"figure of the fitting", u.FindLine(3)->MLineLayer2, 1},
        {"figure of the balcony", u.FindLine(4)->MLineLayer2, 2},
        {"figure of a missing group", u.FindLine(5)->MLineLayer2, 2},
        {"dimension line", u.FindLine(6)->MLineLayer2, 4},
        {"auxiliary line", u.FindLine(7)->MLineLayer2, 3},
        {"other figure", u.FindLine(8)->MLineLayer2, 2},
        {"text of the room", u.FindText(2)->MTextLayer2, 2},
        {"text of no group", u.FindText(3)->MTextLayer2, 5},
        {"wall", u.FindWall(2)->MWallLayer2, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.layer, c.expected) << c.what;
    // Layer groups stay as read.
    EXPECT_EQ(u.FindLine(2)->MLineLayer1, 3);
    EXPECT_EQ(u.FindText(2)->MTextLayer1, 2);
    EXPECT_EQ(u.FindWall(2)->MWallLayer1, 4);
    EXPECT_EQ(u.FindGroup(12)->MGrpLayer1, 1);
    ASSERT_EQ(u.m_Images.GetSize(), 1);
    EXPECT_EQ(u.m_Images[0]->IMGLayer1 * 100 + u.m_Images[0]->IMGLayer2, 612) << "pictures keep their layer";

    const CLayer& layers = rig.doc->m_PlotInfo.m_Layer;
    for (std::size_t g = 0; g < 3; ++g)
        for (std::size_t l = 0; l < 6; ++l) EXPECT_EQ(layers.m_LayerInfo[g][l].m_strName, kSplitLayerNames[l]);
    EXPECT_EQ(layers.m_LayerInfo[3][7].m_strName, "隠し");
    EXPECT_TRUE(rig.doc->GetPathName().empty());
}

TEST(ForeignDrawings, AnsweringNoLeavesTheDrawingAsRead)
{
    ForeignFile file("plan.kvr");
    kov::test::DocumentRig rig;
    rig.questions.reply(kov::platform::Answer::No, kSplitLayersQuestion);
    ASSERT_TRUE(OpenKvrSplitLayers(*rig.doc, file.path));
    kov::test::DocumentRig plain;
    ASSERT_EQ(plain.doc->OnOpenDocument(file.path), 1);
    EXPECT_EQ(rig.doc->m_PlotInfo.m_Layer, plain.doc->m_PlotInfo.m_Layer);
    for (const auto& f : rig.doc->m_Unit.m_Lines) EXPECT_EQ(f->MLineLayer1 * 100 + f->MLineLayer2, 307);
}

TEST(ForeignDrawings, AFileThatCannotBeReadAsksNothingFurther)
{
    kov::test::DocumentRig rig;
    rig.questions.acknowledge(); // the document's own report of the missing file
    EXPECT_FALSE(OpenForeignToLayerZero(*rig.doc, rig.file("missing.qvt")));
    rig.questions.acknowledge();
    EXPECT_FALSE(OpenKvrSplitLayers(*rig.doc, rig.file("missing.kvr")));
}

TEST(ForeignDrawings, ExportToTheSiblingFormatWritesTheWholeDocument)
{
    kov::test::DocumentRig rig;
    rig.addLine(6, 0, 6, 1);
    const auto target = rig.file("export.qvt");
    kov::test::writeBytes(target, {'o', 'l', 'd'});
    ASSERT_EQ(SaveBlockToFile(*rig.doc, target), 1);

    kov::test::DocumentRig reader;
    ASSERT_EQ(reader.doc->OnOpenDocument(target), 1);
    EXPECT_EQ(kov::test::lineStarts(reader.doc->m_Unit), std::vector<double>{6});

    rig.questions.acknowledge(); // the reason the folder cannot take the file
    EXPECT_EQ(SaveBlockToFile(*rig.doc, rig.file("no-such-folder/x.qvt")), 0);
}

} // namespace
