#pragma once

// GIF encoding through giflib (Qt reads GIF but cannot write it); SavePictureFile writes the file.

#include <cstdint>
#include <string>
#include <vector>

class QImage;

// One GIF89a frame. Pictures of at most 256 colours (255 with transparency) keep their colours
// exactly; larger ones are reduced to a colour cube with dithering. Pixels less than half opaque
// become the transparent index. Empty with `error` set on failure.
std::vector<std::uint8_t> EncodeGif(const QImage& image, std::string* error = nullptr);
