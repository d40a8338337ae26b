// Hand-made meshes for tests.
#include "tests/support/mesh_builder.h"

#include <cmath>

#include "model/off_file.h"
#include "app/session.h"

void setMesh(const std::vector<std::array<double, 3>>& vertices, const std::vector<std::array<int, 3>>& faces)
{
    currentModel = Mesh();
    currentModel.vertexCount = static_cast<int>(vertices.size());
    currentModel.faceCount = static_cast<int>(faces.size());
    allocDoubleArray(currentModel.vertexX, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexY, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexZ, currentModel.vertexCount);
    allocIntArray(currentModel.faceA, currentModel.faceCount);
    allocIntArray(currentModel.faceB, currentModel.faceCount);
    allocIntArray(currentModel.faceC, currentModel.faceCount);
    for (int i = 0; i < currentModel.vertexCount; ++i) {
        currentModel.vertexX[i] = vertices[i][0];
        currentModel.vertexY[i] = vertices[i][1];
        currentModel.vertexZ[i] = vertices[i][2];
    }
    for (int i = 0; i < currentModel.faceCount; ++i) {
        currentModel.faceA[i] = faces[i][0];
        currentModel.faceB[i] = faces[i][1];
        currentModel.faceC[i] = faces[i][2];
    }
    currentModel.modelLoaded = true;
    computeCenterAndRadius(currentModel);
    touchMesh(currentModel);
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

int findEdge(const Mesh& mesh, int v1, int v2)
{
    const int lo = v1 < v2 ? v1 : v2;
    const int hi = v1 < v2 ? v2 : v1;
    const int count = mesh.edgeCount < 0 ? 0 : mesh.edgeCount;
    const size_t limit = mesh.edgeA.size() < mesh.edgeB.size() ? mesh.edgeA.size() : mesh.edgeB.size();
    for (int e = 0; e < count && static_cast<size_t>(e) < limit; ++e)
        if (mesh.edgeA[e] == lo && mesh.edgeB[e] == hi)
            return e;
    return -1;
}
