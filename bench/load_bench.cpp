// Loading OFF models of about 10k, 100k and 1M triangles (closed torus grids
// written to /tmp once): the whole load with its topology, as the open
// command does it, and the parse of the text alone.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "bench/support/mesh_generators.h"
#include "app/model_commands.h"
#include "model/off_file.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"

namespace {

// The OFF file of a torus of about `triangles` triangles, written on first use.
std::string offFile(int triangles)
{
    std::string path = "/tmp/vormelin_load_bench_" + std::to_string(triangles) + ".off";
    std::ifstream probe(path);
    if (!probe.good() && !writeOffFile(torusMesh(triangles), path))
        return "";
    return path;
}

void BM_LoadWithTopology(benchmark::State& state)
{
    std::string path = offFile(static_cast<int>(state.range(0)));
    if (path.empty()) {
        state.SkipWithError("cannot write the model file");
        return;
    }
    initViewState();
    scriptReset();
    for (auto _ : state) {
        loadModelFile(path);
        benchmark::DoNotOptimize(currentModel.edgeCount);
    }
    state.counters["triangles"] = currentModel.faceCount;
    state.counters["MB"] = static_cast<double>(std::ifstream(path, std::ios::ate | std::ios::binary).tellg()) / 1e6;
    currentModel = Mesh();
}
BENCHMARK(BM_LoadWithTopology)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ParseOnly(benchmark::State& state)
{
    std::string path = offFile(static_cast<int>(state.range(0)));
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string text = s.str();
    for (auto _ : state) {
        currentModel = Mesh();
        std::string reason;
        if (!parseModelText(text.c_str(), text.size(), currentModel, reason)) {
            state.SkipWithError("the model file does not parse");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    currentModel = Mesh();
}
BENCHMARK(BM_ParseOnly)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
