// Decoding of a 256 x 256 RGB JPEG file into an image through the JPEG
// library's decompression interface and its standard file source, with an
// error manager of our own that hands control back instead of ending the
// process.
#include <sys/stat.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>
// The JPEG headers need FILE and size_t declared before them.
#include <jerror.h>
#include <jpeglib.h>

#include "texture/texture.h"

namespace {

// The library's error manager with the place to go back to when the data
// cannot be decoded. The manager comes first, so that the library's pointer
// to it is a pointer to the whole.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

// A fatal error of the library: back into decodeJpegTexture, which refuses the file.
[[noreturn]] void returnFromError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->back, 1);
}

// Warnings are raised to errors: the library only warns when the data are
// damaged (a truncated file, a bad Huffman code, stray bytes before a marker)
// and would then go on with made-up pixels. Trace messages are dropped.
void emitMessage(j_common_ptr cinfo, int msgLevel)
{
    if (msgLevel < 0)
        returnFromError(cinfo);
}

// The library's texts are for developers and in English: none reaches the user.
void outputNothing(j_common_ptr) {}

// Opens a regular file for binary reading; null for anything else (missing,
// unreadable, a folder).
FILE* openTextureFile(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

} // namespace

Outcome decodeJpegTexture(const std::string& path, unsigned char* image)
{
    FILE* file = openTextureFile(path);
    if (!file)
        return outcomeTextureUnopened;
    // Decoded aside, so that a file found damaged halfway leaves the image as it was.
    std::vector<unsigned char> decoded(textureBytes);
    jpeg_decompress_struct cinfo;
    ErrorTrap trap;
    cinfo.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = returnFromError;
    trap.manager.emit_message = emitMessage;
    trap.manager.output_message = outputNothing;
    if (setjmp(trap.back)) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        return outcomeTextureCorrupt;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);

    if (cinfo.image_width != textureSize || cinfo.image_height != textureSize) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        return outcomeTextureSize;
    }
    // Grayscale files decode to one component, CMYK and YCCK files to four.
    jpeg_calc_output_dimensions(&cinfo);
    if (cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        return outcomeTextureNotRgb;
    }

    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = decoded.data() + static_cast<size_t>(cinfo.output_scanline) * textureSize * 3;
        // The file source never suspends, so every call yields a line; a call
        // that yields none is treated as the end of the data rather than looping.
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            ERREXIT(&cinfo, JERR_INPUT_EOF);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    std::memcpy(image, decoded.data(), textureBytes);
    return outcomeOk;
}
