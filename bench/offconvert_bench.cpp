// offconvert on a generated numeric mesh text of about 100 MB (a torus of
// 2.5M triangles, written to /tmp once); throughput in input bytes per second
// of real time, and per processor second of the converter.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "bench/support/mesh_generators.h"

namespace {

const std::string inputPath = "/tmp/vormelin_offconvert_bench.txt";
// The naming rule drops ".txt" and appends "off".
const std::string outputPath = "/tmp/vormelin_offconvert_benchoff";

// Processor time (user + system) used so far by finished child processes, in seconds.
double childSeconds()
{
    rusage usage;
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

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
    double cpuBefore = childSeconds();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("offconvert failed");
            break;
        }
    }
    double cpu = childSeconds() - cpuBefore;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
    // Throughput per processor second of the converter itself, which a busy machine does not distort.
    state.counters["cpuMBps"] = cpu > 0 ? static_cast<double>(size) * static_cast<double>(state.iterations()) / 1e6 / cpu : 0;
    state.counters["inputMB"] = static_cast<double>(size) / 1e6;
    state.counters["outputMB"] = static_cast<double>(fileSize(outputPath)) / 1e6;
    std::remove(outputPath.c_str());
}
BENCHMARK(BM_Offconvert)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
