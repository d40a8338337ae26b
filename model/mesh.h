// The triangle mesh as one value: the arrays and counts read from a model
// file and the data derived from them. Readers build a new value; the
// operations of the core take the mesh they work on; the application owns the
// mesh on screen and swaps a new one in only once it is whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Mesh {
    // Number of vertices in use.
    int vertexCount = 0;
    // Number of triangles in use.
    int faceCount = 0;
    // Number of distinct edges once the topology is built.
    int edgeCount = 0;
    // Number of edges that belong to one triangle only.
    int boundaryEdgeCount = 0;
    // Number of edges of the longest closed boundary loop; 0 for a closed mesh.
    int boundaryLoopLength = 0;
    // Entries given to each edge array by the last topology build.
    int edgeCapacity = 0;

    // Vertex coordinates in model units.
    std::vector<double> vertexX, vertexY, vertexZ;
    // Vertex parameter coordinates; meaningful only while uvComputed is set.
    std::vector<double> vertexU, vertexV;
    // Triangle corners (0-based vertex indices); A, B, C fixes the orientation.
    std::vector<int> faceA, faceB, faceC;
    // Edge end vertices, edgeA < edgeB; meaningful only while topologyBuilt is set.
    std::vector<int> edgeA, edgeB;
    // First triangle holding the edge, and the second one (-1 on a boundary edge).
    std::vector<int> edgeFace1, edgeFace2;

    // Mean of the vertex coordinates as read (x, y, z).
    double modelCenter[3] = {0.0, 0.0, 0.0};
    // Largest absolute difference between a vertex coordinate and the centre's, over all axes.
    double modelRadius = 0.0;
    // Full path of the model file last opened or written.
    std::string modelPath;

    // The vertex and face arrays exist.
    bool modelLoaded = false;
    // The edge arrays and the boundary counts describe the current faces.
    bool topologyBuilt = false;
    // vertexU and vertexV exist and belong to the current mesh.
    bool uvComputed = false;

    // Changes with every change of the geometry or the connectivity (and the
    // (u,v) coordinates). Revisions are unique over the process, so two
    // meshes with the same revision hold the same data: a cache keyed by the
    // revision stays right when a whole other mesh is swapped in.
    std::uint64_t revision = 0;
};

// Gives the mesh a new revision: every operation that changes its geometry,
// connectivity or (u,v) calls it once the change is made.
void touchMesh(Mesh& mesh);

// Sets modelCenter to the mean of the vertices in use and modelRadius to the
// largest distance from it along one axis (0 and a zero centre with no vertex).
void computeCenterAndRadius(Mesh& mesh);

// Makes the array hold n entries, all 0.
void allocIntArray(std::vector<int>& array, int n);
// Makes the array hold n entries, all 0.0.
void allocDoubleArray(std::vector<double>& array, int n);
// Gives the array exactly newCount entries: 0 .. oldCount-1 kept, the rest 0.
void growIntArray(std::vector<int>& array, int oldCount, int newCount);
// Gives the array exactly newCount entries: 0 .. oldCount-1 kept, the rest 0.0.
void growDoubleArray(std::vector<double>& array, int oldCount, int newCount);
// Exchanges two ints.
void swapInts(int& a, int& b);
