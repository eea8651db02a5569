#include "DocumentTestSupport.h"

#include "app/DxfCommands.h"

#include <gtest/gtest.h>

using kov::test::DocumentRig;

TEST(DxfCommands, ExportIsOfferedForFiguresTextsAndWallsOnly)
{
    DocumentRig rig;
    EXPECT_FALSE(kov::app::CanExportDxf(*rig.doc));
    rig.addText("A");
    EXPECT_TRUE(kov::app::CanExportDxf(*rig.doc));
}

TEST(DxfCommands, ExportedDrawingIsImportedIntoANewDrawing)
{
    DocumentRig rig;
    rig.addLine(-100, 0, 100, 0);
    rig.addText("洋室");
    const auto path = rig.file("plan.dxf");
    rig.questions.pickSaveFile(rig.file("plan"));
    ASSERT_TRUE(kov::app::ExportDxf(*rig.doc));
    EXPECT_TRUE(std::filesystem::exists(path));

    // Cancelling the options changes nothing, the drawing stays.
    rig.questions.pickOpenFile(path);
    EXPECT_FALSE(kov::app::ImportDxf(*rig.doc, [](kov::io::DxfReadOptions&) { return false; }));
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);

    // Reading asks to save the changed drawing first (No), then replaces it.
    rig.questions.pickOpenFile(path).reply(kov::platform::Answer::No);
    ASSERT_TRUE(kov::app::ImportDxf(*rig.doc, [](kov::io::DxfReadOptions&) { return true; }));
    ASSERT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);
    EXPECT_NEAR(rig.doc->m_Unit.m_Lines[0]->MLinePnt[1].x, 100, 1e-6);
    ASSERT_EQ(rig.doc->m_Unit.m_Texts.GetSize(), 1);
    EXPECT_EQ(rig.doc->m_Unit.m_Texts[0]->MTextstr, "洋室");
    EXPECT_TRUE(rig.doc->IsModified());
    EXPECT_EQ(rig.questions.pending(), 0u);
}

TEST(DxfCommands, FailuresAreTold)
{
    DocumentRig rig;
    rig.addLine(0, 0, 1, 1);
    rig.questions.pickSaveFile(rig.file("no-such-folder/plan.dxf")).acknowledge();
    EXPECT_FALSE(kov::app::ExportDxf(*rig.doc));
    // A file that cannot be read leaves the drawing alone: no save question, nothing emptied.
    rig.questions.pickOpenFile(rig.file("missing.dxf"))
        .acknowledge("DXFファイル「" + rig.file("missing.dxf").string() + "」を開けませんでした。");
    EXPECT_FALSE(kov::app::ImportDxf(*rig.doc, [](kov::io::DxfReadOptions&) { return true; }));
    EXPECT_EQ(rig.questions.pending(), 0u);
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);
}
