// The fitting tool (55), the notation-symbol tool (69) and the commands on placed fittings.

#include "tools/ToolMachine.h"

#include "building/Fittings.h"
#include "building/PartFiles.h"
#include "building/PartLibrary.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Folders.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <array>
#include <cmath>
#include <memory>

namespace kov::tools {

namespace {

namespace kb = kov::building;
constexpr std::string_view kPlotMenu = "KOV_T_PlotMenu";

constexpr std::string_view kPromptFittingSide = "扉の向きを選んでください";
constexpr std::string_view kPromptSymbolSecond = "地盤、砂利などを作図する範囲の幅を決める二点目を左クリック";
constexpr std::string_view kPromptSymbolHeight = "表示記号の高さを決めて左クリック";
constexpr std::string_view kPromptSymbolAgain = "開始位置を決めて左クリック";
constexpr std::string_view kSymbolsFailed = "表示記号作成に失敗しました。";

// The notation symbols' files by kind 1-11; any other kind takes the first.
constexpr std::array<std::string_view, 11> kSymbolFiles = {
    "obj_ziban.mgp", "obj_sekizai.mgp", "obj_wariguri.mgp", "obj_jyari.mgp", "obj_hoon.mgp", "obj_dannnetu.mgp",
    "obj_tatami.mgp", "obj_concri.mgp", "obj_keiryou.mgp", "obj_block.mgp", "obj_kesyou.mgp"};

} // namespace

std::string_view NotationSymbolFile(int kind)
{
    return kSymbolFiles[kind >= 1 && kind <= 11 ? static_cast<std::size_t>(kind - 1) : 0];
}

int ToolMachine::StepFitting(DevicePoint d, CDbPoint p)
{
    if (m_Fitting.kind == 0 || m_Fitting.number == 0) {
        m_host.ShowMessage(kb::kChooseFitting);
        return 0;
    }
    SelectionRecord& sel = m_host.Selection();
    sel.Clear();
    if (p == m_ptLast) return 0;
    if (m_ToolPoints.size() == 1) {
        SetToolPrompt(kPromptFittingSide);
        m_pxLast = d;
        collect(d, p);
        m_host.RedrawAll();
        return 0;
    }
    const kov::platform::Folders* folders = m_host.LibraryFolders();
    const std::filesystem::path file =
        folders ? kb::FindFittingFile(folders->fittings, m_Fitting.kind, m_Fitting.number) : std::filesystem::path();
    if (file.empty()) {
        m_ToolPoints.clear();
        m_host.ShowMessage(kb::kChooseFitting);
        return 0;
    }
    PushUndo();
    CKovUnit& unit = m_host.Unit();
    const CPlotInfo& plot = m_host.Plot();
    std::string why;
    const int groupId = kb::InsertPartFile(file, unit, plot, nullptr, &why);
    if (groupId == 0) {
        // The points stay for another try.
        m_host.ShowMessage(std::string(kb::kFittingDrawingMissing) + (why.empty() ? "" : "\n" + why));
        return 0;
    }
    const kov::platform::Profile* store = m_host.SettingsStore();
    const kb::FittingRules rules = store ? kb::FittingRules::FromProfile(*store) : kb::FittingRules{};
    if (!unit.PlaceFitting(sel, plot, m_ToolPoints, p, groupId, m_Fitting, rules)) {
        unit.DeleteGroup(groupId);
        m_ToolPoints.clear();
        m_host.ShowMessage(kb::kBadFittingSize);
        m_host.RedrawAll();
        return 0;
    }
    // The next click starts the next fitting.
    SetToolPrompt(ToolTable()[55].prompt);
    m_host.RedrawAll();
    return 1;
}

void ToolMachine::StepNotationSymbols(DevicePoint d, CDbPoint p)
{
    if (m_ToolPoints.empty()) {
        collect(d, p);
        m_pxLast = d;
        SetToolPrompt(kPromptSymbolSecond);
        m_host.RedrawAll();
        return;
    }
    if (m_ToolPoints.size() == 1) {
        // A range of no length has no direction to lay symbols along.
        if (p == m_ToolPoints[0]) return;
        collect(d, p);
        m_pxLast = d;
        SetToolPrompt(kPromptSymbolHeight);
        m_host.RedrawAll();
        return;
    }
    const CDbPoint a = m_ToolPoints[0], b = m_ToolPoints[1];
    const double length = PointDistance(a.x, a.y, b.x, b.y);
    const CDbPoint foot = FootOfPerpendicular(a, b, p);
    double height = PointDistance(p.x, p.y, foot.x, foot.y);
    if (height == 0) return;

    kov::platform::Profile* store = m_host.SettingsStore();
    NotationSymbolChoice initial;
    if (store) {
        initial.heightFixed = store->GetProfileInt(kPlotMenu, "hyoukikigou_takasakotei", 0);
        initial.height = kov::platform::parseDouble(store->GetProfileString(kPlotMenu, "hyoukikigou_takasa", "100"));
    }
    const std::optional<NotationSymbolChoice> choice = m_host.AskNotationSymbol(initial);
    if (!choice) return;
    if (choice->heightFixed) height = choice->height;
    if (store) {
        if (choice->heightFixed)
            store->WriteProfileString(kPlotMenu, "hyoukikigou_takasa", kov::platform::formatFixed(choice->height, 1));
        store->WriteProfileInt(kPlotMenu, "hyoukikigou_takasakotei", choice->heightFixed ? 1 : 0);
    }
    PushUndo();
    m_host.SetBusy(true);
    const kov::platform::Folders* folders = m_host.LibraryFolders();
    const std::filesystem::path file =
        folders ? folders->symbols / std::string(NotationSymbolFile(choice->kind)) : std::filesystem::path();
    kb::PartFileCache cache;
    const int made = m_host.Unit().CreateNotationSymbols(m_host.Selection(), m_host.Plot(), m_ToolPoints, p, length,
                                                         height, file, &cache);
    m_host.SetBusy(false);
    if (!made) m_host.ShowMessage(kSymbolsFailed);
    SetToolPrompt(kPromptSymbolAgain);
    m_ToolPoints.clear();
    m_host.RedrawAll();
}

// -- commands on placed fittings --------------------------------------------------------------------

namespace {

// Where the rebuilds of one command find the library drawings.
kb::FittingLibraryAccess libraryAccess(ToolHost& host, const kb::FittingChoice& fitting, kb::PartFileCache& cache)
{
    kb::FittingLibraryAccess access;
    if (const kov::platform::Folders* folders = host.LibraryFolders()) access.library = folders->fittings;
    access.cache = &cache;
    access.defaults = fitting.heights;
    return access;
}

int firstSelectedGroup(ToolHost& host)
{
    const SelectionRecord& sel = host.Selection();
    if (sel.m_Groups.empty()) return 0;
    const int id = sel.m_Groups.front();
    return static_cast<const CKovUnit&>(host.Unit()).FindGroup(id) ? id : 0;
}

} // namespace

std::function<int(CKovUnit&, int)> ToolMachine::RangeFittingRebuilder()
{
    auto cache = std::make_shared<kb::PartFileCache>();
    auto told = std::make_shared<bool>(false);
    return [this, cache, told](CKovUnit& unit, int id) {
        kb::FittingLibraryAccess access = libraryAccess(m_host, m_Fitting, *cache);
        SelectionRecord made;
        if (unit.RebuildFitting(id, made, m_host.Plot(), 0, access) < 0) {
            if (!*told) m_host.ShowMessage(access.error);
            *told = true;
            return 0;
        }
        return made.m_Groups.empty() ? 0 : made.m_Groups.front();
    };
}

void ToolMachine::OnFlipDoor()
{
    PushUndo();
    const int id = firstSelectedGroup(m_host);
    if (!id) return;
    kb::PartFileCache cache;
    kb::FittingLibraryAccess access = libraryAccess(m_host, m_Fitting, cache);
    if (m_host.Unit().RebuildFitting(id, m_host.Selection(), m_host.Plot(), 0, access) < 0)
        m_host.ShowMessage(access.error);
    m_host.RedrawAll();
}

void ToolMachine::OnFlipShutter()
{
    PushUndo();
    const int id = firstSelectedGroup(m_host);
    if (!id) return;
    kb::PartFileCache cache;
    kb::FittingLibraryAccess access = libraryAccess(m_host, m_Fitting, cache);
    if (m_host.Unit().RebuildFitting(id, m_host.Selection(), m_host.Plot(), 1, access) < 0)
        m_host.ShowMessage(access.error);
    m_host.RedrawAll();
}

void ToolMachine::OnTurnFitting()
{
    PushUndo();
    const int id = firstSelectedGroup(m_host);
    if (!id) return;
    kb::PartFileCache cache;
    kb::FittingLibraryAccess access = libraryAccess(m_host, m_Fitting, cache);
    if (m_host.Unit().FlipFittingAcrossWall(id, m_host.Selection(), m_host.Plot(), access) < 0)
        m_host.ShowMessage(access.error);
    m_host.RedrawAll();
}

void ToolMachine::OnChangeFittingSize()
{
    const int id = firstSelectedGroup(m_host);
    if (!id) return;
    const CKovUnit& unit = m_host.Unit();
    const CKovGroup& group = *unit.FindGroup(id);
    if (group.MGrpRoom != CKovGroup::FITTING) return;
    const std::optional<std::array<double, 2>> size =
        m_host.AskFittingSize(unit.GetFittingWidth(group), unit.GetFittingDepth(group));
    if (!size) return;
    PushUndo();
    kb::PartFileCache cache;
    kb::FittingLibraryAccess access = libraryAccess(m_host, m_Fitting, cache);
    if (m_host.Unit().RefitFitting(id, (*size)[0], (*size)[1], m_host.Selection(), m_host.Plot(), access) < 0)
        m_host.ShowMessage(access.error);
    m_host.RedrawAll();
}

} // namespace kov::tools
