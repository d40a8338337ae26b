// The one triangle mesh the viewer works on, with the data derived from it,
// as process-wide arrays and counts. Every subsystem reads and writes these
// names directly.
#pragma once

#include <string>
#include <vector>

// Number of vertices in use.
extern int vertexCount;
// Number of triangles in use.
extern int faceCount;
// Number of distinct edges once the topology is built (the file's third count before).
extern int edgeCount;
// Number of edges that belong to one triangle only.
extern int boundaryEdgeCount;
// Number of edges of the longest closed boundary loop; 0 for a closed mesh.
extern int boundaryLoopLength;

// Vertex coordinates in model units.
extern std::vector<double> vertexX, vertexY, vertexZ;
// Vertex parameter coordinates; meaningful only while uvComputed is set.
extern std::vector<double> vertexU, vertexV;
// Triangle corners (0-based vertex indices); A, B, C fixes the orientation.
extern std::vector<int> faceA, faceB, faceC;
// Edge end vertices, edgeA < edgeB; meaningful only while topologyBuilt is set.
extern std::vector<int> edgeA, edgeB;
// First triangle holding the edge, and the second one (-1 on a boundary edge).
extern std::vector<int> edgeFace1, edgeFace2;

// Mean of the vertex coordinates as read (x, y, z).
extern double modelCenter[3];
// Largest absolute difference between a vertex coordinate and the centre's, over all axes.
extern double modelRadius;
// Full path of the model file last opened or written.
extern std::string modelPath;

// The vertex and face arrays exist.
extern bool modelLoaded;
// The edge arrays and the boundary counts describe the current faces.
extern bool topologyBuilt;
// vertexU and vertexV exist and belong to the current mesh.
extern bool uvComputed;
// The "model has no opening" notice was shown for this mesh.
extern bool closedWarned;

// Frees every array and zeroes every count and flag; harmless on an empty store.
void releaseModel();
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
