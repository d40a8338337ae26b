// Row-grouped copy of a triplet matrix and its products.
#include "param/row_matrix.h"

#include <cmath>

void buildRowMatrix(int n, int count, const int* rows, const int* cols, const double* values, RowMatrix& m)
{
    m.start.assign(static_cast<size_t>(n) + 1, 0);
    long long kept = 0;
    for (int k = 0; k < count; ++k)
        if (rows[k] >= 0 && rows[k] < n && cols[k] >= 0 && cols[k] < n) {
            ++m.start[static_cast<size_t>(rows[k]) + 1];
            ++kept;
        }
    for (int i = 0; i < n; ++i)
        m.start[i + 1] += m.start[i];
    m.col.resize(static_cast<size_t>(kept));
    m.value.resize(static_cast<size_t>(kept));
    BigArray<long long> next(m.start.begin(), m.start.end() - 1);
    for (int k = 0; k < count; ++k)
        if (rows[k] >= 0 && rows[k] < n && cols[k] >= 0 && cols[k] < n) {
            long long p = next[rows[k]]++;
            m.col[p] = cols[k];
            m.value[p] = values[k];
        }
}

void multiplyRows(int n, const RowMatrix& m, const double* x, double* y)
{
    const long long* start = m.start.data();
    const int* col = m.col.data();
    const double* value = m.value.data();
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (long long p = start[i]; p < start[i + 1]; ++p)
            sum += value[p] * x[col[p]];
        y[i] = sum;
    }
}

double residualNorm(int n, const RowMatrix& m, const double* x, const double* rhs)
{
    const long long* start = m.start.data();
    const int* col = m.col.data();
    const double* value = m.value.data();
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        double ax = 0.0;
        for (long long p = start[i]; p < start[i + 1]; ++p)
            ax += value[p] * x[col[p]];
        double r = rhs[i] - ax;
        sum += r * r;
    }
    return std::sqrt(sum);
}

double vectorNorm(int n, const double* v)
{
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += v[i] * v[i];
    return std::sqrt(sum);
}

double residualInto(int n, const RowMatrix& m, const double* x, const double* rhs, double* r)
{
    multiplyRows(n, m, x, r);
    for (int i = 0; i < n; ++i)
        r[i] = rhs[i] - r[i];
    return vectorNorm(n, r);
}
