// Envelope processing: the straight lines of one line type inside a rectangle tidied into a clean
// outline. Lines lying on others go, lines continuing each other are joined, ends that overshoot or
// fall short of a crossing line are cut or drawn out to it, the parts of lines between two
// crossings are cut out, and lines entering the rectangle from opposite sides on one straight line
// are joined across it.
//
// The work runs on copies of the candidate lines' two points; the drawing changes once, at the end.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr double kAxis = 0.0001;          // vertical or horizontal, as the intersections judge it
constexpr double kSecondFlat = 0.001;     // the second line of an intersection counts as level below this
constexpr double kParallelSlopes = 0.1;   // oblique lines closer in slope than this do not cross
constexpr double kSameLine = 0.001;       // slopes and intercepts this close make one straight line

enum Kind : signed char { SLOPED = 0, PLUMB = 1, LEVEL = 2 };

// One candidate line as the envelope sees it: its two points and what the intersections and the
// segment-box test read of them, kept up to date when the points change.
struct Seg {
    int index = -1;          // in the figure array
    CDbPoint a, b;
    CDbPoint a0, b0;         // as the drawing holds them
    bool marked = false;     // deleted at the end
    bool piece = false;      // made here
    Kind first = SLOPED;     // its kind as the first line of an intersection
    Kind second = SLOPED;    // and as the second (level by a wider tolerance)
    double m = 0, c = 0;     // slope and intercept when not plumb

    void set(const CDbPoint& pa, const CDbPoint& pb)
    {
        a = pa;
        b = pb;
        const double dx = std::fabs(a.x - b.x), dy = std::fabs(a.y - b.y);
        first = dx < kAxis ? PLUMB : dy < kAxis ? LEVEL : SLOPED;
        second = dx < kAxis ? PLUMB : dy < kSecondFlat ? LEVEL : SLOPED;
        if (dx >= kAxis)
            LineSlopeIntercept(m, c, a.x, a.y, b.x, b.y);
    }
};

// IntersectLines of the two segments' infinite lines, with the cached kinds.
bool intersect(const Seg& p, const Seg& q, CDbPoint& out)
{
    switch (p.first) {
    case SLOPED:
        if (q.second == SLOPED) {
            if (std::fabs(q.m - p.m) < kParallelSlopes) return false;
            out = {(q.c - p.c) / (p.m - q.m), (q.m * p.c - q.c * p.m) / (q.m - p.m)};
            return true;
        }
        if (q.second == PLUMB) {
            out = {q.a.x, p.m * q.a.x + p.c};
            return true;
        }
        if (p.m == 0.0) return false;
        out = {(q.a.y - p.c) / p.m, q.a.y};
        return true;
    case PLUMB:
        if (q.second == PLUMB) return false;
        if (q.second == LEVEL) out = {p.a.x, q.a.y};
        else out = {p.a.x, q.m * p.a.x + q.c};
        return true;
    case LEVEL:
        if (q.second == LEVEL) return false;
        if (q.second == PLUMB) {
            out = {q.a.x, p.a.y};
            return true;
        }
        if (q.m == 0.0) return false;
        out = {(p.a.y - q.c) / q.m, p.a.y};
        return true;
    }
    return false;
}

bool inBox(const CDbPoint& p, const Seg& s)
{
    return PointInSegmentBox(p.x, p.y, s.a.x, s.a.y, s.b.x, s.b.y) != 0;
}

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

// The index of the point nearest to `to` among those `accept` lets through (the first on equal
// distances); -1 when none.
template <class Accept>
int nearest(const CDbPointArray& points, const CDbPoint& to, Accept accept)
{
    int best = -1;
    double bestDistance = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!accept(points[i]))
            continue;
        const double d = distance(points[i], to);
        if (best < 0 || d < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}
int nearest(const CDbPointArray& points, const CDbPoint& to)
{
    return nearest(points, to, [](const CDbPoint&) { return true; });
}

// Direction class as the joins judge it: plumb, level, or oblique with its slope and intercept.
struct Direction {
    Kind kind = SLOPED;
    double m = 0, c = 0;
    explicit Direction(const Seg& s)
    {
        if (std::fabs(s.a.x - s.b.x) < kAxis) kind = PLUMB;
        else if (std::fabs(s.a.y - s.b.y) < kAxis) kind = LEVEL;
        else LineSlopeIntercept(m, c, s.a.x, s.a.y, s.b.x, s.b.y);
    }
    bool aligned(const Direction& o) const
    {
        return kind == o.kind && (kind != SLOPED || (std::fabs(m - o.m) < kSameLine && std::fabs(c - o.c) < kSameLine));
    }
};

class Envelope {
public:
    Envelope(CKovUnit& unit, const CDbPoint& p1, const CDbPoint& p2, const CDbPoint& p3, const CDbPoint& p4)
        : m_unit(unit), m_minX(p1.x), m_minY(p1.y), m_maxX(p3.x), m_maxY(p3.y)
    {
        const CDbPoint corners[4] = {p1, p2, p3, p4};
        for (int k = 0; k < 4; ++k) {
            m_edges[k].set(corners[k], corners[(k + 1) % 4]);
        }
    }

    void add(int index, const CKovLine& f)
    {
        Seg s;
        s.index = index;
        s.a0 = f.MLinePnt[0];
        s.b0 = f.MLinePnt[1];
        s.set(s.a0, s.b0);
        m_segs.push_back(s);
    }

    void run()
    {
        classify(true);
        dropLinesOnLines();
        insideLines();
        crossingLines();
        throughLines();
        classify(false);
        joinInside();
        extendCrossing();
        classify(false);
        dropConnectedCrossing();
        meetNeighbours();
        dropMeetingPairs();
        joinAcross();
        commit();
    }

private:
    bool inside(const CDbPoint& p) const { return m_minX < p.x && p.x < m_maxX && m_minY < p.y && p.y < m_maxY; }
    const CDbPoint& insideEnd(const Seg& s) const { return inside(s.a) ? s.a : s.b; }
    const CDbPoint& outsideEnd(const Seg& s) const { return inside(s.a) ? s.b : s.a; }

    // Steps 1, 4 and 7: both ends inside, one end inside, and (step 1 only) lines through the
    // rectangle, crossing an edge within both segments.
    void classify(bool withThrough)
    {
        m_inside.clear();
        m_crossing.clear();
        if (withThrough) {
            m_through.clear();
            m_all.clear();
        }
        for (int i = 0; i < static_cast<int>(m_segs.size()); ++i) {
            const Seg& s = m_segs[static_cast<std::size_t>(i)];
            if (s.marked)
                continue;
            const int in = (inside(s.a) ? 1 : 0) + (inside(s.b) ? 1 : 0);
            if (in == 2)
                m_inside.push_back(i);
            else if (in == 1)
                m_crossing.push_back(i);
            else if (withThrough && boundaryCrossing(s, 0))
                m_through.push_back(i);
            else
                continue;
            if (withThrough)
                m_all.push_back(i);
        }
    }

    // The n-th (0 first) edge crossing of the segment, edges in the order P1-P2, P2-P3, P3-P4, P4-P1.
    bool boundaryCrossing(const Seg& s, int n, CDbPoint* out = nullptr) const
    {
        for (const Seg& edge : m_edges) {
            CDbPoint u;
            if (intersect(s, edge, u) && inBox(u, s) && inBox(u, edge) && n-- == 0) {
                if (out)
                    *out = u;
                return true;
            }
        }
        return false;
    }

    Seg& seg(int i) { return m_segs[static_cast<std::size_t>(i)]; }

    static void erase(std::vector<int>& list, std::size_t position)
    {
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
    }

    // Step 2: an inside line lying on another candidate goes. The same line twice counts as lying on
    // itself, so one of a pair of identical lines stays.
    void dropLinesOnLines()
    {
        for (std::size_t p = 0; p < m_inside.size();) {
            const int l = m_inside[p];
            const Seg& L = seg(l);
            bool lies = false;
            for (const int j : m_all) {
                if (j == l)
                    continue;
                const Seg& J = seg(j);
                const bool same = (L.a == J.a && L.b == J.b) || (L.a == J.b && L.b == J.a);
                if (same || (inBox(L.a, J) && inBox(L.b, J))) {
                    lies = true;
                    break;
                }
            }
            if (!lies) {
                ++p;
                continue;
            }
            m_all.erase(std::find(m_all.begin(), m_all.end(), l));
            seg(l).marked = true;
            erase(m_inside, p);
        }
    }

    // The crossings of L's line with the other candidates' lines that lie inside the rectangle or on
    // one of L's ends (v), those within both segments (o), and whether another line meets L's ends.
    void gather(int l, CDbPointArray& v, CDbPointArray& o, bool& f, bool& g)
    {
        v.clear();
        o.clear();
        f = g = false;
        const Seg L = seg(l);
        for (const int j : m_all) {
            if (j == l)
                continue;
            const Seg& J = seg(j);
            CDbPoint u;
            if (!intersect(L, J, u) || !(inside(u) || u == L.a || u == L.b))
                continue;
            f = f || J.a == L.a || J.b == L.a;
            g = g || J.a == L.b || J.b == L.b;
            v.push_back(u);
            if (inBox(u, L) && inBox(u, J))
                o.push_back(u);
        }
    }

    int addPiece(int from, const CDbPoint& a, const CDbPoint& b)
    {
        // A copy of the line in every field under a new identifier, drawn on top.
        auto copy = std::make_unique<CKovLine>(*std::as_const(m_unit).m_Lines[seg(from).index]);
        copy->MLineID = m_unit.NextLineId();
        Seg s;
        s.index = m_unit.m_Lines.Add(std::move(copy));
        s.piece = true;
        s.a0 = seg(from).a0;
        s.b0 = seg(from).b0;
        s.set(a, b);
        m_segs.push_back(s);
        return static_cast<int>(m_segs.size()) - 1;
    }

    // Step 3, inside lines: a line with one end joined to another line has its free end cut back to
    // its first crossing; otherwise free ends move to the nearest crossing and the part between the
    // first crossings from either end is cut out.
    void insideLines()
    {
        CDbPointArray v, o;
        for (std::size_t p = 0; p < m_inside.size(); ++p) {
            const int l = m_inside[p];
            bool f = false, g = false;
            gather(l, v, o, f, g);
            if (v.empty())
                continue;
            Seg& L = seg(l);
            const CDbPoint a = L.a, b = L.b;
            auto notEnd = [&](const CDbPoint& q) { return q != a && q != b; };
            if (f != g && !o.empty()) {
                const int k = nearest(o, f ? a : b, notEnd);
                if (k >= 0) {
                    if (f)
                        L.set(a, o[static_cast<std::size_t>(k)]);
                    else
                        L.set(o[static_cast<std::size_t>(k)], b);
                    continue;
                }
            }
            const bool plumb = std::fabs(a.x - b.x) < kAxis;
            auto at = [plumb](const CDbPoint& q) { return plumb ? q.y : q.x; };
            // Beyond an end: on its side away from the other end.
            auto beyond = [&](const CDbPoint& q, const CDbPoint& end, const CDbPoint& other) {
                return at(end) > at(other) ? at(q) > at(end) : at(end) < at(other) ? at(q) < at(end) : false;
            };
            const int ka = nearest(v, a, [&](const CDbPoint& q) { return !beyond(q, b, a) && q != b; });
            const int kb = nearest(v, b, [&](const CDbPoint& q) { return !beyond(q, a, b) && q != a; });
            CDbPoint na = a, nb = b;
            if (!f && ka >= 0)
                na = v[static_cast<std::size_t>(ka)];
            if (!g && kb >= 0)
                nb = v[static_cast<std::size_t>(kb)];
            L.set(na, nb);

            if (o.size() < 2)
                continue;
            const int ia = nearest(o, na, [&](const CDbPoint& q) { return distance(q, na) > 0; });
            const int ib = nearest(o, nb, [&](const CDbPoint& q) { return distance(q, nb) > 0; });
            if (ia < 0 || ib < 0)
                continue;
            const CDbPoint cutA = o[static_cast<std::size_t>(ia)], cutB = o[static_cast<std::size_t>(ib)];
            if (cutA == na || cutB == nb || cutA == cutB)
                continue;
            const int piece = addPiece(l, cutB, nb);
            seg(l).set(na, cutA);
            m_inside.push_back(piece);
            m_all.push_back(piece);
        }
    }

    // Step 3, crossing lines: the inside end moves to the crossing nearest to where the line enters.
    void crossingLines()
    {
        CDbPointArray v, o;
        for (const int l : m_crossing) {
            bool f = false, g = false;
            gather(l, v, o, f, g);
            if (v.empty())
                continue;
            Seg& L = seg(l);
            CDbPoint q;
            if (!boundaryCrossing(L, 0, &q))
                continue;
            const CDbPoint to = v[static_cast<std::size_t>(nearest(v, q))];
            if (inside(L.a))
                L.set(to, L.b);
            else
                L.set(L.a, to);
        }
    }

    // Step 3, lines through the rectangle: the part between the first crossings from both edges is cut out.
    void throughLines()
    {
        CDbPointArray v, o;
        for (const int l : m_through) {
            bool f = false, g = false;
            gather(l, v, o, f, g);
            if (v.size() < 2)
                continue;
            CDbPoint q0, q1;
            if (!boundaryCrossing(seg(l), 0, &q0) || !boundaryCrossing(seg(l), 1, &q1))
                continue;
            const int r0 = nearest(v, q0), r1 = nearest(v, q1);
            if (r0 == r1)
                continue;
            const CDbPoint a = seg(l).a, b = seg(l).b;
            const CDbPoint& p0 = v[static_cast<std::size_t>(r0)];
            const CDbPoint& p1 = v[static_cast<std::size_t>(r1)];
            const bool firstNearer = distance(p0, a) <= distance(p1, a);
            const CDbPoint n = firstNearer ? p0 : p1, far = firstNearer ? p1 : p0;
            seg(l).set(a, n);
            addPiece(l, far, b);
        }
    }

    // Step 5: inside lines on one straight line that share an end become one.
    void joinInside()
    {
        for (std::size_t i = 0; i < m_inside.size(); ++i) {
            Seg& S = seg(m_inside[i]);
            const Direction ds(S);
            for (std::size_t u = i + 1; u < m_inside.size();) {
                Seg& W = seg(m_inside[u]);
                if (!ds.aligned(Direction(W))) {
                    ++u;
                    continue;
                }
                const CDbPoint sa = S.a, sb = S.b;
                bool match = false;
                CDbPoint na, nb;
                // Each later match overrides an earlier one.
                if (sa == W.a) { na = sb; nb = W.b; match = true; }
                if (sa == W.b) { na = sb; nb = W.a; match = true; }
                if (sb == W.a) { na = sa; nb = W.b; match = true; }
                if (sb == W.b) { na = sa; nb = W.a; match = true; }
                if (!match) {
                    ++u;
                    continue;
                }
                S.set(na, nb);
                W.marked = true;
                erase(m_inside, u);
            }
        }
    }

    // Step 6: a crossing line continued by an inside line on its straight line takes it over.
    void extendCrossing()
    {
        for (const int c : m_crossing) {
            Seg& V = seg(c);
            const Direction dv(V);
            const CDbPoint p = insideEnd(V), o = outsideEnd(V);
            for (std::size_t w = 0; w < m_inside.size(); ++w) {
                Seg& W = seg(m_inside[w]);
                if (!dv.aligned(Direction(W)))
                    continue;
                if (p != W.a && p != W.b)
                    continue;
                V.set(o, p == W.a ? W.b : W.a);
                W.marked = true;
                erase(m_inside, w);
                break;
            }
        }
    }

    // Step 8: crossing lines whose inside end meets an inside line, or another crossing line's, are done.
    void dropConnectedCrossing()
    {
        for (std::size_t k = 0; k < m_crossing.size();) {
            const CDbPoint p = insideEnd(seg(m_crossing[k]));
            const bool joined = std::any_of(m_inside.begin(), m_inside.end(), [&](int i) {
                return seg(i).a == p || seg(i).b == p;
            });
            if (joined) {
                erase(m_crossing, k);
                continue;
            }
            std::size_t m = k + 1;
            while (m < m_crossing.size() && insideEnd(seg(m_crossing[m])) != p)
                ++m;
            if (m < m_crossing.size()) {
                erase(m_crossing, m);
                erase(m_crossing, k);
                continue;
            }
            ++k;
        }
    }

    // Step 9: each crossing line's inside end moves to its nearest crossing with the others.
    void meetNeighbours()
    {
        CDbPointArray points;
        for (const int l : m_crossing) {
            points.clear();
            const Seg L = seg(l);
            for (const int j : m_crossing) {
                CDbPoint u;
                if (j != l && intersect(L, seg(j), u) && (inside(u) || u == L.a || u == L.b))
                    points.push_back(u);
            }
            if (points.empty())
                continue;
            const bool aInside = inside(L.a);
            const CDbPoint to = points[static_cast<std::size_t>(nearest(points, aInside ? L.a : L.b))];
            if (aInside)
                seg(l).set(to, L.b);
            else
                seg(l).set(L.a, to);
        }
    }

    // Step 10: two crossing lines that now meet are done.
    void dropMeetingPairs()
    {
        for (std::size_t j = 0; j < m_crossing.size();) {
            const CDbPoint p = insideEnd(seg(m_crossing[j]));
            std::size_t k = j + 1;
            while (k < m_crossing.size() && insideEnd(seg(m_crossing[k])) != p)
                ++k;
            if (k < m_crossing.size()) {
                erase(m_crossing, k);
                erase(m_crossing, j);
                continue;
            }
            ++j;
        }
    }

    // Step 11: two crossing lines on one straight line join across the rectangle.
    static bool collinear(const Seg& x, const Seg& y)
    {
        const Direction dx(x), dy(y);
        if (dx.kind != dy.kind)
            return false;
        if (dx.kind == PLUMB)
            return std::fabs(x.a.x - y.a.x) < kAxis;
        if (dx.kind == LEVEL)
            return std::fabs(x.a.y - y.a.y) < kAxis;
        return std::fabs(dx.m - dy.m) < kSameLine && std::fabs(dx.c - dy.c) < kSameLine;
    }

    void joinAcross()
    {
        for (std::size_t k = 0; k < m_crossing.size();) {
            Seg& X = seg(m_crossing[k]);
            std::size_t l = k + 1;
            while (l < m_crossing.size() && !collinear(X, seg(m_crossing[l])))
                ++l;
            if (l == m_crossing.size()) {
                ++k;
                continue;
            }
            Seg& Y = seg(m_crossing[l]);
            X.set(outsideEnd(X), outsideEnd(Y));
            Y.marked = true;
            erase(m_crossing, l);
            erase(m_crossing, k);
        }
    }

    // Step 12: the drawing takes the new points; marked lines go, and so do lines the work has
    // shrunk to nothing.
    void commit()
    {
        std::vector<char> doomed(static_cast<std::size_t>(m_unit.m_Lines.GetSize()), 0);
        for (Seg& s : m_segs) {
            const bool vanished = s.a == s.b && (s.piece || s.a0 != s.b0);
            if (s.marked || vanished) {
                doomed[static_cast<std::size_t>(s.index)] = 1;
                continue;
            }
            if (s.piece || s.a != s.a0 || s.b != s.b0) {
                CKovLine& f = *m_unit.m_Lines[s.index];
                f.MLinePnt[0] = s.a;
                f.MLinePnt[1] = s.b;
            }
        }
        std::size_t position = 0;
        m_unit.m_Lines.DeleteIf([&](const CKovLine&) { return doomed[position++] != 0; });
    }

    CKovUnit& m_unit;
    double m_minX, m_minY, m_maxX, m_maxY;
    Seg m_edges[4];
    std::vector<Seg> m_segs;
    std::vector<int> m_inside, m_crossing, m_through, m_all; // the lists I, C, T and K
};

bool candidate(const CKovLine& f, const CPlotInfo& plot)
{
    return f.MLineType == CKovLine::LINE && f.MLineGrpID == 0 && f.MLinePnt.size() >= 2 &&
           f.MLineLayer1 == plot.m_Layer.m_nCurrentGroup && f.MLineLayer2 == plot.m_Layer.m_nCurrentLayer;
}

} // namespace

void CKovUnit::EnvelopeRange(const CPlotInfo& plot, const CDbPoint& p1, const CDbPoint& p2, const CDbPoint& p3,
                             const CDbPoint& p4)
{
    std::vector<int> lineTypes;
    for (const auto& f : m_Lines)
        if (candidate(*f, plot) && std::find(lineTypes.begin(), lineTypes.end(), f->MLineLineT) == lineTypes.end())
            lineTypes.push_back(f->MLineLineT);
    for (const int t : lineTypes)
        EnvelopeInRect(plot, p1, p2, p3, p4, t);
}

void CKovUnit::EnvelopeInRect(const CPlotInfo& plot, const CDbPoint& p1, const CDbPoint& p2, const CDbPoint& p3,
                              const CDbPoint& p4, int lineType)
{
    Envelope work(*this, p1, p2, p3, p4);
    const CKovUnit& self = *this;
    for (int i = 0; i < self.m_Lines.GetSize(); ++i) {
        const CKovLine& f = *self.m_Lines[i];
        if (candidate(f, plot) && f.MLineLineT == lineType)
            work.add(i, f);
    }
    work.run();
}
