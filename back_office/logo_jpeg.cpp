#include "logo_jpeg.h"

#include "jpeg_image.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

std::optional<QByteArray> LogoJpeg(const QString& file) {
    const QString extension = QFileInfo(file).suffix().toLower();
    QFile picture(file);
    if (!picture.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = picture.readAll();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (extension == u"jpg" || extension == u"jpeg") {
        if (platform::jpegHeaderReads(data, std::size_t(bytes.size()))) return bytes;
        return std::nullopt;
    }
    if (extension == u"bmp") {
        QImage image;
        if (!image.loadFromData(bytes, "BMP") || image.isNull()) return std::nullopt;
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        platform::RgbImage pixels{rgb.width(), rgb.height(), {}};
        pixels.rgb.reserve(std::size_t(rgb.width()) * std::size_t(rgb.height()) * 3);
        for (int y = 0; y < rgb.height(); ++y)  // QImage pads its rows to 4 bytes
            pixels.rgb.insert(pixels.rgb.end(), rgb.constScanLine(y), rgb.constScanLine(y) + std::size_t(rgb.width()) * 3);
        const auto jpeg = platform::encodeJpeg(pixels);
        if (!jpeg) return std::nullopt;
        return QByteArray(reinterpret_cast<const char*>(jpeg->data()), qsizetype(jpeg->size()));
    }
    return std::nullopt;
}
