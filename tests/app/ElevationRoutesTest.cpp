// The elevation command and the elevation tools reached through the main window's routing, as the
// "建築" menu reaches them, with the settings dialog answered through its controls.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"

#include "app/WindowTestSupport.h"
#include "dialogs/ElevationDialogs.h"
#include "model/RituInfo.h"
#include "support/EditFixtures.h"
#include "tools/ToolMachine.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::WindowRig {
    Rig() : WindowRig({1200, 800})
    {
        answerDialogs();
        // A 9100 x 7280 house on floors 1 and 2.
        int id = 1;
        for (int g : {0, 1}) {
            const CDbPoint c[] = {{0, 0}, {9100, 0}, {9100, 7280}, {0, 7280}};
            for (int k = 0; k < 4; ++k) {
                kov::test::addWall(doc->m_Unit, id, c[k], c[(k + 1) % 4], 75, 0, g);
                ++id;
            }
            doc->m_Unit.JoinWalls(g);
        }
    }
    std::vector<std::string> labels() const
    {
        std::vector<std::string> out;
        for (const auto& t : std::as_const(doc->m_Unit).m_Texts) out.push_back(t->MTextstr);
        return out;
    }
};

TEST(ElevationRoutes, AllFourElevationsAroundTheCentreAndTheFloorsHidden)
{
    Rig r;
    std::string title;
    r.answer = [&title](QDialog& d) {
        auto& dialog = dynamic_cast<kov::dialogs::CRitumenSetDlg&>(d);
        title = dialog.windowTitle().toStdString();
        EXPECT_TRUE(dialog.m_directions[0]->isChecked()); // "全方向" by default
        dialog.m_heights[3]->setText(QStringLiteral("500"));
        dialog.accept();
        return true;
    };
    const std::size_t depth = r.doc->m_UndoStack.size();
    r.run(cmd::ToolElevation);
    EXPECT_EQ(title, "立面図作成画面");
    EXPECT_EQ(r.labels(), (std::vector<std::string>{"南側立面図", "北側立面図", "東側立面図", "西側立面図"}));
    // South up left, north down left, east up right, west down right of the drawing's centre.
    const auto& texts = std::as_const(r.doc->m_Unit).m_Texts;
    EXPECT_LT(texts[0]->MTextpnt.x, 0);
    EXPECT_LT(texts[0]->MTextpnt.y, 0);
    EXPECT_LT(texts[1]->MTextpnt.x, 0);
    EXPECT_GT(texts[1]->MTextpnt.y, 0);
    EXPECT_GT(texts[2]->MTextpnt.x, 0);
    EXPECT_LT(texts[2]->MTextpnt.y, 0);
    EXPECT_GT(texts[3]->MTextpnt.x, 0);
    EXPECT_GT(texts[3]->MTextpnt.y, 0);
    EXPECT_NEAR(texts[0]->MTextpnt.y - texts[1]->MTextpnt.y, -2 * texts[1]->MTextpnt.y + 2 * 500, 1e-6);

    const CLayer& layers = r.doc->m_PlotInfo.m_Layer;
    EXPECT_EQ(layers.m_GrpLayerInfo[0].m_nType, CLayerInfo::LAYER_HIDDEN);
    EXPECT_EQ(layers.m_GrpLayerInfo[1].m_nType, CLayerInfo::LAYER_HIDDEN);
    EXPECT_EQ(layers.m_GrpLayerInfo[2].m_nType, CLayerInfo::LAYER_SNAP);
    EXPECT_EQ(layers.m_nCurrentGroup, 2);
    EXPECT_GT(r.doc->m_UndoStack.size(), depth);
    CRituInfo stored;
    stored.LoadProfile(r.profile);
    EXPECT_EQ(stored.kisodaka, 500);
    // Undo takes the views away again.
    r.run(cmd::EditUndo);
    EXPECT_TRUE(r.labels().empty());
}

TEST(ElevationRoutes, OneSideAtTheOriginAndCancel)
{
    Rig r;
    r.answer = [](QDialog& d) {
        auto& dialog = dynamic_cast<kov::dialogs::CRitumenSetDlg&>(d);
        dialog.m_directions[3]->setChecked(true); // east
        dialog.m_floors->setCurrentIndex(2);      // three floors: floor 3 shares the output group
        dialog.accept();
        return true;
    };
    r.run(cmd::ToolElevation);
    ASSERT_EQ(r.labels(), std::vector<std::string>{"東側立面図"});
    EXPECT_EQ(std::as_const(r.doc->m_Unit).m_Texts[0]->MTextpnt.x, 0);
    // The output group stays shown though floor 3 was drawn from it.
    EXPECT_EQ(r.doc->m_PlotInfo.m_Layer.m_GrpLayerInfo[2].m_nType, CLayerInfo::LAYER_SNAP);

    const int figures = std::as_const(r.doc->m_Unit).m_Lines.GetSize();
    r.answer = [](QDialog&) { return false; };
    r.run(cmd::ToolElevation);
    EXPECT_EQ(std::as_const(r.doc->m_Unit).m_Lines.GetSize(), figures);
}

TEST(ElevationRoutes, ToolsStartFromTheirCommands)
{
    Rig r;
    const std::pair<int, int> tools[] = {{cmd::ToolRoof, 52}, {cmd::ToolOuterWallLine, 53}, {cmd::ToolBalcony, 54}};
    for (auto [command, tool] : tools) {
        r.run(command);
        EXPECT_EQ(r.doc->m_nToolMode, tool);
    }
}

} // namespace
