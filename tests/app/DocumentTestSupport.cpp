#include "DocumentTestSupport.h"

#include "model/PictureFiles.h"

#include <QImage>

#include <fstream>

namespace kov::test {

CKovImage& DocumentRig::addPicture(int id, int layerGroup, int layer)
{
    const std::filesystem::path folder = doc->TempImageFolder();
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    SavePictureFile(picture, TempImagePath(folder, id, kPicturePng), kPicturePng);
    auto image = std::make_unique<CKovImage>();
    image->ImageID = id;
    image->IMGImagetype = kPicturePng;
    image->ImageName = TempImagePath(folder, id).string();
    image->IMGLayer1 = layerGroup;
    image->IMGLayer2 = layer;
    CKovImage& added = *image;
    doc->m_Unit.m_Images.Add(std::move(image));
    doc->AddTempImageNumber(std::uint32_t(id));
    doc->SetModifiedFlag();
    return added;
}

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file)
{
    // Read in one piece: the damage tests compare files hundreds of times.
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bytes;
}

void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<double> lineStarts(const CKovUnit& unit)
{
    std::vector<double> xs;
    for (const auto& line : unit.m_Lines) xs.push_back(line->MLinePnt.empty() ? -1.0 : line->MLinePnt.front().x);
    return xs;
}

} // namespace kov::test
