#pragma once

// Small builders for the editing and building tests: objects placed directly in a container with
// chosen identifiers, and a drawing transform of whole pixels per millimetre.

#include "model/DrawTransform.h"
#include "model/IdentifierBatch.h"
#include "model/KovUnit.h"

#include <memory>
#include <string>
#include <vector>

namespace kov::test {

// scale device pixels per drawing millimetre on every layer group, origin (0, 0), 1 pixel per paper mm.
inline DeviceTransform pixelTransform(double scale = 1.0, double paperScale = 1.0)
{
    DeviceTransform t;
    t.scaleX.fill(scale);
    t.scaleY.fill(scale);
    t.paperScale = paperScale;
    return t;
}

inline CKovLine& addFigure(CKovUnit& unit, int id, int kind, CDbPointArray points, std::vector<double> params = {},
                           int group = 0, int layerGroup = 0, int layer = 0)
{
    auto f = std::make_unique<CKovLine>();
    f->MLineID = id;
    f->MLineType = kind;
    f->MLinePnt = std::move(points);
    f->MLineParam = std::move(params);
    f->MLineGrpID = group;
    f->MLineLayer1 = layerGroup;
    f->MLineLayer2 = layer;
    return *unit.m_Lines[unit.m_Lines.Add(std::move(f))];
}

inline CKovText& addText(CKovUnit& unit, int id, CDbPoint at, std::string text = "A", int group = 0,
                         int layerGroup = 0, int layer = 0)
{
    auto t = std::make_unique<CKovText>();
    t->MTextID = id;
    t->MTextpnt = at;
    t->MTextstr = std::move(text);
    t->MTextGrpID = group;
    t->MTextLayer1 = layerGroup;
    t->MTextLayer2 = layer;
    return *unit.m_Texts[unit.m_Texts.Add(std::move(t))];
}

// A wall with its corners from the wall rule and its outline reset.
inline CKovWall& addWall(CKovUnit& unit, int id, CDbPoint a, CDbPoint b, double half = 50.0, int group = 0,
                         int layerGroup = 0, int layer = 0)
{
    auto w = std::make_unique<CKovWall>();
    w->MWallID = id;
    w->MWallWide1 = w->MWallWide2 = half;
    CKovUnit::ComputeWallCorners(w->MWallPntKado, a, b, half, 1);
    w->MWallPntA = a;
    w->MWallPntB = b;
    w->MWallGrpID = group;
    w->MWallLayer1 = layerGroup;
    w->MWallLayer2 = layer;
    CKovWall& added = *unit.m_Walls[unit.m_Walls.Add(std::move(w))];
    unit.ResetWallOutline(id);
    return added;
}

inline CKovGroup& addGroup(CKovUnit& unit, int id, std::vector<int> lines, std::vector<int> walls = {},
                           std::vector<int> texts = {}, int kind = 0)
{
    auto g = std::make_unique<CKovGroup>();
    g->MGrpID = id;
    g->MGrpLineID = std::move(lines);
    g->MGrpWallID = std::move(walls);
    g->MGrpTextID = std::move(texts);
    g->MGrpRoom = kind;
    CKovGroup& added = *unit.m_Groups[unit.m_Groups.Add(std::move(g))];
    unit.UpdateGroupBounds(added);
    return added;
}

// A drawing about to run out of identifiers of the kind: every one the allocator can give is in use
// but the `free` highest, taken by empty objects on layer group 15 far from anything a test draws.
inline void takeIdentifiers(CKovUnit& unit, kov::model::IdKind kind, int free)
{
    using kov::model::IdKind;
    const int limit = kind == IdKind::Group  ? CKovUnit::kGroupIdLimit
                      : kind == IdKind::Line ? CKovUnit::kLineIdLimit
                      : kind == IdKind::Wall ? CKovUnit::kWallIdLimit
                      : kind == IdKind::Text ? CKovUnit::kTextIdScanLimit
                                             : CKovUnit::kImageIdLimit;
    const CDbPoint far{1e7, 1e7};
    std::vector<int> open;
    for (int id = 1; id <= limit; ++id) {
        const CKovUnit& u = unit;
        const bool used = kind == IdKind::Group  ? u.m_Groups.Contains(id)
                          : kind == IdKind::Line ? u.m_Lines.Contains(id)
                          : kind == IdKind::Wall ? u.m_Walls.Contains(id)
                          : kind == IdKind::Text ? u.m_Texts.Contains(id)
                                                 : u.m_Images.Contains(id);
        if (!used)
            open.push_back(id);
    }
    open.resize(open.size() > static_cast<std::size_t>(free) ? open.size() - static_cast<std::size_t>(free) : 0);
    for (int id : open) {
        switch (kind) {
        case IdKind::Group: {
            auto g = std::make_unique<CKovGroup>();
            g->MGrpID = id;
            g->MGrpLayer1 = 15;
            g->MGrpmin = g->MGrpmax = far;
            unit.m_Groups.Add(std::move(g));
            break;
        }
        case IdKind::Line: {
            auto f = std::make_unique<CKovLine>();
            f->MLineID = id;
            f->MLineLayer1 = 15;
            f->MLinePnt = {far, far};
            unit.m_Lines.Add(std::move(f));
            break;
        }
        case IdKind::Wall: {
            auto w = std::make_unique<CKovWall>();
            w->MWallID = id;
            w->MWallLayer1 = 15;
            w->MWallPntA = w->MWallPntB = far;
            unit.m_Walls.Add(std::move(w));
            break;
        }
        case IdKind::Text: {
            auto t = std::make_unique<CKovText>();
            t->MTextID = id;
            t->MTextLayer1 = 15;
            t->MTextpnt = far;
            unit.m_Texts.Add(std::move(t));
            break;
        }
        case IdKind::Image: {
            auto p = std::make_unique<CKovImage>();
            p->ImageID = id;
            p->IMGLayer1 = 15;
            p->OffsetX = p->OffsetY = far.x;
            unit.m_Images.Add(std::move(p));
            break;
        }
        }
    }
}

} // namespace kov::test
