// Frames per second of the face layer on a torus, offscreen on Mesa: the
// literal immediate-mode drawing against the vertex-array drawing the viewer
// uses. Each frame clears, sets a turning camera, draws the lit faces in the
// uniform colour (with the edges on top in the Edges cases) and waits for GL
// to finish.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <ctime>

#include "bench/support/mesh_generators.h"
#include "base/store.h"
#include "render/gl_setup.h"
#include "render/layers.h"
#include "render/view_state.h"
#include "tests/render/face_oracle.h"
#include "tests/render/line_oracle.h"
#include "tests/support/egl_context.h"
#include "render/textures.h"
#include "texture/texture.h"

namespace {
constexpr int viewSize = 640;

bool prepare(int triangles)
{
    static bool started = false;
    if (!started) {
        if (!makeOffscreenContext(viewSize, viewSize))
            return false;
        setBasicGlState();
        initGLForSize(viewSize, viewSize);
        resizeGlView(viewSize, viewSize);
        started = true;
    }
    static int loaded = 0;
    if (loaded != triangles) {
        putMeshInStore(torusMesh(triangles));
        loaded = triangles;
    }
    initViewState();
    viewAngleX = 35.0;
    return true;
}

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

long pageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void frameCamera()
{
    glBindTexture(GL_TEXTURE_2D, textureIds[faceMode]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(panX, panY, cameraDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    viewAngleY += 0.13;
    glRotated(viewAngleY, 0.0, 1.0, 0.0);
    glRotated(viewAngleX, 1.0, 0.0, 0.0);
}

template <void (*draw)()> void facesFrames(benchmark::State& state)
{
    if (!prepare(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    withTransparency = state.range(1) != 0;
    // One frame first: shader compilation and the first touch of every buffer are not counted.
    frameCamera();
    draw();
    glFinish();
    const double mainStart = threadSeconds();
    const long faultsStart = pageFaults();
    for (auto _ : state) {
        frameCamera();
        draw();
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // The calling thread's own work per frame (our arrays, vertex processing,
    // binning); the rasterizer's threads run beside it. On a busy machine the
    // wall-clock rate understates what a quiet one gives.
    state.counters["main_ms"] = 1000.0 * (threadSeconds() - mainStart) / static_cast<double>(state.iterations());
    // Fresh memory pages touched per frame, by us or by GL.
    state.counters["faults"] =
        static_cast<double>(pageFaults() - faultsStart) / static_cast<double>(state.iterations());
    state.counters["triangles"] = faceCount;
}

void immediate() { drawFacesImmediate(); }
void arrays() { drawFaces(); }
void immediateWithEdges()
{
    drawFacesImmediate();
    drawEdgesImmediate();
}
void arraysWithEdges()
{
    drawFaces();
    drawEdges();
}
} // namespace

// Arguments: triangles, transparency.
BENCHMARK(facesFrames<immediate>)->Name("FacesImmediate")->Args({100000, 0})->Args({1000000, 0})->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(facesFrames<arrays>)->Name("FacesArrays")->Args({100000, 0})->Args({1000000, 0})->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(facesFrames<immediateWithEdges>)->Name("FacesEdgesImmediate")->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(facesFrames<arraysWithEdges>)->Name("FacesEdgesArrays")->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
