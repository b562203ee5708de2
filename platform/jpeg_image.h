// JPEG pictures decoded through libjpeg into 8-bit RGB rows. libjpeg's own error handler ends the
// process; here a damaged picture is an answer (none), not the end of the program.
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

}  // namespace platform
