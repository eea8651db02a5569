#include "io/PictureExport.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"
#include "render/DrawEnvironment.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

using namespace kov::io;

namespace {

constexpr kov::platform::COLORREF kWindow = 0xFFFFFF;

// A4 landscape on a page of one pixel per paper millimetre, a wall-like line across it.
struct Rig {
    kov::test::TempFolder temp;
    kov::platform::MemoryProfile profile;
    CPlotInfo plot;
    CKovUnit unit;
    SelectionRecord selection;
    CKovUnit::DrawEnvironment env;
    PicturePage page{DeviceRect{10, 10, 307, 220}, false};

    Rig()
    {
        plot.PlotPaperSize = 0;
        plot.m_Layer.SetAllScales(100);
        auto line = std::make_unique<CKovLine>();
        line->MLineID = unit.NextLineId();
        line->MLinePnt = {CDbPoint(-5000, 0), CDbPoint(5000, 0)};
        line->MLineWide = 3;
        unit.m_Lines.Add(std::move(line));
    }
    PictureScene scene() { return PictureScene{unit, plot, selection, env}; }
    PictureOutcome whole(const std::string& name)
    {
        const auto& r = page.pageRect;
        return RenderToImage(scene(), page, r.left, r.top, r.width(), r.height(), WriterTypeOfPath(name),
                             temp.file(name), profile, kWindow);
    }
};

QSize sizeOf(const std::filesystem::path& file)
{
    QImageReader reader(QString::fromStdString(file.string()));
    return reader.size();
}

std::vector<std::uint32_t> emfRecordTypes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::uint32_t> types;
    std::size_t pos = 0;
    while (pos + 8 <= bytes.size()) {
        std::uint32_t type, size;
        std::memcpy(&type, bytes.data() + pos, 4);
        std::memcpy(&size, bytes.data() + pos + 4, 4);
        if (size < 8)
            break;
        types.push_back(type);
        pos += size;
    }
    return types;
}

} // namespace

TEST(PictureExport, WriterTypeByExtensionWithoutCase)
{
    struct Row {
        const char* name;
        int type;
    } rows[] = {{"plan.jpg", kWriteJpeg}, {"plan.JPG", kWriteJpeg}, {"plan.Jpg", kWriteJpeg}, {"plan.jpeg", kWriteJpeg},
                {"plan.png", kWritePng},  {"plan.GIF", kWriteGif},  {"plan.emf", kWriteEmf}, {"plan.bmp", kWriteBmp},
                {"plan.tif", kWriteBmp},  {"plan", kWriteBmp}};
    for (const Row& r : rows)
        EXPECT_EQ(WriterTypeOfPath(r.name), r.type) << r.name;
}

TEST(PictureExport, EveryFormatOpensAndKeepsTheChosenName)
{
    struct Row {
        const char* name;
        const char* format;
        int code;
    } rows[] = {{"Plan.JPG", "jpeg", 0}, {"plan.bmp", "bmp", 1}, {"plan.png", "png", 3}, {"plan.gif", "gif", 4}};
    for (const Row& r : rows) {
        Rig rig;
        const auto out = rig.whole(r.name);
        ASSERT_TRUE(out.ok) << r.name << ": " << out.message;
        const auto file = rig.temp.file(r.name);
        ASSERT_TRUE(std::filesystem::exists(file)) << r.name;   // the name as chosen, case and all
        QImageReader reader(QString::fromStdString(file.string()));
        EXPECT_EQ(reader.format().toStdString(), r.format) << r.name;
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << r.name;
        // Doubled by default: twice the page, the line across the middle.
        EXPECT_EQ(image.size(), QSize(594, 420)) << r.name;
        EXPECT_LT(qGray(image.pixel(297, 210)), 128) << r.name;
        EXPECT_GT(qGray(image.pixel(297, 100)), 200) << r.name;
        EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "gazououtput_type", -1), r.code) << r.name;
    }
}

TEST(PictureExport, SizeSettings)
{
    struct Row {
        const char* name;
        int doubling, sizeFlag, w, h, just, purpose;
        QSize expected;
    } rows[] = {
        {"no doubling", 0, 0, 800, 800, 0, 0, QSize(297, 210)},
        {"web purpose", 1, 0, 0, 0, 0, 2, QSize(800, 565)},
        {"web, exact size", 1, 0, 0, 0, 1, 2, QSize(800, 800)},
        {"height only", 1, 1, 0, 600, 0, 0, QSize(848, 600)},
        {"printing purpose", 0, 1, 100, 100, 0, 3, QSize(594, 420)},
    };
    for (const Row& r : rows) {
        Rig rig;
        rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_gazoubai", r.doubling);
        rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_gazou_justsize", r.just);
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_size", r.sizeFlag);
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_size_w", r.w);
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_size_h", r.h);
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_out_moku", r.purpose);
        ASSERT_TRUE(rig.whole("p.png").ok) << r.name;
        EXPECT_EQ(sizeOf(rig.temp.file("p.png")), r.expected) << r.name;
    }
}

TEST(PictureExport, StoredSizesBeyondTheLimitAreReadAtTheLimit)
{
    // A hand-edited or older store may hold what the settings no longer let through.
    struct Row {
        int stored, read;
    } rows[] = {{50000, 20000}, {20001, 20000}, {20000, 20000}, {-5, 0}, {640, 640}};
    for (const Row& r : rows) {
        kov::platform::MemoryProfile p;
        p.WriteProfileInt("KOV_T_PlotMenu", "gazou_size_w", r.stored);
        p.WriteProfileInt("KOV_T_PlotMenu", "gazou_size_h", r.stored);
        const auto s = kov::io::PictureExportSettings::Load(p);
        EXPECT_EQ(s.sizeW, r.read) << r.stored;
        EXPECT_EQ(s.sizeH, r.read) << r.stored;
    }
}

TEST(PictureExport, TransparencyKeysAndMetafiles)
{
    Rig png;
    png.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_toukagif", 1);
    ASSERT_TRUE(png.whole("t.png").ok);
    const QImage t(QString::fromStdString(png.temp.file("t.png").string()));
    EXPECT_EQ(qAlpha(t.pixel(5, 5)), 0);
    EXPECT_EQ(qAlpha(t.pixel(297, 210)), 255);

    Rig gif;
    gif.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_toukagif", 1);
    ASSERT_TRUE(gif.whole("t.gif").ok);
    const QImage g(QString::fromStdString(gif.temp.file("t.gif").string()));
    EXPECT_EQ(g.pixelColor(5, 5), QColor(0, 128, 128));

    Rig emf;
    ASSERT_TRUE(emf.whole("plan.emf").ok);
    const auto types = emfRecordTypes(emf.temp.file("plan.emf"));
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), 1u);    // header
    EXPECT_EQ(types.back(), 14u);    // end of file
    // No text in the drawing: one blank text record all the same.
    EXPECT_EQ(std::count(types.begin(), types.end(), 84u), 1);
    EXPECT_EQ(emf.profile.GetProfileInt("KOV_T_UTILITY", "gazououtput_type", -1), 2);
}

TEST(PictureExport, FailuresLeaveNoFileAndNoSetting)
{
    Rig rig;
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "gazououtput_type", 3);
    const auto target = rig.temp.file("missing-folder/plan.jpg");
    const auto& r = rig.page.pageRect;
    const auto out =
        RenderToImage(rig.scene(), rig.page, r.left, r.top, r.width(), r.height(), kWriteJpeg, target, rig.profile, kWindow);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.message.rfind(picturetexts::kCannotSave, 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(rig.temp.file("missing-folder")));
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "gazououtput_type", -1), 3);
    // A range without width.
    const auto flat = RenderToImage(rig.scene(), rig.page, 50, 50, 0, 10, kWritePng, rig.temp.file("x.png"), rig.profile,
                                    kWindow);
    EXPECT_EQ(flat.message, picturetexts::kRangeFailed);
}

TEST(PictureExport, ClipboardRangeAtTheCurrentZoom)
{
    Rig rig;
    const QImage image = RenderRangeImage(rig.scene(), rig.page, DevicePoint{160, 100}, DevicePoint{120, 140}, kWindow);
    EXPECT_EQ(image.size(), QSize(40, 40));
    EXPECT_LT(qGray(image.pixel(20, 15)), 128);   // the line at page y 115
    EXPECT_TRUE(RenderRangeImage(rig.scene(), rig.page, DevicePoint{5, 5}, DevicePoint{5, 50}, kWindow).isNull());
}

TEST(PictureExport, AutomaticPictureNamesAndPlaces)
{
    struct Row {
        int code, noLetter, ownFolder;
        const char* expected;
    } rows[] = {{0, 0, 0, "/docs/planj.jpg"}, {0, 1, 0, "/docs/plan.jpg"}, {3, 0, 0, "/docs/planp.png"},
                {2, 0, 0, "/docs/plane.emf"}, {1, 0, 1, "/home/me/Documents/planb.bmp"}, {4, 0, 0, "/docs/plang.gif"}};
    for (const Row& r : rows) {
        kov::platform::MemoryProfile p;
        p.WriteProfileInt("KOV_T_UTILITY", "gazououtput_type", r.code);
        p.WriteProfileInt("KOV_T_PlotMenu", "gazououtput_auto_filenamefree", r.noLetter);
        p.WriteProfileInt("KOV_T_PlotMenu", "gazououtput_auto_fordanini", r.ownFolder);
        int type = -1;
        EXPECT_EQ(AutoSavePicturePath("/docs/plan.kvr", p, "/home/me/Documents", type).string(), r.expected);
    }
    Rig rig;
    const auto doc = rig.temp.file("plan.kvr");
    auto out = AutoSaveImage(rig.scene(), rig.page, doc, rig.profile, rig.temp.path(), kWindow);
    ASSERT_TRUE(out.ok) << out.message;
    const QSize size = sizeOf(rig.temp.file("planj.jpg"));
    // The line's extent (100 px long, give or take its end pixels), a 20 px margin each side, doubled.
    EXPECT_NEAR(size.width(), 2 * (100 + 40), 4);
    rig.page.zoomed = true;
    out = AutoSaveImage(rig.scene(), rig.page, doc, rig.profile, rig.temp.path(), kWindow);
    EXPECT_EQ(out.message, picturetexts::kZoomedAutoSave);
}

TEST(PictureExport, OtherReadersOpenEveryFormat)
{
    // ImageMagick names each raster format; LibreOffice turns the metafile into a picture with the
    // line on it. Each is skipped where the program is not installed.
    Rig rig;
    const bool identify = std::system("command -v identify >/dev/null 2>&1") == 0;
    const bool office = std::system("command -v soffice >/dev/null 2>&1") == 0;
    if (!identify && !office)
        GTEST_SKIP() << "neither identify nor soffice is installed";
    struct Row {
        const char* name;
        const char* magick;
    } rows[] = {{"a.jpg", "JPEG"}, {"a.bmp", "BMP"}, {"a.png", "PNG"}, {"a.gif", "GIF"}};
    for (const Row& r : rows) {
        ASSERT_TRUE(rig.whole(r.name).ok);
        if (!identify)
            continue;
        const std::string out = rig.temp.file(std::string(r.name) + ".txt").string();
        const std::string cmd = "identify -format '%m %w %h' '" + rig.temp.file(r.name).string() + "' > '" + out + "' 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << r.name;
        std::ifstream in(out);
        std::string magick;
        int w = 0, h = 0;
        in >> magick >> w >> h;
        EXPECT_EQ(magick.rfind(r.magick, 0), 0u) << magick;   // "BMP3" is a BMP too
        EXPECT_EQ(w, 594);
        EXPECT_EQ(h, 420);
    }
    if (!office)
        return;
    ASSERT_TRUE(rig.whole("plan.emf").ok);
    const std::string folder = rig.temp.path().string();
    const std::string cmd = "cd '" + folder + "' && HOME='" + folder + "' soffice --headless --convert-to png plan.emf"
                            " --outdir '" + folder + "/converted' >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const QImage png(QString::fromStdString(folder + "/converted/plan.png"));
    ASSERT_FALSE(png.isNull());
    int dark = 0;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x)
            dark += qGray(png.pixel(x, y)) < 128;
    EXPECT_GT(dark, 20);   // the line across the page
}
