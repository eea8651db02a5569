#pragma once

// A picture placed and sized in paper millimetres about its centre. Its bytes live in a temporary
// file named after its identifier (after a read, in memory until the file is first needed). Fields carry the names of their stored keys.

#include "model/DefFile.h"
#include "model/DrawTransform.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <string>
#include <vector>

struct UnitFileContext;

// The bytes a picture was read with, kept in memory until something needs its temporary file: a
// drawing of thousands of pictures opens without writing thousands of files that nothing reads yet.
// While the file is unwritten its number stays held in the folder (HoldTempImageNumber), so no other
// picture takes the name. Shared by every copy of the picture (undo copies share the name too).
class PendingPictureFile {
public:
    PendingPictureFile(std::vector<std::uint8_t> bytes, std::filesystem::path file, std::filesystem::path folder,
                       long long number);
    ~PendingPictureFile();
    PendingPictureFile(const PendingPictureFile&) = delete;
    PendingPictureFile& operator=(const PendingPictureFile&) = delete;

    const std::filesystem::path& file() const { return m_file; }
    // The bytes while the file is unwritten, else null.
    std::shared_ptr<const std::vector<std::uint8_t>> bytes() const;
    // Writes the file the first time; true when it is there. The bytes then leave memory.
    bool write();

private:
    void release(); // under the lock
    mutable std::mutex m_mutex;
    std::shared_ptr<const std::vector<std::uint8_t>> m_bytes;
    const std::filesystem::path m_file, m_folder;
    const long long m_number;
    bool m_held = true;
    bool m_written = false;
};

class CKovImage : public CDefFile {
public:
    int ImageID = 1;                       // picture identifier; names its temporary files
    std::string ImageName;                 // temporary file path, always ending ".bmp"
    double OffsetX = 0.0;                  // centre, paper mm from the drawing origin
    double OffsetY = 0.0;
    double ImageWidth = 50.0;              // paper mm
    double ImageHeight = 50.0;
    int IMGLayer1 = 0;                     // layer group
    int IMGLayer2 = 0;                     // layer
    int IMGImagegifflg = 0;                // 1: the transparent colour is drawn transparent
    std::uint32_t IMGImagegifcol = 0;      // that colour
    int IMGImagetype = 4;                  // 1 JPEG, 2 PNG, 3 GIF, 4 BMP (PictureFiles.h); 0 is taken as BMP
    double BLKImagekakudo = 0.0;           // rotation, degrees (clockwise on the screen)
    // Set by every draw pass; not stored, not copied, and not part of the drawing: mutable, so that
    // drawing never gives the live drawing its own copy of a picture an undo snapshot shares.
    mutable DeviceRect m_rcDrawn;

    CKovImage() = default;
    // Copies every stored field; the drawn rectangle starts at 0 until the copy is drawn.
    CKovImage(const CKovImage& o) : CDefFile(o) { assignStored(o); }
    CKovImage& operator=(const CKovImage& o)
    {
        if (this != &o)
            assignStored(o);
        return *this;
    }
    ~CKovImage() override = default;

    void CopyFrom(const CKovImage& o) { *this = o; }

    // The picture's file for its type written now when it still waits in memory (see
    // PendingPictureFile); true when nothing waits or the file was written. Every reader of the
    // file by its name calls it first.
    bool ExtractFile() const;
    // The bytes of the picture's file for its type while they still wait in memory, else null.
    std::shared_ptr<const std::vector<std::uint8_t>> PendingFileBytes() const;
    // For code that moves or replaces the file under a new name: what waited in memory is written
    // under the old name first and then forgotten.
    void SettleFile();
    // The bytes of the file of the picture's name and type, kept in memory until the file is needed;
    // its number held in `folder` meanwhile.
    void KeepFileBytes(std::vector<std::uint8_t> bytes, const std::filesystem::path& folder);
    // A picture moves in paper millimetres: the caller converts.
    void MoveBy(double dx, double dy)
    {
        OffsetX += dx;
        OffsetY += dy;
    }

    // The ".bmp" path of the first identifier from inOutId upwards for which no "temp<N>.*" exists in
    // the folder, with any extension; inOutId is advanced to it. An identifier below 1 counts as 1;
    // the search wraps to 1 past the largest int. (PictureFiles.cpp)
    static std::filesystem::path MakeTempImageName(const std::filesystem::path& folder, int& inOutId);
    // The same against numbers already gathered (TempImageNumbersIn); the number given out is added
    // to them, so that a read of many pictures lists the folder once.
    static std::filesystem::path MakeTempImageName(const std::filesystem::path& folder, int& inOutId,
                                                   std::unordered_set<long long>& taken);

    // -- drawing (begin)
    // The device rectangle of the picture at the transform's paper scale, about its centre; the
    // layer group's drawing scale plays no part. The passes store it in m_rcDrawn before drawing.
    DeviceRect DeviceRectFor(const DeviceTransform& transform) const;
    // Draws the picture's file (the temporary name with the extension of its type) fitted into the
    // rectangle without distortion: quarter turns turn the picture first, other angles turn the
    // fitted picture about the rectangle's centre. A missing or undecodable file draws nothing.
    // The file's own orientation tag is not applied.
    void DrawImageObject(kov::platform::Surface& dc, int left, int top, int right, int bottom, bool output,
                         const DeviceTransform& transform) const;
    // The path of the file drawn for the picture's type.
    std::string DrawnFileName() const;
    // -- drawing (end)

    // -- file blocks (begin)
    // The picture block with its bytes, in the form ctx asks for. 0 at the first failing write or
    // when the picture's temporary file cannot be read (reported in ctx).
    int WriteImageBlock(CArchive& ar, std::string_view block, UnitFileContext& ctx) const;
    // After the block is read: writes the bytes it held to the first free temporary name from the
    // identifier upwards (the identifier moves with it), so the file matches the identifier whatever
    // the order of keys. Without bytes the name becomes the temporary name of the identifier: a
    // stored name is never kept as a path. 0 with `error` set when the picture is left without a
    // usable file; the picture itself is still sound.
    // `taken`, when given, holds the folder's taken numbers (see MakeTempImageName).
    int FinishRead(const std::filesystem::path& pictureFolder, std::string& error,
                   std::unordered_set<long long>* taken = nullptr);
    bool HasPendingBytes() const { return m_pendingBlock != 0; }

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

private:
    // Bytes of the picture-bytes block read, kept until the picture block ends; not copied.
    std::vector<std::uint8_t> m_pendingBytes;
    int m_pendingBlock = 0; // which bytes block they came from (ObjectBlocks.cpp)
    std::string m_pendingError;
    // After the read: the file's bytes until the file is needed; copies share it.
    std::shared_ptr<PendingPictureFile> m_pendingFile;
    // The waiting bytes when they are those of the file the picture's name and type give.
    PendingPictureFile* pendingForFile() const;

public:
    // -- file blocks (end)

private:
    void assignStored(const CKovImage& o)
    {
        ImageID = o.ImageID;
        ImageName = o.ImageName;
        OffsetX = o.OffsetX;
        OffsetY = o.OffsetY;
        ImageWidth = o.ImageWidth;
        ImageHeight = o.ImageHeight;
        IMGLayer1 = o.IMGLayer1;
        IMGLayer2 = o.IMGLayer2;
        IMGImagegifflg = o.IMGImagegifflg;
        IMGImagegifcol = o.IMGImagegifcol;
        IMGImagetype = o.IMGImagetype;
        BLKImagekakudo = o.BLKImagekakudo;
        m_pendingFile = o.m_pendingFile;
    }
};
