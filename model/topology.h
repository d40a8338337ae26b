// The topology builder: from the triangles of a mesh it derives the
// table of distinct edges with the triangles on each side, counts the boundary
// edges and puts the longest boundary loop first in walking order. On the way
// it drops vertices no triangle uses and refuses meshes that are not
// edge-manifold (with the outcome that says why).
//
// Edge table order once built: positions 0 .. boundaryLoopLength-1 hold the
// longest boundary loop in walking order (starting at edgeA[0], going to
// edgeB[0]); positions boundaryLoopLength .. boundaryEdgeCount-1 the other
// boundary edges; positions boundaryEdgeCount .. edgeCount-1 the interior edges.
#pragma once

#include "base/outcome.h"
#include "model/mesh.h"

// Builds the edge table, boundary counts and longest loop unless topologyBuilt
// is already set; drops unreferenced vertices. A refused mesh returns the
// reason (a face naming no vertex, an edge of three triangles, no memory) and
// leaves topologyBuilt clear with the counts of the edge table at 0.
Outcome buildTopology(Mesh& mesh);
// Discards the edge table and the (u,v) coordinates, clears the derived flags
// and counts, then builds the topology again (the step after every cut).
Outcome rebuildTopology(Mesh& mesh);
// Exchanges two positions in edgeA, edgeB, edgeFace1 and edgeFace2 at once.
void swapEdges(Mesh& mesh, int e1, int e2);
