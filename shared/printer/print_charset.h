// The 22 Latvian letters in the printers' and displays' character sets: a text (Unicode inside)
// becomes the bytes one printer or display type shows it with. Every other character goes as its
// Windows-1257 byte.
#pragma once

#include "print_devices.h"

#include <QString>

#include <string>

namespace print {

// KonvertetRindu: the text as the printer type's bytes (table A, downloaded letters or 1257).
std::string printerBytes(const PrinterType& type, const QString& text);
// KonvertetDisplejam: the text as the display type's bytes (table D, plain letters or 1257).
std::string displayBytes(const DisplayType& type, const QString& text);
// ConvertLatviesuBurtus: each Latvian letter replaced by its plain Latin letter of the same case.
QString plainLatvianLetters(const QString& text);

}  // namespace print
