// The file blocks of the drawing objects: one block per object, keys in a fixed order.

#include "model/Bmp.h"
#include "model/KovGroup.h"
#include "model/KovImage.h"
#include "model/KovLine.h"
#include "model/KovText.h"
#include "model/KovWall.h"
#include "model/PictureFiles.h"
#include "model/SettingsValues.h"
#include "model/UnitBlocks.h"
#include "platform/NumberText.h"

#include <QImage>

using kov::model::colourText;
using kov::model::parseColour;
using kov::platform::formatFixed;
using kov::platform::formatFixedD;
using kov::platform::parseDouble;
using kov::platform::parseInt;

namespace {

// Which picture-bytes block a picture's bytes came from.
enum PendingBlock { kNoBytes = 0, kBmp2Block, kPngBlock, kGifBlock, kJpgBlock, kOldBmpBlock };

constexpr std::string_view kFontBlock = "BLKMTextFontMenu";

// Figures' texts keep CR LF between lines in memory and TAB in files.
std::string textToStored(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\n')
            out.push_back('\t');
        else if (c != '\r')
            out.push_back(c);
    }
    return out;
}

std::string textFromStored(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\t')
            out += "\r\n";
        else
            out.push_back(c);
    }
    return out;
}

// "Y" of a point list: sets the last point's y; with no point yet the key is malformed.
void setLastY(CDbPointArray& points, std::string_view value, int& malformed)
{
    if (points.empty())
        ++malformed;
    else
        points.back().y = parseDouble(value);
}

} // namespace

// ---------------------------------------------------------------- figures

int CKovLine::WriteLineBlock(CArchive& ar, std::string_view block) const
{
    if (!WriteStart(ar, block) || !WriteDataInt(ar, "MLineID", MLineID))
        return 0;
    for (const CDbPoint& p : MLinePnt)
        if (!WriteDataFixedD(ar, "MLinePntX", p.x) || !WriteDataFixedD(ar, "MLinePntY", p.y))
            return 0;
    for (const double v : MLineParam)
        if (!WriteDataFixedD(ar, "MLineParam", v))
            return 0;
    return WriteDataInt(ar, "MLinebNakanuri", MLinebNakanuri) && WriteData(ar, "MLineColor", colourText(MLineColor))
        && WriteData(ar, "MLineNakaColor", colourText(MLineNakaColor))
        && WriteData(ar, "MLineNakaColor2", colourText(MLineNakaColor2))
        && WriteDataInt(ar, "MLineGradiation", MLineGradiation) && WriteDataInt(ar, "MLineAlpha", MLineAlpha)
        && WriteDataInt(ar, "MLinebHach", MLinebHach) && WriteDataInt(ar, "MLineHachT", MLineHachT)
        && WriteDataInt(ar, "MLinePattern", MLinePattern) && WriteDataInt(ar, "MLineLineT", MLineLineT)
        && WriteDataInt(ar, "MLineWide", MLineWide) && WriteDataInt(ar, "MLineTanten", MLineTanten)
        && WriteDataInt(ar, "MLineYaWide", MLineYaWide) && WriteDataInt(ar, "MLineType", MLineType)
        && WriteDataInt(ar, "MLineGrpID", MLineGrpID) && WriteDataInt(ar, "MLineLayer1", MLineLayer1)
        && WriteDataInt(ar, "MLineLayer2", MLineLayer2)
        // Only where set: every other figure keeps the bytes it always had.
        && (MLineNoOutline == 0 || WriteDataInt(ar, "MLineNoOutline", MLineNoOutline)) && WriteEnd(ar, block);
}

CDefFile::RD_STATUS CKovLine::OnReadStart(CArchive&, std::string_view)
{
    return RD_SKIP;
}

int CKovLine::OnReadData(std::string_view key, std::string_view value)
{
    if (keyIs(key, "MLinePntX")) {
        // Most figures have two to four points: one allocation for them.
        if (MLinePnt.empty())
            MLinePnt.reserve(4);
        MLinePnt.emplace_back(parseDouble(value), 0.0);
    } else if (keyIs(key, "MLinePntY"))
        setLastY(MLinePnt, value, m_malformedKeys);
    else if (keyIs(key, "MLineParam"))
        MLineParam.push_back(parseDouble(value));
    else if (keyIs(key, "MLineID"))
        MLineID = parseInt(value);
    else if (keyIs(key, "MLinebNakanuri"))
        MLinebNakanuri = parseInt(value);
    else if (keyIs(key, "MLineColor"))
        MLineColor = parseColour(value);
    else if (keyIs(key, "MLineNakaColor"))
        MLineNakaColor = parseColour(value);
    else if (keyIs(key, "MLineNakaColor2"))
        MLineNakaColor2 = parseColour(value);
    else if (keyIs(key, "MLineGradiation"))
        MLineGradiation = parseInt(value);
    else if (keyIs(key, "MLineAlpha"))
        MLineAlpha = parseInt(value);
    else if (keyIs(key, "MLinebHach"))
        MLinebHach = parseInt(value);
    else if (keyIs(key, "MLineHachT"))
        MLineHachT = parseInt(value);
    else if (keyIs(key, "MLinePattern"))
        MLinePattern = parseInt(value);
    else if (keyIs(key, "MLineLineT"))
        MLineLineT = parseInt(value);
    else if (keyIs(key, "MLineWide"))
        MLineWide = parseInt(value);
    else if (keyIs(key, "MLineTanten"))
        MLineTanten = parseInt(value);
    else if (keyIs(key, "MLineYaWide"))
        MLineYaWide = parseInt(value);
    else if (keyIs(key, "MLineType"))
        MLineType = parseInt(value);
    else if (keyIs(key, "MLineGrpID"))
        MLineGrpID = parseInt(value);
    else if (keyIs(key, "MLineLayer1"))
        MLineLayer1 = parseInt(value);
    else if (keyIs(key, "MLineLayer2"))
        MLineLayer2 = parseInt(value);
    else if (keyIs(key, "MLineNoOutline"))
        MLineNoOutline = parseInt(value) != 0 ? 1 : 0;
    return 1;
}

// ---------------------------------------------------------------- texts

int CKovText::WriteTextBlock(CArchive& ar, std::string_view block) const
{
    return WriteStart(ar, block) && MTextFontMenu.WriteBlock(ar, kFontBlock) && WriteDataInt(ar, "MTextID", MTextID)
        && WriteData(ar, "MTextstr", textToStored(MTextstr)) && WriteDataFixed(ar, "MTextpntX", MTextpnt.x)
        && WriteDataFixed(ar, "MTextpntY", MTextpnt.y) && WriteDataInt(ar, "MTextGrpID", MTextGrpID)
        && WriteDataInt(ar, "MTextLayer1", MTextLayer1) && WriteDataInt(ar, "MTextLayer2", MTextLayer2)
        && WriteDataInt(ar, "MTextHuchiFlg", MTextHuchiFlg)
        && WriteDataFixed(ar, "MTextHuchiAtsumi", MTextHuchiAtsumi)
        && WriteDataInt(ar, "MTextHuchiType", MTextHuchiType) && WriteDataInt(ar, "MTextHuchiKeij", MTextHuchiKeij)
        && WriteDataInt(ar, "MTextAlpha", MTextAlpha) && WriteEnd(ar, block);
}

CDefFile::RD_STATUS CKovText::OnReadStart(CArchive& ar, std::string_view block)
{
    if (keyIs(block, kFontBlock))
        return MTextFontMenu.Load(ar, block) ? RD_READ : RD_FAILED;
    return RD_SKIP;
}

int CKovText::OnReadData(std::string_view key, std::string_view value)
{
    if (keyIs(key, "MTextID"))
        MTextID = parseInt(value);
    else if (keyIs(key, "MTextstr"))
        MTextstr = textFromStored(value);
    else if (keyIs(key, "MTextpntX"))
        MTextpnt.x = parseDouble(value);
    else if (keyIs(key, "MTextpntY"))
        MTextpnt.y = parseDouble(value);
    else if (keyIs(key, "MTextGrpID"))
        MTextGrpID = parseInt(value);
    else if (keyIs(key, "MTextLayer1"))
        MTextLayer1 = parseInt(value);
    else if (keyIs(key, "MTextLayer2"))
        MTextLayer2 = parseInt(value);
    else if (keyIs(key, "MTextHuchiFlg"))
        MTextHuchiFlg = parseInt(value);
    else if (keyIs(key, "MTextHuchiAtsumi"))
        MTextHuchiAtsumi = parseDouble(value);
    else if (keyIs(key, "MTextHuchiType"))
        MTextHuchiType = parseInt(value);
    else if (keyIs(key, "MTextHuchiKeij"))
        MTextHuchiKeij = parseInt(value);
    else if (keyIs(key, "MTextAlpha"))
        MTextAlpha = parseInt(value);
    return 1;
}

// ---------------------------------------------------------------- walls

int CKovWall::WriteWallBlock(CArchive& ar, std::string_view block) const
{
    std::string corners;
    for (std::size_t i = 0; i < MWallPntKado.size(); ++i) {
        if (i)
            corners += ',';
        corners += formatFixed(MWallPntKado[i].x);
        corners += ',';
        corners += formatFixed(MWallPntKado[i].y);
    }
    if (!(WriteStart(ar, block) && WriteDataInt(ar, "MWallID", MWallID)
          && WriteDataFixed(ar, "MWallPntAX", MWallPntA.x) && WriteDataFixed(ar, "MWallPntAY", MWallPntA.y)
          && WriteDataFixed(ar, "MWallPntBX", MWallPntB.x) && WriteDataFixed(ar, "MWallPntBY", MWallPntB.y)
          && WriteData(ar, "MWallPntKado", corners)))
        return 0;
    for (const CDbPoint& p : MWallarPntA)
        if (!WriteDataFixed(ar, "MWallarPntAX", p.x) || !WriteDataFixed(ar, "MWallarPntAY", p.y))
            return 0;
    for (const CDbPoint& p : MWallarPntB)
        if (!WriteDataFixed(ar, "MWallarPntBX", p.x) || !WriteDataFixed(ar, "MWallarPntBY", p.y))
            return 0;
    return WriteDataInt(ar, "MWallGrpID", MWallGrpID) && WriteDataFixed(ar, "MWallWide1", MWallWide1)
        && WriteDataFixed(ar, "MWallWide2", MWallWide2) && WriteDataInt(ar, "MWallType", MWallType)
        && WriteDataInt(ar, "MWall_Type", MWall_Type) && WriteDataInt(ar, "MHasiraType", MHasiraType)
        && WriteDataInt(ar, "MWallLayer1", MWallLayer1) && WriteDataInt(ar, "MWallLayer2", MWallLayer2)
        && WriteEnd(ar, block);
}

CDefFile::RD_STATUS CKovWall::OnReadStart(CArchive&, std::string_view)
{
    return RD_SKIP;
}

int CKovWall::OnReadData(std::string_view key, std::string_view value)
{
    // A wall's outline has four edges unless joining cut it: one allocation for them.
    if (keyIs(key, "MWallarPntAX")) {
        if (MWallarPntA.empty())
            MWallarPntA.reserve(4);
        MWallarPntA.emplace_back(parseDouble(value), 0.0);
    } else if (keyIs(key, "MWallarPntAY"))
        setLastY(MWallarPntA, value, m_malformedKeys);
    else if (keyIs(key, "MWallarPntBX")) {
        if (MWallarPntB.empty())
            MWallarPntB.reserve(4);
        MWallarPntB.emplace_back(parseDouble(value), 0.0);
    } else if (keyIs(key, "MWallarPntBY"))
        setLastY(MWallarPntB, value, m_malformedKeys);
    else if (keyIs(key, "MWallID"))
        MWallID = parseInt(value);
    else if (keyIs(key, "MWallPntAX"))
        MWallPntA.x = parseDouble(value);
    else if (keyIs(key, "MWallPntAY"))
        MWallPntA.y = parseDouble(value);
    else if (keyIs(key, "MWallPntBX"))
        MWallPntB.x = parseDouble(value);
    else if (keyIs(key, "MWallPntBY"))
        MWallPntB.y = parseDouble(value);
    else if (keyIs(key, "MWallPntKado")) {
        // Eight numbers cut at commas; missing ones are 0, anything after an eighth comma is ignored.
        double v[8] = {};
        std::size_t start = 0;
        for (int i = 0; i < 8 && start <= value.size(); ++i) {
            const std::size_t comma = value.find(',', start);
            const std::size_t end = comma == std::string_view::npos ? value.size() : comma;
            v[i] = parseDouble(value.substr(start, end - start));
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
        for (int i = 0; i < 4; ++i)
            MWallPntKado[static_cast<std::size_t>(i)] = CDbPoint(v[2 * i], v[2 * i + 1]);
    } else if (keyIs(key, "MWallGrpID"))
        MWallGrpID = parseInt(value);
    else if (keyIs(key, "MWallWide1"))
        MWallWide1 = parseDouble(value);
    else if (keyIs(key, "MWallWide2"))
        MWallWide2 = parseDouble(value);
    else if (keyIs(key, "MWallType"))
        MWallType = parseInt(value);
    else if (keyIs(key, "MWall_Type"))
        MWall_Type = parseInt(value);
    else if (keyIs(key, "MHasiraType"))
        MHasiraType = parseInt(value);
    else if (keyIs(key, "MWallLayer1"))
        MWallLayer1 = parseInt(value);
    else if (keyIs(key, "MWallLayer2"))
        MWallLayer2 = parseInt(value);
    return 1;
}

// ---------------------------------------------------------------- groups

int CKovGroup::WriteGroupBlock(CArchive& ar, std::string_view block) const
{
    if (!(WriteStart(ar, block) && WriteDataInt(ar, "MGrpID", MGrpID) && WriteDataFixed(ar, "MGrpminX", MGrpmin.x)
          && WriteDataFixed(ar, "MGrpminY", MGrpmin.y) && WriteDataFixed(ar, "MGrpmaxX", MGrpmax.x)
          && WriteDataFixed(ar, "MGrpmaxY", MGrpmax.y) && WriteDataFixed(ar, "MGrpKakudo", MGrpKakudo)))
        return 0;
    for (const int id : MGrpWallID)
        if (!WriteDataInt(ar, "MGrpWallID", id))
            return 0;
    for (const int id : MGrpLineID)
        if (!WriteDataInt(ar, "MGrpLineID", id))
            return 0;
    for (const int id : MGrpTextID)
        if (!WriteDataInt(ar, "MGrpTextID", id))
            return 0;
    return WriteDataInt(ar, "MGrpLayer1", MGrpLayer1) && WriteDataInt(ar, "MGrpLayer2", MGrpLayer2)
        && WriteDataInt(ar, "MGrpRoom", MGrpRoom) && WriteEnd(ar, block);
}

CDefFile::RD_STATUS CKovGroup::OnReadStart(CArchive&, std::string_view)
{
    return RD_SKIP;
}

int CKovGroup::OnReadData(std::string_view key, std::string_view value)
{
    if (keyIs(key, "MGrpWallID"))
        MGrpWallID.push_back(parseInt(value));
    else if (keyIs(key, "MGrpLineID"))
        MGrpLineID.push_back(parseInt(value));
    else if (keyIs(key, "MGrpTextID"))
        MGrpTextID.push_back(parseInt(value));
    else if (keyIs(key, "MGrpID"))
        MGrpID = parseInt(value);
    else if (keyIs(key, "MGrpminX"))
        MGrpmin.x = parseDouble(value);
    else if (keyIs(key, "MGrpminY"))
        MGrpmin.y = parseDouble(value);
    else if (keyIs(key, "MGrpmaxX"))
        MGrpmax.x = parseDouble(value);
    else if (keyIs(key, "MGrpmaxY"))
        MGrpmax.y = parseDouble(value);
    else if (keyIs(key, "MGrpKakudo"))
        MGrpKakudo = parseDouble(value);
    else if (keyIs(key, "MGrpLayer1"))
        MGrpLayer1 = parseInt(value);
    else if (keyIs(key, "MGrpLayer2"))
        MGrpLayer2 = parseInt(value);
    else if (keyIs(key, "MGrpRoom"))
        MGrpRoom = parseInt(value);
    return 1;
}

// ---------------------------------------------------------------- pictures

namespace {

// The save stops: a drawing written without one of its pictures must not pass for a whole one.
int reportUnreadable(UnitFileContext& ctx, const CKovImage& image, const std::filesystem::path& file,
                     const std::string& why)
{
    if (ctx.showMessage)
        ctx.showMessage(kPictureSaveFailedMessage);
    ctx.warnings.push_back("picture " + std::to_string(image.ImageID) + ": " + file.string() + ": " + why);
    return 0;
}

bool writeBytesBlock(const CDefFile& owner, CArchive& ar, std::string_view block, const std::vector<std::uint8_t>& bytes)
{
    return owner.WriteStart(ar, block) && ar.WriteRaw(bytes) && owner.WriteEnd(ar, block);
}

} // namespace

int CKovImage::WriteImageBlock(CArchive& ar, std::string_view block, UnitFileContext& ctx) const
{
    // The stored name carries no folder: readers take a fresh temporary name anyway, and a drawing
    // then saves the same wherever its pictures were kept.
    const std::filesystem::path bmpName =
        ImageName.empty() ? TempImagePath(ctx.pictureFolder, ImageID) : std::filesystem::path(ImageName);
    if (!(WriteStart(ar, block) && WriteData(ar, "ImageName", bmpName.filename().string())
          && WriteDataFixed(ar, "OffsetX", OffsetX) && WriteDataFixed(ar, "OffsetY", OffsetY)
          && WriteDataFixed(ar, "ImageWidth", ImageWidth) && WriteDataFixed(ar, "ImageHeight", ImageHeight)
          && WriteDataInt(ar, "ImageID", ImageID) && WriteDataInt(ar, "IMGLayer1", IMGLayer1)
          && WriteDataInt(ar, "IMGLayer2", IMGLayer2) && WriteDataInt(ar, "IMGImagegifflg", IMGImagegifflg)
          && WriteData(ar, "IMGImagegifcol", colourText(IMGImagegifcol))
          && WriteDataFixed(ar, "BLKImagekakudo", BLKImagekakudo)))
        return 0;

    const bool notBmp = IMGImagetype == kPictureJpeg || IMGImagetype == kPicturePng || IMGImagetype == kPictureGif;
    const std::filesystem::path file = notBmp ? PictureFileForType(bmpName, IMGImagetype) : bmpName;
    // Bytes still waiting in memory since the read are the file's: no file is written to be read back.
    const std::shared_ptr<const std::vector<std::uint8_t>> waiting = PendingFileBytes();
    std::vector<std::uint8_t> read;
    auto fileBytes = [&]() -> const std::vector<std::uint8_t>* {
        if (waiting)
            return waiting.get();
        return ReadWholeFile(file, read) ? &read : nullptr;
    };

    if (ctx.oldPictureForm) {
        // Readers of this form know only BMP: every other picture goes as a 32-bit BMP, one with a
        // transparent colour too (the colour travels in its own keys).
        std::vector<std::uint8_t> bmp;
        const std::vector<std::uint8_t>* bytes = nullptr;
        if (notBmp) {
            QImage image;
            std::string why;
            const std::vector<std::uint8_t>* source = fileBytes();
            if (!source)
                return reportUnreadable(ctx, *this, file, "cannot be read");
            if (!ReadPictureBytes(*source, image, &why))
                return reportUnreadable(ctx, *this, file, why);
            bmp = EncodeBmp32(image);
            if (bmp.empty())
                return reportUnreadable(ctx, *this, file, "cannot be written as BMP");
            bytes = &bmp;
        } else if (!(bytes = fileBytes())) {
            return reportUnreadable(ctx, *this, file, "cannot be read");
        }
        return writeBytesBlock(*this, ar, "BLKImageBmp2", *bytes) && WriteEnd(ar, block);
    }

    if (!WriteDataInt(ar, "IMGImagetype", IMGImagetype))
        return 0;
    std::string_view bytesBlock;
    switch (IMGImagetype) {
    case kPictureOther:
    case kPictureBmp: bytesBlock = "BLKImageBmp2"; break;
    case kPicturePng: bytesBlock = "BLKImagePng"; break;
    case kPictureGif: bytesBlock = "BLKImageGif"; break;
    case kPictureJpeg: bytesBlock = "BLKImageJpg"; break;
    default: return WriteEnd(ar, block); // an unknown type has no bytes to store
    }
    const std::vector<std::uint8_t>* bytes = fileBytes();
    if (!bytes)
        return reportUnreadable(ctx, *this, file, "cannot be read");
    return writeBytesBlock(*this, ar, bytesBlock, *bytes) && WriteEnd(ar, block);
}

CDefFile::RD_STATUS CKovImage::OnReadStart(CArchive& ar, std::string_view block)
{
    int kind = kNoBytes;
    if (keyIs(block, "BLKImageBmp2"))
        kind = kBmp2Block;
    else if (keyIs(block, "BLKImagePng"))
        kind = kPngBlock;
    else if (keyIs(block, "BLKImageGif"))
        kind = kGifBlock;
    else if (keyIs(block, "BLKImageJpg"))
        kind = kJpgBlock;
    else if (keyIs(block, "BLKImageBmp"))
        kind = kOldBmpBlock;
    else
        return RD_SKIP;
    if (kind == kOldBmpBlock) {
        // The oldest form holds the BMP as the DIB reader takes it; it is kept only once checked.
        CDib dib;
        if (dib.ExchangeArchive(ar)) {
            m_pendingBytes = dib.WriteBmpBytes();
            m_pendingBlock = kind;
        } else if (!ar.error().ok()) {
            return RD_FAILED;
        } else {
            m_pendingError = "BLKImageBmp: " + dib.lastError();
        }
        return RD_SKIP;
    }
    if (!ar.ReadRaw(m_pendingBytes))
        return RD_FAILED;
    m_pendingBlock = kind;
    return RD_SKIP;
}

int CKovImage::OnReadData(std::string_view key, std::string_view value)
{
    if (keyIs(key, "ImageID"))
        ImageID = parseInt(value);
    else if (keyIs(key, "ImageName"))
        ImageName = std::string(value);
    else if (keyIs(key, "OffsetX"))
        OffsetX = parseDouble(value);
    else if (keyIs(key, "OffsetY"))
        OffsetY = parseDouble(value);
    else if (keyIs(key, "ImageWidth"))
        ImageWidth = parseDouble(value);
    else if (keyIs(key, "ImageHeight"))
        ImageHeight = parseDouble(value);
    else if (keyIs(key, "IMGLayer1"))
        IMGLayer1 = parseInt(value);
    else if (keyIs(key, "IMGLayer2"))
        IMGLayer2 = parseInt(value);
    else if (keyIs(key, "IMGImagegifflg"))
        IMGImagegifflg = parseInt(value);
    else if (keyIs(key, "IMGImagegifcol"))
        IMGImagegifcol = parseColour(value);
    else if (keyIs(key, "IMGImagetype"))
        IMGImagetype = parseInt(value);
    else if (keyIs(key, "BLKImagekakudo"))
        BLKImagekakudo = parseDouble(value);
    return 1;
}

int CKovImage::FinishRead(const std::filesystem::path& pictureFolder, std::string& error,
                          std::unordered_set<long long>* taken)
{
    if (m_pendingBlock == kNoBytes) {
        // The stored name is never a path to open: a crafted one would make every save embed that
        // file, and every draw read it. Without bytes the picture's file is the one of its identifier.
        ImageName = TempImagePath(pictureFolder, ImageID).string();
    }
    if (!m_pendingError.empty()) {
        error = std::move(m_pendingError);
        m_pendingError.clear();
        return 0;
    }
    if (m_pendingBlock == kNoBytes)
        return 1;
    const int block = m_pendingBlock;
    std::vector<std::uint8_t> bytes = std::move(m_pendingBytes);
    m_pendingBytes.clear();
    m_pendingBlock = kNoBytes;

    // The bytes block says what the bytes are; a type key that disagrees would name a file that
    // does not exist.
    switch (block) {
    case kPngBlock: IMGImagetype = kPicturePng; break;
    case kGifBlock: IMGImagetype = kPictureGif; break;
    case kJpgBlock: IMGImagetype = kPictureJpeg; break;
    default:
        if (IMGImagetype != kPictureOther && IMGImagetype != kPictureBmp)
            IMGImagetype = kPictureBmp;
        break;
    }
    const std::filesystem::path bmpName =
        taken ? MakeTempImageName(pictureFolder, ImageID, *taken) : MakeTempImageName(pictureFolder, ImageID);
    ImageName = bmpName.string();
    const std::filesystem::path file = PictureFileForType(bmpName, IMGImagetype);
    if (block == kPngBlock)
        IMGImagegifflg = 0; // the PNG holds its own transparency
    // A picture that declares more than may be decoded keeps its bytes (a save writes them again)
    // but is neither converted nor drawn; the user is told why.
    const std::string problem = PictureBytesProblem(bytes);
    if (!problem.empty()) {
        KeepFileBytes(std::move(bytes), pictureFolder);
        error = problem;
        return 0;
    }
    const bool transparentBmp = (block == kBmp2Block || block == kOldBmpBlock) && IMGImagegifflg != 0;
    if (!transparentBmp) {
        // Nothing reads the file yet: it is written when the picture is first needed as a file.
        KeepFileBytes(std::move(bytes), pictureFolder);
        return 1;
    }
    if (!WriteWholeFile(file, bytes.data(), bytes.size())) {
        error = "cannot write " + file.string();
        return 0;
    }
    // Drawing needs the transparency in the picture itself: a PNG beside the BMP carries it.
    if (!ConvertToTransparentPng(file, PictureFileForType(bmpName, kPicturePng), IMGImagegifcol, 0, 0, 0, 0, false)) {
        error = "cannot make the transparent picture from " + file.string();
        return 0; // the BMP stays, drawn without its transparent colour
    }
    IMGImagetype = kPicturePng;
    return 1;
}
