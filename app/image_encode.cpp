// PNG encoding through libpng's simplified interface, JPEG encoding through
// libjpeg with an error manager that returns control instead of ending the process.
#include "app/image_encode.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {
struct EncodeErrors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

[[noreturn]] void leaveEncoder(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<EncodeErrors*>(info->err)->back, 1);
}

void noMessage(j_common_ptr) {}

// Runs the encoder; false when it failed. Kept apart so that no object with a
// destructor lives across the jump.
bool encodeInto(const unsigned char* pixels, int width, int height, unsigned char*& out, unsigned long& size)
{
    jpeg_compress_struct info;
    EncodeErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leaveEncoder;
    errors.manager.output_message = noMessage;
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    while (info.next_scanline < info.image_height) {
        // The image's top row is GL's last.
        JSAMPROW row = const_cast<unsigned char*>(pixels) + (height - 1 - info.next_scanline) * rowBytes;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}
} // namespace

bool encodeJpeg(const unsigned char* pixels, int width, int height, std::vector<unsigned char>& bytes)
{
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool encoded = encodeInto(pixels, width, height, out, size);
    if (encoded)
        bytes.assign(out, out + size);
    std::free(out);
    return encoded;
}

bool encodePng(const unsigned char* pixels, int width, int height, std::vector<unsigned char>& bytes)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // Encoded once into a block as large as any encoding can be; speed is
    // preferred to size, so that the image costs little next to its frame.
    image.flags |= PNG_IMAGE_FLAG_FAST;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    bytes.resize(size);
    // Rows come bottom first from GL; a negative stride tells the encoder so.
    const int rowBytes = width * 3;
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, -rowBytes, nullptr))
        return false;
    bytes.resize(size);
    return true;
}
