#include "render/Damage.h"

#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/ObjectBoxes.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace kov::render {

namespace {

// The selection's identifiers sorted, with the pass's rule: an object counts as selected by its
// own identifier or by its group's.
struct Selected {
    std::vector<int> groups, walls, lines, texts, images;

    explicit Selected(const SelectionRecord& s)
        : groups(sorted(s.m_Groups)), walls(sorted(s.m_Walls)), lines(sorted(s.m_Lines)), texts(sorted(s.m_Texts)),
          images(sorted(s.m_Images))
    {
    }
    static std::vector<int> sorted(std::vector<int> v)
    {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
        return v;
    }
    static bool has(const std::vector<int>& v, int id) { return std::binary_search(v.begin(), v.end(), id); }
    bool group(int id) const { return id != 0 && has(groups, id); }
    bool wall(const CKovWall& w) const { return has(walls, w.MWallID) || group(w.MWallGrpID); }
    bool figure(const CKovLine& f) const { return has(lines, f.MLineID) || group(f.MLineGrpID); }
    bool text(const CKovText& t) const { return has(texts, t.MTextID) || group(t.MTextGrpID); }
    bool image(const CKovImage& i) const { return has(images, i.ImageID); }
};

// The identifiers in one list and not the other (both ways), or in either when `all`.
std::vector<int> changedIds(const std::vector<int>& a, const std::vector<int>& b, bool all)
{
    std::vector<int> out;
    if (all)
        std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    else
        std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

// Everything a wall's drawers read: a wall the joining made its own but left as it was draws the
// same pixels.
bool sameWall(const CKovWall& a, const CKovWall& b)
{
    return a.MWallID == b.MWallID && a.MWallPntA == b.MWallPntA && a.MWallPntB == b.MWallPntB &&
           a.MWallPntKado == b.MWallPntKado && a.MWallWide1 == b.MWallWide1 && a.MWallWide2 == b.MWallWide2 &&
           a.MWallType == b.MWallType && a.MWall_Type == b.MWall_Type && a.MHasiraType == b.MHasiraType &&
           a.MWallarPntA == b.MWallarPntA && a.MWallarPntB == b.MWallarPntB && a.MWallGrpID == b.MWallGrpID &&
           a.MWallLayer1 == b.MWallLayer1 && a.MWallLayer2 == b.MWallLayer2;
}

// Collects the boxes, grown by the reach of the selection marks where the object is marked.
class Boxes {
public:
    Boxes(const DeviceTransform& t, const CPlotInfo& plot, const DeviceRect& bounds, int limit)
        : m_t(t), m_boxes(std::nullopt, t, plot, false), m_bounds(bounds), m_limit(limit),
          // Grips are squares of the pick tolerance; a text's turning handle stands two snap
          // tolerances off its corner.
          m_markReach(2 * g_nSnapTolerance + g_nPickTolerance + 2)
    {
    }

    bool failed() const { return m_failed; }
    std::vector<DeviceRect> take() { return std::move(m_rects); }

    void figure(const CKovLine& f, bool marked) { add(m_boxes.figureBox(f), marked); }
    void wall(const CKovWall& w, bool marked) { add(m_boxes.wallBox(w), marked); }
    void text(const CKovText& x, bool marked) { add(m_boxes.textBox(x), marked); }
    void image(const CKovImage& i, bool marked) { add(ObjectCulling::pictureBox(i.DeviceRectFor(m_t)), marked); }
    // A group's own marks: the corners of its box and the turning handle half its width from the
    // first corner, along its angle.
    void groupMarks(const CKovGroup& g)
    {
        const int lg = std::clamp(g.MGrpLayer1, 0, DeviceTransform::kLayerGroups - 1);
        const DevicePoint a = ToDevicePoint(g.MGrpmin, m_t, lg);
        const DevicePoint b = ToDevicePoint(g.MGrpmax, m_t, lg);
        const double angle = g.MGrpKakudo * 3.141592653589793 / 180.0;
        const double half = std::abs(g.MGrpmax.x - g.MGrpmin.x) * 0.5 * m_t.scaleX[std::size_t(lg)];
        auto c = [](double v) { return int(std::clamp(v, -double(kDeviceCoordLimit), double(kDeviceCoordLimit))); };
        const DevicePoint handle{c(a.x + std::trunc(std::cos(angle) * half)), c(a.y - std::trunc(std::sin(angle) * half))};
        for (const DevicePoint p : {a, DevicePoint{a.x, b.y}, b, DevicePoint{b.x, a.y}, handle})
            add(DeviceRect{p.x, p.y, p.x + 1, p.y + 1}, true);
    }

private:
    void add(const std::optional<DeviceRect>& box, bool marked)
    {
        if (!box) {
            m_failed = true;
            return;
        }
        if (++m_count > m_limit) m_failed = true;
        if (m_failed || box->width() <= 0 || box->height() <= 0) return;
        const long long m = marked ? m_markReach : 0;
        auto c = [](long long v) { return int(std::clamp<long long>(v, -kDeviceCoordLimit, kDeviceCoordLimit)); };
        const DeviceRect r{std::max(m_bounds.left, c(box->left - m)), std::max(m_bounds.top, c(box->top - m)),
                           std::min(m_bounds.right, c(box->right + m)), std::min(m_bounds.bottom, c(box->bottom + m))};
        if (r.width() > 0 && r.height() > 0) m_rects.push_back(r);
    }

    const DeviceTransform& m_t;
    ObjectCulling m_boxes;
    DeviceRect m_bounds;
    int m_limit;
    int m_markReach;
    int m_count = 0;
    bool m_failed = false;
    std::vector<DeviceRect> m_rects;
};

// Walks two arrays of one kind: `gone(object)` for every object of `before` not drawn the same in
// `after` (replaced, removed or moved in the order), `come(object)` for those of `after`. Objects
// shared by both (not made their own by an edit) are the same; `same` may vouch for others. The
// common start and end are passed over at once; in between, objects are matched by identifier in
// order, and any that changed places are taken as changed. False when more objects differ than
// `limit` allows.
template <class Array, class Id, class Same, class Gone, class Come>
bool diffObjects(const Array& before, const Array& after, Id id, Same same, Gone gone, Come come, int limit)
{
    const int na = before.GetSize(), nb = after.GetSize();
    int head = 0;
    while (head < na && head < nb && before[head] == after[head]) ++head;
    int tail = 0;
    while (tail < na - head && tail < nb - head && before[na - 1 - tail] == after[nb - 1 - tail]) ++tail;
    const int ea = na - tail, eb = nb - tail;
    // A changed stretch beyond this is a new drawing, not an edit (the joining of walls makes many
    // walls its own at once; they are compared one by one).
    if ((ea - head) + (eb - head) > 50 * limit) return false;
    std::unordered_map<int, int> inBefore, inAfter;
    bool repeated = false;
    for (int i = head; i < ea; ++i) repeated = ++inBefore[id(*before[i])] > 1 || repeated;
    for (int j = head; j < eb; ++j) repeated = ++inAfter[id(*after[j])] > 1 || repeated;
    if (repeated) {
        // Identifiers given twice (odd files): no matching, every object of the stretch changed.
        for (int i = head; i < ea; ++i) gone(*before[i]);
        for (int j = head; j < eb; ++j) come(*after[j]);
        return true;
    }
    int i = head, j = head;
    while (i < ea || j < eb) {
        if (i < ea && j < eb && id(*before[i]) == id(*after[j])) {
            if (before[i] != after[j] && !same(*before[i], *after[j])) {
                gone(*before[i]);
                come(*after[j]);
            }
            ++i, ++j;
        } else if (i < ea && !inAfter.contains(id(*before[i]))) {
            gone(*before[i++]);
        } else if (j < eb && !inBefore.contains(id(*after[j]))) {
            come(*after[j++]);
        } else {
            // Both are still to come on the other side: the order changed here.
            if (i < ea) gone(*before[i++]);
            if (j < eb) come(*after[j++]);
        }
    }
    return true;
}

template <class T>
bool neverSame(const T&, const T&)
{
    return false;
}

// Every member of the groups in `ids` in the drawing: listed by the group or naming it.
void members(const CKovUnit& unit, const std::unordered_set<int>& ids, const Selected& sel, Boxes& boxes)
{
    if (ids.empty()) return;
    for (const auto& f : unit.m_Lines)
        if (f->MLineGrpID != 0 && ids.contains(f->MLineGrpID)) boxes.figure(*f, sel.figure(*f));
    for (const auto& w : unit.m_Walls)
        if (w->MWallGrpID != 0 && ids.contains(w->MWallGrpID)) boxes.wall(*w, sel.wall(*w));
    for (const auto& x : unit.m_Texts)
        if (x->MTextGrpID != 0 && ids.contains(x->MTextGrpID)) boxes.text(*x, sel.text(*x));
    for (const int gid : ids) {
        const CKovGroup* g = unit.FindGroup(gid);
        if (g == nullptr) continue;
        if (sel.group(gid)) boxes.groupMarks(*g);
        for (const int id : g->MGrpLineID)
            if (const CKovLine* f = unit.FindLine(id)) boxes.figure(*f, sel.figure(*f));
        for (const int id : g->MGrpWallID)
            if (const CKovWall* w = unit.FindWall(id)) boxes.wall(*w, sel.wall(*w));
        for (const int id : g->MGrpTextID)
            if (const CKovText* x = unit.FindText(id)) boxes.text(*x, sel.text(*x));
    }
}

} // namespace

std::optional<std::vector<DeviceRect>> DamagedRects(const PaintedDrawing& before, const PaintedDrawing& after,
                                                   const DeviceTransform& transform, const CPlotInfo& plot,
                                                   const DeviceRect& bounds, const DamageLimits& limits)
{
    const CKovUnit& a = before.unit;
    const CKovUnit& b = after.unit;
    const Selected selA(before.selection), selB(after.selection);
    Boxes boxes(transform, plot, bounds, limits.maxObjects);
    const int limit = limits.maxObjects;
    std::unordered_set<int> groups;  // groups whose members are drawn or marked differently

    // 1. Objects replaced, added, removed or moved in the order.
    bool ok = diffObjects(
        a.m_Lines, b.m_Lines, [](const CKovLine& f) { return f.MLineID; }, neverSame<CKovLine>,
        [&](const CKovLine& f) { boxes.figure(f, selA.figure(f)); }, [&](const CKovLine& f) { boxes.figure(f, selB.figure(f)); },
        limit);
    ok = ok && diffObjects(
                   a.m_Walls, b.m_Walls, [](const CKovWall& w) { return w.MWallID; }, sameWall,
                   [&](const CKovWall& w) { boxes.wall(w, selA.wall(w)); }, [&](const CKovWall& w) { boxes.wall(w, selB.wall(w)); },
                   limit);
    ok = ok && diffObjects(
                   a.m_Texts, b.m_Texts, [](const CKovText& x) { return x.MTextID; }, neverSame<CKovText>,
                   [&](const CKovText& x) { boxes.text(x, selA.text(x)); }, [&](const CKovText& x) { boxes.text(x, selB.text(x)); },
                   limit);
    ok = ok && diffObjects(
                   a.m_Images, b.m_Images, [](const CKovImage& i) { return i.ImageID; }, neverSame<CKovImage>,
                   [&](const CKovImage& i) { boxes.image(i, selA.image(i)); }, [&](const CKovImage& i) { boxes.image(i, selB.image(i)); },
                   limit);
    // A group's change redraws its members: whether and how they are drawn hangs on it.
    ok = ok && diffObjects(
                   a.m_Groups, b.m_Groups, [](const CKovGroup& g) { return g.MGrpID; }, neverSame<CKovGroup>,
                   [&](const CKovGroup& g) { groups.insert(g.MGrpID); }, [&](const CKovGroup& g) { groups.insert(g.MGrpID); },
                   limit);
    if (!ok || boxes.failed()) return std::nullopt;

    // 2. Marks that come or go, and objects left out under a drag or back again. How marks look
    // hangs on whether one object is selected, so then all of them are drawn anew.
    const bool all = (before.selection.m_nCount == 1) != (after.selection.m_nCount == 1) ||
                     before.selectionLeftOut != after.selectionLeftOut;
    for (const int id : changedIds(selA.lines, selB.lines, all)) {
        if (const CKovLine* f = a.FindLine(id)) boxes.figure(*f, true);
        if (const CKovLine* f = b.FindLine(id)) boxes.figure(*f, true);
    }
    for (const int id : changedIds(selA.walls, selB.walls, all)) {
        if (const CKovWall* w = a.FindWall(id)) boxes.wall(*w, true);
        if (const CKovWall* w = b.FindWall(id)) boxes.wall(*w, true);
    }
    for (const int id : changedIds(selA.texts, selB.texts, all)) {
        if (const CKovText* x = a.FindText(id)) boxes.text(*x, true);
        if (const CKovText* x = b.FindText(id)) boxes.text(*x, true);
    }
    for (const int id : changedIds(selA.images, selB.images, all)) {
        if (const CKovImage* i = a.FindImage(id)) boxes.image(*i, true);
        if (const CKovImage* i = b.FindImage(id)) boxes.image(*i, true);
    }
    for (const int id : changedIds(selA.groups, selB.groups, all)) {
        groups.insert(id);
        if (const CKovGroup* g = a.FindGroup(id)) boxes.groupMarks(*g);
        if (const CKovGroup* g = b.FindGroup(id)) boxes.groupMarks(*g);
    }

    // 3. The members of those groups, before and after.
    if (!groups.empty()) {
        members(a, groups, selA, boxes);
        members(b, groups, selB, boxes);
    }
    if (boxes.failed()) return std::nullopt;
    return boxes.take();
}

std::vector<DeviceRect> MergedRects(std::vector<DeviceRect> rects, int maxRects)
{
    auto area = [](const DeviceRect& r) { return static_cast<long long>(r.width()) * r.height(); };
    auto unite = [](const DeviceRect& a, const DeviceRect& b) {
        return DeviceRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                          std::max(a.bottom, b.bottom)};
    };
    auto overlap = [](const DeviceRect& a, const DeviceRect& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    };
    std::erase_if(rects, [&](const DeviceRect& r) { return r.width() <= 0 || r.height() <= 0; });
    if (rects.empty()) return rects;
    // Very many: one rectangle round them all.
    if (rects.size() > 256) {
        DeviceRect all = rects.front();
        for (const DeviceRect& r : rects) all = unite(all, r);
        return {all};
    }
    // Joins every two that overlap or whose union wastes little, until none does; then the
    // cheapest pairs until few enough are left.
    for (;;) {
        bool joined = false;
        for (std::size_t i = 0; i < rects.size() && !joined; ++i) {
            for (std::size_t j = i + 1; j < rects.size() && !joined; ++j) {
                const DeviceRect u = unite(rects[i], rects[j]);
                const long long waste = area(u) - area(rects[i]) - area(rects[j]);
                if (overlap(rects[i], rects[j]) || waste <= std::max(4096LL, (area(rects[i]) + area(rects[j])) / 4)) {
                    rects[i] = u;
                    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
                    joined = true;
                }
            }
        }
        if (joined) continue;
        if (static_cast<int>(rects.size()) <= std::max(1, maxRects)) return rects;
        std::size_t bi = 0, bj = 1;
        long long best = -1;
        for (std::size_t i = 0; i < rects.size(); ++i)
            for (std::size_t j = i + 1; j < rects.size(); ++j) {
                const long long waste = area(unite(rects[i], rects[j])) - area(rects[i]) - area(rects[j]);
                if (best < 0 || waste < best) best = waste, bi = i, bj = j;
            }
        rects[bi] = unite(rects[bi], rects[bj]);
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bj));
    }
}

} // namespace kov::render
