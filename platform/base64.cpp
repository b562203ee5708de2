#include "base64.h"

#include <openssl/evp.h>

namespace platform {

std::string base64Encode(const std::uint8_t* data, std::size_t size) {
    std::string out(4 * ((size + 2) / 3) + 1, '\0');
    const int n = ::EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), data, int(size));
    out.resize(std::size_t(n));
    return out;
}

std::optional<std::vector<std::uint8_t>> base64Decode(std::string_view text) {
    std::string clean;
    clean.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n' && c != ' ' && c != '\t') clean.push_back(c);
    if (clean.size() % 4 != 0) return std::nullopt;
    const auto firstPad = clean.find('=');
    if (firstPad != std::string::npos && (firstPad + 2 < clean.size() || clean.find_first_not_of('=', firstPad) != std::string::npos))
        return std::nullopt;
    std::vector<std::uint8_t> out(clean.size() / 4 * 3);
    const int n = ::EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(clean.data()), int(clean.size()));
    if (n < 0) return std::nullopt;
    // EVP_DecodeBlock decodes the padding as zero bytes and counts them: take them off again.
    const std::size_t padding = firstPad == std::string::npos ? 0 : clean.size() - firstPad;
    out.resize(std::size_t(n) - padding);
    return out;
}

}  // namespace platform
