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

const double* viewPointsOf(const Mesh& mesh, int vertices)
{
    double* p = sized(pointsDouble, vertices);
    if (held && heldDouble == vertices)
        return p;
    for (int i = 0; i < vertices; ++i) {
        p[3 * i] = normalizedX(mesh, i);
        p[3 * i + 1] = normalizedY(mesh, i);
        p[3 * i + 2] = normalizedZ(mesh, i);
    }
    heldDouble = held ? vertices : -1;
    return p;
}

const float* viewPointsAsFloats(const Mesh& mesh, int vertices)
{
    float* p = sized(pointsFloat, vertices);
    if (held && heldFloat == vertices)
        return p;
    for (int i = 0; i < vertices; ++i) {
        p[3 * i] = static_cast<float>(normalizedX(mesh, i));
        p[3 * i + 1] = static_cast<float>(normalizedY(mesh, i));
        p[3 * i + 2] = static_cast<float>(normalizedZ(mesh, i));
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
