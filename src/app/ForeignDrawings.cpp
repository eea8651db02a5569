#include "app/ForeignDrawings.h"

#include "app/KoviraDoc.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/Questions.h"

namespace kov::app {

void PutEverythingOnLayerZero(CPlotInfo& plot, CKovUnit& unit)
{
    unit.m_Groups.ForEachMutable([&](auto& g) { g.MGrpLayer1 = g.MGrpLayer2 = 0; });
    unit.m_Walls.ForEachMutable([&](auto& w) { w.MWallLayer1 = w.MWallLayer2 = 0; });
    unit.m_Lines.ForEachMutable([&](auto& f) { f.MLineLayer1 = f.MLineLayer2 = 0; });
    unit.m_Texts.ForEachMutable([&](auto& t) { t.MTextLayer1 = t.MTextLayer2 = 0; });
    unit.m_Images.ForEachMutable([&](auto& i) { i.IMGLayer1 = i.IMGLayer2 = 0; });

    CLayer& layers = plot.m_Layer;
    for (int g = 0; g < CLayer::kUsed; ++g) {
        layers.m_GrpLayerInfo[static_cast<std::size_t>(g)].m_nType = CLayerInfo::LAYER_SNAP;
        for (int l = 0; l < CLayer::kUsed; ++l)
            layers.m_LayerInfo[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)].m_nType
                = CLayerInfo::LAYER_SNAP;
    }
    for (int g = 1; g < CLayer::kUsed; ++g) layers.m_dScale[static_cast<std::size_t>(g)] = layers.m_dScale[0];
    layers.m_nCurrentGroup = 0;
    layers.m_nCurrentLayer = 0;
}

namespace {

int layerOfGroupKind(int kind)
{
    if (kind == CKovGroup::ROOM) return 0;
    if (kind == CKovGroup::FITTING) return 1;
    return 2;
}

} // namespace

void SortIntoLayersByKind(CPlotInfo& plot, CKovUnit& unit)
{
    for (std::size_t g = 0; g < 3; ++g)
        for (std::size_t l = 0; l < 6; ++l) plot.m_Layer.m_LayerInfo[g][l].m_strName = kSplitLayerNames[l];

    unit.m_Walls.ForEachMutable([&](auto& w) { w.MWallLayer2 = 0; });
    unit.m_Texts.ForEachMutable([&](auto& t) { t.MTextLayer2 = t.MTextGrpID != 0 ? 2 : 5; });
    unit.m_Groups.ForEachMutable([&](auto& g) { g.MGrpLayer2 = layerOfGroupKind(g.MGrpRoom); });
    const CKovUnit& groups = unit;
    unit.m_Lines.ForEachMutable([&](CKovLine& f) {
        if (f.MLineGrpID != 0) {
            const CKovGroup* group = groups.FindGroup(f.MLineGrpID);
            f.MLineLayer2 = group ? layerOfGroupKind(group->MGrpRoom) : 2;
        } else if (f.MLineType == CKovLine::DIMENSION) {
            f.MLineLayer2 = 4;
        } else if (f.MLineLineT == CKovLine::AUXILIARY_LINE_TYPE) {
            f.MLineLayer2 = 3;
        } else {
            f.MLineLayer2 = 2;
        }
    });
}

bool OpenForeignToLayerZero(CKoviraDoc& doc, const std::filesystem::path& path)
{
    if (!doc.OpenAsNewDrawing(path)) return false;
    doc.services().questions.message(kAllOnLayerZeroMessage);
    PutEverythingOnLayerZero(doc.m_PlotInfo, doc.m_Unit);
    doc.m_bRedraw = 1;
    return true;
}

bool OpenKvrSplitLayers(CKoviraDoc& doc, const std::filesystem::path& path)
{
    if (!doc.OpenAsNewDrawing(path)) return false;
    if (doc.services().questions.askYesNo(kSplitLayersQuestion)) {
        SortIntoLayersByKind(doc.m_PlotInfo, doc.m_Unit);
        doc.m_bRedraw = 1;
    }
    return true;
}

int SaveBlockToFile(CKoviraDoc& doc, const std::filesystem::path& path)
{
    std::string error;
    if (doc.WriteDocumentFile(path, &error)) return 1;
    // An empty reason means the user has been told already (a picture that could not be read).
    if (!error.empty()) doc.services().questions.message(error, {}, kov::platform::MessageIcon::Error);
    return 0;
}

} // namespace kov::app
