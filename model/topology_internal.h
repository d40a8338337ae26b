// Pieces of the topology builder shared between its source files.
#pragma once

#include <cstddef>
#include <vector>

#include "base/outcome.h"
#include "model/mesh.h"

// A refusal of the builder, raised where the fault is found deep in a loop and
// turned by buildTopology into its returned outcome.
struct TopologyRefusal {
    Outcome outcome;
};
[[noreturn]] inline void refuseTopology(Outcome outcome) { throw TopologyRefusal{outcome}; }

// Makes the array hold n entries, all equal to value, reusing its block when
// it is large enough. Room for up to `room` entries is set aside when the
// system allows it (untouched, so it costs no memory until used), so that a
// later lengthening need not copy. Returns false when the block cannot be allocated.
bool fillIntArray(std::vector<int>& array, size_t n, int value, size_t room = 0);
// Same for a byte array.
bool fillByteArray(std::vector<unsigned char>& array, size_t n, unsigned char value);
// Lengthens the array to n entries, keeping its entries and setting the new
// ones to value. Returns false when the block cannot be allocated.
bool lengthenIntArray(std::vector<int>& array, size_t n, int value);

// Puts the longest boundary loop first in walking order among positions
// 0 .. boundaryEdgeCount-1 (which hold every boundary edge, edgeFace2 -1),
// sets boundaryLoopLength, and leaves edgeFace2 at -1 there. vertexScratch
// holds at least vertexCount entries whose contents do not matter.
void orderBoundaryLoops(Mesh& mesh, std::vector<int>& vertexScratch);
