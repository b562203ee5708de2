// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks) through libcrypto.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::string base64Encode(const std::uint8_t* data, std::size_t size);
inline std::string base64Encode(const std::vector<std::uint8_t>& data) { return base64Encode(data.data(), data.size()); }

// The decoded bytes, or nothing when the text is not Base64 (its length not a multiple of four,
// a character outside the alphabet, padding in the middle). Blanks and line breaks are skipped.
std::optional<std::vector<std::uint8_t>> base64Decode(std::string_view text);

}  // namespace platform
