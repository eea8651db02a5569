// The parts palette and the fittings palette on libraries made in a temporary folder, driving the
// document through the tool machine: paging, order, placing, saving, deleting, hostile names.

#include "ToolHarness.h"

#include "building/PartFiles.h"
#include "dialogs/FittingsPalette.h"
#include "dialogs/PartsPalette.h"
#include "edit/EditTexts.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/Profile.h"
#include "support/EditFixtures.h"
#include "tools/ToolMachine.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kov::test;
using kov::dialogs::FittingsPaletteForm;
using kov::dialogs::PartsPaletteForm;
using kov::platform::Answer;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kU = "KOV_T_UTILITY";

// A part: a rectangle w × h from the origin, in its own group.
void writePart(const fs::path& file, double w = 600, double h = 300)
{
    CKovUnit unit;
    auto g = std::make_unique<CKovGroup>();
    g->MGrpID = 1;
    auto f = std::make_unique<CKovLine>();
    f->MLineID = 1;
    f->MLineType = CKovLine::RECTANGLE;
    f->MLinePnt = {{0, 0}, {0, h}, {w, h}, {w, 0}};
    f->MLineGrpID = 1;
    g->MGrpLineID = {1};
    g->MGrpmax = {w, h};
    unit.m_Lines.Add(std::move(f));
    unit.m_Groups.Add(std::move(g));
    fs::create_directories(file.parent_path());
    ASSERT_TRUE(kov::building::WritePartFile(file, unit));
    unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

struct PaletteRig {
    ToolHarness h;
    fs::path root = h.rig.file("parts");
    std::unique_ptr<PartsPaletteForm> form;

    // Folders B and A (A with the sub-folder 小物), `parts` parts in A.
    explicit PaletteRig(int parts = 3)
    {
        for (int i = 0; i < parts; ++i) writePart(root / "A" / ("p" + std::to_string(100 + i) + ".mgp"));
        fs::create_directories(root / "B");
        fs::create_directories(root / "A" / "小物");
        form = std::make_unique<PartsPaletteForm>(h.m, h.rig.profile, h.rig.questions, root);
    }
    kov::platform::MemoryProfile& profile() { return h.rig.profile; }
    int groups() const { return h.unit().m_Groups.GetSize(); }
};

} // namespace

TEST(PartsPalette, PagesOfFifteen)
{
    struct Case {
        int parts;
        bool next;
        int onLastPage;
    };
    for (const Case c : {Case{15, false, 15}, Case{16, true, 1}, Case{3, false, 3}}) {
        PaletteRig r(c.parts);
        ASSERT_TRUE(r.form->ReloadFolders());
        r.form->ChooseFolder(0, 0);
        EXPECT_EQ(r.form->m_PartNames.size(), static_cast<std::size_t>(c.parts));
        EXPECT_FALSE(r.form->PrevEnabled());
        EXPECT_EQ(r.form->NextEnabled(), c.next) << c.parts;
        r.form->NextPage();
        int shown = 0;
        for (int i = 0; i < PartsPaletteForm::kCells; ++i) shown += r.form->CellPart(i) >= 0;
        EXPECT_EQ(shown, c.onLastPage) << c.parts;
        EXPECT_EQ(r.form->PrevEnabled(), c.next) << c.parts;
    }
}

TEST(PartsPalette, FoldersInTheirOrderAndTheLastChoice)
{
    PaletteRig r;
    ASSERT_TRUE(r.form->ReloadFolders());
    ASSERT_EQ(r.form->m_Folders.size(), 2u);
    EXPECT_EQ(r.form->m_Folders[0].name, "A");
    EXPECT_EQ(r.form->m_Folders[0].subFolders, std::vector<std::string>{"小物"});
    EXPECT_EQ(r.form->m_nFolder, -1);

    struct Case {
        const char* order;
        int selected;
        std::vector<std::string> names;
        int folder;
    };
    const Case cases[] = {
        {"B,A", 0, {"B", "A"}, 0},
        {"B,A,C", 1, {"A", "B"}, 1},  // three names for two folders: not used
        {"B,X", 1, {"A", "B"}, 1},    // a name that is no folder: not used
        {"", 1500, {"A", "B"}, -1},   // out of range: no folder
        {"", 5, {"A", "B"}, -1},      // beyond the folders
    };
    for (const Case& c : cases) {
        r.profile().WriteProfileString(kU, "buhin_forda_jyun", c.order);
        r.profile().WriteProfileInt(kU, "buhin_selectidx", c.selected);
        ASSERT_TRUE(r.form->ReloadFolders());
        std::vector<std::string> names;
        for (const auto& f : r.form->m_Folders) names.push_back(f.name);
        EXPECT_EQ(names, c.names) << c.order;
        EXPECT_EQ(r.form->m_nFolder, c.folder) << c.order;
    }
    // A library without folders closes the palette with its message.
    r.h.rig.questions.acknowledge("部品の保管場所が不正です");
    PartsPaletteForm empty(r.h.m, r.profile(), r.h.rig.questions, r.h.rig.file("none"));
    EXPECT_FALSE(empty.ReloadFolders());
}

TEST(PartsPalette, AClickPlacesThePartUnderThePointer)
{
    PaletteRig r;
    r.profile().WriteProfileInt(kU, "haiti_mauseiti", 5);
    ASSERT_TRUE(r.form->ReloadFolders());
    r.form->ChooseFolder(0, 0);
    r.form->ClickCell(1);
    EXPECT_EQ(r.form->m_strName, "p101");
    ASSERT_EQ(r.groups(), 1);
    EXPECT_EQ(r.h.m.m_bPlacing, 1);
    EXPECT_EQ(r.h.m.m_ptLast, CDbPoint(300, 150));
    EXPECT_EQ(r.profile().GetProfileInt(kU, "buhin_selectidx", -1), 0);
    // The pointer carries the part by its centre; the click puts it down.
    r.h.move({2730, 1820});
    const CKovGroup& g = *r.h.unit().m_Groups[0];
    EXPECT_NEAR(r.h.unit().FindLine(g.MGrpLineID[0])->MLinePnt[0].x, 2730 - 300, 1e-9);
    r.h.click({2730, 1820});
    EXPECT_EQ(r.h.m.m_bPlacing, 0);
    EXPECT_EQ(r.groups(), 1);
    // An empty cell of the page places nothing.
    r.form->ClickCell(14);
    EXPECT_EQ(r.groups(), 1);
    EXPECT_EQ(r.h.m.m_bPlacing, 0);
}

TEST(PartsPalette, ContinuousPlacementAndCancel)
{
    PaletteRig r;
    r.form->SetContinuous(true);
    ASSERT_TRUE(r.form->ReloadFolders());
    r.form->ChooseFolder(0, 0);
    r.form->ClickCell(0);
    r.h.move({910, 910});
    r.h.click({910, 910});
    // Put down, and a copy follows the pointer on.
    EXPECT_EQ(r.h.m.m_bPlacing, 1);
    EXPECT_EQ(r.groups(), 2);
    r.h.move({2730, 910});
    r.h.click({2730, 910});
    EXPECT_EQ(r.groups(), 3);
    // Cancel takes the copy being placed away; the two put down stay.
    r.form->OnCancel();
    EXPECT_EQ(r.groups(), 2);
    EXPECT_EQ(r.h.m.m_bPlacing, 0);
    EXPECT_TRUE(r.h.sel().IsEmpty());
}

TEST(PartsPalette, ContinuousPlacementOutOfGroupIdentifiersEndsWithTheReason)
{
    PaletteRig r;
    r.form->SetContinuous(true);
    ASSERT_TRUE(r.form->ReloadFolders());
    r.form->ChooseFolder(0, 0);
    r.form->ClickCell(0);
    kov::test::takeIdentifiers(r.h.rig.doc->m_Unit, kov::model::IdKind::Group, 0);
    const int groups = r.groups();
    const int figures = r.h.unit().m_Lines.GetSize();
    r.h.move({910, 910});
    r.h.click({910, 910});
    // The part put down stays; no half copy follows the pointer.
    EXPECT_EQ(r.h.host.messages, (std::vector<std::string>{std::string(kov::edit::texts::kCopyDrawingFull)}));
    EXPECT_EQ(r.h.m.m_bPlacing, 0);
    EXPECT_EQ(r.groups(), groups);
    EXPECT_EQ(r.h.unit().m_Lines.GetSize(), figures);
}

TEST(PartsPalette, ACancelledPlacementJoinsTheWallsAgain)
{
    PaletteRig r;
    // A part with a wall of its own.
    {
        CKovUnit unit;
        CPlotInfo plot;
        const int wall = unit.AddWall({0, 0}, {910, 0}, 50, plot);
        unit.ResetWallOutline(wall);
        auto g = std::make_unique<CKovGroup>();
        g->MGrpID = unit.NextGroupId();
        g->MGrpWallID = {wall};
        g->MGrpmax = {910, 0};
        unit.m_Groups.Add(std::move(g));
        ASSERT_TRUE(kov::building::WritePartFile(r.root / "B" / "壁.mgp", unit));
        unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
    // Two walls in an L, joined at their corner.
    r.h.start(1);
    r.h.click({910, 910});
    r.h.click({3640, 910});
    r.h.click({3640, 910});
    r.h.click({3640, 2730});
    r.h.m.CallSelectTool();
    auto outlines = [&r] {
        std::vector<CDbPoint> edges;
        for (const auto& w : r.h.unit().m_Walls) {
            edges.insert(edges.end(), w->MWallarPntA.begin(), w->MWallarPntA.end());
            edges.insert(edges.end(), w->MWallarPntB.begin(), w->MWallarPntB.end());
        }
        return edges;
    };
    const std::vector<CDbPoint> joined = outlines();
    r.profile().WriteProfileInt(kU, "buhin_haiti_muki", 6);
    ASSERT_TRUE(r.form->ReloadFolders());
    r.form->ChooseFolder(1, 0);
    r.form->ClickCell(0);
    ASSERT_EQ(r.h.m.m_bPlacing, 1);
    ASSERT_NE(outlines(), joined);
    // The flip took the joints apart; the cancel puts them back without the part's wall.
    r.form->OnCancel();
    EXPECT_EQ(r.h.unit().m_Walls.GetSize(), 2);
    EXPECT_EQ(outlines(), joined);
}

TEST(PartsPalette, ListModeAndRefusals)
{
    PaletteRig r(20);
    r.form->SetListMode(true);
    ASSERT_TRUE(r.form->ReloadFolders());
    EXPECT_TRUE(r.form->m_bListMode);
    r.form->ChooseFolder(0, 0);
    r.form->ChooseListEntry(17);
    EXPECT_EQ(r.form->m_nPart, 17);
    EXPECT_EQ(r.form->m_nPage, 1);
    EXPECT_EQ(r.groups(), 1);
    r.form->OnCancel();
    EXPECT_EQ(r.groups(), 0);

    // A tool in use, or no folder chosen: the messages, nothing placed.
    r.h.start(3);
    r.h.rig.questions.acknowledge("選択モードにしてください");
    r.form->OnOK();
    r.h.m.CallSelectTool();
    r.form->m_nFolder = -1;
    r.h.rig.questions.acknowledge("フォルダを選択して下さい");
    r.form->OnOK();
    EXPECT_EQ(r.groups(), 0);

    // A broken part file says so and starts no placement on another group.
    r.form->ChooseFolder(0, 0);
    r.h.start(1);
    r.h.click({910, 910});
    r.h.click({2730, 910});
    r.h.m.CallSelectTool();
    std::ofstream(r.root / "A" / "p100.mgp", std::ios::trunc) << "broken";
    r.h.rig.questions.acknowledge("p100.mgp");
    r.form->ClickCell(0);
    EXPECT_EQ(r.h.m.m_bPlacing, 0);
    EXPECT_EQ(r.h.unit().m_Walls.GetSize(), 1);
    EXPECT_EQ(r.groups(), 0);
}

TEST(PartsPalette, SavingAndDeletingParts)
{
    PaletteRig r;
    CKovUnit group;
    writePart(r.h.rig.file("source.mgp"), 50, 50);
    ASSERT_EQ(kov::building::ReadPartFile(r.h.rig.file("source.mgp"), group), kov::building::PartRead::Read);
    r.form->m_nMode = PartsPaletteForm::SAVING;
    r.form->m_pSave = &group;
    bool closed = false;
    r.form->onClose = [&closed] { closed = true; };
    ASSERT_TRUE(r.form->ReloadFolders());
    r.form->ChooseFolder(1, 0); // B
    auto& q = r.h.rig.questions;

    struct Case {
        std::string name;
        const char* message;   // empty: saved
    };
    std::string sixteen, seventeen;
    for (int i = 0; i < 16; ++i) sixteen += "机";
    seventeen = sixteen + "机";
    const Case cases[] = {
        {"", "部品の名称が入力されていません"},
        {seventeen, "部品の名称が長すぎます"},
        {"../escape", "部品の名称に使えない文字が含まれています"},
        {"..", "部品の名称に使えない文字が含まれています"},
        {"a\tb", "部品の名称に使えない文字が含まれています"},
        {"\xf0\xa0\xae\xb7", "部品の名称に使えない文字が含まれています"},
        {sixteen, ""},
        {"机", ""},
    };
    for (const Case& c : cases) {
        closed = false;
        if (*c.message) q.acknowledge(c.message);
        r.form->m_strName = c.name;
        r.form->OnOK();
        EXPECT_EQ(closed, !*c.message) << c.name;
        EXPECT_EQ(fs::exists(r.root / "B" / (c.name + ".mgp")), !*c.message) << c.name;
    }
    EXPECT_FALSE(fs::exists(r.root / "escape.mgp"));
    EXPECT_EQ(r.form->m_PartNames.size(), 2u);

    // The same name again asks first; Cancel keeps the old file.
    const auto before = fs::file_size(r.root / "B" / "机.mgp");
    q.reply(Answer::Cancel, "同じファイル名が存在します。上書しますか？");
    closed = false;
    r.form->OnOK();
    EXPECT_FALSE(closed);
    q.reply(Answer::Ok, "同じファイル名が存在します。上書しますか？");
    r.form->OnOK();
    EXPECT_TRUE(closed);
    EXPECT_EQ(fs::file_size(r.root / "B" / "机.mgp"), before);

    // Deleting the chosen part after asking.
    r.form->ChooseFolder(1, 0);
    r.form->m_nPart = 0; // "机" sorts before the longer name
    ASSERT_TRUE(r.form->DeleteEnabled());
    q.reply(Answer::Cancel, "選択中の机.mgpを削除してもよろしいですか？");
    r.form->DeletePart();
    EXPECT_TRUE(fs::exists(r.root / "B" / "机.mgp"));
    q.reply(Answer::Ok, "選択中の机.mgpを削除してもよろしいですか？");
    r.form->DeletePart();
    EXPECT_FALSE(fs::exists(r.root / "B" / "机.mgp"));
    EXPECT_EQ(r.form->m_PartNames, std::vector<std::string>{sixteen});
    EXPECT_FALSE(r.form->DeleteEnabled());
    group.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

TEST(PartsPalette, NewFolders)
{
    PaletteRig r;
    r.profile().WriteProfileString(kU, "buhin_forda_jyun", "B,A");
    ASSERT_TRUE(r.form->ReloadFolders());
    // With a sub-folder of A chosen, "inside" means inside A.
    r.form->ChooseFolder(1, 1);
    r.form->AddFolder("照明", true);
    EXPECT_TRUE(fs::is_directory(r.root / "A" / "照明"));
    EXPECT_EQ(r.profile().GetProfileString(kU, "buhin_forda_jyun", "?"), "");
    EXPECT_EQ(r.form->m_Folders[0].name, "A");
    EXPECT_EQ(r.form->m_Folders[0].subFolders.size(), 2u);
    r.form->AddFolder("外構", false);
    EXPECT_TRUE(fs::is_directory(r.root / "外構"));
    for (const char* bad : {"..", "a/b", "x\ny"}) {
        r.h.rig.questions.acknowledge("フォルダの名称に使えない文字が含まれています");
        r.form->AddFolder(bad, false);
    }
    EXPECT_EQ(r.form->m_Folders.size(), 3u);
}

TEST(FittingsPalette, KindsPagesAndOptions)
{
    ToolHarness h;
    const fs::path root = h.rig.file("tateg");
    for (int i = 1; i <= 9; ++i) writePart(root / "11" / (std::to_string(10 + i) + "-f" + std::to_string(i) + ".mgp"));
    writePart(root / "12" / "11-door.mgp");
    FittingsPaletteForm f(h.m, h.rig.profile, h.rig.questions, root);
    EXPECT_EQ(f.m_nCells, 8);
    ASSERT_TRUE(f.ReloadFolders());
    EXPECT_EQ(f.m_nKind, -1);
    f.ChooseKind(0);
    EXPECT_EQ(h.m.m_Fitting.kind, 1);
    EXPECT_TRUE(f.OptionsEnabled());
    EXPECT_TRUE(f.NextEnabled());
    f.NextPage();
    EXPECT_EQ(f.CellFitting(0), 8);
    EXPECT_EQ(f.CellFitting(1), -1);
    EXPECT_EQ(f.CellName(0), "f9");
    f.ClickCell(0);
    EXPECT_EQ(h.m.m_Fitting.number, 9);
    // An empty cell chooses nothing to place.
    f.ClickCell(1);
    EXPECT_EQ(h.m.m_Fitting.number, 0);
    f.PrevPage();
    f.ClickCell(0);
    // Another kind keeps the cell: its fitting of the new kind is placed.
    f.ChooseKind(1);
    EXPECT_EQ(h.m.m_Fitting.kind, 2);
    EXPECT_EQ(h.m.m_Fitting.number, 1);
    EXPECT_FALSE(f.OptionsEnabled());

    // Options: screen and shutter combine.
    f.OnOptionBox(3, true);
    f.OnOptionBox(1, true);
    EXPECT_EQ(h.m.m_Fitting.optionCode, 12);
    f.OnOptionBox(0, true);
    EXPECT_EQ(h.m.m_Fitting.optionCode, 11);
    EXPECT_FALSE(f.OptionTicked(1));
    f.OnOptionBox(3, false);
    EXPECT_EQ(h.m.m_Fitting.optionCode, 1);
    f.OnOptionBox(0, false);
    EXPECT_EQ(h.m.m_Fitting.optionCode, 0);

    // Typed sizes: only what a fitting can have is taken.
    for (const char* t : {"0", "30001", "-900", "abc"}) f.OnWidthText(t);
    EXPECT_EQ(h.m.m_Fitting.width, 810);
    f.OnWidthText("1200");
    EXPECT_EQ(f.WidthText(), "1200.00");
    f.OnThicknessText("-5");
    EXPECT_EQ(h.m.m_Fitting.thickness, 100);

    // The placement reference switches the snaps.
    int snapped = 0;
    f.onSnapsChanged = [&snapped] { ++snapped; };
    f.SetOnWallCore(false);
    EXPECT_EQ(h.rig.profile.GetProfileInt(kU, "tateg_seti", 0), 1);
    EXPECT_EQ(h.rig.doc->m_PlotInfo.PlotLinePita, 1);
    EXPECT_EQ(h.rig.doc->m_PlotInfo.PlotWallPita, 0);
    EXPECT_EQ(snapped, 1);

    // Cancel remembers the kind and leaves the tool.
    h.start(55);
    f.OnCancel();
    EXPECT_EQ(h.m.ToolMode(), 0);
    EXPECT_EQ(h.rig.profile.GetProfileInt(kU, "tateg_selectidx", -1), 1);
    // A remembered kind without its folder is forgotten.
    h.rig.profile.WriteProfileInt(kU, "tateg_selectidx", 10);
    FittingsPaletteForm again(h.m, h.rig.profile, h.rig.questions, root);
    ASSERT_TRUE(again.ReloadFolders());
    EXPECT_EQ(again.m_nKind, -1);
    h.rig.questions.acknowledge("部品の保管場所が不正です");
    FittingsPaletteForm none(h.m, h.rig.profile, h.rig.questions, h.rig.file("missing"));
    EXPECT_FALSE(none.ReloadFolders());
}
