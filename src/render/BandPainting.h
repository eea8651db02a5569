#pragma once

// Pictures painted on all cores: each rectangle to paint is cut into bands (rows, columns or tiles,
// whichever leaves the shortest edges between them, since an object across an edge is drawn on
// both sides), every band painted by one of a few threads that live as long as the program, on its
// own picture (a window onto the target's pixels) with its own surface, fonts and texts; the bands
// lie side by side in the target, so putting them together costs nothing. Band edges fall on
// multiples of 8 device rows and columns, the period of the hatch cells.
//
// Only the screen paints so: printing and picture export stay on the calling thread.

#include "platform/PainterSurface.h"

#include <QImage>

#include <functional>
#include <span>
#include <vector>

namespace kov::render {

class BandPainter {
public:
    // How many threads paint, the calling one included: 0 (the default) takes one per core,
    // at most 16; 1 paints everything on the calling thread.
    static void SetThreadCount(int threads);
    static int ThreadCount();

    // Paints the rectangles (device pixels) of `target`, whose pixel (0, 0) is the device point
    // options.origin, and returns when all are done. draw(surface) is called once per band,
    // perhaps on several threads at once, with a surface whose device area is the band: it must
    // only read what it shares with the other bands. The rectangles are clipped to the target and
    // must not overlap. `target` is made its own first (a shared copy is not painted on).
    static void Paint(QImage& target, std::span<const platform::DeviceRect> rects,
                      const platform::PainterSurfaceOptions& options,
                      const std::function<void(platform::Surface&)>& draw);

    // Runs task(i) for every i in [0, count) on the painting threads, the calling one among them,
    // and returns when all are done (work a render needs before its bands, cut into pieces).
    static void Run(int count, const std::function<void(int)>& task);

    // The bands Paint cuts the rectangles into for that many threads (for tests and benchmarks).
    static std::vector<platform::DeviceRect> Bands(std::span<const platform::DeviceRect> rects, int threads);

    // How long the last Paint took: on the clock, and each band on its own thread's clock. A loaded
    // machine stretches the first; the longest band tells what idle cores would take.
    struct Times {
        double wallSeconds = 0;
        std::vector<double> bandSeconds;
        double callerSeconds = 0;  // what the calling thread spent on bands
    };
    static Times LastTimes();
};

} // namespace kov::render
