#include "support/TestSupport.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

namespace kov::test {

TempFolder::TempFolder() = default;

std::filesystem::path testData(const std::string& name)
{
    return std::filesystem::path(KOVIRA_TEST_DATA) / name;
}

std::filesystem::path sampleFile(const std::string& relative)
{
    return std::filesystem::path(KOVIRA_SAMPLES) / relative;
}

PdfInk inkOfPdf(const std::filesystem::path& pdf)
{
    const QString tool = QStandardPaths::findExecutable("pdftoppm");
    if (tool.isEmpty())
        return {};
    const auto base = pdf.parent_path() / (pdf.stem().string() + "-page");
    QProcess p;
    p.start(tool, {"-r", "254", "-gray", "-singlefile", "-f", "1", "-l", "1", QString::fromStdString(pdf.string()),
                   QString::fromStdString(base.string())});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QImage page(QString::fromStdString(base.string() + ".pgm"));
    if (page.isNull())
        return {};
    page = page.convertToFormat(QImage::Format_Grayscale8);
    PdfInk result;
    result.page = page.size();
    for (int y = 0; y < page.height(); ++y) {
        const uchar* row = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x)
            if (row[x] < 128) result.ink |= QRect(x, y, 1, 1);
    }
    return result;
}

} // namespace kov::test
