// Fast mean-value weights for the assembly: every triangle's three
// half-angle tangents are computed once and shared by the edges around it.
#pragma once

#include "model/mesh.h"

// Euclidean distance between P and Q: sqrt(dx² + dy² + dz²) with d = Q - P.
double pointDistance(const double P[3], const double Q[3]);

// Angle whose law-of-cosines quotient is (pr² + pq² − qr²) / (2 pr pq),
// clamped to [-1, 1]: the angle between the sides pr and pq opposite qr.
double angleFromSides(double pr, double pq, double qr);

// For faces firstFace .. lastFace-1: tangents[3 f + i] = tan(angle / 2) at
// corner i (A, B, C) of face f, positions read from px, py, pz. Returns false
// when one of these triangles is degenerate: a side of length zero or three
// corners on one line (a corner angle of 0 or pi).
bool cornerTangents(const Mesh& mesh, const double* px, const double* py, const double* pz, int firstFace, int lastFace,
                    double* tangents);
