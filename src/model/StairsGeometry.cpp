// The stairs service: the outline and the lines of a straight flight, a turning section and the
// end of a flight with its break line, from the two width clicks and the third click. The stairs
// tool and its preview both take their figures from here.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/StairsSettings.h"

#include <cmath>

namespace {

// More treads than this are no flight anyone draws: a tiny tread depth over a long run would
// otherwise fill the drawing (and the memory) with lines.
constexpr double kMaxTreads = 10000;

CDbPoint plus(const CDbPoint& p, double a, const CDbPoint& u, double b = 0.0, const CDbPoint& v = {})
{
    return {p.x + a * u.x + b * v.x, p.y + a * u.y + b * v.y};
}

CDbPoint midpoint(const CDbPoint& a, const CDbPoint& b) { return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0}; }

double dist(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

} // namespace

int CKovUnit::ComputeStairsGeometry(const CPlotInfo& plot, const CDbPointArray& widthPoints, const CDbPoint& click,
                                    const StairsSettings& settings, std::array<CDbPoint, 4>& outline4,
                                    std::array<CDbPoint, 6>& outline6, CDbPointArray& treadStarts,
                                    CDbPointArray& treadEnds, CDbPointArray& turnStarts, CDbPointArray& turnEnds,
                                    CDbPoint& pivot)
{
    const int mode = settings.kaidan_mode;
    if (widthPoints.size() < 2 || mode < StairsSettings::STRAIGHT || mode > StairsSettings::END_OF_FLIGHT)
        return 0;
    if (mode == StairsSettings::STRAIGHT) {
        treadStarts.clear();
        treadEnds.clear();
    } else {
        turnStarts.clear();
        turnEnds.clear();
    }
    const CDbPoint& p = widthPoints[0];
    const CDbPoint& q = widthPoints[1];
    const double w = plot.PlotWallWide;
    const double cx = click.x, cy = click.y;

    // The width runs along x or along y; the second click only gives its other end.
    const bool horizontal = std::fabs(p.x - q.x) > std::fabs(p.y - q.y);
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    if (horizontal) {
        x0 = std::min(p.x, q.x);
        x1 = std::max(p.x, q.x);
        y0 = y1 = p.y;
    } else {
        y0 = std::min(p.y, q.y);
        y1 = std::max(p.y, q.y);
        x0 = x1 = p.x;
    }
    if (settings.kaidan_kabesin == 1) {
        if (horizontal) {
            x0 += w;
            x1 -= w;
        } else {
            y0 += w;
            y1 -= w;
        }
    }
    const double wd = horizontal ? x1 - x0 : y1 - y0;
    // Wall cores closer than the wall leaves room for, or both clicks on one spot: no width.
    if (!(wd > 0) || !std::isfinite(wd))
        return 0;

    // Direction 1 right, 2 left (a vertical width), 3 up, 4 down (a horizontal one).
    int direction = 0;
    double run = 0;
    if (horizontal) {
        run = std::fabs(cy - y0);
        direction = cy > y0 ? 4 : cy < y0 ? 3 : (std::fabs(cx - x0) < std::fabs(cx - x1) ? 4 : 3);
    } else {
        run = std::fabs(cx - x0);
        direction = cx > x0 ? 1 : cx < x0 ? 2 : (std::fabs(cy - y0) < std::fabs(cy - y1) ? 2 : 1);
    }
    const CDbPoint d = direction == 1 ? CDbPoint{1, 0} : direction == 2 ? CDbPoint{-1, 0}
                     : direction == 3 ? CDbPoint{0, -1} : CDbPoint{0, 1};
    const CDbPoint top{x0, y0};
    const CDbPoint bottom{x0, y1};
    const CDbPoint left{x0, y0};
    const CDbPoint right{x1, y0};

    if (mode == StairsSettings::STRAIGHT) {
        if (!(run > 0))
            return 0;
        double step = 0;
        int lines = 0;
        double span = 0;
        if (settings.kaidan_tyokumode == 2) {
            const double t = settings.kaidan_dan1;
            if (!(t > 0) || run / t > kMaxTreads)
                return 0;
            step = t;
            lines = static_cast<int>(run / t);
            span = lines * t;
        } else {
            const int n = settings.kaidan_dansuu;
            if (n <= 0 || n > kMaxTreads)
                return 0;
            step = run / n;
            lines = n + 1;
            span = run;
        }
        for (int j = 0; j < lines; ++j) {
            const double o = j * step;
            switch (direction) {
            case 1: treadStarts.push_back({x0 + o, y0}); treadEnds.push_back({x0 + o, y1}); break;
            case 2: treadStarts.push_back({x0 - o, y0}); treadEnds.push_back({x0 - o, y1}); break;
            case 3: treadStarts.push_back({x1, y0 - o}); treadEnds.push_back({x0, y0 - o}); break;
            default: treadStarts.push_back({x1, y0 + o}); treadEnds.push_back({x0, y0 + o}); break;
            }
        }
        switch (direction) {
        case 1: outline4 = {CDbPoint{x0, y1}, CDbPoint{x0, y0}, CDbPoint{x0 + span, y0}, CDbPoint{x0 + span, y1}}; break;
        case 2: outline4 = {CDbPoint{x0 - span, y1}, CDbPoint{x0 - span, y0}, CDbPoint{x0, y0}, CDbPoint{x0, y1}}; break;
        case 3: outline4 = {CDbPoint{x0, y0 - span}, CDbPoint{x0, y0}, CDbPoint{x1, y0}, CDbPoint{x1, y0 - span}}; break;
        default: outline4 = {CDbPoint{x0, y0}, CDbPoint{x0, y0 + span}, CDbPoint{x1, y0 + span}, CDbPoint{x1, y0}}; break;
        }
        return 1;
    }

    if (mode == StairsSettings::TURNING) {
        const double k = settings.kaidan_kabesin == 1 ? run - w : run;
        if (!(k > 0))
            return 0;
        // The pivot is the width end nearer to the click along the width.
        CDbPoint ep, ef;
        if (horizontal) {
            const double toLeft = std::fabs(cx - x0), toRight = std::fabs(cx - x1);
            const bool leftEnd = toLeft < toRight || (toLeft == toRight && direction == 4);
            ep = leftEnd ? left : right;
            ef = leftEnd ? right : left;
        } else {
            const double toTop = std::fabs(cy - y0), toBottom = std::fabs(cy - y1);
            const bool topEnd = toTop < toBottom || (toTop == toBottom && direction == 1);
            ep = topEnd ? top : bottom;
            ef = topEnd ? bottom : top;
        }
        const double len = dist(ep, ef);
        const CDbPoint u{(ef.x - ep.x) / len, (ef.y - ep.y) / len};
        const bool square = settings.kaidan_magarisikaku == 1;
        if (square) {
            outline6 = {ef, ep, plus(ep, w, d), plus(ep, w, d), plus(ep, k, d), plus(ef, k, d)};
            pivot = plus(ep, w, d);
        } else {
            outline6 = {ef, ep, plus(ep, w, d), plus(ep, w, d, -w, u), plus(ep, k, d, -w, u), plus(ef, k, d)};
            pivot = plus(ep, -w, u);
        }
        CDbPointArray ends;
        if (settings.kaidan_magarisuu == 2) {
            ends.push_back(outline6[5]);
        } else if (settings.kaidan_magarisuu == 3) {
            ends.push_back(midpoint(outline6[0], outline6[5]));
            ends.push_back(midpoint(outline6[4], outline6[5]));
        }
        for (const CDbPoint& end : ends) {
            CDbPoint start = pivot;
            if (!square) {
                // The winder starts where it leaves the notch round the wall corner.
                CDbPoint a, b;
                const bool hitA = IntersectLines(a, pivot, end, outline6[1], outline6[2]) == 1;
                const bool hitB = IntersectLines(b, pivot, end, outline6[2], outline6[3]) == 1;
                if (hitA && hitB)
                    start = dist(a, pivot) <= dist(b, pivot) ? a : b;
                else if (hitA)
                    start = a;
                else if (hitB)
                    start = b;
            }
            turnStarts.push_back(start);
            turnEnds.push_back(end);
        }
        return 1;
    }

    // The end of a flight: one side runs the run, a zigzag break crosses the width, the other side
    // comes back 3e longer.
    const double e = wd / 12.0;
    CDbPoint a, b;
    switch (direction) {
    case 1: a = top; b = bottom; break;
    case 2: a = bottom; b = top; break;
    case 3: a = left; b = right; break;
    default: a = right; b = left; break;
    }
    const CDbPoint u{(b.x - a.x) / wd, (b.y - a.y) / wd};
    outline6 = {a,
                plus(a, run, d),
                plus(a, run + 2 * e, d, wd / 2, u),
                plus(a, run + e, d, wd / 2, u),
                plus(b, run + 3 * e, d),
                b};
    for (std::size_t i = 0; i < 6; ++i) {
        const CDbPoint& later = outline6[(i + 1) % 6];
        const CDbPoint& earlier = outline6[i];
        if (later == earlier)
            continue;
        turnStarts.push_back(later);
        turnEnds.push_back(earlier);
    }
    return 1;
}
