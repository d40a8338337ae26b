// The memory a subdivision needs, weighed before it starts: a step that the
// system cannot give room for is refused while the model is still whole,
// instead of running the process out of memory halfway.
#pragma once

#include "base/outcome.h"
#include "model/mesh.h"

// Bytes that one subdivision command may allocate on a mesh of V vertices,
// F triangles and E edges: the copy the edit guard keeps, the refined
// vertices and triangles and the step's working tables, then the topology
// rebuilt on the refined mesh or, when the mesh is parameterized, the
// parameterization of it. Generous (it adds peaks that do not all meet) and
// never below what the command uses; it grows with each count. Negative
// counts are taken as 0.
long long subdivisionMemoryNeed(long long V, long long F, long long E, bool parameterized);

// The need of the next subdivision of the mesh (its edge count taken as
// 3F/2 when the topology is not built).
long long subdivisionMemoryNeed(const Mesh& mesh);

// outcomeSubdivisionMemory when the next subdivision of the mesh needs more
// than `available` bytes, outcomeOk otherwise; a negative `available` (the
// system did not tell) lets the step go, and so do counts the step refuses
// itself (too many triangles, arrays shorter than the counts).
Outcome checkSubdivisionMemory(const Mesh& mesh, long long available);
