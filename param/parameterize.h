// Parameterization of the current mesh: (u,v) coordinates in the unit disc,
// the longest boundary loop on the unit circle and every other vertex placed
// by mean-value weights through two sparse linear systems.
#pragma once

// Gives every vertex of the current mesh its (u,v) pair in vertexU/vertexV and
// sets uvComputed; does nothing while uvComputed is set. Runs the topology
// builder first when topologyBuilt is clear. A mesh without opening, in
// several parts, with a degenerate triangle, or whose systems cannot be solved
// gets an information box and keeps uvComputed clear.
void parameterize();

// Mean-value weights of one edge: wA is the weight of edgeB[edge] in the
// equation of edgeA[edge], wB the weight of edgeA[edge] in that of edgeB[edge].
void meanValueWeights(int edge, double& wA, double& wB);

// Angle in radians at P of the triangle P, Q, R (law of cosines, the quotient
// clamped to [-1, 1]).
double cornerAngle(const double P[3], const double Q[3], const double R[3]);

// Euclidean distance between P and Q: sqrt(dx² + dy² + dz²) with d = Q - P.
double pointDistance(const double P[3], const double Q[3]);
