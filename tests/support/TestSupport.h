#pragma once

#include <QRect>
#include <QTemporaryDir>

#include <filesystem>
#include <string>

namespace kov::test {

// A fresh folder that disappears with the test.
class TempFolder {
public:
    TempFolder();
    std::filesystem::path path() const { return std::filesystem::path(m_dir.path().toStdString()); }
    std::filesystem::path file(const std::string& name) const { return path() / name; }

private:
    QTemporaryDir m_dir;
};

std::filesystem::path testData(const std::string& name);
std::filesystem::path sampleFile(const std::string& relative);

// The first page of a PDF rasterised by pdftoppm (poppler-utils) at 10 pixels per millimetre: the
// bounding box of its dark pixels, and the page size in pixels. Empty when it could not be
// rasterised.
struct PdfInk {
    QRect ink;
    QSize page;
};
PdfInk inkOfPdf(const std::filesystem::path& pdf);

} // namespace kov::test
