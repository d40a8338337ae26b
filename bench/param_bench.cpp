// Parameterization speed on generated disc meshes (a flat square grid and a
// sphere with its cap removed) of about 10k, 100k and 1M vertices: the whole
// parameterize() call, its assembly alone and its solve alone. Counters give
// the relative residual reached and the solve path (0 GMRES alone, 1 GMRES
// finished by multigrid, 2 finished by sparse LU, 3 failed).
#include "app/main_window.h"
#include "bench/support/mesh_generators.h"
#include "base/store.h"
#include "model/topology.h"
#include "param/parameter_solve.h"
#include "param/parameterize.h"
#include "param/parameterize_internal.h"
#include "platform/platform_script.h"
#include "render/view_state.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>

namespace {

// Generated meshes kept between runs (their generation is not measured).
const GeneratedMesh& mesh(int shape, int vertices)
{
    static std::map<std::pair<int, int>, GeneratedMesh> cache;
    auto key = std::make_pair(shape, vertices);
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.emplace(key, shape == 0 ? squareGridMesh(2 * vertices) : cappedSphereMesh(2 * vertices)).first;
    return found->second;
}

// The store holds the mesh with its topology built, nothing parameterized.
void prepare(int shape, int vertices)
{
    resetProgramState();
    scriptReset();
    putMeshInStore(mesh(shape, vertices));
    buildTopology();
}

void report(benchmark::State& state)
{
    state.counters["vertices"] = vertexCount;
    state.counters["path"] = static_cast<double>(lastSolvePath);
    state.counters["residualU"] = lastRelativeResidual[0];
    state.counters["residualV"] = lastRelativeResidual[1];
}

// The whole call, as the menu runs it on a mesh whose topology is built.
void BM_Parameterize(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        prepare(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        state.ResumeTiming();
        parameterize();
        state.PauseTiming();
        if (!uvComputed)
            state.SkipWithError("parameterization failed");
        state.ResumeTiming();
    }
    report(state);
}

// Loop placement, numbering and assembly of the matrix and both right-hand sides.
void BM_Assembly(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        prepare(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        state.ResumeTiming();
        allocDoubleArray(vertexU, vertexCount);
        allocDoubleArray(vertexV, vertexCount);
        placeLoopOnCircle();
        BigArray<int> unknownIndex;
        int n = numberUnknowns(unknownIndex);
        TripletMatrix matrix;
        BigArray<double> rhsU, rhsV;
        benchmark::DoNotOptimize(assembleParameterSystem(unknownIndex, n, matrix, rhsU, rhsV));
        state.counters["entries"] = matrix.count;
    }
}

// The solve of both systems (GMRES, its check, and the finish when needed).
void BM_Solve(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        prepare(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        allocDoubleArray(vertexU, vertexCount);
        allocDoubleArray(vertexV, vertexCount);
        placeLoopOnCircle();
        BigArray<int> unknownIndex;
        int n = numberUnknowns(unknownIndex);
        TripletMatrix matrix;
        BigArray<double> rhsU, rhsV;
        assembleParameterSystem(unknownIndex, n, matrix, rhsU, rhsV);
        BigArray<double> xU(n), xV(n);
        state.ResumeTiming();
        if (!solveParameterSystems(matrix, n, rhsU.data(), rhsV.data(), xU.data(), xV.data()))
            state.SkipWithError("solve failed");
    }
    report(state);
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int shape : {0, 1})
        for (int vertices : {10000, 100000})
            b->Args({shape, vertices});
    b->ArgNames({"sphere", "vertices"});
    b->Unit(benchmark::kMillisecond);
}

// A million vertices: one run each.
void million(benchmark::internal::Benchmark* b)
{
    for (int shape : {0, 1})
        b->Args({shape, 1000000});
    b->ArgNames({"sphere", "vertices"});
    b->Unit(benchmark::kMillisecond)->Iterations(1);
}

} // namespace

BENCHMARK(BM_Assembly)->Apply(sizes);
BENCHMARK(BM_Solve)->Apply(sizes);
BENCHMARK(BM_Parameterize)->Apply(sizes);
BENCHMARK(BM_Assembly)->Apply(million);
BENCHMARK(BM_Solve)->Apply(million);
BENCHMARK(BM_Parameterize)->Apply(million);

BENCHMARK_MAIN();
