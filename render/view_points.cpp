// Per-layer view coordinates in reused buffers.
#include "render/view_points.h"

#include <cstddef>
#include <vector>

#include "render/view_state.h"

namespace {
// The last points asked for, in double and in single precision.
std::vector<double> pointsDouble;
std::vector<float> pointsFloat;

template <typename T> T* sized(std::vector<T>& buffer, int vertices)
{
    const std::size_t needed = 3 * static_cast<std::size_t>(vertices > 0 ? vertices : 0);
    if (buffer.size() < needed)
        buffer.resize(needed);
    return buffer.data();
}
} // namespace

const double* viewPointsOf(int vertices)
{
    double* p = sized(pointsDouble, vertices);
    for (int i = 0; i < vertices; ++i) {
        p[3 * i] = normalizedX(i);
        p[3 * i + 1] = normalizedY(i);
        p[3 * i + 2] = normalizedZ(i);
    }
    return p;
}

const float* viewPointsAsFloats(int vertices)
{
    float* p = sized(pointsFloat, vertices);
    for (int i = 0; i < vertices; ++i) {
        p[3 * i] = static_cast<float>(normalizedX(i));
        p[3 * i + 1] = static_cast<float>(normalizedY(i));
        p[3 * i + 2] = static_cast<float>(normalizedZ(i));
    }
    return p;
}
