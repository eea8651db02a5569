// Changing a placed fitting: every change reads the fitting's state from its frame, inserts a fresh
// copy of its library drawing, fits it at the same place and deletes the old group.

#include "building/Fittings.h"
#include "building/PartFiles.h"
#include "building/PartLibrary.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cmath>
#include <utility>

using kov::building::FittingFit;
using kov::building::FittingLibraryAccess;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

bool isPocketFitting(int kind, int number)
{
    if (kind == 1) return number == 12 || number == 13 || number == 14 || number == 17 || number == 18 || number == 19;
    return kind == 8 && (number == 11 || number == 12);
}

// What a rebuild keeps of the old fitting.
struct OldFitting {
    FittingFit fit;
    CDbPoint p[4];
    int layerGroup = 0;
    int layer = 0;
};

// The state of a placed fitting; false for a group that is no fitting (no frame with its kind,
// number and option code, or a kind outside 1-12).
bool readFitting(const CKovUnit& unit, int groupId, const FittingLibraryAccess& library, OldFitting& out)
{
    const CKovGroup* group = unit.FindGroup(groupId);
    if (!group || group->MGrpRoom != CKovGroup::FITTING) return false;
    const CKovLine* frame = unit.FittingFrame(*group);
    if (!frame || frame->MLinePnt.size() < 4 || frame->MLineParam.size() < 4) return false;
    FittingFit& f = out.fit;
    const auto& prm = frame->MLineParam;
    f.mirror = std::trunc(prm[0]);
    f.kind = static_cast<int>(std::trunc(prm[1]));
    f.number = static_cast<int>(std::trunc(prm[2]));
    f.optionCode = static_cast<int>(std::trunc(prm[3]));
    if (f.kind < 1 || f.kind > kov::building::kFittingKinds || f.number < 1) return false;
    // Stored heights stay; a fitting stored without them takes its kind's.
    f.height = prm.size() > 5 ? prm[4] : library.defaults.HeightOf(f.kind);
    f.mounting = prm.size() > 5 ? prm[5] : library.defaults.MountingOf(f.kind);
    f.angle = group->MGrpKakudo;
    for (int i = 0; i < 4; ++i) out.p[i] = frame->MLinePnt[static_cast<std::size_t>(i)];
    out.layerGroup = group->MGrpLayer1;
    out.layer = group->MGrpLayer2;

    f.colour = 0;
    if (group->MGrpLineID.size() == 1) {
        f.colour = frame->MLineColor;
    } else {
        for (int id : group->MGrpLineID) {
            const CKovLine* g = unit.FindLine(id);
            if (g && g != frame) {
                f.colour = g->MLineColor;
                break;
            }
        }
    }
    // The fills come back with the sets that made them.
    f.whiteSwing = 0;
    if (f.kind == 2 || f.kind == 4 || f.kind == 11) {
        for (int id : group->MGrpLineID) {
            const CKovLine* g = unit.FindLine(id);
            if (g && (f.kind == 11 || g->MLineType == CKovLine::ARC) && g->MLinebNakanuri && g->MLineNakaColor == kWhite)
                f.whiteSwing = 1;
        }
    }
    f.pocket = 1;
    f.pocketColour = 0;
    if (isPocketFitting(f.kind, f.number)) {
        bool passedFrame = false;
        for (int id : group->MGrpLineID) {
            const CKovLine* g = unit.FindLine(id);
            if (!g || g->MLineType != CKovLine::RECTANGLE) continue;
            if (!passedFrame) {
                passedFrame = true;
                continue;
            }
            f.pocket = g->MLinebNakanuri ? 1 : 0;
            f.pocketColour = g->MLinebNakanuri ? g->MLineNakaColor : 0;
            break;
        }
    }
    return true;
}

// Inserts the drawing on the old fitting's layer, fits it, then the old fitting goes. -1 with
// nothing changed when the drawing cannot be read.
int replaceFitting(CKovUnit& unit, int oldId, const OldFitting& old, const FittingFit& fit, SelectionRecord& selection,
                   const CPlotInfo& plot, FittingLibraryAccess& library)
{
    if (!(fit.width > 0) || !(fit.depth > 0)) return 0;
    const std::filesystem::path file = kov::building::FindFittingFile(library.library, fit.kind, fit.number);
    if (file.empty()) {
        library.error = std::string(kov::building::kFittingDrawingMissing);
        return -1;
    }
    CPlotInfo onLayer(plot);
    onLayer.m_Layer.m_nCurrentGroup = old.layerGroup;
    onLayer.m_Layer.m_nCurrentLayer = old.layer;
    std::string why;
    const int newId = kov::building::InsertPartFile(file, unit, onLayer, library.cache, &why);
    if (newId == 0) {
        library.error = std::string(kov::building::kFittingDrawingMissing);
        if (!why.empty()) library.error += "\n" + why;
        return -1;
    }
    if (!unit.FitFittingToWall(newId, fit)) {
        unit.DeleteGroup(newId);
        library.error = std::string(kov::building::kFittingDrawingMissing);
        return -1;
    }
    unit.DeleteGroup(oldId);
    selection.Clear();
    selection.AddGroupId(newId);
    return 1;
}

} // namespace

int CKovUnit::RefitFitting(int groupId, double width, double depth, SelectionRecord& selection, const CPlotInfo& plot,
                           FittingLibraryAccess& library)
{
    OldFitting old;
    if (!readFitting(*this, groupId, library, old)) return 0;
    FittingFit fit = old.fit;
    fit.origin = old.p[0];
    fit.depth = distance(old.p[0], old.p[1]);
    if (std::fabs(depth - fit.depth) > 0.1) {
        // A new thickness keeps the fitting centred on the wall's core.
        const CDbPoint m{(old.p[0].x + old.p[1].x) / 2, (old.p[0].y + old.p[1].y) / 2};
        fit.origin = PointTowards(m, old.p[0], depth / 2);
        fit.depth = depth;
    }
    fit.width = width;
    return replaceFitting(*this, groupId, old, fit, selection, plot, library);
}

int CKovUnit::FlipFittingAcrossWall(int groupId, SelectionRecord& selection, const CPlotInfo& plot,
                                    FittingLibraryAccess& library)
{
    OldFitting old;
    if (!readFitting(*this, groupId, library, old)) return 0;
    FittingFit fit = old.fit;
    fit.angle += 180.0;
    if (fit.angle >= 360.0) fit.angle -= 360.0;
    fit.origin = old.p[2];
    fit.width = distance(old.p[0], old.p[3]);
    fit.depth = distance(old.p[0], old.p[1]);
    return replaceFitting(*this, groupId, old, fit, selection, plot, library);
}

int CKovUnit::RebuildFitting(int groupId, SelectionRecord& selection, const CPlotInfo& plot, int mode,
                             FittingLibraryAccess& library)
{
    OldFitting old;
    if (!readFitting(*this, groupId, library, old)) return 0;
    FittingFit fit = old.fit;
    fit.origin = old.p[0];
    fit.width = distance(old.p[0], old.p[3]);
    fit.depth = distance(old.p[0], old.p[1]);
    if (mode == 0) {
        fit.mirror = fit.mirror == 0 ? 1 : 0;
    } else if (mode == 1) {
        const int units = fit.optionCode % 10, tens = fit.optionCode - units;
        if (units == 1) fit.optionCode = tens + 4;
        else if (units == 4) fit.optionCode = tens + 1;
    }
    return replaceFitting(*this, groupId, old, fit, selection, plot, library);
}
