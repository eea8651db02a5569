#pragma once

// Pieces of the picture drawer (CKovImage::DrawImageObject): loading a picture file, fitting it into
// the device rectangle and turning it by a free angle.

#include "model/DrawTransform.h"
#include "platform/Surface.h"

#include <QImage>

#include <array>
#include <filesystem>

namespace kov::render {

// The file's pixels as stored (an orientation tag is not applied); null when it cannot be read.
QImage LoadPictureFile(const std::filesystem::path& file);

struct PictureFit {
    long long width = 0;
    long long height = 0;
};
// The largest size of the picture's proportions within width × height (integer arithmetic, 64
// bits); 0 × 0 for an empty picture or rectangle.
PictureFit FitPicture(long long pictureWidth, long long pictureHeight, long long width, long long height);

// Top-left, top-right and bottom-left corners of the fitted picture turned clockwise by the angle,
// the middle of its top-right to bottom-left diagonal at the rectangle's centre.
std::array<platform::DevicePoint, 3> TurnedPictureCorners(const DeviceRect& rect, long long fittedWidth,
                                                          long long fittedHeight, double angleDegrees);

} // namespace kov::render
