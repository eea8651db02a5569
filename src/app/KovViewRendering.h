#pragma once

// The view's renders of its back buffer. Everything a render draws from is gathered once, on the
// user-interface thread, into ViewRenderInputs; the bands then draw from that alone, on all cores.
// The view also keeps what its buffer shows (ViewPaintState): the drawing as it was painted, a copy
// sharing every object with the live one, its selection and the settings that decide the picture.
// The next render compares the live drawing with it and paints again only what changed, and after
// a scroll only the strips that came into view.
//
// Edits need do nothing for this beyond what they do already: change the drawing through its
// arrays after the undo snapshot and end with the redraw. A mutable pointer into the drawing is
// good only until the next redraw, which copies the arrays (as the undo snapshot does): an object
// changed through an older pointer changes what the buffer is known to show as well.

#include "model/DrawTransform.h"
#include "model/FontMenu.h"
#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/DrawEnvironment.h"
#include "render/GridDrawing.h"
#include "render/ObjectBoxIndex.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kov::app {

struct AppSettingsCache;

// A first run's settings, for a view without an application object (tests).
const AppSettingsCache& DefaultAppSettings();
// The font of the view's own labels at that pixel height.
kov::platform::Font ViewUiFont(int height);

struct ViewRenderInputs {
    DeviceTransform transform;         // window pixels at the scroll position
    CKovUnit::DrawEnvironment env;     // every setting read: the bands read no profile
    const CKovUnit* unit = nullptr;
    const CPlotInfo* plot = nullptr;
    const SelectionRecord* selection = nullptr;
    const CGrid* grid = nullptr;
    bool dragging = false;             // the selection is left out (drawn over the buffer)
    bool placing = false;
    bool background = false;           // app_haikei: the total rectangle in its colour
    std::uint32_t backgroundColour = 0;
    DeviceRect total;                  // window pixels
    DeviceRect page;
    bool gridShown = false;
    kov::render::GridDrawOptions gridOptions;
    bool label = false;                // the colour-mode label (zoom 1 only)
    std::string labelText;
    std::uint32_t labelBox = 0;
    int labelHeight = 15;
    int inset = 13;                    // the snap tolerance: the label's distance from the edges

    // The same picture from the same drawing: everything but the objects, the selection, the
    // drag and the scroll position (the transform is compared in page pixels).
    struct Key {
        int pageOriginX = 0, pageOriginY = 0;
        std::array<double, DeviceTransform::kLayerGroups> scaleX{}, scaleY{};
        double paperScale = 0, zoom = 0;
        int width = 0, height = 0;
        DeviceRect totalOnPage, pageOnPage;
        CPlotInfo plot;
        CGrid grid;
        CFontMenu font;
        std::vector<qint64> patterns;
        std::vector<int> settings;     // the environment's switches, background, grid, label, tolerances
        std::string labelText;
        bool placing = false;
        bool equals(const Key& o) const;
    };
};

// What the back buffer shows.
struct ViewPaintState {
    CKovUnit unit;                     // shares every object with the live drawing of its time
    SelectionRecord selection;
    bool dragging = false;
    ViewRenderInputs::Key key;
    DevicePoint scroll;
    std::unique_ptr<kov::render::ObjectBoxIndex> boxes;  // of `unit`, for the key's scales

    ViewPaintState() = default;
    ViewPaintState(const ViewPaintState&) = delete;
    ~ViewPaintState() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }
};

} // namespace kov::app
