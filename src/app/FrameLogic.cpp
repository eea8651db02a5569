#include "app/FrameLogic.h"

#include "app/CommandIds.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <cmath>

namespace kov::app {

using kov::platform::formatFixed;
using kov::platform::Profile;

namespace {

std::string pair(std::string_view head, double a, double b)
{
    // Negating the double keeps the sign of zero, which the panes show as "-0.00".
    std::string s(head);
    s += '(';
    s += formatFixed(a, 2);
    s += ',';
    s += formatFixed(b, 2);
    s += ')';
    return s;
}

} // namespace

std::string FormatAbsolutePosition(double x, double y) { return pair("絶", x, -y); }
std::string FormatRelativePosition(double dx, double dy) { return pair("相", dx, -dy); }

// -- window rectangle and bars ---------------------------------------------------------------------

WindowRect RestoreWindowRect(Profile& p, int W, int H)
{
    const int left = p.GetProfileInt(kSectionLayoutSize, "left", 0);
    if (left > W) {
        p.WriteProfileInt(kSectionLayoutSize, "left", 0);
        p.WriteProfileInt(kSectionLayoutSize, "right", 800);
        p.WriteProfileInt(kSectionLayoutSize, "top", 0);
        p.WriteProfileInt(kSectionLayoutSize, "bottom", 600);
        p.WriteProfileInt(kSectionLayoutSize, "maximize", 0);
        return {0, 0, 800, 600};
    }
    WindowRect r;
    r.x = left;
    r.width = p.GetProfileInt(kSectionLayoutSize, "right", W) - r.x;
    r.y = p.GetProfileInt(kSectionLayoutSize, "top", 0);
    r.height = p.GetProfileInt(kSectionLayoutSize, "bottom", H) - r.y;
    if (static_cast<long long>(r.x) + r.width > 3LL * W) {
        r.x = 0;
        r.width = W;
    }
    if (static_cast<long long>(r.y) + r.height > 3LL * H) {
        r.y = 0;
        r.height = H;
    }
    // A hand-edited store may hold a rectangle turned inside out; a window needs some size.
    if (r.width < 200) r.width = std::min(800, W);
    if (r.height < 150) r.height = std::min(600, H);
    return r;
}

void SaveWindowRect(Profile& p, const WindowRect& r, bool maximised, bool minimised)
{
    if (minimised) return;
    if (maximised) {
        p.WriteProfileInt(kSectionLayoutSize, "maximize", 1);
        return;
    }
    p.WriteProfileInt(kSectionLayoutSize, "left", r.x);
    p.WriteProfileInt(kSectionLayoutSize, "right", r.x + r.width);
    p.WriteProfileInt(kSectionLayoutSize, "top", r.y);
    p.WriteProfileInt(kSectionLayoutSize, "bottom", r.y + r.height);
    p.WriteProfileInt(kSectionLayoutSize, "maximize", 0);
}

std::optional<QByteArray> TakeSavedBarLayout(Profile& p)
{
    std::optional<QByteArray> out;
    if (p.GetProfileInt(kSectionUtility, "barstate", 0) == 2) {
        p.WriteProfileInt(kSectionUtility, "barstate", 0);
        const std::string text = p.GetProfileString(kSectionUtility, "barlayout", "");
        if (!text.empty()) out = QByteArray::fromBase64(QByteArray::fromStdString(text));
    }
    p.WriteProfileInt(kSectionUtility, "barstate", 0);
    return out;
}

void SaveBarLayout(Profile& p, const QByteArray& state)
{
    p.WriteProfileString(kSectionUtility, "barlayout", state.toBase64().toStdString());
    p.WriteProfileInt(kSectionUtility, "barstate", 2);
}

bool LargeToolBars(int size, int dpi) { return size == 2 || (size == 0 && dpi > 144); }

std::pair<int, int> ScaledTolerances(int dpi)
{
    if (dpi <= 144) return {8, 13};
    return {8 * dpi / 96, 13 * dpi / 96};
}

// -- layer bar ------------------------------------------------------------------------------------

std::string LayerStateText(int state, bool current)
{
    std::string s;
    switch (state) {
    case 0: s = "表吸"; break;
    case 1: s = "表"; break;
    case 2: s = "非表"; break;
    default: break;
    }
    if (current) s += "編集";
    return s;
}

bool LayerGroupHasObject(const CKovUnit& unit, int g)
{
    for (const auto& w : unit.m_Walls)
        if (w->MWallLayer1 == g) return true;
    for (const auto& l : unit.m_Lines)
        if (l->MLineLayer1 == g) return true;
    for (const auto& t : unit.m_Texts)
        if (t->MTextLayer1 == g) return true;
    for (const auto& gr : unit.m_Groups)
        if (gr->MGrpLayer1 == g) return true;
    for (const auto& i : unit.m_Images)
        if (i->IMGLayer1 == g) return true;
    return false;
}

std::string ScaleText(double scale)
{
    if (scale != std::floor(scale)) return formatFixed(scale, 2);
    return kov::platform::formatInt(static_cast<long long>(scale));
}

LayerBarView RefreshLayerBarView(const CKovUnit& unit, CPlotInfo& plot)
{
    LayerBarView v;
    CLayer& layer = plot.m_Layer;
    const int current = layer.m_nCurrentGroup;
    for (int j = 0; j < 3; ++j) {
        const auto sj = static_cast<std::size_t>(j);
        v.numberCaptions[sj] = std::to_string(j) + (LayerGroupHasObject(unit, j) ? "." : "");
        v.stateCaptions[sj] = LayerStateText(layer.m_GrpLayerInfo[sj].m_nType, j == current);
        std::string hidden;
        for (int l = 0; l < CLayer::kUsed; ++l) {
            const CLayerInfo& info = layer.m_LayerInfo[sj][static_cast<std::size_t>(l)];
            if (info.m_nType != CLayerInfo::LAYER_HIDDEN) continue;
            if (!hidden.empty()) hidden += "、";
            hidden += std::to_string(l) + (info.m_strName.empty() ? "" : " " + info.m_strName);
        }
        std::string& tip = v.stateTips[sj];
        tip = std::to_string(j) + "グループ";
        if (!layer.m_GrpLayerInfo[sj].m_strName.empty()) tip += "「" + layer.m_GrpLayerInfo[sj].m_strName + "」";
        if (!hidden.empty()) tip += "\n非表示のレイヤー: " + hidden;
        if (j == current) v.checkedNumber = j;
    }
    if (current >= 0 && current < CLayer::kRecords)
        v.scaleText = ScaleText(layer.m_dScale[static_cast<std::size_t>(current)]);
    if (plot.PlotSirokuro) {
        v.colourButton = cmd::ColourModeBlackWhite;
    } else {
        switch (plot.PlotGradation) {
        case 0: v.colourButton = cmd::ColourModeColour; break;
        case 1: v.colourButton = cmd::ColourModeGradient1; break;
        case 2: v.colourButton = cmd::ColourModeGradient2; break;
        case 3: v.colourButton = cmd::ColourModeChic; break;
        default:
            plot.PlotGradation = 1;
            v.colourButton = cmd::ColourModeGradient1;
            break;
        }
    }
    return v;
}

void ChooseLayerGroup(CPlotInfo& plot, int row)
{
    if (row < 0 || row >= CLayer::kUsed) return;
    plot.m_Layer.m_nCurrentGroup = row;
    plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(row)].m_nType = CLayerInfo::LAYER_SNAP;
}

bool CycleLayerGroupState(CPlotInfo& plot, int row)
{
    if (row < 0 || row >= CLayer::kUsed || row == plot.m_Layer.m_nCurrentGroup) return false;
    int& t = plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(row)].m_nType;
    t = (t == 0) ? 1 : (t == 1) ? 2 : 0;
    return true;
}

void SetColourMode(CPlotInfo& plot, int command)
{
    switch (command) {
    case cmd::ColourModeColour: plot.PlotSirokuro = 0; plot.PlotGradation = 0; break;
    case cmd::ColourModeBlackWhite: plot.PlotSirokuro = 1; break;
    case cmd::ColourModeGradient1: plot.PlotSirokuro = 0; plot.PlotGradation = 1; break;
    case cmd::ColourModeGradient2: plot.PlotSirokuro = 0; plot.PlotGradation = 2; break;
    case cmd::ColourModeChic: plot.PlotSirokuro = 0; plot.PlotGradation = 3; break;
    default: break;
    }
}

// -- tool panel -----------------------------------------------------------------------------------

const std::array<std::string_view, kGridDivisionItems>& GridDivisionItems()
{
    static const std::array<std::string_view, kGridDivisionItems> items{
        "１分割", "２分割", "３分割", "４分割", "５分割", "６分割", "７分割",
        "８分割", "９分割", "１０分割", "１２分割", "２０分割", "設定分割"};
    return items;
}

int GridDivisionItemOf(int d)
{
    if (d >= 1 && d <= 10) return d - 1;
    if (d == 12) return 10;
    if (d == 20) return 11;
    return 12;
}

int GridDivisionOfItem(int item, Profile& profile)
{
    if (item >= 0 && item <= 9) return item + 1;
    if (item == 10) return 12;
    if (item == 11) return 20;
    if (item == 12) return profile.GetProfileInt(kSectionUtility, "app_grid_kankaku_A", 1);
    return -1;
}

int RoomLockValueOfItem(int item)
{
    switch (item) {
    case 0: return 1;
    case 1: return 2;
    case 2: return 0;
    default: return -1;
    }
}

int RoomLockItemOf(int value) { return value == 1 ? 0 : value == 2 ? 1 : 2; }

const std::vector<ToolCommandEffect>& ToolCommandEffects()
{
    using namespace cmd;
    static const std::vector<ToolCommandEffect> rows{
        {PanelSelect, 0, false, {}, false, "選択モード"},
        {PanelWall, 1, true, {true, false, false, 1}, true, "２点指定で壁作成"},
        {PanelRectRoom, 10, true, {true, false, false, 1}, false, "２点指定で四角形部屋作成"},
        {PanelPolygonRoom, 11, true, {true, false, false, 1}, false,
         "ｸﾘｯｸしていき多角形部屋作成（開始点と同じ点指定で終了）"},
        {PanelStairs, 56, true, {false, true, false, 1}, true, "3点指定で階段作成（まず幅を２点で指定）"},
        {PanelFittings, 55, true, {false, true, false, 1}, true, "3点指定で建具作成"},
        {PanelText, 8, true, {}, false, "", false},
        {PanelDecoratedText, 70, true, {}, false, "修飾文字作成位置をクリック"},
        {PanelParts, 0, false, {false, false, false, -1}, false, "", false},
        {PanelImage, 0, false, {false, false, true, -1}, false, ""},
        {PanelDelete, -1, true, {}, false, ""},
    };
    return rows;
}

const ToolCommandEffect* FindToolCommand(int command)
{
    for (const auto& e : ToolCommandEffects())
        if (e.command == command) return &e;
    return nullptr;
}

int ApplyToolCommand(CKoviraDoc& doc, const AppSettingsCache& s, Profile& profile, const ToolCommandEffect& e)
{
    if (e.toolNumber >= 0) doc.m_nToolMode = e.toolNumber;
    if (e.clearsSelection) doc.m_Selection.Clear();
    CPlotInfo& plot = doc.m_PlotInfo;
    if (s.app_autopita) {
        bool lineOffCoreOn = e.snaps.lineOffCoreOn;
        if (e.snaps.fromFittingSetting) {
            if (profile.GetProfileInt(kSectionUtility, "tateg_seti", 0) != 0) {
                plot.PlotWallPita = 0;
                plot.PlotLinePita = 1;
            } else {
                lineOffCoreOn = true;
            }
        }
        if (lineOffCoreOn) {
            plot.PlotLinePita = 0;
            plot.PlotWallPita = 1;
        }
        if (e.snaps.coreOff) plot.PlotWallPita = 0;
    }
    if (s.app_autogridpita) {
        if (e.snaps.grid > 0) {
            doc.m_Grid.visible = 1;
            doc.m_Grid.kyutyaku = 1;
        } else if (e.snaps.grid < 0) {
            doc.m_Grid.kyutyaku = 0;
        }
    }
    return (e.axisLock && s.app_walltyoku) ? 3 : 0;
}

std::string ToggleGridSnapFlag(CGrid& grid)
{
    if (!grid.visible) return {};
    grid.kyutyaku = grid.kyutyaku ? 0 : 1;
    return grid.kyutyaku ? "グリッド吸着ＯＮ" : "グリッド吸着ＯＦＦ";
}

std::string ToggleLineSnapFlag(CPlotInfo& plot, bool autoSnap)
{
    if (plot.PlotLinePita) {
        plot.PlotLinePita = 0;
        return "線吸着ＯＦＦ";
    }
    plot.PlotLinePita = 1;
    if (autoSnap) plot.PlotWallPita = 0;
    return "線吸着ＯＮ";
}

std::string ToggleWallCoreSnapFlag(CPlotInfo& plot, bool autoSnap)
{
    if (plot.PlotWallPita) {
        plot.PlotWallPita = 0;
        return "壁芯吸着ＯＦＦ";
    }
    plot.PlotWallPita = 1;
    if (autoSnap) plot.PlotLinePita = 0;
    return "壁芯吸着ＯＮ";
}

bool ChangeScale(CPlotInfo& plot, CKovUnit& unit, double newScale, bool rescaleTexts)
{
    if (!(newScale >= 0.01 && newScale < 10000.0) || !CLayer::ValidScale(newScale)) return false;
    CLayer& layer = plot.m_Layer;
    std::array<double, CLayer::kRecords> old = layer.m_dScale;
    for (int g = 0; g < CLayer::kUsed; ++g) layer.m_dScale[static_cast<std::size_t>(g)] = newScale;
    if (!rescaleTexts) return true;
    for (int i = 0; i < unit.m_Texts.GetSize(); ++i) {
        // Read through the const array: a text that keeps its size must not be copied.
        const CKovText* ct = static_cast<const CKovUnit&>(unit).m_Texts[i];
        const int g = ct ? ct->MTextLayer1 : -1;
        if (g < 0 || g >= CLayer::kUsed) continue;
        const double factor = old[static_cast<std::size_t>(g)] / newScale;
        if (factor == 1.0) continue;
        CKovText* t = unit.m_Texts[i];
        CFontMenu& f = t->MTextFontMenu;
        f.lfHeight = static_cast<std::int32_t>(f.lfHeight * factor);
        f.m_size *= factor;
        f.m_kankaku *= factor;
    }
    return true;
}

} // namespace kov::app

namespace kov::app {

int MmToPixels(double mm, double dpi) { return static_cast<int>(std::floor(mm * dpi / 25.4 + 0.5)); }

bool PickFontRecord(CFontMenu& f, kov::platform::Questions& q, double dpi)
{
    const bool vertical = f.lfEscapement == 2700 && !f.lfFaceName.empty() && f.lfFaceName[0] == '@';
    kov::platform::FontChoice initial;
    initial.faceName = vertical ? f.lfFaceName.substr(1) : f.lfFaceName;
    initial.height = MmToPixels(f.m_size, dpi);
    initial.weight = f.lfWeight;
    initial.italic = f.lfItalic != 0;
    initial.underline = f.lfUnderline != 0;
    initial.strikeOut = f.lfStrikeOut != 0;
    initial.color = f.m_Color;
    const int remembered = initial.height;
    const auto chosen = q.chooseFont(initial);
    if (!chosen) return false;
    // A vertical text stays vertical: the face keeps its "@" with the escapement.
    f.lfFaceName = vertical ? "@" + chosen->faceName : chosen->faceName;
    if (vertical) f.lfEscapement = 2700;
    f.lfWeight = chosen->weight;
    f.lfItalic = chosen->italic ? 1 : 0;
    f.lfUnderline = chosen->underline ? 1 : 0;
    f.lfStrikeOut = chosen->strikeOut ? 1 : 0;
    f.m_Color = chosen->color;
    const int pixels = std::abs(chosen->height);
    if (pixels != remembered && pixels > 0) f.m_size = pixels * 25.4 / dpi;
    return true;
}

bool ApplyWallThickness(CKoviraDoc& doc, int wallId, double thickness, int wallType)
{
    const CKovUnit& read = doc.m_Unit;
    const CKovWall* w = read.FindWall(wallId);
    if (!w || w->IsColumn() || !(thickness > 0)) return false;
    const int group = w->MWallLayer1;
    doc.PushUndo();
    CKovWall* wall = doc.m_Unit.FindWall(wallId);
    wall->MWallWide1 = thickness;
    wall->MWallWide2 = thickness;
    wall->MWallType = wallType;
    doc.m_Unit.UpdateWallCorners(wallId);
    std::vector<int> ids;
    for (const auto& other : read.m_Walls)
        if (other->MWallLayer1 == group) ids.push_back(other->MWallID);
    for (int id : ids) doc.m_Unit.ResetWallOutline(id);
    doc.m_Unit.JoinWalls(group);
    return true;
}

bool ApplyColumnThickness(CKoviraDoc& doc, int wallId, double h, int columnType)
{
    const CKovUnit& read = doc.m_Unit;
    const CKovWall* w = read.FindWall(wallId);
    if (!w || !w->IsColumn() || !(h > 0)) return false;
    doc.PushUndo();
    return ResizeColumn(doc.m_Unit, wallId, h, columnType);
}

bool ResizeColumn(CKovUnit& unit, int wallId, double h, int columnType)
{
    const CKovUnit& read = unit;
    const CKovWall* w = read.FindWall(wallId);
    if (!w || !w->IsColumn() || !(h > 0)) return false;
    const std::array<CDbPoint, 4> old = w->MWallPntKado;
    CKovWall* column = unit.FindWall(wallId);
    CDbPoint a = column->MWallPntA, b = column->MWallPntA;
    std::array<CDbPoint, 4> c;
    CKovUnit::ComputeWallCorners(c, a, b, h, 0);
    if (columnType == CKovWall::STUD) {
        // The axis the column was thin across before, from its own outline.
        double minX = old[0].x, maxX = old[0].x, minY = old[0].y, maxY = old[0].y;
        for (const CDbPoint& p : old) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        if (maxY - minY > maxX - minX) {
            c[0].x = c[1].x = a.x - h / 2.0;
            c[2].x = c[3].x = a.x + h / 2.0;
        } else {
            c[0].y = c[3].y = a.y - h / 2.0;
            c[1].y = c[2].y = a.y + h / 2.0;
        }
    }
    column->MWallPntKado = c;
    column->MWallWide1 = h;
    column->MWallWide2 = h;
    column->MHasiraType = columnType;
    column->MWallarPntA = {c[0], c[1], c[2], c[3]};
    column->MWallarPntB = {c[1], c[2], c[3], c[0]};
    return true;
}

} // namespace kov::app
