// scale_icon: writes a square PNG icon at a smaller size, for the icon theme's
// fixed sizes. Usage: scale_icon SOURCE.png SIZE OUTPUT.png
// Each output pixel is the area-weighted mean of the source pixels it covers,
// taken on premultiplied alpha so that transparent pixels lend no colour to
// the edges of the shape.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// One pass along one axis: n source samples (stride apart) to m output samples, m <= n.
void resample(const float* in, float* out, int n, int m, int stride)
{
    const double step = double(n) / m;
    for (int o = 0; o < m; ++o) {
        const double begin = o * step, end = begin + step;
        double sum[4] = {0, 0, 0, 0};
        for (int i = int(begin); i < n && i < end; ++i) {
            const double lo = i < begin ? begin : i, hi = i + 1 > end ? end : i + 1;
            const double weight = hi - lo;
            for (int c = 0; c < 4; ++c)
                sum[c] += weight * in[i * stride + c];
        }
        for (int c = 0; c < 4; ++c)
            out[o * stride + c] = float(sum[c] / step);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage : scale_icon SOURCE.png TAILLE SORTIE.png\n");
        return 2;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, argv[1])) {
        std::fprintf(stderr, "scale_icon : %s : %s\n", argv[1], image.message);
        return 1;
    }
    image.format = PNG_FORMAT_RGBA;
    const int width = int(image.width), height = int(image.height);
    std::vector<png_byte> source(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, source.data(), 0, nullptr)) {
        std::fprintf(stderr, "scale_icon : %s : %s\n", argv[1], image.message);
        return 1;
    }
    const int size = std::atoi(argv[2]);
    if (size < 1 || size > width || size > height) {
        std::fprintf(stderr, "scale_icon : taille %s hors de 1..%d\n", argv[2], width < height ? width : height);
        return 1;
    }

    // Premultiplied floats, then rows, then columns.
    std::vector<float> full(size_t(width) * height * 4);
    for (size_t p = 0; p < size_t(width) * height; ++p) {
        const float alpha = source[p * 4 + 3] / 255.0f;
        for (int c = 0; c < 3; ++c)
            full[p * 4 + c] = source[p * 4 + c] / 255.0f * alpha;
        full[p * 4 + 3] = alpha;
    }
    std::vector<float> narrow(size_t(size) * height * 4);
    for (int y = 0; y < height; ++y)
        resample(&full[size_t(y) * width * 4], &narrow[size_t(y) * size * 4], width, size, 4);
    std::vector<float> small(size_t(size) * size * 4);
    for (int x = 0; x < size; ++x)
        resample(&narrow[size_t(x) * 4], &small[size_t(x) * 4], height, size, size * 4);

    std::vector<png_byte> result(small.size());
    for (size_t p = 0; p < size_t(size) * size; ++p) {
        const float alpha = small[p * 4 + 3];
        for (int c = 0; c < 3; ++c) {
            const float value = alpha > 0 ? small[p * 4 + c] / alpha : 0.0f;
            result[p * 4 + c] = png_byte(value >= 1 ? 255 : int(value * 255 + 0.5f));
        }
        result[p * 4 + 3] = png_byte(alpha >= 1 ? 255 : int(alpha * 255 + 0.5f));
    }
    png_image out{};
    out.version = PNG_IMAGE_VERSION;
    out.width = png_uint_32(size);
    out.height = png_uint_32(size);
    out.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&out, argv[3], 0, result.data(), 0, nullptr)) {
        std::fprintf(stderr, "scale_icon : %s : %s\n", argv[3], out.message);
        return 1;
    }
    return 0;
}
