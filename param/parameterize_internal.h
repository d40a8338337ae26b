// The steps of parameterize, for the tests and the benchmarks that look at
// them one by one.
#pragma once

#include "model/mesh.h"
#include "param/big_array.h"
#include "param/row_matrix.h"
#include "param/triplet_matrix.h"

// Places the vertices of the longest boundary loop on the unit circle in
// vertexU/vertexV (zero arrays of vertexCount entries): the k-th vertex of the
// walk from edgeB[0] at angle k × step; a vertex met twice keeps its first place.
void placeLoopOnCircle(Mesh& mesh);

// unknownIndex: -1 for a vertex of the longest loop, else its unknown number
// in vertex order. Returns the number of unknowns.
int numberUnknowns(const Mesh& mesh, BigArray<int>& unknownIndex);

// The mean-value system: the matrix (capacity 8 n, entries in first-insertion
// order) and the right-hand sides of u and v from the loop's coordinates.
// Returns false when a triangle is degenerate (a zero side or three corners on
// one line) or the edge table names a face that does not hold the edge.
bool assembleParameterSystem(const Mesh& mesh, const BigArray<int>& unknownIndex, int n, TripletMatrix& matrix, BigArray<double>& rhsU,
                             BigArray<double>& rhsV);
// The same system straight into rows: the matrix buildRowMatrix makes of the
// triplets above, entry for entry and bit for bit, without the triplets and
// their lookup. Returns false in the same cases.
bool assembleParameterRows(const Mesh& mesh, const BigArray<int>& unknownIndex, int n, RowMatrix& A, BigArray<double>& rhsU,
                           BigArray<double>& rhsV);
