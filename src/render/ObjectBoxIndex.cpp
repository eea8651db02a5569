#include "render/ObjectBoxIndex.h"

#include "model/PlotInfo.h"
#include "render/ObjectBoxes.h"

#include <algorithm>

namespace kov::render {

namespace {

constexpr int kChunk = 4096;  // objects measured by one task

std::int16_t slotOf(int g, int l)
{
    return g >= 0 && g < 16 && l >= 0 && l < 16 ? static_cast<std::int16_t>(g * 16 + l) : std::int16_t(-1);
}

ObjectBoxIndex::Entry entryOf(const std::optional<DeviceRect>& box, std::int16_t slot)
{
    ObjectBoxIndex::Entry e;
    e.slot = slot;
    // The pass draws an object without a box: it is always picked.
    if (!box || box->width() <= 0 || box->height() <= 0) {
        e.always = true;
        return e;
    }
    // A pixel more than the box: the pass maps about the real origin, which may round otherwise.
    e.left = box->left - 1;
    e.top = box->top - 1;
    e.right = box->right;
    e.bottom = box->bottom;
    return e;
}

ObjectBoxIndex::Entry entryOf(const ObjectCulling& c, const CKovLine& f)
{
    return entryOf(c.figureBox(f), slotOf(f.MLineLayer1, f.MLineLayer2));
}
ObjectBoxIndex::Entry entryOf(const ObjectCulling& c, const CKovWall& w)
{
    return entryOf(c.wallBox(w), slotOf(w.MWallLayer1, w.MWallLayer2));
}
ObjectBoxIndex::Entry entryOf(const ObjectCulling& c, const CKovText& t)
{
    return entryOf(c.textBox(t), slotOf(t.MTextLayer1, t.MTextLayer2));
}

// Boxes about the origin: a scroll moves the origin, not them.
DeviceTransform aboutOrigin(const DeviceTransform& t)
{
    DeviceTransform r = t;
    r.originX = 0;
    r.originY = 0;
    return r;
}

// Measures array[from, to) into out[at, ...), in chunks that may run on several threads.
template <class Array>
void measure(const Array& array, int from, int to, std::vector<ObjectBoxIndex::Entry>& out, int at,
             const ObjectCulling& culling, const ObjectBoxIndex::Parallel& parallel)
{
    const int count = to - from;
    if (count <= 0) return;
    const int chunks = (count + kChunk - 1) / kChunk;
    auto task = [&](int k) {
        const int first = from + k * kChunk, last = std::min(to, first + kChunk);
        for (int i = first; i < last; ++i)
            out[static_cast<std::size_t>(at + i - from)] = entryOf(culling, *array[i]);
    };
    if (chunks > 1 && parallel) parallel(chunks, task);
    else
        for (int k = 0; k < chunks; ++k) task(k);
}

// The entries of `after` from those of `before`: the common start and end (the same objects) are
// kept, the stretch between measured.
template <class Array>
std::vector<ObjectBoxIndex::Entry> updated(const std::vector<ObjectBoxIndex::Entry>& old, const Array& before,
                                           const Array& after, const ObjectCulling& culling,
                                           const ObjectBoxIndex::Parallel& parallel)
{
    const int na = before.GetSize(), nb = after.GetSize();
    int head = 0;
    while (head < na && head < nb && before[head] == after[head]) ++head;
    int tail = 0;
    while (tail < na - head && tail < nb - head && before[na - 1 - tail] == after[nb - 1 - tail]) ++tail;
    std::vector<ObjectBoxIndex::Entry> out(static_cast<std::size_t>(nb));
    std::copy(old.begin(), old.begin() + head, out.begin());
    std::copy(old.end() - tail, old.end(), out.end() - tail);
    measure(after, head, nb - tail, out, head, culling, parallel);
    return out;
}

} // namespace

ObjectBoxIndex::Scales ObjectBoxIndex::ScalesOf(const DeviceTransform& transform, const CPlotInfo& plot)
{
    Scales s;
    s.scaleX = transform.scaleX;
    s.scaleY = transform.scaleY;
    s.paperScale = transform.paperScale;
    s.margins = ObjectCulling(std::nullopt, transform, plot, false).margins();
    return s;
}

std::unique_ptr<ObjectBoxIndex> ObjectBoxIndex::Build(const CKovUnit& unit, const DeviceTransform& transform,
                                                      const CPlotInfo& plot, const Parallel& parallel)
{
    auto index = std::make_unique<ObjectBoxIndex>();
    index->m_scales = ScalesOf(transform, plot);
    const DeviceTransform t = aboutOrigin(transform);
    const ObjectCulling culling(std::nullopt, t, plot, false);
    index->m_lines.resize(unit.m_Lines.size());
    index->m_walls.resize(unit.m_Walls.size());
    index->m_texts.resize(unit.m_Texts.size());
    measure(unit.m_Lines, 0, unit.m_Lines.GetSize(), index->m_lines, 0, culling, parallel);
    measure(unit.m_Walls, 0, unit.m_Walls.GetSize(), index->m_walls, 0, culling, parallel);
    measure(unit.m_Texts, 0, unit.m_Texts.GetSize(), index->m_texts, 0, culling, parallel);
    return index;
}

std::unique_ptr<ObjectBoxIndex> ObjectBoxIndex::Updated(const CKovUnit& before, const CKovUnit& after,
                                                        const DeviceTransform& transform, const CPlotInfo& plot,
                                                        const Parallel& parallel) const
{
    if (!Serves(before, transform, plot)) return nullptr;
    auto index = std::make_unique<ObjectBoxIndex>();
    index->m_scales = m_scales;
    const DeviceTransform t = aboutOrigin(transform);
    const ObjectCulling culling(std::nullopt, t, plot, false);
    index->m_lines = updated(m_lines, before.m_Lines, after.m_Lines, culling, parallel);
    index->m_walls = updated(m_walls, before.m_Walls, after.m_Walls, culling, parallel);
    index->m_texts = updated(m_texts, before.m_Texts, after.m_Texts, culling, parallel);
    return index;
}

bool ObjectBoxIndex::Serves(const CKovUnit& unit, const DeviceTransform& transform, const CPlotInfo& plot) const
{
    return m_lines.size() == unit.m_Lines.size() && m_walls.size() == unit.m_Walls.size() &&
           m_texts.size() == unit.m_Texts.size() && m_scales == ScalesOf(transform, plot);
}

std::optional<ObjectBoxIndex::Query> ObjectBoxIndex::QueryFor(const DeviceRect& visible, const DeviceTransform& transform)
{
    const Query q{static_cast<long long>(visible.left) - transform.originX,
                  static_cast<long long>(visible.top) - transform.originY,
                  static_cast<long long>(visible.right) - transform.originX,
                  static_cast<long long>(visible.bottom) - transform.originY};
    // Boxes are clamped to the device range: beyond it they could miss an area they reach.
    const long long limit = kDeviceCoordLimit - 2;
    for (const long long v : {q.left, q.top, q.right, q.bottom})
        if (v <= -limit || v >= limit) return std::nullopt;
    return q;
}

} // namespace kov::render
