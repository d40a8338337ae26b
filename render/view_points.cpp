// View coordinates in reused buffers, computed once per frame while held.
#include "render/view_points.h"

#include <cstddef>
#include <vector>

#include "render/view_state.h"

namespace {
// The last points asked for, in double and in single precision.
std::vector<double> pointsDouble;
std::vector<float> pointsFloat;
// A frame holds the points (holdViewPoints).
bool held = false;
// While held: how many points each buffer holds for this frame, -1 for none yet.
int heldDouble = -1, heldFloat = -1;

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
    if (held && heldDouble == vertices)
        return p;
    for (int i = 0; i < vertices; ++i) {
        p[3 * i] = normalizedX(i);
        p[3 * i + 1] = normalizedY(i);
        p[3 * i + 2] = normalizedZ(i);
    }
    heldDouble = held ? vertices : -1;
    return p;
}

const float* viewPointsAsFloats(int vertices)
{
    float* p = sized(pointsFloat, vertices);
    if (held && heldFloat == vertices)
        return p;
    for (int i = 0; i < vertices; ++i) {
        p[3 * i] = static_cast<float>(normalizedX(i));
        p[3 * i + 1] = static_cast<float>(normalizedY(i));
        p[3 * i + 2] = static_cast<float>(normalizedZ(i));
    }
    heldFloat = held ? vertices : -1;
    return p;
}

void holdViewPoints()
{
    held = true;
    heldDouble = heldFloat = -1;
}

void releaseViewPoints()
{
    held = false;
    heldDouble = heldFloat = -1;
}
