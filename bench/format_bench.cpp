// Reading a closed torus of about 1M triangles from memory: binary PLY,
// binary STL (with its corner welding) and OBJ, against the same mesh as OFF
// text through the OFF parser; and writing the binary forms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "bench/support/mesh_generators.h"
#include "model/mesh_formats.h"
#include "model/off_file.h"

namespace {

constexpr int triangles = 1000000;

// The torus as a mesh value, made once.
const Mesh& torus()
{
    static const Mesh mesh = [] {
        GeneratedMesh g = torusMesh(triangles);
        Mesh m;
        m.vertexCount = g.vertexCount();
        m.faceCount = g.faceCount();
        m.vertexX = g.x, m.vertexY = g.y, m.vertexZ = g.z;
        m.faceA = g.a, m.faceB = g.b, m.faceC = g.c;
        m.modelLoaded = true;
        return m;
    }();
    return mesh;
}

// The torus as the viewer's OFF text, made once.
const std::string& offText()
{
    static const std::string text = [] {
        std::string path = "/tmp/vormelin_format_bench.off";
        GeneratedMesh g = torusMesh(triangles);
        if (!writeOffFile(g, path))
            return std::string();
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        std::remove(path.c_str());
        return s.str();
    }();
    return text;
}

void BM_ReadOffText(benchmark::State& state)
{
    const std::string& text = offText();
    Mesh mesh;
    std::string reason;
    for (auto _ : state) {
        mesh = Mesh();
        if (!parseModelText(text.c_str(), text.size(), mesh, reason)) {
            state.SkipWithError("the OFF text does not parse");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["triangles"] = mesh.faceCount;
}
BENCHMARK(BM_ReadOffText)->Unit(benchmark::kMillisecond);

// Reading bytes made by a writer with a reader.
using MeshReader = bool (*)(const char*, size_t, Mesh&, std::string&);

void readBench(benchmark::State& state, const std::string& bytes, MeshReader reader)
{
    int faces = 0;
    for (auto _ : state) {
        Mesh mesh;
        std::string reason;
        if (!reader(bytes.data(), bytes.size(), mesh, reason)) {
            state.SkipWithError(reason.c_str());
            break;
        }
        faces = mesh.faceCount;
        benchmark::DoNotOptimize(mesh.vertexX.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    state.counters["triangles"] = faces;
}

void BM_ReadPlyBinary(benchmark::State& state) { readBench(state, plyBytes(torus()), readPly); }
BENCHMARK(BM_ReadPlyBinary)->Unit(benchmark::kMillisecond);

void BM_ReadStlBinary(benchmark::State& state) { readBench(state, stlBytes(torus()), readStl); }
BENCHMARK(BM_ReadStlBinary)->Unit(benchmark::kMillisecond);

void BM_ReadObj(benchmark::State& state) { readBench(state, objBytes(torus()), readObj); }
BENCHMARK(BM_ReadObj)->Unit(benchmark::kMillisecond);

void BM_WritePlyBinary(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(plyBytes(torus()).size());
}
BENCHMARK(BM_WritePlyBinary)->Unit(benchmark::kMillisecond);

void BM_WriteStlBinary(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(stlBytes(torus()).size());
}
BENCHMARK(BM_WriteStlBinary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
