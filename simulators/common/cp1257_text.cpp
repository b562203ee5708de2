#include "cp1257_text.h"

#include <iconv.h>

namespace sim {

std::string utf8OfCp1257(std::uint8_t byte) {
    iconv_t cd = ::iconv_open("UTF-8", "CP1257");
    if (cd == iconv_t(-1)) return "?";
    char in[1] = {char(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    const std::size_t r = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    ::iconv_close(cd);
    return r == std::size_t(-1) ? "?" : std::string(out, outPtr);
}

}  // namespace sim
