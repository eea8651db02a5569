#include "io/Printing.h"

#include "model/Grid.h"
#include "model/PaperSizes.h"
#include "model/PlotInfo.h"
#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"
#include "render/GridDrawing.h"
#include "render/PageMapping.h"

#include <QMarginsF>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace kov::io {

using platform::DeviceProperties;
using platform::Surface;

namespace {

int currentGroup(const CPlotInfo& plot)
{
    return std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
}

int truncInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(v), -double(kDeviceCoordLimit), double(kDeviceCoordLimit)));
}

int addClamped(int a, int b)
{
    return static_cast<int>(std::clamp(static_cast<long long>(a) + b, -static_cast<long long>(kDeviceCoordLimit),
                                       static_cast<long long>(kDeviceCoordLimit)));
}

struct PaperChoice {
    QPageSize::PageSizeId id = QPageSize::Custom;
    bool landscape = false;
};

// Paper codes to printer paper; the user size (code 11) and the photo and card sizes are custom.
PaperChoice paperChoice(int code)
{
    using P = QPageSize;
    switch (code) {
    case 0: return {P::A4, true};
    case 1: return {P::JisB4, true};
    case 2: return {P::A3, true};
    case 3: return {P::A2, true};
    case 4: return {P::A1, true};
    case 5: return {P::JisB5, true};
    case 6: return {P::A4, false};
    case 7: return {P::JisB5, false};
    case 8: return {P::Postcard, false};
    case 9: return {P::A3, false};
    case 10: return {P::JisB4, false};
    case 12: return {P::A5, true};
    case 13: return {P::A5, false};
    case 14: return {P::JisB1, true};
    case 15: return {P::JisB1, false};
    case 16: return {P::JisB2, true};
    case 17: return {P::JisB2, false};
    case 18: return {P::JisB3, true};
    case 19: return {P::JisB3, false};
    case 20: return {P::A1, false};
    case 21: return {P::A2, false};
    case 22: return {P::Postcard, true};
    case 11: case 23: case 24: case 25: return {P::Custom, false};
    // A code the document should not hold prints on A4 landscape, the first paper.
    default: return {P::A4, true};
    }
}

} // namespace

PrintPasses DrawingPrintPasses(CKovUnit& unit, const CPlotInfo& plot, const SelectionRecord& selection, bool placing,
                               CKovUnit::DrawEnvironment& env)
{
    PrintPasses passes;
    passes.backgroundImages = [&unit, &plot, &selection, placing, &env](Surface& dc, const DeviceTransform& t) {
        unit.DrawBackgroundImages(dc, t, plot, selection, placing, true, env, true);
    };
    passes.objects = [&unit, &plot, &selection, placing, &env](Surface& dc, const DeviceTransform& t) {
        unit.DrawAllByLayer(dc, t, plot, selection, placing, true, env);
    };
    return passes;
}

bool MakePrintTransform(DeviceTransform& out, const DeviceProperties& dev, const CPlotInfo& plot,
                        const PrintOptions& options)
{
    DeviceProperties printing = dev;
    printing.isPrinting = true;
    render::PageFrame frame;
    frame.area = dev.area;
    // The printer form does not depend on the paper; an unknown code still prints.
    if (!model::GetPaperSizeMm(plot, frame.paperWidth, frame.paperHeight))
        frame.paperWidth = frame.paperHeight = 1;
    DeviceTransform t;
    if (!render::MakePageTransform(t, printing, frame, plot, options.zoom))
        return false;
    if (options.printRange) {
        const auto c = static_cast<std::size_t>(currentGroup(plot));
        t.originX = addClamped(t.originX, truncInt((options.rangeFirst.x + options.rangeSecond.x) * -0.5 * t.scaleX[c]));
        t.originY = addClamped(t.originY, truncInt((options.rangeFirst.y + options.rangeSecond.y) * -0.5 * t.scaleY[c]));
    }
    // Offsets are paper millimetres, each axis at its own resolution.
    t.originX = addClamped(t.originX, truncInt(dev.dpiX / 25.4 * options.moveX));
    t.originY = addClamped(t.originY, truncInt(dev.dpiY / 25.4 * options.moveY));
    out = t;
    return true;
}

bool PrintPage(Surface& dc, const CPlotInfo& plot, const CGrid& grid, const PrintOptions& options,
               const PrintPasses& passes)
{
    const DeviceProperties dev = dc.device();
    const DeviceRect area = dev.area;
    DeviceTransform t;
    if (!MakePrintTransform(t, dev, plot, options))
        return false;
    dc.setClipRect(area);
    if (passes.backgroundImages)
        passes.backgroundImages(dc, t);
    if (options.printGrid)
        render::DrawGridForOutput(dc, t, area, grid, plot, {options.gridLineWidth, dev.dpiX});
    if (passes.objects)
        passes.objects(dc, t);
    if (options.printRange) {
        const int g = currentGroup(plot);
        const DevicePoint p1 = ToDevicePoint(options.rangeFirst, t, g);
        const DevicePoint p2 = ToDevicePoint(options.rangeSecond, t, g);
        const auto white = platform::Brush::solid(options.windowColor);
        const DeviceRect& c = area;
        dc.fillRect({c.left, c.top, c.right, p1.y}, white);
        dc.fillRect({c.left, c.top, p1.x, c.bottom}, white);
        dc.fillRect({p2.x, c.top, c.right, c.bottom}, white);
        dc.fillRect({c.left, p2.y, c.right, c.bottom}, white);
    }
    dc.clearClip();
    return true;
}

QPageSize PageSizeForPaper(const CPlotInfo& plot)
{
    const PaperChoice choice = paperChoice(plot.PlotPaperSize);
    if (choice.id != QPageSize::Custom)
        return QPageSize(choice.id);
    int w = 297;
    int h = 210;
    model::GetPaperSizeMm(plot, w, h);
    // Custom sizes are given upright; the orientation turns them.
    return QPageSize(QSizeF(std::min(w, h), std::max(w, h)), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
}

QPageLayout::Orientation OrientationForPaper(const CPlotInfo& plot)
{
    const PaperChoice choice = paperChoice(plot.PlotPaperSize);
    if (choice.id != QPageSize::Custom)
        return choice.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    int w = 297;
    int h = 210;
    model::GetPaperSizeMm(plot, w, h);
    return w > h ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void SetUpPrinterForPaper(QPrinter& printer, const CPlotInfo& plot)
{
    printer.setPageSize(PageSizeForPaper(plot));
    printer.setPageOrientation(OrientationForPaper(plot));
    // The drawing is one page.
    printer.setFromTo(1, 1);
}

bool PrintToPrinter(QPrinter& printer, const CPlotInfo& plot, const CGrid& grid, const PrintOptions& options,
                    const PrintPasses& passes)
{
    platform::PainterSurface surface(printer, {.isPrinting = true, .isOutput = true});
    if (!surface.painter().isActive())
        return false;
    PrintPage(surface, plot, grid, options, passes);
    return true;
}

bool PrintToPdf(const std::filesystem::path& file, const CPlotInfo& plot, const CGrid& grid,
                const PrintOptions& options, const PrintPasses& passes, int dpi)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file.string()));
    printer.setResolution(dpi);
    SetUpPrinterForPaper(printer, plot);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    return PrintToPrinter(printer, plot, grid, options, passes);
}

} // namespace kov::io
