// The face layer's light, per vertex and per corner: most of a turning
// frame's work at a million faces. On a processor with 256-bit instructions
// both passes run eight vertices or faces at a time, with the very same
// single-precision operations in the same order (no fused multiply-add), so
// that both ways give the same colours bit for bit.
#include "render/face_light.h"

#include <cmath>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VORMELIN_WIDE_LIGHT 1
#endif

namespace {

// The unit normal of a face in eye coordinates, turned toward the viewer.
inline void eyeNormal(const FrameLight& light, const double* normal, float e[3])
{
    double nx = normal[0], ny = normal[1], nz = normal[2];
    if (nx == 0.0 && ny == 0.0 && nz == 0.0) {
        // No direction to light: a fixed one keeps the normal finite.
        nz = 1.0;
    } else if (nx * light.w[0] + ny * light.w[1] + nz * light.w[2] < 0.0) {
        nx = -nx;
        ny = -ny;
        nz = -nz;
    }
    const float* N = light.normal;
    const float fx = static_cast<float>(nx), fy = static_cast<float>(ny), fz = static_cast<float>(nz);
    float ex = N[0] * fx + N[1] * fy + N[2] * fz;
    float ey = N[3] * fx + N[4] * fy + N[5] * fz;
    float ez = N[6] * fx + N[7] * fy + N[8] * fz;
    const float size = std::sqrt(ex * ex + ey * ey + ez * ez);
    if (size > 0.0f) {
        ex /= size;
        ey /= size;
        ez /= size;
    }
    e[0] = ex;
    e[1] = ey;
    e[2] = ez;
}

// x to the power 128 by seven squarings, or to the power e.
template <bool By128> inline float powerOf(float x, float e)
{
    if constexpr (By128) {
        x *= x;
        x *= x;
        x *= x;
        x *= x;
        x *= x;
        x *= x;
        return x * x;
    } else {
        return std::pow(x, e);
    }
}

// c within 0 .. 1; NaN gives 0.
inline float clamped(float c) { return c > 0.0f ? (c < 1.0f ? c : 1.0f) : 0.0f; }

inline std::uint16_t channel(float c) { return static_cast<std::uint16_t>(clamped(c) * 65535.0f + 0.5f); }

template <bool By128>
void oneByOne(const FrameLight& light, const double* normals, const int* corners, const float* vertexLight,
              std::uint16_t* colours, int first, int last)
{
    const float e = light.shininess;
    const float* t = light.texel;
    const std::uint16_t alpha = channel(light.alpha * t[3]);
    for (int f = first; f < last; ++f) {
        float n[3];
        eyeNormal(light, normals + 3 * static_cast<long long>(f), n);
        for (int k = 0; k < 3; ++k) {
            const float* v = vertexLight + 8 * static_cast<long long>(corners[3 * static_cast<long long>(f) + k]);
            const float nl = n[0] * v[0] + n[1] * v[1] + n[2] * v[2];
            // The specular term only where the diffuse one is positive.
            const float nh = n[0] * v[4] + n[1] * v[5] + n[2] * v[6];
            const float diffuse = nl > 0.0f ? nl : 0.0f;
            const float specular = powerOf<By128>(nl > 0.0f && nh > 0.0f ? nh : 0.0f, e);
            std::uint16_t* c = colours + 12 * static_cast<long long>(f) + 4 * k;
            for (int j = 0; j < 3; ++j)
                c[j] = channel(clamped(light.base[j] + v[3] * (light.ambient[j] + diffuse * light.diffuse[j] +
                                                               specular * light.specular[j])) *
                               t[j]);
            c[3] = alpha;
        }
    }
}

#ifdef VORMELIN_WIDE_LIGHT
// (a0 b0 + a1 b1) + a2 b2, eight at a time, summed in the order the one-by-one code sums.
__attribute__((target("avx2"))) inline __m256 dotWide(__m256 a0, __m256 a1, __m256 a2, __m256 b0, __m256 b1,
                                                      __m256 b2)
{
    return _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(a0, b0), _mm256_mul_ps(a1, b1)), _mm256_mul_ps(a2, b2));
}

// clamped(), eight at a time.
__attribute__((target("avx2"))) inline __m256 clampedWide(__m256 c)
{
    const __m256 zero = _mm256_setzero_ps(), one = _mm256_set1_ps(1.0f);
    const __m256 below = _mm256_blendv_ps(one, c, _mm256_cmp_ps(c, one, _CMP_LT_OQ));
    return _mm256_and_ps(_mm256_cmp_ps(c, zero, _CMP_GT_OQ), below);
}

// Faces f0 .. f0+7 with the shininess 128: their 24 corners as three groups of eight.
__attribute__((target("avx2"))) void eightFaces(const FrameLight& light, const double* normals, const int* corners,
                                                const float* vertexLight, std::uint16_t* colours, long long f0)
{
    alignas(32) float ex[24], ey[24], ez[24];
    for (int i = 0; i < 8; ++i) {
        float n[3];
        eyeNormal(light, normals + 3 * (f0 + i), n);
        for (int k = 0; k < 3; ++k) {
            ex[3 * i + k] = n[0];
            ey[3 * i + k] = n[1];
            ez[3 * i + k] = n[2];
        }
    }
    const float* t = light.texel;
    const int alpha = channel(light.alpha * t[3]);
    const __m256 zero = _mm256_setzero_ps();
    const __m256 scale = _mm256_set1_ps(65535.0f), rounding = _mm256_set1_ps(0.5f);
    for (int g = 0; g < 3; ++g) {
        const int* ids = corners + 3 * f0 + 8 * g;
        // Each corner's eight vertex floats, turned into eight vectors of one float per corner.
        __m256 r[8];
        for (int k = 0; k < 8; ++k)
            r[k] = _mm256_loadu_ps(vertexLight + 8 * static_cast<long long>(ids[k]));
        __m256 u[8], s[8];
        for (int k = 0; k < 8; k += 2) {
            u[k] = _mm256_unpacklo_ps(r[k], r[k + 1]);
            u[k + 1] = _mm256_unpackhi_ps(r[k], r[k + 1]);
        }
        for (int k = 0; k < 8; k += 4) {
            s[k] = _mm256_shuffle_ps(u[k], u[k + 2], _MM_SHUFFLE(1, 0, 1, 0));
            s[k + 1] = _mm256_shuffle_ps(u[k], u[k + 2], _MM_SHUFFLE(3, 2, 3, 2));
            s[k + 2] = _mm256_shuffle_ps(u[k + 1], u[k + 3], _MM_SHUFFLE(1, 0, 1, 0));
            s[k + 3] = _mm256_shuffle_ps(u[k + 1], u[k + 3], _MM_SHUFFLE(3, 2, 3, 2));
        }
        const __m256 lx = _mm256_permute2f128_ps(s[0], s[4], 0x20), ly = _mm256_permute2f128_ps(s[1], s[5], 0x20);
        const __m256 lz = _mm256_permute2f128_ps(s[2], s[6], 0x20), at = _mm256_permute2f128_ps(s[3], s[7], 0x20);
        const __m256 hx = _mm256_permute2f128_ps(s[0], s[4], 0x31), hy = _mm256_permute2f128_ps(s[1], s[5], 0x31);
        const __m256 hz = _mm256_permute2f128_ps(s[2], s[6], 0x31);

        const __m256 nx = _mm256_load_ps(ex + 8 * g), ny = _mm256_load_ps(ey + 8 * g), nz = _mm256_load_ps(ez + 8 * g);
        const __m256 nl = dotWide(nx, ny, nz, lx, ly, lz);
        const __m256 nh = dotWide(nx, ny, nz, hx, hy, hz);
        const __m256 lit = _mm256_cmp_ps(nl, zero, _CMP_GT_OQ);
        const __m256 diffuse = _mm256_and_ps(lit, nl);
        __m256 specular = _mm256_and_ps(_mm256_and_ps(lit, _mm256_cmp_ps(nh, zero, _CMP_GT_OQ)), nh);
        for (int k = 0; k < 7; ++k)
            specular = _mm256_mul_ps(specular, specular);
        __m256i rgb[3];
        for (int j = 0; j < 3; ++j) {
            const __m256 terms = _mm256_add_ps(
                _mm256_add_ps(_mm256_set1_ps(light.ambient[j]), _mm256_mul_ps(diffuse, _mm256_set1_ps(light.diffuse[j]))),
                _mm256_mul_ps(specular, _mm256_set1_ps(light.specular[j])));
            const __m256 c = clampedWide(_mm256_add_ps(_mm256_set1_ps(light.base[j]), _mm256_mul_ps(at, terms)));
            const __m256 texelled = clampedWide(_mm256_mul_ps(c, _mm256_set1_ps(t[j])));
            rgb[j] = _mm256_cvttps_epi32(_mm256_add_ps(_mm256_mul_ps(texelled, scale), rounding));
        }
        // Corner k as two 32-bit words: red | green << 16, blue | alpha << 16.
        const __m256i low = _mm256_or_si256(rgb[0], _mm256_slli_epi32(rgb[1], 16));
        const __m256i high = _mm256_or_si256(rgb[2], _mm256_set1_epi32(alpha << 16));
        const __m256i first = _mm256_unpacklo_epi32(low, high), second = _mm256_unpackhi_epi32(low, high);
        auto* out = reinterpret_cast<__m256i*>(colours + 12 * f0 + 32 * g);
        _mm256_storeu_si256(out, _mm256_permute2x128_si256(first, second, 0x20));
        _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(first, second, 0x31));
    }
}

// Vertices i0 .. i0+7 under a positional light, with the operations of lightVerticesOneByOne.
__attribute__((target("avx2"))) void eightVertices(const FrameLight& light, const float* points, float* vertexLight,
                                                   long long i0)
{
    alignas(32) float xyz[3][8];
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 3; ++k)
            xyz[k][i] = points[3 * (i0 + i) + k];
    const __m256 x = _mm256_load_ps(xyz[0]), y = _mm256_load_ps(xyz[1]), z = _mm256_load_ps(xyz[2]);
    const float* m = light.model;
    const float* lp = light.position;
    const __m256 zero = _mm256_setzero_ps(), one = _mm256_set1_ps(1.0f);
    __m256 l[3];
    for (int k = 0; k < 3; ++k) {
        const __m256 eye = _mm256_add_ps(
            dotWide(_mm256_set1_ps(m[4 * k]), _mm256_set1_ps(m[4 * k + 1]), _mm256_set1_ps(m[4 * k + 2]), x, y, z),
            _mm256_set1_ps(m[4 * k + 3]));
        l[k] = _mm256_sub_ps(_mm256_set1_ps(lp[k] / lp[3]), eye);
    }
    const __m256 distance = _mm256_sqrt_ps(dotWide(l[0], l[1], l[2], l[0], l[1], l[2]));
    const __m256 away = _mm256_cmp_ps(distance, zero, _CMP_GT_OQ);
    for (int k = 0; k < 3; ++k)
        l[k] = _mm256_blendv_ps(l[k], _mm256_div_ps(l[k], distance), away);
    const __m256 a1d = _mm256_mul_ps(_mm256_set1_ps(light.attenuation[1]), distance);
    const __m256 a2dd = _mm256_mul_ps(_mm256_mul_ps(_mm256_set1_ps(light.attenuation[2]), distance), distance);
    const __m256 attenuation =
        _mm256_div_ps(one, _mm256_add_ps(_mm256_add_ps(_mm256_set1_ps(light.attenuation[0]), a1d), a2dd));
    __m256 h[3] = {l[0], l[1], _mm256_add_ps(l[2], one)};
    const __m256 half = _mm256_sqrt_ps(dotWide(h[0], h[1], h[2], h[0], h[1], h[2]));
    const __m256 some = _mm256_cmp_ps(half, zero, _CMP_GT_OQ);
    for (int k = 0; k < 3; ++k)
        h[k] = _mm256_blendv_ps(h[k], _mm256_div_ps(h[k], half), some);
    alignas(32) float columns[8][8];
    const __m256 values[8] = {l[0], l[1], l[2], attenuation, h[0], h[1], h[2], zero};
    for (int k = 0; k < 8; ++k)
        _mm256_store_ps(columns[k], values[k]);
    for (int i = 0; i < 8; ++i) {
        float* v = vertexLight + 8 * (i0 + i);
        for (int k = 0; k < 8; ++k)
            v[k] = columns[k][i];
    }
}

const bool wideInstructions = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif
} // namespace

void lightCornersOneByOne(const FrameLight& light, const double* normals, const int* corners,
                          const float* vertexLight, std::uint16_t* colours, int first, int last)
{
    if (light.shininess == 128.0f)
        oneByOne<true>(light, normals, corners, vertexLight, colours, first, last);
    else
        oneByOne<false>(light, normals, corners, vertexLight, colours, first, last);
}

void lightCorners(const FrameLight& light, const double* normals, const int* corners, const float* vertexLight,
                  std::uint16_t* colours, int first, int last)
{
#ifdef VORMELIN_WIDE_LIGHT
    if (wideInstructions && light.shininess == 128.0f) {
        for (; first + 8 <= last; first += 8)
            eightFaces(light, normals, corners, vertexLight, colours, first);
    }
#endif
    lightCornersOneByOne(light, normals, corners, vertexLight, colours, first, last);
}

void lightVertices(const FrameLight& light, const float* points, float* vertexLight, int first, int last)
{
#ifdef VORMELIN_WIDE_LIGHT
    if (wideInstructions && light.position[3] != 0.0f) {
        for (; first + 8 <= last; first += 8)
            eightVertices(light, points, vertexLight, first);
    }
#endif
    lightVerticesOneByOne(light, points, vertexLight, first, last);
}

void lightVerticesOneByOne(const FrameLight& light, const float* points, float* vertexLight, int first, int last)
{
    const float* m = light.model;
    const float* lp = light.position;
    const bool positional = lp[3] != 0.0f;
    const float* p = points;
    for (int i = first; i < last; ++i) {
        const float x = p[3 * i], y = p[3 * i + 1], z = p[3 * i + 2];
        float lx = lp[0], ly = lp[1], lz = lp[2], attenuation = 1.0f;
        if (positional) {
            lx = lp[0] / lp[3] - (m[0] * x + m[1] * y + m[2] * z + m[3]);
            ly = lp[1] / lp[3] - (m[4] * x + m[5] * y + m[6] * z + m[7]);
            lz = lp[2] / lp[3] - (m[8] * x + m[9] * y + m[10] * z + m[11]);
        }
        const float distance = std::sqrt(lx * lx + ly * ly + lz * lz);
        if (distance > 0.0f) {
            lx /= distance;
            ly /= distance;
            lz /= distance;
        }
        if (positional)
            attenuation = 1.0f / (light.attenuation[0] + light.attenuation[1] * distance +
                                  light.attenuation[2] * distance * distance);
        // The viewer is taken at infinity along +z.
        float hx = lx, hy = ly, hz = lz + 1.0f;
        const float half = std::sqrt(hx * hx + hy * hy + hz * hz);
        if (half > 0.0f) {
            hx /= half;
            hy /= half;
            hz /= half;
        }
        float* v = vertexLight + 8 * static_cast<long long>(i);
        v[0] = lx;
        v[1] = ly;
        v[2] = lz;
        v[3] = attenuation;
        v[4] = hx;
        v[5] = hy;
        v[6] = hz;
        v[7] = 0.0f;
    }
}
