// Parameterization of a mesh: (u,v) coordinates in the unit disc,
// the longest boundary loop on the unit circle and every other vertex placed
// by mean-value weights through two sparse linear systems.
#pragma once

#include "base/outcome.h"
#include "base/progress.h"
#include "model/mesh.h"
#include "param/parameter_solve.h"

// Gives every vertex of the mesh its (u,v) pair in vertexU/vertexV and
// sets uvComputed; does nothing while uvComputed is set. Runs the topology
// builder first when topologyBuilt is clear (its refusal is returned). A mesh
// without opening, in several parts, with a degenerate triangle, or whose
// systems cannot be solved is refused with its outcome and keeps uvComputed
// clear. A report, when asked for, tells how the systems were solved. The weights are measured in the model's own coordinates (centred and
// divided by the radius), whatever the view shows. The progress, when given,
// is told after the topology, the assembly and through the solve; it only
// observes, and reaches 1 when the (u,v) coordinates are set.
Outcome parameterize(Mesh& mesh, SolveReport* report = nullptr, const Progress* progress = nullptr);
