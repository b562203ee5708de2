#include "logo_jpeg.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// libjpeg reports errors through a callback that must not return: jump back to the caller.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1); }
void onMessage(j_common_ptr) {}

bool readsAsJpeg(const QByteArray& bytes) {
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = onError;
    trap.manager.output_message = onMessage;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    const bool ok = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
    jpeg_destroy_decompress(&info);
    return ok;
}

std::optional<QByteArray> compressed(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    ErrorTrap trap{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = onError;
    trap.manager.output_message = onMessage;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return std::nullopt;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

}  // namespace

std::optional<QByteArray> LogoJpeg(const QString& file) {
    const QString extension = QFileInfo(file).suffix().toLower();
    QFile picture(file);
    if (!picture.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = picture.readAll();
    if (extension == u"jpg" || extension == u"jpeg") {
        if (readsAsJpeg(bytes)) return bytes;
        return std::nullopt;
    }
    if (extension == u"bmp") {
        QImage image;
        if (!image.loadFromData(bytes, "BMP") || image.isNull()) return std::nullopt;
        return compressed(image);
    }
    return std::nullopt;
}
