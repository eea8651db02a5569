#include "building/WallJoining.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <QPolygon>
#include <QRegion>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <utility>
#include <sstream>
#include <string>
#include <algorithm>
#include <vector>

namespace {

struct Edge {
    CDbPoint a, b;
    bool operator==(const Edge& o) const { return a == o.a && b == o.b; }
};

std::ostream& operator<<(std::ostream& os, const Edge& e)
{
    return os << "(" << e.a.x << "," << e.a.y << ")->(" << e.b.x << "," << e.b.y << ")";
}

using Edges = std::vector<Edge>;

Edges edgesOf(const CKovWall& w)
{
    Edges out;
    for (std::size_t i = 0; i < w.MWallarPntA.size(); ++i)
        out.push_back({w.MWallarPntA[i], w.MWallarPntB[i]});
    return out;
}

Edges sides(const CKovWall& w)
{
    const auto& c = w.MWallPntKado;
    return {{c[0], c[1]}, {c[1], c[2]}, {c[2], c[3]}, {c[3], c[0]}};
}

class Plan {
public:
    CKovUnit unit;
    CPlotInfo plot;

    int wall(CDbPoint a, CDbPoint b, double t = 50.0, int layerGroup = 0)
    {
        plot.m_Layer.m_nCurrentGroup = layerGroup;
        const int id = unit.AddWall(a, b, t, plot);
        EXPECT_GT(id, 0);
        unit.ResetWallOutline(id);
        return id;
    }
    const CKovWall& w(int id) { return *unit.FindWall(id); }
    Edges edges(int id) { return edgesOf(w(id)); }
};

TEST(WallJoining, AxisJointsGiveExactOutlines)
{
    {
        SCOPED_TRACE("L");
        Plan p;
        const int a = p.wall({0, 0}, {1000, 0});
        const int b = p.wall({1000, 0}, {1000, 1000});
        p.unit.JoinWalls(0);
        EXPECT_EQ(p.edges(a), (Edges{{{-50, -50}, {-50, 50}}, {{-50, 50}, {950, 50}}, {{1050, 50}, {1050, -50}},
                                     {{1050, -50}, {-50, -50}}}));
        EXPECT_EQ(p.edges(b), (Edges{{{950, 50}, {950, 1050}}, {{950, 1050}, {1050, 1050}},
                                     {{1050, 1050}, {1050, -50}}, {{1050, -50}, {950, -50}}}));
    }
    {
        SCOPED_TRACE("T");
        Plan p;
        const int h = p.wall({0, 0}, {2000, 0});
        const int v = p.wall({1000, -1000}, {1000, 0});
        p.unit.JoinWalls(0);
        EXPECT_EQ(p.edges(h), (Edges{{{-50, -50}, {-50, 50}}, {{-50, 50}, {2050, 50}}, {{2050, 50}, {2050, -50}},
                                     {{-50, -50}, {950, -50}}, {{1050, -50}, {2050, -50}}}));
        EXPECT_EQ(p.edges(v), (Edges{{{950, -1050}, {950, -50}}, {{950, 50}, {1050, 50}},
                                     {{1050, -1050}, {1050, -50}}, {{1050, -1050}, {950, -1050}}}));
    }
    {
        SCOPED_TRACE("cross");
        Plan p;
        const int h = p.wall({0, 0}, {2000, 0});
        const int v = p.wall({1000, -1000}, {1000, 1000});
        p.unit.JoinWalls(0);
        EXPECT_EQ(p.edges(h), (Edges{{{-50, -50}, {-50, 50}}, {{-50, 50}, {950, 50}}, {{2050, 50}, {2050, -50}},
                                     {{-50, -50}, {950, -50}}, {{1050, 50}, {2050, 50}}, {{1050, -50}, {2050, -50}}}));
        EXPECT_EQ(p.edges(v), (Edges{{{950, -1050}, {950, -50}}, {{950, 1050}, {1050, 1050}},
                                     {{1050, -1050}, {1050, -50}}, {{1050, -1050}, {950, -1050}},
                                     {{950, 50}, {950, 1050}}, {{1050, 50}, {1050, 1050}}}));
    }
    {
        // The far part that the first crossing appends is cut by the second in the same join.
        SCOPED_TRACE("two crossings");
        Plan p;
        const int h = p.wall({0, 0}, {3000, 0});
        p.wall({1000, -1000}, {1000, 1000});
        p.wall({2000, -1000}, {2000, 1000});
        p.unit.JoinWalls(0);
        EXPECT_EQ(p.edges(h), (Edges{{{-50, -50}, {-50, 50}}, {{-50, 50}, {950, 50}}, {{3050, 50}, {3050, -50}},
                                     {{-50, -50}, {950, -50}}, {{1050, 50}, {1950, 50}}, {{1050, -50}, {1950, -50}},
                                     {{2050, 50}, {3050, 50}}, {{2050, -50}, {3050, -50}}}));
    }
    {
        SCOPED_TRACE("collinear");
        Plan p;
        const int a = p.wall({0, 0}, {1000, 0});
        const int b = p.wall({1000, 0}, {2000, 0});
        p.unit.JoinWalls(0);
        EXPECT_EQ(p.edges(a), (Edges{{{-50, -50}, {-50, 50}}, {{-50, 50}, {1050, 50}}, {{1050, -50}, {-50, -50}}}));
        EXPECT_EQ(p.edges(b), (Edges{{{950, 50}, {2050, 50}}, {{2050, 50}, {2050, -50}}, {{2050, -50}, {950, -50}}}));
    }
    {
        SCOPED_TRACE("apart");
        Plan p;
        const int a = p.wall({0, 0}, {1000, 0});
        const int b = p.wall({0, 500}, {1000, 500});
        p.unit.JoinWalls(0);
        EXPECT_EQ(p.edges(a), sides(p.w(a)));
        EXPECT_EQ(p.edges(b), sides(p.w(b)));
    }
}

// Axis-parallel plans are joined exactly already: their outlines are locked bit for bit, so work on
// oblique joints cannot move them. Random draws by plain modulo, the same on every standard library.
TEST(WallJoining, AxisPlansKeepTheirOutlinesBitForBit)
{
    std::mt19937 rng(11);
    auto pick = [&](unsigned n) { return static_cast<int>(rng() % n); };
    std::uint64_t digest = 1469598103934665603ull;
    auto mix = [&](double v) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        for (int k = 0; k < 8; ++k) {
            digest ^= (bits >> (8 * k)) & 0xFF;
            digest *= 1099511628211ull;
        }
    };
    std::size_t edges = 0;
    for (int plan = 0; plan < 40; ++plan) {
        CKovUnit unit;
        CPlotInfo plot;
        // Grid plans of rooms, then loose walls off the grid and of odd thickness.
        const bool grid = plan % 2 == 0;
        const double step = grid ? 1000.0 : 137.0;
        for (int k = 0; k < 60; ++k) {
            const CDbPoint a{pick(16) * step, pick(16) * step};
            CDbPoint b = a;
            const double l = (1 + pick(grid ? 4 : 9)) * step;
            switch (pick(4)) {
            case 0: b.x += l; break;
            case 1: b.x -= l; break;
            case 2: b.y += l; break;
            default: b.y -= l; break;
            }
            plot.m_Layer.m_nCurrentGroup = k % 9 == 0 ? 1 : 0;
            const double t = grid ? 50.0 + 25.0 * pick(3) : 10.5 + pick(90);
            if (k % 17 == 0) {
                unit.AddColumn(a, a, t, plot);
                continue;
            }
            const int id = unit.AddWall(a, b, t, plot);
            if (id > 0)
                unit.ResetWallOutline(id);
        }
        unit.JoinWalls(0);
        unit.JoinWalls(1);
        for (const auto& w : unit.m_Walls) {
            for (std::size_t i = 0; i < w->MWallarPntA.size(); ++i) {
                mix(w->MWallarPntA[i].x), mix(w->MWallarPntA[i].y);
                mix(w->MWallarPntB[i].x), mix(w->MWallarPntB[i].y);
                ++edges;
            }
            mix(-1.0);
        }
    }
    EXPECT_EQ(edges, 11089u);
    EXPECT_EQ(digest, 11615128060925272102ull);
}

TEST(WallJoining, JointCodesAgainstOneWall)
{
    // The rectangle of the wall (0,0)-(1000,0) with half thickness 50.
    const std::array<CDbPoint, 4> rect{CDbPoint{-50, -50}, CDbPoint{-50, 50}, CDbPoint{1050, 50}, CDbPoint{1050, -50}};
    const CDbPoint unset{-9999, -9999};
    const struct {
        const char* name;
        CDbPoint p, q;
        int code;
        CDbPoint out1, out2; // `unset` where the code leaves it alone
    } cases[] = {
        {"touches the left side only", {-200, 0}, {-50, 0}, JOINT_NONE, unset, unset},
        {"lies on the bottom line", {-200, 50}, {2000, 50}, JOINT_NONE, unset, unset},
        {"passes above", {-200, -60}, {2000, -60}, JOINT_NONE, unset, unset},
        {"enters through the left side", {-200, 0}, {500, 0}, JOINT_ENTERS, {1050, 0}, {-50, 0}},
        {"enters and ends on the right side", {-200, 0}, {1050, 0}, JOINT_ENTERS, {1050, 0}, {-50, 0}},
        {"leaves through the right side", {500, 0}, {2000, 0}, JOINT_LEAVES, {1050, 0}, {-50, 0}},
        {"passes through", {-200, 0}, {2000, 0}, JOINT_CROSSES, {1050, 0}, {-50, 0}},
        {"inside up to the right side", {0, 0}, {1050, 0}, JOINT_INSIDE, {1050, 0}, {-50, 0}},
        {"plumb, passes through", {500, -200}, {500, 200}, JOINT_CROSSES, {500, 50}, {500, -50}},
        {"plumb, enters through the top", {500, -200}, {500, 0}, JOINT_ENTERS, {500, 50}, {500, -50}},
        {"oblique, passes through", {0, -200}, {400, 200}, JOINT_CROSSES, {250, 50}, {150, -50}},
        {"oblique, ends inside", {0, -200}, {180, -20}, JOINT_ENTERS, unset, {150, -50}},
        {"oblique, starts inside", {200, 0}, {400, 200}, JOINT_LEAVES, {250, 50}, unset},
        {"oblique, inside", {100, -20}, {200, 20}, JOINT_INSIDE, unset, unset},
        {"oblique, passes below", {0, 60}, {400, 300}, JOINT_NONE, unset, unset},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDbPoint out1 = unset, out2 = unset;
        EXPECT_EQ(ClassifyWallEdge(rect, c.p, c.q, out1, out2, 100.0), c.code);
        if (c.code == JOINT_NONE)
            continue;
        EXPECT_EQ(out1, c.out1);
        EXPECT_EQ(out2, c.out2);
    }
}

// ---- Oblique joints: exact cuts, the same whatever order the walls were drawn in

// The length of the stretch of e that lies more than half a millimetre deep inside a wall's
// quadrilateral.
double lengthDeepInside(const std::array<CDbPoint, 4>& c, const Edge& e)
{
    double turn = 0.0;
    for (std::size_t k = 0; k < 4; ++k)
        turn += c[k].x * c[(k + 1) % 4].y - c[(k + 1) % 4].x * c[k].y;
    const double dx = e.b.x - e.a.x, dy = e.b.y - e.a.y;
    double t0 = 0.0, t1 = 1.0;
    for (std::size_t k = 0; k < 4; ++k) {
        const CDbPoint& a = c[k];
        const CDbPoint& b = c[(k + 1) % 4];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len == 0.0)
            continue;
        // Depth of e.a + t*(dx,dy) behind this side: n0 + t*n1 >= 0.5 is wanted.
        const double sense = (turn > 0 ? 1.0 : -1.0) / len;
        const double n0 = sense * ((b.x - a.x) * (e.a.y - a.y) - (b.y - a.y) * (e.a.x - a.x)) - 0.5;
        const double n1 = sense * ((b.x - a.x) * dy - (b.y - a.y) * dx);
        if (n1 == 0.0) {
            if (n0 < 0.0)
                return 0.0;
        } else if (n1 > 0.0) {
            t0 = std::max(t0, -n0 / n1);
        } else {
            t1 = std::min(t1, -n0 / n1);
        }
    }
    return t1 > t0 ? (t1 - t0) * std::hypot(dx, dy) : 0.0;
}

// Oblique edges parallel to an oblique wall's side are left alone on purpose.
bool parallelToASide(const Edge& e, const std::array<CDbPoint, 4>& c)
{
    if (std::fabs(e.a.x - e.b.x) < 1e-3 || std::fabs(e.a.y - e.b.y) < 1e-3)
        return false;
    const double slope = (e.b.y - e.a.y) / (e.b.x - e.a.x);
    for (std::size_t k = 0; k < 4; ++k) {
        const CDbPoint& a = c[k];
        const CDbPoint& b = c[(k + 1) % 4];
        if (std::fabs(a.x - b.x) < 1e-4 || std::fabs(a.y - b.y) < 1e-4)
            continue;
        if (std::fabs(slope - (b.y - a.y) / (b.x - a.x)) < 0.1)
            return true;
    }
    return false;
}

// Every kept face that runs more than a millimetre inside another wall.
std::vector<std::string> facesInsideOtherWalls(const CKovUnit& unit)
{
    std::vector<std::string> found;
    for (const auto& w : unit.m_Walls) {
        for (const Edge& e : edgesOf(*w)) {
            for (const auto& other : unit.m_Walls) {
                if (other.get() == w.get() || other->MWallLayer1 != w->MWallLayer1 ||
                    parallelToASide(e, other->MWallPntKado))
                    continue;
                const double inside = lengthDeepInside(other->MWallPntKado, e);
                if (inside > 1.0) {
                    std::ostringstream os;
                    os << "wall " << w->MWallID << " face " << e << " runs " << inside << " mm inside wall "
                       << other->MWallID;
                    found.push_back(os.str());
                }
            }
        }
    }
    return found;
}

struct Core {
    CDbPoint a, b;
    double t;
};

// The joined outline of each wall as a set of pieces, each written from its smaller end, the walls
// drawn in the order given or the reverse.
std::vector<std::vector<std::pair<std::pair<double, double>, std::pair<double, double>>>>
joinedPieces(const std::vector<Core>& walls, bool reversed)
{
    Plan p;
    std::vector<int> ids(walls.size());
    for (std::size_t k = 0; k < walls.size(); ++k) {
        const std::size_t i = reversed ? walls.size() - 1 - k : k;
        ids[i] = p.wall(walls[i].a, walls[i].b, walls[i].t);
    }
    p.unit.JoinWalls(0);
    // Joined again, the plan stays as it is: no cut drifts with the rounding of an earlier one.
    CKovUnit again;
    again.CopyFrom(p.unit);
    again.JoinWalls(0);
    for (int i = 0; i < again.m_Walls.GetSize(); ++i)
        EXPECT_EQ(edgesOf(*again.m_Walls[i]), edgesOf(*p.unit.m_Walls[i])) << "joined again, wall " << i;
    std::vector<std::vector<std::pair<std::pair<double, double>, std::pair<double, double>>>> out;
    for (int id : ids) {
        auto& pieces = out.emplace_back();
        for (const Edge& e : p.edges(id)) {
            auto a = std::make_pair(e.a.x, e.a.y), b = std::make_pair(e.b.x, e.b.y);
            pieces.push_back(a < b ? std::make_pair(a, b) : std::make_pair(b, a));
        }
        std::sort(pieces.begin(), pieces.end());
    }
    EXPECT_EQ(facesInsideOtherWalls(p.unit), std::vector<std::string>{}) << (reversed ? "reversed" : "in order");
    return out;
}

TEST(WallJoining, ObliqueFacesStopAtTheWallsTheyMeet)
{
    const struct {
        const char* name;
        std::vector<Core> walls;
    } cases[] = {
        // Both cuts of wall 2's nearly level end round to one y; the edge runs right to left.
        {"level end across a thin wall", {{{60, 200}, {60, 1000}, 20}, {{0, -500}, {10, 500}, 100}}},
        {"three walls at odd angles",
         {{{2234, 2795}, {2234, 4722}, 38.5}, {{1596, 4578}, {2672, 2886}, 53}, {{1765, 3759}, {4313, 3759}, 27}}},
        // A steep face: rounding x first put its cut up to half the slope off.
        {"steep face through an oblique wall", {{{5453, 410}, {5543, 4608}, 18.5}, {{2845, 3666}, {5979, 1447}, 58}}},
        // A piece cut off by the last wall lies inside the first and must be cut by it again.
        {"piece of a later cut inside an earlier wall",
         {{{118, 2423}, {5997, 2432}, 13},
          {{3669, 5566}, {4216, 9}, 30},
          {{1716, 5536}, {5020, 805}, 56},
          {{3729, 1787}, {5670, 5002}, 56}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(joinedPieces(c.walls, false), joinedPieces(c.walls, true));
    }
}

TEST(WallJoining, RandomMixedPlansJoinAlikeInEitherOrder)
{
    std::mt19937 rng(31);
    auto pick = [&](unsigned n) { return static_cast<int>(rng() % n); };
    int differing = 0;
    for (int plan = 0; plan < 80; ++plan) {
        std::vector<Core> walls;
        for (int k = 0; k < 12; ++k) {
            const CDbPoint a{double(pick(6000)), double(pick(6000))};
            CDbPoint b = a;
            switch (pick(3)) {
            case 0: b.x += 500 + pick(3000); break;
            case 1: b.y += 500 + pick(3000); break;
            default: b.x += pick(4000) - 2000.0, b.y += pick(4000) - 2000.0; break;
            }
            walls.push_back({a, b, 10 + pick(60) + (pick(2) ? 0.5 : 0.0)});
        }
        SCOPED_TRACE("plan " + std::to_string(plan));
        if (joinedPieces(walls, false) != joinedPieces(walls, true))
            ++differing;
    }
    EXPECT_EQ(differing, 0);
}

TEST(WallJoining, ObliqueWallMeetingAnAxisWallIsJoined)
{
    Plan p;
    const int h = p.wall({0, 0}, {2000, 0});
    const int o = p.wall({500, -1000}, {1000, 0});
    ASSERT_EQ(sides(p.w(o)), (Edges{{{955, 22}, {455, -977}}, {{455, -977}, {544, -1022}},
                                    {{544, -1022}, {1044, -22}}, {{1044, -22}, {955, 22}}}));
    p.unit.JoinWalls(0);
    // The oblique wall's faces stop at the top face, its end inside the horizontal wall goes.
    EXPECT_EQ(p.edges(h), (Edges{{{-50, -50}, {-50, 50}}, {{-50, 50}, {2050, 50}}, {{2050, 50}, {2050, -50}},
                                 {{-50, -50}, {919, -50}}, {{1030, -50}, {2050, -50}}}));
    EXPECT_EQ(p.edges(o), (Edges{{{455, -977}, {919, -50}}, {{455, -977}, {544, -1022}}, {{544, -1022}, {1030, -50}}}));
}

TEST(WallJoining, ObliqueWallsAtARightAngleAreNotJoined)
{
    Plan p;
    const int a = p.wall({0, 0}, {1000, 1000});
    const int b = p.wall({1000, 1000}, {2000, 0});
    p.unit.JoinWalls(0);
    EXPECT_EQ(p.edges(a), sides(p.w(a)));
    EXPECT_EQ(p.edges(b), sides(p.w(b)));
}

TEST(WallJoining, SecondJoinChangesNothing)
{
    Plan p;
    // A small house: outer walls, an inner cross wall and a T.
    p.wall({0, 0}, {4000, 0});
    p.wall({4000, 0}, {4000, 3000});
    p.wall({4000, 3000}, {0, 3000});
    p.wall({0, 3000}, {0, 0});
    p.wall({2000, 0}, {2000, 3000});
    p.wall({0, 1500}, {4000, 1500}, 60);
    p.wall({3000, 1500}, {3000, 3000}, 40);
    p.unit.JoinWalls(0);
    std::vector<Edges> first;
    for (const auto& w : p.unit.m_Walls)
        first.push_back(edgesOf(*w));
    p.unit.JoinWalls(0);
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(edgesOf(*p.unit.m_Walls[static_cast<int>(i)]), first[i]) << "wall " << i;
}

TEST(WallJoining, WallsTheJoinLeavesAloneStaySharedWithTheUndoCopy)
{
    // A wall added at one end of a row: only the wall it meets is cut again; every other wall, of
    // this layer group or another, is still the undo copy's own object.
    Plan p;
    for (int i = 0; i < 20; ++i)
        p.wall({i * 2000.0, 0}, {i * 2000.0 + 1000, 0});
    p.wall({0, 5000}, {1000, 5000}, 50, 1);
    p.plot.m_Layer.m_nCurrentGroup = 0;
    p.unit.JoinWalls(0);
    CKovUnit copy;
    copy.CopyFrom(p.unit);
    p.wall({1000, -1000}, {1000, 1000});
    p.unit.JoinWalls(0);
    const CKovUnit& after = p.unit;
    EXPECT_NE(after.m_Walls[0], std::as_const(copy).m_Walls[0]) << "the wall that was met";
    for (int i = 1; i < copy.m_Walls.GetSize(); ++i)
        EXPECT_EQ(after.m_Walls[i], std::as_const(copy).m_Walls[i]) << "wall " << i;
}

TEST(WallJoining, RemainingWallGrowsBackAfterResetAndJoin)
{
    Plan p;
    const int a = p.wall({0, 0}, {1000, 0});
    const int b = p.wall({1000, 0}, {1000, 1000});
    p.unit.JoinWalls(0);
    ASSERT_NE(p.edges(a), sides(p.w(a)));
    ASSERT_EQ(p.unit.DeleteWall(b), 1);
    p.unit.ResetWallOutline(a);
    p.unit.JoinWalls(0);
    EXPECT_EQ(p.edges(a), sides(p.w(a)));
}

TEST(WallJoining, ColumnsAndOtherLayerGroupsTakeNoPart)
{
    Plan p;
    const int a = p.wall({0, 0}, {1000, 0});
    const int other = p.wall({500, -500}, {500, 500}, 50, 1); // crosses a, but on layer group 1
    p.plot.m_Layer.m_nCurrentGroup = 0;
    const int column = p.unit.AddColumn({200, 0}, {200, 0}, 100, p.plot);
    const Edges columnEdges = p.edges(column);
    p.unit.JoinWalls(0);
    EXPECT_EQ(p.edges(a), sides(p.w(a)));
    EXPECT_EQ(p.edges(column), columnEdges);
    EXPECT_EQ(p.edges(other), sides(p.w(other)));
    p.unit.JoinWalls(1);
    EXPECT_EQ(p.edges(other), sides(p.w(other)));
}

TEST(WallJoining, DegenerateEdgesAreDropped)
{
    Plan p;
    const int a = p.wall({0, 0}, {1000, 0});
    CKovWall* w = p.unit.FindWall(a);
    w->MWallarPntA.push_back({10, 10});
    w->MWallarPntB.push_back({10, 10});
    p.unit.JoinWalls(0);
    EXPECT_EQ(p.edges(a), sides(p.w(a)));
}

TEST(WallJoining, ClipWallEdgeBeyondTheListsDoesNothing)
{
    Plan p;
    const int a = p.wall({0, 0}, {1000, 0});
    EXPECT_EQ(p.unit.ClipWallEdge(*p.unit.FindWall(a), 4), 1);
    EXPECT_EQ(p.edges(a), sides(p.w(a)));
}

// An edge that starts on a wall's boundary and crosses it keeps the part beyond the wall, and one
// that ends on the far boundary loses the part inside: mirrored edges give mirrored results.
TEST(WallJoining, EdgesTouchingTheBoundaryKeepTheirOutsidePart)
{
    const std::array<CDbPoint, 4> rect{CDbPoint{-50, -50}, CDbPoint{-50, 50}, CDbPoint{1050, 50}, CDbPoint{1050, -50}};
    struct Case {
        const char* name;
        CDbPoint p, q;
        Edges expected;
    } cases[] = {
        {"starts on the left end, leaves through the bottom", {-50, 0}, {150, 200}, {{{0, 50}, {150, 200}}}},
        {"mirror: starts on the right end", {1050, 0}, {850, 200}, {{{1000, 50}, {850, 200}}}},
        {"ends on the bottom, enters through the right end", {1100, -100}, {950, 50}, {{{1100, -100}, {1050, -50}}}},
        {"mirror: enters through the left end", {-100, -100}, {50, 50}, {{{-100, -100}, {-50, -50}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovWall wall;
        wall.MWallarPntA = {c.p};
        wall.MWallarPntB = {c.q};
        CDbPoint p = c.p, q = c.q, out1, out2;
        const int code = ClassifyWallEdge(rect, p, q, out1, out2, 100.0);
        CKovUnit unit;
        if (unit.UpdateWallOutlineEdge(p, q, code, wall, 0, out1, out2))
            EXPECT_EQ(edgesOf(wall), c.expected);
        else
            ADD_FAILURE() << "edge removed, code " << code;
    }
}

TEST(WallJoining, RegionAgreesWithScreenRegionsOnRandomQuadrilaterals)
{
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> coord(-12, 12);
    int mismatches = 0;
    for (int n = 0; n < 1000 && mismatches < 5; ++n) {
        std::array<DevicePoint, 4> pts;
        QPolygon polygon;
        for (auto& pt : pts) {
            pt = {coord(rng), coord(rng)};
            polygon << QPoint(pt.x, pt.y);
        }
        // Some axis-parallel rectangles too, which take a shortcut in screen regions.
        if (n % 10 == 0) {
            pts[1] = {pts[0].x, pts[2].y};
            pts[3] = {pts[2].x, pts[0].y};
            polygon = QPolygon({QPoint(pts[0].x, pts[0].y), QPoint(pts[1].x, pts[1].y), QPoint(pts[2].x, pts[2].y),
                                QPoint(pts[3].x, pts[3].y)});
        }
        const QRegion region(polygon, Qt::WindingFill);
        const WallRegion ours(pts);
        for (int y = -14; y <= 14; ++y) {
            for (int x = -14; x <= 14; ++x) {
                if (ours.contains(x, y) != region.contains(QPoint(x, y))) {
                    ++mismatches;
                    ADD_FAILURE() << "quad " << n << " point (" << x << "," << y << ")";
                    break;
                }
            }
        }
    }
}

// Corners thousands of kilometres apart (damaged files): the crossing of a row with a long slanted
// side still comes out right.
TEST(WallJoining, RegionOfFarCornersKeepsItsShape)
{
    // The triangle above the diagonal y = x, its fourth corner on its top side.
    const int far = 2100000000;
    const WallRegion region(std::array<DevicePoint, 4>{DevicePoint{-far, -far}, DevicePoint{far, far},
                                                       DevicePoint{far, -far}, DevicePoint{0, -far}});
    EXPECT_TRUE(region.contains(2000000000, 1000000000));
    EXPECT_TRUE(region.contains(2000000000, 1999999999));
    EXPECT_FALSE(region.contains(1000000000, 2000000000));
    EXPECT_FALSE(region.contains(-2000000000, 2000000000));
}

TEST(WallJoining, PrefilterGivesTheSameOutlinesOnRandomPlans)
{
    std::mt19937 rng(7);
    int joined = 0;
    for (int plan = 0; plan < 20; ++plan) {
        CKovUnit unit;
        CPlotInfo plot;
        // The last plans: short walls over a wider area, crossed by a few walls that span it all.
        const bool spanned = plan >= 15;
        const double step = spanned ? 500.0 : 250.0;
        std::uniform_int_distribution<int> grid(0, 30), len(1, spanned ? 1 : 8), kind(0, 5), thick(20, 80), group(0, 2);
        if (spanned) {
            for (const auto& [a, b] : {std::pair<CDbPoint, CDbPoint>{{0, 0}, {15000, 14000}},
                                       {{-100, 7000}, {15100, 7000}}, {{3000, 15000}, {9000, 0}}})
                unit.ResetWallOutline(unit.AddWall(a, b, 50.0, plot));
        }
        for (int k = 0; k < 120; ++k) {
            const CDbPoint a{grid(rng) * step, grid(rng) * step};
            CDbPoint b = a;
            const int l = len(rng) * 250;
            switch (kind(rng)) {
            case 0: case 1: b.x += l; break;
            case 2: case 3: b.y += l; break;
            case 4: b.x += l, b.y += l / 2; break;
            default: b.x += l / 3, b.y -= l; break;
            }
            plot.m_Layer.m_nCurrentGroup = k % 7 == 0 ? group(rng) : 0;
            if (k % 13 == 0) {
                unit.AddColumn(a, b, thick(rng), plot);
                continue;
            }
            const int id = unit.AddWall(a, b, thick(rng) / 2.0, plot);
            unit.ResetWallOutline(id);
        }
        CKovUnit reference;
        reference.CopyFrom(unit);
        for (int g = 0; g < 3; ++g) {
            kov::building::joinWalls(reference, g, false);
            unit.JoinWalls(g);
        }
        for (int i = 0; i < unit.m_Walls.GetSize(); ++i) {
            const CKovWall& w = *unit.m_Walls[i];
            ASSERT_EQ(edgesOf(w), edgesOf(*reference.m_Walls[i])) << "plan " << plan << " wall " << i;
            if (!w.IsColumn() && edgesOf(w) != sides(w))
                ++joined;
        }
    }
    EXPECT_GT(joined, 500); // the plans are dense: most walls meet others
}

// Walls as long as the plan at every angle, among short ones: the prefilter enters the long ones by
// the strip of cells they cover and still hands every wall that cuts over.
TEST(WallJoining, PrefilterGivesTheSameOutlinesWithPlanLongWalls)
{
    std::mt19937 rng(17);
    auto pick = [&](unsigned n) { return static_cast<int>(rng() % n); };
    int joined = 0;
    for (int plan = 0; plan < 12; ++plan) {
        CKovUnit unit;
        CPlotInfo plot;
        for (int k = 0; k < 80; ++k) {
            CDbPoint a{double(pick(30000)), double(pick(30000))}, b = a;
            if (k % 2 == 0) {
                // Across the whole plan, from one side to another.
                a = {0.0, double(pick(30000))}, b = {30000.0, double(pick(30000))};
                if (pick(2))
                    std::swap(a.x, a.y), std::swap(b.x, b.y);
            } else {
                b.x += pick(3000) - 1500.0, b.y += pick(3000) - 1500.0;
            }
            const int id = unit.AddWall(a, b, 5 + pick(80) + (pick(2) ? 0.5 : 0.0), plot);
            if (id > 0)
                unit.ResetWallOutline(id);
        }
        CKovUnit reference;
        reference.CopyFrom(unit);
        kov::building::joinWalls(reference, 0, false);
        unit.JoinWalls(0);
        for (int i = 0; i < unit.m_Walls.GetSize(); ++i) {
            const CKovWall& w = *unit.m_Walls[i];
            ASSERT_EQ(edgesOf(w), edgesOf(*reference.m_Walls[i])) << "plan " << plan << " wall " << i;
            joined += edgesOf(w).size() > 8 ? 1 : 0;
        }
    }
    EXPECT_GT(joined, 300); // the long walls cross many others
}

TEST(WallJoining, CrossingPartIsAddedOnce)
{
    CKovUnit unit;
    CKovWall wall;
    wall.MWallarPntA = {{0, 0}};
    wall.MWallarPntB = {{100, 0}};
    CDbPoint p{0, 0}, q{100, 0};
    ASSERT_EQ(unit.UpdateWallOutlineEdge(p, q, JOINT_CROSSES, wall, 0, {60, 0}, {40, 0}), 1);
    EXPECT_EQ(edgesOf(wall), (Edges{{{0, 0}, {40, 0}}, {{60, 0}, {100, 0}}}));
    // The same far part again, as a second wall over the same stretch gives it: nothing changes.
    CDbPoint p2{0, 0}, q2{100, 0};
    wall.MWallarPntB[0] = q2;
    ASSERT_EQ(unit.UpdateWallOutlineEdge(p2, q2, JOINT_CROSSES, wall, 0, {60, 0}, {40, 0}), 1);
    EXPECT_EQ(edgesOf(wall), (Edges{{{0, 0}, {100, 0}}, {{60, 0}, {100, 0}}}));
    // An index beyond the lists changes nothing.
    EXPECT_EQ(unit.UpdateWallOutlineEdge(p2, q2, JOINT_INSIDE, wall, 5, {}, {}), 1);
    EXPECT_EQ(wall.MWallarPntA.size(), 2u);
}

} // namespace

namespace {

// Walls from damaged or merged files: far away, very long, of no thickness, of a thickness that is
// not a number.
TEST(WallJoining, OddWallsJoinAlikeWithAndWithoutPrefilter)
{
    const struct {
        const char* name;
        CDbPoint a, b;
        double t;
    } odd[] = {
        {"far away", {1e300, 1e300}, {2e300, 1e300}, 50},
        {"a stray wall kilometres off", {1e7, 1e7}, {1e7 + 3000, 1e7 + 1000}, 50},
        {"a long wall across the others", {-1e6, 10}, {1e6, 30}, 50},
        {"no thickness", {500, -500}, {500, 500}, 0},
        {"thickness not a number", {200, -500}, {700, 500}, std::nan("")},
    };
    for (const auto& o : odd) {
        SCOPED_TRACE(o.name);
        Plan p;
        p.wall({0, 0}, {1000, 0});
        p.wall({300, -300}, {900, 300});
        const int id = p.wall(o.a, o.b, 50.0);
        CKovWall* w = p.unit.FindWall(id);
        w->MWallWide1 = w->MWallWide2 = o.t;
        CKovUnit reference;
        reference.CopyFrom(p.unit);
        kov::building::joinWalls(reference, 0, false);
        p.unit.JoinWalls(0);
        for (int i = 0; i < p.unit.m_Walls.GetSize(); ++i)
            EXPECT_EQ(edgesOf(*p.unit.m_Walls[i]), edgesOf(*reference.m_Walls[i])) << "wall " << i;
    }
}

} // namespace
