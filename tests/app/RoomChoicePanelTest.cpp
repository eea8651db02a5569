// The room choice panel of the two room tools: its list from the room file, the labels' switches
// and the fixed size, opened from the tool panel's buttons.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/RoomChoicePanel.h"
#include "model/PlotInfo.h"
#include "platform/Folders.h"
#include "tools/ToolMachine.h"

#include "app/DocumentTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>

#include <fstream>

namespace {

using namespace kov::app;
using kov::dialogs::CRoomChoiseDlg;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::DocumentRig {
    std::unique_ptr<MainWindow> window;
    explicit Rig(const char* roomFile = nullptr)
    {
        if (roomFile) {
            const auto f = doc->services().folders.roomListFile(kov::platform::readCommonFolderSwitches(profile));
            std::filesystem::create_directories(f.parent_path());
            std::ofstream(f, std::ios::binary) << roomFile;
        }
        window = std::make_unique<MainWindow>(doc.get());
        window->show();
        QApplication::processEvents();
    }
    CRoomChoiseDlg* panel() const
    {
        for (QWidget* w : window->m_pToolDialog)
            if (auto* d = dynamic_cast<CRoomChoiseDlg*>(w)) return d;
        return nullptr;
    }
    const CRoomInfo& room() const { return doc->m_PlotInfo.m_RoomInfo; }
};

// Two rooms in CP932: 和室 with a tatami pattern, 洋室 filled without the spacing field.
const char* const kRooms = "\x98\x61\x8e\xba,0,16777215,1,0,300,3.5,\r\n\x97\x6d\x8e\xba,1,12632256,0,0,0,\r\n";

TEST(RoomChoicePanel, TheRectangleRoomToolOpensItWithTheRoomFile)
{
    Rig r(kRooms);
    r.window->panelButton(cmd::PanelRectRoom)->click();
    CRoomChoiseDlg* p = r.panel();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->windowTitle().toStdString(), "部屋選択");
    ASSERT_EQ(p->m_list->count(), 4);
    EXPECT_EQ(p->m_list->item(0)->text().toStdString(), "----現設定----");
    EXPECT_EQ(p->m_list->item(1)->text().toStdString(), "--塗りつぶし無し--");
    EXPECT_EQ(p->m_list->item(2)->text().toStdString(), "和室");
    EXPECT_EQ(p->m_list->currentRow(), 0);
    EXPECT_TRUE(p->m_free->isChecked());
    EXPECT_EQ(p->m_sizes->currentText().toStdString(), "6");
    // A room: its style goes to the document's room settings; the one without spacing takes the
    // current spacing.
    p->m_list->setCurrentRow(3);
    EXPECT_EQ(r.room().Room_Name, "洋室");
    EXPECT_EQ(r.room().Room_bRoomColor, 1);
    EXPECT_EQ(r.room().Room_RoomColor, 12632256u);
    EXPECT_DOUBLE_EQ(r.room().Room_HachKankaku, 4.55);
    p->m_list->setCurrentRow(2);
    EXPECT_EQ(r.room().Room_HachType, 300);
    EXPECT_DOUBLE_EQ(r.room().Room_HachKankaku, 3.5);
    // None: unfilled, no pattern, no name (so no label).
    p->m_list->setCurrentRow(1);
    EXPECT_EQ(r.room().Room_bRoomColor, 0);
    EXPECT_EQ(r.room().Room_bHachColor, 0);
    EXPECT_EQ(r.room().Room_Name, "");
    // The fixed size reaches the tool.
    p->m_fixed->click();
    p->m_sizes->setCurrentIndex(3);
    EXPECT_EQ(r.window->view()->machine().m_bRoomFixedSize, 1);
    EXPECT_EQ(r.window->view()->machine().m_nRoomSizeIndex, 3);
    // Reopened: free size and "6" again.
    r.window->panelButton(cmd::PanelSelect)->click();
    r.window->panelButton(cmd::PanelRectRoom)->click();
    ASSERT_NE(r.panel(), nullptr);
    EXPECT_TRUE(r.panel()->m_free->isChecked());
    EXPECT_EQ(r.panel()->m_sizes->currentText().toStdString(), "6");
    EXPECT_EQ(r.window->view()->machine().m_bRoomFixedSize, 0);
}

TEST(RoomChoicePanel, LabelSwitchesFollowEachOtherAndAreWritten)
{
    Rig r(kRooms);
    r.window->panelButton(cmd::PanelRectRoom)->click();
    CRoomChoiseDlg* p = r.panel();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->m_name->isChecked());
    EXPECT_FALSE(p->m_area->isChecked());
    p->m_area->click();
    EXPECT_TRUE(p->m_name->isChecked());
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "room_heyack_jyou", 0), 1);
    p->m_name->click();
    EXPECT_FALSE(p->m_area->isChecked());
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "room_heyack", 1), 0);
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "room_heyack_jyou", 1), 0);
    p->m_squareMetres->click();
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "room_heibei", 0), 1);
    p->m_mats->click();
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "room_heibei", 1), 0);
}

TEST(RoomChoicePanel, PolygonModeAndAMissingOrEmptyFile)
{
    {
        // No room file: the two fixed entries, none selected; the polygon tool has no sizes.
        Rig r;
        const CRoomInfo before = r.room();
        r.window->panelButton(cmd::PanelPolygonRoom)->click();
        CRoomChoiseDlg* p = r.panel();
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->m_list->count(), 2);
        EXPECT_EQ(p->m_list->currentRow(), -1);
        EXPECT_FALSE(p->m_sizeFrame->isEnabled());
        EXPECT_EQ(p->m_sizes->count(), 0);
        EXPECT_TRUE(r.room() == before);
    }
    {
        // An empty file: the current settings selected, unchanged.
        Rig r("");
        const CRoomInfo before = r.room();
        r.window->panelButton(cmd::PanelRectRoom)->click();
        ASSERT_NE(r.panel(), nullptr);
        EXPECT_EQ(r.panel()->m_list->currentRow(), 0);
        EXPECT_TRUE(r.room() == before);
    }
}

} // namespace
