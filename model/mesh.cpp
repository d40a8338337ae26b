// The mesh value: its revisions and its centre.
#include "model/mesh.h"

#include <atomic>
#include <cmath>

namespace {
// The last revision given out; revisions are never reused, so equal revisions mean equal meshes.
std::atomic<std::uint64_t> lastRevision{0};
} // namespace

void touchMesh(Mesh& mesh) { mesh.revision = ++lastRevision; }

// modelCenter: the mean of all vertices; modelRadius: the largest distance
// from it along one axis.
void computeCenterAndRadius(Mesh& mesh)
{
    double sum[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < mesh.vertexCount; ++i) {
        sum[0] += mesh.vertexX[i];
        sum[1] += mesh.vertexY[i];
        sum[2] += mesh.vertexZ[i];
    }
    for (int k = 0; k < 3; ++k)
        mesh.modelCenter[k] = mesh.vertexCount > 0 ? sum[k] / mesh.vertexCount : 0.0;
    mesh.modelRadius = 0.0;
    for (int i = 0; i < mesh.vertexCount; ++i) {
        double d[3] = {std::fabs(mesh.vertexX[i] - mesh.modelCenter[0]),
                       std::fabs(mesh.vertexY[i] - mesh.modelCenter[1]),
                       std::fabs(mesh.vertexZ[i] - mesh.modelCenter[2])};
        for (double x : d)
            if (x > mesh.modelRadius)
                mesh.modelRadius = x;
    }
}
