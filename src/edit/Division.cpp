// Division: a line, circle or arc replaced by segments of equal count or of a given length, and the
// equally spaced lines across the distance between two points.

#include "edit/LineEditRules.h"
#include "edit/LineEditTexts.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <utility>

using namespace kov::edit;
namespace texts = kov::edit::texts;

namespace {

enum { BY_COUNT = 0, BY_LENGTH = 1 };
// A remainder this short is rounding, not a segment.
constexpr double kNoRemainder = 1e-6;

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

// Angles in [0, 360).
double normalised(double a)
{
    while (a >= 360) a -= 360;
    while (a < 0) a += 360;
    return a;
}

// The span of an arc from its start to its end, counter-clockwise. An arc whose ends coincide is a
// circle cut open there (a split circle): the whole turn.
double arcSpan(const CKovLine& arc)
{
    const CDbPoint& c = arc.MLinePnt[0];
    const double s = VectorAngle(c.x, c.y, arc.MLinePnt[1].x, arc.MLinePnt[1].y);
    const double e = VectorAngle(c.x, c.y, arc.MLinePnt[2].x, arc.MLinePnt[2].y);
    double span = e - s;
    if (span < 0) span += 360;
    if (span == 0 && arc.MLinePnt[1] == arc.MLinePnt[2]) span = 360;
    return span;
}

double startAngle(const CKovLine& arc)
{
    const CDbPoint& c = arc.MLinePnt[0];
    return VectorAngle(c.x, c.y, arc.MLinePnt[1].x, arc.MLinePnt[1].y);
}

double figureLength(const CKovLine& f)
{
    if (f.MLineType == CKovLine::LINE) return distance(f.MLinePnt[0], f.MLinePnt[1]);
    const double circumference = 2 * kKovPi * f.MLineParam[0];
    if (f.MLineType == CKovLine::CIRCLE) return circumference;
    return circumference * arcSpan(f) / 360;
}

bool divisible(const CKovLine& f)
{
    if (f.MLineType == CKovLine::LINE) return f.MLinePnt.size() >= 2;
    if (f.MLineType == CKovLine::CIRCLE) return !f.MLinePnt.empty() && !f.MLineParam.empty();
    if (f.MLineType == CKovLine::ARC) return f.MLinePnt.size() >= 3 && !f.MLineParam.empty();
    return false;
}

// Appends the segments of one figure and selects them; the figure itself is deleted by the caller.
class Segments {
public:
    Segments(CKovUnit& unit, const CPlotInfo& plot, SelectionRecord& selection, const CKovLine& source)
        : m_unit(unit), m_plot(plot), m_selection(selection), m_source(source)
    {
    }

    void straight(const CDbPoint& a, const CDbPoint& b)
    {
        auto s = fresh(CKovLine::LINE);
        s->MLineYaWide = m_source.MLineYaWide;
        s->MLineTanten = 0;
        s->MLinePnt = {a, b};
        add(std::move(s));
    }
    // From angle a1 to angle a2 on the circle of the first radius.
    void arc(double a1, double a2) { arcTo(a1, onCircle(a2)); }
    // The last segment ends exactly where the divided figure ends.
    void arcTo(double a1, const CDbPoint& end)
    {
        auto s = fresh(CKovLine::ARC);
        s->MLinebNakanuri = 0;
        s->MLinebHach = 0;
        s->MLineParam = m_source.MLineParam;
        s->MLinePnt = {m_source.MLinePnt[0], onCircle(a1), end};
        add(std::move(s));
    }
    CDbPoint onCircle(double a) const
    {
        const CDbPoint& c = m_source.MLinePnt[0];
        return PointAtAngle(c.x, c.y, normalised(a), m_source.MLineParam[0]);
    }

private:
    std::unique_ptr<CKovLine> fresh(int kind)
    {
        auto s = std::make_unique<CKovLine>();
        s->MLineType = kind;
        s->MLineID = m_unit.NextLineId();
        s->MLineLayer1 = m_plot.m_Layer.m_nCurrentGroup;
        s->MLineLayer2 = m_plot.m_Layer.m_nCurrentLayer;
        s->MLineColor = m_source.MLineColor;
        s->MLineLineT = m_source.MLineLineT;
        s->MLineWide = m_source.MLineWide;
        return s;
    }
    void add(std::unique_ptr<CKovLine> s)
    {
        m_selection.AddLineId(s->MLineID);
        m_unit.m_Lines.Add(std::move(s));
    }

    CKovUnit& m_unit;
    const CPlotInfo& m_plot;
    SelectionRecord& m_selection;
    const CKovLine& m_source;
};

// The end a division by count starts from: the upper one (smaller y), the left one of a level line,
// point 1 on equal coordinates.
void countStart(const CKovLine& f, CDbPoint& start, CDbPoint& other)
{
    const CDbPoint& p0 = f.MLinePnt[0];
    const CDbPoint& p1 = f.MLinePnt[1];
    bool first = false;
    if (std::fabs(p0.y - p1.y) < kKovAxisTolerance)
        first = p0.x < p1.x;
    else
        first = p0.y < p1.y;
    start = first ? p0 : p1;
    other = first ? p1 : p0;
}

// The point at distance d from `start` toward `other`; a plumb line keeps the start's x.
CDbPoint along(const CDbPoint& start, const CDbPoint& other, double d)
{
    if (std::fabs(start.x - other.x) < kKovAxisTolerance)
        return {start.x, other.y > start.y ? start.y + d : start.y - d};
    if (d == 0)
        return start;
    return PointTowards(start, other, d);
}

} // namespace

int CKovUnit::DivideFigure(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                           const CDbPoint& click, int devX, int devY, const DeviceTransform& transform,
                           double& segmentLength, const DivisionAsk& ask, const MessageSink& tell)
{
    const CKovUnit& self = *this;
    if (toolPoints.size() >= 2)
        return 1;

    if (toolPoints.empty() && selection.IsEmpty()) {
        SelectionRecord picked;
        PickFigure(picked, plot, PickLayers::Every, click.x, click.y, devX, devY, transform, 0, 0, 0);
        const CKovLine* f = OnlyPickedFigure(self, picked);
        if (!f || !divisible(*f) || f->MLineGrpID != 0 || !OnCurrentLayer(plot, *f))
            return 0;
        selection.AddLineId(f->MLineID);
        return 1;
    }

    if (toolPoints.empty()) {
        if (selection.m_Lines.size() != 1)
            return 0;
        const CKovLine* f = self.FindLine(selection.m_Lines[0]);
        if (!f || !divisible(*f))
            return 0;
        int mode = BY_COUNT, count = 0;
        double length = 0;
        if (!ask(mode, count, length))
            return -1;
        if (mode == BY_LENGTH) {
            // Refused here rather than after the starting click, which could then never succeed.
            if (f->MLineType != CKovLine::LINE && IsElliptic(*f)) {
                tell(texts::kEllipseNoLengthDivision);
                return 0;
            }
            if (length < figureLength(*f)) {
                segmentLength = length;
                return 2;
            }
            tell(texts::kBadDivisionLength);
            return 0;
        }
        if (count < 2)
            return 0;
        selection.Clear();
        const CKovLine source = *f;
        Segments out(*this, plot, selection, source);
        if (source.MLineType == CKovLine::LINE) {
            CDbPoint start, other;
            countStart(source, start, other);
            const double step = distance(start, other) / count;
            for (int i = 0; i < count; ++i)
                out.straight(along(start, other, i * step), i + 1 == count ? other : along(start, other, (i + 1) * step));
        } else {
            const bool circle = source.MLineType == CKovLine::CIRCLE;
            const double first = circle ? 0 : startAngle(source);
            const double step = (circle ? 360.0 : arcSpan(source)) / count;
            const CDbPoint last = circle ? out.onCircle(0) : source.MLinePnt[2];
            for (int i = 0; i < count; ++i)
                out.arcTo(first + i * step, i + 1 == count ? last : out.onCircle(first + (i + 1) * step));
        }
        DeleteLine(source.MLineID);
        return 1;
    }

    // The starting click of a division by length. A figure gone since the dialog ends the division.
    if (selection.m_Lines.empty())
        return -1;
    const CKovLine* f = self.FindLine(selection.m_Lines[0]);
    if (!f || !divisible(*f))
        return -1;
    if (f->MLineType != CKovLine::LINE && IsElliptic(*f)) {
        tell(texts::kEllipseNoLengthDivision);
        return -1;
    }
    const double d = segmentLength;
    if (!(d > 0))
        return -1;
    selection.Clear();
    const CKovLine source = *f;
    Segments out(*this, plot, selection, source);
    const double total = figureLength(source);
    const int n = static_cast<int>(std::floor(total / d));
    const bool remainder = total - n * d >= kNoRemainder;
    // Without a remainder the last full segment ends on the figure's own end.
    auto last = [&](int i) { return !remainder && i + 1 == n; };
    if (source.MLineType == CKovLine::LINE) {
        const CDbPoint& p0 = source.MLinePnt[0];
        const CDbPoint& p1 = source.MLinePnt[1];
        const bool fromOne = distance(click, p1) <= distance(click, p0);
        const CDbPoint start = fromOne ? p1 : p0;
        const CDbPoint other = fromOne ? p0 : p1;
        for (int i = 0; i < n; ++i)
            out.straight(along(start, other, i * d), last(i) ? other : along(start, other, (i + 1) * d));
        if (remainder)
            out.straight(along(start, other, n * d), other);
    } else if (source.MLineType == CKovLine::CIRCLE) {
        // The click does not matter: the segments start to the right of the centre.
        const double a = d / total * 360;
        for (int i = 0; i < n; ++i)
            out.arcTo(i * a, out.onCircle(last(i) ? 0 : (i + 1) * a));
        if (remainder)
            out.arc(n * a, 0);
    } else {
        const double span = arcSpan(source);
        const double a = d / total * span;
        const double aS = startAngle(source);
        const double aE = aS + span;
        const CDbPoint& s = source.MLinePnt[1];
        const CDbPoint& e = source.MLinePnt[2];
        if (distance(click, e) <= distance(click, s)) {
            for (int i = 0; i < n; ++i)
                out.arcTo(last(i) ? aS : aE - (i + 1) * a, i == 0 ? e : out.onCircle(aE - i * a));
            if (remainder)
                out.arc(aS, aE - n * a);
        } else {
            for (int i = 0; i < n; ++i)
                out.arcTo(aS + i * a, last(i) ? e : out.onCircle(aS + (i + 1) * a));
            if (remainder)
                out.arcTo(aS + n * a, e);
        }
    }
    DeleteLine(source.MLineID);
    return 1;
}

void CKovUnit::DivideBetweenPoints(SelectionRecord& selection, const CPlotInfo& plot,
                                   const CDbPointArray& toolPoints, const CDbPoint& end, int n)
{
    selection.Clear();
    if (toolPoints.size() < 3)
        return;
    const CDbPoint& p0 = toolPoints[0];
    const CDbPoint& p1 = toolPoints[1];
    const CDbPoint& q = toolPoints[2];
    const double length = distance(p0, p1);
    for (int f = 1; f < n; ++f) {
        CDbPoint a, b;
        if (std::fabs(p0.x - p1.x) < kKovAxisTolerance) {
            const double t = std::min(p0.y, p1.y) + length * f / n;
            a = {q.x, t};
            b = {end.x, t};
        } else if (std::fabs(p0.y - p1.y) < kKovAxisTolerance) {
            const double t = std::min(p0.x, p1.x) + std::fabs(p0.x - p1.x) * f / n;
            a = {t, q.y};
            b = {t, end.y};
        } else {
            double m = 0, c = 0;
            LineSlopeIntercept(m, c, p0.x, p0.y, p1.x, p1.y);
            const double y = std::min(p0.y, p1.y) + std::fabs(p0.y - p1.y) * f / n;
            const double x = (y - c) / m;
            // The perpendicular through (x, y) meets the parallel through a point p at this x.
            auto meet = [&](const CDbPoint& p) {
                const double cp = p.y - m * p.x;
                const double mx = (x / m + y - cp) / (m + 1 / m);
                return CDbPoint{mx, m * mx + cp};
            };
            a = meet(q);
            b = meet(end);
        }
        auto line = NewLineStyledFigure(*this, plot, CKovLine::LINE, {a, b});
        selection.AddLineId(line->MLineID);
        m_Lines.Add(std::move(line));
    }
}
