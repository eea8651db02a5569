// The draw passes: which objects of the container are drawn, in which order, on which layers.
// The look of each object is its drawer's business.

#include "model/DrawTransform.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"
#include "platform/Surface.h"
#include "render/DrawEnvironment.h"
#include "render/ObjectBoxIndex.h"
#include "render/ObjectBoxes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace pf = kov::platform;
using kov::render::ObjectBoxIndex;
using kov::render::ObjectCulling;

namespace {

constexpr int kLayers = 16;
constexpr int kSlots = kLayers * kLayers;

bool hidden(const CLayerInfo& info) { return info.m_nType == CLayerInfo::LAYER_HIDDEN; }

bool layerGroupShown(const CPlotInfo& plot, int g)
{
    return !hidden(plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(g)]);
}

bool layerShown(const CPlotInfo& plot, int g, int l)
{
    return !hidden(plot.m_Layer.m_LayerInfo[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)]);
}

int slotOf(int g, int l)
{
    return g >= 0 && g < kLayers && l >= 0 && l < kLayers ? g * kLayers + l : -1;
}

// The objects of one kind sorted by layer address, array order kept within an address: one sweep
// per pass instead of one per layer. Objects that cannot reach the visible area are left out of
// the order while the sweep has them at hand (most of a large drawing when zoomed in), but still
// make their layer count as holding objects.
struct Buckets {
    std::array<int, kSlots + 1> start{};
    std::array<int, kSlots> present{};
    std::vector<int> order;
    std::vector<short> objectSlots;

    template <class Array, class SlotOf>
    void fill(const Array& array, SlotOf slotOfObject)
    {
        fill(array, slotOfObject, [](const auto&) { return true; });
    }
    template <class Array, class SlotOf, class Visible>
    void fill(const Array& array, SlotOf slotOfObject, Visible visible)
    {
        begin(array.GetSize());
        // Each object is looked at once: its slot (-1 when left out) is kept for the second sweep.
        for (int i = 0; i < array.GetSize(); ++i) {
            const auto& object = *array[i];
            const int s = slotOfObject(object);
            note(i, s, s >= 0 && visible(object));
        }
        finish();
    }
    // The same from the drawing's boxes, without going to the objects.
    void fill(const std::vector<ObjectBoxIndex::Entry>& entries, const ObjectBoxIndex::Query& query)
    {
        begin(static_cast<int>(entries.size()));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ObjectBoxIndex::Entry& e = entries[i];
            note(static_cast<int>(i), e.slot, e.slot >= 0 && query.meets(e));
        }
        finish();
    }
    void begin(int n)
    {
        start.fill(0);
        present.fill(0);
        objectSlots.resize(static_cast<std::size_t>(n));
    }
    void note(int i, int s, bool visible)
    {
        if (s >= 0) {
            ++present[static_cast<std::size_t>(s)];
            if (visible) ++start[static_cast<std::size_t>(s) + 1];
            else s = -1;
        }
        objectSlots[static_cast<std::size_t>(i)] = static_cast<short>(s);
    }
    void finish()
    {
        const int n = static_cast<int>(objectSlots.size());
        for (int s = 0; s < kSlots; ++s) start[static_cast<std::size_t>(s) + 1] += start[static_cast<std::size_t>(s)];
        order.assign(static_cast<std::size_t>(start[kSlots]), 0);
        std::array<int, kSlots> next;
        std::copy(start.begin(), start.begin() + kSlots, next.begin());
        for (int i = 0; i < n; ++i) {
            const int s = objectSlots[static_cast<std::size_t>(i)];
            if (s >= 0) order[static_cast<std::size_t>(next[static_cast<std::size_t>(s)]++)] = i;
        }
    }
    // Objects on the layer, visible or not.
    int count(int slot) const { return present[static_cast<std::size_t>(slot)]; }
    template <class F>
    void each(int slot, F f) const
    {
        for (int k = start[static_cast<std::size_t>(slot)]; k < start[static_cast<std::size_t>(slot) + 1]; ++k)
            f(order[static_cast<std::size_t>(k)]);
    }
    // The same, asking for the objects a few places ahead to be fetched: the objects lie apart
    // in memory, and a pass otherwise waits on each one in turn.
    template <class Array, class F>
    void each(int slot, const Array& array, F f) const
    {
        constexpr int kAhead = 8;
        const int from = start[static_cast<std::size_t>(slot)], to = start[static_cast<std::size_t>(slot) + 1];
        // (Written out in the loop: a helper holding only the prefetches counts as doing nothing
        // and is dropped by the compiler.)
        for (int k = from; k < to; ++k) {
            // The first few at the start, then the one kAhead places on.
            const int first = k == from ? from : k + kAhead;
            for (int j = first; j < std::min(to, k + kAhead + 1); ++j) {
                const char* object = reinterpret_cast<const char*>(array[order[static_cast<std::size_t>(j)]]);
                __builtin_prefetch(object);
                __builtin_prefetch(object + 64);
                __builtin_prefetch(object + 128);
            }
            f(order[static_cast<std::size_t>(k)]);
        }
    }
};

// Sorted copies of the selection lists, so that passes over many objects and a large selection
// stay linear.
struct SelectedIds {
    std::vector<int> groups, walls, lines, texts, images;

    explicit SelectedIds(const SelectionRecord& s)
        : groups(sorted(s.m_Groups)), walls(sorted(s.m_Walls)), lines(sorted(s.m_Lines)), texts(sorted(s.m_Texts)),
          images(sorted(s.m_Images))
    {
    }
    static std::vector<int> sorted(std::vector<int> v)
    {
        std::sort(v.begin(), v.end());
        return v;
    }
    static bool has(const std::vector<int>& v, int id) { return std::binary_search(v.begin(), v.end(), id); }
    bool group(int id) const { return id != 0 && has(groups, id); }
    bool wall(const CKovWall& w) const { return has(walls, w.MWallID) || group(w.MWallGrpID); }
    bool figure(const CKovLine& f) const { return has(lines, f.MLineID) || group(f.MLineGrpID); }
    bool text(const CKovText& t) const { return has(texts, t.MTextID) || group(t.MTextGrpID); }
    bool image(const CKovImage& i) const { return has(images, i.ImageID); }
};

enum class LayerPass { All, Unselected };

// What every pass carries along.
struct Pass {
    // Read only: a mutable look-up would give the live drawing its own copy of every object an
    // undo snapshot shares.
    const CKovUnit& unit;
    pf::Surface& dc;
    const DeviceTransform& t;
    const CPlotInfo& plot;
    const SelectionRecord& selection;
    bool placing;
    bool output;
    const CKovUnit::DrawEnvironment& env;
    ObjectCulling cull;
    bool picturesBelow;
    int placedGroupId;  // the last group while placing, else 0

    Pass(CKovUnit& u, pf::Surface& d, const DeviceTransform& tr, const CPlotInfo& p, const SelectionRecord& s, bool pl,
         bool out, const CKovUnit::DrawEnvironment& e)
        : unit(u), dc(d), t(tr), plot(p), selection(s), placing(pl), output(out), env(e),
          cull(d.visibleArea(), tr, p, d.device().isPrinting),
          // Tracing belongs to the screen: on paper only the setting puts pictures below.
          picturesBelow(e.picturesBelow == 1 || (e.traceMode && !out)),
          placedGroupId(pl && u.m_Groups.GetSize() > 0 ? std::as_const(u.m_Groups)[u.m_Groups.GetSize() - 1]->MGrpID : 0)
    {
    }

    bool isPlacedGroup(int groupId) const { return placing && groupId != 0 && groupId == placedGroupId; }

    void figure(const CKovLine& f)
    {
        if (cull.figureVisible(f)) unit.DrawFigure(dc, t, f, plot, output, env);
    }
    void wallPolygon(const CKovWall& w, int filter)
    {
        if (cull.wallVisible(w)) unit.DrawWallPolygon(dc, t, w, plot, selection, placing, filter, output, env);
    }
    void column(const CKovWall& w, int filter)
    {
        if (cull.wallVisible(w)) unit.DrawColumn(dc, t, w, plot, selection, placing, filter, output, env);
    }
    void roundColumn(const CKovWall& w, int filter)
    {
        if (w.MHasiraType == CKovWall::THROUGH_COLUMN && cull.wallVisible(w))
            unit.DrawRoundColumn(dc, t, w, plot, selection, placing, filter, output, env);
    }
    void text(const CKovText& x, int filter)
    {
        if (cull.textVisible(x)) CKovUnit::DrawTextObject(dc, t, x, plot, selection, placing, filter, output, env);
    }
    void picture(const CKovImage& image)
    {
        const DeviceRect r = image.DeviceRectFor(t);
        if (env.recordPictureRects) image.m_rcDrawn = r;
        if (cull.pictureVisible(r)) image.DrawImageObject(dc, r.left, r.top, r.right, r.bottom, output, t);
    }
    void marks() { unit.DrawSelectionMarks(dc, t, plot, selection); }

    // A room's floor: its polygons and lines in list order (other kinds never), then its walls.
    void room(const CKovGroup& g)
    {
        for (int id : g.MGrpLineID) {
            const CKovLine* f = member(unit.m_Lines, id, boxes ? &boxes->Lines() : nullptr);
            if (f == nullptr) continue;
            if (f->MLineType == CKovLine::POLYGON || f->MLineType == CKovLine::LINE) figure(*f);
        }
        for (int id : g.MGrpWallID)
            if (const CKovWall* w = member(unit.m_Walls, id, boxes ? &boxes->Walls() : nullptr)) wallPolygon(*w, 0);
    }

    // A room's member, or null when it has none of that identifier or, by the index, the member
    // cannot reach this pass's area: every band goes through every room, and going to each member
    // object would cost each band more than drawing its few rooms.
    template <class Array>
    auto member(const Array& array, int id, const std::vector<ObjectBoxIndex::Entry>* entries) const
        -> decltype(array.Find(id))
    {
        if (entries != nullptr && query) {
            const int i = array.LookupIndex(id);
            if (i >= 0 && std::size_t(i) < entries->size() && i < array.GetSize()) {
                if (!query->meets((*entries)[std::size_t(i)])) return nullptr;
                const auto* object = array[i];
                if (object->*Array::kIdField == id) return object;
            }
        }
        return array.Find(id);
    }

    const ObjectBoxIndex* boxes = nullptr;          // set with query, when the pass may use the index
    std::optional<ObjectBoxIndex::Query> query;
};

// The walls, columns and figures that the layer pass may draw by their group membership.
bool wallInDrawableGroup(const Pass& p, const CKovWall& w)
{
    if (w.MWallGrpID == 0) return true;
    const CKovGroup* g = p.unit.FindGroup(w.MWallGrpID);
    return g != nullptr && g->MGrpRoom != CKovGroup::ROOM && !p.isPlacedGroup(w.MWallGrpID);
}

bool figureInDrawableGroup(const Pass& p, const CKovLine& f)
{
    if (f.MLineGrpID == 0) return true;
    const CKovGroup* g = p.unit.FindGroup(f.MLineGrpID);
    return g != nullptr && g->MGrpLayer1 == f.MLineLayer1 && g->MGrpLayer2 == f.MLineLayer2
           && !p.isPlacedGroup(f.MLineGrpID) && !g->MGrpLineID.empty() && g->MGrpRoom != CKovGroup::ROOM;
}

bool roundColumnDrawable(const Pass& p, const CKovWall& w)
{
    if (!p.placing || w.MWallGrpID == 0) return true;
    return p.unit.FindGroup(w.MWallGrpID) != nullptr && !p.isPlacedGroup(w.MWallGrpID);
}

// The boxes of the environment's index that this pass may take instead of going to every object:
// only for the drawing and scales it was made for, and an area to pick for.
std::optional<ObjectBoxIndex::Query> indexQuery(const Pass& p)
{
    const ObjectBoxIndex* index = p.env.boxIndex;
    const std::optional<DeviceRect>& visible = p.cull.visible();
    if (index == nullptr || !visible || p.dc.device().isPrinting || !index->Serves(p.unit, p.t, p.plot))
        return std::nullopt;
    return ObjectBoxIndex::QueryFor(*visible, p.t);
}

void runLayerPass(Pass& p, LayerPass mode)
{
    const CKovUnit& u = p.unit;
    const bool unselected = mode == LayerPass::Unselected;
    const SelectedIds sel(p.selection);
    // Filters for the wall and text drawers: when not placing, the pass checks the selection
    // itself (sorted, so large selections stay cheap) and the drawers need not.
    auto skipSelected = [&](bool isSelected) { return unselected && !p.placing && isSelected; };
    const int drawerFilter = unselected && p.placing ? 1 : 0;

    Buckets groups, figures, texts, walls, images;
    groups.fill(u.m_Groups, [](const CKovGroup& g) { return slotOf(g.MGrpLayer1, g.MGrpLayer2); });
    // Pictures are not left out: drawing one records where it lies, seen or not.
    const std::optional<ObjectBoxIndex::Query> query = indexQuery(p);
    if (query) p.boxes = p.env.boxIndex, p.query = query;
    if (query) {
        const ObjectBoxIndex& index = *p.env.boxIndex;
        figures.fill(index.Lines(), *query);
        texts.fill(index.Texts(), *query);
        walls.fill(index.Walls(), *query);
    } else {
        figures.fill(u.m_Lines, [](const CKovLine& f) { return slotOf(f.MLineLayer1, f.MLineLayer2); },
                     [&](const CKovLine& f) { return p.cull.figureVisible(f); });
        texts.fill(u.m_Texts, [](const CKovText& x) { return slotOf(x.MTextLayer1, x.MTextLayer2); },
                   [&](const CKovText& x) { return p.cull.textVisible(x); });
        walls.fill(u.m_Walls, [](const CKovWall& w) { return slotOf(w.MWallLayer1, w.MWallLayer2); },
                   [&](const CKovWall& w) { return p.cull.wallVisible(w); });
    }
    images.fill(u.m_Images, [](const CKovImage& i) { return slotOf(i.IMGLayer1, i.IMGLayer2); });

    for (int g = 0; g < kLayers; ++g) {
        if (!layerGroupShown(p.plot, g)) continue;
        for (int l = 0; l < kLayers; ++l) {
            if (!layerShown(p.plot, g, l)) continue;
            const int s = slotOf(g, l);
            const bool hasGroups = groups.count(s) > 0;
            const bool hasFigures = figures.count(s) > 0;
            const bool hasTexts = texts.count(s) > 0;
            const bool hasWalls = walls.count(s) > 0;
            const bool hasImages = images.count(s) > 0;
            if (!hasGroups && !hasFigures && !hasTexts && !hasWalls && !hasImages) continue;

            auto pictures = [&] {
                images.each(s, [&](int i) {
                    const CKovImage& image = *u.m_Images[i];
                    if (!(unselected && sel.image(image))) p.picture(image);
                });
            };
            // 1. Pictures below (those of layer 0 lie under the grid, drawn by the background pass).
            if (p.picturesBelow && hasImages && l != 0) pictures();
            // 2. Rooms.
            if (hasGroups) {
                groups.each(s, [&](int i) {
                    const CKovGroup& grp = *u.m_Groups[i];
                    if (grp.MGrpRoom != CKovGroup::ROOM || p.isPlacedGroup(grp.MGrpID)) return;
                    if (unselected && sel.group(grp.MGrpID)) return;
                    p.room(grp);
                });
            }
            // 3-4. Walls, then columns.
            if (hasWalls || hasGroups) {
                for (int shape : {CKovWall::WALL, CKovWall::COLUMN}) {
                    walls.each(s, u.m_Walls, [&](int i) {
                        const CKovWall& w = *u.m_Walls[i];
                        if (w.MWall_Type != shape || !wallInDrawableGroup(p, w)) return;
                        if (skipSelected(sel.wall(w))) return;
                        if (shape == CKovWall::WALL) p.wallPolygon(w, drawerFilter);
                        else p.column(w, drawerFilter);
                    });
                }
            }
            // 5. Figures.
            if (hasFigures || hasGroups) {
                figures.each(s, u.m_Lines, [&](int i) {
                    const CKovLine& f = *u.m_Lines[i];
                    if (!figureInDrawableGroup(p, f)) return;
                    if (unselected && sel.figure(f)) return;
                    p.figure(f);
                });
            }
            // 6. Through columns.
            if (hasWalls || hasGroups) {
                walls.each(s, u.m_Walls, [&](int i) {
                    const CKovWall& w = *u.m_Walls[i];
                    if (w.MWall_Type != CKovWall::COLUMN || !roundColumnDrawable(p, w)) return;
                    if (skipSelected(sel.wall(w))) return;
                    p.roundColumn(w, drawerFilter);
                });
            }
            // 7. Texts.
            if (hasTexts || hasGroups) {
                texts.each(s, u.m_Texts, [&](int i) {
                    const CKovText& x = *u.m_Texts[i];
                    if (skipSelected(sel.text(x))) return;
                    p.text(x, drawerFilter);
                });
            }
            // 8. Pictures on top.
            if (!p.picturesBelow && hasImages) pictures();
            // 9. The marks over every layer, so that no later layer covers them.
            if (mode == LayerPass::All && !p.output && !p.placing) p.marks();
        }
    }
}

} // namespace

bool RoomOutlinesWhite(const CKovUnit::DrawEnvironment& env)
{
    if (env.roomOutlinesWhite >= 0) return env.roomOutlinesWhite != 0;
    return env.profile != nullptr && env.profile->GetProfileInt("KOV_T_PlotMenu", "app_sirokuro_roomdel", 0) != 0;
}

void CKovUnit::DrawAllByLayer(pf::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                              const SelectionRecord& selection, bool placing, bool output, DrawEnvironment& env)
{
    if (env.profile != nullptr) env.picturesBelow = env.profile->GetProfileInt("KOV_T_UTILITY", "app_gazousita", 0);
    Pass p(*this, dc, transform, plot, selection, placing, output, env);
    runLayerPass(p, LayerPass::All);
}

void CKovUnit::DrawUnselectedByLayer(pf::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                                     const SelectionRecord& selection, bool placing, bool output,
                                     const DrawEnvironment& env)
{
    Pass p(*this, dc, transform, plot, selection, placing, output, env);
    runLayerPass(p, LayerPass::Unselected);
}

void CKovUnit::DrawSelected(pf::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                            const SelectionRecord& selection, bool placing, bool output, const DrawEnvironment& env)
{
    Pass p(*this, dc, transform, plot, selection, placing, output, env);
    const CKovUnit& self = *this; // look-ups only read (a mutable one would unshare the object)
    const SelectedIds sel(selection);
    auto selectedPictures = [&] {
        for (const auto& image : m_Images)
            if (sel.image(*image)) p.picture(*image);
    };
    // 1. Pictures below.
    if (p.picturesBelow) selectedPictures();
    // 2. Selected rooms.
    for (int id : selection.m_Groups) {
        const CKovGroup* g = self.FindGroup(id);
        if (g != nullptr && g->MGrpRoom == CKovGroup::ROOM) p.room(*g);
    }
    // 3. The walls and columns of the other selected groups.
    for (int id : selection.m_Groups) {
        const CKovGroup* g = self.FindGroup(id);
        if (g == nullptr || g->MGrpRoom == CKovGroup::ROOM) continue;
        for (int wallId : g->MGrpWallID) {
            const CKovWall* w = self.FindWall(wallId);
            if (w == nullptr) continue;
            if (w->MWall_Type == CKovWall::WALL) p.wallPolygon(*w, 0);
            else p.column(*w, 0);
        }
    }
    // 4. Walls selected by themselves, then columns.
    for (int shape : {CKovWall::WALL, CKovWall::COLUMN}) {
        for (int id : selection.m_Walls) {
            const CKovWall* w = self.FindWall(id);
            if (w == nullptr || w->MWall_Type != shape) continue;
            if (shape == CKovWall::WALL) p.wallPolygon(*w, 2);
            else p.column(*w, 2);
        }
    }
    // 5. Selected figures on every shown layer: the pass under the drag left them out wherever
    // they lie, so one off the current layer would otherwise vanish while it is dragged.
    for (const auto& f : m_Lines) {
        const bool own = SelectedIds::has(sel.lines, f->MLineID);
        bool byGroup = false;
        if (!own && f->MLineGrpID != 0 && sel.group(f->MLineGrpID)) {
            const CKovGroup* g = self.FindGroup(f->MLineGrpID);
            byGroup = g != nullptr && !g->MGrpLineID.empty() && g->MGrpRoom != CKovGroup::ROOM;
        }
        if (!own && !byGroup) continue;
        const int s = slotOf(f->MLineLayer1, f->MLineLayer2);
        if (s < 0 || !layerGroupShown(plot, f->MLineLayer1) || !layerShown(plot, f->MLineLayer1, f->MLineLayer2))
            continue;
        p.figure(*f);
    }
    // 6. Selected through columns.
    for (int id : selection.m_Walls) {
        const CKovWall* w = self.FindWall(id);
        if (w != nullptr && w->MWall_Type == CKovWall::COLUMN) p.roundColumn(*w, 2);
    }
    // 7. Selected texts.
    DrawTexts(dc, transform, plot, selection, placing, 2, env);
    // 8. Pictures on top.
    if (!p.picturesBelow) selectedPictures();
    // 9. The marks, also while placing.
    p.marks();
}

void CKovUnit::DrawBackgroundImages(pf::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                                    const SelectionRecord& selection, bool placing, bool output,
                                    const DrawEnvironment& env, bool includeSelected)
{
    Pass p(*this, dc, transform, plot, selection, placing, output, env);
    if (!p.picturesBelow) return;
    const SelectedIds sel(selection);
    for (const auto& image : m_Images) {
        if (image->IMGLayer2 != 0 || slotOf(image->IMGLayer1, 0) < 0) continue;
        if (!layerGroupShown(plot, image->IMGLayer1) || !layerShown(plot, image->IMGLayer1, 0)) continue;
        if (!includeSelected && sel.image(*image)) continue;
        p.picture(*image);
    }
}

void CKovUnit::DrawPartPreview(pf::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                               const SelectionRecord& selection, bool placing, bool output,
                               const DrawEnvironment& env) const
{
    // The part pass draws no pictures, so nothing of the container changes.
    Pass p(const_cast<CKovUnit&>(*this), dc, transform, plot, selection, placing, output, env);
    const int groupCount = m_Groups.GetSize();
    auto notPlaced = [&](int i) { return !(placing && i == groupCount - 1); };
    // 1. Room floors.
    for (int i = 0; i < groupCount; ++i) {
        const CKovGroup& g = *std::as_const(m_Groups)[i];
        if (g.MGrpRoom != CKovGroup::ROOM || !notPlaced(i)) continue;
        for (int id : g.MGrpLineID) {
            const CKovLine* f = std::as_const(*this).FindLine(id);
            if (f != nullptr && (f->MLineType == CKovLine::POLYGON || f->MLineType == CKovLine::LINE)) p.figure(*f);
        }
    }
    // 2. Every wall.
    DrawAllWalls(dc, transform, plot, selection, placing, 0, output, env);
    // 3. Figures without a group, dimension lines last.
    for (const auto& f : m_Lines)
        if (f->MLineGrpID == 0 && f->MLineType != CKovLine::DIMENSION) p.figure(*f);
    // 4. The figures of every group (a room's polygons were its floor).
    for (int i = 0; i < groupCount; ++i) {
        const CKovGroup& g = *std::as_const(m_Groups)[i];
        if (!notPlaced(i)) continue;
        for (int id : g.MGrpLineID) {
            const CKovLine* f = std::as_const(*this).FindLine(id);
            if (f == nullptr || f->MLineType == CKovLine::DIMENSION) continue;
            if (f->MLineType == CKovLine::POLYGON && g.MGrpRoom == CKovGroup::ROOM) continue;
            p.figure(*f);
        }
    }
    // 5. Dimension lines without a group.
    for (const auto& f : m_Lines)
        if (f->MLineGrpID == 0 && f->MLineType == CKovLine::DIMENSION) p.figure(*f);
    // 6. Texts.
    DrawTexts(dc, transform, plot, selection, placing, 0, env);
    // 7. Marks.
    if (!output && !placing) p.marks();
}
