// Decoding of a 256 x 256 RGB JPEG file into an image through the JPEG
// library's decompression interface, with its standard error manager and
// standard file source.
#include <sys/stat.h>

#include <cstdio>
// The JPEG headers need FILE and size_t declared before them.
#include <jerror.h>
#include <jpeglib.h>

#include "texture/texture.h"

namespace {

// Trace messages go to the standard manager's own handler; warnings are
// raised to its standard error exit. The library only warns when the data are
// damaged (a truncated file, a bad Huffman code, stray bytes before a marker)
// and would then go on with made-up pixels; a damaged texture file ends the
// process like any other corrupt data, with the library's message on the
// standard error stream and a failure status.
void (*standardEmitMessage)(j_common_ptr, int) = nullptr;

void emitMessage(j_common_ptr cinfo, int msgLevel)
{
    if (msgLevel < 0)
        (*cinfo->err->error_exit)(cinfo);
    standardEmitMessage(cinfo, msgLevel);
}

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
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    standardEmitMessage = jerr.emit_message;
    jerr.emit_message = emitMessage;
    jpeg_create_decompress(&cinfo);

    FILE* file = openTextureFile(path);
    if (!file) {
        jpeg_destroy_decompress(&cinfo);
        return outcomeTextureUnopened;
    }
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
        JSAMPROW row = image + static_cast<size_t>(cinfo.output_scanline) * textureSize * 3;
        // The file source never suspends, so every call yields a line; a call
        // that yields none is treated as the end of the data rather than looping.
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            ERREXIT(&cinfo, JERR_INPUT_EOF);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return outcomeOk;
}
