#include "model/UnitBlocks.h"

#include "model/ArchiveFormat.h"
#include "model/Bmp.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <QImage>

#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes toBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

// An archive of exactly these records (raw runs included), with its trailer.
Bytes archiveOf(const std::string& body)
{
    const std::string all = "KOVIRA-ARCHIVE 1\n" + body;
    return toBytes(all + kov::archive::trailerFor(kov::archive::crc32(toBytes(all).data(), all.size())));
}

std::string rawRun(const Bytes& bytes)
{
    return "#" + std::to_string(bytes.size()) + "\n" + std::string(bytes.begin(), bytes.end()) + "\n";
}

std::string unitOf(const std::string& inside)
{
    return "{KovUnit\n" + inside + "}KovUnit\n";
}

QImage pictureOf(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, (y * 40) % 256, 200));
    return image;
}

Bytes encoded(int type, int w = 6, int h = 4)
{
    return EncodePicture(pictureOf(w, h), type);
}

struct Written {
    int ok = 0;
    Bytes bytes;
};

Written write(const CKovUnit& unit, UnitFileContext& ctx)
{
    auto ar = CArchive::forWriting();
    Written w;
    w.ok = unit.WriteUnit(*ar, "KovUnit", ctx);
    w.bytes = ar->bytes();
    return w;
}

struct Read {
    int ok = 0;
    ArchiveError error;
};

Read read(CKovUnit& unit, const Bytes& bytes, UnitFileContext& ctx)
{
    auto ar = CArchive::forReading(bytes);
    Read r;
    if (unit.FindStart(*ar, "KovUnit"))
        r.ok = unit.ReadUnit(*ar, "KovUnit", ctx);
    r.error = ar->error();
    return r;
}

bool contains(const Bytes& bytes, std::string_view text)
{
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

bool anyWarningHas(const UnitFileContext& ctx, std::string_view text)
{
    for (const std::string& w : ctx.warnings)
        if (w.find(text) != std::string::npos)
            return true;
    return false;
}

// Every object kind with every field away from its default, and one picture of each type.
void fillDrawing(CKovUnit& unit, const fs::path& folder)
{
    unit.MUnitGrpID = 11;
    unit.MUnitLineID = 12;
    unit.MUnitWallID = 13;
    unit.MUnitTextID = 14;
    unit.MUnitImageID = 15;

    auto line = std::make_unique<CKovLine>();
    line->MLineID = 7;
    line->MLinePnt = {{0, 0}, {12.5, -3}, {-1.25, 1e5}};
    line->MLineParam = {2.5, 0.75};
    line->MLinebNakanuri = 1;
    line->MLineColor = 0x123456;
    line->MLineNakaColor = 0x00FF00;
    line->MLineGradiation = 4501;
    line->MLineNakaColor2 = 0x0000FF;
    line->MLinebHach = 1;
    line->MLineHachT = 3;
    line->MLineLineT = 5;
    line->MLinePattern = 8;
    line->MLineAlpha = 40;
    line->MLineWide = 10;
    line->MLineTanten = 12;
    line->MLineYaWide = 5;
    line->MLineType = CKovLine::ARC;
    line->MLineGrpID = 3;
    line->MLineLayer1 = 15;
    line->MLineLayer2 = 14;
    unit.m_Lines.Add(std::move(line));
    auto second = std::make_unique<CKovLine>();
    second->MLineID = 8;
    unit.m_Lines.Add(std::move(second));

    auto text = std::make_unique<CKovText>();
    text->MTextID = 9;
    text->MTextstr = "一階\r\n居間 12.5畳";
    text->MTextFontMenu.lfFaceName = "ＭＳ 明朝";
    text->MTextFontMenu.m_size = 4.5;
    text->MTextFontMenu.m_Color = 0x0000FF;
    text->MTextFontMenu.lfEscapement = 900;
    text->MTextpnt = {100.5, -200.25};
    text->MTextGrpID = 3;
    text->MTextLayer1 = 2;
    text->MTextLayer2 = 1;
    text->MTextHuchiFlg = 2;
    text->MTextHuchiAtsumi = 0.5;
    text->MTextHuchiType = 6;
    text->MTextHuchiKeij = 9;
    text->MTextAlpha = 30;
    unit.m_Texts.Add(std::move(text));

    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = 4;
    wall->MWallPntA = {0, 0};
    wall->MWallPntB = {3640, 0};
    wall->MWallPntKado = {CDbPoint(0, -60), CDbPoint(3640, -60), CDbPoint(3640, 60), CDbPoint(0, 60)};
    wall->MWallWide1 = 60;
    wall->MWallWide2 = 45.5;
    wall->MWallType = 1;
    wall->MWall_Type = CKovWall::COLUMN;
    wall->MHasiraType = CKovWall::THROUGH_COLUMN;
    wall->MWallarPntA = {{0, -60}, {3640, -60}};
    wall->MWallarPntB = {{3640, -60}, {3640, 60}};
    wall->MWallGrpID = 3;
    wall->MWallLayer1 = 1;
    wall->MWallLayer2 = 2;
    unit.m_Walls.Add(std::move(wall));

    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = 3;
    group->MGrpWallID = {4};
    group->MGrpLineID = {7, 8};
    group->MGrpTextID = {9};
    group->MGrpmin = {-1.5, -2.5};
    group->MGrpmax = {3640, 100000};
    group->MGrpKakudo = 359.5;
    group->MGrpLayer1 = 1;
    group->MGrpLayer2 = 3;
    group->MGrpRoom = CKovGroup::ROOM;
    unit.m_Groups.Add(std::move(group));

    struct Pic { int id; int type; int transparent; };
    for (const Pic p : {Pic{2, kPictureJpeg, 1}, Pic{3, kPicturePng, 0}, Pic{4, kPictureGif, 1}, Pic{5, kPictureBmp, 0}}) {
        auto image = std::make_unique<CKovImage>();
        image->ImageID = p.id;
        image->ImageName = TempImagePath(folder, p.id).string();
        image->OffsetX = -10.5 * p.id;
        image->OffsetY = 20.25;
        image->ImageWidth = 80;
        image->ImageHeight = 60.5;
        image->IMGLayer1 = 15;
        image->IMGLayer2 = 7;
        image->IMGImagegifflg = p.transparent;
        image->IMGImagegifcol = 0x0000FF;
        image->IMGImagetype = p.type;
        image->BLKImagekakudo = 30 * p.id;
        const Bytes bytes = encoded(p.type);
        EXPECT_TRUE(WriteWholeFile(TempImagePath(folder, p.id, p.type), bytes.data(), bytes.size()));
        unit.m_Images.Add(std::move(image));
    }
}

class UnitBlocksTest : public ::testing::Test {
protected:
    kov::test::TempFolder m_first;
    kov::test::TempFolder m_second;
    UnitFileContext m_saveCtx{m_first.path(), false, {}, {}, {}};
    UnitFileContext m_loadCtx{m_second.path(), false, {}, {}, {}};
};

} // namespace

TEST_F(UnitBlocksTest, WrittenReadAndWrittenAgainIsByteIdentical)
{
    CKovUnit unit;
    fillDrawing(unit, m_first.path());
    const Written first = write(unit, m_saveCtx);
    ASSERT_EQ(first.ok, 1);

    CKovUnit back;
    const Read r = read(back, first.bytes, m_loadCtx);
    ASSERT_EQ(r.ok, 1) << r.error.describe();
    EXPECT_TRUE(m_loadCtx.warnings.empty());
    const Written second = write(back, m_loadCtx);
    ASSERT_EQ(second.ok, 1);
    EXPECT_EQ(std::string(second.bytes.begin(), second.bytes.end()), std::string(first.bytes.begin(), first.bytes.end()));

    // What a user would see of the objects came back too.
    ASSERT_EQ(back.m_Lines.GetSize(), 2);
    EXPECT_EQ(back.m_Lines[0]->MLinePnt, (CDbPointArray{{0, 0}, {12.5, -3}, {-1.25, 1e5}}));
    EXPECT_EQ(back.m_Texts[0]->MTextstr, "一階\r\n居間 12.5畳");
    EXPECT_EQ(back.m_Texts[0]->MTextFontMenu, unit.m_Texts[0]->MTextFontMenu);
    EXPECT_EQ(back.m_Walls[0]->MWallPntKado[2], CDbPoint(3640, 60));
    EXPECT_EQ(back.m_Groups[0]->MGrpLineID, (std::vector<int>{7, 8}));
    EXPECT_EQ(back.MUnitImageID, 15);
    ASSERT_EQ(back.m_Images.GetSize(), 4);
    for (const auto& image : back.m_Images) {
        const fs::path file = PictureFileForType(image->ImageName, image->IMGImagetype);
        EXPECT_EQ(file.parent_path(), m_second.path());
        // Read, the bytes wait in memory; the file is written when asked for.
        EXPECT_FALSE(fs::exists(file)) << file;
        ASSERT_TRUE(image->ExtractFile());
        EXPECT_EQ(GetImageFileFormat(file), image->IMGImagetype) << file;
        Bytes original, copy;
        ASSERT_TRUE(ReadWholeFile(TempImagePath(m_first.path(), image->ImageID, image->IMGImagetype), original));
        ASSERT_TRUE(ReadWholeFile(file, copy));
        EXPECT_EQ(original, copy) << file;
    }
    back.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

TEST_F(UnitBlocksTest, OddNumbersWriteReadAndWriteTheSame)
{
    // Values no drawing should hold but editing or a foreign file may leave: NaN, infinities,
    // magnitudes where six decimals no longer pin the value down, the smallest ones.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double odd[] = {nan, -nan, inf, -inf, 1e14 + 0.0078125, -1e300, 4.9e-324, -0.0};
    CKovUnit unit;
    auto line = std::make_unique<CKovLine>();
    line->MLineID = 2;
    for (const double v : odd) {
        line->MLinePnt.emplace_back(v, -v);
        line->MLineParam.push_back(v);
    }
    unit.m_Lines.Add(std::move(line));
    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = 3;
    wall->MWallPntA = {nan, inf};
    wall->MWallPntKado[1] = {1e14 + 0.0078125, nan};
    wall->MWallWide1 = nan;
    unit.m_Walls.Add(std::move(wall));
    auto text = std::make_unique<CKovText>();
    text->MTextID = 4;
    text->MTextpnt = {nan, 1e14 + 0.0078125};
    unit.m_Texts.Add(std::move(text));

    const Written first = write(unit, m_saveCtx);
    ASSERT_EQ(first.ok, 1);
    EXPECT_FALSE(contains(first.bytes, "nan"));
    EXPECT_FALSE(contains(first.bytes, "inf"));
    CKovUnit back;
    ASSERT_EQ(read(back, first.bytes, m_loadCtx).ok, 1);
    for (const CDbPoint& p : back.m_Lines[0]->MLinePnt) {
        EXPECT_TRUE(std::isfinite(p.x));
        EXPECT_TRUE(std::isfinite(p.y));
    }
    for (const double v : back.m_Lines[0]->MLineParam) EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(back.m_Texts[0]->MTextpnt.y, 1e14 + 0.0078125);
    const Written second = write(back, m_loadCtx);
    EXPECT_EQ(std::string(second.bytes.begin(), second.bytes.end()), std::string(first.bytes.begin(), first.bytes.end()));

    // A file that says "nan" or "inf" itself, or a number beyond any double, brings none of them in.
    for (const char* word : {"nan", "-NAN", "infd", "-inf", "1e400d"}) {
        SCOPED_TRACE(word);
        const std::string w = word;
        CKovUnit fromText;
        ASSERT_EQ(read(fromText, archiveOf(unitOf("{BLK_UnitLine\nMLineID=5\nMLinePntX=" + w + "\nMLinePntY=" + w
                                                   + "\nMLineParam=" + w + "\n}BLK_UnitLine\n")), m_loadCtx).ok, 1);
        ASSERT_EQ(fromText.m_Lines[0]->MLinePnt.size(), 1u);
        EXPECT_EQ(fromText.m_Lines[0]->MLinePnt[0], CDbPoint(0, 0));
        EXPECT_EQ(fromText.m_Lines[0]->MLineParam, std::vector<double>{0.0});
    }
}

TEST_F(UnitBlocksTest, ValuesAreWrittenAsTheFileFormatWantsThem)
{
    CKovUnit unit;
    auto line = std::make_unique<CKovLine>();
    line->MLinePnt = {{0, 0}, {12.5, -3}};
    line->MLineColor = 0xFFFFFF;
    unit.m_Lines.Add(std::move(line));
    auto wall = std::make_unique<CKovWall>();
    wall->MWallPntKado = {CDbPoint(1, 2), CDbPoint(3, 4), CDbPoint(5, 6), CDbPoint(7, 8.5)};
    unit.m_Walls.Add(std::move(wall));
    auto text = std::make_unique<CKovText>();
    text->MTextstr = "AB\r\nC\nD";
    unit.m_Texts.Add(std::move(text));

    const Written w = write(unit, m_saveCtx);
    ASSERT_EQ(w.ok, 1);
    EXPECT_TRUE(contains(w.bytes, "MLinePntX=0.000000d\nMLinePntY=0.000000d\nMLinePntX=12.500000d\nMLinePntY=-3.000000d\n"));
    EXPECT_TRUE(contains(w.bytes, "MLineColor=16777215\n"));
    EXPECT_TRUE(contains(w.bytes, "MWallPntKado=1.000000,2.000000,3.000000,4.000000,5.000000,6.000000,7.000000,8.500000\n"));
    EXPECT_TRUE(contains(w.bytes, "MUnitGrpID=1\nMUnitWallID=1\nMUnitLineID=1\nMUnitTextID=1\nMUnitImageID=1\n{BLK_UnitLine\n"));
    // The font block comes first in a text block, lines are separated by TAB.
    EXPECT_TRUE(contains(w.bytes, "{BLK_UnitText\n{BLKMTextFontMenu\n"));
    EXPECT_TRUE(contains(w.bytes, "MTextstr=AB\tC\tD\n"));

    CKovUnit back;
    ASSERT_EQ(read(back, w.bytes, m_loadCtx).ok, 1);
    EXPECT_EQ(back.m_Texts[0]->MTextstr, "AB\r\nC\r\nD");
}

TEST_F(UnitBlocksTest, ReaderEdgeCases)
{
    struct Row {
        const char* name;
        std::string inside;
        std::function<void(const CKovUnit&)> check;
    };
    const std::vector<Row> rows = {
        {"corners from a short list",
         "{BLK_UnitWall\nMWallPntKado=5,5,5,5,5,5,5,5\nMWallPntKado=1,2,3\n}BLK_UnitWall\n",
         [](const CKovUnit& u) {
             const auto& c = u.m_Walls[0]->MWallPntKado;
             EXPECT_EQ(c[0], CDbPoint(1, 2));
             EXPECT_EQ(c[1], CDbPoint(3, 0));
             EXPECT_EQ(c[2], CDbPoint(0, 0));
             EXPECT_EQ(c[3], CDbPoint(0, 0));
         }},
        {"corners beyond the eighth ignored",
         "{BLK_UnitWall\nMWallPntKado=1,2,3,4,5,6,7,8,9,10\n}BLK_UnitWall\n",
         [](const CKovUnit& u) { EXPECT_EQ(u.m_Walls[0]->MWallPntKado[3], CDbPoint(7, 8)); }},
        {"unknown keys and nested blocks in a figure",
         "{BLK_UnitLine\nMLineID=4\nMLineFuture=9\n{Inner\nMLineID=99\n}Inner\nmlinetype=3\n}BLK_UnitLine\n",
         [](const CKovUnit& u) {
             EXPECT_EQ(u.m_Lines[0]->MLineID, 4);
             EXPECT_EQ(u.m_Lines[0]->MLineType, 3); // keys compare without case
         }},
        {"unknown blocks in the unit",
         "{BLK_UnitFuture\n{BLK_UnitLine\n}BLK_UnitLine\n}BLK_UnitFuture\n{BLK_UnitLine\n}BLK_UnitLine\n",
         [](const CKovUnit& u) { EXPECT_EQ(u.m_Lines.GetSize(), 1); }},
        {"no counters leave them as they were", "",
         [](const CKovUnit& u) { EXPECT_EQ(u.MUnitLineID, 40); }},
        {"numbers as the C library reads them",
         "{BLK_UnitLine\nMLinePntX=12.5d\nMLinePntY=abc\nMLineWide=7x\nMLineColor=-1\n}BLK_UnitLine\n",
         [](const CKovUnit& u) {
             EXPECT_EQ(u.m_Lines[0]->MLinePnt[0], CDbPoint(12.5, 0));
             EXPECT_EQ(u.m_Lines[0]->MLineWide, 7);
             EXPECT_EQ(u.m_Lines[0]->MLineColor, 0xFFFFFFFFu);
         }},
        {"a tab typed into a text is a line break",
         "{BLK_UnitText\nMTextstr=A\tB\n}BLK_UnitText\n",
         [](const CKovUnit& u) { EXPECT_EQ(u.m_Texts[0]->MTextstr, "A\r\nB"); }},
        {"groups list members in order",
         "{BLK_UnitGrp\nMGrpLineID=5\nMGrpWallID=2\nMGrpLineID=3\n}BLK_UnitGrp\n",
         [](const CKovUnit& u) {
             EXPECT_EQ(u.m_Groups[0]->MGrpLineID, (std::vector<int>{5, 3}));
             EXPECT_EQ(u.m_Groups[0]->MGrpWallID, (std::vector<int>{2}));
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        unit.MUnitLineID = 40;
        UnitFileContext ctx{m_second.path(), false, {}, {}, {}};
        const Read r = read(unit, archiveOf(unitOf(row.inside)), ctx);
        ASSERT_EQ(r.ok, 1) << r.error.describe();
        EXPECT_TRUE(ctx.warnings.empty());
        row.check(unit);
    }
}

TEST_F(UnitBlocksTest, StrayYCoordinatesAreReportedAndReadingGoesOn)
{
    const std::string inside =
        "{BLK_UnitLine\nMLineID=2\nMLinePntY=5d\nMLinePntX=1d\nMLinePntY=2d\n}BLK_UnitLine\n"
        "{BLK_UnitWall\nMWallID=3\nMWallarPntAY=1\nMWallarPntBY=1\nMWallarPntAX=4\nMWallarPntAY=6\n}BLK_UnitWall\n"
        "{BLK_UnitLine\nMLineID=5\n}BLK_UnitLine\n";
    CKovUnit unit;
    const Read r = read(unit, archiveOf(unitOf(inside)), m_loadCtx);
    ASSERT_EQ(r.ok, 1) << r.error.describe();
    ASSERT_EQ(unit.m_Lines.GetSize(), 2);
    EXPECT_EQ(unit.m_Lines[0]->MLinePnt, (CDbPointArray{{1, 2}}));
    EXPECT_EQ(unit.m_Walls[0]->MWallarPntA, (CDbPointArray{{4, 6}}));
    EXPECT_TRUE(unit.m_Walls[0]->MWallarPntB.empty());
    ASSERT_EQ(m_loadCtx.warnings.size(), 2u);
    EXPECT_TRUE(anyWarningHas(m_loadCtx, "BLK_UnitLine #1（識別番号 2）: 座標の並びが壊れています（X より前の Y 座標 1 個"));
    EXPECT_TRUE(anyWarningHas(m_loadCtx, "BLK_UnitWall #1（識別番号 3）: 座標の並びが壊れています（X より前の Y 座標 2 個"));
}

TEST_F(UnitBlocksTest, PictureFileIsNamedByTheIdentifierReadLast)
{
    const Bytes png = encoded(kPicturePng);
    // The identifier comes after the bytes, and the type key disagrees with the bytes block.
    const std::string inside = "{BLK_UnitImage\nIMGImagetype=1\nIMGImagegifflg=1\n{BLKImagePng\n" + rawRun(png)
        + "}BLKImagePng\nImageID=7\n}BLK_UnitImage\n";
    CKovUnit unit;
    const Read r = read(unit, archiveOf(unitOf(inside)), m_loadCtx);
    ASSERT_EQ(r.ok, 1) << r.error.describe();
    const CKovImage& image = *unit.m_Images[0];
    EXPECT_EQ(image.ImageID, 7);
    EXPECT_EQ(image.IMGImagetype, kPicturePng);
    EXPECT_EQ(image.IMGImagegifflg, 0); // a PNG holds its own transparency
    EXPECT_EQ(fs::path(image.ImageName), m_second.file("temp7.bmp"));
    ASSERT_TRUE(image.ExtractFile());
    Bytes stored;
    ASSERT_TRUE(ReadWholeFile(m_second.file("temp7.png"), stored));
    EXPECT_EQ(stored, png);
    EXPECT_FALSE(fs::exists(m_second.file("temp1.png")));
}

// Pictures read go to numbers that no file of the folder has yet (another drawing's pictures stay),
// and two pictures read together never share one.
TEST_F(UnitBlocksTest, PicturesReadTakeNumbersNoFileHas)
{
    const Bytes png = encoded(kPicturePng);
    const Bytes others = encoded(kPictureBmp);
    for (const char* name : {"temp7.png", "temp8.bmp"})
        ASSERT_TRUE(WriteWholeFile(m_second.file(name), others.data(), others.size()));
    std::string inside;
    for (const int id : {7, 7, 8})
        inside += "{BLK_UnitImage\nIMGImagetype=1\n{BLKImagePng\n" + rawRun(png) + "}BLKImagePng\nImageID="
            + std::to_string(id) + "\n}BLK_UnitImage\n";
    CKovUnit unit;
    const Read r = read(unit, archiveOf(unitOf(inside)), m_loadCtx);
    ASSERT_EQ(r.ok, 1) << r.error.describe();
    ASSERT_EQ(unit.m_Images.GetSize(), 3);
    std::vector<std::string> names;
    for (const auto& image : unit.m_Images) {
        names.push_back(fs::path(image->ImageName).filename().string());
        ASSERT_TRUE(image->ExtractFile());
        Bytes stored;
        ASSERT_TRUE(ReadWholeFile(PictureFileForType(image->ImageName, image->IMGImagetype), stored)) << image->ImageName;
        EXPECT_EQ(stored, png);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"temp9.bmp", "temp10.bmp", "temp11.bmp"}));
    for (const char* name : {"temp7.png", "temp8.bmp"}) {
        Bytes kept;
        ASSERT_TRUE(ReadWholeFile(m_second.file(name), kept));
        EXPECT_EQ(kept, others) << name;
    }
}

// A document names a file of its own choosing: saving it must not embed that file, nor drawing read it.
TEST_F(UnitBlocksTest, StoredPictureNameIsNeverOpened)
{
    const fs::path secret = m_first.file("secret.bmp");
    const Bytes secretBytes = encoded(kPictureBmp);
    ASSERT_TRUE(WriteWholeFile(secret, secretBytes.data(), secretBytes.size()));
    const std::string inside = "{BLK_UnitImage\nImageName=" + secret.string() + "\nImageID=6\nIMGImagetype=4\n"
        "}BLK_UnitImage\n";
    CKovUnit unit;
    ASSERT_EQ(read(unit, archiveOf(unitOf(inside)), m_loadCtx).ok, 1);
    EXPECT_EQ(fs::path(unit.m_Images[0]->ImageName), m_second.file("temp6.bmp"));

    m_saveCtx.pictureFolder = m_second.path();
    const Written w = write(unit, m_saveCtx);
    EXPECT_EQ(w.ok, 0); // the picture has no file of its own
    EXPECT_FALSE(std::search(w.bytes.begin(), w.bytes.end(), secretBytes.begin(), secretBytes.end()) != w.bytes.end());
}

TEST_F(UnitBlocksTest, PictureTakesTheFirstFreeNumber)
{
    WriteWholeFile(m_second.file("temp2.png"), nullptr, 0);
    WriteWholeFile(m_second.file("temp3.jpg"), nullptr, 0);
    const std::string inside = "{BLK_UnitImage\nImageID=2\nIMGImagetype=2\n{BLKImagePng\n" + rawRun(encoded(kPicturePng))
        + "}BLKImagePng\n}BLK_UnitImage\n";
    CKovUnit unit;
    ASSERT_EQ(read(unit, archiveOf(unitOf(inside)), m_loadCtx).ok, 1);
    EXPECT_EQ(unit.m_Images[0]->ImageID, 4);
    ASSERT_TRUE(std::as_const(unit).m_Images[0]->ExtractFile());
    EXPECT_EQ(GetImageFileFormat(m_second.file("temp4.png")), kPicturePng);
}

TEST_F(UnitBlocksTest, TransparentBmpBecomesAPng)
{
    const std::string inside = "{BLK_UnitImage\nImageID=3\nIMGImagegifflg=1\nIMGImagegifcol=255\n{BLKImageBmp2\n"
        + rawRun(encoded(kPictureBmp)) + "}BLKImageBmp2\n}BLK_UnitImage\n";
    CKovUnit unit;
    ASSERT_EQ(read(unit, archiveOf(unitOf(inside)), m_loadCtx).ok, 1);
    const CKovImage& image = *unit.m_Images[0];
    EXPECT_EQ(image.IMGImagetype, kPicturePng);
    QImage png;
    ASSERT_TRUE(ReadPictureFile(m_second.file("temp3.png"), png));
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0);   // red, the transparent colour
    EXPECT_EQ(qAlpha(png.pixel(5, 0)), 255);
}

// A transparent BMP of a few bytes that declares 2 × 16 million pixels (a fuzzer's find) took 20 s to
// make transparent. It is refused from its header: the drawing opens, the user is told, and the
// bytes are kept, so that a save loses nothing.
TEST_F(UnitBlocksTest, PictureBeyondWhatMayBeDecodedIsKeptButNotDecoded)
{
    Bytes bmp = DibToBmpBytes(BitmapToDib(pictureOf(2, 2), kBiRgb, 24));
    const std::uint32_t rows = 16'449'281;
    for (int i = 0; i < 4; ++i)
        bmp[22 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(rows >> (8 * i));
    const std::string inside = "{BLK_UnitImage\nImageID=2\nIMGImagegifflg=1\nIMGImagegifcol=255\n{BLKImageBmp2\n"
        + rawRun(bmp) + "}BLKImageBmp2\n}BLK_UnitImage\n{BLK_UnitLine\nMLineID=2\n}BLK_UnitLine\n";
    CKovUnit unit;
    const Read r = read(unit, archiveOf(unitOf(inside)), m_loadCtx);
    ASSERT_EQ(r.ok, 1) << r.error.describe();
    ASSERT_EQ(unit.m_Images.GetSize(), 1);
    EXPECT_EQ(unit.m_Lines.GetSize(), 1);
    ASSERT_EQ(m_loadCtx.warnings.size(), 1u);
    EXPECT_TRUE(anyWarningHas(m_loadCtx, "BLK_UnitImage #1（識別番号 2）: 画像のデータが途中で切れています"));
    const CKovImage& image = *unit.m_Images[0];
    EXPECT_EQ(image.IMGImagetype, kPictureBmp);
    EXPECT_FALSE(fs::exists(m_second.file("temp2.png")));
    ASSERT_TRUE(image.ExtractFile());
    Bytes stored;
    ASSERT_TRUE(ReadWholeFile(m_second.file("temp2.bmp"), stored));
    EXPECT_EQ(stored, bmp);
    QImage decoded;
    EXPECT_FALSE(ReadPictureFile(m_second.file("temp2.bmp"), decoded));
}

TEST_F(UnitBlocksTest, OldestBmpBlockIsCheckedBeforeItIsKept)
{
    const Bytes bmp = DibToBmpBytes(BitmapToDib(pictureOf(5, 3), kBiRgb, 24));
    Bytes damaged = bmp;
    damaged[22] = 0xFF; // height far past the file
    damaged[25] = 0x7F;
    const std::string inside =
        "{BLK_UnitImage\nImageID=2\n{BLKImageBmp\n" + rawRun(bmp) + "}BLKImageBmp\n}BLK_UnitImage\n"
        "{BLK_UnitImage\nImageID=3\n{BLKImageBmp\n" + rawRun(damaged) + "}BLKImageBmp\n}BLK_UnitImage\n"
        "{BLK_UnitLine\nMLineID=2\n}BLK_UnitLine\n";
    CKovUnit unit;
    const Read r = read(unit, archiveOf(unitOf(inside)), m_loadCtx);
    ASSERT_EQ(r.ok, 1) << r.error.describe();
    ASSERT_EQ(unit.m_Images.GetSize(), 2);
    EXPECT_EQ(unit.m_Lines.GetSize(), 1);
    for (const auto& image : unit.m_Images)
        image->ExtractFile();
    Bytes stored;
    ASSERT_TRUE(ReadWholeFile(m_second.file("temp2.bmp"), stored));
    EXPECT_EQ(stored, bmp);
    EXPECT_FALSE(fs::exists(m_second.file("temp3.bmp")));
    ASSERT_EQ(m_loadCtx.warnings.size(), 1u);
    EXPECT_TRUE(anyWarningHas(m_loadCtx, "BLK_UnitImage #2（識別番号 3）: BLKImageBmp: BMP"));
}

TEST_F(UnitBlocksTest, MalformedUnitBlocksStopWithTheirPlace)
{
    struct Row { const char* name; std::string inside; int linesKept; const char* path; };
    const std::vector<Row> rows = {
        {"picture bytes without their run",
         "{BLK_UnitLine\n}BLK_UnitLine\n{BLK_UnitImage\n{BLKImagePng\nImageID=3\n}BLKImagePng\n}BLK_UnitImage\n", 1,
         "KovUnit/BLK_UnitImage/BLKImagePng"},
        {"end of another block",
         "{BLK_UnitLine\n}BLK_UnitLine\n{BLK_UnitLine\nMLineID=3\n}BLK_UnitText\n", 1, "KovUnit/BLK_UnitLine#2"},
        {"text font block cut short",
         "{BLK_UnitLine\n}BLK_UnitLine\n{BLK_UnitText\n{BLKMTextFontMenu\n", 1, "KovUnit/BLK_UnitText"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        UnitFileContext ctx{m_second.path(), false, {}, {}, {}};
        std::string body = unitOf(row.inside);
        if (std::string(row.name) == "text font block cut short")
            body = "{KovUnit\n" + row.inside;
        const Read r = read(unit, archiveOf(body), ctx);
        EXPECT_EQ(r.ok, 0);
        EXPECT_FALSE(r.error.ok());
        EXPECT_NE(r.error.blockPath.find(row.path), std::string::npos) << r.error.describe();
        EXPECT_EQ(unit.m_Lines.GetSize(), row.linesKept);
        EXPECT_EQ(unit.m_Images.GetSize(), 0);
    }
}

TEST_F(UnitBlocksTest, PictureBytesNeedAPictureFolder)
{
    const std::string inside = "{BLK_UnitImage\n{BLKImagePng\n" + rawRun(encoded(kPicturePng)) + "}BLKImagePng\n}BLK_UnitImage\n";
    auto ar = CArchive::forReading(archiveOf(unitOf(inside)));
    CKovUnit unit;
    ASSERT_TRUE(unit.FindStart(*ar, "KovUnit"));
    EXPECT_EQ(unit.Load(*ar, "KovUnit"), 0);
    EXPECT_EQ(unit.m_Images.GetSize(), 0);
}

TEST_F(UnitBlocksTest, UnreadablePictureFailsTheSaveAndSaysSo)
{
    CKovUnit unit;
    fillDrawing(unit, m_first.path());
    fs::remove(m_first.file("temp4.gif"));
    std::vector<std::string> shown;
    m_saveCtx.showMessage = [&](std::string_view m) { shown.emplace_back(m); };
    for (const bool oldForm : {false, true}) {
        SCOPED_TRACE(oldForm);
        m_saveCtx.oldPictureForm = oldForm;
        shown.clear();
        m_saveCtx.warnings.clear();
        EXPECT_EQ(write(unit, m_saveCtx).ok, 0);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], kPictureSaveFailedMessage);
        EXPECT_TRUE(anyWarningHas(m_saveCtx, "picture 4: "));
        EXPECT_TRUE(anyWarningHas(m_saveCtx, "temp4.gif"));
    }
}

TEST_F(UnitBlocksTest, OldFormWritesEveryPictureAsBmp)
{
    CKovUnit unit;
    fillDrawing(unit, m_first.path());
    m_saveCtx.oldPictureForm = true;
    const Written w = write(unit, m_saveCtx);
    ASSERT_EQ(w.ok, 1);
    EXPECT_FALSE(contains(w.bytes, "IMGImagetype"));
    EXPECT_FALSE(contains(w.bytes, "BLKImagePng"));
    EXPECT_FALSE(contains(w.bytes, "BLKImageJpg"));
    EXPECT_FALSE(contains(w.bytes, "BLKImageGif"));

    CKovUnit back;
    ASSERT_EQ(read(back, w.bytes, m_loadCtx).ok, 1);
    ASSERT_EQ(back.m_Images.GetSize(), 4);
    // Pictures with a transparent colour come back as PNGs that carry it; the others as BMPs.
    const int expected[] = {kPicturePng, kPictureBmp, kPicturePng, kPictureBmp};
    for (int i = 0; i < 4; ++i) {
        const CKovImage& image = *back.m_Images[i];
        EXPECT_EQ(image.IMGImagetype, expected[i]) << i;
        ASSERT_TRUE(image.ExtractFile());
        const fs::path file = PictureFileForType(image.ImageName, image.IMGImagetype);
        EXPECT_EQ(GetImageFileFormat(file), expected[i]) << i;
        EXPECT_EQ(GetImageFileWidth(file), 6) << i;
        EXPECT_EQ(GetImageFileHeight(file), 4) << i;
    }
    QImage gif;
    ASSERT_TRUE(ReadPictureFile(PictureFileForType(back.m_Images[2]->ImageName, kPicturePng), gif));
    EXPECT_EQ(qAlpha(gif.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(gif.pixel(5, 3)), 255);
}

TEST_F(UnitBlocksTest, EmptyingTheReadDrawingDeletesItsPictureFilesButNotForCopies)
{
    CKovUnit unit;
    fillDrawing(unit, m_first.path());
    const Written w = write(unit, m_saveCtx);
    CKovUnit back;
    ASSERT_EQ(read(back, w.bytes, m_loadCtx).ok, 1);
    const fs::path folder = m_second.path();
    CKovUnit::SetPictureFileRemover([folder](const CKovImage& image) { DeleteTempImageFiles(folder, image.ImageID); });
    for (const auto& image : back.m_Images)
        image->ExtractFile();

    CKovUnit copy;
    copy.CopyFrom(back);
    copy.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
    back.RemoveAllObjects(CKovUnit::REMOVE_DELETE_PICTURE_FILES);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 0);

    CKovUnit::SetPictureFileRemover({});
}
