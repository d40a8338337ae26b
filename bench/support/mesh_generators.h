// Generated triangle meshes of any size for benchmarks and tests: a closed
// torus, a flat square grid (a disc), a sphere with a cap removed (a disc) and
// a jittered height field (a disc).
#pragma once

#include <string>
#include <vector>

// A triangle mesh held outside the model store.
struct GeneratedMesh {
    std::vector<double> x, y, z;
    std::vector<int> a, b, c;
    int vertexCount() const { return static_cast<int>(x.size()); }
    int faceCount() const { return static_cast<int>(a.size()); }
};

// A closed torus grid with about `triangles` triangles (2 per grid cell).
GeneratedMesh torusMesh(int triangles);
// A square grid on [0,1]^2 with about `triangles` triangles; one boundary loop.
GeneratedMesh squareGridMesh(int triangles);
// A UV sphere with about `triangles` triangles whose top cap (the pole and the
// first ring of triangles) is removed; one boundary loop.
GeneratedMesh cappedSphereMesh(int triangles);

// A k × k vertex grid on [0,1]^2 seen as a scanned height field: inner
// vertices shifted at random by up to 0.35 of a cell in x and y, heights from
// a smooth relief plus noise of up to half a cell, and each cell split along a
// diagonal chosen at random. The same seed gives the same mesh; one boundary loop.
// `flat`: every height 0, the same shifts and diagonals as with the relief.
GeneratedMesh jitteredHeightFieldMesh(int k, unsigned seed, bool flat = false);

// Replaces the store's model by the mesh: counts, arrays, modelLoaded,
// modelCenter and modelRadius as the reader computes them; no topology.
void putMeshInStore(const GeneratedMesh& mesh);

// Writes the mesh as an OFF file in the viewer's own format ("OFF", counts, vertices, "3 a b c").
// Returns false when the file cannot be written.
bool writeOffFile(const GeneratedMesh& mesh, const std::string& path);

// Writes the mesh as the converter's bare numeric text (V, F, coordinates, "3 a b c").
// Returns false when the file cannot be written.
bool writeNumericFile(const GeneratedMesh& mesh, const std::string& path);
