// Parameterization of the current mesh onto the unit disc: the longest
// boundary loop on the circle, every other vertex the mean-value weighted mean
// of its neighbours, solved for u and for v with one matrix.
#include "param/parameterize.h"

#include "model/mesh.h"
#include "model/topology.h"
#include "param/big_array.h"
#include "param/mean_value_weights.h"
#include "param/parameter_solve.h"
#include "param/row_matrix.h"
#include "param/parameterize_internal.h"
#include "param/triplet_matrix.h"

#include <climits>
#include <cmath>
#include <numeric>
#include <thread>
#include <utility>

namespace {

// Root of v's set, halving the path on the way.
int findRoot(BigArray<int>& parent, int v)
{
    while (parent[v] != v) {
        parent[v] = parent[parent[v]];
        v = parent[v];
    }
    return v;
}

// True when the edges join every vertex to vertex 0 (what repeated sweeps
// marking the ends of marked edges from vertex 0 decide).
bool allConnected(const Mesh& mesh)
{
    BigArray<int> parent(mesh.vertexCount);
    std::iota(parent.begin(), parent.end(), 0);
    for (int e = 0; e < mesh.edgeCount; ++e) {
        int a = findRoot(parent, mesh.edgeA[e]), b = findRoot(parent, mesh.edgeB[e]);
        if (a != b)
            parent[std::max(a, b)] = std::min(a, b);
    }
    for (int v = 0; v < mesh.vertexCount; ++v)
        if (findRoot(parent, v) != 0)
            return false;
    return true;
}

// Position (0, 1, 2) of vertex v among the corners of face f, or -1.
int cornerOf(const Mesh& mesh, int f, int v) { return mesh.faceA[f] == v ? 0 : mesh.faceB[f] == v ? 1 : mesh.faceC[f] == v ? 2 : -1; }

bool validFace(const Mesh& mesh, int f) { return f >= 0 && f < mesh.faceCount; }

} // namespace

// The loop vertices at equal angular steps on the unit circle, the first one
// of the walk (edgeB[0]) at angle step; a vertex met twice keeps its first place.
void placeLoopOnCircle(Mesh& mesh)
{
    const int L = mesh.boundaryLoopLength;
    const double step = (2 * 3.14159265358979) / L;
    int c = mesh.edgeB[0];
    mesh.vertexU[c] = std::cos(step);
    mesh.vertexV[c] = std::sin(step);
    for (int h = 1; h < L; ++h) {
        c = mesh.edgeA[h] == c ? mesh.edgeB[h] : mesh.edgeA[h];
        if (mesh.vertexU[c] == 0.0)
            mesh.vertexU[c] = std::cos((h + 1) * step);
        if (mesh.vertexV[c] == 0.0)
            mesh.vertexV[c] = std::sin((h + 1) * step);
    }
}

namespace {

// The mean-value weights of every edge, in edge order: visit(a, b, wA, wB),
// wA the weight of b in a's row, wB that of a in b's row. False, stopping
// there, when a triangle is degenerate (a zero side or three corners on one
// line) or the edge table names a face that does not hold the edge.
template <typename Visit> bool forEachEdgeWeight(const Mesh& mesh, Visit visit)
{
    BigArray<double> px(mesh.vertexCount), py(mesh.vertexCount), pz(mesh.vertexCount);
    // The model's own coordinates, centred and divided by the radius: the
    // weights do not depend on how the model is shown.
    const double radius = mesh.modelRadius != 0.0 ? mesh.modelRadius : 1.0;
    for (int i = 0; i < mesh.vertexCount; ++i) {
        px[i] = (mesh.vertexX[i] - mesh.modelCenter[0]) / radius;
        py[i] = (mesh.vertexY[i] - mesh.modelCenter[1]) / radius;
        pz[i] = (mesh.vertexZ[i] - mesh.modelCenter[2]) / radius;
    }
    for (int f = 0; f < mesh.faceCount; ++f)
        for (int v : {mesh.faceA[f], mesh.faceB[f], mesh.faceC[f]})
            if (v < 0 || v >= mesh.vertexCount)
                return false;

    // Half-angle tangents of every corner, the faces split between two threads.
    BigArray<double> tangents(3 * static_cast<size_t>(mesh.faceCount));
    int half = mesh.faceCount / 2;
    bool firstSound = true, secondSound = true;
    {
        std::thread second(
            [&] { secondSound = cornerTangents(mesh, px.data(), py.data(), pz.data(), half, mesh.faceCount, tangents.data()); });
        firstSound = cornerTangents(mesh, px.data(), py.data(), pz.data(), 0, half, tangents.data());
        second.join();
    }
    if (!firstSound || !secondSound)
        return false;

    for (int e = 0; e < mesh.edgeCount; ++e) {
        int a = mesh.edgeA[e], b = mesh.edgeB[e], f1 = mesh.edgeFace1[e], f2 = mesh.edgeFace2[e];
        if (a < 0 || a >= mesh.vertexCount || b < 0 || b >= mesh.vertexCount || !validFace(mesh, f1) || (f2 >= 0 && !validFace(mesh, f2)))
            return false;
        int a1 = cornerOf(mesh, f1, a), b1 = cornerOf(mesh, f1, b);
        if (a1 < 0 || b1 < 0)
            return false;
        double tA = tangents[3 * static_cast<size_t>(f1) + a1];
        double tB = tangents[3 * static_cast<size_t>(f1) + b1];
        if (f2 >= 0) {
            int a2 = cornerOf(mesh, f2, a), b2 = cornerOf(mesh, f2, b);
            if (a2 < 0 || b2 < 0)
                return false;
            tA += tangents[3 * static_cast<size_t>(f2) + a2];
            tB += tangents[3 * static_cast<size_t>(f2) + b2];
        }
        double Pa[3] = {px[a], py[a], pz[a]}, Pb[3] = {px[b], py[b], pz[b]};
        double d = pointDistance(Pa, Pb);
        double wA = tA / (d + d);
        double wB = tB / (d + d);
        if (!(wA > 0.0 && wB > 0.0 && std::isfinite(wA) && std::isfinite(wB)))
            return false;
        visit(a, b, wA, wB);
    }
    return true;
}

} // namespace

bool assembleParameterSystem(const Mesh& mesh, const BigArray<int>& unknownIndex, int n, TripletMatrix& matrix, BigArray<double>& rhsU,
              BigArray<double>& rhsV)
{
    long long capacity = 8LL * n;
    createTriplets(matrix, static_cast<int>(capacity < INT_MAX ? capacity : INT_MAX));
    rhsU.assign(n, 0.0);
    rhsV.assign(n, 0.0);
    return forEachEdgeWeight(mesh, [&](int a, int b, double wA, double wB) {
        int ia = unknownIndex[a], ib = unknownIndex[b];
        if (ia >= 0) {
            addMatrixEntry(matrix, ia, ia, wA);
            if (ib < 0) {
                rhsU[ia] += wA * mesh.vertexU[b];
                rhsV[ia] += wA * mesh.vertexV[b];
            } else {
                addMatrixEntry(matrix, ia, ib, -wA);
            }
        }
        if (ib >= 0) {
            addMatrixEntry(matrix, ib, ib, wB);
            if (ia < 0) {
                rhsU[ib] += wB * mesh.vertexU[a];
                rhsV[ib] += wB * mesh.vertexV[a];
            } else {
                addMatrixEntry(matrix, ib, ia, -wB);
            }
        }
    });
}

bool assembleParameterRows(const Mesh& mesh, const BigArray<int>& unknownIndex, int n, RowMatrix& A, BigArray<double>& rhsU,
                           BigArray<double>& rhsV)
{
    // Room in each row for its diagonal (always its first entry: a row's
    // first entry comes with its diagonal) and one entry per edge to another
    // unknown; a pair met twice is merged afterwards.
    A.start.assign(static_cast<size_t>(n) + 1, 0);
    for (int e = 0; e < mesh.edgeCount; ++e) {
        int a = mesh.edgeA[e], b = mesh.edgeB[e];
        if (a < 0 || a >= mesh.vertexCount || b < 0 || b >= mesh.vertexCount)
            return false;
        int ia = unknownIndex[a], ib = unknownIndex[b];
        for (auto [row, other] : {std::pair{ia, ib}, std::pair{ib, ia}})
            if (row >= 0)
                A.start[row + 1] += (A.start[row + 1] == 0 ? 1 : 0) + (other >= 0 ? 1 : 0);
    }
    for (int i = 0; i < n; ++i)
        A.start[i + 1] += A.start[i];
    A.col.resize(static_cast<size_t>(A.start[n]));
    A.value.resize(static_cast<size_t>(A.start[n]));
    BigArray<long long> next(A.start.begin(), A.start.end() - 1);
    rhsU.assign(n, 0.0);
    rhsV.assign(n, 0.0);
    auto add = [&](int row, int other, double w, int otherVertex) {
        if (next[row] == A.start[row]) {
            A.col[next[row]] = row;
            A.value[next[row]++] = w;
        } else {
            A.value[A.start[row]] += w;
        }
        if (other < 0) {
            rhsU[row] += w * mesh.vertexU[otherVertex];
            rhsV[row] += w * mesh.vertexV[otherVertex];
        } else {
            A.col[next[row]] = other;
            A.value[next[row]++] = -w;
        }
    };
    bool sound = forEachEdgeWeight(mesh, [&](int a, int b, double wA, double wB) {
        int ia = unknownIndex[a], ib = unknownIndex[b];
        if (ia >= 0)
            add(ia, ib, wA, b);
        if (ib >= 0)
            add(ib, ia, wB, a);
    });
    if (!sound)
        return false;
    // A pair met again (two edges between the same vertices) adds to its
    // first entry, in edge order; the rows close up in place.
    BigArray<long long> at(static_cast<size_t>(n), -1);
    long long kept = 0;
    for (int i = 0; i < n; ++i) {
        const long long first = A.start[i], last = next[i];
        A.start[i] = kept;
        for (long long p = first; p < last; ++p) {
            const int c = A.col[p];
            if (at[c] >= A.start[i]) {
                A.value[at[c]] += A.value[p];
                continue;
            }
            at[c] = kept;
            A.col[kept] = c;
            A.value[kept++] = A.value[p];
        }
    }
    A.start[n] = kept;
    A.col.resize(static_cast<size_t>(kept));
    A.value.resize(static_cast<size_t>(kept));
    return true;
}


int numberUnknowns(const Mesh& mesh, BigArray<int>& unknownIndex)
{
    unknownIndex.assign(mesh.vertexCount, 0);
    for (int h = 0; h < mesh.boundaryLoopLength; ++h) {
        unknownIndex[mesh.edgeA[h]] = -1;
        unknownIndex[mesh.edgeB[h]] = -1;
    }
    int n = 0;
    for (int v = 0; v < mesh.vertexCount; ++v)
        if (unknownIndex[v] == 0)
            unknownIndex[v] = n++;
        else
            unknownIndex[v] = -1;
    return n;
}

Outcome parameterize(Mesh& mesh, SolveReport* report, const Progress* progress)
{
    if (mesh.uvComputed)
        return outcomeOk;
    tellProgress(progress, 0.0, "topologie");
    if (!mesh.topologyBuilt) {
        Outcome built = buildTopology(mesh);
        if (built != outcomeOk)
            return built;
    }
    if (mesh.boundaryLoopLength == 0)
        return outcomeNoOpening;

    // Blocks freed by one step (the assembly's) serve the next.
    BigBlockReuse reuse;
    allocDoubleArray(mesh.vertexU, mesh.vertexCount);
    allocDoubleArray(mesh.vertexV, mesh.vertexCount);
    placeLoopOnCircle(mesh);

    // Unknowns: every vertex off the loop, numbered in vertex order. (A loop
    // through one vertex twice is longer than its set of vertices, so its
    // length alone does not tell whether every vertex lies on it.)
    BigArray<int> unknownIndex;
    int n = numberUnknowns(mesh, unknownIndex);
    // Every vertex on the loop: the loop itself joins them all.
    if (n == 0) {
        mesh.uvComputed = true;
        tellProgress(progress, 1.0, "paramétrisation");
        return outcomeOk;
    }
    if (!allConnected(mesh))
        return outcomeDisconnected;

    // Above the GMRES size only the rows are read: they are assembled
    // straight away, without the triplets and their lookup.
    const bool rowsOnly = n > gmresOnlyLimit;
    TripletMatrix matrix;
    RowMatrix A;
    BigArray<double> rhsU, rhsV;
    tellProgress(progress, 0.05, "assemblage");
    if (!(rowsOnly ? assembleParameterRows(mesh, unknownIndex, n, A, rhsU, rhsV)
                   : assembleParameterSystem(mesh, unknownIndex, n, matrix, rhsU, rhsV)))
        return outcomeDegenerate;

    BigArray<double> xU(n, 0.0), xV(n, 0.0);
    if (n == 1) {
        // The only entry is the diagonal.
        xU[0] = rhsU[0] / matrix.values[0];
        xV[0] = rhsV[0] / matrix.values[0];
    } else {
        if (!rowsOnly)
            buildRowMatrix(n, matrix.count, matrix.rows.data(), matrix.cols.data(), matrix.values.data(), A);
        tellProgress(progress, 0.15, "résolution");
        const Progress solve = progressPart(progress, 0.15, 0.99);
        if (!solveParameterSystems(matrix, A, n, rhsU.data(), rhsV.data(), xU.data(), xV.data(), report, &solve))
            return outcomeUnsolved;
    }
    releaseTriplets(matrix);

    for (int v = 0; v < mesh.vertexCount; ++v)
        if (unknownIndex[v] >= 0) {
            mesh.vertexU[v] = xU[unknownIndex[v]];
            mesh.vertexV[v] = xV[unknownIndex[v]];
        }
    mesh.uvComputed = true;
    tellProgress(progress, 1.0, "paramétrisation");
    return outcomeOk;
}
