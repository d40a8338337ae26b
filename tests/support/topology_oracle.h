// The topology builder computed the slow, literal way (linear edge lookups,
// whole-table scans for every loop step), for comparison with the builder.
// It works on copies and never ends the process: a refused mesh is reported
// by the fatal text in the result.
#pragma once

#include <string>
#include <vector>

// What the builder leaves in the store for one mesh.
struct TopologyOracleResult {
    // Empty when the mesh is accepted, otherwise the fatal message (without its prefix).
    std::string fatalText;
    int vertexCount = 0;
    int faceCount = 0;
    // The first vertexCount coordinates and first faceCount corners after unused vertices are dropped.
    std::vector<double> x, y, z;
    std::vector<int> faceA, faceB, faceC;
    int edgeCount = 0;
    int boundaryEdgeCount = 0;
    int boundaryLoopLength = 0;
    // Entries of each edge array: the larger of vertexCount + faceCount + 30 (counts
    // before dropping) and the number of distinct edges.
    int edgeCapacity = 0;
    std::vector<int> edgeA, edgeB, edgeFace1, edgeFace2;
};

// The literal build on the given mesh (only the first vertexCount / faceCount entries are read).
TopologyOracleResult topologyOracle(int vertexCount, const std::vector<double>& x, const std::vector<double>& y,
                                    const std::vector<double>& z, int faceCount, const std::vector<int>& faceA,
                                    const std::vector<int>& faceB, const std::vector<int>& faceC);
// The literal build on the mesh now in the model store (the store is not changed).
TopologyOracleResult topologyOracleOfStore();
