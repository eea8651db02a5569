#pragma once

// GIF writing through giflib (Qt reads GIF but cannot write it).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class QImage;

// One GIF89a frame. Pictures of at most 256 colours (255 with transparency) keep their colours
// exactly; larger ones are reduced to a colour cube with dithering. Pixels less than half opaque
// become the transparent index. Empty with `error` set on failure.
std::vector<std::uint8_t> EncodeGif(const QImage& image, std::string* error = nullptr);
bool WriteGifFile(const QImage& image, const std::filesystem::path& file, std::string* error = nullptr);
