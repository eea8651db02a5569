// Damaged documents through the real readers: a drawing holding every object kind and the settings
// golden file, cut short and with bytes changed at random. Each read ends with a clear error
// or reads cleanly; what the readers fill stays in range (the sanitizers catch the rest).

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/UnitBlocks.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>
#include <iterator>
#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes goldenSettings()
{
    std::ifstream in(kov::test::testData("settings-golden.kva"), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every object kind once, with a picture of each stored type.
Bytes drawingBytes(const kov::test::TempFolder& folder)
{
    CKovUnit unit;
    auto line = std::make_unique<CKovLine>();
    line->MLineID = 2;
    line->MLineType = CKovLine::ARC;
    line->MLinePnt = {{0, 0}, {10, 0}, {0, -10}};
    line->MLineParam = {10.0};
    line->MLineGrpID = 5;
    unit.m_Lines.Add(std::move(line));
    auto text = std::make_unique<CKovText>();
    text->MTextID = 3;
    text->MTextstr = "一階\r\n居間";
    unit.m_Texts.Add(std::move(text));
    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = 4;
    wall->MWallPntB = {910, 0};
    wall->MWallarPntA = {{0, 50}, {910, 50}};
    wall->MWallarPntB = {{910, 50}, {910, -50}};
    unit.m_Walls.Add(std::move(wall));
    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = 5;
    group->MGrpLineID = {2};
    unit.m_Groups.Add(std::move(group));
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 10));
    int id = 1;
    for (const int type : {kPictureBmp, kPicturePng, kPictureGif, kPictureJpeg}) {
        auto picture = std::make_unique<CKovImage>();
        picture->ImageID = id++;
        picture->IMGImagetype = type;
        const Bytes bytes = EncodePicture(image, type);
        std::ofstream(TempImagePath(folder.path(), picture->ImageID, type), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        unit.m_Images.Add(std::move(picture));
    }
    UnitFileContext ctx;
    ctx.pictureFolder = folder.path();
    auto ar = CArchive::forWriting();
    if (!unit.WriteUnit(*ar, "KovUnit", ctx)) return {};
    return ar->bytes();
}

// Reads the settings blocks; whether the archive reported an error.
bool readSettings(const Bytes& bytes)
{
    auto ar = CArchive::forReading(bytes);
    CPlotInfo plot;
    if (plot.FindStart(*ar, "PlotInfo")) plot.Load(*ar, "PlotInfo");
    CGrid grid;
    if (grid.FindStart(*ar, "Grid")) grid.Load(*ar, "Grid");
    // Values used as indices stay inside their tables whatever the file held.
    EXPECT_GE(plot.m_Layer.m_nCurrentGroup, 0);
    EXPECT_LT(plot.m_Layer.m_nCurrentGroup, CLayer::kUsed);
    EXPECT_GE(plot.PlotLineYaWide, 0);
    EXPECT_LT(plot.PlotLineYaWide, CPlotInfo::kMarkSizes);
    for (const int code : plot.PlotLineWide) {
        EXPECT_GE(code, 1);
        EXPECT_LE(code, CPlotInfo::kWidthCodes);
    }
    for (const double scale : plot.m_Layer.m_dScale) EXPECT_GT(scale, 0.0);
    return !ar->error().ok();
}

// Reads the drawing into a fresh container and removes the picture files it made.
bool readDrawing(const Bytes& bytes, const std::filesystem::path& folder)
{
    auto ar = CArchive::forReading(bytes);
    CKovUnit unit;
    UnitFileContext ctx;
    ctx.pictureFolder = folder;
    if (unit.FindStart(*ar, "KovUnit")) unit.ReadUnit(*ar, "KovUnit", ctx);
    for (const auto& picture : unit.m_Images) {
        EXPECT_GE(picture->ImageID, 1);
        DeleteTempImageFiles(folder, picture->ImageID);
    }
    return !ar->error().ok();
}

TEST(DamagedDocument, CutShortGivesAnError)
{
    kov::test::TempFolder pictures, readBack;
    const Bytes drawing = drawingBytes(pictures);
    ASSERT_FALSE(drawing.empty());
    ASSERT_FALSE(readDrawing(drawing, readBack.path()));
    for (std::size_t len = 0; len < drawing.size(); ++len)
        ASSERT_TRUE(readDrawing(Bytes(drawing.begin(), drawing.begin() + std::ptrdiff_t(len)), readBack.path()))
            << "cut at " << len;

    // The settings file is mostly 342 alike layer records: a prime stride reaches every kind of place
    // in them without reading the 25 KB file 25,000 times.
    const Bytes settings = goldenSettings();
    ASSERT_FALSE(settings.empty());
    ASSERT_FALSE(readSettings(settings));
    for (std::size_t len = 0; len < settings.size(); len += 11)
        ASSERT_TRUE(readSettings(Bytes(settings.begin(), settings.begin() + std::ptrdiff_t(len)))) << "cut at " << len;
}

TEST(DamagedDocument, ChangedBytesGiveAnErrorOrACleanRead)
{
    kov::test::TempFolder pictures, readBack;
    const Bytes golden[] = {goldenSettings(), drawingBytes(pictures)};
    std::mt19937 rng(20261210);
    for (int round = 0; round < 1500; ++round) {
        const bool drawing = round % 2 == 1;
        Bytes bytes = golden[drawing ? 1 : 0];
        ASSERT_FALSE(bytes.empty());
        for (int i = 0, changes = 1 + int(rng() % 3); i < changes; ++i)
            bytes[rng() % bytes.size()] ^= std::uint8_t(1 + rng() % 255);
        // The checksum catches every change the layout lets through.
        const bool failed = drawing ? readDrawing(bytes, readBack.path()) : readSettings(bytes);
        ASSERT_TRUE(failed || bytes == golden[drawing ? 1 : 0]) << "round " << round;
    }
}

} // namespace
