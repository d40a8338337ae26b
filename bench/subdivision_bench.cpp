// Loop subdivision on generated meshes: one step on 10k, 100k and 1M
// triangles (the refinement alone, and the whole step with the topology of
// the refined mesh), and two whole steps in a row from 250k triangles.
#include <benchmark/benchmark.h>

#include <map>

#include "bench/support/mesh_generators.h"
#include "app/model_commands.h"
#include "app/session.h"
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
    state.counters["result"] = currentModel.faceCount;
}

// Runs `steps` steps on the mesh, which starts as a loaded one does, with its
// topology built. The refinement alone (refineLoopStep) makes the new vertices
// and triangles and discards derived data; the whole menu step (subdivideLoop)
// also builds the topology of the refined mesh.
template <const GeneratedMesh& (*make)(int), void (*step)(), int steps>
void runSteps(benchmark::State& state)
{
    const GeneratedMesh& mesh = make(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        putMeshInStore(mesh);
        buildTopology(currentModel);
        state.ResumeTiming();
        for (int i = 0; i < steps; ++i)
            step();
    }
    report(state, mesh.faceCount());
    currentModel = Mesh();
}

void refine() { refineLoopStep(currentModel); }

void refineTorus(benchmark::State& state) { runSteps<torus, refine, 1>(state); }
void refineGrid(benchmark::State& state) { runSteps<grid, refine, 1>(state); }
void subdivideTorus(benchmark::State& state) { runSteps<torus, subdivideLoop, 1>(state); }
void twoRefinementsTorus(benchmark::State& state) { runSteps<torus, refine, 2>(state); }
void twoStepsTorus(benchmark::State& state) { runSteps<torus, subdivideLoop, 2>(state); }

} // namespace

BENCHMARK(refineTorus)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(refineGrid)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(subdivideTorus)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(twoRefinementsTorus)->Arg(250000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(twoStepsTorus)->Arg(250000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
