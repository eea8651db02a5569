// The placement options applied to a part inserted from the parts palette.

#include "building/PartPlacement.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <cmath>
#include <utility>

namespace kov::building {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
namespace pf = kov::platform;

bool whole(double v) { return v == std::trunc(v); }

} // namespace

PartPlacement PartPlacement::FromProfile(const pf::Profile& profile)
{
    PartPlacement p;
    p.buhin_haiti_muki = profile.GetProfileInt(kUtility, "buhin_haiti_muki", 1);
    p.buhin_haiti_mukikakudo = profile.GetProfileString(kUtility, "buhin_haiti_mukikakudo", "0");
    p.buhin_haiti_ookisa = profile.GetProfileInt(kUtility, "buhin_haiti_ookisa", 1);
    p.buhin_haiti_ookisa_bai_y = profile.GetProfileString(kUtility, "buhin_haiti_ookisa_bai_y", "1");
    p.buhin_haiti_ookisa_bai_t = profile.GetProfileString(kUtility, "buhin_haiti_ookisa_bai_t", "1");
    p.buhin_haiti_ookisa_kazu_y = profile.GetProfileString(kUtility, "buhin_haiti_ookisa_kazu_y", "1000");
    p.buhin_haiti_ookisa_kazu_t = profile.GetProfileString(kUtility, "buhin_haiti_ookisa_kazu_t", "1000");
    p.haiti_mauseiti = profile.GetProfileInt(kUtility, "haiti_mauseiti", 1);
    p.buhin_color_sirokuro = profile.GetProfileInt(kUtility, "buhin_color_sirokuro", 0);
    return p;
}

void PartPlacement::ResetInProfile(pf::Profile& profile)
{
    profile.WriteProfileString(kUtility, "buhin_haiti_mukikakudo", "0");
    profile.WriteProfileInt(kUtility, "buhin_haiti_muki", 1);
    profile.WriteProfileString(kUtility, "buhin_haiti_ookisa_bai_t", "1");
    profile.WriteProfileString(kUtility, "buhin_haiti_ookisa_bai_y", "1");
    profile.WriteProfileInt(kUtility, "haiti_mauseiti", 1);
}

CDbPoint PartPlacement::Anchor(double w, double h) const
{
    switch (haiti_mauseiti) {
    case 2: return {w / 2, 0};
    case 3: return {w, 0};
    case 4: return {0, h / 2};
    case 5: return {w / 2, h / 2};
    case 6: return {w, h / 2};
    case 7: return {0, h};
    case 8: return {w / 2, h};
    case 9: return {w, h};
    default: return {0, 0};
    }
}

std::string PartPlacement::Summary() const
{
    std::string direction;
    switch (buhin_haiti_muki) {
    case 1: direction = "回転なし"; break;
    case 2: direction = "左90度回転"; break;
    case 3: direction = "右90度回転"; break;
    case 4: direction = "180度回転"; break;
    case 5: direction = "上下反転"; break;
    case 6: direction = "左右反転"; break;
    case 7: direction = buhin_haiti_mukikakudo + "度回転"; break;
    default: break;
    }
    std::string size;
    const bool factors = buhin_haiti_ookisa == 1;
    const double x = pf::parseDouble(factors ? buhin_haiti_ookisa_bai_y : buhin_haiti_ookisa_kazu_y);
    const double y = pf::parseDouble(factors ? buhin_haiti_ookisa_bai_t : buhin_haiti_ookisa_kazu_t);
    const std::string unit = factors ? "倍" : "mm";
    auto number = [&](double v) { return whole(x) && whole(y) ? pf::formatInt(static_cast<long long>(v)) : pf::formatFixed(v, 2); };
    size = "横" + number(x) + unit + "\n縦" + number(y) + unit;
    return direction + "\n" + size;
}

} // namespace kov::building

int CKovUnit::PlacePart(SelectionRecord& selection, const CPlotInfo& plot, const kov::building::PartPlacement& options)
{
    namespace pf = kov::platform;
    if (selection.m_nCount != 1 || selection.m_Groups.empty()) return 0;
    const int groupId = selection.m_Groups.front();
    if (!std::as_const(*this).FindGroup(groupId)) return 0;
    const CKovGroup members = *std::as_const(*this).FindGroup(groupId);

    if (options.buhin_color_sirokuro != 0) {
        for (int id : members.MGrpLineID) {
            if (!std::as_const(*this).FindLine(id)) continue;
            CKovLine& f = *FindLine(id);
            f.MLineColor = 0;
            if (f.MLineNakaColor != 0) {
                f.MLineNakaColor = 0xFFFFFF;
                f.MLineNakaColor2 = 0xFFFFFF;
            }
        }
        for (int id : members.MGrpTextID) {
            if (!std::as_const(*this).FindText(id)) continue;
            CKovText& t = *FindText(id);
            t.MTextFontMenu.m_Color = 0;
            t.MTextFontMenu.m_BackColor = 0xFFFFFF;
        }
    }

    double fx = 1, fy = 1;
    const CDbPoint lo = members.MGrpmin, hi = members.MGrpmax;
    if (options.buhin_haiti_ookisa == 1) {
        fx = pf::parseDouble(options.buhin_haiti_ookisa_bai_y);
        fy = pf::parseDouble(options.buhin_haiti_ookisa_bai_t);
    } else {
        const double sx = pf::parseDouble(options.buhin_haiti_ookisa_kazu_y);
        const double sy = pf::parseDouble(options.buhin_haiti_ookisa_kazu_t);
        if (!(sx > 0) || !(sy > 0)) return 0;
        const double w = std::fabs(hi.x - lo.x), h = std::fabs(hi.y - lo.y);
        if (w == 0 || h == 0) return 0;
        fx = sx / w;
        fy = sy / h;
    }
    // A factor of nothing would fold the part onto a line.
    if (!(fx > 0) || !(fy > 0) || !std::isfinite(fx) || !std::isfinite(fy)) return 0;
    if (fx != 1 || fy != 1) {
        CKovUnit snapshot;
        snapshot.CopyFrom(*this);
        ScaleGroupFromSnapshot(members, snapshot, fx, fy, lo);
        FindGroup(groupId)->MGrpmax = {lo.x + (hi.x - lo.x) * fx, lo.y + (hi.y - lo.y) * fy};
        snapshot.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
    }

    auto resetWalls = [&] {
        if (members.MGrpWallID.empty()) return;
        std::vector<int> ids;
        for (const auto& w : std::as_const(*this).m_Walls)
            if (w->MWallLayer1 == plot.m_Layer.m_nCurrentGroup) ids.push_back(w->MWallID);
        for (int id : ids) ResetWallOutline(id);
    };
    double angle = 0;
    switch (options.buhin_haiti_muki) {
    case 1: return 1;
    case 5:
        FlipGroupVertical(groupId);
        resetWalls();
        return 1;
    case 6:
        FlipGroupHorizontal(groupId);
        resetWalls();
        return 1;
    case 2: angle = 90; break;
    case 3: angle = 270; break;
    case 4: angle = 180; break;
    case 7: angle = pf::parseDouble(options.buhin_haiti_mukikakudo); break;
    default: break;
    }
    const CDbPoint corner = std::as_const(*this).FindGroup(groupId)->MGrpmin;
    {
        CKovUnit snapshot;
        snapshot.CopyFrom(*this);
        RotateGroup(snapshot, angle, groupId);
        snapshot.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
    }
    {
        CKovUnit snapshot;
        snapshot.CopyFrom(*this);
        MoveSelection(selection, corner.x, corner.y, snapshot);
        snapshot.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
    }
    resetWalls();
    return 1;
}
