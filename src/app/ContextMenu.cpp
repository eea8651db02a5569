#include "app/ContextMenu.h"

#include "app/CommandIds.h"
#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <initializer_list>

namespace kov::app {

namespace {

using namespace cmd;

constexpr int kRoomGroup = 1;
constexpr int kFittingGroup = 2;

const std::vector<ContextItem>& severalObjects()
{
    static const std::vector<ContextItem> items{
        {Move, "移動..."}, {CopyNumeric, "コピー（数値）..."}, {EditCopy, "コピー"}, {Delete, "削除"}, {},
        {Group, "グループ化する"}, {EditSelectedText, "選択文字修正..."}, {ToDecoratedText, "修飾文字に変換..."},
        {ToPlainText, "通常文字に変換..."}, {LineTypeOfSelection, "選択線種変更..."},
        {WallThicknessOfSelection, "選択壁厚変更..."}, {PolygonToLines, "多角形を単線化"},
        {CurveToPolyline, "円、円弧の多角形、連続線化"}, {MakeHatch, "模様（ハッチ）作成"}, {},
        {ContextStretchRotate, "伸縮・回転モード"}, {ContextGridSnap, "グリッド吸着"}, {ContextLineSnap, "線吸着"},
        {ContextWallCoreSnap, "壁芯吸着"}};
    return items;
}

const std::vector<ContextItem>& oneObject()
{
    static const std::vector<ContextItem> items{
        {ContextProperties, "選択物のプロパティ..."}, {}, {Move, "移動..."}, {CopyNumeric, "コピー（数値）..."},
        {EditCopy, "コピー"}, {Delete, "削除"}, {ToTop, "レイヤー内最上層へ移動"}, {ToBottom, "レイヤー内最下層へ移動"}, {},
        {Group, "グループ化する"}, {EditSelectedText, "選択文字の修正..."}, {ToDecoratedText, "修飾文字に変換..."},
        {ToPlainText, "通常文字に変換..."}, {LineTypeOfSelection, "選択線種変更..."},
        {WallThicknessOfSelection, "選択壁厚変更..."}, {}, {FitPicture, "選択画像の位置大きさ合わせ"},
        {TrimPicture, "選択画像のﾄﾘﾐﾝｸﾞ(切抜き)..."}, {TurnPicture, "選択画像の回転..."},
        {RotateImageLeft, "選択画像を左90度回転"}, {RotateImageRight, "選択画像を右90度回転"}, {},
        {PolygonToLines, "多角形、連続線を単線化"}, {CurveToPolyline, "円、円弧の多角形、連続線化"},
        {MakeHatch, "模様(ハッチ)作成"}, {}, {ContextStretchRotate, "伸縮・回転モード"},
        {ContextGridSnap, "グリッド吸着"}, {ContextLineSnap, "線吸着"}, {ContextWallCoreSnap, "壁芯吸着"}};
    return items;
}

const std::vector<ContextItem>& oneGroup()
{
    static const std::vector<ContextItem> items{
        {MirrorLeftRight, "左右反転"}, {MirrorTopBottom, "上下反転"}, {RotateLeft90, "左に90度回転"},
        {RotateRight90, "右に90度回転"}, {RotateOtherAngle, "他の角度の回転..."}, {StretchGroup, "伸縮..."}, {},
        {Move, "移動..."}, {CopyNumeric, "コピー（数値）..."}, {EditCopy, "コピー"}, {Delete, "削除"},
        {ToTop, "レイヤー内最上層へ移動"}, {ToBottom, "レイヤー内最下層へ移動"}, {}, {RoomVertex, "部屋の頂点の追加"},
        {RoomCurvedWall, "部屋の壁を曲線変形"}, {Ungroup, "グループ化解除"}, {EditSelectedText, "選択文字修正..."},
        {WallThicknessOfSelection, "選択壁厚変更..."}, {}, {ContextStretchRotate, "伸縮・回転モード"},
        {ContextGridSnap, "グリッド吸着"}, {ContextLineSnap, "線吸着"}, {ContextWallCoreSnap, "壁芯吸着"}};
    return items;
}

const std::vector<ContextItem>& oneFitting()
{
    static const std::vector<ContextItem> items{
        {Rotate180, "180度回転"}, {DoorDirection, "扉の方向を変える"}, {ShutterDirection, "雨戸の向きを変える"},
        {FittingSize, "幅、厚み変更..."}, {}, {Move, "移動..."}, {CopyNumeric, "コピー（数値）..."}, {Delete, "削除"}};
    return items;
}

void removeAll(std::vector<ContextItem>& items, std::initializer_list<int> commands)
{
    std::erase_if(items, [commands](const ContextItem& i) {
        return i.command != 0 && std::find(commands.begin(), commands.end(), i.command) != commands.end();
    });
}

// Separators left at either end or next to each other by the removals go too.
void tidySeparators(std::vector<ContextItem>& items)
{
    std::vector<ContextItem> kept;
    for (const ContextItem& i : items) {
        if (i.command == 0 && (kept.empty() || kept.back().command == 0)) continue;
        kept.push_back(i);
    }
    while (!kept.empty() && kept.back().command == 0) kept.pop_back();
    items = std::move(kept);
}

} // namespace

std::vector<ContextItem> ContextMenuItems(const CKovUnit& unit, const SelectionRecord& sel, const ContextMenuState& state)
{
    if (state.zooming || state.placing || state.collecting || state.tool == 56) return {};
    std::vector<ContextItem> items;
    if (sel.m_nCount == 1 && !sel.m_Groups.empty()) {
        const CKovGroup* group = unit.FindGroup(sel.m_Groups.front());
        if (!group) return {};
        if (group->MGrpRoom == kFittingGroup) {
            items = oneFitting();
        } else {
            items = oneGroup();
            if (group->MGrpRoom != kRoomGroup) removeAll(items, {RoomVertex, RoomCurvedWall});
        }
    } else if (sel.m_nCount == 1 && !sel.m_Texts.empty()) {
        items = oneObject();
        removeAll(items, {LineTypeOfSelection, WallThicknessOfSelection, MakeHatch, ContextProperties, PolygonToLines,
                          TrimPicture, TurnPicture, RotateImageLeft, RotateImageRight, CurveToPolyline});
    } else if (sel.m_nCount == 1 && (!sel.m_Lines.empty() || !sel.m_Walls.empty() || !sel.m_Images.empty())) {
        items = oneObject();
        removeAll(items, {LineTypeOfSelection, EditSelectedText});
        if (!sel.m_Lines.empty()) {
            const CKovLine* f = unit.FindLine(sel.m_Lines.front());
            if (!f) return {};
            if (f->MLineType != CKovLine::RECTANGLE && f->MLineType != CKovLine::POLYGON &&
                f->MLineType != CKovLine::CONTINUOUS)
                removeAll(items, {PolygonToLines});
            removeAll(items, {WallThicknessOfSelection});
        } else {
            removeAll(items, {PolygonToLines});
        }
        if (sel.m_Images.empty())
            removeAll(items, {FitPicture, TrimPicture, TurnPicture, RotateImageLeft, RotateImageRight});
        removeAll(items, {ToDecoratedText, ToPlainText});
    } else if (sel.m_nCount > 1) {
        items = severalObjects();
        if (sel.m_Texts.empty()) removeAll(items, {EditSelectedText, ToDecoratedText, ToPlainText});
    } else {
        if (state.tool != 0) return {};
        items = severalObjects();
        for (ContextItem& i : items)
            if (i.command == Delete || i.command == Group) i.enabled = false;
    }
    for (ContextItem& i : items) {
        if (i.command == ContextLineSnap) i.checked = state.lineSnap;
        if (i.command == ContextWallCoreSnap) i.checked = state.wallCoreSnap;
        if (i.command == ContextStretchRotate) i.checked = state.stretchRotate;
        if (i.command == ContextGridSnap) i.checked = state.gridSnap;
    }
    if (!state.offerWallCoreSnap) removeAll(items, {ContextWallCoreSnap});
    tidySeparators(items);
    return items;
}

} // namespace kov::app
