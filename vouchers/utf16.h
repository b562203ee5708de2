// UTF-16 texts of the exports to and from the UTF-8 of the wire.
#pragma once

#include <string>
#include <string_view>

namespace razevedu {

std::string toUtf8(std::u16string_view text);
// Malformed UTF-8 becomes U+FFFD, one per bad byte.
std::u16string toUtf16(std::string_view text);

}  // namespace razevedu
