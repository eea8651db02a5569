#include "DocumentTestSupport.h"

#include "app/DxfCommands.h"
#include "io/DxfTexts.h"

#include <fstream>

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

// Whatever the file holds that is no DXF, the drawing stays as it was and one message names the
// file and says why: the file is read before the drawing is replaced.
TEST(DxfCommands, UnreadableFilesLeaveTheDrawingAndSayWhichFile)
{
    namespace t = kov::io::dxftext;
    DocumentRig rig;
    rig.addLine(0, 0, 1, 1);
    struct Case {
        const char* name;
        std::string bytes;
        std::string_view why;
    };
    const Case cases[] = {
        {"empty.dxf", "", t::kReasonEmpty},
        {"binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), t::kBinaryDxf},
        {"cr-only.dxf", "\r\r\r", t::kReasonBadStart},
        {"picture.dxf", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), t::kReasonBadStart},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = rig.file(c.name);
        std::ofstream(path, std::ios::binary) << c.bytes;
        rig.questions.pickOpenFile(path).acknowledge(
            t::withArgument(t::kReadFailed, path.string(), c.why));
        EXPECT_FALSE(kov::app::ImportDxf(*rig.doc, [](kov::io::DxfReadOptions&) { return true; }));
        EXPECT_EQ(rig.questions.pending(), 0u);
        ASSERT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);
        EXPECT_NEAR(rig.doc->m_Unit.m_Lines[0]->MLinePnt[1].x, 1, 1e-9);
    }
    // A file that reads, with kinds it does not: replaced, then told what was left out.
    const auto path = rig.file("hatch.dxf");
    std::ofstream(path, std::ios::binary) << "0\nSECTION\n2\nENTITIES\n0\nHATCH\n0\nLINE\n10\n0\n20\n0\n11\n5\n21\n5\n"
                                             "0\nENDSEC\n0\nEOF\n";
    rig.questions.pickOpenFile(path).reply(kov::platform::Answer::No).acknowledge("次の要素は読み込みませんでした：HATCH 1 個");
    EXPECT_TRUE(kov::app::ImportDxf(*rig.doc, [](kov::io::DxfReadOptions&) { return true; }));
    EXPECT_EQ(rig.questions.pending(), 0u);
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);
    // A file that reads but makes nothing to draw (a circle of no size): the drawing stays, and the
    // message names the file.
    const auto nothing = rig.file("nothing.dxf");
    std::ofstream(nothing, std::ios::binary) << "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n10\n1\n20\n1\n40\n0\n"
                                                "0\nENDSEC\n0\nEOF\n";
    rig.questions.pickOpenFile(nothing).acknowledge(t::withArgument(t::kNothingRead, nothing.string()));
    EXPECT_FALSE(kov::app::ImportDxf(*rig.doc, [](kov::io::DxfReadOptions&) { return true; }));
    EXPECT_EQ(rig.questions.pending(), 0u);
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);
}
