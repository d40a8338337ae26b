// Topology build times on generated meshes of 10k, 100k and 1M triangles:
// a closed torus, a square plate pierced by many one-cell holes (equal
// holes, boundary edges spread through the table) and a soup of separate
// triangles (every edge on the boundary, one loop per triangle); and a bow
// tie of separate triangles sharing one vertex (a worst case for the walks).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/session.h"
#include "model/topology.h"

namespace {

void putGrid(int columns, int rows, bool torus, int holeEvery)
{
    currentModel = Mesh();
    const int w = torus ? columns : columns + 1, h = torus ? rows : rows + 1;
    currentModel.vertexCount = w * h;
    allocDoubleArray(currentModel.vertexX, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexY, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexZ, currentModel.vertexCount);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int v = j * w + i;
            if (torus) {
                const double u = 2 * M_PI * i / w, t = 2 * M_PI * j / h;
                currentModel.vertexX[v] = (2 + std::cos(t)) * std::cos(u);
                currentModel.vertexY[v] = (2 + std::cos(t)) * std::sin(u);
                currentModel.vertexZ[v] = std::sin(t);
            } else {
                currentModel.vertexX[v] = i;
                currentModel.vertexY[v] = j;
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
    currentModel.faceCount = static_cast<int>(a.size());
    currentModel.faceA = a, currentModel.faceB = b, currentModel.faceC = c;
    currentModel.modelLoaded = true;
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
    currentModel = Mesh();
    currentModel.vertexCount = 3 * triangles;
    currentModel.faceCount = triangles;
    allocDoubleArray(currentModel.vertexX, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexY, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexZ, currentModel.vertexCount);
    allocIntArray(currentModel.faceA, currentModel.faceCount);
    allocIntArray(currentModel.faceB, currentModel.faceCount);
    allocIntArray(currentModel.faceC, currentModel.faceCount);
    for (int f = 0; f < currentModel.faceCount; ++f) {
        currentModel.faceA[f] = 3 * f, currentModel.faceB[f] = 3 * f + 1, currentModel.faceC[f] = 3 * f + 2;
        currentModel.vertexX[3 * f + 1] = 1, currentModel.vertexY[3 * f + 2] = 1, currentModel.vertexZ[3 * f] = f;
    }
    currentModel.modelLoaded = true;
}

// Separate triangles that all share vertex 0: one vertex on every boundary loop.
void putBowTie(int triangles)
{
    currentModel = Mesh();
    currentModel.vertexCount = 1 + 2 * triangles;
    currentModel.faceCount = triangles;
    allocDoubleArray(currentModel.vertexX, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexY, currentModel.vertexCount);
    allocDoubleArray(currentModel.vertexZ, currentModel.vertexCount);
    allocIntArray(currentModel.faceA, currentModel.faceCount);
    allocIntArray(currentModel.faceB, currentModel.faceCount);
    allocIntArray(currentModel.faceC, currentModel.faceCount);
    for (int f = 0; f < currentModel.faceCount; ++f) {
        currentModel.faceA[f] = 0, currentModel.faceB[f] = 1 + 2 * f, currentModel.faceC[f] = 2 + 2 * f;
        currentModel.vertexX[1 + 2 * f] = std::cos(f * 1e-3), currentModel.vertexY[2 + 2 * f] = std::sin(f * 1e-3);
    }
    currentModel.modelLoaded = true;
}

void report(benchmark::State& state)
{
    state.counters["triangles"] = currentModel.faceCount;
    state.counters["edges"] = currentModel.edgeCount;
    state.counters["boundary"] = currentModel.boundaryEdgeCount;
    state.counters["loop"] = currentModel.boundaryLoopLength;
    state.SetItemsProcessed(state.iterations() * currentModel.faceCount);
}

// Build after a load: the previous edge arrays were released, so the table is fresh memory.
template <void (*put)(int)> void buildAfterLoad(benchmark::State& state)
{
    put(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<int>().swap(currentModel.edgeA);
        std::vector<int>().swap(currentModel.edgeB);
        std::vector<int>().swap(currentModel.edgeFace1);
        std::vector<int>().swap(currentModel.edgeFace2);
        currentModel.topologyBuilt = false;
        buildTopology(currentModel);
        benchmark::DoNotOptimize(currentModel.edgeA.data());
    }
    report(state);
}

// Build again on the same triangles (a cut's rebuild): the edge arrays are reused.
template <void (*put)(int)> void rebuild(benchmark::State& state)
{
    put(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        currentModel.topologyBuilt = false;
        buildTopology(currentModel);
        benchmark::DoNotOptimize(currentModel.edgeA.data());
    }
    report(state);
}

// The very first build of the process (every working array fresh); meaningful
// when run alone: --benchmark_filter=FirstBuild
void FirstBuild(benchmark::State& state)
{
    putTorus(1000000);
    for (auto _ : state) {
        currentModel.topologyBuilt = false;
        buildTopology(currentModel);
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
