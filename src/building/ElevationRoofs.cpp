// Roofs and balconies in the elevation views, collected once per floor from the turned plan and
// drawn between the wall faces so that what lies behind a face is drawn before the face hides it.

#include "building/Elevations.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

double dist(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

const CKovLine* roofOutline(const CKovUnit& unit, const CKovGroup& g)
{
    for (int id : g.MGrpLineID)
        if (const CKovLine* f = unit.FindLine(id);
            f && f->MLineLineT == CKovLine::AUXILIARY_LINE_TYPE
            && (f->MLineType == CKovLine::RECTANGLE || f->MLineType == CKovLine::POLYGON))
            return f->MLinePnt.size() >= 4 ? f : nullptr;
    return nullptr;
}

double roofKey(const CKovLine& f)
{
    double k = f.MLinePnt[0].y;
    for (const CDbPoint& p : f.MLinePnt) k = std::max(k, p.y);
    return k;
}

} // namespace

void CKovUnit::CollectElevationRoofs(const CKovUnit& turned, std::vector<const CKovLine*>& roofs, int layerGroup)
{
    for (auto g : turned.m_Groups) {
        if (g->MGrpRoom != CKovGroup::ROOF_OUTLINE || g->MGrpLayer1 != layerGroup) continue;
        const CKovLine* f = roofOutline(turned, *g);
        if (!f) continue;
        const double key = roofKey(*f);
        auto at = roofs.begin();
        for (; at != roofs.end(); ++at) {
            const double k = roofKey(**at);
            if (k > key) break;
            if (k == key && f->MLinePnt[0].x <= (*at)->MLinePnt[0].x && f->MLinePnt[3].x >= (*at)->MLinePnt[3].x)
                break;
        }
        roofs.insert(at, f);
    }
}

void CKovUnit::DrawElevationRoofs(SelectionRecord& selection, const std::vector<const CKovLine*>& roofs,
                                  std::vector<int>& drawn, double a, double h, int layerGroup, int layer, bool last)
{
    auto face = [&](const CDbPointArray& p) {
        AddSelectedPolygon(selection, p, static_cast<int>(p.size()), layerGroup, layer, 0, 1, 0, 1, 0, kWhite);
    };
    auto mask = [&](const CDbPointArray& p) {
        AddSelectedPolygon(selection, p, static_cast<int>(p.size()), layerGroup, layer, 0, 0, 0, 1, kWhite, kWhite);
    };
    auto band = [&](const CDbPointArray& p) {
        AddSelectedPolygon(selection, p, static_cast<int>(p.size()), layerGroup, layer, 0, 0, 0, 1, 0, kWhite);
    };
    auto line = [&](const CDbPoint& p, const CDbPoint& q) { AddSelectedLine(selection, p, q, layerGroup, layer, 0, 0); };

    for (std::size_t index = 0; index < roofs.size(); ++index) {
        if (std::find(drawn.begin(), drawn.end(), static_cast<int>(index)) != drawn.end()) continue;
        const CKovLine& f = *roofs[index];
        const CDbPointArray& p = f.MLinePnt;
        if (!last) {
            const double k = std::max(RoundDecimals(p[1].y, 2), RoundDecimals(p[0].y, 2));
            if (k >= a) continue;
        }
        drawn.push_back(static_cast<int>(index));
        if (f.MLineParam.size() < 6) continue;
        const int code = truncToInt(f.MLineParam[0]);
        const bool gable = truncToInt(f.MLineParam[1]) == 1;
        const double e = f.MLineParam[2], v = f.MLineParam[3], pa = f.MLineParam[4], pb = f.MLineParam[5];
        // A pitch without run or rise gives no roof to draw.
        if (pa == 0.0 || pb == 0.0 || !std::isfinite(pb / pa)) continue;
        const double slope = pb / pa;
        const double w1 = dist(p[0], p[3]), w2 = dist(p[0], p[1]);
        const double l = p[1].x, r = p[2].x, xm = (l + r) / 2;
        const double eaveY = -h + e * slope;
        // The verge bands of a gable end: A points at the left verge, B at the right one.
        const double e1 = e - 90, yE = -h + e1 * slope, rr = 30 * pa / pb, ss = 30 * slope;
        const double y2 = yE - rr, y3 = y2 + ss, y4 = y3 - rr;
        const CDbPoint a1{l - e1, yE}, a2{l - e1 - 30, y2}, a3{l - e1 - 60, y3}, a4{l - e1 - 90, y4};
        const CDbPoint b1{r + e1, yE}, b2{r + e1 + 30, y2}, b3{r + e1 + 60, y3}, b4{r + e1 + 90, y4};
        auto gableWalls = [&](const CDbPoint& apex) {
            mask({{l, -h}, {l, eaveY}, {r, eaveY}, {r, -h}, apex});
            line({l, -h}, {l, eaveY});
            line({r, eaveY}, {r, -h});
        };
        switch (code) {
        case kov::building::ROOF_RIDGE_X: {
            const double top = -h - (w2 / 2) * slope;
            if (gable)
                face({{l - v, eaveY}, {r + v, eaveY}, {r + v, top}, {l - v, top}});
            else
                face({{l - e, eaveY}, {r + e, eaveY}, {r - w2 / 2, top}, {l + w2 / 2, top}});
            break;
        }
        case kov::building::ROOF_HIGH_TOP: {
            const double top = -h - w2 * slope;
            if (gable)
                face({{l - v, eaveY}, {r + v, eaveY}, {r + v, top}, {l - v, top}});
            else
                face({{l - e, eaveY}, {r + e, eaveY}, {r - w2, top}, {l + w2, top}});
            break;
        }
        case kov::building::ROOF_RIDGE_Y: {
            const CDbPoint c1{xm, -h - (w1 / 2) * slope};
            if (!gable) {
                face({{l - e, eaveY}, {r + e, eaveY}, c1});
                break;
            }
            gableWalls(c1);
            const CDbPoint c2{xm, y2 - (w1 / 2 + e1 + 30) * slope}, c3{xm, y4 - (w1 / 2 + e1 + 90) * slope};
            band({a1, a2, c2, b2, b1, c1});
            band({a3, a4, c3, b4, b3, c2});
            break;
        }
        case kov::building::ROOF_HIGH_RIGHT: {
            const CDbPoint c1{r, -h - w1 * slope};
            if (!gable) {
                face({{l - e, eaveY}, {r, eaveY}, c1});
                break;
            }
            gableWalls(c1);
            const CDbPoint c2{r, y2 - (e1 + w1 + 30) * slope}, c3{r, y4 - (e1 + w1 + 90) * slope};
            band({a1, a2, c2, c1});
            band({a3, a4, c3, c2});
            break;
        }
        case kov::building::ROOF_HIGH_LEFT: {
            const CDbPoint c1{l, -h - w1 * slope};
            if (!gable) {
                face({{l, eaveY}, {r + e, eaveY}, c1});
                break;
            }
            gableWalls(c1);
            const CDbPoint c2{l, y2 - (e1 + w1 + 30) * slope}, c3{l, y4 - (e1 + w1 + 90) * slope};
            band({b1, b2, c2, c1});
            band({b3, b4, c3, c2});
            break;
        }
        default: break; // a lean-to rising towards the viewer (9) shows its low side only: not drawn
        }
    }
}

void CKovUnit::CollectElevationBalconies(const CKovUnit& turned,
                                         std::vector<kov::building::ElevationSegment>& balconies, int layerGroup)
{
    for (auto g : turned.m_Groups) {
        if (g->MGrpRoom != CKovGroup::BALCONY || g->MGrpLayer1 != layerGroup || g->MGrpLineID.size() < 2) continue;
        const CKovLine* a = turned.FindLine(g->MGrpLineID[0]);
        const CKovLine* b = turned.FindLine(g->MGrpLineID[1]);
        if (!a || !b) continue;
        // The outer line is the longer one over as many segments as the first line has.
        const std::size_t n = a->MLinePnt.size();
        auto length = [n](const CKovLine& f) {
            double sum = 0;
            for (std::size_t k = 1; k < std::min(n, f.MLinePnt.size()); ++k) sum += dist(f.MLinePnt[k - 1], f.MLinePnt[k]);
            return sum;
        };
        const CKovLine& outer = length(*a) > length(*b) ? *a : *b;
        if (outer.MLineParam.size() < 2) continue;
        for (std::size_t k = 1; k < outer.MLinePnt.size(); ++k) {
            CDbPoint p = outer.MLinePnt[k - 1], q = outer.MLinePnt[k];
            if (std::fabs(p.x - q.x) < 0.0001) continue;
            if (q.x < p.x) std::swap(p, q);
            kov::building::ElevationSegment seg{p, q, outer.MLineParam[0], outer.MLineParam[1], std::max(p.y, q.y)};
            bool dropped = false;
            for (auto it = balconies.begin(); it != balconies.end();) {
                if (it->q0.x == seg.q0.x && it->key > seg.key) {
                    dropped = true;
                    break;
                }
                if (it->q0.x == seg.q0.x && it->key < seg.key) {
                    it = balconies.erase(it);
                    continue;
                }
                ++it;
            }
            if (dropped) continue;
            auto at = std::find_if(balconies.begin(), balconies.end(), [&seg](const auto& x) { return x.key > seg.key; });
            balconies.insert(at, seg);
        }
    }
}

void CKovUnit::DrawElevationBalconies(SelectionRecord& selection,
                                      const std::vector<kov::building::ElevationSegment>& balconies,
                                      std::vector<int>& drawn, double hLow, const CDbPoint& s, const CDbPoint& e,
                                      int layerGroup, int layer, bool last)
{
    for (std::size_t index = 0; index < balconies.size(); ++index) {
        if (std::find(drawn.begin(), drawn.end(), static_cast<int>(index)) != drawn.end()) continue;
        const kov::building::ElevationSegment& q = balconies[index];
        if (!last) {
            if (!(s.y >= q.q0.y)) continue;
            drawn.push_back(static_cast<int>(index));
            // Within the span and behind it: the face hides it.
            if (s.x <= q.q0.x && e.x >= q.q1.x) continue;
        } else {
            drawn.push_back(static_cast<int>(index));
        }
        const double bottom = -(hLow + q.mounting), top = -(hLow + q.mounting + q.height);
        AddSelectedPolygon(selection, {{q.q0.x, top}, {q.q0.x, bottom}, {q.q1.x, bottom}, {q.q1.x, top}}, 4,
                           layerGroup, layer, 0, 0, 0, 1, 0, kWhite);
    }
}
