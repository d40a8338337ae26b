// Topology build times on generated meshes of 10k, 100k and 1M triangles:
// a closed torus, a square plate pierced by many one-cell holes (equal
// holes, boundary edges spread through the table) and a soup of separate
// triangles (every edge on the boundary, one loop per triangle); and a bow
// tie of separate triangles sharing one vertex (a worst case for the walks).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "base/store.h"
#include "model/topology.h"

namespace {

void putGrid(int columns, int rows, bool torus, int holeEvery)
{
    releaseModel();
    const int w = torus ? columns : columns + 1, h = torus ? rows : rows + 1;
    vertexCount = w * h;
    allocDoubleArray(vertexX, vertexCount);
    allocDoubleArray(vertexY, vertexCount);
    allocDoubleArray(vertexZ, vertexCount);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int v = j * w + i;
            if (torus) {
                const double u = 2 * M_PI * i / w, t = 2 * M_PI * j / h;
                vertexX[v] = (2 + std::cos(t)) * std::cos(u);
                vertexY[v] = (2 + std::cos(t)) * std::sin(u);
                vertexZ[v] = std::sin(t);
            } else {
                vertexX[v] = i;
                vertexY[v] = j;
            }
        }
    std::vector<int> a, b, c;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            if (holeEvery > 0 && i % holeEvery == 2 && j % holeEvery == 2)
                continue;
            const int v00 = j * w + i, v10 = j * w + (i + 1) % w;
            const int v01 = ((j + 1) % h) * w + i, v11 = ((j + 1) % h) * w + (i + 1) % w;
            a.push_back(v00), b.push_back(v10), c.push_back(v11);
            a.push_back(v00), b.push_back(v11), c.push_back(v01);
        }
    faceCount = static_cast<int>(a.size());
    faceA = a, faceB = b, faceC = c;
    modelLoaded = true;
}

void putTorus(int triangles)
{
    const int rows = static_cast<int>(std::sqrt(triangles / 4.0));
    putGrid(triangles / 2 / rows, rows, true, 0);
}

void putPiercedPlate(int triangles)
{
    const int side = static_cast<int>(std::sqrt(triangles / 2.0));
    putGrid(side, side, false, 10);
}

void putSoup(int triangles)
{
    releaseModel();
    vertexCount = 3 * triangles;
    faceCount = triangles;
    allocDoubleArray(vertexX, vertexCount);
    allocDoubleArray(vertexY, vertexCount);
    allocDoubleArray(vertexZ, vertexCount);
    allocIntArray(faceA, faceCount);
    allocIntArray(faceB, faceCount);
    allocIntArray(faceC, faceCount);
    for (int f = 0; f < faceCount; ++f) {
        faceA[f] = 3 * f, faceB[f] = 3 * f + 1, faceC[f] = 3 * f + 2;
        vertexX[3 * f + 1] = 1, vertexY[3 * f + 2] = 1, vertexZ[3 * f] = f;
    }
    modelLoaded = true;
}

// Separate triangles that all share vertex 0: one vertex on every boundary loop.
void putBowTie(int triangles)
{
    releaseModel();
    vertexCount = 1 + 2 * triangles;
    faceCount = triangles;
    allocDoubleArray(vertexX, vertexCount);
    allocDoubleArray(vertexY, vertexCount);
    allocDoubleArray(vertexZ, vertexCount);
    allocIntArray(faceA, faceCount);
    allocIntArray(faceB, faceCount);
    allocIntArray(faceC, faceCount);
    for (int f = 0; f < faceCount; ++f) {
        faceA[f] = 0, faceB[f] = 1 + 2 * f, faceC[f] = 2 + 2 * f;
        vertexX[1 + 2 * f] = std::cos(f * 1e-3), vertexY[2 + 2 * f] = std::sin(f * 1e-3);
    }
    modelLoaded = true;
}

void report(benchmark::State& state)
{
    state.counters["triangles"] = faceCount;
    state.counters["edges"] = edgeCount;
    state.counters["boundary"] = boundaryEdgeCount;
    state.counters["loop"] = boundaryLoopLength;
    state.SetItemsProcessed(state.iterations() * faceCount);
}

// Build after a load: the previous edge arrays were released, so the table is fresh memory.
template <void (*put)(int)> void buildAfterLoad(benchmark::State& state)
{
    put(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<int>().swap(edgeA);
        std::vector<int>().swap(edgeB);
        std::vector<int>().swap(edgeFace1);
        std::vector<int>().swap(edgeFace2);
        topologyBuilt = false;
        buildTopology();
        benchmark::DoNotOptimize(edgeA.data());
    }
    report(state);
}

// Build again on the same triangles (a cut's rebuild): the edge arrays are reused.
template <void (*put)(int)> void rebuild(benchmark::State& state)
{
    put(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        topologyBuilt = false;
        buildTopology();
        benchmark::DoNotOptimize(edgeA.data());
    }
    report(state);
}

// The very first build of the process (every working array fresh); meaningful
// when run alone: --benchmark_filter=FirstBuild
void FirstBuild(benchmark::State& state)
{
    putTorus(1000000);
    for (auto _ : state) {
        topologyBuilt = false;
        buildTopology();
    }
    report(state);
}
BENCHMARK(FirstBuild)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK(buildAfterLoad<putTorus>)->Name("TorusBuildAfterLoad")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(rebuild<putTorus>)->Name("TorusRebuild")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(buildAfterLoad<putPiercedPlate>)->Name("PiercedPlateBuildAfterLoad")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(buildAfterLoad<putSoup>)->Name("SoupBuildAfterLoad")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(buildAfterLoad<putBowTie>)->Name("BowTieBuildAfterLoad")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
