#include "model/KovImage.h"

DeviceRect CKovImage::DeviceRectFor(const DeviceTransform&) const { return {}; }

void CKovImage::DrawImageObject(kov::platform::Surface&, int, int, int, int, bool, const DeviceTransform&) const {}

std::string CKovImage::DrawnFileName() const { return ImageName; }
