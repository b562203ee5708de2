// JPEG pictures through libjpeg: decoded into 8-bit RGB rows, a header checked, RGB rows compressed
// with the library's default settings. libjpeg's own error handler ends the process; here a
// damaged picture is an answer (none), not the end of the program.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * 3 bytes a row, top row first
};

std::optional<RgbImage> decodeJpeg(const std::uint8_t* data, std::size_t size);
// Whether the bytes begin with a header libjpeg reads as a JPEG stream's.
bool jpegHeaderReads(const std::uint8_t* data, std::size_t size);
// The picture as a JPEG stream made with libjpeg's default settings; none when it has no pixels.
std::optional<std::vector<std::uint8_t>> encodeJpeg(const RgbImage& image);

}  // namespace platform
