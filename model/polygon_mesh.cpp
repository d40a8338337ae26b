// The polygon rule shared by the PLY, STL and OBJ readers.
#include "model/polygon_mesh.h"

#include <climits>

void beginPolygonMesh(Mesh& mesh, int fileVertices, int faceSlots, FaceCollector& faces)
{
    faces = FaceCollector();
    faces.mesh = &mesh;
    for (std::vector<double>* array : {&mesh.vertexX, &mesh.vertexY, &mesh.vertexZ})
        array->assign(static_cast<size_t>(fileVertices), 0.0);
    for (std::vector<int>* array : {&mesh.faceA, &mesh.faceB, &mesh.faceC})
        array->assign(static_cast<size_t>(faceSlots), 0);
    mesh.vertexCount = fileVertices;
    mesh.faceCount = faceSlots;
}

bool finishPolygonMesh(FaceCollector& faces, std::string& reason)
{
    Mesh& mesh = *faces.mesh;
    const int polygons = static_cast<int>(faces.polygonSlots.size());
    const int fileVertices = mesh.vertexCount;
    const int fileFaces = mesh.faceCount;
    // Each polygon of n corners adds one vertex and n - 1 triangles.
    long long newVertices = static_cast<long long>(fileVertices) + polygons;
    long long newFaces = static_cast<long long>(fileFaces) + static_cast<long long>(faces.polygonCorners.size()) -
                         static_cast<long long>(polygons);
    if (newVertices > INT_MAX || newFaces > INT_MAX) {
        reason = "le modèle dépasse " + std::to_string(INT_MAX) + " sommets ou triangles une fois ses polygones découpés";
        return false;
    }
    if (polygons > 0) {
        for (std::vector<double>* array : {&mesh.vertexX, &mesh.vertexY, &mesh.vertexZ})
            array->resize(static_cast<size_t>(newVertices));
        for (std::vector<int>* array : {&mesh.faceA, &mesh.faceB, &mesh.faceC})
            array->resize(static_cast<size_t>(newFaces));
    }
    double* x = mesh.vertexX.data();
    double* y = mesh.vertexY.data();
    double* z = mesh.vertexZ.data();
    int next = fileFaces;
    for (int p = 0; p < polygons; ++p) {
        const int start = faces.polygonStarts[p];
        const int end = p + 1 < polygons ? faces.polygonStarts[p + 1] : static_cast<int>(faces.polygonCorners.size());
        const int* c = faces.polygonCorners.data() + start;
        const int n = end - start;
        const int m = fileVertices + p;
        double sx = x[c[0]], sy = y[c[0]], sz = z[c[0]];
        for (int k = 1; k < n; ++k) {
            sx += x[c[k]];
            sy += y[c[k]];
            sz += z[c[k]];
        }
        x[m] = sx / n;
        y[m] = sy / n;
        z[m] = sz / n;
        mesh.faceC[faces.polygonSlots[p]] = m;
        for (int k = 1; k < n; ++k, ++next) {
            mesh.faceA[next] = c[k];
            mesh.faceB[next] = c[k + 1 < n ? k + 1 : 0];
            mesh.faceC[next] = m;
        }
    }
    mesh.vertexCount = static_cast<int>(newVertices);
    mesh.faceCount = static_cast<int>(newFaces);
    mesh.modelLoaded = true;
    computeCenterAndRadius(mesh);
    touchMesh(mesh);
    faces = FaceCollector();
    return true;
}

bool buildPolygonMesh(Mesh& mesh, const std::vector<double>& x, const std::vector<double>& y,
                      const std::vector<double>& z, const std::vector<int>& corners, const std::vector<int>& sizes,
                      std::string& reason)
{
    FaceCollector faces;
    beginPolygonMesh(mesh, static_cast<int>(x.size()), static_cast<int>(sizes.size()), faces);
    mesh.vertexX = x;
    mesh.vertexY = y;
    mesh.vertexZ = z;
    size_t at = 0;
    for (size_t slot = 0; slot < sizes.size(); ++slot) {
        putFace(faces, static_cast<int>(slot), corners.data() + at, sizes[slot]);
        at += static_cast<size_t>(sizes[slot]);
    }
    return finishPolygonMesh(faces, reason);
}
