#pragma once

// The device boxes of every figure, wall and text of one drawing for one scale, kept in flat arrays
// in drawing order, so that a pass over a band or a strip of the window picks the objects that may
// reach it without going to each object (a band of a 50,000-object drawing otherwise spends most of
// its time finding the few hundred that show). The boxes are those of ObjectCulling, taken about
// the transform's origin, so that a scroll keeps them. After an edit, the index of the drawing as
// it was gives the new one: only the objects between the unchanged start and end of each array
// (by object, shared or not) are measured again.
//
// A pass uses an index only for the drawing and the scales it was made for; the objects it picks
// still go through the culling test of the pass, so the drawing is the same with or without one.

#include "model/DrawTransform.h"
#include "model/KovUnit.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CPlotInfo;

namespace kov::render {

class ObjectBoxIndex {
public:
    struct Entry {
        int left = 0, top = 0, right = 0, bottom = 0;  // about the transform's origin
        std::int16_t slot = -1;  // layer group × 16 + layer, -1 off the layer table
        bool always = false;     // no box can be told (no points, not a number, beyond the range)
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // Runs task(i) for i in [0, count), perhaps on several threads at once.
    using Parallel = std::function<void(int count, const std::function<void(int)>& task)>;

    // Measures every object of the drawing (screen pens: not for printing).
    static std::unique_ptr<ObjectBoxIndex> Build(const CKovUnit& unit, const DeviceTransform& transform,
                                                 const CPlotInfo& plot, const Parallel& parallel = {});
    // The index of `after` from this one, made for `before`: both drawings must be alive, and
    // `before` unchanged since. Null when this one does not serve the scales and settings.
    std::unique_ptr<ObjectBoxIndex> Updated(const CKovUnit& before, const CKovUnit& after,
                                            const DeviceTransform& transform, const CPlotInfo& plot,
                                            const Parallel& parallel = {}) const;

    // Whether this index was made for these scales and settings and a drawing of these sizes.
    bool Serves(const CKovUnit& unit, const DeviceTransform& transform, const CPlotInfo& plot) const;

    const std::vector<Entry>& Lines() const { return m_lines; }
    const std::vector<Entry>& Walls() const { return m_walls; }
    const std::vector<Entry>& Texts() const { return m_texts; }

    // Which entries may reach the device rectangle `visible` under the transform; nullopt when the
    // rectangle lies too far out for the boxes to tell.
    struct Query {
        long long left, top, right, bottom;
        bool meets(const Entry& e) const
        {
            return e.always || (e.right >= left && e.left < right && e.bottom >= top && e.top < bottom);
        }
    };
    static std::optional<Query> QueryFor(const DeviceRect& visible, const DeviceTransform& transform);

private:
    // What the boxes hang on besides the objects.
    struct Scales {
        std::array<double, DeviceTransform::kLayerGroups> scaleX{}, scaleY{};
        double paperScale = 0;
        std::array<double, 3> margins{};
        friend bool operator==(const Scales&, const Scales&) = default;
    };
    static Scales ScalesOf(const DeviceTransform& transform, const CPlotInfo& plot);

    Scales m_scales;
    std::vector<Entry> m_lines, m_walls, m_texts;
};

} // namespace kov::render
