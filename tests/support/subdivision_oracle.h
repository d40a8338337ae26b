// The Loop subdivision step written out exactly as the algorithm is stated,
// with its linear scans: the reference the fast step is compared with.
#pragma once

#include "base/outcome.h"

// Steps 1 to 7 on the store's mesh, then the derived data discarded (edge
// table, (u,v), closedWarned) without rebuilding it. The vertex arrays end
// V + 3E entries long, the face arrays 4F.
void refineLoopLiteral();

// The whole step: refineLoopLiteral, then parameterize when the mesh had
// (u,v) coordinates, buildTopology otherwise; the outcome of that rebuild.
Outcome subdivideLoopLiteral();
