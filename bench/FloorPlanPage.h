#pragma once

// What the DXF benchmarks share about the printed page: the plan laid out on A3 landscape, and a
// look at the printed PDF page, so that a benchmark of an empty page is noticed.

#include "io/Printing.h"
#include "model/KovUnit.h"
#include "model/PaperSizes.h"
#include "model/PlotInfo.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kov::bench {

// The drawing on the page: every layer group at the smallest whole scale that puts the extents of
// its figures and texts on A3 landscape with a tenth to spare, texts kept at their drawing size,
// and the extents centred through the range print.
inline kov::io::PrintOptions LayOutOnA3(CKovUnit& unit, CPlotInfo& plot)
{
    plot.PlotPaperSize = 2;
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = -minX, maxY = -minX;
    auto take = [&](const CDbPoint& p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    };
    for (const auto& line : unit.m_Lines)
        for (const CDbPoint& p : line->MLinePnt) take(p);
    for (const auto& text : unit.m_Texts) take(text->MTextpnt);
    kov::io::PrintOptions options;
    if (minX > maxX) return options;
    int w = 0, h = 0;
    kov::model::GetPaperSizeMm(plot, w, h);
    const double scale = std::max(1.0, std::ceil(std::max((maxX - minX) / w, (maxY - minY) / h) * 1.1));
    // Text heights are paper millimetres at the scale the drawing was read at.
    const double read = plot.m_Layer.m_dScale[0] > 0 ? plot.m_Layer.m_dScale[0] : 1.0;
    for (int i = 0; i < unit.m_Texts.GetSize(); ++i) unit.m_Texts[i]->MTextFontMenu.m_size *= read / scale;
    plot.m_Layer.m_dScale.fill(scale);
    options.printRange = true;
    options.rangeFirst = {minX, minY};
    options.rangeSecond = {maxX, maxY};
    return options;
}

// The share of dark pixels on the PDF's page (pdftoppm at 30 dpi), -1 when it cannot be looked at.
inline double PageInk(const QString& pdf)
{
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) return -1;
    QTemporaryDir dir;
    const QString base = dir.filePath("page");
    QProcess p;
    p.start(pdftoppm, {"-gray", "-r", "30", "-singlefile", pdf, base});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) return -1;
    const QImage page(base + ".pgm");
    if (page.isNull()) return -1;
    long long dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 128;
    return double(dark) / (double(page.width()) * page.height());
}

} // namespace kov::bench
