// Faces of a model file going into a mesh. A triangle takes its slot as it
// stands. A polygon of n > 3 corners c0 .. c(n-1) becomes n triangles around
// one added vertex m, the mean of its corners (summed in corner order, then
// divided by n): its own slot keeps (c0, c1, m), and (c1, c2, m), ...,
// (c(n-1), c0, m) come after every face of the file; the added vertices come
// after every vertex of the file, both in the order of the polygons. For
// n = 4 this is exactly the OFF reader's quad split.
#pragma once

#include <string>
#include <vector>

#include "model/mesh.h"

// The faces of one file on their way into a mesh: the slots are the mesh's
// own arrays, the polygons are noted and split once every face is in.
struct FaceCollector {
    Mesh* mesh = nullptr;
    // Slot of each noted polygon, and where its corners start in polygonCorners.
    std::vector<int> polygonSlots, polygonStarts;
    // The corners of every noted polygon, one polygon after the other.
    std::vector<int> polygonCorners;
};

// Gives the empty mesh its vertex arrays (fileVertices entries) and face
// arrays (faceSlots entries, one per face of the file), all zero, and ties the
// collector to it.
void beginPolygonMesh(Mesh& mesh, int fileVertices, int faceSlots, FaceCollector& faces);

// Puts the face of n >= 3 valid corners in its slot (a polygon is noted).
inline void putFace(FaceCollector& faces, int slot, const int* corners, int n)
{
    Mesh& mesh = *faces.mesh;
    mesh.faceA[slot] = corners[0];
    mesh.faceB[slot] = corners[1];
    mesh.faceC[slot] = corners[2];
    if (n > 3) {
        faces.polygonSlots.push_back(slot);
        faces.polygonStarts.push_back(static_cast<int>(faces.polygonCorners.size()));
        faces.polygonCorners.insert(faces.polygonCorners.end(), corners, corners + n);
    }
}

// Splits the noted polygons, sets the counts, modelLoaded, the centre and the
// radius. False with a reason when the split mesh would pass the int range.
bool finishPolygonMesh(FaceCollector& faces, std::string& reason);

// The whole rule at once: the mesh made of these vertices and of the
// polygons whose sizes (each >= 3) follow one another in corners (every
// corner a valid vertex index). False with a reason as finishPolygonMesh.
bool buildPolygonMesh(Mesh& mesh, const std::vector<double>& x, const std::vector<double>& y,
                      const std::vector<double>& z, const std::vector<int>& corners, const std::vector<int>& sizes,
                      std::string& reason);
