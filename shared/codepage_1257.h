// Windows-1257 (Baltic) bytes to and from Unicode text, one byte per character, for every edge
// that stores or sends Latvian text as 8-bit code page bytes (fiscal records, printer, files).
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace cp1257 {

// One character to its byte; a character the code page lacks becomes '?'.
char fromUnicode(char16_t ch);
// One byte to its character. The twelve bytes the code page leaves undefined come back as the
// character of the same value, so any byte string survives a round trip.
char16_t toUnicode(unsigned char byte);

}  // namespace cp1257

// Text to Windows-1257 bytes: one byte per character (a pair of surrogates is one character),
// unmappable characters as '?'. The byte count is the width that fixed-width records count.
std::string toCp1257(const QString& text);
QString fromCp1257(std::string_view bytes);
