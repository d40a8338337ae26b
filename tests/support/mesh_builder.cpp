// Hand-made meshes for tests.
#include "tests/support/mesh_builder.h"

#include <cmath>

#include "model/off_file.h"
#include "base/store.h"

void setMesh(const std::vector<std::array<double, 3>>& vertices, const std::vector<std::array<int, 3>>& faces)
{
    releaseModel();
    vertexCount = static_cast<int>(vertices.size());
    faceCount = static_cast<int>(faces.size());
    allocDoubleArray(vertexX, vertexCount);
    allocDoubleArray(vertexY, vertexCount);
    allocDoubleArray(vertexZ, vertexCount);
    allocIntArray(faceA, faceCount);
    allocIntArray(faceB, faceCount);
    allocIntArray(faceC, faceCount);
    for (int i = 0; i < vertexCount; ++i) {
        vertexX[i] = vertices[i][0];
        vertexY[i] = vertices[i][1];
        vertexZ[i] = vertices[i][2];
    }
    for (int i = 0; i < faceCount; ++i) {
        faceA[i] = faces[i][0];
        faceB[i] = faces[i][1];
        faceC[i] = faces[i][2];
    }
    modelLoaded = true;
    computeCenterAndRadius();
}

void setGridMesh(int n)
{
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            v.push_back({double(i) / n, double(j) / n, 0.0});
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i, b = a + 1, c = a + n + 1, d = c + 1;
            f.push_back({a, b, d});
            f.push_back({a, d, c});
        }
    setMesh(v, f);
}
