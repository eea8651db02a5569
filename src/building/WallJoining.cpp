// Wall joining: every wall's outline edges are cut where the corner quadrilaterals of the other walls
// of its layer group cover them.

#include "building/WallJoining.h"

#include "edit/PickRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>
#include <utility>

namespace {

constexpr double kPointTolerance = 1e-4;   // equal points, axis-parallel walls and sides
constexpr double kEdgeKindTolerance = 1e-3;
constexpr double kParallelSlopes = 0.1;
// Clippings per wall before its outline is left as it stands.
constexpr int kMaxClipsPerWall = 1000;

bool near(const CDbPoint& a, const CDbPoint& b)
{
    return std::fabs(a.x - b.x) < kPointTolerance && std::fabs(a.y - b.y) < kPointTolerance;
}

} // namespace

// ---- Region test

WallRegion::WallRegion(const std::array<CDbPoint, 4>& corners)
{
    for (std::size_t k = 0; k < 4; ++k)
        m_pts[k] = RoundPoint(corners[k].x, corners[k].y);
}

bool WallRegion::contains(int x, int y) const
{
    return kov::edit::PointInWindingPolygon(m_pts.data(), 4, x, y);
}

bool WallRegion::contains(const CDbPoint& p) const
{
    const DevicePoint r = RoundPoint(p.x, p.y);
    return contains(r.x, r.y);
}

// ---- Joint codes

namespace {

// The line an edge lies on, as a + t*d with t growing from P towards Q. Cuts are computed on it
// exactly and only the cut points are rounded, so an edge cut by one wall and then another ends
// where the same two cuts in the other order leave it.
struct Carrier {
    CDbPoint a, d;
};

Carrier carrierOf(const CDbPoint& p, const CDbPoint& q) { return {p, {q.x - p.x, q.y - p.y}}; }

// An edge of a wall's outline lies on one side of the wall's corner quadrilateral, its ends (rounded
// cut points) within a millimetre of it: that side's line is the edge's carrier. An edge that lies on
// none (edited lists) is its own.
constexpr double kOnSide = 1.0;

Carrier carrierIn(const std::array<CDbPoint, 4>& own, const CDbPoint& p, const CDbPoint& q)
{
    Carrier best = carrierOf(p, q);
    double bestOff = kOnSide;
    for (std::size_t k = 0; k < 4; ++k) {
        const CDbPoint& s1 = own[k];
        const CDbPoint& s2 = own[(k + 1) % 4];
        const double dx = s2.x - s1.x, dy = s2.y - s1.y;
        const double len = std::hypot(dx, dy);
        if (!(len > kPointTolerance) || !std::isfinite(len))
            continue;
        const double offP = std::fabs(dx * (p.y - s1.y) - dy * (p.x - s1.x)) / len;
        const double offQ = std::fabs(dx * (q.y - s1.y) - dy * (q.x - s1.x)) / len;
        const double off = std::max(offP, offQ);
        if (!(off <= bestOff))
            continue;
        bestOff = off;
        if (dx * (q.x - p.x) + dy * (q.y - p.y) >= 0.0)
            best = {s1, {dx, dy}};
        else
            best = {s2, {-dx, -dy}};
    }
    return best;
}

bool isVertical(const CDbPoint& s1, const CDbPoint& s2) { return std::fabs(s1.x - s2.x) < kPointTolerance; }
bool isLevel(const CDbPoint& s1, const CDbPoint& s2) { return std::fabs(s1.y - s2.y) < kPointTolerance; }

// The cut point at t on the carrier, where it leaves or enters through side k: a coordinate that an
// axis-parallel side or carrier fixes stays as it is, the others are rounded to whole millimetres.
CDbPoint cutPoint(const Carrier& l, double t, const std::array<CDbPoint, 4>& c, std::size_t k)
{
    const CDbPoint& s1 = c[k];
    const CDbPoint& s2 = c[(k + 1) % 4];
    CDbPoint x{std::round(l.a.x + t * l.d.x), std::round(l.a.y + t * l.d.y)};
    if (l.d.x == 0.0)
        x.x = l.a.x;
    else if (isVertical(s1, s2))
        x.x = s1.x;
    if (l.d.y == 0.0)
        x.y = l.a.y;
    else if (isLevel(s1, s2))
        x.y = s1.y;
    return x;
}

int classifyGeneral(const std::array<CDbPoint, 4>& c, const CDbPoint& p, const CDbPoint& q, CDbPoint& out1,
                    CDbPoint& out2, const Carrier& l, int kind)
{
    // An oblique edge parallel to an oblique side is not cut: oblique walls meeting at a right angle
    // are not joined.
    if (kind == 3) {
        const double slope = l.d.y / l.d.x;
        for (std::size_t k = 0; k < 4; ++k) {
            const CDbPoint& s1 = c[k];
            const CDbPoint& s2 = c[(k + 1) % 4];
            if (isVertical(s1, s2) || isLevel(s1, s2))
                continue;
            if (std::fabs(slope - (s2.y - s1.y) / (s2.x - s1.x)) < kParallelSlopes)
                return JOINT_NONE;
        }
    }

    // The stretch [tIn, tOut] of the carrier inside the (convex) quadrilateral as it stands, unrounded.
    double turn = 0.0;
    for (std::size_t k = 0; k < 4; ++k)
        turn += c[k].x * c[(k + 1) % 4].y - c[(k + 1) % 4].x * c[k].y;
    if (!(std::fabs(turn) > 0.0))
        return JOINT_NONE; // no area (or not a number): nothing is inside
    const double sense = turn > 0.0 ? 1.0 : -1.0;
    double tIn = -std::numeric_limits<double>::infinity(), tOut = std::numeric_limits<double>::infinity();
    std::size_t sideIn = 0, sideOut = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const CDbPoint& s1 = c[k];
        const CDbPoint& s2 = c[(k + 1) % 4];
        const double ex = s2.x - s1.x, ey = s2.y - s1.y;
        // Inside where sense * cross(e, X - s1) >= 0, X = a + t*d.
        const double n0 = sense * (ex * (l.a.y - s1.y) - ey * (l.a.x - s1.x));
        const double n1 = sense * (ex * l.d.y - ey * l.d.x);
        if (n1 == 0.0) {
            if (!(n0 >= 0.0))
                return JOINT_NONE; // runs outside this side
            continue;
        }
        const double t = -n0 / n1;
        if (n1 > 0.0) {
            if (t > tIn)
                tIn = t, sideIn = k;
        } else if (t < tOut) {
            tOut = t, sideOut = k;
        }
    }
    // Within the corners' box too: a quadrilateral that is not convex (damaged corners) leaves the
    // sides' half-planes no bound of their own, and the box is what the prefilter enters it by.
    for (int axis = 0; axis < 2; ++axis) {
        const double a = axis == 0 ? l.a.x : l.a.y, d = axis == 0 ? l.d.x : l.d.y;
        double lo = axis == 0 ? c[0].x : c[0].y, hi = lo;
        for (const CDbPoint& k : c)
            lo = std::min(lo, axis == 0 ? k.x : k.y), hi = std::max(hi, axis == 0 ? k.x : k.y);
        if (d == 0.0) {
            if (!(a >= lo && a <= hi))
                return JOINT_NONE;
            continue;
        }
        const double t0 = (lo - a) / d, t1 = (hi - a) / d;
        tIn = std::max(tIn, std::min(t0, t1));
        tOut = std::min(tOut, std::max(t0, t1));
    }
    const double dd = l.d.x * l.d.x + l.d.y * l.d.y;
    if (!(dd > 0.0) || !std::isfinite(dd))
        return JOINT_NONE;
    const double tol = kPointTolerance / std::sqrt(dd);
    if (!(tOut - tIn > tol))
        return JOINT_NONE; // misses the wall or only touches a corner

    const double tP = ((p.x - l.a.x) * l.d.x + (p.y - l.a.y) * l.d.y) / dd;
    const double tQ = ((q.x - l.a.x) * l.d.x + (q.y - l.a.y) * l.d.y) / dd;
    const bool pIn = tP >= tIn - tol && tP <= tOut + tol;
    const bool qIn = tQ >= tIn - tol && tQ <= tOut + tol;
    if (pIn && qIn)
        return JOINT_INSIDE;
    if (tQ <= tIn + tol || tP >= tOut - tol)
        return JOINT_NONE; // apart, or touching at an end
    if (pIn) {
        out1 = cutPoint(l, tOut, c, sideOut);
        return JOINT_LEAVES;
    }
    if (qIn) {
        out2 = cutPoint(l, tIn, c, sideIn);
        return JOINT_ENTERS;
    }
    const CDbPoint enter = cutPoint(l, tIn, c, sideIn), leave = cutPoint(l, tOut, c, sideOut);
    if (enter == leave)
        return JOINT_NONE; // through a corner by less than the rounding
    out2 = enter;
    out1 = leave;
    return JOINT_CROSSES;
}

// 1 vertical, 2 level, 3 oblique.
int edgeKind(const CDbPoint& p, const CDbPoint& q)
{
    if (std::fabs(p.x - q.x) < kEdgeKindTolerance)
        return 1;
    if (std::fabs(p.y - q.y) < kEdgeKindTolerance)
        return 2;
    return 3;
}

// A cut rounds the piece's ends, which can turn a nearly level or upright edge into a level or
// upright one; the walls already passed judged it by its old kind (an oblique edge is left alone by
// a wall side it runs along), so they look at it again, a few times at most.
constexpr int kMaxRejudgements = 4;

int classify(const std::array<CDbPoint, 4>& c, const CDbPoint& p, const CDbPoint& q, CDbPoint& out1, CDbPoint& out2,
             double e, const Carrier& l)
{
    const int kind = edgeKind(p, q);

    // Wholly on one side of the wall (touching included); an oblique edge is judged against the
    // corners moved out by the thickness.
    const double grow = kind == 3 ? e : 0.0;
    bool below = true, above = true, right = true, left = true;
    for (const CDbPoint& k : c) {
        below = below && k.y - grow >= p.y && k.y - grow >= q.y;
        above = above && p.y >= k.y + grow && q.y >= k.y + grow;
        right = right && k.x - grow >= p.x && k.x - grow >= q.x;
        left = left && p.x >= k.x + grow && q.x >= k.x + grow;
    }
    if (below || above || right || left)
        return JOINT_NONE;

    const bool axisWall = std::fabs(c[0].x - c[3].x) < kPointTolerance || std::fabs(c[0].y - c[3].y) < kPointTolerance;
    if (axisWall && kind != 3) {
        const double x0 = c[0].x, x2 = c[2].x, y0 = c[0].y, y2 = c[2].y;
        if (kind == 2) {
            // An edge on the wall's top or bottom line is never cut.
            if (!(y0 < p.y && p.y < y2))
                return JOINT_NONE;
            out2 = {x0, p.y};
            out1 = {x2, q.y};
            if (p.x < x0 && x0 <= q.x)
                return q.x > x2 ? JOINT_CROSSES : JOINT_ENTERS;
            if (p.x >= x0 && q.x > x2)
                return JOINT_LEAVES;
            return JOINT_INSIDE;
        }
        if (!(x0 < p.x && p.x < x2))
            return JOINT_NONE;
        out2 = {p.x, y0};
        out1 = {q.x, y2};
        if (p.y < y0 && y0 <= q.y)
            return q.y > y2 ? JOINT_CROSSES : JOINT_ENTERS;
        if (p.y >= y0 && q.y > y2)
            return JOINT_LEAVES;
        return JOINT_INSIDE;
    }
    return classifyGeneral(c, p, q, out1, out2, l, kind);
}

} // namespace

int ClassifyWallEdge(const std::array<CDbPoint, 4>& c, const CDbPoint& p, const CDbPoint& q, CDbPoint& out1,
                     CDbPoint& out2, double e)
{
    return classify(c, p, q, out1, out2, e, carrierOf(p, q));
}

int ClassifyWallEdgeGeneral(const std::array<CDbPoint, 4>& c, const CDbPoint& p, const CDbPoint& q, CDbPoint& out1,
                            CDbPoint& out2, double /*slope*/, double /*intercept*/, const WallRegion& /*region*/,
                            int kind)
{
    return classifyGeneral(c, p, q, out1, out2, carrierOf(p, q), kind);
}

// ---- Edges of one wall

int CKovUnit::UpdateWallOutlineEdge(CDbPoint& p, CDbPoint& q, int code, CKovWall& wall, int edgeIndex,
                                    const CDbPoint& out1, const CDbPoint& out2)
{
    CDbPointArray& starts = wall.MWallarPntA;
    CDbPointArray& ends = wall.MWallarPntB;
    const auto i = static_cast<std::size_t>(edgeIndex);
    if (edgeIndex < 0 || i >= starts.size() || i >= ends.size())
        return 1; // no such edge: nothing to cut
    auto remove = [&] {
        starts.erase(starts.begin() + edgeIndex);
        ends.erase(ends.begin() + edgeIndex);
        return 0;
    };
    auto enters = [&] {
        if (p == out2)
            return false;
        starts[i] = p;
        ends[i] = out2;
        return true;
    };

    switch (code) {
    case JOINT_NONE:
        return 1;
    case JOINT_ENTERS:
        if (!enters())
            return remove();
        break;
    case JOINT_LEAVES:
        if (q == out1)
            return remove();
        starts[i] = out1;
        ends[i] = q;
        break;
    case JOINT_CROSSES:
        if (q != out1 && p != out2) {
            if (!starts.empty() && near(starts.back(), out1) && near(ends.back(), q))
                return 1;
            starts.push_back(out1);
            ends.push_back(q);
        } else if (p == out2 && q != out1) {
            // The edge starts on the wall's boundary: only its far part stands.
            starts[i] = out1;
            ends[i] = q;
            break;
        }
        if (!enters())
            return remove();
        break;
    case JOINT_INSIDE:
        return remove();
    default:
        return 1;
    }
    p = starts[i];
    q = ends[i];
    return 1;
}

namespace {

bool takesPart(const CKovWall& w, int layerGroup)
{
    return w.MWall_Type == CKovWall::WALL && w.MWallLayer1 == layerGroup;
}

// A sparse grid over the corner quadrilaterals of the walls. A wall only cuts an edge that reaches
// into its quadrilateral along the edge's carrier, which lies within kOnSide of the edge, so each
// wall is entered in the cells that its quadrilateral widened by a margin covers, row by row: a long
// oblique wall takes a strip of cells, not its whole box. An edge looks up the cells along itself.
// Only occupied cells are stored, so a stray wall far off costs nothing.
class WallGrid {
public:
    WallGrid(const CKovUnit& unit, int layerGroup)
    {
        struct Item {
            int index;
            double minX, minY, maxX, maxY;
        };
        std::vector<Item> items;
        double avg = 0.0;
        for (int i = 0; i < unit.m_Walls.GetSize(); ++i) {
            const CKovWall& w = *std::as_const(unit.m_Walls)[i];
            if (!takesPart(w, layerGroup))
                continue;
            Item it{i, w.MWallPntKado[0].x, w.MWallPntKado[0].y, w.MWallPntKado[0].x, w.MWallPntKado[0].y};
            for (const CDbPoint& k : w.MWallPntKado) {
                it.minX = std::min(it.minX, k.x);
                it.minY = std::min(it.minY, k.y);
                it.maxX = std::max(it.maxX, k.x);
                it.maxY = std::max(it.maxY, k.y);
            }
            it.minX -= kMargin;
            it.minY -= kMargin;
            it.maxX += kMargin;
            it.maxY += kMargin;
            const bool finite = std::isfinite(it.minX) && std::isfinite(it.minY) && std::isfinite(it.maxX) &&
                                std::isfinite(it.maxY) && it.maxX - it.minX < 1e12 && it.maxY - it.minY < 1e12 &&
                                !hasNan(w);
            if (!finite) {
                m_always.push_back(i); // odd values: always handed over
                continue;
            }
            items.push_back(it);
            avg += std::max(it.maxX - it.minX, it.maxY - it.minY);
        }
        m_stamp.assign(static_cast<std::size_t>(unit.m_Walls.GetSize()), 0);
        if (items.empty())
            return;
        m_minX = items[0].minX, m_minY = items[0].minY;
        for (const Item& it : items) {
            m_minX = std::min(m_minX, it.minX);
            m_minY = std::min(m_minY, it.minY);
        }
        // As wide as an average box, but no wider than makes about four walls cross a cell where walls
        // as long as the plan crowd it (their total length spread over the plan's area), and no
        // narrower than keeps the cells entered to a few million. The area leaves out the
        // outermost walls, so one stray wall far off does not stretch it.
        const double n = static_cast<double>(items.size());
        auto spread = [&](auto low, auto high) {
            std::vector<double> lows, highs;
            for (const Item& it : items)
                lows.push_back(low(it)), highs.push_back(high(it));
            const auto cut = static_cast<std::ptrdiff_t>(items.size() / 50);
            const auto low2 = lows.begin() + cut, high98 = highs.end() - 1 - cut;
            std::nth_element(lows.begin(), low2, lows.end());
            std::nth_element(highs.begin(), high98, highs.end());
            return std::max(*high98 - *low2, 1.0);
        };
        const double width = spread([](const Item& it) { return it.minX; }, [](const Item& it) { return it.maxX; });
        const double height = spread([](const Item& it) { return it.minY; }, [](const Item& it) { return it.maxY; });
        m_cell = std::max({std::min(avg / n, 4.0 * width * height / avg), avg / kCellsEntered, 1.0});

        std::vector<Entry> cells;
        std::vector<Entry> own;
        for (const Item& it : items) {
            own.clear();
            // A convex quadrilateral by its own shape, others (axis-parallel ones, which are their
            // box, and damaged ones) by their box.
            const auto& c = unit.m_Walls[it.index]->MWallPntKado;
            const std::array<CDbPoint, 4> box{CDbPoint{it.minX + kMargin, it.minY + kMargin},
                                              CDbPoint{it.maxX - kMargin, it.minY + kMargin},
                                              CDbPoint{it.maxX - kMargin, it.maxY - kMargin},
                                              CDbPoint{it.minX + kMargin, it.maxY - kMargin}};
            const bool byShape = isConvex(c) && !(std::fabs(c[0].x - c[3].x) < kPointTolerance ||
                                                  std::fabs(c[0].y - c[3].y) < kPointTolerance);
            auto enter = [&](std::int64_t cy, std::int64_t cx0, std::int64_t cx1) {
                for (std::int64_t cx = cx0; cx <= cx1; ++cx)
                    own.push_back({key(cx, cy), it.index});
            };
            const bool entered = forCells(byShape ? c.data() : box.data(), 4, kMargin, kMaxCellsPerWall, enter);
            if (!entered || own.size() > static_cast<std::size_t>(kMaxCellsPerWall)) {
                m_always.push_back(it.index); // cheaper to hand over always than to enter everywhere
                continue;
            }
            m_members.push_back(it.index);
            cells.insert(cells.end(), own.begin(), own.end());
        }
        std::sort(m_always.begin(), m_always.end());
        std::sort(cells.begin(), cells.end());
        cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
        m_walls.reserve(cells.size());
        for (const Entry& e : cells) {
            if (m_keys.empty() || m_keys.back() != e.first) {
                m_keys.push_back(e.first);
                m_starts.push_back(static_cast<std::uint32_t>(m_walls.size()));
            }
            m_walls.push_back(e.second);
        }
        m_starts.push_back(static_cast<std::uint32_t>(m_walls.size()));
        m_ready = true;
    }

    // Every wall entered in a cell along p-q, and every wall handed over always, in array order.
    void candidates(const CDbPoint& p, const CDbPoint& q, std::vector<int>& out)
    {
        out.clear();
        ++m_round;
        auto take = [&](int index) {
            int& s = m_stamp[static_cast<std::size_t>(index)];
            if (s != m_round) {
                s = m_round;
                out.push_back(index);
            }
        };
        for (int index : m_always)
            take(index);
        if (m_ready) {
            const CDbPoint edge[2] = {p, q};
            const bool finite = std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(q.x) && std::isfinite(q.y);
            auto visit = [&](std::int64_t cy, std::int64_t cx0, std::int64_t cx1) {
                const std::uint64_t last = key(cx1, cy);
                auto k = std::lower_bound(m_keys.begin(), m_keys.end(), key(cx0, cy));
                for (; k != m_keys.end() && *k <= last; ++k) {
                    const auto at = static_cast<std::size_t>(k - m_keys.begin());
                    for (std::uint32_t j = m_starts[at]; j < m_starts[at + 1]; ++j)
                        take(m_walls[j]);
                }
            };
            const bool walked = finite && forCells(edge, 2, kLookupMargin, kMaxCellsPerLookup, visit);
            if (!walked) {
                for (int index : m_members)
                    take(index);
            }
        }
        std::sort(out.begin(), out.end());
    }

private:
    using Entry = std::pair<std::uint64_t, int>; // cell key, wall index
    struct Run {
        std::int64_t cy, cx0, cx1; // a row's cells from cx0 to cx1
    };
    static constexpr double kMargin = kOnSide + 2.0;
    static constexpr double kLookupMargin = 1.0; // against rounding at the rows' borders
    static constexpr std::int64_t kMaxCellsPerWall = 4096;
    static constexpr double kCellsEntered = 2e6;
    static constexpr std::int64_t kMaxCellsPerLookup = 16384;
    static constexpr std::int64_t kLastCell = 0x7FFFFFFF; // keys pack two cell numbers

    static bool isConvex(const std::array<CDbPoint, 4>& c)
    {
        bool left = false, right = false;
        for (std::size_t k = 0; k < 4; ++k) {
            const CDbPoint& a = c[k];
            const CDbPoint& b = c[(k + 1) % 4];
            const CDbPoint& d = c[(k + 2) % 4];
            const double turn = (b.x - a.x) * (d.y - b.y) - (b.y - a.y) * (d.x - b.x);
            left = left || turn > 0.0;
            right = right || turn < 0.0;
        }
        return !(left && right);
    }
    static bool hasNan(const CKovWall& w)
    {
        for (const CDbPoint& k : w.MWallPntKado)
            if (std::isnan(k.x) || std::isnan(k.y))
                return true;
        return std::isnan(w.MWallWide1) || std::isnan(w.MWallWide2);
    }
    // Monotone in v, so shapes that meet share a cell even where far values are clamped together.
    static std::int64_t cellOf(double v, double origin, double cell)
    {
        const double k = std::floor((v - origin) / cell);
        if (!(k > 0.0))
            return 0;
        return k >= static_cast<double>(kLastCell) ? kLastCell : static_cast<std::int64_t>(k);
    }
    static std::uint64_t key(std::int64_t cx, std::int64_t cy)
    {
        return (static_cast<std::uint64_t>(cy) << 32) | static_cast<std::uint64_t>(cx);
    }
    std::int64_t cellX(double x) const { return cellOf(x, m_minX, m_cell); }
    std::int64_t cellY(double y) const { return cellOf(y, m_minY, m_cell); }

    // Hands over, row by row, the run of cells that a convex polygon (n points; 2 for a segment)
    // widened by m covers. False, having handed over nothing, when that would be more than `limit`
    // cells or rows.
    template <class F>
    bool forCells(const CDbPoint* pts, int n, double m, std::int64_t limit, F&& f) const
    {
        double lo = pts[0].y, hi = pts[0].y, left = pts[0].x, right = pts[0].x;
        for (int i = 1; i < n; ++i) {
            lo = std::min(lo, pts[i].y), hi = std::max(hi, pts[i].y);
            left = std::min(left, pts[i].x), right = std::max(right, pts[i].x);
        }
        const std::int64_t cy0 = cellY(lo - m), cy1 = cellY(hi + m);
        const std::int64_t cx0 = cellX(left - m), cx1 = cellX(right + m);
        const std::int64_t boxCells = (cy1 - cy0 + 1) * (cx1 - cx0 + 1);
        if (boxCells <= 4) {
            for (std::int64_t cy = cy0; cy <= cy1; ++cy)
                f(cy, cx0, cx1);
            return true;
        }
        if (cy1 - cy0 + 1 > limit)
            return false;
        std::vector<Run>& runs = m_runs;
        runs.clear();
        std::int64_t total = 0;
        const int sides = n == 2 ? 1 : n;
        for (std::int64_t cy = cy0; cy <= cy1; ++cy) {
            const double bandLo = cy == 0 ? -std::numeric_limits<double>::infinity()
                                          : m_minY + static_cast<double>(cy) * m_cell - m;
            const double bandHi = cy == kLastCell ? std::numeric_limits<double>::infinity()
                                                  : m_minY + static_cast<double>(cy + 1) * m_cell + m;
            double xlo = std::numeric_limits<double>::infinity(), xhi = -xlo;
            for (int s = 0; s < sides; ++s) {
                CDbPoint a = pts[s], b = pts[(s + 1) % n];
                if (a.y > b.y)
                    std::swap(a, b);
                if (b.y < bandLo || a.y > bandHi)
                    continue;
                double t0 = 0.0, t1 = 1.0;
                if (b.y > a.y) {
                    t0 = std::max(0.0, (bandLo - a.y) / (b.y - a.y));
                    t1 = std::min(1.0, (bandHi - a.y) / (b.y - a.y));
                }
                const double x0 = a.x + t0 * (b.x - a.x), x1 = a.x + t1 * (b.x - a.x);
                xlo = std::min({xlo, x0, x1});
                xhi = std::max({xhi, x0, x1});
            }
            if (!(xlo <= xhi))
                continue;
            const Run r{cy, cellX(std::max(xlo - m, left - m)), cellX(std::min(xhi + m, right + m))};
            total += r.cx1 - r.cx0 + 1;
            if (total > limit)
                return false;
            runs.push_back(r);
        }
        for (const Run& r : runs)
            f(r.cy, r.cx0, r.cx1);
        return true;
    }

    bool m_ready = false;
    double m_minX = 0.0, m_minY = 0.0, m_cell = 1.0;
    std::vector<std::uint64_t> m_keys;   // occupied cells, ascending
    std::vector<std::uint32_t> m_starts; // where each cell's walls begin in m_walls, and the end
    std::vector<int> m_walls;            // the walls of each cell, in array order
    std::vector<int> m_members;          // every wall entered in cells
    std::vector<int> m_always;           // walls handed over for every edge
    std::vector<int> m_stamp;
    int m_round = 0;
    mutable std::vector<Run> m_runs; // scratch of forCells
};

bool withinBox(const CDbPoint& p, const CDbPoint& q, const CDbPoint& a, const CDbPoint& b)
{
    auto inside = [&](const CDbPoint& v) {
        return v.x >= std::min(a.x, b.x) && v.x <= std::max(a.x, b.x) && v.y >= std::min(a.y, b.y) &&
               v.y <= std::max(a.y, b.y);
    };
    return inside(p) && inside(q);
}

// Edge i of the wall in its ascending order: a level edge left to right, others top to bottom.
void orderedEdge(const CKovWall& wall, std::size_t i, CDbPoint& p, CDbPoint& q)
{
    p = wall.MWallarPntA[i];
    q = wall.MWallarPntB[i];
    const bool vertical = std::fabs(p.x - q.x) < kPointTolerance;
    const bool level = !vertical && std::fabs(p.y - q.y) < kPointTolerance;
    if (level ? p.x > q.x : p.y > q.y)
        std::swap(p, q);
}

// ClipWallEdge over the candidate walls of the grid. The walls still ahead are looked up again when
// the edge has shrunk well inside the stretch it was looked up for, or should a cut carry it outside.
int clipEdgeFiltered(CKovUnit& unit, CKovWall& wall, int edgeIndex, WallGrid& grid, std::vector<int>& cand)
{
    const auto i = static_cast<std::size_t>(edgeIndex);
    if (i >= wall.MWallarPntA.size() || i >= wall.MWallarPntB.size())
        return 1;
    CDbPoint p, q;
    orderedEdge(wall, i, p, q);
    const Carrier line = carrierIn(wall.MWallPntKado, p, q);
    CDbPoint boxA = p, boxB = q;
    grid.candidates(p, q, cand);
    int rejudged = 0;
    for (std::size_t k = 0; k < cand.size(); ++k) {
        const int index = cand[k];
        const CKovWall& other = *std::as_const(unit.m_Walls)[index];
        if (other.MWallID == wall.MWallID)
            continue;
        CDbPoint out1, out2;
        const int code = classify(other.MWallPntKado, p, q, out1, out2, other.MWallWide1 + other.MWallWide2, line);
        if (code == JOINT_NONE)
            continue;
        const int kindBefore = edgeKind(p, q);
        if (!unit.UpdateWallOutlineEdge(p, q, code, wall, edgeIndex, out1, out2))
            return 0;
        if (edgeKind(p, q) != kindBefore && rejudged < kMaxRejudgements) {
            ++rejudged;
            boxA = p, boxB = q;
            grid.candidates(p, q, cand);
            k = static_cast<std::size_t>(-1);
            continue;
        }
        // Looked up again when it leaves its box, or when it has shrunk to less than half of it: a
        // long face cut by many walls then meets only those along what is left of it.
        const double size = std::max(std::fabs(q.x - p.x), std::fabs(q.y - p.y));
        const double boxSize = std::max(std::fabs(boxB.x - boxA.x), std::fabs(boxB.y - boxA.y));
        if (!withinBox(p, q, boxA, boxB) || size < 0.5 * boxSize) {
            boxA = p, boxB = q;
            grid.candidates(p, q, cand);
            const auto ahead = std::upper_bound(cand.begin(), cand.end(), index);
            cand.erase(cand.begin(), ahead);
            k = static_cast<std::size_t>(-1);
        }
    }
    return 1;
}

} // namespace

int CKovUnit::ClipWallEdge(CKovWall& wall, int edgeIndex)
{
    const auto i = static_cast<std::size_t>(edgeIndex);
    if (edgeIndex < 0 || i >= wall.MWallarPntA.size() || i >= wall.MWallarPntB.size())
        return 1;
    CDbPoint p, q;
    orderedEdge(wall, i, p, q);
    const Carrier line = carrierIn(wall.MWallPntKado, p, q);
    int rejudged = 0;
    for (int k = 0; k < m_Walls.GetSize(); ++k) {
        const CKovWall& other = *std::as_const(m_Walls)[k];
        if (other.MWallID == wall.MWallID || !takesPart(other, wall.MWallLayer1))
            continue;
        CDbPoint out1, out2;
        const int code = classify(other.MWallPntKado, p, q, out1, out2, other.MWallWide1 + other.MWallWide2, line);
        if (code == JOINT_NONE)
            continue;
        const int kindBefore = edgeKind(p, q);
        if (!UpdateWallOutlineEdge(p, q, code, wall, edgeIndex, out1, out2))
            return 0;
        if (edgeKind(p, q) != kindBefore && rejudged < kMaxRejudgements) {
            ++rejudged;
            k = -1;
        }
    }
    return 1;
}

void CKovUnit::JoinWalls(int layerGroup) { kov::building::joinWalls(*this, layerGroup, true); }

void kov::building::joinWalls(CKovUnit& unit, int layerGroup, bool prefilter)
{
    std::unique_ptr<WallGrid> grid;
    if (prefilter)
        grid = std::make_unique<WallGrid>(unit, layerGroup);
    std::vector<int> cand;
    for (int w = 0; w < unit.m_Walls.GetSize(); ++w) {
        // Each wall is joined on a copy that goes back only when its outline changed: a wall the
        // join leaves as it was stays shared with the undo copies (most walls, at every wall edit).
        const CKovWall& before = *std::as_const(unit.m_Walls)[w];
        if (!takesPart(before, layerGroup))
            continue;
        CKovWall wall = before;
        CDbPointArray& starts = wall.MWallarPntA;
        CDbPointArray& ends = wall.MWallarPntB;
        int clips = 0;
        std::size_t i = 0;
        while (i < std::min(starts.size(), ends.size()) && clips <= kMaxClipsPerWall) {
            if (starts[i] == ends[i]) {
                starts.erase(starts.begin() + static_cast<std::ptrdiff_t>(i));
                ends.erase(ends.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            const int index = static_cast<int>(i);
            const int stands = grid ? clipEdgeFiltered(unit, wall, index, *grid, cand) : unit.ClipWallEdge(wall, index);
            ++clips;
            if (stands)
                ++i;
        }
        if (starts != before.MWallarPntA || ends != before.MWallarPntB) {
            starts.shrink_to_fit();
            ends.shrink_to_fit();
            *unit.m_Walls[w] = std::move(wall);
        }
    }
}
