// Loop subdivision on generated meshes: one step on 10k, 100k and 1M
// triangles (the refinement alone, and the whole step with the topology of
// the refined mesh), and two whole steps in a row from 250k triangles.
#include <benchmark/benchmark.h>

#include <map>

#include "bench/support/mesh_generators.h"
#include "model/store.h"
#include "model/subdivision.h"
#include "model/topology.h"

namespace {

const GeneratedMesh& torus(int triangles)
{
    static std::map<int, GeneratedMesh> made;
    auto it = made.find(triangles);
    if (it == made.end())
        it = made.emplace(triangles, torusMesh(triangles)).first;
    return it->second;
}

const GeneratedMesh& grid(int triangles)
{
    static std::map<int, GeneratedMesh> made;
    auto it = made.find(triangles);
    if (it == made.end())
        it = made.emplace(triangles, squareGridMesh(triangles)).first;
    return it->second;
}

void report(benchmark::State& state, int triangles)
{
    state.counters["triangles"] = triangles;
    state.counters["result"] = faceCount;
}

// The refinement alone: new vertices and triangles, derived data discarded.
// The mesh starts as a loaded one does, with its topology built.
void refineTorus(benchmark::State& state)
{
    const GeneratedMesh& mesh = torus(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        putMeshInStore(mesh);
        buildTopology();
        state.ResumeTiming();
        refineLoopStep();
    }
    report(state, mesh.faceCount());
    releaseModel();
}

void refineGrid(benchmark::State& state)
{
    const GeneratedMesh& mesh = grid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        putMeshInStore(mesh);
        buildTopology();
        state.ResumeTiming();
        refineLoopStep();
    }
    report(state, mesh.faceCount());
    releaseModel();
}

// The whole menu command: refinement and the topology of the refined mesh.
void subdivideTorus(benchmark::State& state)
{
    const GeneratedMesh& mesh = torus(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        putMeshInStore(mesh);
        buildTopology();
        state.ResumeTiming();
        subdivideLoop();
    }
    report(state, mesh.faceCount());
    releaseModel();
}

void twoStepsTorus(benchmark::State& state)
{
    const GeneratedMesh& mesh = torus(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        putMeshInStore(mesh);
        buildTopology();
        state.ResumeTiming();
        subdivideLoop();
        subdivideLoop();
    }
    report(state, mesh.faceCount());
    releaseModel();
}

void twoRefinementsTorus(benchmark::State& state)
{
    const GeneratedMesh& mesh = torus(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        putMeshInStore(mesh);
        buildTopology();
        state.ResumeTiming();
        refineLoopStep();
        refineLoopStep();
    }
    report(state, mesh.faceCount());
    releaseModel();
}

} // namespace

BENCHMARK(refineTorus)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(refineGrid)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(subdivideTorus)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(twoRefinementsTorus)->Arg(250000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(twoStepsTorus)->Arg(250000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
