// The exchange commands through a real view on the offscreen platform: Jw_cad drawings chosen by
// content, figure files placed as one group with two undo steps, pictures in and out.

#include "DocumentTestSupport.h"

#include "app/ExchangeCommands.h"
#include "app/KovView.h"
#include "tools/ToolMachine.h"
#include "jwcad/JwwFile.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

namespace {

using kov::app::CKoviraView;
using kov::platform::Answer;
using kov::test::DocumentRig;

const std::string kSamples = KOVIRA_SAMPLES "/jww/";

struct ViewRig {
    DocumentRig rig;
    CKoviraView view{*rig.doc, nullptr};

    ViewRig()
    {
        rig.doc->m_Grid.visible = 0;
        rig.doc->SetJwwOptionsChooser([] { return std::optional<JwwImportOptions>(JwwImportOptions{}); });
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
        view.OnInitialUpdate();
    }
};

} // namespace

TEST(ExchangeCommands, JwDrawingsReadByContentWhateverTheExtension)
{
    ViewRig v;
    // A JWC drawing under a mixed-case name reaches the JWC reader.
    v.rig.addLine(0, 0, 3000, 0);
    const auto jwc = v.rig.file("plan.Jwc");
    ASSERT_TRUE(v.rig.doc->ExportJwc(jwc));
    v.rig.questions.pickOpenFile(jwc).reply(Answer::No);
    EXPECT_TRUE(kov::app::OnImportJwcad(v.view, *v.rig.doc));
    EXPECT_EQ(v.rig.doc->m_Unit.m_Lines.GetSize(), 1);
    // The apartment plan of another program, drawn in the view.
    v.rig.questions.pickOpenFile(kSamples + "Ａマンション平面例.jww").reply(Answer::No).acknowledge("点 10 個は読み込みません。");
    ASSERT_TRUE(kov::app::OnImportJwcad(v.view, *v.rig.doc));
    EXPECT_GT(v.rig.doc->m_Unit.m_Lines.GetSize(), 1500);
    const QImage& b = v.view.backBuffer();
    int ink = 0;
    for (int y = 0; y < b.height(); y += 2)
        for (int x = 0; x < b.width(); x += 2)
            ink += qGray(b.pixel(x, y)) < 100;
    EXPECT_GT(ink, 500);
    // Cancel in the file dialog: nothing.
    v.rig.questions.pickOpenFile(std::nullopt);
    EXPECT_FALSE(kov::app::OnImportJwcad(v.view, *v.rig.doc));
}

TEST(ExchangeCommands, FigureFilePlacedAsOneGroupWithTwoUndoSteps)
{
    ViewRig v;
    // A figure file of our own making: a JWC file read as a JWK figure would be another format,
    // so write a JWS through the JWW record stream.
    JwArchive ar;
    char sig[8] = {'J', 'w', 's', 'D', 'a', 't', 'a', '.'};
    ar.ioFixed(sig, 8);
    ar.WriteDWord(600);
    ar.pad(192);
    ar.WriteDouble(0);
    ar.WriteDouble(0);
    for (int g = 0; g < 16; ++g)
        ar.WriteDouble(100);
    ar.pad(72);
    for (int i = 0; i < 4; ++i)
        ar.WriteDouble(0);
    JwRecordList list;
    auto line = std::make_unique<CDataSen>();
    line->m_end_x = 10;
    list.push_back(std::move(line));
    ar.ioList(list);
    JwRecordList none;
    ar.ioList(none);
    const auto jws = v.rig.file("door.jws");
    kov::test::writeBytes(jws, ar.Bytes());
    v.rig.questions.pickOpenFile(jws);
    kov::app::OnImportJwsJwk(v.view, *v.rig.doc);
    EXPECT_EQ(v.view.m_bPlacing, 1);
    EXPECT_EQ(v.view.machine().m_bPlacing, 1);
    ASSERT_EQ(v.rig.doc->m_Selection.m_Groups.size(), 1u);
    EXPECT_EQ(v.rig.doc->m_Unit.m_Lines.GetSize(), 1);
    // Placed (moved from the snapshot of the group as read); the first undo goes back to the group
    // as read, the second before the read.
    v.view.m_bPlacing = 0;
    v.view.machine().m_bPlacing = 0;
    v.rig.doc->m_Unit.m_Lines[0]->MoveBy(500, 500);
    v.view.OnUndo();
    EXPECT_EQ(v.rig.doc->m_Unit.m_Lines.GetSize(), 1);
    EXPECT_EQ(v.rig.doc->m_Unit.m_Lines[0]->MLinePnt[0].x, 0);
    v.view.OnUndo();
    EXPECT_EQ(v.rig.doc->m_Unit.m_Lines.GetSize(), 0);
}

namespace {

// A JWS figure file holding one line from (0, 0) to (10, 0) of paper.
std::filesystem::path writeFigureFile(DocumentRig& rig)
{
    JwArchive ar;
    char sig[8] = {'J', 'w', 's', 'D', 'a', 't', 'a', '.'};
    ar.ioFixed(sig, 8);
    ar.WriteDWord(600);
    ar.pad(192);
    ar.WriteDouble(0);
    ar.WriteDouble(0);
    for (int g = 0; g < 16; ++g)
        ar.WriteDouble(100);
    ar.pad(72);
    for (int i = 0; i < 4; ++i)
        ar.WriteDouble(0);
    JwRecordList list;
    auto line = std::make_unique<CDataSen>();
    line->m_end_x = 10;
    list.push_back(std::move(line));
    ar.ioList(list);
    JwRecordList none;
    ar.ioList(none);
    const auto jws = rig.file("door.jws");
    kov::test::writeBytes(jws, ar.Bytes());
    return jws;
}

} // namespace

TEST(ExchangeCommands, FigureFileFollowsThePointerAndLandsWhereClicked)
{
    ViewRig v;
    v.rig.questions.pickOpenFile(writeFigureFile(v.rig));
    kov::app::OnImportJwsJwk(v.view, *v.rig.doc);
    kov::tools::ToolMachine& m = v.view.machine();
    ASSERT_EQ(m.m_bPlacing, 1);
    const CKovUnit& unit = v.rig.doc->m_Unit;
    ASSERT_EQ(unit.m_Lines.GetSize(), 1);
    const double length = unit.m_Lines[0]->MLinePnt[1].x - unit.m_Lines[0]->MLinePnt[0].x;
    // Two pointer moves: the figure follows, its first point under the pointer.
    for (const DevicePoint at : {DevicePoint{300, 250}, DevicePoint{420, 330}}) {
        m.OnMouseMove(0, at);
        EXPECT_EQ(m.m_bPlacing, 1);
        const CKovLine& line = *unit.m_Lines[0];
        EXPECT_NEAR(line.MLinePnt[0].x, m.m_ptCurrent.x, 1e-6);
        EXPECT_NEAR(line.MLinePnt[0].y, m.m_ptCurrent.y, 1e-6);
        EXPECT_NE(m.m_ptCurrent.x, 0.0);
    }
    // The click puts it down there and ends the placing.
    m.OnLButtonDown(kov::tools::MK_LBUTTON, DevicePoint{420, 330});
    m.OnLButtonUp(0, DevicePoint{420, 330});
    EXPECT_EQ(m.m_bPlacing, 0);
    const CDbPoint landed = unit.m_Lines[0]->MLinePnt[0];
    EXPECT_NE(landed.x, 0.0);
    EXPECT_NEAR(unit.m_Lines[0]->MLinePnt[1].x - landed.x, length, 1e-6);
    m.OnMouseMove(0, DevicePoint{100, 100});
    EXPECT_EQ(unit.m_Lines[0]->MLinePnt[0].x, landed.x);

    // A tool started while the figure still follows the pointer takes it away.
    v.rig.questions.pickOpenFile(writeFigureFile(v.rig));
    kov::app::OnImportJwsJwk(v.view, *v.rig.doc);
    ASSERT_EQ(unit.m_Lines.GetSize(), 2);
    m.OnMouseMove(0, DevicePoint{200, 200});
    ASSERT_TRUE(m.StartTool(3));
    EXPECT_EQ(unit.m_Lines.GetSize(), 1);
    EXPECT_EQ(m.m_bPlacing, 0);
}

TEST(ExchangeCommands, OneUndoTakesAnInsertedPictureAway)
{
    ViewRig v;
    v.rig.addLine(-5000, 0, 5000, 0);
    const auto png = v.rig.file("page.png");
    v.rig.questions.pickSaveFile(png);
    kov::app::OnExportPicture(v.view, *v.rig.doc);
    // A line drawn as its own step, then the picture.
    v.view.PushUndo();
    v.rig.addLine(0, 100, 500, 100);
    v.rig.doc->SettleUndo();
    v.rig.questions.pickOpenFile(png);
    kov::app::InsertImageFile(v.view, *v.rig.doc);
    ASSERT_EQ(v.rig.doc->m_Unit.m_Images.GetSize(), 1);
    v.view.OnUndo();
    EXPECT_EQ(v.rig.doc->m_Unit.m_Images.GetSize(), 0);
    EXPECT_EQ(v.rig.doc->m_Unit.m_Lines.GetSize(), 2);
}

TEST(ExchangeCommands, PicturesInAndOut)
{
    ViewRig v;
    v.rig.addLine(-5000, 0, 5000, 0);
    // Out: the whole page doubled, as a PNG under the chosen name.
    const auto png = v.rig.file("page.PNG");
    v.rig.questions.pickSaveFile(png);
    kov::app::OnExportPicture(v.view, *v.rig.doc);
    QImageReader reader(QString::fromStdString(png.string()));
    EXPECT_EQ(reader.format().toStdString(), "png");
    EXPECT_EQ(reader.size().width(), 2 * v.view.m_geo.m_rcPage.width());
    // In: that picture at the size of the settings, selected, in the temporary folder.
    v.rig.questions.pickOpenFile(png);
    kov::app::InsertImageFile(v.view, *v.rig.doc);
    ASSERT_EQ(v.rig.doc->m_Unit.m_Images.GetSize(), 1);
    EXPECT_EQ(v.rig.doc->m_Selection.m_Images.size(), 1u);
    EXPECT_EQ(v.rig.doc->m_Unit.m_Images[0]->ImageWidth, 60);
    // A range of no width is refused with the message.
    v.rig.questions.acknowledge("画像範囲取得に失敗しました。\nもう一度初めからやり直してください");
    kov::app::SaveRangeImage(v.view, *v.rig.doc, DevicePoint{100, 100}, DevicePoint{100, 200});
    // The clipboard gets the dragged range at the current zoom.
    kov::app::CopyRangeImageToClipboard(v.view, *v.rig.doc, DevicePoint{100, 100}, DevicePoint{160, 140});
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(60, 40));
}

TEST(ExchangeCommands, PictureBesideEverySaveWhenSet)
{
    ViewRig v;
    kov::app::InstallExchangeHooks(v.view, *v.rig.doc);
    v.rig.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_zidousave", 1);
    v.rig.addLine(-5000, 0, 5000, 0);
    ASSERT_TRUE(v.rig.saveAs(v.rig.file("plan.kvr")));
    EXPECT_TRUE(std::filesystem::exists(v.rig.file("planj.jpg")));
}
