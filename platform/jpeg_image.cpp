#include "jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace platform {
namespace {

// The error manager: libjpeg calls error_exit on any fault and expects it not to return; it
// jumps back to the caller, which gives up on the picture.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

void leave(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1); }
void quiet(j_common_ptr) {}

jpeg_error_mgr* trapErrors(ErrorManager& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.base);
    errors.base.error_exit = leave;
    errors.base.output_message = quiet;
    return manager;
}

}  // namespace

std::optional<RgbImage> decodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0) return std::nullopt;
    // Everything the jump may leave behind is made before it is armed.
    RgbImage image;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = trapErrors(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.width = int(info.output_width);
    image.height = int(info.output_height);
    image.rgb.resize(std::size_t(image.width) * std::size_t(image.height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.rgb.data() + std::size_t(info.output_scanline) * std::size_t(image.width) * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    // A cut-off picture is only warned about (its missing part comes out grey): damaged as well.
    if (errors.base.num_warnings > 0) return std::nullopt;
    return image;
}

bool jpegHeaderReads(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0) return false;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = trapErrors(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    const bool ok = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
    jpeg_destroy_decompress(&info);
    return ok;
}

std::optional<std::vector<std::uint8_t>> encodeJpeg(const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.rgb.size() < std::size_t(image.width) * std::size_t(image.height) * 3)
        return std::nullopt;
    // Everything the jump may leave behind is made before it is armed.
    jpeg_compress_struct info{};
    ErrorManager errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    info.err = trapErrors(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return std::nullopt;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.rgb.data() + std::size_t(info.next_scanline) * std::size_t(image.width) * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace platform
