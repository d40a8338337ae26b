// A copy of a triplet matrix grouped by rows, each row's entries kept in their
// triplet order, so that a row product adds exactly the terms, in exactly the
// order, of the triplet product, only faster.
#pragma once

#include "param/big_array.h"

struct RowMatrix {
    // Entries of row i are start[i] .. start[i+1]-1.
    BigArray<long long> start;
    BigArray<int> col;
    BigArray<double> value;
};

// Groups the triplets by rows; entries naming a row or column outside
// 0 .. n-1 are left out.
void buildRowMatrix(int n, int count, const int* rows, const int* cols, const double* values, RowMatrix& m);
// y = A x, each y[i] summed from 0.0 over its row in triplet order.
void multiplyRows(int n, const RowMatrix& m, const double* x, double* y);
// Euclidean norm of rhs - A x.
double residualNorm(int n, const RowMatrix& m, const double* x, const double* rhs);
// Euclidean norm of the n entries of v.
double vectorNorm(int n, const double* v);
// r = rhs - A x (A x summed as multiplyRows sums it); returns the norm of r.
double residualInto(int n, const RowMatrix& m, const double* x, const double* rhs, double* r);
