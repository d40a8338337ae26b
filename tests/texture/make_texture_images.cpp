// Makes the JPEG files under tests/data/texture and the sample texture
// data/texture.jpg. Not part of the build; run by hand when the images must
// be made again:
//   g++ -O2 -o /tmp/make_texture_images tests/texture/make_texture_images.cpp -ljpeg
//   /tmp/make_texture_images <source folder>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
// The JPEG header needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

// The colour of the test pattern at (x, y) of a w x h picture: four flat
// quadrants, red top left, green top right, blue bottom left, white bottom right.
void quadrantColour(int x, int y, int w, int h, unsigned char* rgb)
{
    const bool right = x >= w / 2, bottom = y >= h / 2;
    rgb[0] = (!right && !bottom) || (right && bottom) ? 255 : 0;
    rgb[1] = (right && !bottom) || (right && bottom) ? 255 : 0;
    rgb[2] = bottom ? 255 : 0;
}

// A colourful picture: hue by angle round the centre, saturation by distance,
// darkened on a 32-pixel checkerboard.
void samplePictureColour(int x, int y, unsigned char* rgb)
{
    const double dx = x - 127.5, dy = y - 127.5;
    const double hue = (std::atan2(dy, dx) / (2 * M_PI) + 0.5) * 6.0;
    const double saturation = std::fmin(1.0, std::sqrt(dx * dx + dy * dy) / 128.0);
    const double value = ((x / 32 + y / 32) % 2) ? 1.0 : 0.7;
    const int sector = static_cast<int>(hue) % 6;
    const double f = hue - std::floor(hue);
    const double p = value * (1 - saturation), q = value * (1 - saturation * f),
                 t = value * (1 - saturation * (1 - f));
    double r, g, b;
    switch (sector) {
    case 0: r = value, g = t, b = p; break;
    case 1: r = q, g = value, b = p; break;
    case 2: r = p, g = value, b = t; break;
    case 3: r = p, g = q, b = value; break;
    case 4: r = t, g = p, b = value; break;
    default: r = value, g = p, b = q; break;
    }
    rgb[0] = static_cast<unsigned char>(std::lround(r * 255));
    rgb[1] = static_cast<unsigned char>(std::lround(g * 255));
    rgb[2] = static_cast<unsigned char>(std::lround(b * 255));
}

enum Kind { colourQuadrants, colourStoredRgb, grayQuadrants, cmykQuadrants, ycckQuadrants, samplePicture };

void writeJpeg(const std::string& path, int w, int h, Kind kind, bool progressive, int quality)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::perror(path.c_str());
        std::exit(1);
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = w;
    cinfo.image_height = h;
    int components = 3;
    cinfo.in_color_space = JCS_RGB;
    if (kind == grayQuadrants)
        components = 1, cinfo.in_color_space = JCS_GRAYSCALE;
    if (kind == cmykQuadrants || kind == ycckQuadrants)
        components = 4, cinfo.in_color_space = JCS_CMYK;
    cinfo.input_components = components;
    jpeg_set_defaults(&cinfo);
    if (kind == colourStoredRgb)
        jpeg_set_colorspace(&cinfo, JCS_RGB);
    if (kind == ycckQuadrants)
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(w) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < w; ++x) {
            unsigned char rgb[3];
            if (kind == samplePicture)
                samplePictureColour(x, y, rgb);
            else
                quadrantColour(x, y, w, h, rgb);
            unsigned char* out = &row[static_cast<size_t>(x) * components];
            if (components == 1) {
                out[0] = static_cast<unsigned char>((rgb[0] + rgb[1] + rgb[2]) / 3);
            } else if (components == 4) {
                for (int c = 0; c < 3; ++c)
                    out[c] = rgb[c];
                out[3] = 0;
            } else {
                for (int c = 0; c < 3; ++c)
                    out[c] = rgb[c];
            }
        }
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&cinfo, &rowPointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

// Copies the first keep bytes of one file into another.
void writeTruncated(const std::string& from, const std::string& to, long keep)
{
    FILE* in = std::fopen(from.c_str(), "rb");
    std::vector<unsigned char> bytes(static_cast<size_t>(keep));
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    FILE* out = std::fopen(to.c_str(), "wb");
    std::fwrite(bytes.data(), 1, got, out);
    std::fclose(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <source folder>\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const std::string dir = root + "/tests/data/texture/";
    writeJpeg(dir + "baseline_256.jpg", 256, 256, colourQuadrants, false, 95);
    writeJpeg(dir + "progressive_256.jpg", 256, 256, colourQuadrants, true, 95);
    writeJpeg(dir + "stored_rgb_256.jpg", 256, 256, colourStoredRgb, false, 95);
    writeJpeg(dir + "gray_256.jpg", 256, 256, grayQuadrants, false, 95);
    writeJpeg(dir + "cmyk_256.jpg", 256, 256, cmykQuadrants, false, 95);
    writeJpeg(dir + "ycck_256.jpg", 256, 256, ycckQuadrants, false, 95);
    writeJpeg(dir + "size_255x256.jpg", 255, 256, colourQuadrants, false, 95);
    writeJpeg(dir + "size_256x255.jpg", 256, 255, colourQuadrants, false, 95);
    writeJpeg(dir + "size_512x512.jpg", 512, 512, colourQuadrants, false, 95);
    writeJpeg(dir + "gray_255x256.jpg", 255, 256, grayQuadrants, false, 95);
    // Cut in the middle of the picture data, and inside the header.
    writeTruncated(dir + "baseline_256.jpg", dir + "truncated_256.jpg", 1200);
    writeTruncated(dir + "baseline_256.jpg", dir + "truncated_header.jpg", 100);
    FILE* text = std::fopen((dir + "not_a_jpeg.jpg").c_str(), "wb");
    std::fputs("OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", text);
    std::fclose(text);
    writeJpeg(root + "/data/texture.jpg", 256, 256, samplePicture, false, 90);
    return 0;
}
