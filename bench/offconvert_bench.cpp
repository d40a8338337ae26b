// offconvert on a generated numeric mesh text of about 100 MB (a torus of
// 2.5M triangles, written to /tmp once); throughput in input bytes per second.
#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "bench/support/mesh_generators.h"

namespace {

const std::string inputPath = "/tmp/vormelin_offconvert_bench.txt";
// The naming rule drops ".txt" and appends "off".
const std::string outputPath = "/tmp/vormelin_offconvert_benchoff";

long long fileSize(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

void BM_Offconvert(benchmark::State& state)
{
    if (fileSize(inputPath) < 0 && !writeNumericFile(torusMesh(2500000), inputPath)) {
        state.SkipWithError("cannot write the input file");
        return;
    }
    long long size = fileSize(inputPath);
    const std::string command = "'" OFFCONVERT_PATH "' '" + inputPath + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("offconvert failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
    state.counters["inputMB"] = static_cast<double>(size) / 1e6;
    state.counters["outputMB"] = static_cast<double>(fileSize(outputPath)) / 1e6;
    std::remove(outputPath.c_str());
}
BENCHMARK(BM_Offconvert)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
