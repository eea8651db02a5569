#pragma once

// Where an object lies: a layer group (0-15) and a layer (0-15) inside it, read from and written to
// the two layer fields every object kind carries, and the two filters that choose objects by their
// layer. The filters are two types because their numbers mean different things: a pick's 1 is "the
// snappable layers and the current one", a range's 1 is "the current layer group".

#include "model/KovGroup.h"
#include "model/KovImage.h"
#include "model/KovLine.h"
#include "model/KovText.h"
#include "model/KovWall.h"
#include "model/PlotInfo.h"

struct LayerAddress {
    int group = 0; // layer group
    int layer = 0; // layer inside it

    friend bool operator==(const LayerAddress&, const LayerAddress&) = default;
};

// Which layers the click picks take objects from.
enum class PickLayers : int {
    Current = 0,            // the current layer only
    SnappableOrCurrent = 1, // layers whose group and layer are shown and snappable, and the current one
    Every = 2,              // every layer, hidden ones included
};

// Which layers the range selection takes objects from. Layer states are not consulted.
enum class RangeLayers : int {
    Every = 0,
    CurrentGroup = 1, // every layer of the current layer group
    CurrentLayer = 2, // the current layer of the current layer group
};

inline LayerAddress CurrentLayer(const CPlotInfo& plot)
{
    return {plot.m_Layer.m_nCurrentGroup, plot.m_Layer.m_nCurrentLayer};
}
inline void SetCurrentLayer(CPlotInfo& plot, LayerAddress at)
{
    plot.m_Layer.m_nCurrentGroup = at.group;
    plot.m_Layer.m_nCurrentLayer = at.layer;
}

inline LayerAddress LayerOf(const CKovGroup& o) { return {o.MGrpLayer1, o.MGrpLayer2}; }
inline LayerAddress LayerOf(const CKovLine& o) { return {o.MLineLayer1, o.MLineLayer2}; }
inline LayerAddress LayerOf(const CKovWall& o) { return {o.MWallLayer1, o.MWallLayer2}; }
inline LayerAddress LayerOf(const CKovText& o) { return {o.MTextLayer1, o.MTextLayer2}; }
inline LayerAddress LayerOf(const CKovImage& o) { return {o.IMGLayer1, o.IMGLayer2}; }

inline void SetLayer(CKovGroup& o, LayerAddress at) { o.MGrpLayer1 = at.group, o.MGrpLayer2 = at.layer; }
inline void SetLayer(CKovLine& o, LayerAddress at) { o.MLineLayer1 = at.group, o.MLineLayer2 = at.layer; }
inline void SetLayer(CKovWall& o, LayerAddress at) { o.MWallLayer1 = at.group, o.MWallLayer2 = at.layer; }
inline void SetLayer(CKovText& o, LayerAddress at) { o.MTextLayer1 = at.group, o.MTextLayer2 = at.layer; }
inline void SetLayer(CKovImage& o, LayerAddress at) { o.IMGLayer1 = at.group, o.IMGLayer2 = at.layer; }

// The range filter applied to an object's layer.
inline bool PassesRangeLayers(const CPlotInfo& plot, RangeLayers filter, LayerAddress at)
{
    const LayerAddress current = CurrentLayer(plot);
    switch (filter) {
    case RangeLayers::CurrentGroup: return at.group == current.group;
    case RangeLayers::CurrentLayer: return at == current;
    case RangeLayers::Every: break;
    }
    return true;
}
