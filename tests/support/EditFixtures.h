#pragma once

// Small builders for the editing and building tests: objects placed directly in a container with
// chosen identifiers, and a drawing transform of whole pixels per millimetre.

#include "model/DrawTransform.h"
#include "model/IdentifierBatch.h"
#include "model/KovUnit.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
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
    const CDbPoint far{1e7, 1e7};
    auto fill = [free](auto& array, int limit, auto make) {
        std::vector<int> open;
        for (int id = 1; id <= limit; ++id)
            if (!std::as_const(array).Contains(id))
                open.push_back(id);
        open.resize(open.size() - std::min(open.size(), static_cast<std::size_t>(free)));
        for (int id : open)
            array.Add(make(id));
    };
    auto object = [](auto made, int id, auto idField, auto layerField) {
        (*made).*idField = id;
        (*made).*layerField = 15;
        return made;
    };
    switch (kind) {
    case IdKind::Group:
        fill(unit.m_Groups, CKovUnit::kGroupIdLimit, [&](int id) {
            auto g = object(std::make_unique<CKovGroup>(), id, &CKovGroup::MGrpID, &CKovGroup::MGrpLayer1);
            g->MGrpmin = g->MGrpmax = far;
            return g;
        });
        break;
    case IdKind::Line:
        fill(unit.m_Lines, CKovUnit::kLineIdLimit, [&](int id) {
            auto f = object(std::make_unique<CKovLine>(), id, &CKovLine::MLineID, &CKovLine::MLineLayer1);
            f->MLinePnt = {far, far};
            return f;
        });
        break;
    case IdKind::Wall:
        fill(unit.m_Walls, CKovUnit::kWallIdLimit, [&](int id) {
            auto w = object(std::make_unique<CKovWall>(), id, &CKovWall::MWallID, &CKovWall::MWallLayer1);
            w->MWallPntA = w->MWallPntB = far;
            return w;
        });
        break;
    case IdKind::Text:
        fill(unit.m_Texts, CKovUnit::kTextIdScanLimit, [&](int id) {
            auto t = object(std::make_unique<CKovText>(), id, &CKovText::MTextID, &CKovText::MTextLayer1);
            t->MTextpnt = far;
            return t;
        });
        break;
    case IdKind::Image:
        fill(unit.m_Images, CKovUnit::kImageIdLimit, [&](int id) {
            auto p = object(std::make_unique<CKovImage>(), id, &CKovImage::ImageID, &CKovImage::IMGLayer1);
            p->OffsetX = p->OffsetY = far.x;
            return p;
        });
        break;
    }
}

} // namespace kov::test
