// A till's screen logo as the JPEG stream its settings row stores, made from the picture file
// chosen for the till: the format is chosen by the file's extension, as a picture loader does.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A JPEG file (".jpg", ".jpeg") passes byte for byte once its header reads as a JPEG; a bitmap
// (".bmp") is compressed with the JPEG library's default settings. Anything else, a file that
// cannot be read or a picture that does not decode: no logo.
std::optional<QByteArray> LogoJpeg(const QString& file);
