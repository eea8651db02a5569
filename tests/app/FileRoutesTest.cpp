// The file menu's whole-drawing commands through the main window's routing.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"

#include "app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QMouseEvent>

namespace {

using namespace kov::app;
using kov::platform::Answer;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::WindowRig {
    // A saved drawing of two lines on layer 3 of layer group 1.
    std::filesystem::path otherDrawing(const std::string& name)
    {
        Rig other;
        other.addLine(0, 0, 1000, 0, 3);
        other.addLine(0, 0, 0, 1000, 3);
        other.doc->m_Unit.m_Lines.ForEachMutable([](CKovLine& f) { f.MLineLayer1 = 1; });
        const auto path = file(name);
        EXPECT_TRUE(other.saveAs(path));
        return path;
    }
};

TEST(FileRoutes, MergeAddsTheOtherDrawingUnselectedInOneUndoStep)
{
    Rig r;
    const auto other = r.otherDrawing("other.kvr");
    r.addLine(5, 5, 50, 5);
    r.questions.pickOpenFile(other);
    r.run(cmd::MergeDrawing);
    EXPECT_EQ(r.doc->m_Unit.m_Lines.GetSize(), 3);
    EXPECT_TRUE(r.doc->m_Selection.IsEmpty());
    // The merged objects keep their layer group and layer.
    EXPECT_EQ(std::as_const(r.doc->m_Unit).m_Lines[2]->MLineLayer1, 1);
    EXPECT_EQ(std::as_const(r.doc->m_Unit).m_Lines[2]->MLineLayer2, 3);
    r.run(cmd::EditUndo);
    EXPECT_EQ(r.doc->m_Unit.m_Lines.GetSize(), 1);
    // Cancel: nothing.
    r.questions.pickOpenFile(std::nullopt);
    r.run(cmd::MergeDrawing);
    EXPECT_EQ(r.doc->m_Unit.m_Lines.GetSize(), 1);
}

TEST(FileRoutes, SiblingFilesOutAndInOnLayerZero)
{
    Rig r;
    const auto other = r.otherDrawing("other.kvr");
    ASSERT_TRUE(r.doc->OpenDocumentFile(other));
    const auto qvt = r.file("copy.qvt");
    r.questions.pickSaveFile(qvt);
    r.run(cmd::ExportXe3);
    ASSERT_TRUE(std::filesystem::exists(qvt));
    Rig fresh;
    fresh.questions.pickOpenFile(qvt).acknowledge("全てのオブジェクトはレイヤー０になります。");
    fresh.run(cmd::ImportXe3);
    ASSERT_EQ(fresh.doc->m_Unit.m_Lines.GetSize(), 2);
    for (const auto& f : std::as_const(fresh.doc->m_Unit).m_Lines) {
        EXPECT_EQ(f->MLineLayer1, 0);
        EXPECT_EQ(f->MLineLayer2, 0);
    }
}

TEST(FileRoutes, DrawingByKindShowsEveryLayer)
{
    Rig r;
    const auto other = r.otherDrawing("other.kvr");
    r.questions.pickOpenFile(other).reply(Answer::Yes);
    r.run(cmd::ImportSibling);
    EXPECT_EQ(r.doc->m_Unit.m_Lines.GetSize(), 2);
    for (const auto& row : r.doc->m_PlotInfo.m_Layer.m_LayerInfo)
        for (int l = 0; l < CLayer::kUsed; ++l) EXPECT_EQ(row[static_cast<std::size_t>(l)].m_nType, CLayerInfo::LAYER_SNAP);
}

} // namespace

namespace {

void dragInView(MainWindow& w, QPoint from, QPoint to)
{
    QWidget* viewport = w.view()->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, from, viewport->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, viewport->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    QApplication::processEvents();
}

TEST(RangePictureTools, DraggedRangeToAFileAndToTheClipboard)
{
    Rig r;
    r.window->resize(1200, 800);
    r.addLine(-5000, 0, 5000, 0);
    // No snapping and no doubling: the picture is exactly the dragged pixels.
    r.profile.WriteProfileInt("KOV_T_UTILITY", "app_gazoubai", 0);
    r.run(cmd::SaveRangeImage);
    r.doc->m_Grid.kyutyaku = 0;
    r.doc->m_PlotInfo.PlotLinePita = 0;
    r.doc->m_PlotInfo.PlotWallPita = 0;
    EXPECT_EQ(r.doc->m_nToolMode, 12);
    // The picture output panel is open beside the bars, not over the drawing.
    QWidget* panel = r.window->findChild<QDialog*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    const QRect view(r.window->view()->mapToGlobal(QPoint(0, 0)), r.window->view()->size());
    EXPECT_FALSE(panel->frameGeometry().contains(view.center()));
    const auto png = r.file("range.png");
    r.questions.pickSaveFile(png);
    dragInView(*r.window, {100, 100}, {300, 250});
    QImage written(QString::fromStdString(png.string()));
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), QSize(200, 150));
    EXPECT_EQ(r.window->statusText().find("まだ使えません"), std::string::npos);

    r.run(cmd::CopyAsPicture);
    EXPECT_EQ(r.doc->m_nToolMode, 13);
    r.doc->m_Grid.kyutyaku = 0;
    r.doc->m_PlotInfo.PlotLinePita = 0;
    dragInView(*r.window, {100, 100}, {160, 140});
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(60, 40));
}

TEST(ToolPanels, PanelsOpenBesideTheBarsNeverOverThem)
{
    // Wall thickness below the tool panel; stairs, text and room choice beside the layer bar, whose
    // width is known only once their layout has run.
    for (int tool : {cmd::PanelWall, cmd::PanelStairs, cmd::PanelText, cmd::PanelRectRoom}) {
        SCOPED_TRACE(tool);
        Rig r;
        r.window->resize(1200, 800);
        r.run(tool);
        QWidget* panel = nullptr;
        for (QDialog* d : r.window->findChildren<QDialog*>())
            if (d->isVisible()) panel = d;
        ASSERT_NE(panel, nullptr);
        const QRect view(r.window->view()->mapToGlobal(QPoint(0, 0)), r.window->view()->size());
        EXPECT_FALSE(panel->frameGeometry().contains(view.center()));
        const QWidget* layerBar = r.window->findChild<QWidget*>(QStringLiteral("layerBarDock"));
        ASSERT_NE(layerBar, nullptr);
        for (const QAbstractButton* b : layerBar->findChildren<QAbstractButton*>()) {
            const QPoint centre = b->mapToGlobal(b->rect().center());
            EXPECT_FALSE(panel->frameGeometry().contains(centre)) << "over the layer bar's " << b->text().toStdString();
        }
        // Select mode closes it.
        r.run(cmd::PanelSelect);
        QApplication::processEvents();
        for (QDialog* d : r.window->findChildren<QDialog*>()) EXPECT_FALSE(d->isVisible());
    }
}

} // namespace
